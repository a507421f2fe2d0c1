#include "app/dialogs/form3.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/window/caption_fit.h"
#include "app/dialogs/dialog_parts.h"

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

void Form3::ShowHostLines(const QString& router_line, const QString& addresses_line,
                          const QString& link, const QString& link_note) {
  link_ = link;
  if (Label2 == nullptr) {
    if (router_line.isEmpty() && addresses_line.isEmpty() && link.isEmpty()) return;
    // A column of the host's information right of the dialog's own
    // controls, which keep their places, and the copy button in the row of
    // "キャンセル", at the bottom.
    SetClientSize(this, 10320, 1350);
    Label3 = MakeLabel(this, QStringLiteral("Label3"), QString(), 3960, 120, 6240, 270);
    Label2 = MakeLabel(this, QStringLiteral("Label2"), QString(), 3960, 420, 6240, 270);
    Command2 = MakeButton(this, QStringLiteral("Command2"), tr("招待リンクをコピー"), 3960, 750,
                          2100, 390);
    Label5 = MakeLabel(this, QStringLiteral("Label5"), QString(), 6180, 750, 4020, 390);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The link is copied as it is when pressed: the router may answer later.
    connect(Command2, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(link_); });
    for (QWidget* w : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(Command2), static_cast<QWidget*>(Label5)})
      w->show();
  }
  // Texts from the router are shown as they are, never as markup.
  for (QLabel* label : {Label2, Label3, Label5})
    label->setTextFormat(Qt::PlainText);
  Label2->setText(router_line);
  Label3->setText(addresses_line);
  Label5->setText(link_note);
  Command2->setEnabled(!link.isEmpty());
  // Greyed, it says why.
  Command2->setToolTip(link.isEmpty() ? tr("このマシンにはネットワークのアドレスがありません")
                                      : link);
  FitCaptions(this);
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

QString Form3::FailureText(net::JoinFailure reason, const QString& description) {
  switch (reason) {
    case net::JoinFailure::Refused:
      return tr("相手が接続を拒否しました");
    case net::JoinFailure::NoAnswer:
      return tr("時間内に応答がありませんでした");
    case net::JoinFailure::HostNotFound:
      return tr("ホスト名が見つかりません");
    case net::JoinFailure::Unreachable:
      return tr("ネットワークに到達できません");
    case net::JoinFailure::Other:
      break;
  }
  return description;
}

void Form3::SetFailed(const QString& status, net::JoinFailure reason, const QString& description) {
  failed_ = true;
  Label1->setText(status);
  Command1->setText(QStringLiteral("OK"));
  if (Label4 == nullptr) {
    // Only a joining side fails here, and it never shows the host's lines:
    // the dialog grows by the reason's line, which goes between the status
    // and the button, as it is read.
    SetClientSize(this, 3900, 1650);
    Label4 = MakeLabel(this, QStringLiteral("Label4"), QString(), 120, 600, 3660, 255);
    Label4->setAlignment(Qt::AlignCenter);
    Command1->move(Command1->x(), Px(1050));
    Label4->show();
  }
  Label4->setText(FailureText(reason, description));
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
