#include "core/position.h"

#include "core/square_scan.h"
#include "core/squares_through.h"

namespace vexa {

Position::Position(Side first, Side second, Side to_move)
    : first_(first), second_(second), to_move_(to_move) {
  pieces_.fill(kPiecesPerSide);
  blockers_.fill(kBlockersPerSide);
  empty_cells_ = kCellCount - 4;
}

Position Position::SetUp(Side first, Side second, const BoardCells& board, const Stocks& pieces,
                         const Stocks& blockers, Side to_move) {
  Position p;
  p.board_ = board;
  p.pieces_ = pieces;
  p.blockers_ = blockers;
  p.first_ = first;
  p.second_ = second;
  p.to_move_ = to_move;
  for (int cell = 0; cell < kCellCount; ++cell)
    p.empty_cells_ += IsPlayableCell(cell) && board[cell] == Empty ? 1 : 0;
  p.first_pieces_ = CellsHolding(board, first);
  p.second_pieces_ = CellsHolding(board, second);
  p.scan_whole_board_ = !ScanSquares(board, first).empty() || !ScanSquares(board, second).empty();
  return p;
}

bool Position::IsLegal(const Move& move) const {
  if (result_ || move.side != to_move_ || !IsPlayableCell(move.cell)) return false;
  if (board_[move.cell] != Empty) return false;
  return move.kind == MoveKind::Piece ? Pieces(move.side) > 0 : Blockers(move.side) > 0;
}

void Position::Play(const Move& move) {
  if (board_[move.cell] == Empty && IsPlayableCell(move.cell)) --empty_cells_;
  if (move.kind == MoveKind::Blocker) {
    if (board_[move.cell] == first_) first_pieces_.Remove(move.cell);
    if (board_[move.cell] == second_) second_pieces_.Remove(move.cell);
    board_[move.cell] = Blocker;
    --blockers_[move.side - 1];
    return;
  }
  // A piece of the two sides is kept in their sets; on a cell taken twice
  // (a peer breaking the rules) the board shows the last one.
  if (board_[move.cell] == first_) first_pieces_.Remove(move.cell);
  if (board_[move.cell] == second_) second_pieces_.Remove(move.cell);
  board_[move.cell] = move.side;
  if (move.side == first_) first_pieces_.Add(move.cell);
  if (move.side == second_) second_pieces_.Add(move.cell);
  --pieces_[move.side - 1];
  if (!result_) {
    // Without a square on the board before, a new one has the placed cell
    // as a corner: only the squares through it need a look.
    const bool square = scan_whole_board_ || CompletesSquare(board_, move.cell, move.side);
    result_ = square ? Verdict(move.side) : StockOutVerdict();
  }
  to_move_ = Opponent(move.side);
}

std::optional<Outcome> Position::Verdict(Side side) const {
  const std::vector<SquareCorners> squares = ScanSquares(board_, side);
  if (!squares.empty()) return Outcome{side, EndReason::Square, squares.back()};
  return StockOutVerdict();
}

std::optional<Outcome> Position::StockOutVerdict() const {
  if (Pieces(first_) != 0 || Pieces(second_) != 0) return std::nullopt;
  const int a = Blockers(first_);
  const int b = Blockers(second_);
  return Outcome{a > b ? first_ : b > a ? second_ : Side{0}, EndReason::StockOut, {}};
}

void Position::HandMoveTo(Side side) {
  if (side == first_ || side == second_) to_move_ = side;
}

int Position::ForfeitBlocker(Side side) {
  return --blockers_[side - 1];
}

}  // namespace vexa
