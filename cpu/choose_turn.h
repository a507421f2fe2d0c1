#pragma once

// The computer player's choice of a whole turn (its blockers in the order
// they are placed, then its piece) for either side of a position, at the
// four rules-of-thumb strengths. A pure function of the position and the
// random cells drawn; players of these strengths (cpu/player.h) choose
// through it.

#include <array>
#include <bitset>
#include <optional>
#include <vector>

#include "core/modes.h"
#include "core/move.h"
#include "core/position.h"
#include "cpu/cell_source.h"
#include "cpu/reach_lists.h"

namespace vexa {

// Empty cells outside the inner block that the inner-block draw passes over
// before it takes one anyway.
constexpr int kInnerDrawPatience = 2500;

// Chooses turns with scratch lists of its own, so that a caller choosing
// many turns (a playout) allocates nothing per turn.
class TurnChooser {
 public:
  // Blockers on the opponent's reach cells while they last (when they run
  // out with a reach cell open, the piece covers it); a winning cell taken
  // unless the strength is "Easy"; otherwise the piece by strength. Master,
  // which searches, is not chosen here.
  std::vector<Move> Choose(const Position& position, Side me, CpuStrength strength,
                           CellSource& random);

 private:
  struct LookAheadChoice {
    int cell;
    int score;
  };
  // Blockers on the opponent's reach cells, first to last; true when the
  // piece had to cover one.
  bool BlockReaches();
  void PlaceBlocker(int cell);
  void PlacePiece(int cell);
  // `their_lists_stale`: blockers were placed since the opponent's lists
  // were made.
  int ChoosePieceCell(CpuStrength strength, CellSource& random, bool their_lists_stale);
  // Hard and up: the own pre-reach cell that leaves the most reach cells,
  // the later one among equals.
  int MostReachesLookAhead();
  // Hard and up: the opponent's pre-reach cell whose taking leaves the
  // opponent the fewest reach cells, the earlier one among equals.
  LookAheadChoice FewestOpposingReachesLookAhead();
  // Hard and up: a random empty cell of the inner block, or the next empty
  // cell anywhere once kInnerDrawPatience empty cells outside it were drawn.
  int DrawRandomInnerCell(CellSource& random) const;

  Side me_ = Cpu;
  Side them_ = Player1;
  Position scratch_{Player1, Cpu, Player1};  // the position as this turn changes it
  std::vector<Move> turn_;
  ReachLists lists_;
  ReachLists trial_lists_;
  // For each pre-reach cell, the reach cells a piece there would open.
  std::array<std::bitset<kCellCount>, kCellCount> opened_by_;
};

// A random empty playable cell of the board, anywhere.
int DrawRandomCell(const BoardCells& board, CellSource& random);

// The empty cell two columns to the right of the side's highest-index piece
// in the inner block that has one; nothing when no piece has.
std::optional<int> InnerExtensionCell(const BoardCells& board, Side side);

}  // namespace vexa
