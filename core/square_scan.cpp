#include "core/square_scan.h"

#include "core/cell_set.h"

namespace vexa {

namespace {

// The square on the lower side of the edge i-L, if it is a true square with
// four playable corners held by the side.
bool AcceptPair(const BoardCells& board, Side side, int i, int L, SquareCorners& out) {
  // A vertical edge of length 1 would be found a second time from its
  // horizontal neighbour pair; the scan only takes the latter.
  if (L == i + kBoardSize) return false;
  // The square lies towards larger rows, and left of a vertical edge.
  const int shift = Column(L) == Column(i) ? -OppositeEdgeShift(i, L) : OppositeEdgeShift(i, L);
  const int c1 = i + shift;
  const int c2 = L + shift;
  if (c1 < 0 || c1 >= kCellCount || c2 < 0 || c2 >= kCellCount) return false;
  if (board[c1] != side || board[c2] != side) return false;
  if (!IsTrueSquare(i, L, c2, c1)) return false;
  out = {i, L, c2, c1};
  return true;
}

}  // namespace

std::vector<SquareCorners> ScanSquares(const BoardCells& board, Side side) {
  std::uint8_t pieces[kCellCount];
  const int count = CellsHolding(board, side).Members(pieces);
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
