#pragma once

// Game records in the window: "棋譜を保存" and "棋譜を開く", the replay of
// an opened record step by step (the panel shows the record's mode,
// strength and names meanwhile, and the player's own come back after), and
// the analysis of the game replayed ("棋譜を解析").

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

class QMainWindow;

namespace vexa::app {

class ReplayAid {
  // Its texts belong to the main window's translations.
  Q_DECLARE_TR_FUNCTIONS(vexa::app::Form1)

 public:
  struct Window {
    QMainWindow* window;
    QWidget* client;
    const Game& game;
    BoardView& board;
    OptionPanel& options;
    SearchRunner& runner;
    TaskGroup& tasks;
    QString data_folder;  // where the games' records are kept
    std::function<void(PanelCode, bool)> set_option_controls;
    // The record of the game in the state it is in, with that ending.
    std::function<GameRecord(const Outcome&)> record_of;
    // A replay began, stepped or ended, or an analysis changed.
    std::function<void()> changed;
    // A line for the status bar until the next step or placement.
    std::function<void(QString)> notice;
  };

  explicit ReplayAid(Window window);
  ReplayAid(const ReplayAid&) = delete;
  ReplayAid& operator=(const ReplayAid&) = delete;

  void Build() { analysis_.Build(); }
  void Retranslate() { analysis_.Retranslate(); }

  // A game ended: its record, for "棋譜を保存" and "棋譜を解析".
  void GameRecorded(GameRecord record) { last_record_ = std::move(record); }
  bool HasLastRecord() const { return last_record_.has_value(); }

  Task<> SaveRecordAs();
  Task<> OpenRecord();
  // Reads a record and shows it in the replay state; a bad record is told
  // with the line at fault and changes nothing.
  Task<> OpenRecordFile(QString path);
  bool InReplay() const { return replay_.has_value(); }
  int Step() const { return replay_ ? replay_->step : 0; }
  // Past either end it stops there.
  void ShowStep(int step);
  void Leave();

  // Analyses the game in the replay, or the game that ended last (shown in
  // the replay for it).
  void Analyse();
  bool Analysing() const { return analysis_.Running(); }

  // The placements up to the step on show, and the sides of the record.
  std::vector<Move> MovesShown() const;
  // The best turn the analysis found for the step on show, if any.
  const AnalysedTurn* AnalysedStep() const;
  // "手 3 / 24 P F6" with the step's mark or what the record says of its
  // game (date, mode, strength, result).
  QString StatusText() const;

 private:
  // Shows a record that was read in the replay state.
  void Enter(RecordReading reading);
  QString RecordLine() const;

  Window w_;
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
  AnalysisAid analysis_;
};

}  // namespace vexa::app
