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

// Colours are 24-bit values with red in the low byte.
using Color = std::uint32_t;
constexpr Color kBlack = 0x000000;
constexpr Color kRed = 0x0000FF;
constexpr Color kBlue = 0xFF0000;
constexpr Color kWhite = 0xFFFFFF;

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

// Window geometry of the cell labels, in twips: the board is drawn from these
// and the outline of a completed square ends at these points.
constexpr int kCellLeft0 = 150;
constexpr int kCellTop0 = 165;
constexpr int kCellPitch = 480;
constexpr int kCellExtent = 375;

struct TwipPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TwipPoint&, const TwipPoint&) = default;
};

constexpr int CellLeft(int cell) {
  return kCellLeft0 + kCellPitch * Column(cell);
}
constexpr int CellTop(int cell) {
  return kCellTop0 + kCellPitch * Row(cell);
}

constexpr int kTwipsPerPixel = 15;  // 1440 per inch at 96 pixels per inch

// Where an edge of the square outline meets a cell: 12 pixels right of and
// 11 below the cell's top-left corner, the centre of its 25 x 25 pixels (one
// pixel high of it), so the outline runs through the pieces and not along
// their corners.
constexpr TwipPoint OutlinePoint(int cell) {
  return {CellLeft(cell) + 12 * kTwipsPerPixel, CellTop(cell) + 11 * kTwipsPerPixel};
}

}  // namespace vexa
