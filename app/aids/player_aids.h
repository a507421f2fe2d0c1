#pragma once

// What the main window offers beyond the game itself: the marks of the
// latest turns, undo, the hint, the keyboard's cursor, game records with
// their replay, and help for a newcomer. It owns the menu items of these
// ("Mnu_Undo", "Mnu_Hint", "Mnu_SaveRecord", "Mnu_OpenRecord", "Mnu_Replay"
// with its steps, "Mnu_Analyse", "Mnu_Rules"), the line over the board that
// says how to begin ("StartHint"), the status bar's line ("StatusLine") and
// the analysis of a replayed game.

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "app/aids/analysis_aid.h"
#include "app/board/board_view.h"
#include "app/window/option_panel.h"
#include "core/game.h"
#include "core/game_record.h"
#include "core/task.h"
#include "cpu/cell_source.h"
#include "cpu/search_runner.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMainWindow;
class QWidget;

namespace vexa::app {

class PlayerAids {
  // Its texts belong to the main window's translations.
  Q_DECLARE_TR_FUNCTIONS(vexa::app::Form1)

 public:
  // What the aids use of the main window.
  struct Window {
    QMainWindow* window;
    QWidget* client;
    Game& game;
    BoardView& board;
    OptionPanel& options;
    SearchRunner& runner;
    CellSource& random;
    TaskGroup& tasks;
    QString data_folder;  // where the games' records are kept
    // A mouse button pressed on a cell, as the board reports it.
    std::function<void(int cell, int button)> place;
    std::function<void(PanelCode, bool)> set_option_controls;
    // The record of the game in the state it is in, with that ending.
    std::function<GameRecord(const Outcome&)> record_of;
  };

  explicit PlayerAids(Window window);
  PlayerAids(const PlayerAids&) = delete;
  PlayerAids& operator=(const PlayerAids&) = delete;

  // Adds the items to the game menu before "終了" (`Mnu_End`), the start
  // line and the status bar.
  void Build(QAction* Mnu_End);

  // The start line's text in the language in place (the menu items' are
  // the window's).
  void Retranslate();
  // The menu items and help lines as the game now stands; the marks too.
  void Update();
  void RefreshMarks();
  // A person at this machine is to move (not the computer, not the peer,
  // not in a replay).
  bool PersonToMove() const;

  // --- What the game tells the aids.
  // A placement or a new board: a hint still searching or on show is for
  // the position before it.
  void PositionChanged();
  // A game ended: its record, for "棋譜を保存" and "棋譜を解析".
  void GameRecorded(GameRecord record) {
    last_record_ = std::move(record);
    Update();
  }
  // A line for the status bar that stays until the next placement or the
  // next board (a blocker lost to the clock, a game lost on time).
  void Notice(QString text) {
    notice_ = std::move(text);
    Update();
  }

  void Undo();
  void Hint();
  // Analyses the game in the replay, or the game that ended last (shown in
  // the replay for it).
  void Analyse();
  bool Analysing() const { return analysis_.Running(); }
  // Arrow keys, Enter, Space and B while a person is to move, Escape while
  // a hint searches or is on show; false for a key the aids do not take.
  bool KeyPressed(QKeyEvent* event);

  // Reads a record and shows it in the replay state; a bad record is told
  // with the line at fault and changes nothing.
  Task<> OpenRecordFile(QString path);
  bool InReplay() const { return replay_.has_value(); }
  int ReplayStep() const { return replay_ ? replay_->step : 0; }
  void LeaveReplay();
  // The cell the keyboard places on.
  int KeyboardCursor() const { return cursor_; }

 private:
  Task<> ShowHint();
  Task<> SaveRecordAs();
  Task<> OpenRecord();
  void ShowReplayStep(int step);
  // The status bar's line as the window now stands, and what a replayed
  // record says of its game: date, mode, strength, result.
  QString StatusText() const;
  QString ReplayLine() const;
  // Shows a record that was read in the replay state.
  void EnterReplay(RecordReading reading);

  Window w_;
  QAction* Mnu_Undo = nullptr;
  QAction* Mnu_Hint = nullptr;
  QAction* Mnu_SaveRecord = nullptr;
  QAction* Mnu_OpenRecord = nullptr;
  QAction* Mnu_ReplayBack = nullptr;
  QAction* Mnu_ReplayForward = nullptr;
  QAction* Mnu_ReplayStart = nullptr;
  QAction* Mnu_ReplayEnd = nullptr;
  QAction* Mnu_Analyse = nullptr;
  QAction* Mnu_Rules = nullptr;
  QLabel* StartHint = nullptr;
  // The status bar's line: replay steps, analysis, hint, notices.
  QLabel* StatusLine = nullptr;

  // The record of the game that ended last, for "棋譜を保存".
  std::optional<GameRecord> last_record_;
  // An opened record on show instead of a game.
  struct Replay {
    GameRecord record;
    std::vector<RecordPosition> positions;
    std::optional<Outcome> board_outcome;
    int step = 0;
    // The player's mode and strength, shown again when the replay ends.
    OptionPanel::Choices players_choices;
  };
  std::optional<Replay> replay_;
  // Takes the turn the hint suggests one placement further, or drops the
  // hint when the placement departs from it.
  void FollowHint();
  void DropHint();

  // The hint on show: what is left of the turn it suggests (blockers, then
  // the piece), the other candidates' pieces, and the candidates' chances
  // beside their pieces. It stays while the player follows it.
  std::vector<Move> hint_turn_;
  std::vector<int> hint_others_;
  std::vector<std::pair<int, QString>> hint_notes_;
  // The chosen turn's chance, for the status line.
  QString hint_chance_;
  // The number of placements in the game when the hint was last followed.
  std::size_t hint_followed_at_ = 0;
  bool hint_pending_ = false;
  // Counts hint requests: a search answers only the newest one.
  int hint_request_ = 0;
  // How long the hint's search thinks.
  static constexpr int kHintSearchMs = 700;
  int cursor_ = 60;
  // A game was begun since the program started: the start line has done
  // its work and no longer covers the board.
  bool game_begun_ = false;
  QString notice_;
  AnalysisAid analysis_;
};

}  // namespace vexa::app
