#include "app/dialogs/form4.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHideEvent>

#include "app/dialogs/dialog_parts.h"
#include "app/window/caption_fit.h"
#include "app/window/twips.h"

namespace vexa::app {

Form4::Form4(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(tr("ゲーム設定"));
  SetClientSize(this, 4740, 4620);

  Label1[0] = MakeLabel(this, QStringLiteral("Label1_0"), tr("あなた"), 120, 150, 1000, 255);
  Label2[0] = MakeLabel(this, QStringLiteral("Label2_0"), QString(), 1200, 150, 2300, 255);
  Option1[0] =
      Place<QRadioButton>(this, QStringLiteral("Option1_0"), tr("先攻"), 3600, 150, 1000, 255);
  Label1[1] = MakeLabel(this, QStringLiteral("Label1_1"), tr("対戦相手"), 120, 510, 1000, 255);
  Label2[1] = MakeLabel(this, QStringLiteral("Label2_1"), QString(), 1200, 510, 2300, 255);
  Option1[1] =
      Place<QRadioButton>(this, QStringLiteral("Option1_1"), tr("先攻"), 3600, 510, 1000, 255);

  Frame1 = Frame(this, QStringLiteral("Frame1"), tr("ゲームモード"), 120, 900, 4500, 1020);
  Option2[0] = Place<QRadioButton>(Frame1, QStringLiteral("Option2_0"), QStringLiteral("Normal"),
                                   240, 300, 1200, 255);
  Option2[1] = Place<QRadioButton>(Frame1, QStringLiteral("Option2_1"), QStringLiteral("Excite"),
                                   240, 630, 1200, 255);
  Label3[0] = MakeLabel(Frame1, QStringLiteral("Label3_0"), tr("制限時間"), 1800, 630, 1000, 255);
  Text1 = TextBox(Frame1, QStringLiteral("Text1"), QStringLiteral("5"), 2850, 600, 700, 300);
  Label3[1] = MakeLabel(Frame1, QStringLiteral("Label3_1"), tr("秒"), 3650, 630, 400, 255);

  List3 = ListBox(this, QStringLiteral("List3"), 120, 2040, 4500, 1500);
  Text2 = TextBox(this, QStringLiteral("Text2"), QString(), 120, 3600, 4500, 300);
  Command1[0] =
      MakeButton(this, QStringLiteral("Command1_0"), tr("ゲームスタート"), 600, 4050, 1500, 420);
  Command1[1] = MakeButton(this, QStringLiteral("Command1_1"), tr("終了"), 2640, 4050, 1500, 420);

  IgnoreEscape(this);
  // Enter starts nothing: only a click on "ゲームスタート" does.
  for (QPushButton* button : Command1)
    button->setAutoDefault(false);

  auto* first_mover = new QButtonGroup(this);
  auto* game_option = new QButtonGroup(this);
  for (int i = 0; i < 2; ++i) {
    first_mover->addButton(Option1[i], i);
    game_option->addButton(Option2[i], i);
  }
  Option2[0]->setChecked(true);

  // A change is reported only when a selection or the text really changes,
  // so a setting mirrored from the peer is echoed back once and no more.
  for (int i = 0; i < 2; ++i) {
    connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) emit FirstMoverChanged(i, applying_peer_setting_);
    });
    connect(Option2[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) emit GameOptionChanged(i, applying_peer_setting_);
    });
  }
  connect(Text1, &QLineEdit::textChanged, this,
          [this](const QString& text) { emit TimeLimitChanged(text, applying_peer_setting_); });
  connect(Text2, &QLineEdit::returnPressed, this, &Form4::ChatLineEntered);
  connect(Command1[0], &QPushButton::clicked, this,
          [this] { emit StartPressed(Option1[0]->isChecked()); });
  connect(Command1[1], &QPushButton::clicked, this, &QDialog::close);
  FitCaptions(this);
}

void Form4::ShowChatLine(const QString& line) {
  AddChatLine(List3, line);
}

QString Form4::TakeChatInput() {
  const QString text = Text2->text();
  Text2->clear();
  return text;
}

void Form4::Form_Load(const QString& local_name, const QString& opponent_name, bool is_guest) {
  Label2[0]->setText(local_name);
  Label2[1]->setText(opponent_name);
  if (is_guest) {
    for (QWidget* w : {static_cast<QWidget*>(Option1[0]), static_cast<QWidget*>(Option2[0]),
                       static_cast<QWidget*>(Option1[1]), static_cast<QWidget*>(Option2[1]),
                       static_cast<QWidget*>(Text1), static_cast<QWidget*>(Command1[0])}) {
      w->setEnabled(false);
    }
    Option1[1]->setChecked(true);
  } else {
    Option1[0]->setChecked(true);
  }
}

void Form4::ApplyFirstMover(int index) {
  applying_peer_setting_ = true;
  Option1[index]->setChecked(true);
  applying_peer_setting_ = false;
}

void Form4::ApplyGameOption(int index) {
  applying_peer_setting_ = true;
  Option2[index]->setChecked(true);
  applying_peer_setting_ = false;
}

void Form4::ApplyTimeLimitText(const QString& text) {
  applying_peer_setting_ = true;
  Text1->setText(text);
  applying_peer_setting_ = false;
}

void Form4::changeEvent(QEvent* event) {
  // The dialog lives on between games: the main window's language choice
  // reaches it here.
  if (event->type() == QEvent::LanguageChange) {
    setWindowTitle(tr("ゲーム設定"));
    Label1[0]->setText(tr("あなた"));
    Option1[0]->setText(tr("先攻"));
    Label1[1]->setText(tr("対戦相手"));
    Option1[1]->setText(tr("先攻"));
    Frame1->setTitle(tr("ゲームモード"));
    Label3[0]->setText(tr("制限時間"));
    Label3[1]->setText(tr("秒"));
    Command1[0]->setText(tr("ゲームスタート"));
    Command1[1]->setText(tr("終了"));
    RefitCaptions(this);
  }
  QDialog::changeEvent(event);
}

void Form4::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  // Only the program's own hiding ends the display; the window system hides
  // the dialog too when the main window is minimized.
  if (!event->spontaneous()) emit Dismissed();
}

void Form4::closeEvent(QCloseEvent* event) {
  emit Closing();
  // Closed for good: the next connection builds a new one.
  setAttribute(Qt::WA_DeleteOnClose);
  event->accept();
  emit Dismissed();
}

}  // namespace vexa::app
