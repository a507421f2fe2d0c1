#pragma once

// The board of 11 x 11 cells, its cell values and the geometry every part of
// the program shares.

#include <array>
#include <cstdint>

namespace vexa {

constexpr int kBoardSize = 11;
constexpr int kCellCount = kBoardSize * kBoardSize;  // 121

// A cell's value is the side whose piece stands on it, or empty, or a
// blocker. A side's number is also its Turn value.
enum CellValue : std::int16_t {
  Empty = 0,
  Player1 = 1,  // the local player, left panel
  Player2 = 2,  // the second person at this machine ("VS Human")
  Cpu = 3,      // the computer player ("VS CPU")
  Remote = 4,   // the peer ("VS Online")
  Blocker = 5,  // occupies a cell, belongs to nobody
};

using Side = std::int16_t;

// Turn values besides the sides 1..4.
constexpr std::int16_t NoGameYet = 0;
constexpr std::int16_t NoTurn = 5;

using BoardCells = std::array<std::int16_t, kCellCount>;

constexpr int kPiecesPerSide = 20;
constexpr int kBlockersPerSide = 6;

constexpr int Row(int cell) {
  return cell / kBoardSize;
}
constexpr int Column(int cell) {
  return cell % kBoardSize;
}

// Every cell but the four corners; nothing outside the board.
constexpr bool IsPlayableCell(int cell) {
  return cell >= 1 && cell <= 119 && cell != 10 && cell != 110;
}

// (column difference)^2 + (row difference)^2, exact for board cells.
constexpr int DistanceSquared(int a, int b) {
  const int dc = Column(a) - Column(b);
  const int dr = Row(a) - Row(b);
  return dc * dc + dr * dr;
}

constexpr bool IsInnerBlockCell(int cell) {
  return Row(cell) >= 2 && Row(cell) <= 8 && Column(cell) >= 2 && Column(cell) <= 8;
}

}  // namespace vexa
