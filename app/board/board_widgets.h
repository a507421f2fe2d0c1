#pragma once

// The board widgets the main window needs beyond Qt's own: a cell label
// that reports mouse presses with the program's button codes, a line shape
// for the outline of a completed square, and the turn lamp of a side panel.

#include <QLabel>
#include <QWidget>

#include "app/board/board_paint.h"

namespace vexa::app {

class CellLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

  // Marks drawn over the cell, small enough that its colour stays plain: a
  // dot for a placement of the latest turn, a frame for the keyboard's
  // cursor; for the hint, a filled disc where its piece goes, a square where
  // a blocker goes and a ring on another candidate's piece.
  enum Mark { kLastMove = 1, kHint = 2, kCursor = 4, kHintPiece = 8, kHintBlocker = 16 };
  void SetMarks(int marks);
  int Marks() const { return marks_; }

  // A sign of whose piece stands on the cell, for those who cannot tell
  // the colours apart: a dot for side 1, a cross for the other side.
  enum Shape { kNoShape, kDot, kCross };
  void SetShape(Shape shape);
  Shape CellShape() const { return shape_; }

 signals:
  // 1 left, 2 right, 4 middle.
  void MouseDown(int button);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int marks_ = 0;
  Shape shape_ = kNoShape;
};

// A straight line between two points given in twips of its parent, drawn
// over whatever lies below it and transparent to the mouse.
class LineShape : public QWidget {
  Q_OBJECT
 public:
  explicit LineShape(QWidget* parent);
  void SetEnds(TwipPoint from, TwipPoint to);
  void SetColor(const QColor& color);
  // A white edge on both sides of the line, so that it stands out where
  // its colour does not.
  void SetEdged(bool edged);
  bool Edged() const { return edged_; }
  TwipPoint From() const { return from_; }
  TwipPoint To() const { return to_; }
  QColor Color() const { return color_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TwipPoint from_{-1500, -1500};
  TwipPoint to_{-1500, -1500};
  QColor color_;
  bool edged_ = false;
};

// The turn marker of a side panel: a lamp that is lit, with "手番" under it,
// for the side to move, and grey without a word otherwise. Both grey: nobody
// is to move.
class TurnLamp : public QWidget {
  Q_OBJECT
 public:
  explicit TurnLamp(QWidget* parent);
  void SetOn(bool on);
  bool IsOn() const { return on_; }
  // The lines under a lit lamp: "手" and "番", or another language's word
  // whole.
  QStringList Lines() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool on_ = false;
};

}  // namespace vexa::app
