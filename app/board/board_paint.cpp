#include "app/board/board_paint.h"

#include "core/number_text.h"

namespace vexa::app {

OutlineEnds OutlineOf(const SquareCorners& square) {
  const int corners[4] = {square.i, square.L, square.C2, square.C1};
  OutlineEnds ends;
  for (int edge = 0; edge < 4; ++edge) {
    ends.from[edge] = OutlinePoint(corners[edge]);
    ends.to[edge] = OutlinePoint(corners[(edge + 1) % 4]);
  }
  return ends;
}

std::string CoordinateText(int cell) {
  return "(" + NumberText(Column(cell)) + "," + NumberText(Row(cell)) + ")";
}

}  // namespace vexa::app
