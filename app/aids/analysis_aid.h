#pragma once

// The analysis of a replayed game in the window ("棋譜を解析"): Master
// weighs every turn on the program's search runner, off the window's
// thread, while a progress bar and a cancel button ("AnalysisProgress",
// "AnalysisCancel") stand in the status bar; then the graph
// ("AnalysisGraph") shows side 1's chances under the board, and every
// replay step can tell its turn's mark, chances and best turn.

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "core/move.h"
#include "core/task.h"
#include "cpu/game_analysis.h"
#include "cpu/search_runner.h"

class QMainWindow;
class QProgressBar;
class QPushButton;
class QWidget;

namespace vexa::app {

class WinGraph;

class AnalysisAid {
  Q_DECLARE_TR_FUNCTIONS(vexa::app::Form1)

 public:
  struct Window {
    QMainWindow* window;
    QWidget* client;
    SearchRunner& runner;
    TaskGroup& tasks;
    // The replay is to show the game after this many placements.
    std::function<void(int step)> show_step;
    // The analysis started, ended or was dropped.
    std::function<void()> changed;
  };

  explicit AnalysisAid(Window window);
  AnalysisAid(const AnalysisAid&) = delete;
  AnalysisAid& operator=(const AnalysisAid&) = delete;

  void Build();
  void Retranslate();

  // Analyses a record's placements; an analysis before is dropped.
  void Start(const std::vector<Move>& moves, Side first);
  // Stops an analysis still running and forgets it; the graph goes.
  void Clear();
  bool Running() const { return running_; }

  // A replay step is shown: the graph rings its turn.
  void StepShown(int step);
  // The turn of the latest placement at a replay step, once analysed.
  const AnalysedTurn* TurnAt(int step) const;
  // "?? 62 % → 18 %, 最善 B F6 P E5" for that turn, or nothing.
  QString StatusText(int step) const;

 private:
  Task<> Run(int request);
  void ShowGraph();
  QString TurnSummary(const AnalysedTurn& turn) const;

  Window w_;
  QProgressBar* AnalysisProgress = nullptr;
  QPushButton* AnalysisCancel = nullptr;
  WinGraph* AnalysisGraph = nullptr;
  std::optional<GameAnalysis> analysis_;
  bool running_ = false;
  // Counts analyses: a search answers only the newest one.
  int request_ = 0;
};

}  // namespace vexa::app
