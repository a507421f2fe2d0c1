#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "program_driver.h"

namespace vexa::app {
namespace {

using namespace std::chrono_literals;
using testing::Control;
using testing::Program;
using testing::WaitFor;

const QByteArray kTaro = "Taro\r\n 0 \r\n 0 \r\n 0 \r\n";

SearchLimits SearchFor(std::chrono::milliseconds time) {
  SearchLimits limits;
  limits.time = time;
  return limits;  // on every core, as in play
}

int CountOf(const Form1& f, std::int16_t value) {
  return static_cast<int>(std::count(f.game().Board().begin(), f.game().Board().end(), value));
}

// "Master" stands beside "VS CPU" over nothing else, and overrides the
// four strengths, greyed, without losing their choice.
TEST(Master, IsACheckBoxBesideVsCpuThatOverridesTheFourStrengths) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  QCheckBox* master = Control<QCheckBox>(f, "Check3");
  EXPECT_EQ(master->text(), QStringLiteral("Master"));
  EXPECT_THAT(master->toolTip().toStdString(), ::testing::HasSubstr("1388"));
  // The rating with its scale, on every strength.
  for (QAbstractButton* strength :
       {static_cast<QAbstractButton*>(master),
        static_cast<QAbstractButton*>(Control<QRadioButton>(f, "Option2", 0))}) {
    EXPECT_THAT(strength->toolTip().toStdString(),
                ::testing::HasSubstr("100 高い側は、およそ 64 %"));
  }
  QGroupBox* options = Control<QGroupBox>(f, "Frame2");
  EXPECT_TRUE(options->rect().contains(master->geometry()));
  for (QWidget* other : options->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == master) continue;
    EXPECT_FALSE(other->geometry().intersects(master->geometry()))
        << other->objectName().toStdString();
  }
  QRadioButton* very_hard = Control<QRadioButton>(f, "Option2", 3);
  QTest::mouseClick(master, Qt::LeftButton);
  EXPECT_EQ(f.shell().Strength(), CpuStrength::Master);
  EXPECT_TRUE(very_hard->isChecked());
  EXPECT_FALSE(very_hard->isEnabled());
  // The panel unlocked after a game leaves them greyed.
  f.shell().SetOptionControls(PanelCode::GameRunning, false);
  f.shell().SetOptionControls(PanelCode::VsCpu, true);
  EXPECT_TRUE(master->isEnabled());
  EXPECT_FALSE(very_hard->isEnabled());

  QTest::mouseClick(master, Qt::LeftButton);
  EXPECT_EQ(f.shell().Strength(), CpuStrength::VeryHard);
  QTest::mouseClick(Control<QRadioButton>(f, "Option2", 0), Qt::LeftButton);
  EXPECT_EQ(f.shell().Strength(), CpuStrength::Easy);
}

// A whole game against a plain rule (the first empty cell), Master searching
// 200 ms a move on every core, while a 10 ms timer counts how often the
// window handles its events during the searches. Counted in ticks, not
// milliseconds: a search on the window's thread lets no tick through, and
// a machine whose cores other programs load still lets most of them.
TEST(Master, PlaysAGameWhileTheWindowKeepsHandlingEvents) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  f.cpu().SetMasterLimits(SearchFor(200ms));
  QTest::mouseClick(Control<QCheckBox>(f, "Check3"), Qt::LeftButton);

  bool was_thinking = false;
  int searches_seen = 0;
  int ticks_while_searching = 0;
  QTimer ticker;
  ticker.setInterval(10);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const bool thinking = f.cpu().Thinking();
    if (thinking && !was_thinking) ++searches_seen;
    if (thinking) ++ticks_while_searching;
    was_thinking = thinking;
  });
  ticker.start();

  p.NewGame();
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Player1; }));
  EXPECT_FALSE(Control<QCheckBox>(f, "Check3")->isEnabled());
  while (f.game().Turn() == Player1)
    ASSERT_TRUE(p.PlayFirstEmptyCell());
  ticker.stop();

  EXPECT_EQ(p.CloseResult(), QStringLiteral("You Lose"));
  // About 20 ticks a search when the window is free; 5 leaves room for load.
  EXPECT_GE(searches_seen, 2);
  EXPECT_GE(ticks_while_searching, 5 * searches_seen);
  ASSERT_TRUE(WaitFor([&] { return Control<QCheckBox>(f, "Check3")->isEnabled(); }));
}

enum class Interruption { NewGame, Abandon, Quit, Leave };

class MasterInterrupted : public ::testing::TestWithParam<Interruption> {};

// While Master searches (for at most 30 s), each way of ending the game stops
// the search at once, and nothing of the CPU's lands on the board.
TEST_P(MasterInterrupted, StopsTheSearchAndPlacesNothing) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  f.cpu().SetMasterLimits(SearchFor(30s));
  QTest::mouseClick(Control<QCheckBox>(f, "Check3"), Qt::LeftButton);
  p.NewGame();
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Player1; }));
  p.ClickCell(60);
  ASSERT_TRUE(f.cpu().Thinking());

  QElapsedTimer clock;
  clock.start();
  switch (GetParam()) {
    case Interruption::NewGame:
      p.NewGame();
      break;
    case Interruption::Abandon:
      Control<QAction>(f, "Mnu_GameEnd")->trigger();
      break;
    case Interruption::Quit:
      Control<QAction>(f, "Mnu_End")->trigger();
      testing::Answer(QMessageBox::Yes);
      clock.restart();
      break;
    case Interruption::Leave:
      p.form1.reset();  // the instance goes away with its search
      EXPECT_LT(clock.elapsed(), 1000);
      return;
  }
  ASSERT_TRUE(WaitFor([&] { return !f.cpu().Thinking() && f.PendingTasks() == 0; }, 5000));
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_EQ(CountOf(f, Cpu), 0);
  EXPECT_EQ(CountOf(f, Blocker), 0);
  EXPECT_EQ(f.game().PieceStock()[Cpu - 1], kPiecesPerSide);
}

std::string WayName(const ::testing::TestParamInfo<Interruption>& info) {
  const char* names[] = {"NewGame", "Abandon", "Quit", "Leave"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EachWay, MasterInterrupted,
                         ::testing::Values(Interruption::NewGame, Interruption::Abandon,
                                           Interruption::Quit, Interruption::Leave),
                         WayName);

}  // namespace
}  // namespace vexa::app
