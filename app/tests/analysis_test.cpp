#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProgressBar>
#include <QRegularExpression>
#include <cmath>
#include <iostream>

#include "app/aids/win_graph.h"
#include "program_driver.h"

namespace vexa::app {
namespace {

// The longest wait for the analysis of a whole game: the sanitizers make the
// search several times slower (seven turns took 99 s under them on a loaded
// machine).
#ifdef VEXA_SANITIZED
constexpr int kWholeAnalysisMs = 480000;
#else
constexpr int kWholeAnalysisMs = 120000;
#endif

using namespace Qt::StringLiterals;

using testing::Control;
using testing::Program;
using testing::WaitFor;

const QByteArray kTaro("Taro\r\n 0 \r\n 0 \r\n 0 \r\n");

bool Marked(Form1& f, int cell, CellLabel::Mark mark) {
  return (Control<CellLabel>(f, "Label1", cell)->Marks() & mark) != 0;
}

// A "VS Human" game in which Player2 leaves Player1's winning cell 24 open
// (12, 13 and 23 are Player1's), with a hint on the way; then the game is
// analysed: once cancelled, once to its end while a 10 ms timer measures
// the window's longest pause, and once cut short by a new game.
TEST(Analysis, ALostGameIsAnalysedGraphedAndSteppedByItsPoints) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  ASSERT_TRUE(p.StartVsHuman());

  // The hint's three candidates: the chosen turn's piece first and filled,
  // the others ringed, each with the mover's chance after it.
  p.ClickCell(12);
  p.ClickCell(50);
  Control<QAction>(f, "Mnu_Hint")->trigger();
  ASSERT_TRUE(WaitFor([&] {
    auto* last = f.findChild<QLabel*>(QStringLiteral("HintNote_2"));
    return last && last->isVisible();
  }));
  for (int n = 0; n < 3; ++n) {
    QLabel* note = Control<QLabel>(f, "HintNote", n);
    EXPECT_TRUE(note->text().contains(QRegularExpression(u"^[1-9]\\d?%$"_s)))
        << n << ' ' << note->text().toStdString();
    int ringed = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
      const bool beside =
          note->geometry().intersects(Control<CellLabel>(f, "Label1", cell)->geometry());
      const auto mark = n == 0 ? CellLabel::kHintPiece : CellLabel::kHint;
      ringed += beside && Marked(f, cell, mark) ? 1 : 0;
    }
    EXPECT_GE(ringed, 1) << n;
  }
  for (const int cell : {13, 51, 23, 52})
    p.ClickCell(cell);
  EXPECT_FALSE(Control<QLabel>(f, "HintNote_0")->isVisible());
  // With a winning cell there is one candidate: that cell, a forced win.
  Control<QAction>(f, "Mnu_Hint")->trigger();
  ASSERT_TRUE(WaitFor([&] { return Marked(f, 24, CellLabel::kHintPiece); }));
  EXPECT_EQ(Control<QLabel>(f, "HintNote_0")->text(), QStringLiteral("必勝"));
  EXPECT_TRUE(testing::StatusLine(f).contains(QStringLiteral("（勝率 1手で必勝）")))
      << testing::StatusLine(f).toStdString();
  EXPECT_TRUE(Control<QLabel>(f, "HintNote_0")
                  ->geometry()
                  .intersects(Control<CellLabel>(f, "Label1", 24)->geometry()));
  EXPECT_FALSE(Control<QLabel>(f, "HintNote_1")->isVisible());
  p.ClickCell(24);
  EXPECT_EQ(p.CloseResult(), QStringLiteral("Player1 Win"));
  ASSERT_TRUE(WaitFor([&] { return f.PendingTasks() == 0; }));

  // Cancelled: no search left, the replay where it was, no graph.
  QAction* analyse = Control<QAction>(f, "Mnu_Analyse");
  ASSERT_TRUE(analyse->isEnabled());
  analyse->trigger();
  EXPECT_TRUE(f.InReplay());
  EXPECT_EQ(f.ReplayStep(), 7);
  EXPECT_TRUE(f.Analysing());
  EXPECT_FALSE(analyse->isEnabled());
  EXPECT_TRUE(Control<QProgressBar>(f, "AnalysisProgress")->isVisible());
  // The cancel button keeps clear of the window's right edge.
  auto* cancel = Control<QPushButton>(f, "AnalysisCancel");
  EXPECT_GE(f.width() - cancel->mapTo(&f, QPoint(cancel->width(), 0)).x(), 4);
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_FALSE(f.Analysing());
  EXPECT_FALSE(f.Searching());
  ASSERT_TRUE(WaitFor([&] { return f.PendingTasks() == 0; }));
  EXPECT_EQ(f.ReplayStep(), 7);
  EXPECT_FALSE(Control<QProgressBar>(f, "AnalysisProgress")->isVisible());
  auto* graph = Control<WinGraph>(f, "AnalysisGraph");
  EXPECT_FALSE(graph->isVisible());

  // To its end, from the replay's start, which it leaves where it is.
  Control<QAction>(f, "Mnu_ReplayStart")->trigger();
  ASSERT_EQ(f.ReplayStep(), 0);
  QElapsedTimer clock;
  qint64 last_tick = -1;
  qint64 longest_gap = 0;
  QTimer ticker;
  ticker.setInterval(10);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    if (last_tick >= 0) longest_gap = std::max(longest_gap, now - last_tick);
    last_tick = now;
  });
  clock.start();
  ticker.start();
  analyse->trigger();
  ASSERT_TRUE(WaitFor([&] { return !f.Analysing(); }, kWholeAnalysisMs));
  ticker.stop();
  std::cout << "analysis of 7 turns: " << clock.elapsed() << " ms, the window's longest pause "
            << longest_gap << " ms\n";
  EXPECT_EQ(f.ReplayStep(), 0);
  ASSERT_TRUE(graph->isVisible());
  ASSERT_EQ(graph->Points(), 7);

  // The point of turn 6 shows the board after it: "??", and the best turn,
  // which closes 24 with a blocker, marked as the hint marks one.
  QTest::mouseClick(graph, Qt::LeftButton, {}, graph->PointPosition(5).toPoint());
  EXPECT_EQ(f.ReplayStep(), 6);
  EXPECT_EQ(graph->Current(), 5);
  EXPECT_TRUE(
      testing::StatusLine(f).contains(QRegularExpression(u"^手 6 / 7 P [A-K]\\d+　\\?\\? "_s)))
      << testing::StatusLine(f).toStdString();
  EXPECT_TRUE(Marked(f, 24, CellLabel::kHintBlocker));
  // Its tooltip names the turn's cells, as the status line does.
  const QString tip = graph->ToolTipAt(graph->PointPosition(5).x());
  EXPECT_TRUE(tip.startsWith(QStringLiteral("手 6: P ")) &&
              tip.contains(QStringLiteral("最善 B C3")))
      << tip.toStdString();
  // The winning turn: red's forced win before, won after, no mark.
  Control<QAction>(f, "Mnu_ReplayForward")->trigger();
  EXPECT_EQ(f.ReplayStep(), 7);
  EXPECT_EQ(graph->Current(), 6);
  const QString won = QStringLiteral("手 7 / 7 P C3　赤の勝率 1手で必勝 → 勝ち, 最善 P C3");
  EXPECT_EQ(testing::StatusLine(f), won);
  testing::BrowseMenus(f);
  EXPECT_EQ(testing::StatusLine(f), won);

  // A new game during an analysis stops it and leaves the replay.
  analyse->trigger();
  EXPECT_TRUE(f.Analysing());
  p.NewGame();
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Player1; }));
  EXPECT_FALSE(f.InReplay());
  EXPECT_FALSE(f.Analysing());
  EXPECT_FALSE(f.Searching());
  EXPECT_FALSE(graph->isVisible());
  EXPECT_FALSE(Control<QProgressBar>(f, "AnalysisProgress")->isVisible());
  ASSERT_TRUE(WaitFor([&] { return f.PendingTasks() == 0; }));
}

// Each mark's colour is read on the graph's white at 3:1 at least (the
// contrast of WCAG 2: relative luminances, each plus 0.05, divided).
TEST(Analysis, TheGraphsMarksReadOnWhite) {
  const auto luminance = [](const QColor& c) {
    const auto channel = [](double v) {
      return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  for (const TurnMark mark : {TurnMark::Inaccuracy, TurnMark::Mistake, TurnMark::Blunder}) {
    const double contrast = 1.05 / (luminance(MarkColor(mark)) + 0.05);
    EXPECT_GE(contrast, 3.0) << MarkText(mark);
  }
}

}  // namespace
}  // namespace vexa::app
