#include "app/aids/keyboard_play.h"

#include <QKeyEvent>

#include "app/board/board_paint.h"
#include "core/board.h"

namespace vexa::app {

namespace {

// One step of the cursor, skipping the unplayable corners; the cursor stays
// where it is at the board's edge.
int StepCursor(int cell, int d_row, int d_column) {
  int row = Row(cell);
  int column = Column(cell);
  for (;;) {
    row += d_row;
    column += d_column;
    if (row < 0 || row >= kBoardSize || column < 0 || column >= kBoardSize) return cell;
    const int next = row * kBoardSize + column;
    if (IsPlayableCell(next)) return next;
  }
}

}  // namespace

bool KeyboardPlay::KeyPressed(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Left:
      cell_ = StepCursor(cell_, 0, -1);
      break;
    case Qt::Key_Right:
      cell_ = StepCursor(cell_, 0, 1);
      break;
    case Qt::Key_Up:
      cell_ = StepCursor(cell_, -1, 0);
      break;
    case Qt::Key_Down:
      cell_ = StepCursor(cell_, 1, 0);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      place_(cell_, shift ? kRightButton : kLeftButton);
      break;
    case Qt::Key_Space:
      place_(cell_, kLeftButton);
      break;
    case Qt::Key_B:
      place_(cell_, kRightButton);
      break;
    default:
      return false;
  }
  event->accept();
  return true;
}

}  // namespace vexa::app
