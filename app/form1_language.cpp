// The main window in the chosen language: the menu "言語 / Language", and
// every caption set again when the language changes.

#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/caption_fit.h"
#include "app/form1.h"

namespace vexa::app {

void Form1::BuildLanguageMenu() {
  QMenu* option_menu = menuBar()->findChild<QMenu*>(QStringLiteral("Mnu_Option"));
  option_menu->addSeparator();
  // Named in both languages, so that it can be found in either.
  QMenu* language_menu = option_menu->addMenu(QStringLiteral("言語 / Language(&L)"));
  language_menu->setObjectName(QStringLiteral("Mnu_Language"));
  auto* group = new QActionGroup(this);
  auto item = [&](const char* name, const QString& caption, Language language) {
    QAction* a = language_menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(true);
    a->setActionGroup(group);
    connect(a, &QAction::triggered, this, [this, language] { SetLanguage(language); });
    return a;
  };
  Mnu_Japanese = item("Mnu_Japanese", QStringLiteral("日本語(&J)"), Language::Japanese);
  Mnu_English = item("Mnu_English", QStringLiteral("English(&E)"), Language::English);
  (CurrentLanguage() == Language::English ? Mnu_English : Mnu_Japanese)->setChecked(true);
}

void Form1::SetLanguage(Language language) {
  StoreLanguage(*settings_, language);
  // The translators send QEvent::LanguageChange to every window, this one
  // included (changeEvent), and the dialogs kept for later.
  ApplyLanguage(language);
  (language == Language::English ? Mnu_English : Mnu_Japanese)->setChecked(true);
}

void Form1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange && Mnu_English != nullptr) RetranslateUi();
  QMainWindow::changeEvent(event);
}

void Form1::RetranslateUi() {
  Check1->setText(tr("CPUが先攻"));
  Frame5->setTitle(tr("CPUレベル"));
  Check2->setText(tr("Player1が先攻"));
  Frame3->setTitle(tr("接続の設定"));
  Command1[0]->setText(tr("ゲームを主催"));
  Command1[1]->setText(tr("ゲームに参加"));
  Label6[0]->setText(tr("リモートホスト名"));
  Label6[1]->setText(tr("リモートポート"));
  Label6[2]->setText(tr("プレイヤーネーム"));
  Frame4->setTitle(tr("通算成績"));
  Command2->setText(tr("リーチをすべて列挙"));

  menuBar()->findChild<QMenu*>(QStringLiteral("Mnu_Game"))->setTitle(tr("ゲーム(&G)"));
  Mnu_NewGame->setText(tr("新規ゲーム(&N)"));
  Mnu_GameEnd->setText(tr("このゲームを終了(&E)"));
  Mnu_End->setText(tr("終了(&Q)"));
  menuBar()->findChild<QMenu*>(QStringLiteral("Mnu_Option"))->setTitle(tr("オプション(&O)"));
  Mnu_Format->setText(tr("記録の初期化(&F)"));
  Mnu_ChangeName->setText(tr("プレーヤーネームの変更(&C)"));
  Mnu_Undo->setText(tr("元に戻す(&U)"));
  Mnu_Hint->setText(tr("ヒント(&H)"));
  Mnu_SaveRecord->setText(tr("棋譜を保存(&S)..."));
  Mnu_OpenRecord->setText(tr("棋譜を開く(&O)..."));
  menuBar()->findChild<QMenu*>(QStringLiteral("Mnu_Replay"))->setTitle(tr("再生(&P)"));
  Mnu_ReplayBack->setText(tr("一手戻る(&B)"));
  Mnu_ReplayForward->setText(tr("一手進む(&F)"));
  Mnu_ReplayStart->setText(tr("最初へ(&T)"));
  Mnu_ReplayEnd->setText(tr("最後へ(&E)"));
  Mnu_Rules->setText(tr("遊び方(&R)"));
  StartHint->setText(tr("ゲーム > 新規ゲーム で開始"));

  // Fitted as at start-up, where the records are written in afterwards; then
  // the texts made from the game's state: the records and the help line.
  for (QLabel* label : Label7)
    label->clear();
  RefitCaptions(this);
  ShowRecords();
  UpdateAids();
  for (TurnLamp* lamp : TurnMarker)
    lamp->update();
}

}  // namespace vexa::app
