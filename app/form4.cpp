#include "form4.h"

#include <QButtonGroup>
#include <QCloseEvent>

#include "dialog_parts.h"
#include "form1.h"
#include "game_message.h"
#include "leading_number.h"
#include "twips.h"

namespace vexa::app {

namespace {

QRadioButton* Radio(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                    int width) {
  auto* button = new QRadioButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(TwipRect(left, top, width, 255));
  return button;
}

}  // namespace

Form4::Form4(Form1& form1) : QDialog(&form1), form1_(form1) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("ゲーム設定"));
  SetClientSize(this, 4740, 4620);

  Label1[0] =
      MakeLabel(this, QStringLiteral("Label1_0"), QStringLiteral("あなた"), 120, 150, 1000, 255);
  Label2[0] = MakeLabel(this, QStringLiteral("Label2_0"), QString(), 1200, 150, 2300, 255);
  Option1[0] = Radio(this, QStringLiteral("Option1_0"), QStringLiteral("先攻"), 3600, 150, 1000);
  Label1[1] =
      MakeLabel(this, QStringLiteral("Label1_1"), QStringLiteral("対戦相手"), 120, 510, 1000, 255);
  Label2[1] = MakeLabel(this, QStringLiteral("Label2_1"), QString(), 1200, 510, 2300, 255);
  Option1[1] = Radio(this, QStringLiteral("Option1_1"), QStringLiteral("先攻"), 3600, 510, 1000);

  Frame1 = new QGroupBox(QStringLiteral("ゲームモード"), this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Frame1->setGeometry(TwipRect(120, 900, 4500, 1020));
  Option2[0] = Radio(Frame1, QStringLiteral("Option2_0"), QStringLiteral("Normal"), 240, 300, 1200);
  Option2[1] = Radio(Frame1, QStringLiteral("Option2_1"), QStringLiteral("Excite"), 240, 630, 1200);
  Label3[0] = MakeLabel(Frame1, QStringLiteral("Label3_0"), QStringLiteral("制限時間"), 1800, 630,
                        1000, 255);
  Text1 = new QLineEdit(QStringLiteral("5"), Frame1);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setGeometry(TwipRect(2850, 600, 700, 300));
  Label3[1] =
      MakeLabel(Frame1, QStringLiteral("Label3_1"), QStringLiteral("秒"), 3650, 630, 400, 255);

  List3 = new QListWidget(this);
  List3->setObjectName(QStringLiteral("List3"));
  List3->setGeometry(TwipRect(120, 2040, 4500, 1500));
  Text2 = new QLineEdit(this);
  Text2->setObjectName(QStringLiteral("Text2"));
  Text2->setGeometry(TwipRect(120, 3600, 4500, 300));
  Command1[0] = MakeButton(this, QStringLiteral("Command1_0"), QStringLiteral("ゲームスタート"),
                           600, 4050, 1500, 420);
  Command1[1] =
      MakeButton(this, QStringLiteral("Command1_1"), QStringLiteral("終了"), 2640, 4050, 1500, 420);

  auto* first_mover = new QButtonGroup(this);
  auto* game_option = new QButtonGroup(this);
  for (int i = 0; i < 2; ++i) {
    first_mover->addButton(Option1[i], i);
    game_option->addButton(Option2[i], i);
  }
  Option2[0]->setChecked(true);

  // A handler runs only when a selection or the text really changes, so a
  // setting mirrored from the peer is echoed back once and no more.
  for (int i = 0; i < 2; ++i) {
    connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) Option1_Click(i);
    });
    connect(Option2[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) Option2_Click(i);
    });
  }
  connect(Text1, &QLineEdit::textChanged, this, &Form4::Text1_Change);
  connect(Text2, &QLineEdit::returnPressed, this, [this] { form1_.SendChatLine(Text2, true); });
  connect(Command1[0], &QPushButton::clicked, this, &Form4::GameStart_Click);
  connect(Command1[1], &QPushButton::clicked, this, [this] {
    form1_.SetOptionControls(2, true);
    close();
  });
}

void Form4::Form_Load() {
  form1_.CloseForm7();
  Label2[0]->setText(form1_.Text1[2]->text());
  Label2[1]->setText(QString::fromStdString(form1_.game.online.OpponentName));
  if (form1_.game.online.IsGuest == 1) {
    for (QWidget* w : {static_cast<QWidget*>(Option1[0]), static_cast<QWidget*>(Option2[0]),
                       static_cast<QWidget*>(Option1[1]), static_cast<QWidget*>(Option2[1]),
                       static_cast<QWidget*>(Text1), static_cast<QWidget*>(Command1[0])}) {
      w->setEnabled(false);
    }
    Option1[1]->setChecked(true);
  } else {
    if (form1_.online().Connected()) form1_.online().Send(net::ShowMessage());
    Option1[0]->setChecked(true);
  }
}

void Form4::Option1_Click(int index) {
  if (!form1_.online().Connected()) return;
  ExpectEcho(first_mover_echoes_, QString::number(index));
  form1_.online().Send(net::OptnMessage(index));
}

void Form4::Option2_Click(int index) {
  ExpectEcho(game_option_echoes_, QString::number(index));
  form1_.online().Send(net::Opt2Message(index));
  form1_.game.online.ClockStyle = static_cast<std::int16_t>(index);
}

void Form4::Text1_Change() {
  ExpectEcho(time_limit_echoes_, Text1->text());
  form1_.online().Send(net::LimSMessage(Text1->text()));
}

void Form4::ExpectEcho(net::EchoFilter& filter, const QString& value) {
  // Only the host changes settings; the joining side's sends are echoes.
  if (!applying_peer_setting_ && form1_.game.online.IsGuest == 0) filter.Expect(value);
}

void Form4::ApplyFirstMover(int index) {
  // "Optn" names the sender's choice; its echo names ours again.
  if (first_mover_echoes_.IsEcho(QString::number(index))) return;
  applying_peer_setting_ = true;
  Option1[index]->setChecked(true);
  applying_peer_setting_ = false;
}

void Form4::ApplyGameOption(int index) {
  if (game_option_echoes_.IsEcho(QString::number(index))) return;
  applying_peer_setting_ = true;
  Option2[index]->setChecked(true);
  applying_peer_setting_ = false;
}

void Form4::ApplyTimeLimitText(const QString& text) {
  if (time_limit_echoes_.IsEcho(text)) return;
  applying_peer_setting_ = true;
  Text1->setText(text);
  applying_peer_setting_ = false;
}

void Form4::GameStart_Click() {
  Game& game = form1_.game;
  const bool host_first = Option1[0]->isChecked();
  form1_.online().Send(net::StTnMessage(host_first ? 0 : 1));
  game.Turn = host_first ? Player1 : Remote;
  form1_.SetSideCaptions(form1_.LocalPlayerName(), game.online.OpponentName);
  game.online.TimeLimit =
      static_cast<std::int16_t>(std::clamp(net::LeadingInteger(Text1->text()), -32768, 32767));
  game.online.ClockStyle = Option2[1]->isChecked() ? 1 : 0;
  form1_.Start(game.StartGame(0));
  hide();
}

void Form4::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  emit Dismissed();
}

void Form4::closeEvent(QCloseEvent* event) {
  // However it is closed, the peer is told (while the connection lasts) and
  // the main window's online controls are usable again.
  if (form1_.online().Connected()) form1_.online().SendEndG();
  form1_.SetOptionControls(2, true);
  // Closed for good: the next connection builds a new one.
  setAttribute(Qt::WA_DeleteOnClose);
  event->accept();
  emit Dismissed();
}

void Form4::reject() {
  close();
}

}  // namespace vexa::app
