#pragma once

// The one widget factory of the program's windows: every control is placed
// in twips and named for tests and tools ("Label1_0"), and the dialogs'
// small shared pieces.

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QString>
#include <cstdint>

#include "app/window/twips.h"

namespace vexa::app {

// System colours, as the design names them.
constexpr std::uint32_t kWindowBackground = 0x80000005;
constexpr std::uint32_t kWindowFrame = 0x80000006;
constexpr std::uint32_t kWindowText = 0x80000008;
constexpr std::uint32_t kHighlightText = 0x8000000E;

// The object name of a control array's element: "Label1_25".
inline QString Indexed(const char* name, int index) {
  return QString::fromLatin1(name) + u'_' + QString::number(index);
}

// A window colour, 24-bit with red in the low byte or a system colour.
void SetBackground(QWidget* widget, std::uint32_t color);

// A control of any kind placed in twips.
template <typename Widget>
Widget* Place(QWidget* parent, const QString& name, int left, int top, int width, int height) {
  auto* widget = new Widget(parent);
  widget->setObjectName(name);
  widget->setGeometry(TwipRect(left, top, width, height));
  return widget;
}

// A control with a caption (a button, an option, a check box, a frame, a
// text box's text) placed in twips.
template <typename Widget>
Widget* Place(QWidget* parent, const QString& name, const QString& caption, int left, int top,
              int width, int height) {
  auto* widget = new Widget(caption, parent);
  widget->setObjectName(name);
  widget->setGeometry(TwipRect(left, top, width, height));
  return widget;
}

inline QGroupBox* Frame(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top, int width, int height) {
  return Place<QGroupBox>(parent, name, caption, left, top, width, height);
}
inline QLineEdit* TextBox(QWidget* parent, const QString& name, const QString& text, int left,
                          int top, int width, int height) {
  return Place<QLineEdit>(parent, name, text, left, top, width, height);
}
inline QListWidget* ListBox(QWidget* parent, const QString& name, int left, int top, int width,
                            int height) {
  return Place<QListWidget>(parent, name, left, top, width, height);
}

// A label with a single flat border, as the board and the markers use.
template <typename Label = QLabel>
Label* BoxLabel(QWidget* parent, const QString& name, int left, int top, int width, int height,
                std::uint32_t background) {
  auto* label = Place<Label>(parent, name, left, top, width, height);
  label->setFrameShape(QFrame::Box);
  label->setLineWidth(1);
  SetBackground(label, background);
  return label;
}

// A label placed in twips, named for tests and tools ("Label1_0").
QLabel* MakeLabel(QWidget* parent, const QString& object_name, const QString& text, int left,
                  int top, int width, int height);

// A push button placed in twips.
QPushButton* MakeButton(QWidget* parent, const QString& object_name, const QString& text, int left,
                        int top, int width, int height);

// A caption drawn twice, the second copy in the highlight-text colour on a
// transparent background, shifted by (dx, dy) twips and stacked under the
// first: the program's shadowed titles. Returns the two labels, the
// highlight copy last.
std::pair<QLabel*, QLabel*> MakeShadowedTitle(QWidget* parent, const QString& name, int first_index,
                                              const QString& text, double point_size, int left,
                                              int top, int width, int height, int dx, int dy);

// Escape closes nothing in this dialog: leaving it takes its buttons or
// its close box.
void IgnoreEscape(QDialog* dialog);

// Appends a chat line, drops the oldest beyond a thousand, so that a flood
// of lines from a peer cannot grow the list without bound, and brings the
// new line into view, as a conversation is read.
void AddChatLine(QListWidget* list, const QString& line);

// Fixes a dialog's client area in twips.
void SetClientSize(QDialog* dialog, int width, int height);

}  // namespace vexa::app
