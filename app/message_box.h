#pragma once

// Modal dialogs and message boxes as waits: shown window-modal over their
// program's main window, awaited until closed, never with a nested loop.

#include <QDialog>
#include <QMessageBox>
#include <QString>

#include "task.h"

namespace vexa::app {

// The program's own title of every message box but the quit question.
inline const QString kMessageTitle = QStringLiteral("Vexa with Online");

// Shows the dialog modal over its parent and waits until it is closed;
// returns its result code.
Task<int> RunModal(QDialog* dialog);

// A message box with the program's text, title, icon and buttons; returns
// the button pressed (Escape or the close box give the escape button).
Task<QMessageBox::StandardButton> ShowMessageBox(QWidget* parent, const QString& text,
                                                 QMessageBox::Icon icon,
                                                 QMessageBox::StandardButtons buttons,
                                                 const QString& title = kMessageTitle);

}  // namespace vexa::app
