#pragma once

// The judge's search for completed squares, without any of its effects.

#include <vector>

#include "board.h"

namespace vexa {

// The corners of an accepted square in the order its outline is drawn:
// i -> L -> C2 -> C1 -> i.
struct SquareCorners {
  int i = 0;
  int L = 0;
  int C2 = 0;
  int C1 = 0;
  friend bool operator==(const SquareCorners&, const SquareCorners&) = default;
};

// Every pair (i, L) of the side's pieces, in ascending order of i then L,
// whose square built on the lower side of the edge i-L (on the left for a
// vertical edge) has all four corners playable and held by the side. A
// square of side length 1 is accepted from one of its pairs, every larger
// one from two.
std::vector<SquareCorners> ScanSquares(const BoardCells& board, Side side);

}  // namespace vexa
