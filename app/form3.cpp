#include "app/form3.h"

#include <QClipboard>
#include <QGuiApplication>

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

void Form3::ShowHostLines(const QString& router_line, const QString& ipv6_line,
                          const QString& link) {
  link_ = link;
  if (Label2 == nullptr) {
    if (router_line.isEmpty() && ipv6_line.isEmpty()) return;
    SetClientSize(this, 3900, 3090);
    Label2 = MakeLabel(this, QStringLiteral("Label2"), QString(), 120, 1350, 3660, 960);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignCenter);
    Label3 = MakeLabel(this, QStringLiteral("Label3"), QString(), 120, 2370, 3660, 240);
    Label3->setAlignment(Qt::AlignCenter);
    Command2 = MakeButton(this, QStringLiteral("Command2"), tr("招待リンクをコピー"), 750, 2640,
                          2400, 360);
    // The link is copied as it is when pressed: the router may answer later.
    connect(Command2, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(link_); });
    for (QWidget* w : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(Command2)})
      w->show();
  }
  // Texts from the router are shown as they are, never as markup.
  Label2->setTextFormat(Qt::PlainText);
  Label3->setTextFormat(Qt::PlainText);
  Label2->setText(router_line);
  Label3->setText(ipv6_line);
  Command2->setEnabled(!link.isEmpty());
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
