#include <gtest/gtest.h>

#include "program_driver.h"

namespace vexa::app {
namespace {

using testing::Program;
using testing::WaitFor;

struct CpuGame {
  CpuStrength strength;
  bool cpu_first;
};

class VsCpuGame : public ::testing::TestWithParam<CpuGame> {};

// Player1 plays by a plain rule, the first empty playable cell, and the
// game runs to its end through the window: the result, the records, the
// panel open again.
TEST_P(VsCpuGame, PlaysThroughToTheResult) {
  Program p("Taro\r\n 0 \r\n 0 \r\n 0 \r\n");
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  f.Option2[static_cast<int>(GetParam().strength)]->setChecked(true);
  f.Check1->setChecked(GetParam().cpu_first);
  p.NewGame();
  ASSERT_TRUE(WaitFor([&] { return f.game.Turn() == Player1; }));
  EXPECT_EQ(f.Frame1[1]->title(), QStringLiteral("CPU"));
  EXPECT_EQ(f.game.PieceStock()[Cpu - 1], GetParam().cpu_first ? 19 : 20);

  int moves = 0;
  while (f.game.Turn() == Player1 && moves < kPiecesPerSide) {
    int cell = 1;
    while (!IsPlayableCell(cell) || f.game.Board()[cell] != Empty)
      ++cell;
    p.ClickCell(cell);
    ++moves;
    ASSERT_TRUE(WaitFor([&] { return f.game.Turn() == Player1 || f.game.Turn() == NoTurn; }));
    if (f.game.Turn() == Player1) {
      EXPECT_TRUE(f.TurnMarker[0]->IsOn());
      EXPECT_FALSE(f.TurnMarker[1]->IsOn());
      EXPECT_EQ(f.game.PieceStock()[Cpu - 1],
                f.game.PieceStock()[Player1 - 1] - (GetParam().cpu_first ? 1 : 0));
    }
  }
  const QString result = p.CloseResult();
  EXPECT_TRUE(result == "Player1 Win" || result == "You Lose" || result == "Draw")
      << result.toStdString();
  ASSERT_TRUE(WaitFor([&] { return f.Frame2->isEnabled(); }));
  EXPECT_TRUE(f.Option1[0]->isEnabled() && f.Check1->isEnabled() && f.Option2[0]->isEnabled());
  EXPECT_FALSE(f.Check2->isEnabled() || f.Frame3->isEnabled() || f.Command1[0]->isEnabled());
  EXPECT_EQ(f.game.records.GamesPlayed, 1);
  EXPECT_EQ(f.game.records.Wins, result == "Player1 Win" ? 1 : 0);
  EXPECT_EQ(f.game.records.Losses, result == "You Lose" ? 1 : 0);
  // Every hidden marker matches a placement on the board.
  int hidden_cpu_pieces = 0;
  for (int i = 20; i < 40; ++i)
    hidden_cpu_pieces += f.Label5[i]->isVisible() ? 0 : 1;
  EXPECT_EQ(hidden_cpu_pieces,
            static_cast<int>(std::count(f.game.Board().begin(), f.game.Board().end(), Cpu)));
}

std::string GameName(const ::testing::TestParamInfo<CpuGame>& info) {
  const char* strengths[] = {"Easy", "Normal", "Hard", "VeryHard"};
  return std::string(strengths[static_cast<int>(info.param.strength)]) +
         (info.param.cpu_first ? "CpuFirst" : "Player1First");
}

INSTANTIATE_TEST_SUITE_P(
    EachStrength, VsCpuGame,
    ::testing::Values(CpuGame{CpuStrength::Easy, false}, CpuGame{CpuStrength::Easy, true},
                      CpuGame{CpuStrength::Normal, false}, CpuGame{CpuStrength::Normal, true},
                      CpuGame{CpuStrength::Hard, false}, CpuGame{CpuStrength::Hard, true},
                      CpuGame{CpuStrength::VeryHard, false}, CpuGame{CpuStrength::VeryHard, true}),
    GameName);

TEST(VsCpu, ANewGameDuringTheCpusPauseDropsTheRestOfItsMove) {
  Program p("Taro\r\n 0 \r\n 0 \r\n 0 \r\n");
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  f.SetPauseOverride(300);
  p.NewGame();
  ASSERT_TRUE(WaitFor([&] { return f.game.Turn() == Player1; }));
  p.ClickCell(60);
  ASSERT_EQ(f.game.Turn(), Cpu);
  p.NewGame();  // while the CPU thinks
  ASSERT_TRUE(WaitFor([&] { return f.game.Turn() == Player1 && f.PendingTasks() == 0; }));
  EXPECT_EQ(std::count(f.game.Board().begin(), f.game.Board().end(), Empty), kCellCount);
  EXPECT_EQ(f.game.Turn(), Player1);
  EXPECT_FALSE(f.Frame2->isEnabled());

  // Abandoning during the pause: nothing lands, the panel stays open.
  p.ClickCell(60);
  f.Mnu_GameEnd->trigger();
  ASSERT_TRUE(WaitFor([&] { return f.PendingTasks() == 0; }));
  EXPECT_EQ(std::count(f.game.Board().begin(), f.game.Board().end(), Empty), kCellCount);
  EXPECT_EQ(f.game.Turn(), NoTurn);
  EXPECT_TRUE(f.Frame2->isEnabled());
  EXPECT_EQ(testing::VisibleWindow<QDialog>(), nullptr);
}

}  // namespace
}  // namespace vexa::app
