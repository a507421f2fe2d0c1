#pragma once

// Small pieces the program's dialogs share.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace vexa::app {

// A label placed in twips, named for tests and tools ("Label1_0").
QLabel* MakeLabel(QWidget* parent, const QString& object_name, const QString& text, int left,
                  int top, int width, int height);

// A push button placed in twips.
QPushButton* MakeButton(QWidget* parent, const QString& object_name, const QString& text, int left,
                        int top, int width, int height);

// A caption drawn twice, the second copy in the highlight-text colour on a
// transparent background, shifted by (dx, dy) twips: the program's shadowed
// titles. Returns the two labels, front last.
std::pair<QLabel*, QLabel*> MakeShadowedTitle(QWidget* parent, const QString& name, int first_index,
                                              const QString& text, double point_size, int left,
                                              int top, int width, int height, int dx, int dy);

// Escape closes nothing in this dialog: leaving it takes its buttons or
// its close box.
void IgnoreEscape(QDialog* dialog);

// Fixes a dialog's client area in twips.
void SetClientSize(QDialog* dialog, int width, int height);

}  // namespace vexa::app
