#include "app/dialogs/name_dialogs.h"

#include <QCoreApplication>
#include <QPointer>

#include "app/window/caption_fit.h"
#include "app/dialogs/dialog_parts.h"
#include "app/dialogs/message_box.h"
#include "app/records/records_file.h"
#include "app/window/twips.h"
#include "net/game_message.h"

namespace vexa::app {

Task<bool> CheckStorableName(QWidget* parent, const QString& name) {
  // A name that would reach an online peer cut in two ("Mr PutU 1" arrives
  // as "Mr " and a piece on cell 1) is refused as well.
  if (!name.isEmpty() && !net::NameTravelsWhole(name)) {
    co_await ShowMessageBox(parent,
                            QCoreApplication::translate(
                                "vexa::app::NameCheck",
                                "このプレイヤーネームはオンライン対戦の相手に正しく届きません。\n"
                                "「Name 」「Optn 」「Opt2 」「LimS 」「StTn 」「PutU 」「PutW 」"
                                "（語の後に空白）を含む名前は使えません。"),
                            QMessageBox::Information, QMessageBox::Ok);
    co_return false;
  }
  if (CheckName(name) != NameFit::Refused) co_return true;
  co_await ShowMessageBox(
      parent,
      QCoreApplication::translate("vexa::app::NameCheck",
                                  "このプレイヤーネームは記録ファイルに保存できません。\n"
                                  "改行、先頭の「\"」、「,」と「\"」の両方を含む名前、"
                                  "Shift_JISで表せない文字は使えません。"),
      QMessageBox::Information, QMessageBox::Ok);
  co_return false;
}

Form6::Form6(QWidget* parent, TaskGroup& tasks, std::function<void(const QString&)> accept_name)
    : QDialog(parent), tasks_(tasks), accept_name_(std::move(accept_name)) {
  setObjectName(QStringLiteral("Form6"));
  setWindowTitle(QStringLiteral("Welcome to Vexa with Online"));
  SetClientSize(this, 4680, 2400);

  MakeShadowedTitle(this, QStringLiteral("Label2"), 0, QStringLiteral("VEXA"), 14.25, 120, 120,
                    4440, 420, -30, 15);
  MakeLabel(this, QStringLiteral("Label1_0"), tr("Vexa with Onlineにようこそ"), 240, 660, 4200,
            255);
  MakeLabel(this, QStringLiteral("Label1_1"), tr("あなたのプレイヤーネームを入力してください"), 240,
            960, 4200, 255);
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setGeometry(TwipRect(240, 1290, 4200, 300));
  Command1 =
      MakeButton(this, QStringLiteral("Command1"), QStringLiteral("OK"), 1590, 1800, 1500, 390);
  Command1->setDefault(true);
  connect(Command1, &QPushButton::clicked, this, [this] { tasks_.Start(Command1_Click()); });
  FitCaptions(this);
}

void Form6::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Text1->setFocus();
}

Task<> Form6::Command1_Click() {
  QPointer<Form6> self(this);
  const QString name = Text1->text();
  if (name.isEmpty()) {
    co_await ShowMessageBox(this, tr("プレイヤーネームは空白ではいけません"),
                            QMessageBox::Information, QMessageBox::Ok);
    co_return;
  }
  const bool storable = co_await CheckStorableName(this, name);
  if (!storable || !self) co_return;
  accept_name_(name);
  accept();
}

Form8::Form8(QWidget* parent, TaskGroup& tasks, const QString& current_name,
             std::function<void(const QString&)> accept_name)
    : QDialog(parent), tasks_(tasks), accept_name_(std::move(accept_name)) {
  setObjectName(QStringLiteral("Form8"));
  setWindowTitle(tr("プレイヤーネームの変更"));
  SetClientSize(this, 3045, 990);

  Text1 = new QLineEdit(current_name, this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setGeometry(TwipRect(60, 90, 2925, 270));
  Command1[0] =
      MakeButton(this, QStringLiteral("Command1_0"), QStringLiteral("OK"), 375, 480, 1035, 390);
  Command1[1] =
      MakeButton(this, QStringLiteral("Command1_1"), tr("キャンセル"), 1575, 480, 1035, 390);
  Command1[0]->setDefault(true);
  connect(Command1[0], &QPushButton::clicked, this, [this] { tasks_.Start(Ok_Click()); });
  connect(Command1[1], &QPushButton::clicked, this, &QDialog::reject);
  FitCaptions(this);
}

Task<> Form8::Ok_Click() {
  QPointer<Form8> self(this);
  const QString name = Text1->text();
  const bool storable = co_await CheckStorableName(this, name);
  if (!storable || !self) co_return;
  accept_name_(name);
  accept();
}

}  // namespace vexa::app
