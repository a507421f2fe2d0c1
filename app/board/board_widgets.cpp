#include "app/board/board_widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "app/window/twips.h"

namespace vexa::app {

void CellLabel::mousePressEvent(QMouseEvent* event) {
  switch (event->button()) {
    case Qt::LeftButton:
      emit MouseDown(1);
      break;
    case Qt::RightButton:
      emit MouseDown(2);
      break;
    case Qt::MiddleButton:
      emit MouseDown(4);
      break;
    default:
      QLabel::mousePressEvent(event);
  }
}

void CellLabel::SetMarks(int marks) {
  if (marks == marks_) return;
  marks_ = marks;
  update();
}

void CellLabel::SetShape(Shape shape) {
  if (shape == shape_) return;
  shape_ = shape;
  update();
}

void CellLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (marks_ == 0 && shape_ == kNoShape) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
  const QPointF centre = area.center();
  const qreal size = area.width();
  // White on red and on blue: the sign reads by its form, whatever the
  // colours look like.
  if (shape_ == kDot) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, size * 0.2, size * 0.2);
  } else if (shape_ == kCross) {
    painter.setPen(QPen(Qt::white, qMax<qreal>(2.0, size * 0.1), Qt::SolidLine, Qt::RoundCap));
    const qreal arm = size * 0.22;
    painter.drawLine(centre + QPointF(-arm, -arm), centre + QPointF(arm, arm));
    painter.drawLine(centre + QPointF(-arm, arm), centre + QPointF(arm, -arm));
  }
  // Green and yellow show on black, white, red and blue alike; the hint's
  // marks differ by form as well.
  const QColor hint_green(0x30, 0xE0, 0x30);
  if (marks_ & kHint) {
    painter.setPen(QPen(hint_green, 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, size * 0.34, size * 0.34);
  }
  if (marks_ & kHintPiece) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(hint_green);
    painter.drawEllipse(centre, size * 0.3, size * 0.3);
  }
  if (marks_ & kHintBlocker) {
    painter.setPen(QPen(hint_green, 2.5));
    painter.setBrush(Qt::NoBrush);
    const qreal half = size * 0.3;
    painter.drawRect(QRectF(centre - QPointF(half, half), centre + QPointF(half, half)));
  }
  if (marks_ & kLastMove) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(0xFF, 0xD7, 0x00));
    painter.drawEllipse(centre, size * 0.14, size * 0.14);
  }
  if (marks_ & kCursor) {
    painter.setPen(QPen(QColor(0xFF, 0xD7, 0x00), 2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(1, 1, -1, -1));
  }
}

namespace {
constexpr int kLineWidth = 3;
}

LineShape::LineShape(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_TranslucentBackground);
  SetEnds(from_, to_);
}

void LineShape::SetEnds(TwipPoint from, TwipPoint to) {
  from_ = from;
  to_ = to;
  const int margin = kLineWidth;
  const int left = std::min(Px(from.x), Px(to.x)) - margin;
  const int top = std::min(Px(from.y), Px(to.y)) - margin;
  const int right = std::max(Px(from.x), Px(to.x)) + margin;
  const int bottom = std::max(Px(from.y), Px(to.y)) + margin;
  setGeometry(left, top, right - left + 1, bottom - top + 1);
  update();
}

void LineShape::SetColor(const QColor& color) {
  color_ = color;
  update();
}

void LineShape::SetEdged(bool edged) {
  edged_ = edged;
  update();
}

void LineShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPoint offset = geometry().topLeft();
  const QPoint from = QPoint(Px(from_.x), Px(from_.y)) - offset;
  const QPoint to = QPoint(Px(to_.x), Px(to_.y)) - offset;
  if (edged_) {
    // As wide as the margin allows on each side of the line.
    painter.setPen(QPen(Qt::white, 2 * kLineWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
  }
  painter.setPen(QPen(color_, kLineWidth, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(from, to);
}

TurnLamp::TurnLamp(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TurnLamp::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  update();
}

QStringList TurnLamp::Lines() const {
  // "手番" (the move is yours), one character a line, as the panel is
  // narrow; a word of another language stays whole on one line.
  const QString word = tr("手番");
  return word.size() == 2 ? QStringList{word.left(1), word.right(1)} : QStringList{word};
}

void TurnLamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  // The lamp: a disc as wide as the widget at its top. Amber stands out
  // beside the red and blue markers; grey reads as switched off.
  const int diameter = width() - 2;
  const QRectF disc(1, 1, diameter, diameter);
  QRadialGradient glow(disc.center(), diameter / 2.0, disc.center() - QPointF(3, 3));
  glow.setColorAt(0, on_ ? QColor(0xFF, 0xF8, 0xB0) : QColor(0xC8, 0xC8, 0xC8));
  glow.setColorAt(1, on_ ? QColor(0xFF, 0xA8, 0x00) : QColor(0x80, 0x80, 0x80));
  painter.setPen(QPen(on_ ? QColor(0xA0, 0x58, 0x00) : QColor(0x60, 0x60, 0x60), 1.5));
  painter.setBrush(glow);
  painter.drawEllipse(disc);
  if (!on_) return;

  const QStringList lines = Lines();
  QFont font = this->font();
  font.setBold(true);
  font.setPixelSize(qMin(diameter - 6, (height() - diameter - 4) / 2));
  const auto widest = [&] {
    int most = 0;
    for (const QString& line : lines)
      most = qMax(most, QFontMetrics(font).horizontalAdvance(line));
    return most;
  };
  while (font.pixelSize() > 6 && widest() > width())
    font.setPixelSize(font.pixelSize() - 1);
  painter.setFont(font);
  painter.setPen(QColor(0xA0, 0x58, 0x00));
  const int line = (height() - diameter - 2) / 2;
  for (int i = 0; i < lines.size(); ++i)
    painter.drawText(QRect(0, diameter + 2 + i * line, width(), line), Qt::AlignCenter, lines[i]);
}

}  // namespace vexa::app
