#include <gtest/gtest.h>

#include <cstdlib>

#include "app/board/board_paint.h"

namespace vexa::app {
namespace {

TEST(BoardPaint, TheReadoutCarriesABlankWhereTheSignWouldStand) {
  EXPECT_EQ(CoordinateText(25), "( 3, 2)");
  EXPECT_EQ(CoordinateText(120), "( 10, 10)");
}

TEST(BoardPaint, OutlinePointsAreTheCellsCentres) {
  EXPECT_EQ(OutlinePoint(0), (TwipPoint{150 + 180, 165 + 165}));
  // Every point lies in the middle third of its cell, far from the corners.
  for (int cell = 0; cell < kCellCount; ++cell) {
    const TwipPoint centre{CellLeft(cell) + kCellExtent / 2, CellTop(cell) + kCellExtent / 2};
    EXPECT_LE(std::abs(OutlinePoint(cell).x - centre.x), kCellExtent / 6) << cell;
    EXPECT_LE(std::abs(OutlinePoint(cell).y - centre.y), kCellExtent / 6) << cell;
  }
}

}  // namespace
}  // namespace vexa::app
