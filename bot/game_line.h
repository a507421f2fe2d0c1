#pragma once

// The one line vexa-bot prints per game:
//   game K result R how H board B
// R win, loss or draw from this program's view; H square, stock, time
// (this side's clock ran out), lose (the peer's did) or left (the connection
// ended first); B the 121 cells as digits in this program's values.

#include <QString>
#include <optional>

#include "core/board.h"
#include "core/move.h"

namespace vexa::bot {

// A game that ended with a result.
QString GameLine(int number, const Outcome& outcome, const BoardCells& board);
// A game the connection's end cut short: nobody won it.
QString LeftGameLine(int number, const BoardCells& board);

}  // namespace vexa::bot
