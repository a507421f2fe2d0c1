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
  void Click(int cell, int button = kLeftButton) { RunToEnd(game.PlaceFromClick(cell, button)); }
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

  const std::string outline =
      "Outline 255 810,810-1290,810 1290,810-1290,1290 1290,1290-810,1290 "
      "810,1290-810,810";
  EXPECT_THAT(shell.Take(),
              ElementsAre("Paint 24 255", "HidePiece 16", "Pause 800", outline, "TurnMarkers 00",
                          "Result Player1 Win", "SaveRecords", "ShowRecords", "ShowResult",
                          "Options 1 1", "Readout ( 2, 2)"));
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
  Click(61, kRightButton);
  EXPECT_THAT(shell.Take(), ElementsAre("Readout ( 5, 5)", "Readout ( 6, 5)"));
  EXPECT_EQ(BoardCount(Empty), kCellCount - 7);
}

TEST_F(GameTest, Player2sTiltedSquareIsDrawnTwiceAndCountsAsALoss) {
  shell.player1_first = false;
  Start(GameMode::VsHuman);
  EXPECT_EQ(game.Turn(), Player2);
  EXPECT_THAT(shell.Take("TurnMarkers"), ElementsAre("TurnMarkers 01"));
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
  Click(100, kRightButton);  // Player1 spends two blockers, Player2 one.
  Click(101, kMiddleButton);
  Click(5);
  Click(102, kRightButton);
  Click(6);
  PlayOutWithoutSquare();

  EXPECT_EQ(game.Turn(), NoTurn);
  EXPECT_EQ(game.PieceStock()[0], 0);
  EXPECT_EQ(game.PieceStock()[1], 0);
  const auto calls = shell.Take();
  const std::vector<std::string> ending(calls.end() - 5, calls.end());
  EXPECT_THAT(ending, ElementsAre("Result Player2 Win", "EnablePanel", "ShowResult", "Options 1 1",
                                  ::testing::StartsWith("Readout")));
  EXPECT_EQ(game.records.Wins + game.records.Losses, 0);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "SaveRecords"), 0);
}

TEST_F(GameTest, EqualBlockersAreADrawAndTheCpuWinsWithMore) {
  Start(GameMode::VsHuman);
  PlayOutWithoutSquare();
  EXPECT_THAT(shell.Take("Result"), ElementsAre("Result Draw"));

  // In "VS CPU" the judge reads the CPU's stock as the other side.
  shell.mode = GameMode::VsCpu;
  game.SetUpPosition(game.Board(), {0, 20, 0, 20}, {2, 6, 3, 6}, Player1);
  EXPECT_TRUE(RunToEnd(game.CheckSquare(Player1)));
  EXPECT_THAT(shell.Take(), ElementsAre("TurnMarkers 00", "Result You Lose", "EnablePanel",
                                        "ShowResult", "Options 0 1"));
}

TEST_F(GameTest, BlockersOnlyWhileTheStockLastsAndTheTurnStays) {
  Start(GameMode::VsHuman);
  shell.calls.clear();
  for (int cell = 30; cell < 36; ++cell)
    Click(cell, kRightButton);
  EXPECT_THAT(shell.Take("HideBlocker"),
              ElementsAre("HideBlocker 5", "HideBlocker 4", "HideBlocker 3", "HideBlocker 2",
                          "HideBlocker 1", "HideBlocker 0"));
  Click(40, kRightButton);  // none left
  Click(30);                // occupied: a blocker attempt, not a piece
  EXPECT_EQ(game.Board()[40], Empty);
  EXPECT_EQ(game.BlockerStock()[0], 0);
  EXPECT_EQ(game.PieceStock()[0], 20);
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_EQ(BoardCount(Blocker), 6);

  Click(41);  // Player1's piece passes the move; Player2 uses its own stock.
  Click(42, kMiddleButton);
  EXPECT_THAT(shell.Take("Hide"), ElementsAre("HidePiece 19", "HideBlocker 11"));
  EXPECT_EQ(game.Turn(), Player2);
  ASSERT_EQ(game.History().size(), 8u);
  EXPECT_EQ(game.History()[5], BlockerMove(Player1, 35));
  EXPECT_EQ(game.History()[6], PieceMove(Player1, 41));
  EXPECT_EQ(game.History()[7], BlockerMove(Player2, 42));
}

TEST_F(GameTest, ClicksBeforeAnyGameAndOnTheOthersTurnPlaceNothing) {
  shell.mode = GameMode::VsHuman;
  Click(25);
  Click(26, kRightButton);
  EXPECT_THAT(shell.Take(), ElementsAre("Readout ( 3, 2)", "Readout ( 4, 2)"));
  EXPECT_EQ(BoardCount(Empty), kCellCount);

  game.SetUpPosition(game.Board(), game.PieceStock(), game.BlockerStock(), Remote);
  Click(25);
  game.SetUpPosition(game.Board(), game.PieceStock(), game.BlockerStock(), Cpu);
  Click(25, kRightButton);
  EXPECT_THAT(shell.Take(), ElementsAre("Readout ( 3, 2)", "Readout ( 3, 2)"));
  EXPECT_EQ(BoardCount(Empty), kCellCount);
}

TEST_F(GameTest, StartResetsBoardStocksAndMarkersInOrder) {
  Start(GameMode::VsHuman);
  Play({12, 50, 13});
  Click(60, kRightButton);
  shell.calls.clear();
  Start(GameMode::VsHuman);

  auto calls = shell.Take();
  ASSERT_EQ(calls.size(), 121u + 7u);
  for (int cell = 0; cell < kCellCount; ++cell)
    EXPECT_EQ(calls[cell], "Paint " + std::to_string(cell) + " 0");
  const std::vector<std::string> rest(calls.begin() + 121, calls.end());
  EXPECT_THAT(rest,
              ElementsAre("ShowAllMarkers", "HideOutline", "StopClock", "Captions Player1|Player2",
                          "TurnMarkers 10", "CloseConnection", "Options 3 0"));
  EXPECT_EQ(game.records.GamesPlayed, 2);
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_EQ(BoardCount(Empty), kCellCount);
  EXPECT_THAT(game.History(), IsEmpty());
  EXPECT_EQ(game.PieceStock(), (std::array<std::int16_t, 4>{20, 20, 20, 20}));
  EXPECT_EQ(game.BlockerStock(), (std::array<std::int16_t, 4>{6, 6, 6, 6}));
  EXPECT_EQ(game.SideColor(), (std::array<Color, 4>{kRed, kBlue, kBlue, kBlue}));
}

TEST_F(GameTest, VsCpuGameHandsEachMoveToTheCpuInsideTheClick) {
  ScriptedCpu cpu(game, {60, 61, 71, 72});
  game.SetCpuOpponent(&cpu);
  Start(GameMode::VsCpu);
  EXPECT_EQ(game.Turn(), Player1);
  EXPECT_EQ(cpu.moves, 0);
  EXPECT_THAT(shell.Take("Captions"), ElementsAre("Captions Player1|CPU"));

  Click(12);
  EXPECT_EQ(cpu.moves, 1);
  EXPECT_EQ(game.Board()[60], Cpu);
  EXPECT_EQ(game.Turn(), Player1);
  // The readout is written last, after the CPU has answered.
  const auto calls = shell.Take();
  EXPECT_EQ(calls.back(), "Readout ( 1, 1)");
  EXPECT_THAT(std::vector<std::string>(calls.begin(), calls.begin() + 4),
              ElementsAre("Paint 12 255", "HidePiece 19", "TurnMarkers 01", "Pause 1000"));

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
  const auto calls = shell.Take();
  const std::vector<std::string> tail(calls.end() - 7, calls.end());
  EXPECT_THAT(tail, ElementsAre("TurnMarkers 01", "Pause 1000", "Paint 60 16711680", "HidePiece 39",
                                "TurnMarkers 10", "CloseConnection", "Options 3 0"));
}

TEST_F(GameTest, AbandonClearsEverythingButTheRecordsAndEndsTheConnection) {
  Start(GameMode::VsHuman);
  Play({12, 50, 13});
  Click(60, kRightButton);
  shell.calls.clear();

  RunToEnd(game.AbandonGame());
  auto calls = shell.Take();
  ASSERT_EQ(calls.size(), 2u + 121u + 4u);
  EXPECT_EQ(calls[0], "StopClock");
  EXPECT_EQ(calls[1], "TurnMarkers 00");
  const std::vector<std::string> tail(calls.end() - 4, calls.end());
  EXPECT_THAT(tail, ElementsAre("ShowAllMarkers", "HideOutline", "Options 1 1", "CloseConnection"));
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
  Task<> click = game.PlaceFromClick(24, kLeftButton);
  click.Resume();
  ASSERT_FALSE(click.Done());
  EXPECT_EQ(game.Turn(), NoTurn);  // set before the pause: clicks now do nothing
  RunToEnd(game.AbandonGame());
  shell.calls.clear();

  shell.pause_gate.Open();
  EXPECT_TRUE(click.Done());
  EXPECT_THAT(shell.Take(), ElementsAre("Readout ( 2, 2)"));
  EXPECT_EQ(game.records.Wins, 0);
}

TEST_F(GameTest, OnlinePlacementsAreSentAndTheClockStopsBeforeThePiece) {
  game.online.ClockStyle = GameOption::Excite;
  StartOnline(Player1);
  EXPECT_THAT(shell.Take("StartClock"), ElementsAre("StartClock"));
  EXPECT_EQ(game.Turn(), Player1);

  Click(5, kRightButton);
  Click(60);
  EXPECT_THAT(shell.Take(),
              ElementsAre("Paint 5 16777215", "HideBlocker 5", "SendBlocker 5", "Readout ( 5, 0)",
                          "Paint 60 255", "HidePiece 19", "StopClock", "SendPiece 60",
                          "TurnMarkers 01", "Readout ( 5, 5)"));
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
  Click(60, kRightButton);  // Player1's blocker: the turn stays
  shell.calls.clear();

  game.Undo();
  EXPECT_EQ(game.Board()[60], Empty);
  EXPECT_EQ(game.BlockerStock()[Player1 - 1], kBlockersPerSide);
  EXPECT_EQ(game.Turn(), Player1);
  const auto calls = shell.Take();
  EXPECT_THAT(calls, ::testing::Contains("ShowAllMarkers"));
  EXPECT_THAT(calls, ::testing::Contains("HidePiece 39"));  // Player2's piece stays used
  EXPECT_THAT(calls, ::testing::Not(::testing::Contains("HideBlocker 5")));

  game.Undo();  // Player2's piece: the move goes back to Player2
  EXPECT_EQ(game.Turn(), Player2);
  EXPECT_EQ(game.Board()[50], Empty);
  EXPECT_EQ(game.PieceStock()[Player2 - 1], kPiecesPerSide);
  EXPECT_THAT(shell.Take("TurnMarkers"), ::testing::ElementsAre("TurnMarkers 01"));
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
  Click(5, kRightButton);
  Click(12);               // the CPU answers on 60
  Click(13);               // the CPU answers on 61
  Click(6, kRightButton);  // a blocker of the turn in progress
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
  Task<> click = game.PlaceFromClick(12, kLeftButton);
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
