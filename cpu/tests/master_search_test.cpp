#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <initializer_list>
#include <thread>
#include <utility>

#include "core/tests/recording_shell.h"
#include "cpu/choose_turn.h"
#include "cpu/cpu_player.h"
#include "cpu/master_search.h"
#include "cpu/reach_lists.h"
#include "cpu/search_board.h"

namespace vexa {
namespace {

using ::testing::ElementsAre;
using namespace std::chrono_literals;

// A board with the given cells set to the given values.
BoardCells BoardWith(std::initializer_list<std::pair<int, CellValue>> cells) {
  BoardCells board{};
  for (const auto& [cell, value] : cells)
    board[cell] = value;
  return board;
}

// Sides 1 and 3, the mover with these stocks, the other with full pieces.
Position PositionFor(const BoardCells& board, Side mover, int pieces = kPiecesPerSide,
                     int blockers = kBlockersPerSide, int their_blockers = kBlockersPerSide) {
  Stocks piece_stock;
  Stocks blocker_stock;
  piece_stock.fill(kPiecesPerSide);
  blocker_stock.fill(static_cast<std::int16_t>(their_blockers));
  piece_stock[mover - 1] = static_cast<std::int16_t>(pieces);
  blocker_stock[mover - 1] = static_cast<std::int16_t>(blockers);
  return Position::SetUp(Player1, Cpu, board, piece_stock, blocker_stock, mover);
}

SearchLimits Playouts(long playouts, int threads = 1, std::uint64_t seed = 1) {
  SearchLimits limits;
  limits.time.reset();
  limits.playouts = playouts;
  limits.threads = threads;
  limits.seed = seed;
  return limits;
}

SearchResult Search(const Position& p, const SearchLimits& limits) {
  const std::atomic<bool> stop{false};
  return SearchTurn(p, p.ToMove(), limits, stop);
}

// The turn is one the rules allow: blockers within the stock, then one
// piece, each on an empty playable cell; afterwards the board it leaves.
BoardCells CheckLegal(Position p, const std::vector<Move>& turn) {
  EXPECT_FALSE(turn.empty());
  if (turn.empty()) return p.Board();
  EXPECT_EQ(turn.back().kind, MoveKind::Piece);
  for (std::size_t n = 0; n < turn.size(); ++n) {
    const Move& m = turn[n];
    EXPECT_EQ(m.kind, n + 1 == turn.size() ? MoveKind::Piece : MoveKind::Blocker);
    EXPECT_TRUE(p.IsLegal(m)) << "cell " << m.cell;
    p.Play(m);
  }
  return p.Board();
}

// Side 1's pieces with four reach cells, 48, 54, 16 and 104, and a pair of
// the CPU's.
const BoardCells kFourThreats = BoardWith({{24, Player1},
                                           {26, Player1},
                                           {46, Player1},
                                           {80, Player1},
                                           {82, Player1},
                                           {102, Player1},
                                           {30, Player1},
                                           {32, Player1},
                                           {52, Player1},
                                           {57, Cpu},
                                           {59, Cpu}});

TEST(MasterSearch, TakesItsWinningCellBeforeAnyDefence) {
  // Both sides could win next; either side to move takes its own cell, no
  // blocker and no playout spent.
  const BoardCells board =
      BoardWith({{24, Cpu}, {26, Cpu}, {46, Cpu}, {60, Player1}, {62, Player1}, {82, Player1}});
  const SearchResult cpu = Search(PositionFor(board, Cpu), Playouts(500));
  EXPECT_THAT(cpu.turn, ElementsAre(PieceMove(Cpu, 48)));
  EXPECT_EQ(cpu.playouts, 0);
  EXPECT_EQ(cpu.proof, (Proof{true, 1}));
  EXPECT_EQ(cpu.value, 1.0);
  EXPECT_THAT(Search(PositionFor(board, Player1), Playouts(500)).turn,
              ElementsAre(PieceMove(Player1, 84)));
}

TEST(MasterSearch, ClosesEveryReachCellItsBlockersAndPieceCan) {
  ReachLists lists;
  // One reach cell: closed, by a blocker or by the piece.
  const Position one = PositionFor(
      BoardWith({{24, Player1}, {26, Player1}, {46, Player1}, {60, Cpu}, {62, Cpu}}), Cpu);
  ListReaches(Player1, CheckLegal(one, Search(one, Playouts(2000)).turn), lists);
  EXPECT_TRUE(lists.ReachList(Player1).Empty());

  // Four with three blockers: the blockers and the piece close them all,
  // and the board decides nothing yet.
  const Position four = PositionFor(kFourThreats, Cpu, kPiecesPerSide, 3);
  EXPECT_EQ(SearchBoard(four, Cpu).Decided(), std::nullopt);
  const SearchResult closed = Search(four, Playouts(2000));
  EXPECT_EQ(closed.turn.size(), 4u);
  EXPECT_NE(closed.proof, (Proof{false, 2}));
  ListReaches(Player1, CheckLegal(four, closed.turn), lists);
  EXPECT_TRUE(lists.ReachList(Player1).Empty());

  // Four with two blockers cannot all be closed: it closes three, and
  // knows the game lost on the opponent's next turn.
  const Position lost = PositionFor(kFourThreats, Cpu, kPiecesPerSide, 2);
  EXPECT_EQ(SearchBoard(lost, Cpu).Decided(), (Proof{false, 2}));
  const SearchResult hopeless = Search(lost, Playouts(2000));
  EXPECT_EQ(hopeless.proof, (Proof{false, 2}));
  EXPECT_EQ(hopeless.value, 0.0);
  ListReaches(Player1, CheckLegal(lost, hopeless.turn), lists);
  EXPECT_EQ(lists.ReachList(Player1).Count(), 1);

  // Two with one blocker, the opponent out of blockers: the piece goes on
  // 48, where it makes two cells of the CPU's own (60 and 72), the blocker
  // on 104.
  const BoardCells fork = BoardWith({{24, Player1},
                                     {26, Player1},
                                     {46, Player1},
                                     {80, Player1},
                                     {82, Player1},
                                     {102, Player1},
                                     {49, Cpu},
                                     {50, Cpu},
                                     {59, Cpu},
                                     {70, Cpu}});
  const SearchResult forks = Search(PositionFor(fork, Cpu, kPiecesPerSide, 1, 0), Playouts(400));
  EXPECT_THAT(forks.turn, ElementsAre(BlockerMove(Cpu, 104), PieceMove(Cpu, 48)));
  EXPECT_EQ(forks.proof, (Proof{true, 3}));
}

// After `turn` the opponent has no winning cell and more of the mover's to
// close than its blockers and piece can, with turns left for both: a win
// by force in two turns of the mover. Told by the reach lists, not by the
// search's own reckoning.
bool WinsByForceInTwo(Position p, const std::vector<Move>& turn) {
  const Side me = p.ToMove();
  const Side them = p.Opponent(me);
  for (const Move& move : turn)
    p.Play(move);
  if (p.Result() || p.Pieces(them) == 0 || p.Pieces(me) == 0) return false;
  ReachLists lists;
  ListReaches(them, p.Board(), lists);
  ListReaches(me, p.Board(), lists);
  return lists.ReachList(them).Empty() && lists.ReachList(me).Count() > p.Blockers(them) + 1;
}

// Positions from real games, VeryHard against Normal, where the side to
// move has no winning cell but a turn that wins by force in two: Master
// plays such a turn every time, and knows it.
TEST(MasterSearch, PlaysAWinByForceInTwoWheneverOneExists) {
  SeededCellSource random(11);
  TurnChooser chooser;
  int found = 0;
  for (int game = 0; game < 30; ++game) {
    Position p(Player1, Cpu, game % 2 == 0 ? Cpu : Player1);
    while (!p.Result()) {
      const Side mover = p.ToMove();
      ReachLists lists;
      ListReaches(mover, p.Board(), lists);
      const SearchBoard board(p, mover);
      bool exists = false;
      for (const int piece : board.Turns())
        exists = exists || WinsByForceInTwo(p, board.TurnFor(piece));
      if (lists.ReachList(mover).Empty() && exists) {
        ++found;
        const SearchResult master = Search(p, Playouts(300, 1, static_cast<std::uint64_t>(found)));
        EXPECT_TRUE(WinsByForceInTwo(p, master.turn)) << "game " << game;
        EXPECT_EQ(master.proof, (Proof{true, 3}));
      }
      const CpuStrength strength = mover == Cpu ? CpuStrength::VeryHard : CpuStrength::Normal;
      for (const Move& move : chooser.Choose(p, mover, strength, random))
        p.Play(move);
    }
  }
  EXPECT_GE(found, 20);
}

TEST(MasterSearch, PlaysALegalTurnOnACrowdedBoard) {
  // Blockers everywhere but five cells; the mover has its last piece and no
  // blocker, and side 1 threatens 48: the piece must go there.
  BoardCells board{};
  for (int cell = 0; cell < kCellCount; ++cell)
    board[cell] = IsPlayableCell(cell) ? Blocker : Empty;
  for (const int cell : {24, 26, 46})
    board[cell] = Player1;
  for (const int cell : {48, 1, 2, 118, 119})
    board[cell] = Empty;
  const Position last = PositionFor(board, Cpu, 1, 0);
  EXPECT_THAT(Search(last, Playouts(300)).turn, ElementsAre(PieceMove(Cpu, 48)));

  // Nothing to close: any of the five, found by playouts that end when the
  // stocks do.
  board[48] = Blocker;
  const Position free_cells = PositionFor(board, Cpu, 3, 1);
  CheckLegal(free_cells, Search(free_cells, Playouts(300)).turn);
}

TEST(MasterSearch, RepeatsItsChoiceForASeedAndAPlayoutBudget) {
  const Position p = PositionFor(
      BoardWith({{60, Player1}, {62, Player1}, {38, Cpu}, {50, Cpu}, {84, Blocker}}), Cpu);
  for (const int threads : {1, 2}) {
    const SearchResult first = Search(p, Playouts(3000, threads, 7));
    EXPECT_EQ(first.playouts, 3000);
    EXPECT_EQ(first.threads, threads);
    // Every thread's visits are in the merged counts.
    long visits = 0;
    for (const WeighedTurn& weighed : first.weighed)
      visits += weighed.visits;
    EXPECT_EQ(visits, 3000);
    EXPECT_EQ(Search(p, Playouts(3000, threads, 7)).turn, first.turn);
  }
}

TEST(MasterSearch, StopsSoonAfterTheFlagWithALegalTurn) {
  const Position p = PositionFor(BoardWith({{60, Player1}, {38, Cpu}}), Cpu);
  SearchLimits limits;
  limits.time = 60s;
  limits.threads = 2;
  std::atomic<bool> stop{false};
  SearchResult result;
  std::thread search([&] { result = SearchTurn(p, Cpu, limits, stop); });
  const auto asked = std::chrono::steady_clock::now();
  stop = true;
  search.join();
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s);
  EXPECT_TRUE(result.stopped);
  CheckLegal(p, result.turn);
}

// Master's strength: eight games against "Hard" at 300 playouts a move,
// the first move alternating, seeded.
TEST(MasterSearch, BeatsHardByAWideMargin) {
  SeededCellSource random(3);
  TurnChooser hard;
  int master_wins = 0;
  for (int game = 0; game < 8; ++game) {
    Position p(Player1, Cpu, game % 2 == 0 ? Cpu : Player1);
    while (!p.Result()) {
      const std::vector<Move> turn =
          p.ToMove() == Cpu ? Search(p, Playouts(300, 1, 100 * game + p.EmptyCells())).turn
                            : hard.Choose(p, Player1, CpuStrength::Hard, random);
      ASSERT_FALSE(turn.empty());
      for (const Move& move : turn)
        p.Play(move);
    }
    master_wins += p.Result()->winner == Cpu ? 1 : 0;
  }
  EXPECT_GE(master_wins, 7);
}

// Through the computer player: the search's time comes out of the thinking
// pause, and its turn is placed and judged like any other.
TEST(MasterSearch, TheCpuPlacesTheSearchedTurnAfterTheRestOfThePause) {
  testing::RecordingShell shell;
  shell.mode = GameMode::VsCpu;
  shell.strength = CpuStrength::Master;
  Game game(shell);
  SearchRunner runner;
  SeededCellSource random(1);
  CpuPlayer cpu(game, runner, random);
  cpu.SetMasterLimits(Playouts(200));
  game.SetUpPosition(BoardWith({{24, Player1}, {26, Player1}, {46, Player1}}), {19, 20, 20, 20},
                     {6, 6, 6, 6}, Cpu);
  testing::RunToEnd(cpu.CpuMove());

  const std::vector<std::string> pauses = shell.Take("Pause");
  ASSERT_EQ(pauses.size(), 1u);
  EXPECT_LE(std::stoi(pauses[0].substr(6)), kThinkingPauseMs);
  EXPECT_FALSE(cpu.Thinking());
  ASSERT_FALSE(game.History().empty());
  EXPECT_EQ(game.History().back().kind, MoveKind::Piece);
  EXPECT_EQ(game.Board()[48], game.History().size() == 1 ? Cpu : Blocker);
  EXPECT_EQ(game.Turn(), Player1);
}

}  // namespace
}  // namespace vexa
