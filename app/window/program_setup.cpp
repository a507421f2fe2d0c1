#include "app/window/program_setup.h"

#include "app/window/classic_frame_style.h"
#include "app/window/language.h"

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
  Q_UNUSED(application);
  // Message boxes build their buttons from Qt's own texts ("Yes", "Cancel"):
  // in the desktop's language until the main window applies the chosen one.
  ApplyLanguage(LanguageOverride().value_or(DesktopLanguage()));
  QApplication::setFont(ProgramFont());
  QApplication::setStyle(new ClassicFrameStyle);
  QApplication::setWindowIcon(ProgramIcon());
}

}  // namespace vexa::app
