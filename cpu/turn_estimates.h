#pragma once

// The best few turns of a search with the mover's chances after each: what
// the hint shows.

#include <cstddef>
#include <string>
#include <vector>

#include "core/move.h"
#include "core/position.h"
#include "cpu/master_search.h"
#include "cpu/win_chance.h"

namespace vexa {

// One turn the search weighed.
struct Candidate {
  std::vector<Move> turn;
  WinChance chance;    // the mover's, after it
  double share = 1.0;  // its share of the search's visits to the root's turns
};

// The search's best turns for the mover, the chosen one first, then by
// their visits (equal visits in the order they were generated); at most
// `count`. A turn proven lost is left out unless the chosen one is.
std::vector<Candidate> BestCandidates(const SearchResult& result, std::size_t count);

// The placements of a turn as "B 60 P 48".
std::string TurnText(const std::vector<Move>& turn);

}  // namespace vexa
