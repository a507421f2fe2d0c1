// The main window in the chosen language: the menu "言語 / Language", and
// every caption set again when the language changes.

#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <utility>

#include "app/window/caption_fit.h"
#include "app/window/form1.h"

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

void Form1::SetMenuCaptions() {
  // Each menu's and item's caption, by its object name: written once, set
  // when the menus are built and again when the language changes.
  const std::pair<const char*, QString> captions[] = {
      {"Mnu_Game", tr("ゲーム(&G)")},
      {"Mnu_NewGame", tr("新規ゲーム(&N)")},
      {"Mnu_GameEnd", tr("このゲームを終了(&E)")},
      {"Mnu_Undo", tr("元に戻す(&U)")},
      {"Mnu_Hint", tr("ヒント(&H)")},
      {"Mnu_SaveRecord", tr("棋譜を保存(&S)...")},
      {"Mnu_OpenRecord", tr("棋譜を開く(&O)...")},
      {"Mnu_Replay", tr("再生(&P)")},
      {"Mnu_ReplayBack", tr("一手戻る(&B)")},
      {"Mnu_ReplayForward", tr("一手進む(&F)")},
      {"Mnu_ReplayStart", tr("最初へ(&T)")},
      {"Mnu_ReplayEnd", tr("最後へ(&E)")},
      {"Mnu_Analyse", tr("棋譜を解析(&A)")},
      {"Mnu_Rules", tr("遊び方(&R)")},
      {"Mnu_End", tr("終了(&Q)")},
      {"Mnu_Option", tr("オプション(&O)")},
      {"Mnu_Format", tr("記録の初期化(&F)")},
      {"Mnu_ChangeName", tr("プレーヤーネームの変更(&C)")},
      {"Mnu_Shapes", tr("形でも区別(&K)")},
      {"Mnu_Coordinates", tr("座標を表示(&D)")},
      {"Mnu_PortMapping", tr("ルーターのポートを自動で開く(&R)")},
      // The menu bar's own item: its Japanese caption is the one it always
      // had, its English one is marked like the other menus'.
      {"Mnu_About", tr("About(&A)")},
      {"Mnu_Lobby", tr("オンラインロビー(&L)...")},
      {"Mnu_LobbySettings", tr("ロビーの設定(&Y)...")},
  };
  for (const auto& [name, caption] : captions) {
    const QString object_name = QString::fromLatin1(name);
    if (auto* menu = menuBar()->findChild<QMenu*>(object_name)) {
      menu->setTitle(caption);
    } else {
      findChild<QAction*>(object_name)->setText(caption);
    }
  }
  // What the display options draw, and for whom (the option menu shows its
  // items' tooltips).
  Mnu_Shapes->setToolTip(
      tr("駒に印も描きます（左の側に点、右の側に×）。"
         "赤と青を見分けにくい人も、どちらの駒かが分かります"));
  Mnu_Coordinates->setToolTip(
      tr("盤の上に列の A～K、左に行の 1～11 を表示します。"
         "ヒントや解析は升目をこの名前（D3 など）で示します"));
}

void Form1::RetranslateUi() {
  options_->Retranslate();
  Frame4->setTitle(tr("通算成績"));
  Command2->setText(tr("リーチをすべて列挙"));

  SetMenuCaptions();
  aids_->Retranslate();

  // Fitted as at start-up, where the records are written in afterwards; then
  // the texts made from the game's state: the records and the help line.
  for (QLabel* label : Label7)
    label->clear();
  RefitCaptions(this);
  ShowRecords();
  aids_->Update();
  board_->Retranslate();
}

}  // namespace vexa::app
