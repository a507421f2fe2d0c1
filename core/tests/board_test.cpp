#include <gtest/gtest.h>

#include "core/board.h"
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

}  // namespace
}  // namespace vexa
