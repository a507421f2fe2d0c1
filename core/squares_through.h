#pragma once

// Every square on the board with four playable corners, listed by cell: for
// each cell, the other three corners of each square it is a corner of. A
// placement can only complete or prepare the squares through its own cell,
// so the judge and the computer player's look-aheads read these few dozen
// squares instead of every pair of a side's pieces. Built by the compiler.

#include <array>
#include <cstdint>
#include <span>

#include "core/board.h"

namespace vexa {

// The other three corners of a square through some cell.
struct OtherThree {
  std::uint8_t a;
  std::uint8_t b;
  std::uint8_t c;
};

namespace squares_detail {

// Calls visit(p0, p1, p2, p3) once for every square with four playable
// corners. Each square is taken from the one of its four edge vectors
// (dx, dy) with dx >= 1 and dy >= 0, starting at that edge's first corner.
template <typename Emit>
constexpr void ForEachSquare(Emit visit) {
  for (int y = 0; y < kBoardSize; ++y) {
    for (int x = 0; x < kBoardSize; ++x) {
      for (int dx = 1; dx < kBoardSize; ++dx) {
        for (int dy = 0; dy < kBoardSize; ++dy) {
          const int xs[4] = {x, x + dx, x + dx - dy, x - dy};
          const int ys[4] = {y, y + dy, y + dy + dx, y + dx};
          bool inside = true;
          for (int n = 0; n < 4; ++n)
            inside = inside && xs[n] >= 0 && xs[n] < kBoardSize && ys[n] >= 0 && ys[n] < kBoardSize;
          if (!inside) continue;
          int cells[4];
          bool playable = true;
          for (int n = 0; n < 4; ++n) {
            cells[n] = ys[n] * kBoardSize + xs[n];
            playable = playable && IsPlayableCell(cells[n]);
          }
          if (playable) visit(cells[0], cells[1], cells[2], cells[3]);
        }
      }
    }
  }
}

constexpr int CountSquares() {
  int count = 0;
  ForEachSquare([&](int, int, int, int) { ++count; });
  return count;
}

inline constexpr int kSquareCount = CountSquares();

struct Table {
  // The squares through cell n are entries[first[n]] up to entries[first[n + 1]].
  std::array<std::uint16_t, kCellCount + 1> first{};
  std::array<OtherThree, 4 * kSquareCount> entries{};
};

constexpr Table BuildTable() {
  Table table;
  std::array<int, kCellCount> through{};
  ForEachSquare([&](int p0, int p1, int p2, int p3) {
    for (const int cell : {p0, p1, p2, p3})
      ++through[cell];
  });
  int next = 0;
  for (int cell = 0; cell < kCellCount; ++cell) {
    table.first[cell] = static_cast<std::uint16_t>(next);
    next += through[cell];
  }
  table.first[kCellCount] = static_cast<std::uint16_t>(next);
  std::array<int, kCellCount> filled{};
  ForEachSquare([&](int p0, int p1, int p2, int p3) {
    const int corners[4] = {p0, p1, p2, p3};
    for (int n = 0; n < 4; ++n) {
      const int cell = corners[n];
      table.entries[table.first[cell] + filled[cell]++] = {
          static_cast<std::uint8_t>(corners[(n + 1) % 4]),
          static_cast<std::uint8_t>(corners[(n + 2) % 4]),
          static_cast<std::uint8_t>(corners[(n + 3) % 4])};
    }
  });
  return table;
}

inline constexpr Table kTable = BuildTable();

}  // namespace squares_detail

// The squares that have `cell` as a corner.
inline std::span<const OtherThree> SquaresThrough(int cell) {
  const auto& table = squares_detail::kTable;
  return {table.entries.data() + table.first[cell], table.entries.data() + table.first[cell + 1]};
}

// The side's pieces stand on the other three corners of a square through `cell`.
inline bool CompletesSquare(const BoardCells& board, int cell, Side side) {
  for (const OtherThree& s : SquaresThrough(cell)) {
    if (board[s.a] == side && board[s.b] == side && board[s.c] == side) return true;
  }
  return false;
}

}  // namespace vexa
