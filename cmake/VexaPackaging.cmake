# Installs what a desktop user expects beside the programs (icons at every
# size, the AppStream metainfo, manual pages, the Debian changelog and
# copyright) and describes the Debian package that `cpack -G DEB` makes.
# app/CMakeLists.txt installs the program, its desktop entry and the 64 px
# icon; scripts/package.sh builds the package with Debian's build flags.

include(GNUInstallDirs)

set(VEXA_PACKAGE_RELEASE 1 CACHE STRING "Debian revision of the package (the 1 in 1.2-1)")
set(VEXA_PACKAGE_MAINTAINER "Vexa developers <vexa@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

install(TARGETS vexa-analyze RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(resources ${PROJECT_SOURCE_DIR}/app/resources)
foreach(size 16 32 48 128 256)
  install(FILES ${resources}/icons/vexa_${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vexa.png)
endforeach()
install(FILES ${resources}/io.github.vexa.vexa.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The type of the game records, text/x-vexa-record. Debian's shared-mime-info
# watches this folder with a trigger and updates its database itself.
install(FILES ${resources}/io.github.vexa.vexa.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Manual pages: troff with the version filled in, compressed as Debian wants
# them (gzip -n keeps the file byte for byte the same from build to build).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(man_pages man/vexa.6 man/vexa-analyze.6 man/vexa-bot.6 man/ja/vexa.6)
set(debian_docs debian/changelog.Debian)
set(compressed)
foreach(source IN LISTS man_pages debian_docs)
  set(configured ${PROJECT_BINARY_DIR}/packaging/${source})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${source}.in ${configured} @ONLY)
  add_custom_command(OUTPUT ${configured}.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${configured}
    DEPENDS ${configured}
    COMMENT "Compressing ${source}")
  list(APPEND compressed ${configured}.gz)
endforeach()
add_custom_target(vexa_documents ALL DEPENDS ${compressed})

set(built ${PROJECT_BINARY_DIR}/packaging)
install(FILES ${built}/man/vexa.6.gz ${built}/man/vexa-analyze.6.gz ${built}/man/vexa-bot.6.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${built}/man/ja/vexa.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man6)
install(FILES ${built}/debian/changelog.Debian.gz ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vexa)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexa)
set(CPACK_PACKAGE_VENDOR "Vexa developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "board game for two: four pieces on a square's corners win")
set(CPACK_PACKAGE_DESCRIPTION
    "Vexa with Online is played on an 11 x 11 board whose four corner cells
cannot be played. Each side has 20 pieces and 6 blockers; on its turn a side
places any number of its blockers, then one piece. Four pieces of one side on
the corners of any square, upright or tilted, win.

Play against the computer at four strengths, two people at one machine, or
two machines over TCP with chat and an optional move clock. The texts of the
program are Japanese. vexa-analyze analyses positions and game records and
plays the computer player against itself from the command line; vexa-bot is
a headless online player to practise against.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VEXA_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VEXA_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Debian keeps games in /usr/games (scripts/package.sh installs there); a
# package from a tree that installs into bin/ is filed under misc.
if(CMAKE_INSTALL_BINDIR STREQUAL "games")
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
else()
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
endif()
# The libraries come from the binaries; what they cannot show is the font
# the windows are laid out for ("Noto Sans CJK JP") and Qt's own Japanese
# texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-translations-l10n")
# The Avahi client library comes with the binaries (shlibdeps); its daemon,
# which finds the games on the network, is recommended: without it the
# list says that it cannot search and everything else works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "avahi-daemon")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

if(BUILD_TESTING)
  add_test(NAME vexa_command_line
    COMMAND bash ${PROJECT_SOURCE_DIR}/packaging/tests/command_line_test.sh
            $<TARGET_FILE:vexa> $<TARGET_FILE:vexa-analyze> ${PROJECT_VERSION})
  add_test(NAME desktop_metadata
    COMMAND bash ${PROJECT_SOURCE_DIR}/packaging/tests/desktop_metadata_test.sh
            ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/packaging $<TARGET_FILE:vexa-analyze>)
  set_tests_properties(vexa_command_line desktop_metadata PROPERTIES TIMEOUT 60)
endif()
