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

std::string DescribeIllegal(Illegal why, const Move& move) {
  const std::string side = std::to_string(move.side);
  const std::string cell = std::to_string(move.cell);
  const char* stock = move.kind == MoveKind::Piece ? " piece" : " blocker";
  switch (why) {
    case Illegal::GameOver:
      return "a placement after the end of the game";
    case Illegal::NotItsTurn:
      return "side " + side + " placed out of turn";
    case Illegal::OffBoard:
    case Illegal::Corner:
      return "cell " + cell + " is not a playable cell";
    case Illegal::Taken:
      return "cell " + cell + " is taken";
    case Illegal::NoStock:
      return "side " + side + " has no" + stock + " left";
  }
  return {};
}

std::optional<Illegal> Position::Refusal(const Move& move) const {
  if (result_) return Illegal::GameOver;
  if (move.side != to_move_) return Illegal::NotItsTurn;
  if (move.cell < 0 || move.cell >= kCellCount) return Illegal::OffBoard;
  if (!IsPlayableCell(move.cell)) return Illegal::Corner;
  if (board_[move.cell] != Empty) return Illegal::Taken;
  const int stock = move.kind == MoveKind::Piece ? Pieces(move.side) : Blockers(move.side);
  if (stock <= 0) return Illegal::NoStock;
  return std::nullopt;
}

void Position::Play(const Move& move) {
  --empty_cells_;
  if (move.kind == MoveKind::Blocker) {
    board_[move.cell] = Blocker;
    --blockers_[move.side - 1];
    return;
  }
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

bool AreLegalInOrder(Position position, const std::vector<Move>& moves) {
  for (const Move& move : moves) {
    if (!position.IsLegal(move)) return false;
    position.Play(move);
  }
  return true;
}

int Position::ForfeitBlocker(Side side) {
  return --blockers_[side - 1];
}

}  // namespace vexa
