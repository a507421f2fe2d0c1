#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

#include "program_driver.h"

namespace vexa::app {
namespace {

using testing::Answer;
using testing::Control;
using testing::Program;
using testing::WaitFor;

const QByteArray kTaro("Taro\r\n 0 \r\n 0 \r\n 0 \r\n");

void Keys(Form1& f, std::initializer_list<int> keys, Qt::KeyboardModifiers modifiers = {}) {
  for (int key : keys)
    QTest::keyClick(&f, static_cast<Qt::Key>(key), modifiers);
}

bool Marked(Form1& f, int cell, CellLabel::Mark mark) {
  return (Control<CellLabel>(f, "Label1", cell)->Marks() & mark) != 0;
}

// How many cells carry any of the hint's marks.
int HintMarks(Form1& f,
              int marks = CellLabel::kHint | CellLabel::kHintPiece | CellLabel::kHintBlocker) {
  int count = 0;
  for (int cell = 0; cell < kCellCount; ++cell)
    count += (Control<CellLabel>(f, "Label1", cell)->Marks() & marks) != 0 ? 1 : 0;
  return count;
}

QStringList GameRecordFiles(const Program& p) {
  return QDir(QDir(p.DataPath()).filePath(QStringLiteral("games"))).entryList(QDir::Files);
}

// A "VS Human" game played from the keyboard and the mouse, with a hint and
// an undo on the way, then its record opened and stepped through.
TEST(PlayerAids, AKeyboardGameWithHintAndUndoIsRecordedAndReplayed) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  QLabel* start_line = Control<QLabel>(f, "StartHint");
  EXPECT_TRUE(start_line->isVisible());
  QTest::mouseClick(Control<QRadioButton>(f, "Option1", 2), Qt::LeftButton);
  EXPECT_TRUE(start_line->text().contains(QStringLiteral("「ゲームを主催」")));
  ASSERT_TRUE(p.StartVsHuman());
  EXPECT_FALSE(Control<QLabel>(f, "StartHint")->isVisible());
  EXPECT_THAT(testing::StatusLine(f).toStdString(), ::testing::HasSubstr("右ボタン"));
  // Looking through the menus leaves the line where it was.
  testing::BrowseMenus(f);
  EXPECT_THAT(testing::StatusLine(f).toStdString(), ::testing::HasSubstr("右ボタン"));
  EXPECT_FALSE(Control<QAction>(f, "Mnu_Undo")->isEnabled());

  // Player1 by the keyboard from the centre cell 60 to 12, Player2 by mouse.
  EXPECT_EQ(f.KeyboardCursor(), 60);
  Keys(f, {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left,
           Qt::Key_Left, Qt::Key_Return});
  p.ClickCell(50);
  Keys(f, {Qt::Key_Right, Qt::Key_Space});  // 13
  p.ClickCell(51);
  Keys(f, {Qt::Key_Down, Qt::Key_Left, Qt::Key_Space});  // 23

  // Player2's hint against the threat on 24: it says it is thinking, and
  // Escape stops it with nothing shown.
  QAction* hint = Control<QAction>(f, "Mnu_Hint");
  QTest::keyClick(&f, Qt::Key_H, Qt::ControlModifier);
  EXPECT_THAT(testing::StatusLine(f).toStdString(), ::testing::HasSubstr("考えています"));
  QTest::keyClick(&f, Qt::Key_Escape);
  ASSERT_TRUE(WaitFor([&] { return hint->isEnabled(); }));
  EXPECT_FALSE(testing::StatusLine(f).contains(QStringLiteral("考えています")));
  EXPECT_EQ(HintMarks(f), 0);
  // Asked again: a blocker's square on 24 and a filled disc for the piece;
  // the blocker played, the piece's mark stays; an undo drops the hint.
  QTest::keyClick(&f, Qt::Key_H, Qt::ControlModifier);
  ASSERT_TRUE(WaitFor([&] { return Marked(f, 24, CellLabel::kHintBlocker); }));
  EXPECT_EQ(HintMarks(f, CellLabel::kHintPiece), 1);
  // Named in the status line by its cells, column letter and row number.
  EXPECT_TRUE(testing::StatusLine(f).startsWith(QStringLiteral("ヒント B C3 P ")))
      << testing::StatusLine(f).toStdString();
  // The chosen piece has its filled disc only; the green ring is on the two
  // runners-up alone.
  for (int cell = 0; cell < kCellCount; ++cell) {
    if (Marked(f, cell, CellLabel::kHintPiece)) {
      EXPECT_FALSE(Marked(f, cell, CellLabel::kHint));
    }
  }
  EXPECT_EQ(HintMarks(f, CellLabel::kHint), 2);
  p.ClickCell(24, Qt::RightButton);
  EXPECT_EQ(f.game().Board()[24], Blocker);
  EXPECT_FALSE(Marked(f, 24, CellLabel::kHintBlocker));
  EXPECT_EQ(HintMarks(f, CellLabel::kHintPiece), 1);
  QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(f.game().Board()[24], Empty);
  EXPECT_EQ(HintMarks(f), 0);
  p.ClickCell(52);
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Player1; }));
  EXPECT_EQ(f.game().Board()[12], Player1);
  EXPECT_EQ(f.game().Board()[23], Player1);
  EXPECT_TRUE(testing::StatusLine(f).isEmpty());
  // The latest turn of each side is marked, and only that.
  EXPECT_TRUE(Marked(f, 23, CellLabel::kLastMove));
  EXPECT_TRUE(Marked(f, 52, CellLabel::kLastMove));
  EXPECT_FALSE(Marked(f, 13, CellLabel::kLastMove));
  EXPECT_TRUE(Marked(f, 23, CellLabel::kCursor));

  // Player1's hint: the piece on the square's fourth corner.
  QTest::keyClick(&f, Qt::Key_H, Qt::ControlModifier);
  EXPECT_TRUE(WaitFor([&] { return Marked(f, 24, CellLabel::kHintPiece); }));

  // A blocker by the B key departs from the hint and drops it; Ctrl+Z takes
  // the blocker back.
  Keys(f, {Qt::Key_Down, Qt::Key_B});  // 34
  EXPECT_EQ(f.game().Board()[34], Blocker);
  EXPECT_EQ(HintMarks(f), 0);
  EXPECT_FALSE(Control<QLabel>(f, "Label2", 5)->isVisible());
  ASSERT_TRUE(Control<QAction>(f, "Mnu_Undo")->isEnabled());
  QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(f.game().Board()[34], Empty);
  EXPECT_TRUE(Control<QLabel>(f, "Label2", 5)->isVisible());
  EXPECT_EQ(f.game().Turn(), Player1);
  EXPECT_TRUE(Marked(f, 23, CellLabel::kLastMove));

  // A hint overtaken by a blocker while it searches shows nothing: it was
  // for the position before the blocker.
  QTest::keyClick(&f, Qt::Key_H, Qt::ControlModifier);
  EXPECT_FALSE(hint->isEnabled());  // while it searches
  Keys(f, {Qt::Key_B});             // 34 again
  ASSERT_TRUE(WaitFor([&] { return hint->isEnabled(); }));
  EXPECT_EQ(HintMarks(f), 0);
  // So does one overtaken by an undo.
  QTest::keyClick(&f, Qt::Key_H, Qt::ControlModifier);
  QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(f.game().Board()[34], Empty);
  ASSERT_TRUE(WaitFor([&] { return hint->isEnabled(); }));
  EXPECT_EQ(HintMarks(f), 0);

  Keys(f, {Qt::Key_Up, Qt::Key_Right, Qt::Key_Return});  // 24 wins
  EXPECT_EQ(p.CloseResult(), QStringLiteral("Player1 Win"));
  ASSERT_TRUE(WaitFor([&] { return f.PendingTasks() == 0; }));
  // The start line has done its work: it covers no final board.
  EXPECT_FALSE(Control<QLabel>(f, "StartHint")->isVisible());
  EXPECT_FALSE(Control<QAction>(f, "Mnu_Undo")->isEnabled());
  const QStringList files = GameRecordFiles(p);
  ASSERT_EQ(files.size(), 1);

  // Saved: the dialog offers the games folder and a name of the game's
  // date, and the status bar says where the record went.
  Control<QAction>(f, "Mnu_SaveRecord")->trigger();
  QFileDialog* save = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (save = testing::VisibleWindow<QFileDialog>()) != nullptr; }));
  const QDir games(QDir(p.DataPath()).filePath(QStringLiteral("games")));
  EXPECT_EQ(save->directory(), games);
  const QString saved = save->selectedFiles().value(0);
  EXPECT_THAT(QFileInfo(saved).fileName().toStdString(),
              ::testing::MatchesRegex(R"(vexa-[0-9]{8}-[0-9]{4}\.txt)"));
  static_cast<QDialog*>(save)->accept();
  ASSERT_TRUE(WaitFor([&] { return QFile::exists(saved); }));
  EXPECT_TRUE(testing::StatusLine(f).endsWith(saved)) << saved.toStdString();

  // Opened again through its dialog, whose columns read whole, it shows the
  // game again, stepped back and forth by the keys, with its own mode on
  // the panel while the player has chosen another.
  QTest::mouseClick(Control<QRadioButton>(f, "Option1", 0), Qt::LeftButton);
  Control<QAction>(f, "Mnu_OpenRecord")->trigger();
  QFileDialog* open = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (open = testing::VisibleWindow<QFileDialog>()) != nullptr; }));
  auto* list = open->findChild<QTreeView*>(QStringLiteral("treeView"));
  ASSERT_TRUE(WaitFor([&] { return list->model()->rowCount(list->rootIndex()) >= 2; }));
  // Size, type and date: no text of a row wider than its column.
  const auto widest = [list](int column) {
    int width = 0;
    for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
      const QModelIndex cell = list->model()->index(row, column, list->rootIndex());
      width = std::max(width, list->fontMetrics().horizontalAdvance(cell.data().toString()));
    }
    return width;
  };
  for (int column = 1; column < 4; ++column) {
    EXPECT_TRUE(WaitFor([&] { return list->header()->sectionSize(column) > widest(column); }))
        << column << ": " << list->header()->sectionSize(column) << " < " << widest(column);
  }
  // Typed, as selectFile() leaves alone a name box that has the focus.
  open->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(saved);
  static_cast<QDialog*>(open)->accept();
  ASSERT_TRUE(WaitFor([&] { return f.InReplay(); }));
  EXPECT_EQ(f.ReplayStep(), 7);
  EXPECT_TRUE(Control<QRadioButton>(f, "Option1", 1)->isChecked());
  const QString line = testing::StatusLine(f);
  EXPECT_TRUE(line.startsWith(QStringLiteral("手 7 / 7 P C3　"))) << line.toStdString();
  EXPECT_TRUE(line.endsWith(QStringLiteral("　VS Human　Player1 Win"))) << line.toStdString();
  testing::BrowseMenus(f);
  EXPECT_EQ(testing::StatusLine(f), line);
  f.activateWindow();  // the result dialog had the focus
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  EXPECT_TRUE(Control<LineShape>(f, "Line1", 0)->isVisible());
  QTest::keyClick(&f, Qt::Key_Home);
  EXPECT_EQ(f.ReplayStep(), 0);
  EXPECT_FALSE(Control<LineShape>(f, "Line1", 0)->isVisible());
  QTest::keyClick(&f, Qt::Key_Right);
  EXPECT_EQ(f.ReplayStep(), 1);
  EXPECT_TRUE(Marked(f, 12, CellLabel::kLastMove));
  EXPECT_FALSE(Control<QLabel>(f, "Label5", 19)->isVisible());
  EXPECT_TRUE(Control<QLabel>(f, "Label5", 39)->isVisible());
  p.ClickCell(70);  // looking only
  EXPECT_EQ(f.game().Board()[70], Empty);
  EXPECT_FALSE(Control<QRadioButton>(f, "Option1", 0)->isEnabled());
  QTest::keyClick(&f, Qt::Key_End);
  EXPECT_EQ(f.ReplayStep(), 7);

  // A new game leaves the replay and is played as the player chose; the
  // records are as the game left them.
  EXPECT_EQ(f.game().records.GamesPlayed, 1);
  p.NewGame();
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Player1; }));
  EXPECT_FALSE(f.InReplay());
  EXPECT_EQ(f.shell().Mode(), GameMode::VsCpu);
  EXPECT_EQ(f.game().records.GamesPlayed, 2);
}

TEST(PlayerAids, ABrokenRecordIsToldWithItsLineAndTouchesNothing) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  ASSERT_TRUE(p.StartVsHuman());
  p.ClickCell(12);
  // A game runs: records are not opened over it.
  EXPECT_FALSE(Control<QAction>(f, "Mnu_OpenRecord")->isEnabled());
  Control<QAction>(f, "Mnu_GameEnd")->trigger();
  ASSERT_TRUE(WaitFor([&] { return f.PendingTasks() == 0; }));
  EXPECT_EQ(GameRecordFiles(p).size(), 1);  // abandoned after a placement

  const QString path = QDir(p.DataPath()).filePath(QStringLiteral("broken.txt"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "date 2026-12-08\nmode VS Human\nfirst 1\nresult Draw\nhow abandoned\nmoves\n"
      "1 P 12\n2 P 12\n");
  file.close();
  f.Start(f.OpenRecordFile(path));
  const testing::MessageSeen seen = Answer(QMessageBox::Ok);
  EXPECT_THAT(seen.text.toStdString(), ::testing::HasSubstr("8 行目"));
  EXPECT_THAT(seen.text.toStdString(), ::testing::HasSubstr("taken"));
  EXPECT_FALSE(f.InReplay());
  EXPECT_TRUE(Control<QRadioButton>(f, "Option1", 0)->isEnabled());
}

// The cells' names around the board: off at the first start, so that the
// board looks as it always has, and kept once asked for.
TEST(PlayerAids, CoordinatesAreOffAtFirstAndKeptOnceShown) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  EXPECT_FALSE(Control<QWidget>(*p.form1, "BoardCoordinates")->isVisible());
  Control<QAction>(*p.form1, "Mnu_Coordinates")->trigger();
  EXPECT_TRUE(Control<QWidget>(*p.form1, "BoardCoordinates")->isVisible());
  p.form1.reset();
  p.Start();
  ASSERT_TRUE(p.WaitShown());
  EXPECT_TRUE(Control<QAction>(*p.form1, "Mnu_Coordinates")->isChecked());
  EXPECT_TRUE(Control<QWidget>(*p.form1, "BoardCoordinates")->isVisible());
}

// A self-play record names its strengths; once its replay ends, the panels
// speak of the player's own game again, and with no game on the board a new
// mode drops the last opponent's name.
TEST(PlayerAids, TheRecordsNamesLeaveWithItsReplay) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  const QString path = QDir(p.DataPath()).filePath(QStringLiteral("selfplay.txt"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "date 2026-12-09T10:00:00Z\nmode VS CPU\nleft Player1 (Normal)\nright CPU\n"
      "strength VeryHard\nfirst 1\nresult Normal wins\nhow square\nwinner 1\nmoves\n"
      "1 P 12\n2 P 50\n1 P 13\n2 P 51\n1 P 23\n2 P 52\n1 P 24\n");
  file.close();
  f.Start(f.OpenRecordFile(path));
  ASSERT_TRUE(WaitFor([&] { return f.InReplay(); }));
  auto* left = Control<QGroupBox>(f, "Frame1", 0);
  EXPECT_EQ(left->title(), QStringLiteral("Player1 (Normal)"));
  EXPECT_TRUE(testing::StatusLine(f).endsWith(QStringLiteral("VS CPU VeryHard　Normal wins")))
      << testing::StatusLine(f).toStdString();

  Control<QAction>(f, "Mnu_GameEnd")->trigger();
  ASSERT_TRUE(WaitFor([&] { return !f.InReplay(); }));
  EXPECT_EQ(left->title(), QStringLiteral("Player1"));
  EXPECT_EQ(Control<QGroupBox>(f, "Frame1", 1)->title(), QStringLiteral("CPU"));
  QTest::mouseClick(Control<QRadioButton>(f, "Option1", 2), Qt::LeftButton);
  EXPECT_EQ(Control<QGroupBox>(f, "Frame1", 1)->title(), QStringLiteral("Player2"));
}

// The player's own choice, VS CPU with Master, outlives two records
// replayed one after the other: each shows its own mode and strength and
// marks each side's latest turn on that side's cells; leaving the replay
// gives the player's choice back.
TEST(PlayerAids, RecordsReplayedOneAfterAnotherGiveThePlayersChoiceBack) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  QTest::mouseClick(Control<QRadioButton>(f, "Option1", 0), Qt::LeftButton);
  QCheckBox* master = Control<QCheckBox>(f, "Check3");
  QTest::mouseClick(master, Qt::LeftButton);
  ASSERT_EQ(f.shell().Strength(), CpuStrength::Master);
  const auto open = [&](const char* name, const QByteArray& text) {
    const QString path = QDir(p.DataPath()).filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("date 2026-12-09T10:00:00\n" + text);
    file.close();
    f.Start(f.OpenRecordFile(path));
  };
  const auto last_turns = [&](std::initializer_list<int> marked, std::initializer_list<int> not_) {
    for (int cell : marked)
      EXPECT_TRUE(Marked(f, cell, CellLabel::kLastMove)) << cell;
    for (int cell : not_)
      EXPECT_FALSE(Marked(f, cell, CellLabel::kLastMove)) << cell;
  };

  // A: a "Hard" game, the computer's last turn a blocker and a piece.
  open("a.txt",
       "mode VS CPU\nleft Taro\nright CPU\nstrength Hard\nfirst 1\nresult abandoned\n"
       "how abandoned\nwinner 0\nmoves\n1 P 12\n2 P 50\n1 P 13\n2 B 40\n2 P 51\n");
  ASSERT_TRUE(WaitFor([&] { return f.InReplay(); }));
  EXPECT_EQ(f.shell().Mode(), GameMode::VsCpu);
  EXPECT_FALSE(master->isChecked());
  EXPECT_TRUE(Control<QRadioButton>(f, "Option2", 2)->isChecked());
  last_turns({13, 51}, {12, 50});

  // B, an online game the peer opened, while A is still on show.
  open("b.txt",
       "mode VS Online\nleft Taro\nright Hanako\nfirst 2\nresult abandoned\n"
       "how left\nwinner 0\nmoves\n2 P 60\n1 P 61\n2 P 62\n");
  ASSERT_TRUE(WaitFor([&] { return f.shell().Mode() == GameMode::VsOnline; }));
  last_turns({61, 62}, {60, 13, 51});

  p.NewGame();
  ASSERT_TRUE(WaitFor([&] { return f.game().GameRunning(); }));
  EXPECT_FALSE(f.InReplay());
  EXPECT_EQ(f.shell().Mode(), GameMode::VsCpu);
  EXPECT_TRUE(master->isChecked());
  EXPECT_EQ(f.shell().Strength(), CpuStrength::Master);
}

}  // namespace
}  // namespace vexa::app
