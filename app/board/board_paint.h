#pragma once

// How the board is drawn: the cells' colours and the geometry of the cell
// labels and of a square's outline, in twips. The window turns the game's
// events into these; nothing below app/ knows of them.

#include <cstdint>
#include <string>

#include "core/board.h"
#include "core/square_geometry.h"

namespace vexa::app {

// Colours are 24-bit values with red in the low byte.
using Color = std::uint32_t;
constexpr Color kBlack = 0x000000;
constexpr Color kRed = 0x0000FF;
constexpr Color kBlue = 0xFF0000;
constexpr Color kWhite = 0xFFFFFF;

// The colour a cell of that value is painted in.
constexpr Color CellColor(std::int16_t value) {
  return value == Empty ? kBlack : value == Player1 ? kRed : value == Blocker ? kWhite : kBlue;
}

// The colour of a square's outline: side 1's red, every other side's blue.
constexpr Color OutlineColor(Side side) {
  return side == Player1 ? kRed : kBlue;
}

// Mouse button codes of a click on a cell.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

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

struct OutlineEnds {
  TwipPoint from[4];
  TwipPoint to[4];
};

// The outline of a square: its edges i-L, L-C2, C2-C1, C1-i.
OutlineEnds OutlineOf(const SquareCorners& square);

// The readout of a clicked cell: "( 3, 2)" for cell 25.
std::string CoordinateText(int cell);

}  // namespace vexa::app
