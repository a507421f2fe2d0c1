#include "cpu/win_chance.h"

#include <algorithm>
#include <cmath>

namespace vexa {

namespace {

WinChance FromValue(double value, const std::optional<Proof>& proof) {
  if (proof) return {proof->win ? 1.0 : 0.0, proof};
  return {CalibratedChance(value), std::nullopt};
}

}  // namespace

Calibration FittedCalibration() {
  // `vexa-analyze calibrate fit --games 36 --seed 1` (README, "Chances"):
  // since a leaf's value is half the blockers in hand the search's values
  // are about as sure as the games, but still favour the side to move.
  return {1.0174, -0.5850};
}

double CalibratedChance(double value, const Calibration& calibration) {
  const double v = std::clamp(value, 0.002, 0.998);
  const double x = calibration.slope * std::log(v / (1.0 - v)) + calibration.offset;
  return std::clamp(1.0 / (1.0 + std::exp(-x)), kLeastChance, 1.0 - kLeastChance);
}

WinChance WinChance::Flipped() const {
  WinChance flipped{1.0 - chance, std::nullopt};
  if (proof) flipped.proof = Proof{!proof->win, proof->turns};
  return flipped;
}

WinChance ChanceOf(const SearchResult& result) {
  return FromValue(result.value, result.proof);
}

WinChance ChanceOf(const WeighedTurn& turn) {
  return FromValue(turn.Mean(), turn.proof);
}

}  // namespace vexa
