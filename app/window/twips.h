#pragma once

// The window's units: positions and sizes in twips, colours as 24-bit values
// with red in the low byte (0x8000000n names a system colour).

#include <QColor>
#include <QRect>
#include <cstdint>

#include "app/board/board_paint.h"  // kTwipsPerPixel

namespace vexa::app {

constexpr int Px(int twips) {
  return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect TwipRect(int left, int top, int width, int height) {
  return {Px(left), Px(top), Px(width), Px(height)};
}

// The one conversion of the program's colour values to Qt's.
QColor ToQColor(std::uint32_t value);

}  // namespace vexa::app
