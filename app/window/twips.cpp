#include "app/window/twips.h"

#include <QGuiApplication>
#include <QPalette>

namespace vexa::app {

QColor ToQColor(std::uint32_t value) {
  if (value & 0x80000000u) {
    const QPalette palette = QGuiApplication::palette();
    switch (value & 0xFFu) {
      case 5:  // window background
        return palette.color(QPalette::Base);
      case 14:  // highlight text
        return palette.color(QPalette::HighlightedText);
      default:  // window frame, window text and the rest
        return palette.color(QPalette::WindowText);
    }
  }
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace vexa::app
