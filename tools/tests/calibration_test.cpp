#include "tools/calibration.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vexa::tools {
namespace {

// The first game of seed 2 is Normal against Normal. The search proves a
// win early on that Normal, which does not look for two winning cells at
// once, would walk past and then lose; the game follows the search's turns
// from that proof on, so every proof of the game comes true.
TEST(Calibration, EveryProofOfAGameComesTrue) {
  SearchLimits limits;
  limits.time.reset();
  limits.playouts = 1000;
  limits.threads = 1;
  std::ostringstream progress;
  const std::vector<CalibrationSample> samples = CollectSamples(1, 2, limits, progress);
  int proven = 0;
  for (const CalibrationSample& s : samples) {
    if (!s.proof) continue;
    ++proven;
    EXPECT_EQ(s.result, s.proof->win ? 1.0 : 0.0) << "proof in " << s.proof->turns;
  }
  EXPECT_GE(proven, 3);
  // A proof counts as certain, and right.
  std::ostringstream out;
  PrintCalibration(samples, FittedCalibration(), out);
  EXPECT_NE(out.str().find("(0 of them wrong)"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace vexa::tools
