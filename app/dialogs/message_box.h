#pragma once

// Modal dialogs and message boxes as waits: shown window-modal over their
// program's main window, awaited until closed, never with a nested loop.
//
// One rule for their lifetimes: a dialog is created when it is needed,
// shown with RunModal (or ShowDialog) and deleted once its display has
// ended. The settings dialog alone lives longer: hidden between games, as
// long as its connection.

#include <QDialog>
#include <QMessageBox>
#include <QString>

#include "core/task.h"

namespace vexa::app {

// The program's own title of every message box but the quit question.
inline const QString kMessageTitle = QStringLiteral("Vexa with Online");

// Shows the dialog modal over its parent and waits until it is closed;
// returns its result code.
Task<int> RunModal(QDialog* dialog);

// RunModal, then the dialog deleted; for a dialog whose answer is given
// through its own handlers.
Task<> ShowDialog(QDialog* dialog);

// A message box with the program's text, title, icon and buttons; returns
// the button pressed (Escape or the close box give the escape button).
Task<QMessageBox::StandardButton> ShowMessageBox(QWidget* parent, const QString& text,
                                                 QMessageBox::Icon icon,
                                                 QMessageBox::StandardButtons buttons,
                                                 const QString& title = kMessageTitle);

}  // namespace vexa::app
