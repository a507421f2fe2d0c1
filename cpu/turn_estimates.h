#pragma once

// What a search's numbers say about a position: the mover's chances, and the
// best few turns with theirs. Shared by the hint and the game analysis.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/move.h"
#include "core/position.h"
#include "cpu/master_search.h"

namespace vexa {

// The mover's result when the board already decides it: 1 when the mover
// has a winning cell, 0 when the opponent has more winning cells than the
// mover's blockers and piece can close; nothing otherwise.
std::optional<double> ForcedValue(const Position& position, Side mover);

// One turn the search weighed.
struct Candidate {
  std::vector<Move> turn;
  double win = 0.5;    // the mover's win probability after it
  double share = 1.0;  // its share of the playouts
};

// The search's best turns for `mover` at `position`, the chosen one first,
// then by visits; at most `count`. A forced choice is one candidate, whose
// chance the board tells when it can (a winning cell: 1).
std::vector<Candidate> BestCandidates(const Position& position, Side mover,
                                      const SearchResult& result, std::size_t count);

// The placements of a turn as "B 60 P 48".
std::string TurnText(const std::vector<Move>& turn);

}  // namespace vexa
