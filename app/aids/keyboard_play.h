#pragma once

// Play without a mouse: the arrow keys move a cursor over the playable cells,
// Enter or Space places a piece there and B (or Shift+Enter) a blocker.

#include <functional>
#include <utility>

class QKeyEvent;

namespace vexa::app {

class KeyboardPlay {
 public:
  // `place` is what a mouse button pressed on a cell does.
  explicit KeyboardPlay(std::function<void(int cell, int button)> place)
      : place_(std::move(place)) {}

  // True for a key it took: the cursor moved or a placement was asked for.
  bool KeyPressed(QKeyEvent* event);
  int Cell() const { return cell_; }

 private:
  std::function<void(int cell, int button)> place_;
  int cell_ = 60;  // the board's centre
};

}  // namespace vexa::app
