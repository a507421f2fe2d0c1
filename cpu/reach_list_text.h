#pragma once

// What the reach-list boxes under the board show: the reach and pre-reach
// cells of sides 1 and 2, one item per cell.

#include <string>
#include <vector>

#include "core/board.h"
#include "cpu/cell_list.h"
#include "cpu/reach_lists.h"

namespace vexa {

// One item: the cell number after a blank, " 48".
std::string ReachListItemText(int cell);

// The items of a list in its order; the terminating slot is not shown.
std::vector<std::string> ReachListItems(const CellList& list);

// The four boxes' items, index 0 for side 1 and 1 for side 2.
struct ReachListDisplay {
  std::vector<std::string> reach[2];      // List1(0), List1(1)
  std::vector<std::string> pre_reach[2];  // List2(0), List2(1)
};

// Lists sides 1 and 2 on the board (leaving the instance's lists of both
// describing it) and returns what the boxes show.
ReachListDisplay ListAllReaches(const BoardCells& board, ReachLists& lists);

}  // namespace vexa
