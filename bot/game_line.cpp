#include "bot/game_line.h"

#include "core/board_text.h"
#include "core/game_record.h"

namespace vexa::bot {

namespace {

QString Line(int number, QStringView result, QStringView how, const BoardCells& board) {
  return QStringLiteral("game %1 result %2 how %3 board %4")
      .arg(number)
      .arg(result, how, QString::fromLatin1(BoardText(board)));
}

}  // namespace

QString GameLine(int number, const Outcome& outcome, const BoardCells& board) {
  const QStringView result = outcome.winner == Player1 ? u"win"
                             : outcome.winner == 0     ? u"draw"
                                                       : u"loss";
  return Line(number, result, QString::fromLatin1(HowName(outcome.how)), board);
}

QString LeftGameLine(int number, const BoardCells& board) {
  return Line(number, u"draw", u"left", board);
}

}  // namespace vexa::bot
