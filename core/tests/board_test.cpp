#include <gtest/gtest.h>

#include "core/board.h"
#include "core/board_text.h"
#include "core/cell_name.h"
#include "core/number_text.h"

namespace vexa {
namespace {

TEST(Board, OnlyTheFourCornersAndCellsOffTheBoardAreUnplayable) {
  int playable = 0;
  for (int cell = -130; cell < 250; ++cell)
    playable += IsPlayableCell(cell) ? 1 : 0;
  EXPECT_EQ(playable, 117);
  for (int corner : {0, 10, 110, 120, -1, 121, 32767})
    EXPECT_FALSE(IsPlayableCell(corner));
  for (int cell : {1, 9, 11, 109, 111, 119})
    EXPECT_TRUE(IsPlayableCell(cell));
}

TEST(Board, TextsCarryABlankWhereTheSignWouldStand) {
  EXPECT_EQ(NumberText(48), " 48");
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(-3), "-3");
}

// Column letter, then row number from 1: a swapped pair or a row counted
// from 0 names another cell.
TEST(Board, CellsAreNamedByColumnLetterAndRowNumber) {
  EXPECT_EQ(CellName(25), "D3");  // column 3, row 2
  EXPECT_EQ(CellName(35), "C4");  // column 2, row 3
  EXPECT_EQ(CellName(1), "B1");
  EXPECT_EQ(CellName(11), "A2");
  EXPECT_EQ(CellName(119), "J11");
  EXPECT_EQ(CellName(109), "K10");
  EXPECT_EQ(TurnCellNames({BlockerMove(1, 60), PieceMove(1, 48)}), "B F6 P E5");
}

TEST(Board, ItsTextReadsBackAndAFaultyTextIsNamed) {
  BoardCells board{};
  board[1] = Player1;
  board[60] = Remote;
  board[119] = Blocker;
  const std::string text = BoardText(board);
  EXPECT_EQ(text.substr(0, 3), "010");
  std::string error;
  EXPECT_EQ(ParseBoardText(text, error), board);

  EXPECT_FALSE(ParseBoardText(text.substr(1), error));
  EXPECT_EQ(error, "expected 121 cell values, found 120");
  EXPECT_FALSE(ParseBoardText(text.substr(0, 60) + '6' + text.substr(61), error));
  EXPECT_EQ(error, "cell 60 holds '6', not 0..5");
}

}  // namespace
}  // namespace vexa
