#pragma once

// vexa-analyze calibrate: how far the search's chances can be believed.
// Self-play games between mixed strengths; the position before every turn
// searched as the analysis searches it; each value set against the
// game's result for the side to move. Fits the logistic curve the program
// maps values through, and measures a curve on games it was not fitted on:
// the Brier score and a reliability table.

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include "cpu/master_search.h"
#include "cpu/win_chance.h"

namespace vexa::tools {

struct CalibrationSample {
  double value = 0.5;  // the search's value for the side to move
  std::optional<Proof> proof;
  double result = 0.5;  // that side's result: 1 a win, 0.5 a draw, 0 a loss
};

// `games` games, game g between the strengths of pair g (Normal, Hard and
// VeryHard each against each, in turn), the first move
// alternating, seeded from `seed`; searches within `limits` (search i of
// the run taking the seed limits.seed + i). From the first position the
// search proves on, both sides play the search's turns.
std::vector<CalibrationSample> CollectSamples(int games, std::uint64_t seed,
                                              const SearchLimits& limits, std::ostream& progress);

// The logistic fit of the results against logit(value), by maximum
// likelihood (a draw half a win); proven samples are left out.
Calibration FitCalibration(const std::vector<CalibrationSample>& samples);

// The chance a sample is given with `calibration` (a proof: 0 or 1).
double SampleChance(const CalibrationSample& sample, const Calibration& calibration);

struct ReliabilityBin {
  int count = 0;
  double predicted = 0;  // the mean chance given
  double observed = 0;   // the mean result
};
// Ten bins of the chance given: [0, 0.1), ..., [0.9, 1].
std::vector<ReliabilityBin> Reliability(const std::vector<CalibrationSample>& samples,
                                        const Calibration& calibration);
double BrierScore(const std::vector<CalibrationSample>& samples, const Calibration& calibration);

// The fit (with --fit), the Brier score and the reliability table.
void PrintCalibration(const std::vector<CalibrationSample>& samples, const Calibration& calibration,
                      std::ostream& out);

}  // namespace vexa::tools
