#pragma once

// The reach analysis of one side: which empty cells would complete one of
// its squares (reach cells) and which would prepare one (pre-reach cells).

#include <array>

#include "core/board.h"
#include "core/cell_set.h"
#include "core/position.h"
#include "cpu/cell_list.h"

namespace vexa {

// The two lists of each side 1..4. One set belongs to a program instance;
// the computer player keeps a second set as scratch for its look-aheads.
class ReachLists {
 public:
  // Empty cells that are the fourth corner of a square whose other three
  // corners hold the side's pieces.
  CellList& ReachList(Side side) { return reach_[side - 1]; }
  const CellList& ReachList(Side side) const { return reach_[side - 1]; }
  // Empty corners of a square with two of the side's pieces on its other
  // corners and the fourth corner empty too.
  CellList& PreReachList(Side side) { return pre_reach_[side - 1]; }
  const CellList& PreReachList(Side side) const { return pre_reach_[side - 1]; }

 private:
  std::array<CellList, 4> reach_;
  std::array<CellList, 4> pre_reach_;
};

// Replaces the side's two lists with those of the board; the other sides'
// lists stay as they are. The entries stand in the order in which the pairs
// of the side's pieces (ascending, then by the candidate squares of each
// pair) first produce them. The board is only read.
//
// Pre-reach cells are complete for squares whose two pieces are adjacent
// corners; of the squares with the pieces on a diagonal only the upright
// ones and the 45-degree ones with a vertical diagonal are examined.
//
// With PreReachScope::First the pre-reach list holds only its first entry:
// enough to tell whether there is one and which comes first, at a fraction
// of the cost on an open board.
enum class PreReachScope { All, First };
void ListReaches(Side side, const BoardCells& board, ReachLists& lists,
                 PreReachScope scope = PreReachScope::All);
// The same for one of a position's two sides, whose pieces it knows.
void ListReaches(Side side, const Position& position, ReachLists& lists,
                 PreReachScope scope = PreReachScope::All);

}  // namespace vexa
