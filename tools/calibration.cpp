#include "tools/calibration.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>

#include "core/position.h"
#include "cpu/cell_source.h"
#include "cpu/player.h"

namespace vexa::tools {

namespace {

// Easy is left out: it never takes its own winning cell, so its games say
// nothing of what a position is worth to a player trying to win.
constexpr std::array<CpuStrength, 3> kStrengths = {CpuStrength::Normal, CpuStrength::Hard,
                                                   CpuStrength::VeryHard};

double Logit(double value) {
  const double v = std::clamp(value, 0.002, 0.998);
  return std::log(v / (1.0 - v));
}

}  // namespace

std::vector<CalibrationSample> CollectSamples(int games, std::uint64_t seed,
                                              const SearchLimits& limits, std::ostream& progress) {
  std::vector<CalibrationSample> samples;
  SeededCellSource random(seed);
  const std::atomic<bool> never{false};
  std::uint64_t searches = 0;
  for (int g = 0; g < games; ++g) {
    const int pair = g % 9;
    RulesOfThumbPlayer first(kStrengths[static_cast<std::size_t>(pair / 3)], random);
    RulesOfThumbPlayer second(kStrengths[static_cast<std::size_t>(pair % 3)], random);
    Position p(Player1, Cpu, (g / 9) % 2 == 0 ? Player1 : Cpu);
    std::vector<std::pair<CalibrationSample, Side>> game;
    // Once the search has proved the game, both sides play the search's
    // turns: "win in 3" tells a player who is shown it how to win, and a
    // rule of thumb that walks past a forced win would make a true proof
    // look wrong. A proof the search's own play then contradicts is a fault
    // of the solver.
    bool proven = false;
    while (!p.Result()) {
      const Side mover = p.ToMove();
      SearchLimits search = limits;
      search.seed = limits.seed + searches++;
      const SearchResult result = SearchTurn(p, mover, search, never);
      game.push_back({{result.value, result.proof, 0.5}, mover});
      proven = proven || result.proof.has_value();
      // The rules of thumb choose even when their turn is not played, so
      // that they draw the same cells and a game is the same as without
      // proofs up to its first one.
      Player& player = mover == Player1 ? static_cast<Player&>(first) : second;
      const std::vector<Move> own = player.ChooseTurn(p, mover, never);
      for (const Move& move : proven ? result.turn : own)
        p.Play(move);
    }
    const Side winner = p.Result()->winner;
    for (auto& [sample, mover] : game) {
      sample.result = winner == 0 ? 0.5 : winner == mover ? 1.0 : 0.0;
      samples.push_back(sample);
    }
    progress << "calibrate: " << g + 1 << '/' << games << " games\n";
  }
  return samples;
}

Calibration FitCalibration(const std::vector<CalibrationSample>& samples) {
  // Newton's method on the log-likelihood of y ~ sigmoid(a * x + b).
  Calibration c;
  for (int step = 0; step < 50; ++step) {
    double ga = 0, gb = 0, haa = 0, hab = 0, hbb = 0;
    for (const CalibrationSample& s : samples) {
      if (s.proof) continue;
      const double x = Logit(s.value);
      const double p = 1.0 / (1.0 + std::exp(-(c.slope * x + c.offset)));
      const double w = p * (1 - p);
      ga += (s.result - p) * x;
      gb += s.result - p;
      haa += w * x * x;
      hab += w * x;
      hbb += w;
    }
    const double det = haa * hbb - hab * hab;
    if (std::abs(det) < 1e-12) break;
    const double da = (hbb * ga - hab * gb) / det;
    const double db = (haa * gb - hab * ga) / det;
    c.slope += da;
    c.offset += db;
    if (std::abs(da) + std::abs(db) < 1e-9) break;
  }
  return c;
}

double SampleChance(const CalibrationSample& sample, const Calibration& calibration) {
  if (sample.proof) return sample.proof->win ? 1.0 : 0.0;
  return CalibratedChance(sample.value, calibration);
}

std::vector<ReliabilityBin> Reliability(const std::vector<CalibrationSample>& samples,
                                        const Calibration& calibration) {
  std::vector<ReliabilityBin> bins(10);
  for (const CalibrationSample& s : samples) {
    const double chance = SampleChance(s, calibration);
    ReliabilityBin& bin =
        bins[static_cast<std::size_t>(std::min(9, static_cast<int>(chance * 10)))];
    ++bin.count;
    bin.predicted += chance;
    bin.observed += s.result;
  }
  for (ReliabilityBin& bin : bins) {
    if (bin.count == 0) continue;
    bin.predicted /= bin.count;
    bin.observed /= bin.count;
  }
  return bins;
}

double BrierScore(const std::vector<CalibrationSample>& samples, const Calibration& calibration) {
  double sum = 0;
  for (const CalibrationSample& s : samples) {
    const double d = SampleChance(s, calibration) - s.result;
    sum += d * d;
  }
  return samples.empty() ? 0.0 : sum / static_cast<double>(samples.size());
}

void PrintCalibration(const std::vector<CalibrationSample>& samples, const Calibration& calibration,
                      std::ostream& out) {
  int proven = 0;
  int proven_wrong = 0;
  for (const CalibrationSample& s : samples) {
    if (!s.proof) continue;
    ++proven;
    proven_wrong += (s.proof->win ? 1.0 : 0.0) != s.result ? 1 : 0;
  }
  char line[160];
  std::snprintf(line, sizeof line, "curve: slope %.4f offset %.4f\n", calibration.slope,
                calibration.offset);
  out << line;
  std::snprintf(line, sizeof line,
                "positions %zu, proven %d (%d of them wrong), Brier %.4f (all 50 %%: %.4f)\n",
                samples.size(), proven, proven_wrong, BrierScore(samples, calibration),
                BrierScore(samples, Calibration{0.0, 0.0}));
  out << line << "chance       turns  predicted  observed\n";
  const std::vector<ReliabilityBin> bins = Reliability(samples, calibration);
  for (std::size_t b = 0; b < bins.size(); ++b) {
    std::snprintf(line, sizeof line, "%3zu-%3zu %%  %6d  %8.3f  %8.3f\n", 10 * b, 10 * b + 10,
                  bins[b].count, bins[b].predicted, bins[b].observed);
    out << line;
  }
}

}  // namespace vexa::tools
