#pragma once

// A position of a game between two sides: the board, both sides' stocks, the
// side to move and, once the board has decided the game, its outcome. This
// is the one place where a placement changes a cell or a stock and where a
// square or the stocks end a game; everything that plays or replays a game
// (the game on the screen, undo, the records' reader, the computer player,
// Master's playouts, the tools and the headless player) plays through it.
// A plain value: copying one costs a few hundred bytes.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/cell_set.h"
#include "core/move.h"

namespace vexa {

using Stocks = std::array<std::int16_t, 4>;  // by side - 1

// Why the rules refuse a move, in the order they are asked.
enum class Illegal : std::uint8_t {
  GameOver,  // the board has already decided the game
  NotItsTurn,
  OffBoard,
  Corner,   // one of the four unplayable cells
  Taken,    // a piece or a blocker stands there
  NoStock,  // the side has no such piece or blocker left
};

// The reason in a line for a message ("cell 60 is taken").
std::string DescribeIllegal(Illegal why, const Move& move);

class Position {
 public:
  // An empty board and full stocks; `first` and `second` are the two sides
  // (Player1 and the opponent of the mode, or the sides 1 and 2 of a record),
  // `to_move` the one that begins.
  Position(Side first, Side second, Side to_move);
  // A board reached some other way (a tool's input, a test). Squares already
  // complete on it are found again by the next judgement of their side.
  static Position SetUp(Side first, Side second, const BoardCells& board, const Stocks& pieces,
                        const Stocks& blockers, Side to_move);

  const BoardCells& Board() const { return board_; }
  const Stocks& PieceStock() const { return pieces_; }
  const Stocks& BlockerStock() const { return blockers_; }
  int Pieces(Side side) const { return pieces_[side - 1]; }
  int Blockers(Side side) const { return blockers_[side - 1]; }
  Side ToMove() const { return to_move_; }
  // The other of the two sides.
  Side Opponent(Side side) const { return side == first_ ? second_ : first_; }
  // How the board ended the game: a square or both piece stocks used up.
  const std::optional<Outcome>& Result() const { return result_; }
  int EmptyCells() const { return empty_cells_; }
  // The cells holding the pieces of one of the two sides.
  const CellSet& PiecesOf(Side side) const {
    return side == first_ ? first_pieces_ : second_pieces_;
  }

  // How the board ends the game after a piece of `side`: the side's square
  // (the last one the judge's scan finds), else both piece stocks used up
  // (more blockers left wins); nothing while the game goes on.
  std::optional<Outcome> Verdict(Side side) const;

  // The one statement of which placements the rules allow: nothing when
  // the game goes on, the side is to move, the cell is playable and empty
  // and the side has such a stock left; else the first rule broken. Every
  // way a move comes in (a click or a key, a record, the peer, undo) asks
  // here, and the computer's moves are checked against it in debug builds.
  std::optional<Illegal> Refusal(const Move& move) const;
  bool IsLegal(const Move& move) const { return !Refusal(move); }

  // Makes the placement: the cell takes the piece or a blocker and the
  // side's stock goes down. A piece is judged (its square, else both piece
  // stocks used up) and passes the move to the opponent. The move is not
  // checked here: a caller taking moves from outside asks Refusal first.
  void Play(const Move& move);
  // Gives the move to one of the two sides without a placement: who begins,
  // or who is to move again after placements were taken back.
  void HandMoveTo(Side side);
  // The move clock takes a blocker from the side's stock; the number left,
  // below zero when there was none to take.
  int ForfeitBlocker(Side side);

 private:
  Position() = default;
  std::optional<Outcome> StockOutVerdict() const;

  BoardCells board_{};
  Stocks pieces_{};
  Stocks blockers_{};
  Side first_ = Player1;
  Side second_ = Player2;
  Side to_move_ = Player1;
  std::int16_t empty_cells_ = 0;
  CellSet first_pieces_;
  CellSet second_pieces_;
  // A set-up board may hold a square already: the judge then scans the
  // whole board instead of the squares through the placed cell.
  bool scan_whole_board_ = false;
  std::optional<Outcome> result_;
};

// The moves are legal one after the other from `position` on.
bool AreLegalInOrder(Position position, const std::vector<Move>& moves);

}  // namespace vexa
