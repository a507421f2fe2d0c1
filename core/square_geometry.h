#pragma once

// The geometry of squares on the board, shared by the judge and the reach
// analysis: which four cells are the corners of a square, and where the
// other two corners of a square built on an edge lie.

#include "core/board.h"

namespace vexa {

// The corners of a square in the order its outline is drawn:
// i -> L -> C2 -> C1 -> i.
struct SquareCorners {
  int i = 0;
  int L = 0;
  int C2 = 0;
  int C1 = 0;
  friend bool operator==(const SquareCorners&, const SquareCorners&) = default;
};

// The index offset that carries the edge i-j (i < j) onto the opposite edge
// of a square beside it: towards larger rows, and for a vertical edge
// towards larger columns. The arithmetic is on the linear index, so a corner
// can spill over the left or right edge into another row; EqualSides tells.
constexpr int OppositeEdgeShift(int i, int j) {
  const int dr = Row(j) - Row(i);  // never negative for i < j
  const int dc = Column(j) - Column(i);
  return dc <= 0 ? kBoardSize * -dc + dr : kBoardSize * dc - dr;
}

// The four sides a-b, b-c, c-d and d-a are equally long. For corners that
// came from OppositeEdgeShift this rejects exactly the ones that spilled
// into another row.
constexpr bool EqualSides(int a, int b, int c, int d) {
  const int length = DistanceSquared(a, b);
  return DistanceSquared(b, c) == length && DistanceSquared(c, d) == length &&
         DistanceSquared(d, a) == length;
}

// a, b, c and d, in order around, are the playable corners of a square.
constexpr bool IsTrueSquare(int a, int b, int c, int d) {
  return IsPlayableCell(a) && IsPlayableCell(b) && IsPlayableCell(c) && IsPlayableCell(d) &&
         EqualSides(a, b, c, d);
}

}  // namespace vexa
