#include "app/aids/win_graph.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <cmath>

namespace vexa::app {

// The marks' colours, and their texts beside them: the colour alone is no
// cue for everyone.
QColor MarkColor(TurnMark mark) {
  switch (mark) {
    case TurnMark::Inaccuracy:
      // A dark ochre: the bright yellow it was read faintly on white (3:1
      // at least, as for any text that must be read).
      return QColor(0x9A, 0x6E, 0x00);
    case TurnMark::Mistake:
      return QColor(0xE8, 0x6A, 0x00);
    case TurnMark::Blunder:
      return QColor(0xE0, 0x00, 0x00);
    case TurnMark::None:
      break;
  }
  return QColor(0x40, 0x40, 0x40);
}

WinGraph::WinGraph(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
  setCursor(Qt::PointingHandCursor);
}

void WinGraph::SetPoints(std::vector<Point> points) {
  points_ = std::move(points);
  current_ = -1;
  update();
}

void WinGraph::SetCurrent(int index) {
  if (index == current_) return;
  current_ = index;
  update();
}

void WinGraph::SetTitle(const QString& title) {
  title_ = title;
  update();
}

QRectF WinGraph::Plot() const {
  // Room for the title and the marks above, the "100%" label at the left.
  const QFontMetrics metrics = fontMetrics();
  return QRectF(rect()).adjusted(metrics.horizontalAdvance(QStringLiteral("100%")) + 6,
                                 metrics.height() + 2, -8, -metrics.height() / 2 - 1);
}

void WinGraph::SetHelp(const QString& help) {
  help_ = help;
}

QPointF WinGraph::PointPosition(int index) const {
  const QRectF plot = Plot();
  const int n = Points();
  const double x = n <= 1 ? plot.center().x() : plot.left() + plot.width() * index / (n - 1);
  const double y = plot.bottom() - plot.height() * points_[static_cast<std::size_t>(index)].side1;
  return {x, y};
}

void WinGraph::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF plot = Plot();
  // The window's own font size: anything smaller was hard to read.
  painter.setFont(font());
  const int text_height = fontMetrics().height();
  painter.setPen(Qt::black);
  painter.drawText(QRectF(rect()).adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignTop, title_);
  painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1));
  painter.drawRect(plot);
  painter.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1, Qt::DashLine));
  painter.drawLine(QPointF(plot.left(), plot.center().y()),
                   QPointF(plot.right(), plot.center().y()));
  painter.setPen(Qt::black);
  const QRectF labels(0, plot.top() - text_height / 2.0, plot.left() - 3,
                      plot.height() + text_height);
  painter.drawText(labels, Qt::AlignRight | Qt::AlignTop, QStringLiteral("100%"));
  painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("50%"));
  painter.drawText(labels, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("0%"));
  if (points_.empty()) return;

  QPainterPath line(PointPosition(0));
  for (int i = 1; i < Points(); ++i)
    line.lineTo(PointPosition(i));
  painter.setPen(QPen(QColor(0xC0, 0x00, 0x00), 1.5));  // side 1 is red on the board
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(line);
  for (int i = 0; i < Points(); ++i) {
    const Point& p = points_[static_cast<std::size_t>(i)];
    const QPointF at = PointPosition(i);
    const bool marked = p.mark != TurnMark::None;
    painter.setPen(Qt::NoPen);
    painter.setBrush(MarkColor(p.mark));
    painter.drawEllipse(at, marked ? 3.5 : 2.0, marked ? 3.5 : 2.0);
    if (marked) {
      painter.setPen(MarkColor(p.mark));
      // The mark stands with the side that made the turn: above the line
      // for side 1, whose chances it shows, below it for side 2.
      const double top = p.side == 1 ? at.y() - 4 - text_height : at.y() + 4;
      painter.drawText(QRectF(at.x() - 12, top, 24, text_height), Qt::AlignCenter,
                       QString::fromLatin1(MarkText(p.mark)));
    }
  }
  if (current_ >= 0 && current_ < Points()) {
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(PointPosition(current_), 5.5, 5.5);
  }
}

int WinGraph::NearestPoint(double x) const {
  if (points_.empty()) return -1;
  int nearest = 0;
  for (int i = 1; i < Points(); ++i) {
    if (std::abs(PointPosition(i).x() - x) < std::abs(PointPosition(nearest).x() - x)) nearest = i;
  }
  return nearest;
}

QString WinGraph::ToolTipAt(double x) const {
  const int nearest = NearestPoint(x);
  if (nearest < 0) return help_;
  const QString& tip = points_[static_cast<std::size_t>(nearest)].tip;
  return tip.isEmpty() ? help_ : tip + u'\n' + help_;
}

void WinGraph::mousePressEvent(QMouseEvent* event) {
  if (points_.empty() || event->button() != Qt::LeftButton) return;
  const int nearest = NearestPoint(event->position().x());
  SetCurrent(nearest);
  emit PointClicked(nearest);
}

bool WinGraph::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), ToolTipAt(help->pos().x()), this);
    return true;
  }
  return QWidget::event(event);
}

}  // namespace vexa::app
