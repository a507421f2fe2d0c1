#include "app/board/board_coordinates.h"

#include <QPainter>

#include "app/board/board_paint.h"
#include "app/window/twips.h"

namespace vexa::app {

BoardCoordinates::BoardCoordinates(QWidget* board) : QWidget(board) {
  setObjectName(QStringLiteral("BoardCoordinates"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(board->rect());
}

void BoardCoordinates::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QFont font = this->font();
  // The margin is 8 pixels: "10" and "11" need narrow digits to fit it.
  font.setPixelSize(8);
  font.setStretch(QFont::SemiCondensed);
  painter.setFont(font);
  painter.setPen(Qt::white);  // 5:1 against the board's green
  const QPoint board = parentWidget()->pos();
  const int top = TwipRect(0, kCellTop0, 0, 0).top() - board.y();
  const int left = TwipRect(kCellLeft0, 0, 0, 0).left() - board.x();
  for (int i = 0; i < kBoardSize; ++i) {
    const QRect cell =
        TwipRect(kCellLeft0 + kCellPitch * i, kCellTop0 + kCellPitch * i, kCellExtent, kCellExtent)
            .translated(-board);
    painter.drawText(QRect(cell.left(), 0, cell.width(), top), Qt::AlignCenter,
                     QString(QChar(u'A' + i)));
    painter.drawText(QRect(0, cell.top(), left, cell.height()), Qt::AlignCenter,
                     QString::number(i + 1));
  }
}

}  // namespace vexa::app
