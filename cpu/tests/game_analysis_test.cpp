#include "cpu/game_analysis.h"

#include <gtest/gtest.h>

#include "cpu/turn_estimates.h"

namespace vexa {
namespace {

// The analysis of a record, its searches run here: small budgets, one
// thread, a seed per search.
GameAnalysis Analyse(const std::vector<Move>& moves) {
  GameAnalysis analysis(moves, 1);
  const std::atomic<bool> never{false};
  while (const auto request = analysis.Next()) {
    SearchLimits limits;
    limits.time.reset();
    limits.playouts = request->weigh_turn.empty() ? 400 : 100;
    limits.threads = 1;
    limits.seed = static_cast<std::uint64_t>(request->number);
    limits.weigh_turn = request->weigh_turn;
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
  // The double threat: certain at once, and the loser's reply changes
  // nothing: lost before and after, and no mark for it.
  EXPECT_EQ(turns[6].after, 1.0);
  EXPECT_EQ(turns[7].before, 0.0);
  EXPECT_EQ(turns[7].after, 0.0);
  EXPECT_EQ(turns[7].mark, TurnMark::None);
  // The winning turn is the best one, certain, unmarked.
  EXPECT_EQ(turns[8].best, std::vector<Move>{PieceMove(1, 2)});
  EXPECT_EQ(turns[8].before, 1.0);
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

TEST(TurnEstimates, TheChosenTurnComesFirstAndAWinningCellAlone) {
  const std::atomic<bool> never{false};
  SearchLimits limits;
  limits.time.reset();
  limits.playouts = 2000;
  limits.threads = 1;
  const Position opening(1, 2, 1);
  const SearchResult result = SearchTurn(opening, 1, limits, never);
  const std::vector<Candidate> best = BestCandidates(opening, 1, result, 3);
  ASSERT_EQ(best.size(), 3u);
  EXPECT_EQ(best[0].turn, result.turn);
  EXPECT_GE(best[1].share, best[2].share);

  Position p(1, 2, 1);
  for (const Move& m : {PieceMove(1, 24), PieceMove(2, 100), PieceMove(1, 26), PieceMove(2, 101),
                        PieceMove(1, 46), PieceMove(2, 102)}) {
    p.Play(m);
  }
  const std::vector<Candidate> win = BestCandidates(p, 1, SearchTurn(p, 1, limits, never), 3);
  ASSERT_EQ(win.size(), 1u);
  EXPECT_EQ(win[0].turn, std::vector<Move>{PieceMove(1, 48)});
  EXPECT_EQ(win[0].win, 1.0);
}

}  // namespace
}  // namespace vexa
