#pragma once

// The hint ("ヒント"): Master's turn for the person to move, searched off
// the window's thread, shown as marks (its blockers and piece, the next two
// candidates' pieces, each with its chance to win) that stay while the
// player follows them.

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "core/game.h"
#include "core/task.h"
#include "cpu/cell_source.h"
#include "cpu/search_runner.h"

namespace vexa::app {

// Marks a turn's blockers and piece as a hint shows them (also the
// analysis's best turn).
void MarkTurn(int marks[], const std::vector<Move>& turn);

class HintAid {
  // Its texts belong to the main window's translations.
  Q_DECLARE_TR_FUNCTIONS(vexa::app::Form1)

 public:
  struct Window {
    const Game& game;
    SearchRunner& runner;
    CellSource& random;
    TaskGroup& tasks;
    // The search started or ended, or the hint on show changed.
    std::function<void()> changed;
  };

  explicit HintAid(Window window) : w_(std::move(window)) {}
  HintAid(const HintAid&) = delete;
  HintAid& operator=(const HintAid&) = delete;

  // Searches a hint for the side to move; one already searching is left to
  // finish.
  void Ask();
  bool Searching() const { return pending_; }
  bool OnShow() const { return !turn_.empty(); }

  // A placement or a new board: a search still running is for the position
  // before it, and a hint on show stays only while the placement follows it.
  void PositionChanged();
  // Escape: stops the search or clears the hint on show. False when there
  // was neither.
  bool Cancel();
  void Drop();

  // The status line's text while the hint searches or is on show.
  QString StatusText() const;
  // Its marks on the board's cell marks, and its notes beside the pieces.
  void AddMarks(int marks[]) const;
  const std::vector<std::pair<int, QString>>& Notes() const { return notes_; }

 private:
  Task<> Show();

  Window w_;
  // What is left of the turn it suggests (blockers, then the piece), the
  // other candidates' pieces, and the candidates' chances beside their
  // pieces.
  std::vector<Move> turn_;
  std::vector<int> others_;
  std::vector<std::pair<int, QString>> notes_;
  // The chosen turn's chance, for the status line.
  QString chance_;
  // The number of placements in the game when the hint was last followed.
  std::size_t followed_at_ = 0;
  bool pending_ = false;
  // Counts requests: a search answers only the newest one.
  int request_ = 0;
  // How long the search thinks.
  static constexpr int kSearchMs = 700;
};

}  // namespace vexa::app
