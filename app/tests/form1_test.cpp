#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>

#include "app/dialogs/form2.h"
#include "app/dialogs/name_dialogs.h"
#include "app/window/twips.h"
#include "core/square_scan.h"
#include "program_driver.h"

namespace vexa::app {
namespace {

using testing::Answer;
using testing::Control;
using testing::Program;
using testing::WaitFor;
using testing::WaitForWindow;

const QByteArray kTaro("Taro\r\n 12 \r\n 7 \r\n 4 \r\n");

// A control's own enabled flag, whatever its frame says.
bool On(QWidget* w) {
  return !w->testAttribute(Qt::WA_ForceDisabled);
}

QStringList Captions(Form1& f) {
  QStringList out;
  for (int i = 0; i < 5; ++i)
    out << Control<QLabel>(f, "Label7", i)->text();
  return out;
}

QStringList Items(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i)
    out << list->item(i)->text();
  return out;
}

QColor Background(QWidget* w) {
  return w->palette().color(QPalette::Window);
}

// The enabled flags of the option panel in a fixed order, as a string of 0
// and 1: Frame2, Option1 x3, Check1, Check2, Frame5, Option2 x4, Check3, Frame3,
// Text1 x3, Command1 x2.
std::string PanelState(Form1& f) {
  std::string s;
  auto put = [&](QWidget* w) { s += On(w) ? '1' : '0'; };
  auto put_array = [&](const char* name, int count) {
    for (int i = 0; i < count; ++i)
      put(Control<QWidget>(f, name, i));
  };
  put(Control<QGroupBox>(f, "Frame2"));
  put_array("Option1", 3);
  put(Control<QCheckBox>(f, "Check1"));
  put(Control<QCheckBox>(f, "Check2"));
  s += ' ';
  put(Control<QGroupBox>(f, "Frame5"));
  put_array("Option2", 4);
  put(Control<QCheckBox>(f, "Check3"));
  s += ' ';
  put(Control<QGroupBox>(f, "Frame3"));
  put_array("Text1", 3);
  put_array("Command1", 2);
  return s;
}

TEST(Form1, StartsWithTheRecordsAndTheIdleCpuPanel) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Vexa with Online Ver1.2"));
  EXPECT_EQ(Control<QWidget>(f, "client")->size(), QSize(661, 485));
  EXPECT_EQ(f.minimumSize(), f.maximumSize());
  EXPECT_EQ(Control<QLineEdit>(f, "Text1", 2)->text(), QStringLiteral("Taro"));
  EXPECT_TRUE(Control<QLineEdit>(f, "Text1", 2)->isReadOnly());
  EXPECT_EQ(Control<QLineEdit>(f, "Text1", 1)->text(), QStringLiteral("36150"));
  EXPECT_THAT(Captions(f),
              ::testing::ElementsAre("12 戦", "7 勝", "4 負", "0 引き分け", "勝率 58.3 %"));
  EXPECT_TRUE(Control<QRadioButton>(f, "Option1", 0)->isChecked());
  EXPECT_TRUE(Control<QRadioButton>(f, "Option2", 3)->isChecked());
  EXPECT_TRUE(Control<QCheckBox>(f, "Check2")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(f, "Check1")->isChecked());
  EXPECT_EQ(PanelState(f), "111110 111111 000000");
  for (int corner : {0, 10, 110, 120})
    EXPECT_FALSE(Control<CellLabel>(f, "Label1", corner)->isVisible());
  EXPECT_TRUE(Control<CellLabel>(f, "Label1", 1)->isVisible());
  // The reach analysis and the readout lie below the visible client area.
  EXPECT_GE(Control<QPushButton>(f, "Command2")->y(), Control<QWidget>(f, "client")->height());
  EXPECT_GE(Control<QLabel>(f, "Label3")->y(), Control<QWidget>(f, "client")->height());
  EXPECT_EQ(Control<QLabel>(f, "Label3")->text(), QStringLiteral("Label3"));
  EXPECT_FALSE(Control<QLineEdit>(f, "Text2")->isEnabled());
  EXPECT_FALSE(f.online_play().session().MoveClockTimer().isActive());
}

TEST(Form1, ThePanelFollowsTheModeButtonsAndTheGames) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;

  QTest::mouseClick(Control<QRadioButton>(f, "Option1", 1), Qt::LeftButton);
  EXPECT_EQ(PanelState(f), "111101 000000 000000");
  // Online games start from the host's settings, never from the menu.
  QTest::mouseClick(Control<QRadioButton>(f, "Option1", 2), Qt::LeftButton);
  EXPECT_EQ(PanelState(f), "111100 000000 111111");
  EXPECT_FALSE(Control<QAction>(f, "Mnu_NewGame")->isEnabled());
  QTest::mouseClick(Control<QRadioButton>(f, "Option1", 0), Qt::LeftButton);
  EXPECT_EQ(PanelState(f), "111110 111111 000000");
  EXPECT_TRUE(Control<QAction>(f, "Mnu_NewGame")->isEnabled());
  // Panel code 2 while "VS Online" is not selected leaves the connection
  // fields as they are but enables their frame.
  f.shell().SetOptionControls(PanelCode::VsOnline, true);
  EXPECT_EQ(PanelState(f), "111100 000000 100000");
  f.shell().SetOptionControls(PanelCode::GameRunning, true);
  EXPECT_EQ(PanelState(f), "111111 111111 111111");

  ASSERT_TRUE(p.StartVsHuman());
  EXPECT_EQ(PanelState(f), "000000 000000 000000");
  Control<QAction>(f, "Mnu_GameEnd")->trigger();
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == NoTurn; }));
  EXPECT_EQ(PanelState(f), "111101 000000 000000");
}

// The side panels are narrow for a player's name: a longer one takes a
// smaller font; one too long even for that is shortened in the middle, and
// the panel's tooltip gives it whole.
TEST(Form1, SidePanelsFitLongNamesAndGiveThemWholeAsTooltips) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  QGroupBox* left = Control<QGroupBox>(*p.form1, "Frame1", 0);
  QGroupBox* right = Control<QGroupBox>(*p.form1, "Frame1", 1);
  const double usual = left->font().pointSizeF();
  p.form1->online_play().dialogs().GameBegins(QStringLiteral("vexa-bot"),
                                              QStringLiteral("vexa-player-from-afar"));
  EXPECT_LT(left->font().pointSizeF(), usual);
  EXPECT_TRUE(left->toolTip().isEmpty());
  EXPECT_EQ(right->toolTip(), QStringLiteral("vexa-player-from-afar"));
  p.form1->online_play().dialogs().GameBegins(QStringLiteral("Taro"), QStringLiteral("Hanako"));
  EXPECT_EQ(right->font().pointSizeF(), usual);
  EXPECT_TRUE(right->toolTip().isEmpty());
}

TEST(Form1, VsHumanGamePlayedByMouseEndsInPlayer1sSquare) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  ASSERT_TRUE(p.StartVsHuman());
  EXPECT_EQ(Control<QGroupBox>(f, "Frame1", 0)->title(), QStringLiteral("Player1"));
  EXPECT_EQ(Control<QGroupBox>(f, "Frame1", 1)->title(), QStringLiteral("Player2"));
  EXPECT_TRUE(Control<TurnLamp>(f, "TurnMarker", 0)->IsOn());
  EXPECT_FALSE(Control<TurnLamp>(f, "TurnMarker", 1)->IsOn());

  p.ClickCell(12);
  EXPECT_TRUE(Control<TurnLamp>(f, "TurnMarker", 1)->IsOn());
  EXPECT_FALSE(Control<TurnLamp>(f, "TurnMarker", 0)->IsOn());
  p.ClickCell(70, Qt::RightButton);  // Player2's blocker keeps the move
  p.ClickCell(71, Qt::MiddleButton);
  p.ClickCell(50);
  p.ClickCell(13);
  p.ClickCell(51);
  p.ClickCell(23);
  p.ClickCell(23);  // occupied: nothing, Player2 still to move
  p.ClickCell(52);
  EXPECT_EQ(Background(Control<CellLabel>(f, "Label1", 12)), QColor(Qt::red));
  EXPECT_EQ(Background(Control<CellLabel>(f, "Label1", 50)), QColor(Qt::blue));
  EXPECT_EQ(Background(Control<CellLabel>(f, "Label1", 70)), QColor(Qt::white));
  EXPECT_EQ(Background(Control<CellLabel>(f, "Label1", 60)), QColor(Qt::black));
  EXPECT_FALSE(Control<QLabel>(f, "Label5", 17)->isVisible());
  EXPECT_TRUE(Control<QLabel>(f, "Label5", 16)->isVisible());
  EXPECT_FALSE(Control<QLabel>(f, "Label5", 37)->isVisible());
  EXPECT_TRUE(Control<QLabel>(f, "Label5", 36)->isVisible());
  EXPECT_FALSE(Control<QLabel>(f, "Label2", 11)->isVisible());
  EXPECT_FALSE(Control<QLabel>(f, "Label2", 10)->isVisible());
  EXPECT_TRUE(Control<QLabel>(f, "Label2", 9)->isVisible());
  EXPECT_TRUE(Control<QLabel>(f, "Label2", 5)->isVisible());

  p.ClickCell(24);
  EXPECT_EQ(p.CloseResult(), QStringLiteral("Player1 Win"));
  // The outline runs 12 -> 13 -> 24 -> 23 -> 12 through the cells' centres
  // (to the pixel: a cell is 25 pixels wide).
  const int corner[4] = {12, 13, 24, 23};
  const auto off_centre = [&](TwipPoint point, int cell) {
    return (QPoint(Px(point.x), Px(point.y)) -
            Control<CellLabel>(f, "Label1", cell)->geometry().center())
        .manhattanLength();
  };
  for (int edge = 0; edge < 4; ++edge) {
    const LineShape* line = Control<LineShape>(f, "Line1", edge);
    EXPECT_TRUE(line->isVisible());
    EXPECT_LE(off_centre(line->From(), corner[edge]), 1) << edge;
    EXPECT_LE(off_centre(line->To(), corner[(edge + 1) % 4]), 1) << edge;
    EXPECT_EQ(line->Color(), QColor(Qt::red));
  }
  // Shapes as well as colours: white signs on the pieces, a white edge on
  // the outline; the blocker and the empty cell stay as they were.
  const auto centre = [&](int cell) {
    const QImage image = Control<CellLabel>(f, "Label1", cell)->grab().toImage();
    return image.pixelColor(image.rect().center());
  };
  EXPECT_EQ(centre(50), QColor(Qt::blue));
  Control<QAction>(f, "Mnu_Shapes")->trigger();
  EXPECT_EQ(centre(12), QColor(Qt::white));
  EXPECT_EQ(centre(50), QColor(Qt::white));
  EXPECT_EQ(Control<CellLabel>(f, "Label1", 12)->CellShape(), CellLabel::kDot);
  EXPECT_EQ(Control<CellLabel>(f, "Label1", 50)->CellShape(), CellLabel::kCross);
  EXPECT_EQ(Control<CellLabel>(f, "Label5", 0)->CellShape(), CellLabel::kDot);
  EXPECT_EQ(Control<CellLabel>(f, "Label5", 39)->CellShape(), CellLabel::kCross);
  EXPECT_EQ(centre(70), QColor(Qt::white));
  EXPECT_EQ(centre(60), QColor(Qt::black));
  EXPECT_TRUE(Control<LineShape>(f, "Line1", 0)->Edged());
  ASSERT_TRUE(
      WaitFor([&] { return Control<QLabel>(f, "Label3")->text() == QStringLiteral("( 2, 2)"); }));
  EXPECT_EQ(PanelState(f), "111101 000000 000000");
  EXPECT_THAT(Captions(f),
              ::testing::ElementsAre("13 戦", "8 勝", "4 負", "0 引き分け", "勝率 61.5 %"));
  EXPECT_EQ(p.ReadConfig(), QByteArray("Taro\r\n 13 \r\n 8 \r\n 4 \r\n"));

  // Over: clicks place nothing, and a new game clears the board.
  p.ClickCell(60);
  EXPECT_EQ(f.game().Board()[60], Empty);
  p.NewGame();
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Player1; }));
  EXPECT_FALSE(Control<LineShape>(f, "Line1", 0)->isVisible());
  EXPECT_EQ(Background(Control<CellLabel>(f, "Label1", 12)), QColor(Qt::black));
  EXPECT_TRUE(Control<QLabel>(f, "Label5", 17)->isVisible());
  EXPECT_TRUE(Control<QLabel>(f, "Label2", 11)->isVisible());

  // The choice outlives the program.
  p.form1.reset();
  p.Start();
  ASSERT_TRUE(p.WaitShown());
  EXPECT_TRUE(Control<QAction>(*p.form1, "Mnu_Shapes")->isChecked());
  ASSERT_TRUE(p.StartVsHuman());
  p.ClickCell(12);
  EXPECT_EQ(Control<CellLabel>(*p.form1, "Label1", 12)->CellShape(), CellLabel::kDot);
}

TEST(Form1, TheTurnLampsShowTheSideToMoveAtAGlanceAndNobodyWhenBothAreOff) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  for (int side = 0; side < 2; ++side) {
    for (QLabel* marker : Control<QGroupBox>(f, "Frame1", side)->findChildren<QLabel*>()) {
      EXPECT_FALSE(
          Control<TurnLamp>(f, "TurnMarker", side)->geometry().intersects(marker->geometry()))
          << marker->objectName().toStdString();
    }
  }
  const auto panel = [&](int side) {
    return Control<QGroupBox>(f, "Frame1", side)->grab().toImage();
  };
  const auto differing = [](const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x)
        count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    }
    return count;
  };
  const QImage left_before_any_game = panel(0);
  ASSERT_TRUE(p.StartVsHuman());
  const QImage left_to_move = panel(0);
  const QImage right_waiting = panel(1);
  EXPECT_GE(differing(left_to_move, left_before_any_game), 400);

  // Nobody to move: both panels look as the one that waits.
  f.shell().MoveHandedTo(0);
  EXPECT_EQ(panel(0), left_before_any_game);
  EXPECT_EQ(panel(1), right_waiting);
}

TEST(Form1, AVsHumanGameDecidedByTheBlockersLeftOpensThePanelAroundItsResult) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  ASSERT_TRUE(p.StartVsHuman());
  p.ClickCell(100, Qt::RightButton);  // Player1 keeps one blocker fewer
  // Each side takes the first empty cell that gives it no square.
  while (f.game().Turn() == Player1 || f.game().Turn() == Player2) {
    const Side mover = f.game().Turn();
    for (int cell = 1; cell < kCellCount; ++cell) {
      if (!IsPlayableCell(cell) || f.game().Board()[cell] != Empty) continue;
      BoardCells trial = f.game().Board();
      trial[cell] = mover;
      if (!ScanSquares(trial, mover).empty()) continue;
      p.ClickCell(cell);
      break;
    }
  }
  ASSERT_TRUE(WaitFor([&] { return testing::VisibleWindow<Form5>() != nullptr; }));
  EXPECT_TRUE(On(Control<QGroupBox>(f, "Frame2")));  // opened before the result is shown
  EXPECT_EQ(p.CloseResult(), QStringLiteral("Player2 Win"));
  ASSERT_TRUE(WaitFor([&] { return PanelState(f) == "111101 000000 000000"; }));
  EXPECT_EQ(f.game().records.Losses, 4);  // unchanged
  EXPECT_EQ(f.game().records.Wins, 7);
  EXPECT_EQ(p.ReadConfig(), kTaro);  // nothing saved
}

TEST(Form1, FirstRunAsksForANameBeforeTheWindowOpens) {
  Program p;
  auto* form6 = WaitForWindow<Form6>();
  ASSERT_NE(form6, nullptr);
  EXPECT_FALSE(p.form1->isVisible());
  EXPECT_EQ(form6->windowTitle(), QStringLiteral("Welcome to Vexa with Online"));

  form6->Command1->click();
  auto seen = Answer(QMessageBox::Ok);
  EXPECT_EQ(seen.text, QStringLiteral("プレイヤーネームは空白ではいけません"));
  EXPECT_EQ(seen.title, QStringLiteral("Vexa with Online"));
  EXPECT_EQ(seen.icon, QMessageBox::Information);
  EXPECT_TRUE(form6->isVisible());

  // A name the records file could not hold is refused with a message.
  form6->Text1->setText(QStringLiteral("\"quoted"));
  form6->Command1->click();
  EXPECT_TRUE(Answer(QMessageBox::Ok).text.contains(QStringLiteral("保存できません")));
  EXPECT_TRUE(form6->isVisible());
  // So is one that would reach an online peer cut in two.
  form6->Text1->setText(QStringLiteral("Mr PutU 1"));
  form6->Command1->click();
  EXPECT_TRUE(Answer(QMessageBox::Ok).text.contains(QStringLiteral("正しく届きません")));
  EXPECT_TRUE(form6->isVisible());

  form6->Text1->setText(QStringLiteral("  "));  // a name of blanks is a name
  form6->Command1->click();
  ASSERT_TRUE(p.WaitShown());
  EXPECT_EQ(p.ReadConfig(), QByteArray("\"  \"\r\n 0 \r\n 0 \r\n 0 \r\n"));
  EXPECT_EQ(Control<QLineEdit>(*p.form1, "Text1", 2)->text(), QStringLiteral("  "));
  EXPECT_THAT(Captions(*p.form1),
              ::testing::ElementsAre("0 戦", "0 勝", "0 負", "0 引き分け", "勝率 0 %"));
}

TEST(Form1, ARecordsFileOfTwoLinesIsTakenAsFarAsItGoes) {
  Program p("Hanako\r\n9\r\n");
  const auto seen = Answer(QMessageBox::Ok);
  EXPECT_EQ(seen.text, QStringLiteral("設定ファイルの読み込みしに失敗しました"));
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
  ASSERT_TRUE(p.WaitShown());
  EXPECT_EQ(Control<QLineEdit>(*p.form1, "Text1", 2)->text(), QStringLiteral("Hanako"));
  EXPECT_THAT(Captions(*p.form1),
              ::testing::ElementsAre("9 戦", "0 勝", "0 負", "0 引き分け", "勝率 0 %"));
  EXPECT_EQ(testing::VisibleWindow<QMessageBox>(), nullptr);
}

TEST(Form1, ARecordsFileFromAJapaneseSystemReadsItsName) {
  Program p("\x91\xBE\x98\x59\r\n3\r\n1\r\n2\r\n");
  ASSERT_TRUE(p.WaitShown());
  EXPECT_EQ(Control<QLineEdit>(*p.form1, "Text1", 2)->text(), QStringLiteral("太郎"));
  EXPECT_EQ(Captions(*p.form1)[4], QStringLiteral("勝率 33.3 %"));
}

TEST(Form1, RecordsResetNeedsTwoYes) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  Control<QAction>(f, "Mnu_Format")->trigger();
  const auto first = Answer(QMessageBox::Cancel);
  EXPECT_EQ(first.text, QStringLiteral("通算成績を初期化します。よろしいですか？"));
  EXPECT_EQ(first.icon, QMessageBox::Question);
  EXPECT_EQ(first.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  // Qt's own button captions speak Japanese too.
  EXPECT_EQ(first.answer_text, QStringLiteral("キャンセル"));
  Control<QAction>(f, "Mnu_Format")->trigger();
  EXPECT_EQ(Answer(QMessageBox::No).answer_text, QStringLiteral("いいえ(&N)"));
  Control<QAction>(f, "Mnu_Format")->trigger();
  EXPECT_EQ(Answer(QMessageBox::Yes).answer_text, QStringLiteral("はい(&Y)"));
  const auto second = Answer(QMessageBox::No);
  EXPECT_EQ(second.text, QStringLiteral("本当によろしいですか？"));
  EXPECT_EQ(second.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(p.ReadConfig(), kTaro);
  EXPECT_EQ(Captions(f)[0], QStringLiteral("12 戦"));

  Control<QAction>(f, "Mnu_Format")->trigger();
  Answer(QMessageBox::Yes);
  Answer(QMessageBox::Yes);
  ASSERT_TRUE(WaitFor([&] { return p.ReadConfig() == "Taro\r\n 0 \r\n 0 \r\n 0 \r\n"; }));
  EXPECT_THAT(Captions(f),
              ::testing::ElementsAre("0 戦", "0 勝", "0 負", "0 引き分け", "勝率 0 %"));
  EXPECT_EQ(Control<QLineEdit>(f, "Text1", 2)->text(), QStringLiteral("Taro"));
}

TEST(Form1, ChangeOfNameWithOkAndCancel) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  // The dialog, `name` typed, "OK"; true once the dialog has closed.
  const auto rename = [&](const QString& name) {
    Control<QAction>(f, "Mnu_ChangeName")->trigger();
    auto* form8 = WaitForWindow<Form8>();
    if (form8 == nullptr) return false;
    form8->Text1->setText(name);
    form8->Command1[0]->click();
    return WaitFor([] { return testing::VisibleWindow<Form8>() == nullptr; });
  };

  Control<QAction>(f, "Mnu_ChangeName")->trigger();
  auto* form8 = WaitForWindow<Form8>();
  ASSERT_NE(form8, nullptr);
  EXPECT_EQ(form8->windowTitle(), QStringLiteral("プレイヤーネームの変更"));
  EXPECT_EQ(form8->Text1->text(), QStringLiteral("Taro"));
  form8->Text1->setText(QStringLiteral("Jiro"));
  form8->Command1[1]->click();  // キャンセル
  ASSERT_TRUE(WaitFor([] { return testing::VisibleWindow<Form8>() == nullptr; }));
  EXPECT_EQ(Control<QLineEdit>(f, "Text1", 2)->text(), QStringLiteral("Taro"));
  EXPECT_EQ(p.ReadConfig(), kTaro);

  ASSERT_TRUE(rename(QString()));
  EXPECT_EQ(Control<QLineEdit>(f, "Text1", 2)->text(), QString());
  EXPECT_EQ(p.ReadConfig(), QByteArray("\r\n 12 \r\n 7 \r\n 4 \r\n"));

  ASSERT_TRUE(rename(QStringLiteral("花子, 2号")));
  EXPECT_EQ(Control<QLineEdit>(f, "Text1", 2)->text(), QStringLiteral("花子, 2号"));
  EXPECT_EQ(p.ReadConfig(),
            QByteArray("\"\x89\xd4\x8e\x71, 2\x8d\x86\"\r\n 12 \r\n 7 \r\n 4 \r\n"));

  // A keyword at the end of a name does not cut it on the way to a peer.
  for (const QString& name : {QStringLiteral("MrShow"), QStringLiteral("MrEndG")}) {
    ASSERT_TRUE(rename(name)) << name.toStdString();
    EXPECT_EQ(Control<QLineEdit>(f, "Text1", 2)->text(), name);
  }
}

TEST(Form1, AFailedSaveIsToldOnceAndTheRecordsStayInMemory) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  // Something that is no file stands where the records go.
  ASSERT_TRUE(QFile::remove(p.ConfigPath()));
  ASSERT_TRUE(QDir().mkdir(p.ConfigPath()));

  Control<QAction>(f, "Mnu_Format")->trigger();
  Answer(QMessageBox::Yes);
  Answer(QMessageBox::Yes);
  const auto seen = Answer(QMessageBox::Ok);
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_TRUE(seen.text.contains(QStringLiteral("保存できませんでした")));
  EXPECT_EQ(Captions(f)[0], QStringLiteral("0 戦"));

  Control<QAction>(f, "Mnu_Format")->trigger();
  Answer(QMessageBox::Yes);
  Answer(QMessageBox::Yes);
  // The reset has saved (and failed) again: nothing is waiting on a message.
  ASSERT_TRUE(WaitFor([&] { return f.PendingTasks() == 0; }));
  EXPECT_EQ(testing::VisibleWindow<QMessageBox>(), nullptr);
}

TEST(Form1, QuitAsksFirst) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  Control<QAction>(f, "Mnu_End")->trigger();
  const auto seen = Answer(QMessageBox::No);
  EXPECT_EQ(seen.text, QStringLiteral("終了しますか？"));
  EXPECT_EQ(seen.title, QStringLiteral("Vexa with Online Ver1.2"));
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_TRUE(f.isVisible());

  f.close();
  Answer(QMessageBox::Yes);
  EXPECT_TRUE(WaitFor([&] { return !f.isVisible(); }));
}

TEST(Form1, TheReachListButtonListsSides1And2) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  BoardCells board{};
  for (int cell : {24, 26, 46})
    board[cell] = Player1;
  f.game().SetUpPosition(board, f.game().PieceStock(), f.game().BlockerStock(), f.game().Turn());
  for (int twice = 0; twice < 2; ++twice) {
    Control<QPushButton>(f, "Command2")->click();
    EXPECT_EQ(Items(Control<QListWidget>(f, "List1", 0)), QStringList{QStringLiteral(" 48")});
    EXPECT_EQ(Items(Control<QListWidget>(f, "List2", 0)).join(u'|'),
              QStringLiteral(" 2| 4| 22| 44| 34| 36| 50| 70"));
    EXPECT_TRUE(Items(Control<QListWidget>(f, "List1", 1)).isEmpty());
    EXPECT_TRUE(Items(Control<QListWidget>(f, "List2", 1)).isEmpty());
  }
}

TEST(Form1, AboutBoxShowsTheIconThatEveryWindowCarries) {
  Program p(kTaro);
  ASSERT_TRUE(p.WaitShown());
  const auto has_icon = [](QWidget* w) { return !w->windowIcon().pixmap(32, 32).isNull(); };
  EXPECT_TRUE(has_icon(p.form1.get()));
  Control<QAction>(*p.form1, "Mnu_About")->trigger();
  auto* form2 = WaitForWindow<Form2>();
  ASSERT_NE(form2, nullptr);
  EXPECT_EQ(form2->windowTitle(), QStringLiteral("About"));
  EXPECT_EQ(form2->findChild<QLabel*>(QStringLiteral("Label1_2"))->text(),
            QStringLiteral("Ver 1.2"));
  const QPixmap image = form2->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap();
  EXPECT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(32, 32));
  EXPECT_TRUE(has_icon(form2));
  form2->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
  EXPECT_TRUE(WaitFor([] { return testing::VisibleWindow<Form2>() == nullptr; }));
}

}  // namespace
}  // namespace vexa::app
