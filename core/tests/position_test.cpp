#include <gtest/gtest.h>

#include <random>

#include "core/position.h"
#include "core/square_scan.h"
#include "core/squares_through.h"

namespace vexa {
namespace {

// Random games played to their end: after every piece the position's quick
// judge (the squares through the placed cell) must agree with a scan of the
// whole board, and the stocks and empty cells with a count of the board.
TEST(Position, RandomGamesAreJudgedAsAWholeBoardScanWouldJudgeThem) {
  std::mt19937 random(20261209);
  int squares = 0;
  int stock_outs = 0;
  for (int game = 0; game < 400; ++game) {
    Position p(Player1, Cpu, game % 2 == 0 ? Player1 : Cpu);
    int placements = 0;
    while (!p.Result()) {
      const Side side = p.ToMove();
      std::vector<int> empty;
      for (int cell = 0; cell < kCellCount; ++cell) {
        if (IsPlayableCell(cell) && p.Board()[cell] == Empty) empty.push_back(cell);
      }
      ASSERT_EQ(static_cast<int>(empty.size()), p.EmptyCells());
      const int cell = empty[random() % empty.size()];
      const bool blocker = p.Blockers(side) > 0 && random() % 4 == 0;
      const Move move = blocker ? BlockerMove(side, cell) : PieceMove(side, cell);
      ASSERT_TRUE(p.IsLegal(move));
      p.Play(move);
      ++placements;
      if (blocker) {
        EXPECT_EQ(p.ToMove(), side);  // a blocker keeps the turn
        continue;
      }
      const std::vector<SquareCorners> scan = ScanSquares(p.Board(), side);
      if (!scan.empty()) {
        ASSERT_TRUE(p.Result());
        EXPECT_EQ(*p.Result(), (Outcome{side, EndReason::Square, scan.back()}));
        EXPECT_TRUE(CompletesSquare(p.Board(), cell, side));
        ++squares;
      } else if (p.Pieces(Player1) == 0 && p.Pieces(Cpu) == 0) {
        ASSERT_TRUE(p.Result());
        const int a = p.Blockers(Player1);
        const int b = p.Blockers(Cpu);
        EXPECT_EQ(p.Result()->winner, a > b ? Player1 : b > a ? Cpu : 0);
        ++stock_outs;
      } else {
        ASSERT_FALSE(p.Result()) << "game " << game << " placement " << placements;
        EXPECT_EQ(p.ToMove(), side == Player1 ? Cpu : Player1);
      }
    }
    // Nothing is legal after the end.
    EXPECT_EQ(p.Refusal(PieceMove(p.ToMove(), 60)), Illegal::GameOver);
  }
  // Both endings occurred often enough to mean something.
  EXPECT_GT(squares, 100);
  EXPECT_GT(stock_outs, 10);
}

TEST(Position, RefusesWhatTheRulesDoNotAllowAndSaysWhy) {
  Position p(Player1, Player2, Player1);
  EXPECT_EQ(p.Refusal(PieceMove(Player2, 60)), Illegal::NotItsTurn);
  EXPECT_EQ(p.Refusal(PieceMove(Player1, 110)), Illegal::Corner);
  EXPECT_EQ(p.Refusal(PieceMove(Player1, 121)), Illegal::OffBoard);
  EXPECT_EQ(p.Refusal(BlockerMove(Player1, -1)), Illegal::OffBoard);
  p.Play(BlockerMove(Player1, 60));
  EXPECT_EQ(p.Refusal(PieceMove(Player1, 60)), Illegal::Taken);
  EXPECT_EQ(DescribeIllegal(Illegal::Taken, PieceMove(Player1, 60)), "cell 60 is taken");
  Stocks none{};
  const Position empty_stocks =
      Position::SetUp(Player1, Player2, BoardCells{}, none, none, Player1);
  EXPECT_EQ(empty_stocks.Refusal(PieceMove(Player1, 61)), Illegal::NoStock);
  EXPECT_EQ(DescribeIllegal(Illegal::NoStock, BlockerMove(Player1, 61)),
            "side 1 has no blocker left");
  EXPECT_TRUE(AreLegalInOrder(p, {PieceMove(Player1, 61), BlockerMove(Player2, 62)}));
  EXPECT_FALSE(AreLegalInOrder(p, {PieceMove(Player1, 61), PieceMove(Player1, 62)}));
}

TEST(Position, ASetUpBoardWithASquareIsJudgedByItsNextPiece) {
  // 24-26-46-48 stands complete; the next piece of side 1, anywhere, finds it.
  BoardCells board{};
  for (const int cell : {24, 26, 46, 48})
    board[cell] = Player1;
  Stocks full;
  full.fill(kPiecesPerSide);
  Stocks blockers;
  blockers.fill(kBlockersPerSide);
  Position p = Position::SetUp(Player1, Cpu, board, full, blockers, Player1);
  p.Play(PieceMove(Player1, 100));
  ASSERT_TRUE(p.Result());
  EXPECT_EQ(p.Result()->winner, Player1);
  EXPECT_EQ(p.Result()->square, ScanSquares(board, Player1).back());
}

}  // namespace
}  // namespace vexa
