#pragma once

// Elo ratings from a table of results by maximum likelihood: the chance
// that a player rated d above another scores a game is 1 / (1 + 10^(-d/400)),
// a draw counting half a win. One player anchors the scale at 0.

#include <vector>

namespace vexa::tools {

struct EloRating {
  double elo = 0;
  // The 95 % interval. A player that never lost to those rated below it
  // has no most likely rating: `elo` is then a one-sided 95 % lower bound
  // (and one that never won against those above it an upper bound).
  double low = 0;
  double high = 0;
  enum class Bound { None, Lower, Upper } bound = Bound::None;
  bool rated = false;  // false when no game links it to the anchor
};

// `points[i][j]` is what i scored against j (wins plus half the draws) and
// `games[i][j]` the games they played, the same both ways.
std::vector<EloRating> FitElo(const std::vector<std::vector<double>>& points,
                              const std::vector<std::vector<int>>& games, int anchor);

}  // namespace vexa::tools
