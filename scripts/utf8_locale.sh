# Sourced by the test scripts: their own tools (xdotool's search by title,
# grep on the program's Japanese lines) read and write UTF-8 whatever the
# caller's locale, as after `su -` or in a container where LANG is unset.
# Only the character set changes: the language the program picks from the
# locale stays the caller's.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  if [ -n "${LC_ALL:-}" ]; then
    export LC_ALL=C.UTF-8
  else
    export LC_CTYPE=C.UTF-8
  fi
fi
