#include "app/dialogs/dialog_parts.h"

#include <QKeyEvent>

#include "app/window/twips.h"

namespace vexa::app {

namespace {

class EscapeFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  // Sees the key presses the dialog's children pass on to it as well.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void SetBackground(QWidget* widget, std::uint32_t color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

void IgnoreEscape(QDialog* dialog) {
  dialog->installEventFilter(new EscapeFilter(dialog));
}

QLabel* MakeLabel(QWidget* parent, const QString& object_name, const QString& text, int left,
                  int top, int width, int height) {
  auto* label = Place<QLabel>(parent, object_name, text, left, top, width, height);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& object_name, const QString& text, int left,
                        int top, int width, int height) {
  return Place<QPushButton>(parent, object_name, text, left, top, width, height);
}

std::pair<QLabel*, QLabel*> MakeShadowedTitle(QWidget* parent, const QString& name, int first_index,
                                              const QString& text, double point_size, int left,
                                              int top, int width, int height, int dx, int dy) {
  QFont font = parent->font();
  font.setBold(true);
  font.setPointSizeF(point_size);
  auto* back =
      MakeLabel(parent, name + u'_' + QString::number(first_index), text, left, top, width, height);
  auto* front = MakeLabel(parent, name + u'_' + QString::number(first_index + 1), text, left + dx,
                          top + dy, width, height);
  for (QLabel* label : {back, front}) {
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
  }
  QPalette palette = front->palette();
  palette.setColor(QPalette::WindowText, ToQColor(0x8000000E));
  front->setPalette(palette);
  front->setAttribute(Qt::WA_TranslucentBackground);
  // The highlight copy goes beneath the window-text one. On top, its white
  // letters stand on the dialogs' light grey with only a sliver of the dark
  // copy beside them and can hardly be read; beneath, the dark letters are
  // read and the light copy edges them.
  front->stackUnder(back);
  return {back, front};
}

void SetClientSize(QDialog* dialog, int width, int height) {
  dialog->setFixedSize(Px(width), Px(height));
}

void AddChatLine(QListWidget* list, const QString& line) {
  constexpr int kChatLinesKept = 1000;
  list->addItem(line);
  while (list->count() > kChatLinesKept)
    delete list->takeItem(0);
  // The scroll waits until the lines of this read are in: it lays the whole
  // list out anew, once per read rather than once per line of a flood.
  QMetaObject::invokeMethod(list, &QListWidget::scrollToBottom, Qt::QueuedConnection);
}

}  // namespace vexa::app
