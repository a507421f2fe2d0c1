#include "cpu/game_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

#include "cpu/turn_estimates.h"

namespace vexa {
namespace {

// The analysis of a record, its searches run here: small budgets, one
// thread, a seed per search.
GameAnalysis Analyse(const std::vector<Move>& moves, long playouts = 400) {
  GameAnalysis analysis(moves, 1);
  const std::atomic<bool> never{false};
  while (const auto request = analysis.Next()) {
    SearchLimits limits;
    limits.time.reset();
    limits.playouts = playouts;
    limits.threads = 1;
    limits.seed = static_cast<std::uint64_t>(request->number);
    analysis.Take(SearchTurn(request->position, request->mover, limits, never));
  }
  return analysis;
}

// Side 2 spends its six blockers at once; side 1 then makes a winning cell
// (48), which side 2 closes with its piece, and two more at once (44 and
// 2), of which side 2 can close only one.
TEST(GameAnalysis, AForcedWinIsCertainAndTheTurnsAreCountedByTheirPieces) {
  std::vector<Move> moves = {PieceMove(1, 24)};
  for (const int cell : {100, 101, 102, 103, 104, 105})
    moves.push_back(BlockerMove(2, cell));
  for (const Move& m : {PieceMove(2, 90), PieceMove(1, 26), PieceMove(2, 91), PieceMove(1, 46),
                        PieceMove(2, 48), PieceMove(1, 22), PieceMove(2, 44), PieceMove(1, 2)}) {
    moves.push_back(m);
  }
  const GameAnalysis analysis = Analyse(moves);
  ASSERT_TRUE(analysis.Complete());
  const std::vector<AnalysedTurn>& turns = analysis.Turns();
  ASSERT_EQ(turns.size(), 9u);
  EXPECT_EQ(turns[1].played.size(), 7u);
  EXPECT_EQ(turns[1].end_step, 8);
  EXPECT_EQ(turns[8].end_step, static_cast<int>(moves.size()));
  // One value per position: a turn's chances after are the next turn's
  // chances before, seen from the other side.
  for (std::size_t t = 0; t + 1 < turns.size(); ++t)
    EXPECT_DOUBLE_EQ(turns[t].after.chance, 1.0 - turns[t + 1].before.chance) << t;
  // Nothing is certain in the opening. (Once side 2 has spent its
  // blockers, side 1's win is proven before its double threat.)
  for (std::size_t t = 0; t < 4; ++t) {
    EXPECT_FALSE(turns[t].before.Certain()) << t;
    EXPECT_GT(turns[t].before.chance, 0.0);
    EXPECT_LT(turns[t].before.chance, 1.0);
  }
  // The double threat: a proven win, and the loser's reply changes nothing:
  // lost before and after, no best turn, and no mark for it.
  EXPECT_EQ(turns[6].after.proof, (Proof{true, 2}));
  EXPECT_EQ(turns[7].before.proof, (Proof{false, 2}));
  EXPECT_TRUE(turns[7].best.empty());
  EXPECT_EQ(turns[7].after.proof, (Proof{false, 1}));
  EXPECT_EQ(turns[7].mark, TurnMark::None);
  // The winning turn is the best one, certain, unmarked; the game is over.
  EXPECT_EQ(turns[8].best, std::vector<Move>{PieceMove(1, 2)});
  EXPECT_EQ(turns[8].before.proof, (Proof{true, 1}));
  EXPECT_EQ(turns[8].after.proof, (Proof{true, 0}));
  EXPECT_EQ(turns[8].mark, TurnMark::None);
  // Side 2 closed 48 with its piece: nothing left open.
  EXPECT_FALSE(turns[5].left_win_open);
  int marked = 0;
  for (const AnalysedTurn& t : turns)
    marked += t.side == 2 && t.mark != TurnMark::None ? 1 : 0;
  const SideSums sums = analysis.Sums(2);
  EXPECT_EQ(sums.turns, 4);
  EXPECT_EQ(sums.marks[1] + sums.marks[2] + sums.marks[3], marked);
}

TEST(GameAnalysis, BlockersAfterTheLastPieceAreNoTurnAndAMissedWinIsABlunder) {
  // Side 2 closes 48 with its piece and ends with a blocker of a turn
  // never finished; then the same game where 48 stays open and side 1
  // places 70 instead.
  const GameAnalysis analysis =
      Analyse({PieceMove(1, 24), PieceMove(2, 100), PieceMove(1, 26), PieceMove(2, 101),
               PieceMove(1, 46), PieceMove(2, 48), PieceMove(1, 70), BlockerMove(2, 60)});
  ASSERT_EQ(analysis.Turns().size(), 7u);
  EXPECT_FALSE(analysis.Turns()[6].missed_win);
  const GameAnalysis missing =
      Analyse({PieceMove(1, 24), PieceMove(2, 100), PieceMove(1, 26), PieceMove(2, 101),
               PieceMove(1, 46), PieceMove(2, 102), PieceMove(1, 70)});
  EXPECT_TRUE(missing.Turns()[6].missed_win);
  EXPECT_EQ(missing.Turns()[6].mark, TurnMark::Blunder);
  EXPECT_EQ(missing.Turns()[6].best, std::vector<Move>{PieceMove(1, 48)});
}

// A game Master (side 2) lost to VeryHard, as self-play recorded it: the
// analysis finds the turn after which the loss is proven, with Master's
// chance before it still open, and from there every position is VeryHard's
// proven win, whoever moves.
TEST(GameAnalysis, FindsWhereMasterLostAGame) {
  const auto P = [](Side side, int cell) { return PieceMove(side, cell); };
  const auto B = [](Side side, int cell) { return BlockerMove(side, cell); };
  const GameAnalysis analysis =
      Analyse({P(1, 50), P(2, 72), P(1, 52), P(2, 61), P(1, 30), B(2, 28), P(2, 71),  B(1, 60),
               P(1, 40), B(2, 42), B(2, 62), P(2, 51), P(1, 54), B(2, 32), B(2, 74),  P(2, 59),
               B(1, 38), B(1, 49), P(1, 98), B(2, 94), P(2, 39), B(1, 37), P(1, 116), P(2, 70),
               P(1, 66), P(2, 4),  P(1, 24), P(2, 88), P(1, 92)},
              4000);
  const std::vector<AnalysedTurn>& turns = analysis.Turns();
  const auto proven = std::find_if(turns.begin(), turns.end(),
                                   [](const AnalysedTurn& t) { return t.after.Certain(); });
  ASSERT_NE(proven, turns.end());
  ASSERT_NE(proven, turns.begin());
  EXPECT_FALSE(proven->before.Certain());
  for (auto t = proven; t != turns.end(); ++t) {
    ASSERT_TRUE(t->after.proof) << "turn " << t->number;
    EXPECT_EQ(t->after.proof->win, t->side == 1) << "turn " << t->number;
    if (t != proven) {
      EXPECT_TRUE(t->before.Certain()) << "turn " << t->number;
    }
  }
  // Master's last open chance was its turn just before.
  const auto last_open = proven->side == 2 ? proven : std::prev(proven);
  EXPECT_EQ(last_open->side, 2);
  EXPECT_GT(last_open->before.chance, 0.0);
}

TEST(TurnEstimates, TheChosenTurnComesFirstThenByVisitsAndAWinIsCertain) {
  const std::atomic<bool> never{false};
  SearchLimits limits;
  limits.time.reset();
  limits.playouts = 2000;
  limits.threads = 1;
  const Position opening(1, 2, 1);
  SearchResult result = SearchTurn(opening, 1, limits, never);
  std::vector<Candidate> best = BestCandidates(result, 3);
  ASSERT_EQ(best.size(), 3u);
  EXPECT_EQ(best[0].turn, result.turn);
  EXPECT_FALSE(best[0].chance.Certain());
  EXPECT_GE(best[1].share, best[2].share);
  // The tail follows the visits, whatever the order the turns were made in.
  std::reverse(result.weighed.begin(), result.weighed.end());
  std::vector<long> visits;
  for (const Candidate& c : BestCandidates(result, 8))
    visits.push_back(std::lround(c.share * 2000));
  EXPECT_TRUE(std::is_sorted(visits.begin() + 1, visits.end(), std::greater<long>()));

  Position p(1, 2, 1);
  for (const Move& m : {PieceMove(1, 24), PieceMove(2, 100), PieceMove(1, 26), PieceMove(2, 101),
                        PieceMove(1, 46), PieceMove(2, 102)}) {
    p.Play(m);
  }
  const std::vector<Candidate> win = BestCandidates(SearchTurn(p, 1, limits, never), 3);
  ASSERT_EQ(win.size(), 1u);
  EXPECT_EQ(win[0].turn, std::vector<Move>{PieceMove(1, 48)});
  EXPECT_EQ(win[0].chance.proof, (Proof{true, 1}));
}

}  // namespace
}  // namespace vexa
