#pragma once

// The cells' names around the board (オプション > 座標を表示): the column
// letters A-K along the top and the row numbers 1-11 down the left side,
// in the green margin between the board's edge and its cells, where the
// window's texts name cells the same way ("D3").

#include <QWidget>

namespace vexa::app {

class BoardCoordinates : public QWidget {
  Q_OBJECT
 public:
  // Lies over `board` (the green background), under the cells; clicks pass
  // through it.
  explicit BoardCoordinates(QWidget* board);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vexa::app
