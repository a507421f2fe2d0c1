#pragma once

// What happens in a game, as values: a placement and the way a game ended.
// The window, the tools, the online session and the records of games read
// these, never the colours or texts the rules show.

#include <cstdint>
#include <optional>

#include "core/board.h"
#include "core/square_geometry.h"

namespace vexa {

enum class MoveKind : std::uint8_t { Piece, Blocker };

// One placement: a side's piece or a blocker that side placed on a cell.
struct Move {
  Side side = Player1;
  int cell = 0;
  MoveKind kind = MoveKind::Piece;
  friend bool operator==(const Move&, const Move&) = default;
};

inline Move PieceMove(Side side, int cell) {
  return {side, cell, MoveKind::Piece};
}
inline Move BlockerMove(Side side, int cell) {
  return {side, cell, MoveKind::Blocker};
}

// How a game ended.
enum class EndReason : std::uint8_t {
  Square,     // the winner's pieces stand on the corners of a square
  StockOut,   // both piece stocks empty: more blockers left wins, equal is a draw
  Time,       // the loser's move clock ran out with no blocker left
  PeerLose,   // the peer told that it lost on time
  PeerLeft,   // the peer left the online game while it ran: no result
  Abandoned,  // ended by a new game or "このゲームを終了": no result
};

struct Outcome {
  Side winner = 0;  // 0 for a draw
  EndReason how = EndReason::Square;
  // The square the judge drew last, for a square's win.
  std::optional<SquareCorners> square;
  friend bool operator==(const Outcome&, const Outcome&) = default;
};

}  // namespace vexa
