#pragma once

// The board as the search sees it: besides the cells, for every square of
// the board how many pieces each side has on it and how many blockers, and
// kept up to date with each placement:
// - each side's winning cells (the empty corner of a square with three of
//   its pieces and nothing else on it);
// - each side's weight of every cell: the squares through the cell that the
//   side can still complete, each counted by how far along it is.
// A placement touches only the few dozen squares through its cell, so a
// playout costs a few microseconds. It also generates the turns worth
// playing, once for every searching caller: take a winning cell, or close
// every winning cell of the opponent with the blockers and the piece.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/board.h"
#include "core/cell_set.h"
#include "core/move.h"
#include "core/position.h"
#include "core/squares_through.h"

namespace vexa {

namespace search_detail {

struct SquareTable {
  // The corners of each square.
  std::array<std::array<std::uint8_t, 4>, squares_detail::kSquareCount> corners{};
  // The squares through cell n are ids[first[n]] up to ids[first[n + 1]].
  std::array<std::uint16_t, kCellCount + 1> first{};
  std::array<std::uint16_t, 4 * squares_detail::kSquareCount> ids{};
};

constexpr SquareTable BuildSquareTable() {
  SquareTable table;
  int square = 0;
  squares_detail::ForEachSquare([&](int p0, int p1, int p2, int p3) {
    table.corners[square++] = {static_cast<std::uint8_t>(p0), static_cast<std::uint8_t>(p1),
                               static_cast<std::uint8_t>(p2), static_cast<std::uint8_t>(p3)};
  });
  // Each cell's squares stand where the judge's table has them.
  table.first = squares_detail::kTable.first;
  std::array<int, kCellCount> filled{};
  for (int s = 0; s < squares_detail::kSquareCount; ++s) {
    for (const int cell : table.corners[s])
      table.ids[table.first[cell] + filled[cell]++] = static_cast<std::uint16_t>(s);
  }
  return table;
}

inline constexpr SquareTable kSquares = BuildSquareTable();

}  // namespace search_detail

// A small, fast generator for the search's random choices (splitmix64).
class SearchRandom {
 public:
  explicit SearchRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

 private:
  std::uint64_t state_;
};

// A proven result for the side to move: a win or a loss, and in how many
// turns of both sides the game ends (1: this side's own turn wins).
struct Proof {
  bool win = false;
  int turns = 0;
  // The winner's own turns among them, as a player counts a forced win:
  // "in 2" is the winner's turn, the loser's, the winner's winning one.
  int WinnerTurns() const { return (turns + 1) / 2; }
  friend bool operator==(const Proof&, const Proof&) = default;
};

class SearchBoard {
 public:
  // The position's two sides, `me` first; the side to move is the
  // position's. The position's game must still go on.
  SearchBoard(const Position& position, Side me);

  // The sides by index: 0 is `me`, 1 the other.
  Side SideAt(int index) const { return sides_[index]; }
  int ToMove() const { return to_move_; }
  bool Over() const { return over_; }
  // Once over: the winner's index, or -1 for a draw.
  int Winner() const { return winner_; }
  int Pieces(int side) const { return pieces_[side]; }
  int Blockers(int side) const { return blockers_[side]; }
  const CellSet& WinningCells(int side) const { return reach_[side]; }

  // What the board already decides for the side to move: its own winning
  // cell is a win this turn; more winning cells of the opponent than its
  // blockers and piece can close (and a turn left for the opponent) is a
  // loss on the opponent's next turn.
  std::optional<Proof> Decided() const;

  // The turns worth playing for the side to move, each named by its piece's
  // cell (TurnFor gives its blockers), in ascending order of that cell:
  // - a winning cell: only that turn (the first winning cell);
  // - more open winning cells of the opponent than the blockers and the
  //   piece can close: one turn, the first cells blocked and the piece on
  //   the next;
  // - otherwise each turn closes all of them: the piece on one and blockers
  //   on the rest, or (blockers enough) blockers on all and the piece on any
  //   other empty cell.
  std::vector<int> Turns() const;
  // The whole turn of one of Turns(): blockers in ascending order, then the
  // piece.
  std::vector<Move> TurnFor(int piece_cell) const;
  // Plays one of Turns() for the side to move.
  void PlayTurn(int piece_cell);

  // After the turn with its piece on `piece_cell` (one of Turns()) the
  // opponent has no winning cell and more winning cells of the mover to
  // close than its blockers and piece can: a win in three turns. Read from
  // the squares through the cell, without playing it.
  bool TurnForcesWin(int piece_cell) const;

  // How much a piece of the side to move on an empty cell is worth: the
  // squares it furthers for itself and those it takes from the opponent.
  int CellWeight(int cell) const;

  // One of Turns(), drawn as a playout draws it: a winning cell at once,
  // otherwise by the cells' weights (a softmax over CellWeight).
  int DrawTurn(SearchRandom& random) const;
  // Ends the game as if both piece stocks were used up: more blockers win.
  void EndByBlockers();

  // The same position as a Position (the sides' own numbers).
  Position ToPosition() const;
  // Plays a whole turn of the side to move, as another chooser made it.
  void PlayMoves(const std::vector<Move>& turn);

  // The board cells (0 empty, 1 and 2 the sides' pieces, 3 blocker, 4 a
  // corner), for tests.
  int CellAt(int cell) const { return cells_[cell]; }

 private:
  static constexpr std::uint8_t kEmpty = 0;
  static constexpr std::uint8_t kBlocker = 3;
  static constexpr std::uint8_t kCorner = 4;

  // The cells the turn with its piece on `piece_cell` blocks, in ascending
  // order, into `out`; their count.
  int BlockedBy(int piece_cell, std::uint8_t* out) const;
  void PlacePiece(int side, int cell);
  void PlaceBlocker(int side, int cell);
  // A piece cell for the side to move, drawn from `cells` by weight.
  int DrawWeighted(const std::uint8_t* cells, int count, SearchRandom& random) const;
  bool Alive(int side, int square) const {
    return count_[1 - side][square] == 0 && blocked_[square] == 0;
  }

  std::array<Side, 2> sides_{};
  std::array<std::uint8_t, kCellCount> cells_{};
  std::array<std::array<std::uint8_t, squares_detail::kSquareCount>, 2> count_{};
  std::array<std::uint8_t, squares_detail::kSquareCount> blocked_{};
  std::array<std::array<std::int32_t, kCellCount>, 2> weight_{};
  std::array<CellSet, 2> reach_{};
  CellSet empty_;
  std::array<int, 2> pieces_{};
  std::array<int, 2> blockers_{};
  int to_move_ = 0;
  bool over_ = false;
  int winner_ = -1;
};

}  // namespace vexa
