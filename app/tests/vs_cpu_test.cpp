// The window's side of "VS CPU": a game through real clicks, and the
// computer player's pause as a real timer. The computer player's games at
// each strength, and a new game or an abandon during its pause, are tested
// in cpu/tests.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <algorithm>

#include "program_driver.h"

namespace vexa::app {
namespace {

using testing::Control;
using testing::Program;
using testing::WaitFor;

int Count(const Game& game, std::int16_t value) {
  return static_cast<int>(std::count(game.Board().begin(), game.Board().end(), value));
}

// Player1 takes the first empty playable cell each turn, the CPU moving
// first at "VeryHard": the result, the records and the panel open again.
TEST(VsCpu, AGameThroughTheClicksRunsToItsResult) {
  Program p("Taro\r\n 0 \r\n 0 \r\n 0 \r\n");
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  const auto lamp = [&](int side) { return Control<TurnLamp>(f, "TurnMarker", side); };
  QTest::mouseClick(Control<QCheckBox>(f, "Check1"), Qt::LeftButton);  // "CPUが先攻"
  p.NewGame();
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Player1; }));
  EXPECT_EQ(Control<QGroupBox>(f, "Frame1", 1)->title(), QStringLiteral("CPU"));
  EXPECT_EQ(Count(f.game(), Cpu), 1);

  while (f.game().Turn() == Player1) {
    ASSERT_TRUE(p.PlayFirstEmptyCell());
    if (f.game().Turn() == Player1) {
      EXPECT_TRUE(lamp(0)->IsOn());
      EXPECT_FALSE(lamp(1)->IsOn());
    }
  }
  const QString result = p.CloseResult();
  EXPECT_FALSE(lamp(0)->IsOn() || lamp(1)->IsOn());
  EXPECT_TRUE(result == "Player1 Win" || result == "You Lose" || result == "Draw")
      << result.toStdString();
  ASSERT_TRUE(WaitFor([&] { return Control<QGroupBox>(f, "Frame2")->isEnabled(); }));
  EXPECT_TRUE(Control<QRadioButton>(f, "Option1", 0)->isEnabled() &&
              Control<QCheckBox>(f, "Check1")->isEnabled() &&
              Control<QRadioButton>(f, "Option2", 0)->isEnabled());
  EXPECT_EQ(f.game().records.GamesPlayed, 1);
  EXPECT_EQ(f.game().records.Wins + f.game().records.Losses, result == "Draw" ? 0 : 1);
  int hidden_cpu_pieces = 0;
  for (int i = kPiecesPerSide; i < 2 * kPiecesPerSide; ++i)
    hidden_cpu_pieces += Control<QLabel>(f, "Label5", i)->isVisible() ? 0 : 1;
  EXPECT_EQ(hidden_cpu_pieces, Count(f.game(), Cpu));
}

TEST(VsCpu, TheCpuThinksOnATimerWhileTheWindowGoesOn) {
  Program p("Taro\r\n 0 \r\n 0 \r\n 0 \r\n");
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  constexpr int kPauseMs = 200;
  f.SetPauseOverride(kPauseMs);
  p.NewGame();
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Player1; }));

  QElapsedTimer clock;
  clock.start();
  p.ClickCell(60);
  // The click has returned with the CPU still to move; the window takes
  // the next click, which places nothing.
  ASSERT_EQ(f.game().Turn(), Cpu);
  p.ClickCell(61);
  EXPECT_EQ(f.game().Board()[61], Empty);
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Player1; }));
  EXPECT_GE(clock.elapsed(), kPauseMs);
  EXPECT_EQ(Count(f.game(), Cpu), 1);
}

}  // namespace
}  // namespace vexa::app
