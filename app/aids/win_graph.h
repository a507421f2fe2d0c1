#pragma once

// The analysis's graph under the board: side 1's win probability after
// every turn, each marked turn as a coloured point with its mark over it,
// the turn on show ringed. A click picks the nearest turn; its tooltip tells
// the turn under the pointer. Drawn with the
// board's own painter: a line and a few dots need no chart library.

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

#include "cpu/game_analysis.h"

namespace vexa::app {

// A turn's point and mark on the graph's white: each readable at 3:1.
QColor MarkColor(TurnMark mark);

class WinGraph : public QWidget {
  Q_OBJECT
 public:
  struct Point {
    double side1 = 0.5;  // side 1's win probability after the turn
    TurnMark mark = TurnMark::None;
    // What the turn's tooltip says of it ("手 6: P D3 …").
    QString tip;
    // The side that made the turn: its mark stands above the line for
    // side 1 (whose chances it is), below it for side 2.
    int side = 1;
  };

  explicit WinGraph(QWidget* parent);
  void SetPoints(std::vector<Point> points);
  int Points() const { return static_cast<int>(points_.size()); }
  // The turn on show (an index of the points), or -1.
  void SetCurrent(int index);
  int Current() const { return current_; }
  void SetTitle(const QString& title);
  // The graph's own tooltip, shown under the tooltip of the turn nearest
  // the pointer.
  void SetHelp(const QString& help);
  // The turn nearest to `x` by its column: the points are far too small to
  // hit; -1 without points.
  int NearestPoint(double x) const;
  // The text the tooltip shows with the pointer at `x`.
  QString ToolTipAt(double x) const;
  // Where the point of a turn is drawn.
  QPointF PointPosition(int index) const;

 signals:
  // A click picked the point of this turn.
  void PointClicked(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QRectF Plot() const;

  std::vector<Point> points_;
  int current_ = -1;
  QString title_;
  QString help_;
};

}  // namespace vexa::app
