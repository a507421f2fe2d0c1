// What the main window offers beyond the game itself.

#include <QCoreApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeView>
#include <limits>

#include "app/aids/chance_text.h"
#include "app/records/game_record_files.h"
#include "app/dialogs/message_box.h"
#include "app/aids/player_aids.h"
#include "app/window/twips.h"
#include "core/cell_name.h"
#include "core/turns.h"
#include "cpu/master_search.h"
#include "cpu/turn_estimates.h"

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

// One step of the cursor, skipping the unplayable corners; the cursor stays
// where it is at the board's edge.
int StepCursor(int cell, int d_row, int d_column) {
  int row = Row(cell);
  int column = Column(cell);
  for (;;) {
    row += d_row;
    column += d_column;
    if (row < 0 || row >= kBoardSize || column < 0 || column >= kBoardSize) return cell;
    const int next = row * kBoardSize + column;
    if (IsPlayableCell(next)) return next;
  }
}

// The file dialogs' detail view with its name, size, type and date columns
// each as wide as its longest text, the name taking what is left.
void ShowColumnsWhole(QFileDialog* dialog) {
  dialog->setViewMode(QFileDialog::Detail);
  dialog->resize(std::max(dialog->width(), Px(9600)), std::max(dialog->height(), Px(6000)));
  auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
  if (!list) return;
  QHeaderView* header = list->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
}

// "vexa-20261209-1143.txt" for a game of that date (the record's own, or
// now when it has none that reads).
QString SavedRecordName(const GameRecord& record) {
  QDateTime date = QDateTime::fromString(QString::fromStdString(record.Header("date").value_or("")),
                                         Qt::ISODate);
  if (!date.isValid()) date = QDateTime::currentDateTime();
  return date.toString(QStringLiteral("'vexa-'yyyyMMdd-HHmm'.txt'"));
}

}  // namespace

PlayerAids::PlayerAids(Window window)
    : w_(std::move(window)),
      analysis_({w_.window, w_.client, w_.runner, w_.tasks,
                 [this](int step) { ShowReplayStep(step); }, [this] { Update(); }}) {}

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
                   [this] { w_.tasks.Start(SaveRecordAs()); });
  QObject::connect(Mnu_OpenRecord, &QAction::triggered, window,
                   [this] { w_.tasks.Start(OpenRecord()); });
  QObject::connect(Mnu_Rules, &QAction::triggered, window, [this] {
    w_.tasks.Start([](QWidget* parent) -> Task<> {
      co_await ShowMessageBox(parent, Rules(), QMessageBox::Information, QMessageBox::Ok);
    }(w_.window));
  });
  // Steps past either end stop there.
  QObject::connect(Mnu_ReplayBack, &QAction::triggered, window,
                   [this] { ShowReplayStep(ReplayStep() - 1); });
  QObject::connect(Mnu_ReplayForward, &QAction::triggered, window,
                   [this] { ShowReplayStep(ReplayStep() + 1); });
  QObject::connect(Mnu_ReplayStart, &QAction::triggered, window, [this] { ShowReplayStep(0); });
  QObject::connect(Mnu_ReplayEnd, &QAction::triggered, window,
                   [this] { ShowReplayStep(std::numeric_limits<int>::max()); });
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
  analysis_.Build();
  Retranslate();
  Update();
}

void PlayerAids::Retranslate() {
  analysis_.Retranslate();
  Update();
}

bool PlayerAids::PersonToMove() const {
  if (replay_) return false;
  const Side turn = w_.game.Turn();
  return turn == Player1 || (turn == Player2 && w_.options.Mode() == GameMode::VsHuman);
}

void PlayerAids::Update() {
  if (!StartHint) return;  // still being built
  const bool local = w_.options.Mode() != GameMode::VsOnline;
  Mnu_Undo->setEnabled(!replay_ && local && w_.game.CanUndo());
  Mnu_Hint->setEnabled(local && PersonToMove() && !hint_pending_);
  Mnu_OpenRecord->setEnabled(!w_.game.GameRunning());
  Mnu_SaveRecord->setEnabled(replay_ || last_record_ || !w_.game.History().empty());
  for (QAction* a : {Mnu_ReplayBack, Mnu_ReplayForward, Mnu_ReplayStart, Mnu_ReplayEnd})
    a->setEnabled(replay_.has_value());
  Mnu_Analyse->setEnabled(!analysis_.Running() &&
                          (replay_ || (last_record_ && !w_.game.GameRunning())));

  // Only until the first game: after it, the line would cover its board.
  game_begun_ = game_begun_ || w_.game.GameRunning();
  StartHint->setText(local ? tr("ゲーム > 新規ゲーム で開始")
                           : tr("「ゲームを主催」か「ゲームに参加」で開始"));
  StartHint->setVisible(!game_begun_ && !replay_);
  StartHint->raise();
  StatusLine->setText(StatusText());
  RefreshMarks();
}

QString PlayerAids::StatusText() const {
  if (hint_pending_) return tr("考えています…（Esc で中止）");
  if (!notice_.isEmpty()) return notice_;
  if (replay_) {
    // An analysed step: its mark in place of what the record says.
    const QString analysed = analysis_.StatusText(replay_->step);
    QString step = tr("手 %1 / %2").arg(replay_->step).arg(replay_->record.moves.size());
    // The placement that led to the board on show, by its cell's name.
    if (replay_->step > 0) {
      const Move& last = replay_->record.moves[static_cast<std::size_t>(replay_->step - 1)];
      step += u' ' + QString::fromStdString(TurnCellNames({last}));
    }
    return analysed.isEmpty() ? step + u'　' + ReplayLine() : step + u'　' + analysed;
  }
  if (!hint_turn_.empty()) {
    // The turn by its cells' names and its chance first, for whoever reads
    // rather than looks.
    return tr("ヒント %1（勝率 %2）: 四角の印にブロッカー、塗った丸に駒。緑の輪はほかの候補で、数字は打ったあとの勝率です")
        .arg(QString::fromStdString(TurnCellNames(hint_turn_)), hint_chance_);
  }
  // During a person's first turn: how the buttons place.
  const Side turn = w_.game.Turn();
  bool first_turn = PersonToMove();
  for (const Move& move : w_.game.History())
    first_turn = first_turn && move.side != turn;
  if (first_turn) return tr("左ボタンで駒を、右ボタン（または B キー）でブロッカーを置きます");
  return QString();
}

void PlayerAids::RefreshMarks() {
  std::vector<Move> moves;
  Side sides[2] = {Player1, w_.game.OpponentSide()};
  if (replay_) {
    moves.assign(replay_->record.moves.begin(), replay_->record.moves.begin() + replay_->step);
    sides[1] = 2;
  } else {
    moves = w_.game.History();
  }
  int marks[kCellCount] = {};
  for (const Side side : sides) {
    for (const Move& move : LastTurnOf(moves, side))
      marks[move.cell] |= CellLabel::kLastMove;
  }
  const auto mark_turn = [&marks](const std::vector<Move>& turn) {
    for (const Move& move : turn) {
      marks[move.cell] |=
          move.kind == MoveKind::Piece ? CellLabel::kHintPiece : CellLabel::kHintBlocker;
    }
  };
  mark_turn(hint_turn_);
  for (const int cell : hint_others_)
    marks[cell] |= CellLabel::kHint;
  // In an analysed replay, the best turn instead of the one on show.
  if (const AnalysedTurn* turn = replay_ ? analysis_.TurnAt(replay_->step) : nullptr)
    mark_turn(turn->best);
  w_.board.SetNotes(hint_notes_);
  if (PersonToMove()) marks[cursor_] |= CellLabel::kCursor;
  w_.board.SetMarks(marks);
}

// --- Undo and hint -------------------------------------------------------------------

void PlayerAids::PositionChanged() {
  // A hint still searching is for the position before this one.
  if (hint_pending_) w_.runner.Stop();
  FollowHint();
  notice_.clear();
  Update();
}

void PlayerAids::FollowHint() {
  const std::vector<Move>& history = w_.game.History();
  if (!hint_turn_.empty() && history.size() == hint_followed_at_ + 1) {
    // Blockers in any order; the piece ends the turn, followed or not.
    const Move& played = history.back();
    const auto step = std::find(hint_turn_.begin(), hint_turn_.end(), played);
    if (played.kind == MoveKind::Blocker && step != hint_turn_.end()) {
      hint_turn_.erase(step);
      hint_followed_at_ = history.size();
      // The other candidates are turns the player has left: only the
      // chosen piece keeps its note.
      hint_others_.clear();
      hint_notes_.resize(std::min<std::size_t>(1, hint_notes_.size()));
      return;
    }
  }
  DropHint();
}

void PlayerAids::DropHint() {
  hint_turn_.clear();
  hint_others_.clear();
  hint_notes_.clear();
}

void PlayerAids::Undo() {
  if (replay_ || w_.options.Mode() == GameMode::VsOnline || !w_.game.CanUndo()) return;
  // The board it restores is told as a new one (PositionChanged): the hint
  // and its search go with it.
  w_.game.Undo();
}

void PlayerAids::Hint() {
  if (w_.options.Mode() == GameMode::VsOnline || !PersonToMove() || hint_pending_) return;
  w_.tasks.Start(ShowHint());
}

Task<> PlayerAids::ShowHint() {
  // Master's choice for the side to move, searched off the window's thread.
  // A new request, a placement, an undo or another game stops the search,
  // and a search that was stopped shows nothing.
  const Game::Watch watch = w_.game.WatchGame();
  const int request = ++hint_request_;
  const Position asked = w_.game.CurrentPosition();
  const Side mover = w_.game.Turn();
  SearchLimits limits;
  limits.time = std::chrono::milliseconds(kHintSearchMs);
  limits.seed = static_cast<std::uint64_t>(w_.random.DrawCell());
  hint_pending_ = true;
  Update();
  SearchRunner::Awaiter search = w_.runner.Search(asked, mover, limits);
  const std::optional<SearchResult> result = co_await search;
  if (request != hint_request_) co_return;  // a newer request owns the hint
  hint_pending_ = false;
  // The hint is for the position it was asked in.
  const Position& now = w_.game.CurrentPosition();
  if (result && watch.StillCurrent() && w_.game.Turn() == mover && now.Board() == asked.Board() &&
      now.BlockerStock() == asked.BlockerStock()) {
    // The chosen turn's blockers and piece, and the pieces of the next
    // two candidates, each with the mover's chance to win after it.
    DropHint();
    notice_.clear();  // the status line explains the hint instead
    hint_turn_ = result->turn;
    hint_followed_at_ = w_.game.History().size();
    const std::vector<Candidate> candidates = BestCandidates(*result, 3);
    for (std::size_t n = 0; n < candidates.size(); ++n) {
      const Move& piece = candidates[n].turn.back();
      if (n > 0) hint_others_.push_back(piece.cell);
      hint_notes_.emplace_back(piece.cell, ChanceText::OnCell(candidates[n].chance));
    }
    hint_chance_ = ChanceText::Of(candidates.front().chance);
  }
  Update();
}

// --- Keyboard play ---------------------------------------------------------------------

bool PlayerAids::KeyPressed(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && (hint_pending_ || !hint_turn_.empty())) {
    // A search stopped shows nothing (ShowHint drops its result).
    if (hint_pending_) w_.runner.Stop();
    DropHint();
    event->accept();
    Update();
    return true;
  }
  if (!PersonToMove()) return false;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Left:
      cursor_ = StepCursor(cursor_, 0, -1);
      break;
    case Qt::Key_Right:
      cursor_ = StepCursor(cursor_, 0, 1);
      break;
    case Qt::Key_Up:
      cursor_ = StepCursor(cursor_, -1, 0);
      break;
    case Qt::Key_Down:
      cursor_ = StepCursor(cursor_, 1, 0);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      w_.place(cursor_, shift ? kRightButton : kLeftButton);
      break;
    case Qt::Key_Space:
      w_.place(cursor_, kLeftButton);
      break;
    case Qt::Key_B:
      w_.place(cursor_, kRightButton);
      break;
    default:
      return false;
  }
  event->accept();
  RefreshMarks();
  return true;
}

// --- Records and replay -----------------------------------------------------------------

Task<> PlayerAids::SaveRecordAs() {
  GameRecord record;
  if (replay_) {
    record = replay_->record;
  } else if (w_.game.GameRunning() && !w_.game.History().empty()) {
    // The game so far; read back, it is a game that was given up there.
    record = w_.record_of({0, EndReason::Abandoned, std::nullopt});
  } else if (last_record_) {
    record = *last_record_;
  } else {
    co_return;
  }
  QPointer<QFileDialog> dialog = new QFileDialog(w_.window, tr("棋譜を保存"));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setNameFilter(tr("棋譜 (*.txt)"));
  dialog->setDefaultSuffix(QStringLiteral("txt"));
  // Beside the games kept on their own, under a name of the game's date that
  // the pruning of old games leaves alone.
  const QString folder = GamesFolder(w_.data_folder);
  QDir().mkpath(folder);
  dialog->setDirectory(folder);
  dialog->selectFile(SavedRecordName(record));
  ShowColumnsWhole(dialog);
  const int answer = co_await RunModal(dialog);
  if (!dialog) co_return;
  const QStringList files = dialog->selectedFiles();
  dialog->deleteLater();
  if (answer != QDialog::Accepted || files.isEmpty()) co_return;
  if (!SaveRecordFile(files.front(), record)) {
    co_await ShowMessageBox(w_.window, tr("棋譜を保存できませんでした。\n") + files.front(),
                            QMessageBox::Critical, QMessageBox::Ok);
    co_return;
  }
  Notice(tr("棋譜を保存しました: %1").arg(QDir::toNativeSeparators(files.front())));
}

Task<> PlayerAids::OpenRecord() {
  if (w_.game.GameRunning()) co_return;
  QPointer<QFileDialog> dialog = new QFileDialog(w_.window, tr("棋譜を開く"));
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setNameFilter(tr("棋譜 (*.txt);;すべてのファイル (*)"));
  dialog->setDirectory(GamesFolder(w_.data_folder));
  ShowColumnsWhole(dialog);
  const int answer = co_await RunModal(dialog);
  if (!dialog) co_return;
  const QStringList files = dialog->selectedFiles();
  dialog->deleteLater();
  if (answer != QDialog::Accepted || files.isEmpty()) co_return;
  co_await OpenRecordFile(files.front());
}

Task<> PlayerAids::OpenRecordFile(QString path) {
  const std::optional<std::string> text = ReadRecordFile(path);
  RecordReading reading = text ? ReadRecord(*text) : RecordReading{};
  if (!text) reading.error = "the file cannot be read";
  if (!reading.record) {
    // Nothing of the game on the board is touched.
    const QString where =
        reading.error_line > 0 ? tr("%1 行目: ").arg(reading.error_line) : QString();
    co_await ShowMessageBox(w_.window,
                            tr("棋譜を読み込めませんでした。\n") + path + u'\n' + where +
                                QString::fromStdString(reading.error),
                            QMessageBox::Critical, QMessageBox::Ok);
    co_return;
  }
  // A game may have started while the dialog was open.
  if (w_.game.GameRunning()) co_return;
  EnterReplay(std::move(reading));
}

void PlayerAids::EnterReplay(RecordReading reading) {
  analysis_.Clear();
  const OptionPanel::Choices players =
      replay_ ? replay_->players_choices : w_.options.CurrentChoices();
  replay_ = Replay{std::move(*reading.record), std::move(reading.positions), reading.board_outcome,
                   0, players};
  DropHint();
  // The panel shows the recorded game's mode and strength.
  const GameRecord& record = replay_->record;
  w_.options.ShowChoices(
      {ParseMode(record.Header("mode").value_or("")).value_or(players.mode),
       ParseStrength(record.Header("strength").value_or("")).value_or(players.strength)});
  w_.set_option_controls(PanelCode::GameRunning, false);
  w_.board.LightLamp(0);
  w_.board.SetCaptions(QString::fromStdString(replay_->record.Header("left").value_or("1")),
                       QString::fromStdString(replay_->record.Header("right").value_or("2")));
  ShowReplayStep(static_cast<int>(replay_->record.moves.size()));
}

void PlayerAids::ShowReplayStep(int step) {
  if (!replay_) return;
  step = std::clamp(step, 0, static_cast<int>(replay_->record.moves.size()));
  replay_->step = step;
  notice_.clear();
  const RecordPosition& position = replay_->positions[static_cast<std::size_t>(step)];
  w_.board.ShowBoard(position.board);
  w_.board.ShowStocks(position.pieces, position.blockers);
  const bool at_end = step == static_cast<int>(replay_->record.moves.size());
  if (at_end && replay_->board_outcome && replay_->board_outcome->square) {
    w_.board.DrawOutline(*replay_->board_outcome->square, replay_->board_outcome->winner);
  } else {
    w_.board.HideOutline();
  }
  analysis_.StepShown(step);
  Update();
}

void PlayerAids::LeaveReplay() {
  analysis_.Clear();
  if (!replay_) return;
  w_.options.ShowChoices(replay_->players_choices);
  // The record's names go with it.
  w_.board.ShowOwnCaptions(replay_->players_choices.mode);
  replay_.reset();
  notice_.clear();
  Update();
}

QString PlayerAids::ReplayLine() const {
  const GameRecord& record = replay_->record;
  const auto header = [&record](const char* key) {
    return QString::fromStdString(record.Header(key).value_or(""));
  };
  QStringList parts;
  const QDateTime date = QDateTime::fromString(header("date"), Qt::ISODate);
  parts << (date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : header("date"));
  const QString strength = header("strength");
  parts << (strength.isEmpty() ? header("mode") : header("mode") + u' ' + strength);
  const QString how = header("how");
  if (header("result") == QLatin1String("abandoned")) {
    parts << (how == QLatin1String("left") ? tr("相手の離脱で終了") : tr("中断"));
  } else {
    parts << (how == QLatin1String("time") ? tr("%1（時間切れ）").arg(header("result"))
                                           : header("result"));
  }
  return parts.join(QStringLiteral("　"));
}

void PlayerAids::Analyse() {
  if (analysis_.Running()) return;
  if (!replay_) {
    if (w_.game.GameRunning() || !last_record_) return;
    RecordReading reading = ReadRecord(WriteRecord(*last_record_));
    if (!reading.record) return;
    EnterReplay(std::move(reading));
  }
  analysis_.Start(replay_->record.moves, replay_->record.Header("first") == "2" ? 2 : 1);
}

}  // namespace vexa::app
