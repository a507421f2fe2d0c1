#pragma once

// The judge's search for completed squares, without any of its effects.

#include <vector>

#include "core/board.h"
#include "core/square_geometry.h"

namespace vexa {

// Every pair (i, L) of the side's pieces, in ascending order of i then L,
// whose square built on the lower side of the edge i-L (on the left for a
// vertical edge) has all four corners playable and held by the side. A
// square of side length 1 is accepted from one of its pairs, every larger
// one from two.
std::vector<SquareCorners> ScanSquares(const BoardCells& board, Side side);

}  // namespace vexa
