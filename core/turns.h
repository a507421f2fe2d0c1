#pragma once

// Turns in a game's history: a side's turn is its blockers, then its piece.

#include <vector>

#include "core/move.h"

namespace vexa {

// The placements of the side's most recent turn (a turn in progress
// included), in order; none before the side has placed anything.
inline std::vector<Move> LastTurnOf(const std::vector<Move>& history, Side side) {
  auto end = history.end();
  while (end != history.begin() && (end - 1)->side != side)
    --end;
  auto begin = end;
  while (begin != history.begin() && (begin - 1)->side == side)
    --begin;
  return {begin, end};
}

}  // namespace vexa
