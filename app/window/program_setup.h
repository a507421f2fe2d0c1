#pragma once

// What the QApplication needs before the program builds its windows: Qt's
// own texts in the program's language, the program's font, its frame style and its icon.
// The program's main and the widget tests both run it, so the tests see the
// windows the player sees.

#include <QApplication>
#include <QFont>
#include <QIcon>

namespace vexa::app {

void PrepareApplication(QApplication& application);

// The font every window is laid out for: a 9 point Japanese UI font.
QFont ProgramFont();

// The program's icon, from the resources linked into the program.
QIcon ProgramIcon();

}  // namespace vexa::app
