#include "board_widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "twips.h"

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

void LineShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(color_, kLineWidth, Qt::SolidLine, Qt::RoundCap));
  const QPoint offset = geometry().topLeft();
  painter.drawLine(QPoint(Px(from_.x), Px(from_.y)) - offset,
                   QPoint(Px(to_.x), Px(to_.y)) - offset);
}

}  // namespace vexa::app
