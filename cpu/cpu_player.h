#pragma once

// The computer player: side 3 of "VS CPU", against Player1, at the strength
// the option panel shows.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "board.h"
#include "cell_source.h"
#include "game.h"
#include "master_search.h"
#include "reach_lists.h"
#include "task.h"

namespace vexa {

// The visible thinking time before every move; Master searches during it.
constexpr int kThinkingPauseMs = 1000;
static_assert(SearchLimits{}.time == std::chrono::milliseconds(kThinkingPauseMs));
// Empty cells outside the inner block that the inner-block draw passes over
// before it takes one anyway.
constexpr int kInnerDrawPatience = 2500;

class CpuPlayer : public CpuOpponent {
 public:
  // The reach lists are the program instance's. A move refills them as it
  // goes but not after its piece: a caller that needs current lists calls
  // ListReaches itself.
  CpuPlayer(Game& game, ReachLists& lists, CellSource& random)
      : game_(game), lists_(lists), random_(random) {}
  CpuPlayer(const CpuPlayer&) = delete;
  CpuPlayer& operator=(const CpuPlayer&) = delete;

  // One complete move with Turn at 3: blockers on Player1's reach cells if
  // any, then one piece, the move handed back to Player1 and the judge.
  // Each placement goes through Game::ApplyMove, so the shell and the game's
  // history see it as a Move. When a new game or an abandon happens while
  // the move waits, the rest of it is dropped.
  Task<> CpuMove() override;
  // Stops Master's search; the move it was for is dropped.
  void StopThinking() override;

  // Master's search: by default the thinking pause on every core. Each move
  // searches with a seed of its own, taken in turn from `limits.seed`.
  void SetMasterLimits(const SearchLimits& limits) { master_limits_ = limits; }
  const SearchLimits& MasterLimits() const { return master_limits_; }
  // A search of Master runs for this player's move.
  bool Thinking() const { return thinking_ != nullptr; }

 private:
  CpuStrength Strength() const { return game_.Shell().Strength(); }

  void PlaceCpuPiece(int cell);
  void PlaceCpuBlocker(int cell);
  void HandOver();
  // Blockers on Player1's reach cells, first to last, while they last; when
  // they run out with a reach cell still open, the CPU's piece goes there.
  // True when it has placed the piece; the caller hands the move over.
  bool BlockReaches();

  // The piece when neither side can win next move, by strength.
  Task<std::optional<int>> ChoosePieceCell(Game::Watch watch);
  // Hard and up: the CPU's pre-reach cell that leaves it the most reach
  // cells, the later one among equals.
  int MostReachesLookAhead();
  // Hard and up: Player1's pre-reach cell that leaves Player1 the fewest
  // reach cells, the earlier one among equals, with that count.
  struct LookAheadChoice {
    int cell;
    int score;
  };
  LookAheadChoice FewestOpposingReachesLookAhead();
  // Hard and up: a random empty cell of the inner block, or the next empty
  // cell anywhere once kInnerDrawPatience empty cells outside it were drawn;
  // events run after every draw. Nothing when the game changed meanwhile.
  Task<std::optional<int>> DrawRandomInnerCell(Game::Watch watch);

  // Master: the search runs during the thinking pause, which it shortens by
  // its own time; its turn is placed when the pause is over.
  Task<> MasterMove(Game::Watch watch);

  // What one search shares with the thread it runs on: the stop flag, and the
  // result, read only once the work has returned.
  struct Thought {
    std::atomic<bool> stop{false};
    SearchResult result;
  };

  Game& game_;
  ReachLists& lists_;
  CellSource& random_;
  // Scratch for the look-aheads: the board with one trial piece, and lists
  // to score it with, so the instance's lists never describe a trial.
  BoardCells TrialBoard{};
  ReachLists trial_lists_;

  SearchLimits master_limits_;
  std::uint64_t searches_ = 0;
  std::shared_ptr<Thought> thinking_;
};

// A random empty playable cell of the board, anywhere.
int DrawRandomCell(const BoardCells& board, CellSource& random);

// The empty cell two columns to the right of the CPU's highest-index piece in
// the inner block that has one; nothing when no piece has.
std::optional<int> InnerExtensionCell(const BoardCells& board);

}  // namespace vexa
