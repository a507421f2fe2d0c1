#include "app/dialogs/form7.h"

#include "app/window/caption_fit.h"
#include "app/dialogs/dialog_parts.h"

namespace vexa::app {

Form7::Form7(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(QStringLiteral("Vexa with Online"));
  SetClientSize(this, 2940, 660);
  MakeLabel(this, QStringLiteral("Label1"), tr("ホストの応答を待っています"), 405, 210, 2190, 210);
  FitCaptions(this);
}

void Form7::showEvent(QShowEvent* event) {
  // Centred over the main window.
  if (QWidget* main = parentWidget()) {
    const int h = (main->frameGeometry().width() - frameGeometry().width()) / 2;
    const int v = (main->frameGeometry().height() - frameGeometry().height()) / 2;
    move(main->frameGeometry().left() + h, main->frameGeometry().top() + v);
  }
  QDialog::showEvent(event);
}

}  // namespace vexa::app
