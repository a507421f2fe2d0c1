// The aids assembled: their menu items, the status line and the marks.

#include "app/aids/player_aids.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <limits>

#include "app/dialogs/message_box.h"
#include "app/window/twips.h"
#include "core/turns.h"

namespace vexa::app {

namespace {

// The rules in short, for "遊び方".
QString Rules() {
  return QCoreApplication::translate(
      "vexa::app::Form1",
      "11×11 の盤（四隅は使えません）で、二人が交互に打ちます。\n"
      "自分の手番には、ブロッカー（右ボタン）を好きなだけ置いてから、駒（左ボタン）を一つ"
      "置きます。ブロッカーはどちらの駒でもなく、置いた人の手番は続きます。\n"
      "自分の駒四つが正方形の四隅に並べば勝ちです。正方形は傾いていてもかまいません。\n"
      "両者が駒 20 個を置き切ったときは、ブロッカーを多く残した側の勝ちです。\n\n"
      "キーボード: 矢印キーでカーソルを動かし、Enter か Space で駒、B でブロッカーを置きます。\n\n"
      "元に戻す (Ctrl+Z): 直前の一手を取り消します（オンライン対戦を除く）。\n"
      "ヒント (Ctrl+H): 四角の印にブロッカー、塗った丸に駒を勧め、緑の輪でほかの候補を示します。"
      "Esc で消えます。\n"
      "棋譜: 終わったゲームは自動で残ります。棋譜を開くと再生になり、← → で一手ずつ、"
      "Home と End で最初と最後へ進みます。\n"
      "棋譜を解析: 各手の勝率をグラフにし、悪手に ?!、?、?? の印を付けます。"
      "グラフの点をクリックするとその手を表示します。\n"
      "升目の名前: 列 A～K と行 1～11 で D3 のように呼びます（オプション > 座標を表示）。\n"
      "招待リンク: 主催者がコピーした vexa://アドレス:ポート を開くと、そのゲームに参加します。");
}

}  // namespace

PlayerAids::PlayerAids(Window window)
    : w_(std::move(window)),
      hint_({w_.game, w_.runner, w_.random, w_.tasks, [this] { Update(); }}),
      keyboard_(w_.place),
      replay_({w_.window, w_.client, w_.game, w_.board, w_.options, w_.runner, w_.tasks,
               w_.data_folder, w_.set_option_controls, w_.record_of, [this] { Update(); },
               [this](QString text) { Notice(std::move(text)); }}) {}

void PlayerAids::Build(QAction* Mnu_End) {
  QMenu* game_menu = w_.window->menuBar()->findChild<QMenu*>(QStringLiteral("Mnu_Game"));
  QMainWindow* window = w_.window;
  auto action = [window, game_menu](QAction* before, const char* name, const QString& caption,
                                    const QKeySequence& keys) {
    auto* a = new QAction(caption, window);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(keys);
    game_menu->insertAction(before, a);
    return a;
  };
  // Between the game commands and "終了".
  game_menu->insertSeparator(Mnu_End);
  Mnu_Undo = action(Mnu_End, "Mnu_Undo", QString(), QKeySequence::Undo);
  Mnu_Hint = action(Mnu_End, "Mnu_Hint", QString(), QKeySequence(Qt::CTRL | Qt::Key_H));
  game_menu->insertSeparator(Mnu_End);
  Mnu_SaveRecord = action(Mnu_End, "Mnu_SaveRecord", QString(), QKeySequence::Save);
  Mnu_OpenRecord = action(Mnu_End, "Mnu_OpenRecord", QString(), QKeySequence::Open);
  QMenu* replay_menu = new QMenu(game_menu);
  replay_menu->setObjectName(QStringLiteral("Mnu_Replay"));
  game_menu->insertMenu(Mnu_End, replay_menu);
  auto step = [window, replay_menu](const char* name, const QString& caption, Qt::Key key) {
    QAction* a = replay_menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(QKeySequence(key));
    // A submenu's keys reach the window only through the window's own list.
    window->addAction(a);
    return a;
  };
  Mnu_ReplayBack = step("Mnu_ReplayBack", QString(), Qt::Key_Left);
  Mnu_ReplayForward = step("Mnu_ReplayForward", QString(), Qt::Key_Right);
  Mnu_ReplayStart = step("Mnu_ReplayStart", QString(), Qt::Key_Home);
  Mnu_ReplayEnd = step("Mnu_ReplayEnd", QString(), Qt::Key_End);
  Mnu_Analyse = action(Mnu_End, "Mnu_Analyse", QString(), QKeySequence());
  Mnu_Rules = action(Mnu_End, "Mnu_Rules", QString(), QKeySequence());
  game_menu->insertSeparator(Mnu_End);

  QObject::connect(Mnu_Undo, &QAction::triggered, window, [this] { Undo(); });
  QObject::connect(Mnu_Hint, &QAction::triggered, window, [this] { Hint(); });
  QObject::connect(Mnu_Analyse, &QAction::triggered, window, [this] { Analyse(); });
  QObject::connect(Mnu_SaveRecord, &QAction::triggered, window,
                   [this] { w_.tasks.Start(replay_.SaveRecordAs()); });
  QObject::connect(Mnu_OpenRecord, &QAction::triggered, window,
                   [this] { w_.tasks.Start(replay_.OpenRecord()); });
  QObject::connect(Mnu_Rules, &QAction::triggered, window, [this] {
    w_.tasks.Start([](QWidget* parent) -> Task<> {
      co_await ShowMessageBox(parent, Rules(), QMessageBox::Information, QMessageBox::Ok);
    }(w_.window));
  });
  // Steps past either end stop there.
  QObject::connect(Mnu_ReplayBack, &QAction::triggered, window,
                   [this] { replay_.ShowStep(ReplayStep() - 1); });
  QObject::connect(Mnu_ReplayForward, &QAction::triggered, window,
                   [this] { replay_.ShowStep(ReplayStep() + 1); });
  QObject::connect(Mnu_ReplayStart, &QAction::triggered, window, [this] { replay_.ShowStep(0); });
  QObject::connect(Mnu_ReplayEnd, &QAction::triggered, window,
                   [this] { replay_.ShowStep(std::numeric_limits<int>::max()); });
  // The menu tells the truth when it opens, whatever changed since.
  QObject::connect(game_menu, &QMenu::aboutToShow, window, [this] { Update(); });

  // Where to begin, over the board while no game runs.
  StartHint = new QLabel(w_.client);
  StartHint->setObjectName(QStringLiteral("StartHint"));
  StartHint->setAlignment(Qt::AlignCenter);
  StartHint->setStyleSheet(QStringLiteral(
      "background-color: rgba(255, 255, 255, 215); color: black; border: 1px solid gray;"));
  StartHint->setGeometry(TwipRect(930, 2460, 3600, 495));
  StartHint->setAttribute(Qt::WA_TransparentForMouseEvents);
  w_.window->statusBar()->setObjectName(QStringLiteral("StatusBar"));
  w_.window->statusBar()->setSizeGripEnabled(false);
  // Room at the right: a button there would otherwise touch the window's edge.
  w_.window->statusBar()->setContentsMargins(0, 0, Px(90), 0);
  // The line is a widget of its own, not the status bar's temporary
  // message: every menu item hovered or left sends the window a status tip,
  // which would replace that message and blank the line until the next step.
  StatusLine = new QLabel(w_.window);
  StatusLine->setObjectName(QStringLiteral("StatusLine"));
  StatusLine->setTextFormat(Qt::PlainText);
  StatusLine->setMinimumWidth(0);
  StatusLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  w_.window->statusBar()->insertPermanentWidget(0, StatusLine, 1);
  // A fixed height, so that the client area's place in the window is known
  // to whoever drives the window from outside (the Xvfb scripts).
  w_.window->statusBar()->setFixedHeight(Px(330));

  w_.client->setFocusPolicy(Qt::StrongFocus);
  replay_.Build();
  Retranslate();
  Update();
}

void PlayerAids::Retranslate() {
  replay_.Retranslate();
  Update();
}

bool PlayerAids::PersonToMove() const {
  if (InReplay()) return false;
  const Side turn = w_.game.Turn();
  return turn == Player1 || (turn == Player2 && w_.options.Mode() == GameMode::VsHuman);
}

void PlayerAids::Update() {
  if (!StartHint) return;  // still being built
  // A record on show leaves no hint of a game behind it.
  if (InReplay()) hint_.Drop();
  const bool local = w_.options.Mode() != GameMode::VsOnline;
  const bool running = w_.game.GameRunning();
  Mnu_Undo->setEnabled(!InReplay() && local && w_.game.CanUndo());
  Mnu_Hint->setEnabled(local && PersonToMove() && !hint_.Searching());
  Mnu_OpenRecord->setEnabled(!running);
  Mnu_SaveRecord->setEnabled(InReplay() || replay_.HasLastRecord() || !w_.game.History().empty());
  for (QAction* a : {Mnu_ReplayBack, Mnu_ReplayForward, Mnu_ReplayStart, Mnu_ReplayEnd})
    a->setEnabled(InReplay());
  Mnu_Analyse->setEnabled(!Analysing() && (InReplay() || (replay_.HasLastRecord() && !running)));

  // Only until the first game: after it, the line would cover its board.
  game_begun_ = game_begun_ || running;
  StartHint->setText(local ? tr("ゲーム > 新規ゲーム で開始")
                           : tr("「ゲームを主催」か「ゲームに参加」で開始"));
  StartHint->setVisible(!game_begun_ && !InReplay());
  StartHint->raise();
  StatusLine->setText(StatusText());
  RefreshMarks();
}

QString PlayerAids::StatusText() const {
  if (hint_.Searching()) return hint_.StatusText();
  if (!notice_.isEmpty()) return notice_;
  if (InReplay()) return replay_.StatusText();
  if (hint_.OnShow()) return hint_.StatusText();
  // During a person's first turn: how the buttons place.
  const Side turn = w_.game.Turn();
  bool first_turn = PersonToMove();
  for (const Move& move : w_.game.History())
    first_turn = first_turn && move.side != turn;
  if (first_turn) return tr("左ボタンで駒を、右ボタン（または B キー）でブロッカーを置きます");
  return QString();
}

void PlayerAids::RefreshMarks() {
  const std::vector<Move> moves = InReplay() ? replay_.MovesShown() : w_.game.History();
  // A record's sides are 1 and 2.
  const Side sides[2] = {Player1, InReplay() ? Side{2} : w_.game.OpponentSide()};
  int marks[kCellCount] = {};
  for (const Side side : sides) {
    for (const Move& move : LastTurnOf(moves, side))
      marks[move.cell] |= CellLabel::kLastMove;
  }
  hint_.AddMarks(marks);
  // In an analysed replay, the best turn instead of the one on show.
  if (const AnalysedTurn* turn = replay_.AnalysedStep()) MarkTurn(marks, turn->best);
  w_.board.SetNotes(hint_.Notes());
  if (PersonToMove()) marks[keyboard_.Cell()] |= CellLabel::kCursor;
  w_.board.SetMarks(marks);
}

// --- Undo and hint -------------------------------------------------------------------

void PlayerAids::PositionChanged() {
  hint_.PositionChanged();
  notice_.clear();
  Update();
}

void PlayerAids::Undo() {
  if (InReplay() || w_.options.Mode() == GameMode::VsOnline || !w_.game.CanUndo()) return;
  // The board it restores is told as a new one (PositionChanged): the hint
  // and its search go with it.
  w_.game.Undo();
}

void PlayerAids::Hint() {
  if (w_.options.Mode() == GameMode::VsOnline || !PersonToMove()) return;
  // The status line explains the hint instead of a notice.
  notice_.clear();
  hint_.Ask();
}

bool PlayerAids::KeyPressed(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && hint_.Cancel()) {
    event->accept();
    Update();
    return true;
  }
  if (!PersonToMove() || !keyboard_.KeyPressed(event)) return false;
  RefreshMarks();
  return true;
}

}  // namespace vexa::app
