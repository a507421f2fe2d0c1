#pragma once

// Chances a player can believe. A search's value (the mean result of its
// playouts) is not a probability of winning a real game: the playouts'
// players are not the real ones. The chance is the value mapped through a
// logistic curve fitted to the results of real games (self-play between
// mixed strengths, `vexa-analyze calibrate`), as chess engines turn an
// evaluation into a win rate. Only a result the search proved is certain.

#include <optional>

#include "cpu/master_search.h"
#include "cpu/search_board.h"

namespace vexa {

// The fitted curve: chance = 1 / (1 + exp(-(slope * logit(value) + offset))).
struct Calibration {
  double slope = 1.0;
  double offset = 0.0;
};
// The curve the program uses, fitted at the analysis's budget.
Calibration FittedCalibration();

// An unproven chance never reads as certain: it stays this far from 0 and 1.
constexpr double kLeastChance = 0.01;

struct WinChance {
  double chance = 0.5;  // of the side it is for winning, a draw half a win
  std::optional<Proof> proof;
  bool Certain() const { return proof.has_value(); }
  // The same position from the other side.
  WinChance Flipped() const;
};

// The chance of a search's value, with `calibration`.
double CalibratedChance(double value, const Calibration& calibration = FittedCalibration());
// The mover's chance with the search's chosen turn.
WinChance ChanceOf(const SearchResult& result);
// The mover's chance with one of the turns the search weighed.
WinChance ChanceOf(const WeighedTurn& turn);

}  // namespace vexa
