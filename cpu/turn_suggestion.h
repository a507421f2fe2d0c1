#pragma once

// The computer player's whole turn for a side of a local game, as the
// computer would play it in that side's place: the hint.

#include <vector>

#include "cell_source.h"
#include "game.h"

namespace vexa {

// The turn (blockers in order, then the piece) that the computer player at
// `strength` would play for `mover` against `opponent` in this position. The
// position is only read.
std::vector<Move> SuggestTurn(const BoardCells& board, const Stocks& pieces, const Stocks& blockers,
                              Side mover, Side opponent, CpuStrength strength, CellSource& random);

}  // namespace vexa
