#include "app/form3.h"

#include "app/caption_fit.h"
#include "app/dialog_parts.h"

namespace vexa::app {

Form3::Form3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Vexa with Online"));
  SetClientSize(this, 3900, 1350);
  IgnoreEscape(this);
  Label1 = MakeLabel(this, QStringLiteral("Label1"), tr("対戦相手を待っています・・・"), 240, 240,
                     3420, 300);
  Label1->setAlignment(Qt::AlignCenter);
  Command1 = MakeButton(this, QStringLiteral("Command1"), tr("キャンセル"), 1200, 750, 1500, 390);
  Command1->setDefault(true);
  connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
}

void Form3::SetConnected(const QString& status) {
  connected_ = true;
  Label1->setText(status);
  Command1->setText(QStringLiteral("OK"));
  FitCaptions(this);
}

void Form3::showEvent(QShowEvent* event) {
  // The joining side's text is set after the dialog is built.
  FitCaptions(this);
  QDialog::showEvent(event);
}

void Form3::SetFailed(const QString& status) {
  failed_ = true;
  Label1->setText(status);
  Command1->setText(QStringLiteral("OK"));
  FitCaptions(this);
}

void Form3::reject() {
  // The close box: before the connection is up (or after it failed) it
  // cancels, as the button does; afterwards it closes the dialog.
  if (!Connected()) {
    emit Command1_Click();
    return;
  }
  done(kClosed);
}

}  // namespace vexa::app
