#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/game.h"
#include "core/square_scan.h"
#include "recording_shell.h"

namespace vexa {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::RecordingShell;
using testing::RunToEnd;

// A stand-in for the computer player: after its pause it puts a piece on the
// next cell of its script and hands the move back, as the real one does.
class ScriptedCpu : public CpuOpponent {
 public:
  ScriptedCpu(Game& game, std::vector<int> cells) : game_(game), cells_(std::move(cells)) {}
  int moves = 0;
  Task<> CpuMove() override {
    const int number = game_.GameNumber();
    co_await game_.Shell().Pause(1000);
    if (number != game_.GameNumber()) co_return;
    game_.ApplyMove(PieceMove(Cpu, cells_.at(moves++)));
    game_.PassTurn(Player1);
    co_await game_.CheckSquare(Cpu);
    co_await game_.CheckSquare(Player1);
  }

 private:
  Game& game_;
  std::vector<int> cells_;
};

class GameTest : public ::testing::Test {
 protected:
  GameTest() { game.SetOnlineLink(&shell); }
  void Start(GameMode mode) {
    shell.mode = mode;
    RunToEnd(game.StartGame(StartedFrom::Menu));
  }
  // An online game as the host's settings or its "StTn" start it.
  void StartOnline(Side first_mover) {
    shell.mode = GameMode::VsOnline;
    RunToEnd(game.StartGame(StartedFrom::OnlineStart, first_mover));
  }
  // Puts pieces on the board as if they had been played, nothing else.
  void Put(std::initializer_list<int> cells, Side side) {
    BoardCells board = game.Board();
    for (int c : cells)
      board[c] = side;
    game.SetUpPosition(board, game.PieceStock(), game.BlockerStock(), game.Turn());
  }
  void Click(int cell, MoveKind kind = MoveKind::Piece) { RunToEnd(game.PlaceLocal(cell, kind)); }
  // Plays the cells in turn, the first by whoever is to move.
  void Play(std::initializer_list<int> cells) {
    for (int c : cells)
      Click(c);
  }
  // Fills both piece stocks without a square: each side takes the first
  // empty playable cell that gives it none.
  void PlayOutWithoutSquare() {
    while (game.GameRunning()) {
      const Side mover = game.Turn();
      for (int cell = 0; cell < kCellCount; ++cell) {
        if (!IsPlayableCell(cell) || game.Board()[cell] != Empty) continue;
        BoardCells trial = game.Board();
        trial[cell] = mover;
        if (!ScanSquares(trial, mover).empty()) continue;
        Click(cell);
        break;
      }
    }
  }
  int BoardCount(std::int16_t value) const {
    return static_cast<int>(std::count(game.Board().begin(), game.Board().end(), value));
  }

  RecordingShell shell;
  Game game{shell};
};

TEST_F(GameTest, VsHumanGameEndsWithPlayer1sUprightSquare) {
  Start(GameMode::VsHuman);
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_EQ(game.records.GamesPlayed, 1);
  Play({12, 50, 13, 51, 23, 52});
  EXPECT_EQ(game.Turn(), Player1);
  shell.calls.clear();

  Click(24);

  // The placement, the judge's pause and outline, then the result.
  EXPECT_THAT(shell.Take(),
              ElementsAre("Move 1 P 24", "Pause 800", "Square 12,13,24,23 of 1", "Turn 0",
                          "Records", "Result Player1 Win", "Options 1 1", "Clicked 24"));
  EXPECT_EQ(game.Turn(), NoTurn);
  EXPECT_EQ(game.records.Wins, 1);
  EXPECT_EQ(game.records.Losses, 0);
  // The ending and the placements, as values.
  EXPECT_EQ(game.Result(), (Outcome{Player1, EndReason::Square, SquareCorners{12, 13, 24, 23}}));
  ASSERT_EQ(game.History().size(), 7u);
  EXPECT_EQ(game.History()[1], PieceMove(Player2, 50));
  EXPECT_EQ(game.History().back(), PieceMove(Player1, 24));
  EXPECT_EQ(shell.moves, game.History());

  // The game is over: no side can place anything.
  Click(60);
  Click(61, MoveKind::Blocker);
  EXPECT_THAT(shell.Take(), ElementsAre("Clicked 60", "Clicked 61"));
  EXPECT_EQ(BoardCount(Empty), kCellCount - 7);
}

TEST_F(GameTest, Player2sTiltedSquareIsDrawnTwiceAndCountsAsALoss) {
  shell.player1_first = false;
  Start(GameMode::VsHuman);
  EXPECT_EQ(game.Turn(), Player2);
  EXPECT_THAT(shell.Take("Turn"), ElementsAre("Turn 2"));
  Play({13, 60, 23, 61, 35, 62, 25});

  auto calls = shell.Take();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "Pause 800"), 2);
  EXPECT_THAT(calls, ::testing::Contains("Result Player2 Win"));
  EXPECT_EQ(game.records.Losses, 1);
  EXPECT_EQ(game.records.Wins, 0);
  EXPECT_EQ(game.Turn(), NoTurn);
}

TEST_F(GameTest, MoreBlockersLeftWinsWithoutTouchingTheRecords) {
  Start(GameMode::VsHuman);
  Click(100, MoveKind::Blocker);  // Player1 spends two blockers, Player2 one.
  Click(101, MoveKind::Blocker);
  Click(5);
  Click(102, MoveKind::Blocker);
  Click(6);
  PlayOutWithoutSquare();

  EXPECT_EQ(game.Turn(), NoTurn);
  EXPECT_EQ(game.PieceStock()[0], 0);
  EXPECT_EQ(game.PieceStock()[1], 0);
  const auto calls = shell.Take();
  const std::vector<std::string> ending(calls.end() - 5, calls.end());
  EXPECT_THAT(ending, ElementsAre("Turn 0", "EnablePanel", "Result Player2 Win", "Options 1 1",
                                  ::testing::StartsWith("Clicked")));
  EXPECT_EQ(game.records.Wins + game.records.Losses, 0);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "Records"), 0);
}

TEST_F(GameTest, EqualBlockersAreADrawAndTheCpuWinsWithMore) {
  Start(GameMode::VsHuman);
  PlayOutWithoutSquare();
  EXPECT_THAT(shell.Take("Result"), ElementsAre("Result Draw"));

  // In "VS CPU" the judge reads the CPU's stock as the other side.
  shell.mode = GameMode::VsCpu;
  game.SetUpPosition(game.Board(), {0, 20, 0, 20}, {2, 6, 3, 6}, Player1);
  EXPECT_TRUE(RunToEnd(game.CheckSquare(Player1)));
  EXPECT_THAT(shell.Take(), ElementsAre("Turn 0", "EnablePanel", "Result You Lose", "Options 0 1"));
}

TEST_F(GameTest, BlockersOnlyWhileTheStockLastsAndTheTurnStays) {
  Start(GameMode::VsHuman);
  shell.calls.clear();
  for (int cell = 30; cell < 36; ++cell)
    Click(cell, MoveKind::Blocker);
  EXPECT_THAT(shell.Take("Move"), ElementsAre("Move 1 B 30", "Move 1 B 31", "Move 1 B 32",
                                              "Move 1 B 33", "Move 1 B 34", "Move 1 B 35"));
  Click(40, MoveKind::Blocker);  // none left
  Click(30);                     // occupied: a blocker attempt, not a piece
  EXPECT_EQ(game.Board()[40], Empty);
  EXPECT_EQ(game.BlockerStock()[0], 0);
  EXPECT_EQ(game.PieceStock()[0], 20);
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_EQ(BoardCount(Blocker), 6);

  Click(41);  // Player1's piece passes the move; Player2 uses its own stock.
  Click(42, MoveKind::Blocker);
  EXPECT_THAT(shell.Take("Move"), ElementsAre("Move 1 P 41", "Move 2 B 42"));
  EXPECT_EQ(game.Turn(), Player2);
  ASSERT_EQ(game.History().size(), 8u);
  EXPECT_EQ(game.History()[5], BlockerMove(Player1, 35));
  EXPECT_EQ(game.History()[6], PieceMove(Player1, 41));
  EXPECT_EQ(game.History()[7], BlockerMove(Player2, 42));
}

TEST_F(GameTest, ClicksBeforeAnyGameAndOnTheOthersTurnPlaceNothing) {
  shell.mode = GameMode::VsHuman;
  Click(25);
  Click(26, MoveKind::Blocker);
  EXPECT_THAT(shell.Take(), ElementsAre("Clicked 25", "Clicked 26"));
  EXPECT_EQ(BoardCount(Empty), kCellCount);

  game.SetUpPosition(game.Board(), game.PieceStock(), game.BlockerStock(), Remote);
  Click(25);
  game.SetUpPosition(game.Board(), game.PieceStock(), game.BlockerStock(), Cpu);
  Click(25, MoveKind::Blocker);
  EXPECT_THAT(shell.Take(), ElementsAre("Clicked 25", "Clicked 25"));
  EXPECT_EQ(BoardCount(Empty), kCellCount);
}

TEST_F(GameTest, StartResetsBoardStocksAndMarkersInOrder) {
  Start(GameMode::VsHuman);
  Play({12, 50, 13});
  Click(60, MoveKind::Blocker);
  shell.calls.clear();
  Start(GameMode::VsHuman);

  EXPECT_THAT(shell.Take(), ElementsAre("BoardReset", "StopClock", "Started 1", "Turn 1",
                                        "CloseConnection", "Options 3 0"));
  EXPECT_EQ(game.records.GamesPlayed, 2);
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_EQ(BoardCount(Empty), kCellCount);
  EXPECT_THAT(game.History(), IsEmpty());
  EXPECT_EQ(game.PieceStock(), (std::array<std::int16_t, 4>{20, 20, 20, 20}));
  EXPECT_EQ(game.BlockerStock(), (std::array<std::int16_t, 4>{6, 6, 6, 6}));
}

TEST_F(GameTest, VsCpuGameHandsEachMoveToTheCpuInsideTheClick) {
  ScriptedCpu cpu(game, {60, 61, 71, 72});
  game.SetCpuOpponent(&cpu);
  Start(GameMode::VsCpu);
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_EQ(cpu.moves, 0);
  EXPECT_THAT(shell.Take("Started"), ElementsAre("Started 0"));

  Click(12);
  EXPECT_EQ(cpu.moves, 1);
  EXPECT_EQ(game.Board()[60], Cpu);
  EXPECT_EQ(game.Turn(), Player1);
  // The readout is written last, after the CPU has answered.
  const auto calls = shell.Take();
  EXPECT_EQ(calls.back(), "Clicked 12");
  EXPECT_THAT(std::vector<std::string>(calls.begin(), calls.begin() + 4),
              ElementsAre("Move 1 P 12", "Turn 3", "Pause 1000", "Move 3 P 60"));

  // The CPU completes a square: "You Lose", a loss, and its closing judge for
  // side 1 finds the game over and announces nothing more.
  Play({1, 2, 3});
  EXPECT_EQ(game.Turn(), NoTurn);
  EXPECT_EQ(game.records.Losses, 1);
  EXPECT_THAT(shell.Take("Result"), ElementsAre("Result You Lose"));
}

TEST_F(GameTest, CpuMovingFirstMovesBeforeTheConnectionIsClosedAndThePanelLocked) {
  ScriptedCpu cpu(game, {60});
  game.SetCpuOpponent(&cpu);
  shell.cpu_first = true;
  Start(GameMode::VsCpu);
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_EQ(game.PieceStock()[Cpu - 1], 19);
  EXPECT_FALSE(game.CanUndo());  // the computer's opening is not the player's to take back
  const auto calls = shell.Take();
  EXPECT_THAT(calls, ElementsAre("BoardReset", "StopClock", "Started 0", "Turn 3", "Pause 1000",
                                 "Move 3 P 60", "Turn 1", "CloseConnection", "Options 3 0"));
}

TEST_F(GameTest, AbandonClearsEverythingButTheRecordsAndEndsTheConnection) {
  Start(GameMode::VsHuman);
  Play({12, 50, 13});
  Click(60, MoveKind::Blocker);
  shell.calls.clear();

  RunToEnd(game.AbandonGame());
  EXPECT_THAT(shell.Take(),
              ElementsAre("StopClock", "Turn 0", "BoardReset", "Options 1 1", "CloseConnection"));
  EXPECT_EQ(game.Turn(), NoTurn);
  EXPECT_EQ(BoardCount(Empty), kCellCount);
  EXPECT_EQ(game.PieceStock(), (std::array<std::int16_t, 4>{20, 20, 20, 20}));
  EXPECT_EQ(game.BlockerStock(), (std::array<std::int16_t, 4>{6, 6, 6, 6}));
  EXPECT_EQ(game.records.GamesPlayed, 1);
  EXPECT_THAT(game.History(), IsEmpty());
  EXPECT_EQ(game.Result(), std::nullopt);

  Click(30);  // nothing until a new game
  EXPECT_EQ(game.Board()[30], Empty);
  // Abandoning when no game runs clears the same way.
  RunToEnd(game.AbandonGame());
  EXPECT_EQ(game.records.GamesPlayed, 1);
}

TEST_F(GameTest, AbandonDuringTheJudgesPauseLeavesNoOutlineAndNoResult) {
  Start(GameMode::VsHuman);
  Play({12, 50, 13, 51, 23, 52});
  shell.hold_pauses = true;
  Task<> click = game.PlaceLocal(24, MoveKind::Piece);
  click.Resume();
  ASSERT_FALSE(click.Done());
  EXPECT_EQ(game.Turn(), NoTurn);  // set before the pause: clicks now do nothing
  RunToEnd(game.AbandonGame());
  shell.calls.clear();

  shell.pause_gate.Open();
  EXPECT_TRUE(click.Done());
  EXPECT_THAT(shell.Take(), ElementsAre("Clicked 24"));
  EXPECT_EQ(game.records.Wins, 0);
}

TEST_F(GameTest, OnlinePlacementsAreSentAndTheClockStopsBeforeThePiece) {
  game.online.ClockStyle = GameOption::Excite;
  StartOnline(Player1);
  EXPECT_THAT(shell.Take("StartClock"), ElementsAre("StartClock"));
  EXPECT_EQ(game.Turn(), Player1);

  Click(5, MoveKind::Blocker);
  Click(60);
  EXPECT_THAT(shell.Take(), ElementsAre("Move 1 B 5", "SendBlocker 5", "Clicked 5", "Move 1 P 60",
                                        "StopClock", "SendPiece 60", "Turn 4", "Clicked 60"));
  EXPECT_EQ(game.Turn(), Remote);

  // A menu start in "VS Online" clears this board but keeps the turn and
  // sends nothing.
  RunToEnd(game.StartGame(StartedFrom::Menu));
  EXPECT_EQ(game.Turn(), Remote);
  EXPECT_EQ(game.records.GamesPlayed, 2);
  for (const auto& call : shell.Take()) {
    EXPECT_EQ(call.rfind("Send", 0), std::string::npos);
    EXPECT_NE(call, "AskForSettings");
    EXPECT_NE(call, "CloseConnection");
  }
}

TEST_F(GameTest, OnlineWinsNameThePlayersAndOnlyTheHostSendsShow) {
  shell.local_name = "Hanako";
  game.online.OpponentName = "Jiro";
  StartOnline(Player1);
  Put({12, 13, 23}, Player1);
  Click(24);
  EXPECT_THAT(shell.Take(),
              ::testing::IsSupersetOf({"Result Hanako Win", "AskForSettings", "ShowSettings"}));

  game.online.IsGuest = true;
  StartOnline(Remote);
  Put({60, 61, 71}, Remote);
  RunToEnd(game.PlayPeerPiece(72));
  const auto calls = shell.Take();
  EXPECT_THAT(calls, ::testing::Contains("Result Jiro Win"));
  EXPECT_THAT(calls, ::testing::Contains("Options 1 1"));
  EXPECT_THAT(calls, ::testing::Not(::testing::Contains("AskForSettings")));
  EXPECT_EQ(game.records.Wins, 1);
  EXPECT_EQ(game.records.Losses, 1);
}

TEST_F(GameTest, UndoInVsHumanTakesBackOnePlacementAndRestoresThePanels) {
  Start(GameMode::VsHuman);
  EXPECT_FALSE(game.CanUndo());  // nothing placed yet
  Play({12, 50});
  Click(60, MoveKind::Blocker);  // Player1's blocker: the turn stays
  shell.calls.clear();

  game.Undo();
  EXPECT_EQ(game.Board()[60], Empty);
  EXPECT_EQ(game.BlockerStock()[Player1 - 1], kBlockersPerSide);
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_THAT(shell.Take(), ElementsAre("BoardReset", "Turn 1"));
  EXPECT_EQ(game.PieceStock()[Player2 - 1], kPiecesPerSide - 1);  // Player2's piece stays

  game.Undo();  // Player2's piece: the move goes back to Player2
  EXPECT_EQ(game.Turn(), Player2);
  EXPECT_EQ(game.Board()[50], Empty);
  EXPECT_EQ(game.PieceStock()[Player2 - 1], kPiecesPerSide);
  EXPECT_THAT(shell.Take("Turn"), ::testing::ElementsAre("Turn 2"));
  EXPECT_EQ(game.History(), std::vector<Move>{PieceMove(Player1, 12)});
  EXPECT_EQ(game.records.GamesPlayed, 1);

  // Not after the game has ended.
  Play({50, 13, 51, 23, 52, 24});
  EXPECT_FALSE(game.CanUndo());
  game.Undo();
  EXPECT_EQ(game.Board()[24], Player1);
}

TEST_F(GameTest, UndoInVsCpuGoesBackToTheStartOfThePlayersLastTurn) {
  ScriptedCpu cpu(game, {60, 61, 71});
  game.SetCpuOpponent(&cpu);
  Start(GameMode::VsCpu);
  Click(5, MoveKind::Blocker);
  Click(12);                    // the CPU answers on 60
  Click(13);                    // the CPU answers on 61
  Click(6, MoveKind::Blocker);  // a blocker of the turn in progress
  ASSERT_TRUE(game.CanUndo());

  game.Undo();
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_THAT(game.History(), ::testing::ElementsAre(BlockerMove(Player1, 5),
                                                     PieceMove(Player1, 12), PieceMove(Cpu, 60)));
  EXPECT_EQ(game.Board()[6], Empty);
  EXPECT_EQ(game.Board()[61], Empty);
  EXPECT_EQ(game.PieceStock()[Cpu - 1], kPiecesPerSide - 1);
  EXPECT_EQ(game.BlockerStock()[Player1 - 1], kBlockersPerSide - 1);

  game.Undo();  // back to an empty board, the player to move
  EXPECT_THAT(game.History(), IsEmpty());
  EXPECT_EQ(BoardCount(Empty), kCellCount);
  EXPECT_FALSE(game.CanUndo());

  // Not while the computer thinks, nor online.
  shell.hold_pauses = true;
  Task<> click = game.PlaceLocal(12, MoveKind::Piece);
  click.Resume();
  EXPECT_FALSE(game.CanUndo());
  shell.pause_gate.Open();
  EXPECT_TRUE(game.CanUndo());
  shell.mode = GameMode::VsOnline;
  EXPECT_FALSE(game.CanUndo());
}

TEST_F(GameTest, EveryEndingIsReportedOnceAndAbandonsOnlyWithPlacements) {
  Start(GameMode::VsHuman);
  RunToEnd(game.AbandonGame());  // nothing placed: nothing to report
  Start(GameMode::VsHuman);
  Play({12, 50});
  Start(GameMode::VsHuman);  // a new game over one in progress abandons it
  Play({12, 50});
  RunToEnd(game.AbandonGame());
  Start(GameMode::VsHuman);
  Play({12, 50, 13, 51, 23, 52, 24});
  RunToEnd(game.AbandonGame());  // after the result: nothing more
  Start(GameMode::VsHuman);
  Play({12});
  game.InterruptGame(EndReason::PeerLeft);

  const Outcome abandoned{0, EndReason::Abandoned, std::nullopt};
  EXPECT_THAT(shell.endings, ::testing::ElementsAre(
                                 abandoned, abandoned,
                                 Outcome{Player1, EndReason::Square, SquareCorners{12, 13, 24, 23}},
                                 Outcome{0, EndReason::PeerLeft, std::nullopt}));
}

}  // namespace
}  // namespace vexa
