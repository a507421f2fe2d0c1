#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/game.h"
#include "core/square_scan.h"
#include "core/tests/recording_shell.h"
#include "cpu/cpu_player.h"

namespace vexa {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using testing::RecordingShell;
using testing::RunToEnd;

constexpr CpuStrength kEasy = CpuStrength::Easy;
constexpr CpuStrength kNormal = CpuStrength::Normal;
constexpr CpuStrength kHard = CpuStrength::Hard;
constexpr CpuStrength kVeryHard = CpuStrength::VeryHard;

// Draws the scripted cells first, then seeded ones; keeps every draw.
class ScriptedCells : public CellSource {
 public:
  std::vector<int> script;
  std::vector<int> drawn;
  int DrawCell() override {
    const int cell = drawn.size() < script.size() ? script[drawn.size()] : rest_.DrawCell();
    drawn.push_back(cell);
    return cell;
  }

 private:
  SeededCellSource rest_{7};
};

class CpuPlayerTest : public ::testing::Test {
 protected:
  CpuPlayerTest() {
    shell.mode = GameMode::VsCpu;
    game.SetOnlineLink(&shell);
    game.SetCpuOpponent(&cpu);
  }

  // A fresh "VS CPU" game with these pieces set, the CPU to move and its
  // draws unscripted.
  void Setup(std::initializer_list<int> player1, std::initializer_list<int> cpu_pieces) {
    RunToEnd(game.StartGame(StartedFrom::Menu));
    BoardCells board = game.Board();
    for (int cell : player1)
      board[cell] = Player1;
    for (int cell : cpu_pieces)
      board[cell] = Cpu;
    game.SetUpPosition(board, game.PieceStock(), game.BlockerStock(), Cpu);
    shell.calls.clear();
    shell.moves.clear();
    random.script.clear();
    random.drawn.clear();
  }

  // One CPU move; its placements in order, "B c" or "P c".
  std::vector<std::string> Move(CpuStrength strength) {
    shell.strength = strength;
    RunToEnd(cpu.CpuMove());
    return Placements(shell.moves);
  }

  static std::vector<std::string> Placements(const std::vector<vexa::Move>& moves) {
    std::vector<std::string> out;
    for (const vexa::Move& move : moves) {
      if (move.side != Cpu) continue;
      out.push_back((move.kind == MoveKind::Piece ? "P " : "B ") + std::to_string(move.cell));
    }
    return out;
  }

  void SetCpuBlockers(int count) {
    Stocks blockers = game.BlockerStock();
    blockers[Cpu - 1] = static_cast<std::int16_t>(count);
    game.SetUpPosition(game.Board(), game.PieceStock(), blockers, game.Turn());
  }
  void PutBlockers(const std::vector<int>& cells) {
    BoardCells board = game.Board();
    for (int cell : cells)
      board[cell] = Blocker;
    game.SetUpPosition(board, game.PieceStock(), game.BlockerStock(), game.Turn());
  }

  int BoardCount(std::int16_t value) const {
    return static_cast<int>(std::count(game.Board().begin(), game.Board().end(), value));
  }

  RecordingShell shell;
  Game game{shell};
  SearchRunner runner;
  ScriptedCells random;
  CpuPlayer cpu{game, runner, random};
};

TEST_F(CpuPlayerTest, WinsAtOnceExceptAtEasyWhichOnlyDefends) {
  // The CPU completes 24-26-46-48 with 48; Player1 threatens 84.
  for (CpuStrength strength : {kNormal, kHard, kVeryHard}) {
    SCOPED_TRACE(static_cast<int>(strength));
    Setup({60, 62, 82}, {24, 26, 46});
    EXPECT_THAT(Move(strength), ElementsAre("P 48"));
    EXPECT_EQ(game.Turn(), NoTurn);
    const auto calls = shell.Take();
    EXPECT_THAT(calls, Contains("Result You Lose"));
    // The placement comes before the judge; the turn is not handed back.
    EXPECT_THAT(std::vector<std::string>(calls.begin(), calls.begin() + 3),
                ElementsAre("Pause 1000", "Move 3 P 48", "Pause 800"));
    EXPECT_THAT(calls, ::testing::Not(Contains("Turn 1")));
  }
  EXPECT_EQ(game.records.Losses, 3);

  // "Easy" blocks 84 and places at random; the draws 10, 110 and 120 are
  // unplayable and 84 is taken, so 5 it is. Its winning cell stays open.
  Setup({60, 62, 82}, {24, 26, 46});
  random.script = {10, 110, 120, 84, 5};
  EXPECT_THAT(Move(kEasy), ElementsAre("B 84", "P 5"));
  EXPECT_EQ(game.Board()[48], Empty);
  EXPECT_EQ(game.Turn(), Player1);
  // The move is handed back as on every other path.
  EXPECT_THAT(shell.Take("Turn"), ElementsAre("Turn 1"));
  EXPECT_EQ(game.BlockerStock()[Cpu - 1], 5);
  EXPECT_EQ(game.PieceStock()[Cpu - 1], 19);

  // A random draw may still land on it: the square is announced.
  Setup({60, 62, 82}, {24, 26, 46});
  random.script = {48};
  EXPECT_THAT(Move(kEasy), ElementsAre("B 84", "P 48"));
  EXPECT_EQ(game.Turn(), NoTurn);
  EXPECT_THAT(shell.Take("Result"), ElementsAre("Result You Lose"));
}

TEST_F(CpuPlayerTest, EasyOutOfBlockersAnnouncesTheSquareItsCoveringPieceCompletes) {
  // 48 completes the CPU's square and Player1's 50-70-72 square alike.
  Setup({50, 70, 72}, {24, 26, 46});
  SetCpuBlockers(0);
  EXPECT_THAT(Move(kEasy), ElementsAre("P 48"));
  EXPECT_EQ(game.Turn(), NoTurn);
  const auto calls = shell.Take();
  EXPECT_THAT(calls, Contains("Result You Lose"));
  EXPECT_THAT(calls, ::testing::Not(Contains("Turn 1")));
}

TEST_F(CpuPlayerTest, OneOpenReachCellIsCoveredByABlockerOnlyWhenTheCpuHasSomethingToPrepare) {
  // Player1's only reach cell is 48. With nothing of its own to prepare the
  // CPU puts its piece there.
  Setup({24, 26, 46}, {});
  EXPECT_THAT(Move(kNormal), ElementsAre("P 48"));
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_THAT(shell.Take("Turn"), ElementsAre("Turn 1"));

  // With 80 and 82 (pre-reach cells 102, 104, 58, 60) a blocker covers it
  // and the piece prepares the first of them.
  Setup({24, 26, 46}, {80, 82});
  EXPECT_THAT(Move(kNormal), ElementsAre("B 48", "P 102"));
  EXPECT_THAT(shell.Take("Move"), ElementsAre("Move 3 B 48", "Move 3 P 102"));
  EXPECT_EQ(game.BlockerStock()[Cpu - 1], 5);

  // Without a blocker left, the piece covers it after all.
  Setup({24, 26, 46}, {80, 82});
  SetCpuBlockers(0);
  EXPECT_THAT(Move(kNormal), ElementsAre("P 48"));
}

TEST_F(CpuPlayerTest, SeveralReachCellsTakeOneBlockerEachWhileTheBlockersLast) {
  // Player1's reach cells, in list order: 48, 54, 16, 104. The CPU's own
  // pre-reach cells from 57-59: 79, 81, 35, 37.
  const auto player1 = {24, 26, 46, 80, 82, 102, 30, 32, 52};
  Setup(player1, {57, 59});
  EXPECT_THAT(Move(kNormal), ElementsAre("B 48", "B 54", "B 16", "B 104", "P 79"));
  EXPECT_EQ(game.BlockerStock()[Cpu - 1], 2);

  // Two blockers for four cells: the piece covers the third, 104 stays open.
  Setup(player1, {57, 59});
  SetCpuBlockers(2);
  EXPECT_THAT(Move(kNormal), ElementsAre("B 48", "B 54", "P 16"));
  EXPECT_EQ(game.Board()[104], Empty);
  EXPECT_EQ(game.BlockerStock()[Cpu - 1], 0);
  EXPECT_EQ(game.Turn(), Player1);

  // "Easy" blocks the same way; with none left the first cell gets the piece.
  Setup(player1, {57, 59});
  SetCpuBlockers(0);
  EXPECT_THAT(Move(kEasy), ElementsAre("P 48"));
  EXPECT_EQ(game.BlockerStock()[Cpu - 1], 0);
}

TEST_F(CpuPlayerTest, OwnPreparationLooksAheadForTheMostReachCellsLaterAmongEquals) {
  // The CPU's pre-reach cells 15, 47, 61, 38, 88, 29 would leave it 2, 3, 3,
  // 2, 1 and 1 reach cells: the look-ahead takes 61, the second of the 3s.
  const auto cpu_pieces = {1, 33, 75, 79, 93};
  Setup({}, cpu_pieces);
  EXPECT_THAT(Move(kHard), ElementsAre("P 61"));
  Setup({}, cpu_pieces);
  EXPECT_THAT(Move(kVeryHard), ElementsAre("P 61"));
  // "Normal" takes the first entry.
  Setup({}, cpu_pieces);
  EXPECT_THAT(Move(kNormal), ElementsAre("P 15"));
}

TEST_F(CpuPlayerTest, Player1sPreparationIsTakenFirstAndVeryHardPrefersItsExtension) {
  // Player1's pre-reach cells 46, 48, 2, 4 all leave it no reach cell; the
  // earliest is taken. The CPU's lone piece on 60 prepares nothing.
  Setup({24, 26}, {60});
  EXPECT_THAT(Move(kHard), ElementsAre("P 46"));
  Setup({24, 26}, {60});
  EXPECT_THAT(Move(kVeryHard), ElementsAre("P 62"));
  Setup({24, 26}, {60});
  random.script = {77};
  EXPECT_THAT(Move(kNormal), ElementsAre("P 77"));
}

TEST(InnerExtensionCell, TheHighestInnerPieceWithAFreeCellTwoToTheRight) {
  BoardCells board{};
  EXPECT_EQ(InnerExtensionCell(board, Cpu), std::nullopt);
  board[24] = board[60] = Cpu;
  EXPECT_EQ(InnerExtensionCell(board, Cpu), 62);
  board[62] = Blocker;
  EXPECT_EQ(InnerExtensionCell(board, Cpu), 26);

  board = {};
  board[30] = Cpu;  // column 8
  EXPECT_EQ(InnerExtensionCell(board, Cpu), 32);
  board = {};
  board[31] = Cpu;  // column 9: outside the inner block
  board[12] = Cpu;  // row 1
  board[60] = Player1;
  EXPECT_EQ(InnerExtensionCell(board, Cpu), std::nullopt);
}

TEST_F(CpuPlayerTest, OnAnEmptyBoardHardAndUpDrawUntilTheInnerBlock) {
  for (CpuStrength strength : {kEasy, kNormal}) {
    Setup({}, {});
    random.script = {1, 60};
    EXPECT_THAT(Move(strength), ElementsAre("P 1"));
  }
  for (CpuStrength strength : {kHard, kVeryHard}) {
    Setup({}, {});
    random.script = {1, 119, 60};
    EXPECT_THAT(Move(strength), ElementsAre("P 60"));
  }
}

TEST_F(CpuPlayerTest, TheInnerBlockDrawGivesUpAfter2500EmptyCellsOutsideIt) {
  std::vector<int> inner;
  for (int cell = 0; cell < kCellCount; ++cell) {
    if (IsInnerBlockCell(cell)) inner.push_back(cell);
  }
  ASSERT_EQ(inner.size(), 49u);
  Setup({}, {});
  PutBlockers(inner);
  const BoardCells before = game.Board();

  const auto placed = Move(kHard);

  int empty_draws = 0;
  for (int cell : random.drawn)
    empty_draws += IsPlayableCell(cell) && before[cell] == Empty;
  EXPECT_EQ(empty_draws, kInnerDrawPatience + 1);
  EXPECT_THAT(placed, ElementsAre("P " + std::to_string(random.drawn.back())));
}

TEST_F(CpuPlayerTest, ANewGameDuringThePauseDropsTheRestOfTheMove) {
  shell.strength = kNormal;  // its random draw does not wait
  shell.hold_pauses = true;
  RunToEnd(game.StartGame(StartedFrom::Menu));
  Task<> click = game.PlaceLocal(60, MoveKind::Piece);
  click.Resume();
  ASSERT_FALSE(click.Done());  // the CPU thinks
  EXPECT_EQ(game.Turn(), Cpu);

  // The new game lets the CPU move first: its own move waits as well.
  shell.cpu_first = true;
  Task<> restart = game.StartGame(StartedFrom::Menu);
  restart.Resume();
  ASSERT_FALSE(restart.Done());
  shell.calls.clear();
  shell.pause_gate.Open();
  ASSERT_TRUE(click.Done());
  ASSERT_TRUE(restart.Done());

  // Only the new game's move landed: one piece, one stock entry used.
  EXPECT_EQ(BoardCount(Cpu), 1);
  EXPECT_EQ(BoardCount(Player1), 0);
  EXPECT_EQ(game.PieceStock()[Cpu - 1], 19);
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_THAT(Placements(game.History()), ::testing::SizeIs(1));
  EXPECT_THAT(shell.Take("Move"), ElementsAre(::testing::StartsWith("Move 3 P ")));
}

TEST_F(CpuPlayerTest, ANewGameDuringTheJudgesPauseKeepsItsStocks) {
  Setup({60, 62, 82}, {24, 26, 46});
  shell.strength = kNormal;
  shell.hold_pauses = true;
  Task<> move = cpu.CpuMove();
  move.Resume();
  shell.pause_gate.Open();  // the thinking pause; the winning piece's judge waits
  ASSERT_EQ(game.Board()[48], Cpu);
  ASSERT_FALSE(move.Done());

  RunToEnd(game.StartGame(StartedFrom::Menu));
  shell.calls.clear();
  shell.pause_gate.Open();
  ASSERT_TRUE(move.Done());
  EXPECT_THAT(shell.calls, ::testing::IsEmpty());
  EXPECT_EQ(game.PieceStock()[Cpu - 1], kPiecesPerSide);
  EXPECT_EQ(game.Turn(), Player1);
}

// Whole games through the board clicks. Player1 wins when it can; else it
// blocks the CPU's reach cells while its blockers last and prepares its first
// pre-reach cell, or takes the last free cell.
class CpuGameTest : public CpuPlayerTest,
                    public ::testing::WithParamInterface<std::tuple<CpuStrength, bool>> {
 protected:
  // Player1's turn up to its piece, whose cell it returns.
  int BlockAndChoose() {
    ReachLists view;
    ListReaches(Player1, game.Board(), view);
    ListReaches(Cpu, game.Board(), view);
    if (!view.ReachList(Player1).Empty()) return view.ReachList(Player1).First();
    for (int cell : view.ReachList(Cpu))
      RunToEnd(game.PlaceLocal(cell, MoveKind::Blocker));
    if (!view.PreReachList(Player1).Empty()) return view.PreReachList(Player1).First();
    int cell = kCellCount - 1;
    while (!IsPlayableCell(cell) || game.Board()[cell] != Empty)
      --cell;
    return cell;
  }
};

TEST_P(CpuGameTest, AVsCpuGamePlaysToItsEndThroughTheClicks) {
  const auto [strength, cpu_first] = GetParam();
  shell.strength = strength;
  shell.cpu_first = cpu_first;
  RunToEnd(game.StartGame(StartedFrom::Menu));
  int cpu_blockers = 0;

  for (int turn = 1; game.Turn() == Player1; ++turn) {
    ASSERT_LE(turn, kPiecesPerSide);
    const int cell = BlockAndChoose();
    BoardCells before_cpu = game.Board();
    before_cpu[cell] = Player1;
    const int cpu_pieces = BoardCount(Cpu);
    shell.calls.clear();
    shell.moves.clear();
    RunToEnd(game.PlaceLocal(cell, MoveKind::Piece));
    if (BoardCount(Cpu) == cpu_pieces) break;  // Player1's piece ended the game

    // The CPU's move inside the click: blockers only on Player1's reach
    // cells, then one piece; the readout comes last.
    const auto placed = Placements(shell.moves);
    ASSERT_FALSE(placed.empty());
    ReachLists view;
    ListReaches(Player1, before_cpu, view);
    for (std::size_t n = 0; n + 1 < placed.size(); ++n) {
      EXPECT_EQ(placed[n][0], 'B');
      EXPECT_TRUE(view.ReachList(Player1).Contains(std::stoi(placed[n].substr(2))));
      ++cpu_blockers;
    }
    EXPECT_EQ(placed.back()[0], 'P');
    EXPECT_EQ(BoardCount(Cpu), cpu_pieces + 1);
    EXPECT_EQ(shell.calls.back(), "Clicked " + std::to_string(cell));
  }

  EXPECT_EQ(game.Turn(), NoTurn);
  EXPECT_EQ(game.PieceStock()[Cpu - 1], kPiecesPerSide - BoardCount(Cpu));
  EXPECT_EQ(game.BlockerStock()[Cpu - 1], kBlockersPerSide - cpu_blockers);
  // The result agrees with the board: a square, or both stocks used up.
  const bool cpu_square = !ScanSquares(game.Board(), Cpu).empty();
  const bool player1_square = !ScanSquares(game.Board(), Player1).empty();
  EXPECT_EQ(game.records.Losses, cpu_square ? 1 : 0);
  EXPECT_EQ(game.records.Wins, player1_square ? 1 : 0);
  if (!cpu_square && !player1_square) {
    EXPECT_EQ(game.PieceStock()[Player1 - 1], 0);
  }
  EXPECT_THAT(shell.calls, Contains("Options 0 1"));
}

std::string GameName(const ::testing::TestParamInfo<std::tuple<CpuStrength, bool>>& info) {
  constexpr const char* kNames[] = {"Easy", "Normal", "Hard", "VeryHard"};
  return std::string(kNames[static_cast<int>(std::get<0>(info.param))]) +
         (std::get<1>(info.param) ? "_CpuFirst" : "_Player1First");
}

INSTANTIATE_TEST_SUITE_P(EachStrength, CpuGameTest,
                         ::testing::Combine(::testing::Values(kEasy, kNormal, kHard, kVeryHard),
                                            ::testing::Bool()),
                         GameName);

TEST(SeededCellSource, EveryCellFrom1To120EquallyOftenAndTheSameForOneSeed) {
  SeededCellSource source(42), same(42), other(43);
  std::vector<int> counts(kCellCount, 0);
  for (int n = 0; n < 120 * 1000; ++n) {
    const int cell = source.DrawCell();
    ASSERT_TRUE(cell >= 1 && cell <= 120) << cell;
    ++counts[cell];
  }
  for (int cell = 1; cell <= 120; ++cell)
    EXPECT_NEAR(counts[cell], 1000, 150) << cell;  // 5 sigma

  SeededCellSource replay(42);
  int differing = 0;
  for (int n = 0; n < 20; ++n) {
    const int drawn = replay.DrawCell();
    EXPECT_EQ(same.DrawCell(), drawn);
    differing += other.DrawCell() != drawn;
  }
  EXPECT_GT(differing, 10);
}

}  // namespace
}  // namespace vexa
