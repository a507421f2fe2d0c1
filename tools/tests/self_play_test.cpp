#include "tools/self_play.h"

#include <gtest/gtest.h>

namespace vexa::tools {
namespace {

// The sanitizers make the search about ten times slower; there one game is
// enough to look for faults of memory in it.
#ifdef VEXA_SANITIZED
constexpr int kLostGames[] = {11};
#else
constexpr int kLostGames[] = {11, 35, 52, 62};
#endif

// Four games that VeryHard began and Master, at 4000 playouts a move, lost
// while its playouts alone judged its turns: each time it spent its six
// blockers on VeryHard's winning cells and then met two at once. Weighing
// the blockers in hand and following the rules of thumb's replies in the
// tree, it wins them.
TEST(SelfPlay, MasterWinsGamesVeryHardBeganThatItOnceLost) {
  SearchLimits limits;
  limits.time.reset();
  limits.playouts = 4000;
  limits.threads = 1;
  for (const int game : kLostGames) {
    SelfPlay play(CpuStrength::Master, CpuStrength::VeryHard, 1000 + game, limits);
    EXPECT_EQ(play.PlayGame(false), SelfPlayResult::WinA) << "game " << game;
  }
}

}  // namespace
}  // namespace vexa::tools
