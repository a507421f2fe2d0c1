#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "core/square_scan.h"
#include "cpu/reach_list_text.h"
#include "cpu/reach_lists.h"

namespace vexa {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

BoardCells BoardWith(Side side, std::initializer_list<int> cells) {
  BoardCells board{};
  for (int cell : cells)
    board[cell] = side;
  return board;
}

std::vector<int> Entries(const CellList& list) {
  return {list.begin(), list.end()};
}

// Both ways of asking whether a list is empty, and the terminating slot.
void ExpectSlotLayout(const CellList& list) {
  EXPECT_EQ(list[list.Count()], 0);
  EXPECT_EQ(list.Empty(), list[0] == 0);
  EXPECT_EQ(list.Empty(), list.Count() == 0);
}

TEST(ListReaches, TwoPiecesListThePreparedCornersInCandidateOrder) {
  ReachLists lists;
  ListReaches(Player1, BoardWith(Player1, {}), lists);
  EXPECT_TRUE(lists.ReachList(Player1).Empty());
  EXPECT_TRUE(lists.PreReachList(Player1).Empty());
  ListReaches(Player1, BoardWith(Player1, {60}), lists);
  EXPECT_TRUE(lists.PreReachList(Player1).Empty());
  ExpectSlotLayout(lists.PreReachList(Player1));

  // Side by side in a row: the squares below and above; the 45-degree square
  // over 24-26 (cells 14 and 36) has its pieces on the horizontal diagonal
  // and is not examined.
  ListReaches(Player1, BoardWith(Player1, {24, 26}), lists);
  EXPECT_TRUE(lists.ReachList(Player1).Empty());
  EXPECT_THAT(Entries(lists.PreReachList(Player1)), ElementsAre(46, 48, 2, 4));
  ExpectSlotLayout(lists.PreReachList(Player1));

  // One above the other: right, left, then the 45-degree square whose
  // vertical diagonal they are.
  ListReaches(Player1, BoardWith(Player1, {24, 46}), lists);
  EXPECT_THAT(Entries(lists.PreReachList(Player1)), ElementsAre(26, 48, 22, 44, 34, 36));

  // A diagonal step: both tilted squares, then the upright one around it.
  ListReaches(Player1, BoardWith(Player1, {24, 36}), lists);
  EXPECT_THAT(Entries(lists.PreReachList(Player1)), ElementsAre(34, 46, 14, 26, 25, 35));
}

TEST(ListReaches, AThirdCornerMakesAReachCellUntilBlockedOrFilled) {
  ReachLists lists;
  BoardCells board = BoardWith(Player1, {24, 26, 46});
  ListReaches(Player1, board, lists);
  EXPECT_THAT(Entries(lists.ReachList(Player1)), ElementsAre(48));
  EXPECT_THAT(Entries(lists.PreReachList(Player1)), ElementsAre(2, 4, 22, 44, 34, 36, 50, 70));
  ExpectSlotLayout(lists.ReachList(Player1));
  EXPECT_EQ(lists.ReachList(Player1).Count(), 1);

  // Listing another side, on another board, leaves side 1's lists alone.
  ListReaches(Cpu, BoardWith(Cpu, {60, 62, 82}), lists);
  EXPECT_THAT(Entries(lists.ReachList(Cpu)), ElementsAre(84));
  EXPECT_THAT(Entries(lists.ReachList(Player1)), ElementsAre(48));
  EXPECT_EQ(lists.PreReachList(Player1).Count(), 8);

  board[48] = Blocker;
  ListReaches(Player1, board, lists);
  EXPECT_TRUE(lists.ReachList(Player1).Empty());
  EXPECT_THAT(Entries(lists.PreReachList(Player1)), ElementsAre(2, 4, 22, 44, 34, 36, 50, 70));

  // A completed square lists nothing for itself.
  board[48] = Player1;
  ListReaches(Player1, board, lists);
  EXPECT_TRUE(lists.ReachList(Player1).Empty());
  EXPECT_FALSE(lists.PreReachList(Player1).Contains(48));
}

TEST(ListReaches, ReachCellsAreExactlyTheCellsWhereTheJudgeWouldFindASquare) {
  // Random mid-game boards without a square of side 1: every empty playable
  // cell is a reach cell exactly when a piece there completes a square. This
  // covers squares across the whole board, tilted ones and those whose index
  // arithmetic would wrap over the left or right edge.
  std::mt19937 random(20261208);
  int boards = 0;
  int reach_cells = 0;
  ReachLists lists;
  while (boards < 300) {
    BoardCells board{};
    auto place = [&](std::int16_t value, int count) {
      while (count > 0) {
        const int cell = std::uniform_int_distribution<int>(0, kCellCount - 1)(random);
        if (IsPlayableCell(cell) && board[cell] == Empty) {
          board[cell] = value;
          --count;
        }
      }
    };
    place(Player1, 6 + boards % 15);
    place(Cpu, 6 + boards % 15);
    place(Blocker, boards % 7);
    if (!ScanSquares(board, Player1).empty()) continue;
    ++boards;

    ListReaches(Player1, board, lists);
    const CellList& reach = lists.ReachList(Player1);
    for (int cell = 0; cell < kCellCount; ++cell) {
      bool completes = false;
      if (IsPlayableCell(cell) && board[cell] == Empty) {
        BoardCells trial = board;
        trial[cell] = Player1;
        completes = !ScanSquares(trial, Player1).empty();
      }
      EXPECT_EQ(reach.Contains(cell), completes) << "cell " << cell;
    }
    reach_cells += reach.Count();

    // No duplicates, nothing unplayable or occupied, in either list.
    for (const CellList* list : {&reach, &std::as_const(lists).PreReachList(Player1)}) {
      std::vector<int> seen;
      for (int cell : *list) {
        EXPECT_TRUE(IsPlayableCell(cell) && board[cell] == Empty) << cell;
        EXPECT_THAT(seen, ::testing::Not(::testing::Contains(cell)));
        seen.push_back(cell);
      }
      ExpectSlotLayout(*list);
    }
  }
  EXPECT_GT(reach_cells, 100);  // the boards were worth checking
}

TEST(ReachListText, TheBoxesShowSides1And2WithALeadingBlank) {
  ReachLists lists;
  BoardCells board = BoardWith(Player1, {24, 26, 46});
  // The CPU's pieces are side 3: they never show in the right-hand boxes.
  board[60] = board[62] = board[82] = Cpu;

  const ReachListDisplay display = ListAllReaches(board, lists);
  EXPECT_THAT(display.reach[0], ElementsAre(" 48"));
  EXPECT_THAT(display.pre_reach[0],
              ElementsAre(" 2", " 4", " 22", " 44", " 34", " 36", " 50", " 70"));
  EXPECT_THAT(display.reach[1], IsEmpty());
  EXPECT_THAT(display.pre_reach[1], IsEmpty());
  // The instance's lists now describe this board.
  EXPECT_THAT(Entries(lists.ReachList(Player1)), ElementsAre(48));
  EXPECT_EQ(ReachListItemText(119), " 119");
}

}  // namespace
}  // namespace vexa
