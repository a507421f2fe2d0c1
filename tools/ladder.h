#pragma once

// A round robin of the computer's strengths: the four rules of thumb and
// Master at two playout budgets, every pair playing whole games with the
// first move alternating, and their Elo ratings fitted from the results.

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/modes.h"
#include "tools/elo_fit.h"

namespace vexa::tools {

struct LadderOptions {
  long games = 200;         // per pair of rules of thumb
  long master_games = 200;  // per pair with a Master
  // Master's playouts a move: about the window's one-second pause on two
  // cores, and a quarter of it. Fixed counts, so that a run repeats.
  long playouts = 100000;
  long short_playouts = 25000;
  int threads = 0;
  std::uint64_t seed = 1;
};

struct LadderEntrant {
  std::string name;
  CpuStrength strength;
  long playouts = 0;  // Master's only
};

struct LadderTable {
  std::vector<LadderEntrant> entrants;
  // By row and column: the row's wins and the draws against the column,
  // and the games they played.
  std::vector<std::vector<int>> wins;
  std::vector<std::vector<int>> draws;
  std::vector<std::vector<int>> games;
};

std::vector<LadderEntrant> LadderEntrants(const LadderOptions& options);

// Plays every pair; a line on `progress` after each.
LadderTable PlayLadder(const LadderOptions& options, std::ostream& progress);

// The table again from the lines PlayLadder wrote on `progress` ("ladder:
// A WINS_A B WINS_B draws DRAWS"), as far as a run got; pairs not played
// count no games. Nothing when a line names no entrant.
std::optional<LadderTable> ReadLadder(const LadderOptions& options, std::istream& lines);

// The rated entrants from the weakest up, "<" between two whose 95 %
// intervals part, "~" where they overlap and the games cannot order them.
std::string LadderOrder(const std::vector<LadderEntrant>& entrants,
                        const std::vector<EloRating>& ratings);

// The ratings, Easy at 0, their order, then the table of results.
void PrintLadder(const LadderTable& table, std::ostream& out);

}  // namespace vexa::tools
