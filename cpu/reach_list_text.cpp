#include "cpu/reach_list_text.h"

#include "core/number_text.h"

namespace vexa {

std::string ReachListItemText(int cell) {
  return NumberText(cell);
}

std::vector<std::string> ReachListItems(const CellList& list) {
  std::vector<std::string> items;
  items.reserve(list.Count());
  for (const int cell : list)
    items.push_back(ReachListItemText(cell));
  return items;
}

ReachListDisplay ListAllReaches(const BoardCells& board, ReachLists& lists) {
  ReachListDisplay display;
  for (const Side side : {Player1, Player2}) {
    ListReaches(side, board, lists);
    display.reach[side - 1] = ReachListItems(lists.ReachList(side));
    display.pre_reach[side - 1] = ReachListItems(lists.PreReachList(side));
  }
  return display;
}

}  // namespace vexa
