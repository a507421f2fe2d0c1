#include "tools/elo_fit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vexa::tools {
namespace {

TEST(EloFit, KnownAnswersAndBoundsForUnbeatenPlayers) {
  // Two players, the second scoring 75 %: 400 log10(3) = 190.8 Elo.
  {
    const auto r = FitElo({{0, 50}, {150, 0}}, {{0, 200}, {200, 0}}, 0);
    EXPECT_EQ(r[0].elo, 0);
    EXPECT_NEAR(r[1].elo, 190.8, 0.1);
    // The interval of 200 games at 75 %: about +-53 Elo.
    EXPECT_NEAR(r[1].high - r[1].elo, 53, 3);
    EXPECT_NEAR(r[1].elo - r[1].low, 53, 3);
    EXPECT_EQ(r[1].bound, EloRating::Bound::None);
  }
  // Three players in a chain, each 75 % against the next, and a fourth
  // that wins all 100 of its games against the strongest: its likelihood
  // has no maximum, and the bound is where it falls to 5 %,
  // p^100 = 0.05 with p = 1 / (1 + 10^(-d / 400)): d = 606.7.
  const std::vector<std::vector<double>> points = {
      {0, 50, 0, 0}, {150, 0, 50, 0}, {0, 150, 0, 0}, {0, 0, 100, 0}};
  const std::vector<std::vector<int>> games = {
      {0, 200, 0, 0}, {200, 0, 200, 0}, {0, 200, 0, 100}, {0, 0, 100, 0}};
  const auto r = FitElo(points, games, 0);
  EXPECT_NEAR(r[1].elo, 190.8, 0.5);
  EXPECT_NEAR(r[2].elo, 381.6, 1.0);
  // The middle one is measured against both neighbours: a narrower interval.
  EXPECT_LT(r[1].high - r[1].low, r[2].high - r[2].low);
  EXPECT_EQ(r[3].bound, EloRating::Bound::Lower);
  EXPECT_TRUE(std::isfinite(r[3].elo));
  EXPECT_NEAR(r[3].elo - r[2].elo, 606.7, 1.0);
  // The same player with one draw is rated, with an interval, above the bound.
  auto drawn = points;
  drawn[3][2] = 99.5;
  drawn[2][3] = 0.5;
  const auto d = FitElo(drawn, games, 0);
  EXPECT_EQ(d[3].bound, EloRating::Bound::None);
  EXPECT_GT(d[3].elo, r[3].elo);
  EXPECT_LT(d[3].low, d[3].elo);
}

TEST(EloFit, AnUnbeatenPlayerIsBoundedAboveTheUnbeatenOneItBeat) {
  // 2 and 3 never lose to 0 and 1; 2 also beats 3 in all 10 of theirs.
  const std::vector<std::vector<double>> points = {
      {0, 50, 0, 0}, {150, 0, 0, 0}, {0, 100, 0, 10}, {0, 100, 0, 0}};
  const std::vector<std::vector<int>> games = {
      {0, 200, 0, 0}, {200, 0, 100, 100}, {0, 100, 0, 10}, {0, 100, 10, 0}};
  const auto r = FitElo(points, games, 0);
  EXPECT_EQ(r[2].bound, EloRating::Bound::Lower);
  EXPECT_EQ(r[3].bound, EloRating::Bound::Lower);
  EXPECT_GT(r[3].elo, r[1].elo);
  EXPECT_GT(r[2].elo, r[3].elo);
}

TEST(EloFit, APlayerWithNoGamesIsLeftUnrated) {
  const auto r = FitElo({{0, 1, 0}, {1, 0, 0}, {0, 0, 0}}, {{0, 2, 0}, {2, 0, 0}, {0, 0, 0}}, 0);
  EXPECT_TRUE(r[1].rated);
  EXPECT_NEAR(r[1].elo, 0, 1e-6);
  EXPECT_FALSE(r[2].rated);
}

}  // namespace
}  // namespace vexa::tools
