#include "square_scan.h"

#include <cstdlib>

namespace vexa {

namespace {

// The square on the lower side of the edge i-L, if it is a true square with
// four playable corners held by the side.
bool AcceptPair(const BoardCells& board, Side side, int i, int L, SquareCorners& out) {
  // A vertical edge of length 1 would be found a second time from its
  // horizontal neighbour pair; the scan only takes the latter.
  if (L == i + kBoardSize) return false;
  const int a = std::abs(Column(L) - Column(i));
  const int b = Row(L) - Row(i);
  const int shift = Column(L) < Column(i) ? kBoardSize * a + b : kBoardSize * a - b;
  const int c1 = i + shift;
  const int c2 = L + shift;
  if (c1 < 0 || c1 >= kCellCount || c2 < 0 || c2 >= kCellCount) return false;
  if (board[c1] != side || board[c2] != side) return false;
  if (!IsPlayableCell(L) || !IsPlayableCell(i) || !IsPlayableCell(c1) || !IsPlayableCell(c2)) {
    return false;
  }
  // Corners computed on the linear index can spill over the left or right
  // edge into another row; unequal sides reveal it.
  const int side_length = DistanceSquared(i, L);
  if (DistanceSquared(L, c2) != side_length || DistanceSquared(c2, c1) != side_length ||
      DistanceSquared(c1, i) != side_length) {
    return false;
  }
  out = {i, L, c2, c1};
  return true;
}

}  // namespace

std::vector<SquareCorners> ScanSquares(const BoardCells& board, Side side) {
  int pieces[kCellCount];
  int count = 0;
  for (int cell = 0; cell < kCellCount; ++cell) {
    if (board[cell] == side) pieces[count++] = cell;
  }
  std::vector<SquareCorners> found;
  SquareCorners corners;
  for (int p = 0; p < count; ++p) {
    for (int q = p + 1; q < count; ++q) {
      if (AcceptPair(board, side, pieces[p], pieces[q], corners)) found.push_back(corners);
    }
  }
  return found;
}

}  // namespace vexa
