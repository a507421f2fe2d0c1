#include "program_setup.h"

#include <QLibraryInfo>
#include <QTranslator>

#include "classic_frame_style.h"

// The resources are compiled into the static library vexa_app, where nothing
// refers to them, so the linker would leave them out of the program. This
// reference pulls them in; the macro declares the registration function in
// the enclosing namespace, so it has to run outside any.
static void RegisterProgramResources() {
  Q_INIT_RESOURCE(vexa);
}

namespace vexa::app {

QFont ProgramFont() {
  QFont font(QStringLiteral("Noto Sans CJK JP"), 9);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QIcon ProgramIcon() {
  // Registering again is harmless: Qt keeps one copy of the same data.
  RegisterProgramResources();
  return QIcon(QStringLiteral(":/vexa.png"));
}

void PrepareApplication(QApplication& application) {
  // Message boxes build their buttons from Qt's own texts ("Yes", "Cancel"):
  // Qt's Japanese translation of them, whatever the user's locale, as every
  // other text of the program is Japanese. Without the file they stay English.
  auto* qt_texts = new QTranslator(&application);
  if (qt_texts->load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(qt_texts);
  }
  QApplication::setFont(ProgramFont());
  QApplication::setStyle(new ClassicFrameStyle);
  QApplication::setWindowIcon(ProgramIcon());
}

}  // namespace vexa::app
