#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/square_scan.h"
#include "online_driver.h"

namespace vexa::app {
namespace {

using testing::Answer;
using testing::Control;
using testing::DialogOf;
using ::testing::ElementsAre;
using testing::OnlinePair;
using testing::OnlineProgram;
using testing::WaitFor;

TEST_F(OnlinePair, SettingsAreMirroredAndTwoGamesArePlayed) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  Form4* h = HostSettings();
  Form4* g = GuestSettings();
  EXPECT_EQ(h->windowTitle(), QStringLiteral("ゲーム設定"));
  EXPECT_EQ(h->Label2[0]->text(), QStringLiteral("Taro"));
  EXPECT_EQ(h->Label2[1]->text(), QStringLiteral("Hanako"));
  EXPECT_EQ(g->Label2[0]->text(), QStringLiteral("Hanako"));
  EXPECT_EQ(g->Label2[1]->text(), QStringLiteral("Taro"));
  EXPECT_TRUE(h->Option1[0]->isChecked());
  ASSERT_TRUE(WaitFor([&] { return g->Option1[1]->isChecked(); }));
  for (QWidget* w : {static_cast<QWidget*>(g->Option1[0]), static_cast<QWidget*>(g->Option1[1]),
                     static_cast<QWidget*>(g->Option2[0]), static_cast<QWidget*>(g->Option2[1]),
                     static_cast<QWidget*>(g->Text1), static_cast<QWidget*>(g->Command1[0])}) {
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  }
  EXPECT_TRUE(g->Text2->isEnabled());
  EXPECT_TRUE(g->Command1[1]->isEnabled());

  // "Excite", and the time limit typed anew as 10.
  QTest::mouseClick(h->Option2[1], Qt::LeftButton);
  h->Text1->clear();
  QTest::keyClicks(h->Text1, QStringLiteral("10"));
  ASSERT_TRUE(WaitFor([&] { return g->Text1->text() == QStringLiteral("10"); }));
  ASSERT_TRUE(WaitFor([&] { return host.Count(QStringLiteral("LimS")) == 3; }));
  EXPECT_TRUE(g->Option2[1]->isChecked());
  EXPECT_THAT(guest.received,
              ElementsAre("Name Taro", "Show", "Optn 0", "Opt2 1", "LimS ", "LimS 1", "LimS 10"));
  // Each setting came back exactly once.
  EXPECT_THAT(host.received,
              ElementsAre("Name Hanako", "Optn 1", "Opt2 1", "LimS ", "LimS 1", "LimS 10"));

  h->Command1[0]->click();  // ゲームスタート
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Remote; }));
  EXPECT_EQ(guest.received.last(), QStringLiteral("StTn 0"));
  EXPECT_EQ(host.form1->game().Turn(), Player1);
  EXPECT_FALSE(h->isVisible());
  EXPECT_FALSE(g->isVisible());
  EXPECT_EQ(Control<QGroupBox>(*host.form1, "Frame1", 0)->title(), QStringLiteral("Taro"));
  EXPECT_EQ(Control<QGroupBox>(*host.form1, "Frame1", 1)->title(), QStringLiteral("Hanako"));
  EXPECT_EQ(Control<QGroupBox>(*guest.form1, "Frame1", 1)->title(), QStringLiteral("Taro"));
  EXPECT_EQ(host.form1->game().online.TimeLimit, 10);
  EXPECT_EQ(guest.form1->game().online.ClockStyle, GameOption::Excite);
  EXPECT_TRUE(host.form1->online_play().session().MoveClockTimer().isActive());
  EXPECT_FALSE(guest.form1->online_play().session().MoveClockTimer().isActive());

  Move(host, guest, 12);
  EXPECT_FALSE(host.form1->online_play().session().MoveClockTimer().isActive());
  EXPECT_TRUE(guest.form1->online_play().session().MoveClockTimer().isActive());
  Move(guest, host, 50, Qt::RightButton);  // a blocker keeps the move
  Move(guest, host, 51);
  Move(host, guest, 13);
  Move(guest, host, 52);
  Move(host, guest, 23);
  Move(guest, host, 53);
  host.ClickCell(24);
  EXPECT_EQ(host.CloseResult(), QStringLiteral("Taro Win"));
  EXPECT_EQ(guest.CloseResult(), QStringLiteral("Taro Win"));
  EXPECT_EQ(host.form1->game().records.Wins, 1);
  EXPECT_EQ(guest.form1->game().records.Losses, 1);
  ExpectSameBoards();
  EXPECT_FALSE(
      Control<QLabel>(*host.form1, "Label2", 11)->isVisible());  // the host saw the guest's blocker

  // The host's "Show" opens both settings dialogs again, settings kept; the
  // guest moves first this time.
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form4>(host) && DialogOf<Form4>(guest); }));
  EXPECT_EQ(HostSettings(), h);
  EXPECT_EQ(h->Text1->text(), QStringLiteral("10"));
  EXPECT_TRUE(g->Option2[1]->isChecked());
  QTest::mouseClick(h->Option1[1], Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return g->Option1[0]->isChecked(); }));
  h->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Player1; }));
  EXPECT_EQ(guest.received.last(), QStringLiteral("StTn 1"));
  EXPECT_EQ(host.form1->game().Turn(), Remote);
  EXPECT_TRUE(guest.form1->online_play().session().MoveClockTimer().isActive());
  Move(guest, host, 60);
  EXPECT_EQ(host.form1->game().Turn(), Player1);
  EXPECT_EQ(host.form1->game().records.GamesPlayed, 2);
  EXPECT_EQ(guest.form1->game().records.GamesPlayed, 2);
}

TEST_F(OnlinePair, AGuestThatConfirmsFirstWaitsForTheHostAndANewConnectionForgetsTheOldName) {
  HostPressed();
  JoinPressed();
  Form3* guest3 = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (guest3 = DialogOf<Form3>(guest)) && guest3->Connected(); }));
  EXPECT_EQ(guest3->Label1->text(), QStringLiteral("接続できました"));
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().online.OpponentName == "Taro"; }));
  guest3->Command1->click();
  Form7* waiting = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (waiting = DialogOf<Form7>(guest)) != nullptr; }));
  EXPECT_EQ(waiting->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
            QStringLiteral("ホストの応答を待っています"));
  EXPECT_FALSE(Control<QGroupBox>(*guest.form1, "Frame2")->isEnabled());

  Form3* host3 = DialogOf<Form3>(host);
  ASSERT_NE(host3, nullptr);
  EXPECT_EQ(host3->Label1->text(), QStringLiteral("対戦相手が来ました"));
  host3->Command1->click();
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form4>(guest) != nullptr; }));
  EXPECT_EQ(DialogOf<Form7>(guest), nullptr);

  // Leaving, then hosting anew: the old peer's name is gone until a new
  // one arrives.
  GuestSettings()->Command1[1]->click();
  Answer(QMessageBox::Ok);
  ASSERT_TRUE(
      WaitFor([&] { return Control<net::Winsock>(*host.form1, "Winsock1")->State() == 0; }));
  Control<QPushButton>(*host.form1, "Command1", 0)->click();
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form3>(host) != nullptr; }));
  EXPECT_TRUE(host.form1->game().online.OpponentName.empty());
  DialogOf<Form3>(host)->Command1->click();  // キャンセル
}

TEST_F(OnlinePair, AfterLeavingTheNextConnectionGetsFreshSettings) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  HostSettings()->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Remote; }));
  Control<QAction>(*guest.form1, "Mnu_GameEnd")->trigger();  // the guest leaves
  Answer(QMessageBox::Ok);
  ASSERT_TRUE(
      WaitFor([&] { return Control<net::Winsock>(*guest.form1, "Winsock1")->State() == 0; }));

  // The roles swap: the old guest hosts, the old host joins.
  guest.received.clear();
  ChooseOnline(guest, port);
  Control<QPushButton>(*guest.form1, "Command1", 0)->click();
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form3>(guest) != nullptr; }));
  ChooseOnline(host, port);
  Control<QLineEdit>(*host.form1, "Text1", 0)->setText(QStringLiteral("127.0.0.1"));
  Control<QPushButton>(*host.form1, "Command1", 1)->click();
  Form3* new_host3 = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (new_host3 = DialogOf<Form3>(guest)) && new_host3->Connected(); }));
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().online.OpponentName == "Taro"; }));
  new_host3->Command1->click();
  Form4* settings = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (settings = DialogOf<Form4>(guest)) != nullptr; }));
  EXPECT_TRUE(settings->Command1[0]->isEnabled());  // a host's dialog, loaded anew
  EXPECT_TRUE(settings->Text2->isEnabled());
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form4>(host) != nullptr; }));
  EXPECT_FALSE(DialogOf<Form4>(host)->Command1[0]->isEnabled());
  EXPECT_EQ(DialogOf<Form4>(host)->Label2[1]->text(), QStringLiteral("Hanako"));
}

TEST_F(OnlinePair, ALocalPlayerWhoDoesNotMoveLosesBlockersThenTheGame) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  host.form1->online_play().session().SetTickPeriod(60);
  QTest::mouseClick(HostSettings()->Option2[1], Qt::LeftButton);
  HostSettings()->Text1->setText(QStringLiteral("2"));
  ASSERT_TRUE(WaitFor([&] { return GuestSettings()->Text1->text() == QStringLiteral("2"); }));
  HostSettings()->Command1[0]->click();

  // Each blocker lost is told on both sides while the clock runs on.
  const auto status = [](OnlineProgram& side) { return testing::StatusLine(*side.form1); };
  EXPECT_TRUE(WaitFor(
      [&] { return status(host) == QStringLiteral("時間切れ: ブロッカーを一つ失いました"); }));
  EXPECT_TRUE(WaitFor([&] { return status(guest).startsWith(QStringLiteral("相手の時間切れ")); }));
  // The guest first: the host's closing of its result opens the next
  // settings on both sides. Beside the result, each side says the clock
  // decided.
  EXPECT_EQ(guest.CloseResult(), QStringLiteral("Hanako Win"));
  EXPECT_EQ(host.CloseResult(), QStringLiteral("Hanako Win"));
  EXPECT_EQ(status(host), QStringLiteral("時間切れで負けました"));
  EXPECT_EQ(status(guest), QStringLiteral("相手の時間切れで勝ちました"));
  EXPECT_EQ(guest.Count(QStringLiteral("DecS")), 6);
  EXPECT_EQ(guest.Count(QStringLiteral("Lose")), 1);
  EXPECT_EQ(host.form1->game().records.Losses, 1);
  EXPECT_EQ(guest.form1->game().records.Wins, 1);
  for (int i = 0; i < 6; ++i) {
    EXPECT_FALSE(Control<QLabel>(*host.form1, "Label2", i)->isVisible());
    EXPECT_FALSE(Control<QLabel>(*guest.form1, "Label2", 6 + i)->isVisible());
  }
  EXPECT_EQ(guest.form1->game().BlockerStock()[Remote - 1], 0);
  EXPECT_FALSE(host.form1->online_play().session().MoveClockTimer().isActive());

  // The guest looks at a "VS CPU" record meanwhile; the host's next game
  // ends the replay and is played online, on the connection still open.
  const QString path = QDir(guest.DataPath()).filePath(QStringLiteral("cpu.txt"));
  QFile record(path);
  ASSERT_TRUE(record.open(QIODevice::WriteOnly));
  record.write(
      "date 2026-12-09T10:00:00\nmode VS CPU\nleft Player1\nright CPU\nstrength Easy\n"
      "first 1\nresult abandoned\nhow abandoned\nwinner 0\nmoves\n1 P 12\n");
  record.close();
  guest.form1->Start(guest.form1->OpenRecordFile(path));
  ASSERT_TRUE(WaitFor([&] { return guest.form1->InReplay(); }));
  EXPECT_EQ(guest.form1->shell().Mode(), GameMode::VsCpu);
  ASSERT_TRUE(WaitFor([&] { return HostSettings() != nullptr; }));
  HostSettings()->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().GameRunning(); }));
  EXPECT_FALSE(guest.form1->InReplay());
  EXPECT_EQ(guest.form1->shell().Mode(), GameMode::VsOnline);
  EXPECT_EQ(guest.form1->game().Turn(), Remote);
  EXPECT_TRUE(guest.form1->online_play().session().Connected());
}

TEST_F(OnlinePair, WhenThePiecesRunOutTheBlockersDecideOnBothSides) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  HostSettings()->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Remote; }));
  Move(host, guest, 100, Qt::RightButton);  // the host has a blocker fewer
  OnlineProgram* mover = &host;
  OnlineProgram* other = &guest;
  for (int move = 0; move < 2 * kPiecesPerSide; ++move) {
    const Game& game = mover->form1->game();
    int cell = 1;
    for (; cell < kCellCount; ++cell) {
      if (!IsPlayableCell(cell) || game.Board()[cell] != Empty) continue;
      BoardCells trial = game.Board();
      trial[cell] = Player1;
      if (ScanSquares(trial, Player1).empty()) break;
    }
    if (move + 1 < 2 * kPiecesPerSide) {
      ASSERT_NO_FATAL_FAILURE(Move(*mover, *other, cell));
    } else {
      mover->ClickCell(cell);
    }
    std::swap(mover, other);
  }
  EXPECT_EQ(host.CloseResult(), QStringLiteral("Hanako Win"));
  EXPECT_EQ(guest.CloseResult(), QStringLiteral("Hanako Win"));
  EXPECT_EQ(host.form1->game().records.Wins + host.form1->game().records.Losses, 0);
  EXPECT_EQ(guest.form1->game().records.Wins + guest.form1->game().records.Losses, 0);
  ExpectSameBoards();
}

TEST_F(OnlinePair, ChatLinesReachBothListsOnBothMachines) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  GuestSettings()->Text2->setText(QStringLiteral("よろしく"));
  QTest::keyClick(GuestSettings()->Text2, Qt::Key_Return);
  HostSettings()->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Remote; }));
  QLineEdit* chat_input = Control<QLineEdit>(*host.form1, "Text2");
  QTest::keyClick(chat_input, Qt::Key_Return);  // empty: nothing
  QTest::keyClicks(chat_input, QStringLiteral("hi"));
  QTest::keyClick(chat_input, Qt::Key_Return);
  EXPECT_TRUE(chat_input->text().isEmpty());

  const QStringList expected = {QStringLiteral("Hanako >> よろしく"), QStringLiteral("Taro >> hi")};
  for (testing::OnlineProgram* p : {&host, &guest}) {
    QListWidget* chat = Control<QListWidget>(*p->form1, "List3");
    ASSERT_TRUE(WaitFor([&] { return chat->count() == 2; }));
    EXPECT_EQ(chat->item(0)->text(), expected[0]);
    EXPECT_EQ(chat->item(1)->text(), expected[1]);
    Form4* settings = p->form1->online_play().dialogs().SettingsDialog();
    ASSERT_EQ(settings->List3->count(), 2);
    EXPECT_EQ(settings->List3->item(1)->text(), expected[1]);
  }
}

TEST_F(OnlinePair, TheHostsSettingsEndTellsTheGuestAndClearsItsBoard) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  HostSettings()->Command1[1]->click();  // 終了
  const auto seen = Answer(QMessageBox::Ok);
  EXPECT_EQ(seen.text, QStringLiteral("対戦相手が離脱しました"));
  EXPECT_EQ(seen.icon, QMessageBox::Information);
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == NoTurn; }));
  EXPECT_EQ(DialogOf<Form4>(guest), nullptr);
  EXPECT_EQ(DialogOf<Form4>(host), nullptr);
  EXPECT_EQ(Control<net::Winsock>(*guest.form1, "Winsock1")->State(), 0);
  EXPECT_EQ(guest.form1->game().online.IsGuest, 0);
  EXPECT_TRUE(Control<QGroupBox>(*guest.form1, "Frame3")->isEnabled());
  EXPECT_TRUE(Control<QGroupBox>(*host.form1, "Frame3")->isEnabled());
  EXPECT_FALSE(Control<QLineEdit>(*guest.form1, "Text2")->isEnabled());
  // The host has seen the guest close its end, and tells its user nothing.
  ASSERT_TRUE(
      WaitFor([&] { return Control<net::Winsock>(*host.form1, "Winsock1")->State() == 8; }));
  EXPECT_EQ(testing::VisibleWindow<QMessageBox>(), nullptr);
}

TEST_F(OnlinePair, BothLeavingAtOnceCloseTheConnectionWithoutNews) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  HostSettings()->Command1[1]->click();  // 終了 on both sides, their "EndG"s cross
  GuestSettings()->Command1[1]->click();
  ASSERT_TRUE(WaitFor([&] {
    return Control<net::Winsock>(*host.form1, "Winsock1")->State() == 0 &&
           Control<net::Winsock>(*guest.form1, "Winsock1")->State() == 0;
  }));
  EXPECT_EQ(testing::VisibleWindow<QMessageBox>(), nullptr);
  EXPECT_TRUE(Control<QPushButton>(*host.form1, "Command1", 0)->isEnabled());
  EXPECT_TRUE(Control<QPushButton>(*guest.form1, "Command1", 1)->isEnabled());
}

TEST_F(OnlinePair, PressingAConnectionButtonAgainDropsThePeerWithoutAWord) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  HostSettings()->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Remote; }));
  // The guest hosts anew (the handler itself: the locked panel would not
  // take the click): its old connection closes without "EndG"; the host
  // notices the connection gone and reports it as a leaving.
  guest.form1->online_play().HostOrJoin(0);
  EXPECT_EQ(Answer(QMessageBox::Ok).text, QStringLiteral("対戦相手が離脱しました"));
  ASSERT_TRUE(WaitFor([&] { return host.form1->game().Turn() == NoTurn; }));
  EXPECT_EQ(host.Count(QStringLiteral("EndG")), 0);
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form3>(guest) != nullptr; }));
  EXPECT_EQ(Control<net::Winsock>(*guest.form1, "Winsock1")->State(), 2);  // listening anew
  DialogOf<Form3>(guest)->Command1->click();
}

TEST_F(OnlinePair, AbandoningAGameTellsThePeerAndReturnsOnceItHasClosed) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  HostSettings()->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Remote; }));
  Move(host, guest, 60);
  Control<QAction>(*guest.form1, "Mnu_GameEnd")->trigger();
  EXPECT_EQ(Answer(QMessageBox::Ok).text, QStringLiteral("対戦相手が離脱しました"));
  ASSERT_TRUE(WaitFor([&] { return host.form1->game().Turn() == NoTurn; }));
  ASSERT_TRUE(
      WaitFor([&] { return Control<net::Winsock>(*guest.form1, "Winsock1")->State() == 0; }));
  EXPECT_EQ(host.form1->game().Board()[60], Empty);
  EXPECT_EQ(guest.form1->game().Board()[60], Empty);
  EXPECT_EQ(Control<net::Winsock>(*host.form1, "Winsock1")->State(), 0);
}

TEST_F(OnlinePair, AVanishedPeerIsReportedLikeOneThatLeftAndItsGameRecordedSo) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  HostSettings()->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Remote; }));
  Move(host, guest, 60);
  guest.form1.reset();  // the program ends without a word
  EXPECT_EQ(Answer(QMessageBox::Ok).text, QStringLiteral("対戦相手が離脱しました"));
  ASSERT_TRUE(WaitFor([&] { return host.form1->game().Turn() == NoTurn; }));
  EXPECT_EQ(Control<net::Winsock>(*host.form1, "Winsock1")->State(), 0);

  // Its record: no result, ended by the peer's leaving, and the replay
  // says so.
  const QDir games(QDir(host.DataPath()).filePath(QStringLiteral("games")));
  ASSERT_TRUE(WaitFor([&] { return games.entryList(QDir::Files).size() == 1; }));
  const QString path = games.filePath(games.entryList(QDir::Files).front());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.contains("\nresult abandoned\nhow left\n")) << text.toStdString();
  host.form1->Start(host.form1->OpenRecordFile(path));
  ASSERT_TRUE(WaitFor([&] { return host.form1->InReplay(); }));
  EXPECT_TRUE(testing::StatusLine(*host.form1).contains(QStringLiteral("相手の離脱で終了")))
      << testing::StatusLine(*host.form1).toStdString();
}

TEST_F(OnlinePair, QuittingTheProgramSaysGoodbyeFirst) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  HostSettings()->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Remote; }));
  host.form1->close();
  Answer(QMessageBox::No);
  EXPECT_TRUE(host.form1->isVisible());
  EXPECT_EQ(Control<net::Winsock>(*guest.form1, "Winsock1")->State(), 7);
  host.form1->close();
  Answer(QMessageBox::Yes);
  // Two message boxes may be in play now: the guest's news.
  EXPECT_EQ(Answer(QMessageBox::Ok).text, QStringLiteral("対戦相手が離脱しました"));
  ASSERT_TRUE(WaitFor([&] { return !host.form1->isVisible(); }));
  EXPECT_GE(guest.Count(QStringLiteral("EndG")), 1);
}

TEST_F(OnlinePair, ALocalGameWhileConnectedEndsTheConnection) {
  ASSERT_NO_FATAL_FAILURE(Connect());
  HostSettings()->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Remote; }));
  Control<QRadioButton>(*guest.form1, "Option1", 1)->setChecked(true);  // "VS Human"
  guest.NewGame();
  EXPECT_EQ(Answer(QMessageBox::Ok).text, QStringLiteral("対戦相手が離脱しました"));
  ASSERT_TRUE(
      WaitFor([&] { return Control<net::Winsock>(*guest.form1, "Winsock1")->State() == 0; }));
  EXPECT_EQ(host.Count(QStringLiteral("EndG")), 1);
  EXPECT_EQ(guest.form1->game().Turn(), Player1);
}

TEST_F(OnlinePair, PortErrorsEmptyNamesAndNobodyListening) {
  // The chat port would be 65536.
  ChooseOnline(host, 65535);
  Control<QPushButton>(*host.form1, "Command1", 0)->click();
  auto first = Answer(QMessageBox::Ok);
  EXPECT_EQ(first.text, QStringLiteral("指定したポートでゲームを主催している人が他にいます。"));
  EXPECT_EQ(first.icon, QMessageBox::Critical);
  auto second = Answer(QMessageBox::Ok);
  EXPECT_EQ(second.text, QStringLiteral("他のポートを指定してください。"));
  EXPECT_EQ(second.icon, QMessageBox::Information);
  EXPECT_EQ(Control<net::Winsock>(*host.form1, "Winsock1")->State(), 0);
  EXPECT_EQ(Control<net::Winsock>(*host.form1, "Winsock2")->State(), 0);

  // Two hosts on one port: the second is told.
  HostPressed();
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form3>(host) != nullptr; }));
  ChooseOnline(guest, port);
  Control<QPushButton>(*guest.form1, "Command1", 0)->click();
  EXPECT_EQ(Answer(QMessageBox::Ok).text,
            QStringLiteral("指定したポートでゲームを主催している人が他にいます。"));
  Answer(QMessageBox::Ok);
  DialogOf<Form3>(host)->close();  // the close box cancels as the button does
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form3>(host) == nullptr; }));
  EXPECT_EQ(Control<net::Winsock>(*host.form1, "Winsock1")->State(), 0);

  // Joining a port where nobody listens, an address no route leads to (the
  // kernel connects TCP to no multicast address), and a name nobody has:
  // the waiting dialog says so and why, and its button closes it.
  int closed_port = 0;
  {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    closed_port = probe.serverPort();
  }
  const struct {
    const char* host;
    const char* reason;
  } failures[] = {{"127.0.0.1", "相手が接続を拒否しました"},
                  {"224.0.0.1", "ネットワークに到達できません"},
                  {"nonexistent.invalid", "ホスト名が見つかりません"}};
  for (const auto& failure : failures) {
    SCOPED_TRACE(failure.host);
    testing::ChooseOnline(*guest.form1, closed_port);
    Control<QLineEdit>(*guest.form1, "Text1", 0)->setText(QString::fromLatin1(failure.host));
    Control<QPushButton>(*guest.form1, "Command1", 1)->click();
    Form3* waiting = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      return (waiting = DialogOf<Form3>(guest)) &&
             waiting->Label1->text() == QStringLiteral("接続できませんでした");
    }));
    EXPECT_EQ(waiting->findChild<QLabel*>(QStringLiteral("Label4"))->text(),
              QString::fromUtf8(failure.reason));
    EXPECT_EQ(waiting->Command1->text(), QStringLiteral("OK"));
    EXPECT_EQ(Control<net::Winsock>(*guest.form1, "Winsock1")->State(), 0);
    waiting->Command1->click();
    ASSERT_TRUE(WaitFor([&] { return DialogOf<Form3>(guest) == nullptr; }));
    EXPECT_EQ(Control<net::Winsock>(*guest.form1, "Winsock2")->State(), 0);
    EXPECT_EQ(DialogOf<Form7>(guest), nullptr);
  }

  // No name, no connection.
  Control<QLineEdit>(*guest.form1, "Text1", 2)->setText(QString());
  Control<QPushButton>(*guest.form1, "Command1", 0)->click();
  const auto no_name = Answer(QMessageBox::Ok);
  EXPECT_EQ(no_name.text, QStringLiteral("プレイヤーネームを入力してください"));
  EXPECT_EQ(no_name.icon, QMessageBox::Critical);
  EXPECT_EQ(DialogOf<Form3>(guest), nullptr);
}

}  // namespace
}  // namespace vexa::app
