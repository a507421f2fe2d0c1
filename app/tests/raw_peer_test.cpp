// One real program against a peer made of two plain sockets: the exact bytes
// the program puts on the wire, and how it takes reads that TCP merged.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QHideEvent>
#include <QPointer>
#include <QSpontaneKeyEvent>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

#include "app/dialogs/form5.h"
#include "app/dialogs/form7.h"
#include "online_driver.h"

namespace vexa::app {
namespace {

using testing::Answer;
using testing::Control;
using testing::DialogOf;
using ::testing::ElementsAre;
using testing::FreePortPair;
using testing::OnlineProgram;
using testing::WaitFor;

// 太郎 in code page 932, as the records file holds it and the wire carries it.
const QByteArray kTaro = QByteArray::fromHex("91be9859");
const QByteArray kTaroConfig = kTaro + "\r\n 0 \r\n 0 \r\n 0 \r\n";

// Everything one connection of the peer has received, read in order.
class Stream {
 public:
  explicit Stream(QTcpSocket* socket) : socket_(socket) {}
  QTcpSocket* socket() const { return socket_; }

  // The bytes received since the last call, once there are at least as many
  // as `expected` has; they must be exactly those.
  void Expect(const QByteArray& expected) {
    WaitFor([&] {
      received_ += socket_->readAll();
      return received_.size() - read_ >= expected.size();
    });
    EXPECT_EQ(received_.mid(read_), expected);
    read_ = received_.size();
  }
  bool NothingNew() {
    received_ += socket_->readAll();
    return received_.size() == read_;
  }

  // One write, as one send of a peer.
  void Write(const QByteArray& bytes) {
    socket_->write(bytes);
    socket_->flush();
  }

 private:
  QTcpSocket* socket_;
  QByteArray received_;
  qsizetype read_ = 0;
};

class RawPeer : public ::testing::Test {
 protected:
  OnlineProgram program{kTaroConfig};
  int port = FreePortPair();

  void SetUp() override {
    ASSERT_TRUE(program.WaitShown());
    ASSERT_NE(port, 0);
    ASSERT_EQ(Control<QLineEdit>(*program.form1, "Text1", 2)->text(), QStringLiteral("太郎"));
  }

  // The peer's sockets, once connected.
  std::unique_ptr<Stream> game;
  std::unique_ptr<Stream> chat;

  // The program hosts; the raw peer joins both ports.
  void JoinTheProgram() {
    testing::PressHost(*program.form1, port);
    ASSERT_TRUE(WaitFor([&] { return DialogOf<Form3>(program) != nullptr; }));
    joining_game_.connectToHost(QStringLiteral("127.0.0.1"), port);
    joining_chat_.connectToHost(QStringLiteral("127.0.0.1"), port + 1);
    ASSERT_TRUE(WaitFor([&] {
      return joining_game_.state() == QAbstractSocket::ConnectedState &&
             joining_chat_.state() == QAbstractSocket::ConnectedState;
    }));
    Adopt(&joining_game_, &joining_chat_);
  }

  // The raw peer hosts on both ports; the program joins.
  void HostTheProgram() {
    ASSERT_TRUE(game_server_.listen(QHostAddress::LocalHost, port));
    ASSERT_TRUE(chat_server_.listen(QHostAddress::LocalHost, port + 1));
    testing::PressJoin(*program.form1, port);
    QTcpSocket* game_socket = nullptr;
    QTcpSocket* chat_socket = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      if (!game_socket) game_socket = game_server_.nextPendingConnection();
      if (!chat_socket) chat_socket = chat_server_.nextPendingConnection();
      return game_socket && chat_socket;
    }));
    Adopt(game_socket, chat_socket);
  }

  void Adopt(QTcpSocket* game_socket, QTcpSocket* chat_socket) {
    game = std::make_unique<Stream>(game_socket);
    chat = std::make_unique<Stream>(chat_socket);
  }

  // The program hosts, the peer "xx" has joined and told its name, and the
  // program's "OK" has opened its settings.
  void OpenSettingsAsHost() {
    ASSERT_NO_FATAL_FAILURE(JoinTheProgram());
    game->Write("Name xx");
    game->Expect("Name " + kTaro);
    Form3* form3 = DialogOf<Form3>(program);
    ASSERT_TRUE(WaitFor([&] { return form3->Connected(); }));
    ASSERT_TRUE(WaitFor([&] { return program.form1->game().online.OpponentName == "xx"; }));
    form3->Command1->click();
    ASSERT_TRUE(WaitFor([&] { return Settings() != nullptr; }));
    game->Expect("ShowOptn 0");
  }

  Form4* Settings() { return DialogOf<Form4>(program); }

  void ExpectSocketsClosed() {
    EXPECT_TRUE(WaitFor([&] {
      return game->socket()->state() == QAbstractSocket::UnconnectedState &&
             chat->socket()->state() == QAbstractSocket::UnconnectedState;
    }));
    EXPECT_EQ(Control<net::Winsock>(*program.form1, "Winsock1")->State(), 0);
    EXPECT_EQ(Control<net::Winsock>(*program.form1, "Winsock2")->State(), 0);
  }

 private:
  QTcpSocket joining_game_, joining_chat_;
  QTcpServer game_server_, chat_server_;
};

TEST_F(RawPeer, AHostSendsExactBytesAndAppliesMergedReadsInOrder) {
  ASSERT_NO_FATAL_FAILURE(JoinTheProgram());

  // A guest is accepted on its name, and hears the host's right after.
  Form3* form3 = DialogOf<Form3>(program);
  game->Write("Name xx");
  game->Expect("Name " + kTaro);
  ASSERT_TRUE(WaitFor([&] { return form3->Connected(); }));
  // Escape does not close the dialog once the peer is there.
  QTest::keyClick(form3, Qt::Key_Escape);
  EXPECT_TRUE(form3->isVisible());

  // "OK" opens the settings and tells the peer to open its own.
  form3->Command1->click();
  ASSERT_TRUE(WaitFor([&] { return Settings() != nullptr; }));
  Form4* settings = Settings();
  EXPECT_EQ(settings->Label2[1]->text(), QStringLiteral("xx"));
  game->Expect("ShowOptn 0");

  QTest::mouseClick(settings->Option2[1], Qt::LeftButton);
  game->Expect("Opt2 1");
  settings->Text1->clear();
  QTest::keyClicks(settings->Text1, QStringLiteral("8"));
  game->Expect("LimS LimS 8");

  // Three settings in one read: each applied, each told back, in order.
  game->Write("Optn 0Opt2 0LimS 7");
  game->Expect("Optn 1Opt2 0LimS 7");
  EXPECT_TRUE(settings->Option1[1]->isChecked());
  EXPECT_TRUE(settings->Option2[0]->isChecked());
  EXPECT_EQ(settings->Text1->text(), QStringLiteral("7"));
  EXPECT_THAT(program.received, ElementsAre("Name xx", "Optn 0", "Opt2 0", "LimS 7"));

  QTest::mouseClick(settings->Option1[0], Qt::LeftButton);
  game->Expect("Optn 0");
  settings->Command1[0]->click();  // ゲームスタート
  game->Expect("StTn 0");
  Game& state = program.form1->game();
  ASSERT_EQ(state.Turn(), Player1);
  EXPECT_EQ(state.online.ClockStyle, GameOption::Normal);

  program.ClickCell(100, Qt::RightButton);  // a blocker keeps the move
  game->Expect("PutW 100");
  program.ClickCell(60);
  game->Expect("PutU 60");
  ASSERT_EQ(state.Turn(), Remote);

  // A blocker and a piece in one read.
  game->Write("PutW 5PutU 6");
  ASSERT_TRUE(WaitFor([&] { return state.Turn() == Player1; }));
  EXPECT_EQ(state.Board()[5], Blocker);
  EXPECT_EQ(state.Board()[6], Remote);
  EXPECT_EQ(state.BlockerStock()[Remote - 1], kBlockersPerSide - 1);
  EXPECT_EQ(state.PieceStock()[Remote - 1], kPiecesPerSide - 1);
  EXPECT_FALSE(Control<QLabel>(*program.form1, "Label2", 2 * kBlockersPerSide - 1)->isVisible());
  EXPECT_FALSE(Control<QLabel>(*program.form1, "Label5", 2 * kPiecesPerSide - 1)->isVisible());
  EXPECT_THAT(program.received.mid(4), ElementsAre("PutW 5", "PutU 6"));

  // Chat: the local line in code page 932, then two of the peer's lines that
  // arrive in one read.
  Control<QLineEdit>(*program.form1, "Text2")->setText(QStringLiteral("よろしく"));
  QTest::keyClick(Control<QLineEdit>(*program.form1, "Text2"), Qt::Key_Return);
  chat->Expect(kTaro + " >> " + QByteArray::fromHex("82e682eb82b582ad"));
  chat->Write("xx >> axx >> b");
  QListWidget* list = Control<QListWidget>(*program.form1, "List3");
  ASSERT_TRUE(WaitFor([&] { return list->count() == 3; }));
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("太郎 >> よろしく"));
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("xx >> a"));
  EXPECT_EQ(list->item(2)->text(), QStringLiteral("xx >> b"));

  // The peer runs out of time on its next turn: this side wins, and the
  // closing of its result asks the peer for the next game's settings.
  program.ClickCell(61);
  game->Expect("PutU 61");
  game->Write("Lose");
  EXPECT_EQ(program.CloseResult(), QStringLiteral("太郎 Win"));
  game->Expect("Show");
  ASSERT_TRUE(WaitFor([&] { return Settings() == settings; }));
  EXPECT_EQ(state.records.Wins, 1);

  // The peer leaves.
  game->Write("EndG");
  const auto seen = Answer(QMessageBox::Ok);
  EXPECT_EQ(seen.text, QStringLiteral("対戦相手が離脱しました"));
  ExpectSocketsClosed();
  EXPECT_EQ(state.Turn(), NoTurn);
  EXPECT_EQ(state.Board()[6], Empty);
  EXPECT_EQ(Settings(), nullptr);
  EXPECT_TRUE(game->NothingNew());
  EXPECT_TRUE(chat->NothingNew());
  EXPECT_FALSE(Control<QLineEdit>(*program.form1, "Text2")->isEnabled());
}

// A peer whose piece lands on the player's own: nothing of the player's is
// overwritten, the player is told why, and the connection ends as if the
// peer had left.
TEST_F(RawPeer, APeersPieceOnATakenCellEndsTheConnection) {
  ASSERT_NO_FATAL_FAILURE(OpenSettingsAsHost());
  Settings()->Command1[0]->click();  // ゲームスタート, this side first
  game->Expect("StTn 0");
  program.ClickCell(60);
  game->Expect("PutU 60");

  game->Write("PutU 60");
  QMessageBox* box = testing::WaitForWindow<QMessageBox>();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text(), QStringLiteral("相手から規則に反する手が届きました。接続を終了します"));
  Game& state = program.form1->game();
  EXPECT_EQ(state.Board()[60], Player1);
  EXPECT_EQ(state.PieceStock()[Remote - 1], kPiecesPerSide);
  game->Expect("EndG");
  ExpectSocketsClosed();
  Answer(QMessageBox::Ok);
  EXPECT_EQ(state.records.GamesPlayed, 1);
  EXPECT_EQ(state.records.Wins + state.records.Losses, 0);
}

TEST_F(RawPeer, AJoiningSideAnswersMergedSettingsAndLosesOnTimeOnTheWire) {
  program.form1->online_play().session().SetTickPeriod(20);
  ASSERT_NO_FATAL_FAILURE(HostTheProgram());
  game->Expect("Name " + kTaro);
  Form3* form3 = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (form3 = DialogOf<Form3>(program)) && form3->Connected(); }));

  // The host's name and its "OK" in one read: the settings open, and the
  // "Optn" after "Show" is applied while they are shown.
  game->Write("Name xxShowOptn 0");
  ASSERT_TRUE(WaitFor([&] { return Settings() != nullptr; }));
  Form4* settings = Settings();
  EXPECT_EQ(DialogOf<Form3>(program), nullptr);
  EXPECT_EQ(settings->Label2[1]->text(), QStringLiteral("xx"));
  EXPECT_TRUE(settings->Option1[1]->isChecked());
  EXPECT_FALSE(settings->Command1[0]->isEnabled());
  game->Expect("Optn 1");

  // Values no control has change nothing and are not told back; a start
  // that names no first mover starts nothing. The time limit after them is.
  game->Write("Opt2 1Optn 2Opt2 2StTn 0.5LimS 1");
  game->Expect("Opt2 1LimS 1");
  EXPECT_TRUE(settings->Option1[1]->isChecked());
  EXPECT_TRUE(settings->Option2[1]->isChecked());
  EXPECT_EQ(settings->Text1->text(), QStringLiteral("1"));
  EXPECT_TRUE(settings->isVisible());
  EXPECT_EQ(program.form1->game().Turn(), NoGameYet);
  EXPECT_EQ(program.form1->game().records.GamesPlayed, 0);

  // The joining side moves first and does nothing: six blockers go, one
  // "DecS" each, then the game with "Lose".
  game->Write("StTn 1");
  ASSERT_TRUE(WaitFor([&] { return program.form1->game().Turn() == Player1; }));
  EXPECT_FALSE(settings->isVisible());
  game->Expect("DecSDecSDecSDecSDecSDecSLose");
  EXPECT_EQ(program.CloseResult(), QStringLiteral("xx Win"));
  EXPECT_EQ(program.form1->game().records.Losses, 1);
  EXPECT_NE(testing::WaitForWindow<Form7>(), nullptr);

  // The host leaves while this side waits for it.
  game->Write("EndG");
  EXPECT_EQ(Answer(QMessageBox::Ok).text, QStringLiteral("対戦相手が離脱しました"));
  ExpectSocketsClosed();
  EXPECT_TRUE(WaitFor([&] { return testing::VisibleWindow<Form7>() == nullptr; }));
  EXPECT_TRUE(game->NothingNew());
}

TEST_F(RawPeer, AFloodOfShowOpensTheSettingsOnce) {
  ASSERT_NO_FATAL_FAILURE(HostTheProgram());
  game->Expect("Name " + kTaro);

  // The name first: "Show"s in its read would be part of it.
  game->Write("Name xx");
  ASSERT_TRUE(WaitFor([&] { return program.form1->game().online.OpponentName == "xx"; }));
  game->Write(QByteArray("Show").repeated(5000));
  ASSERT_TRUE(WaitFor([&] { return program.received.size() == 5001; }));
  ASSERT_TRUE(WaitFor([&] { return Settings() != nullptr; }));
  EXPECT_EQ(program.form1->findChildren<Form4*>().size(), 1);
  // One display waits on the dialog; the other "Show"s left nothing behind.
  EXPECT_LE(program.form1->PendingTasks(), 2u);
}

// The list's newest line lies whole inside its visible part.
bool NewestLineShown(QListWidget* list) {
  if (list->count() == 0) return false;
  const QRect line = list->visualItemRect(list->item(list->count() - 1));
  return !line.isEmpty() && list->viewport()->rect().contains(line);
}

QString NewestLine(QListWidget* list) {
  return list->count() ? list->item(list->count() - 1)->text() : QString();
}

TEST_F(RawPeer, AChatFloodKeepsTheNewestLinesAndBothListsFollowTheConversation) {
  ASSERT_NO_FATAL_FAILURE(JoinTheProgram());
  game->Write("Name xx");
  game->Expect("Name " + kTaro);
  ASSERT_TRUE(WaitFor([&] { return program.form1->game().online.OpponentName == "xx"; }));
  Form1& f = *program.form1;
  QListWidget* chat_list = Control<QListWidget>(f, "List3");

  QByteArray flood;
  for (int i = 0; i < 1200; ++i)
    flood += "xx >> " + QByteArray::number(i);
  chat->Write(flood);
  ASSERT_TRUE(WaitFor([&] { return NewestLine(chat_list) == QStringLiteral("xx >> 1199"); }));
  EXPECT_EQ(chat_list->count(), 1000);
  EXPECT_EQ(f.online_play().dialogs().SettingsDialog()->List3->count(), 1000);
  EXPECT_TRUE(WaitFor([&] { return NewestLineShown(chat_list); }));

  // A line typed here goes to the end of both lists, the oldest out.
  QLineEdit* chat_input = Control<QLineEdit>(f, "Text2");
  QTest::keyClicks(chat_input, QStringLiteral("hi"));
  QTest::keyClick(chat_input, Qt::Key_Return);
  chat->Expect(kTaro + " >> hi");
  for (QListWidget* list : {chat_list, f.online_play().dialogs().SettingsDialog()->List3}) {
    EXPECT_EQ(list->count(), 1000);
    EXPECT_EQ(NewestLine(list), QStringLiteral("太郎 >> hi"));
  }
  EXPECT_TRUE(WaitFor([&] { return NewestLineShown(chat_list); }));

  // The settings dialog, filled while hidden, opens on its newest line and
  // follows the next one.
  DialogOf<Form3>(program)->Command1->click();
  ASSERT_TRUE(WaitFor([&] { return Settings() != nullptr; }));
  EXPECT_TRUE(WaitFor([&] { return NewestLineShown(Settings()->List3); }));
  chat->Write("xx >> bye");
  ASSERT_TRUE(
      WaitFor([&] { return NewestLine(Settings()->List3) == QStringLiteral("xx >> bye"); }));
  EXPECT_TRUE(WaitFor([&] { return NewestLineShown(Settings()->List3); }));
  EXPECT_TRUE(WaitFor([&] { return NewestLineShown(chat_list); }));
}

TEST_F(RawPeer, WhatTheOldPeerSendsAfterThisSideLeftIsDropped) {
  ASSERT_NO_FATAL_FAILURE(OpenSettingsAsHost());
  QTest::mouseClick(Settings()->Option2[1], Qt::LeftButton);  // "Excite": a clock
  game->Expect("Opt2 1");
  Settings()->Command1[0]->click();
  game->Expect("StTn 0");

  // A local game replaces the online one: "EndG", and while this side
  // waits for the peer to close, the peer's last piece arrives.
  Control<QRadioButton>(*program.form1, "Option1", 1)->setChecked(true);
  program.NewGame();
  game->Expect("EndG");
  game->Write("PutU 60");
  game->socket()->disconnectFromHost();
  chat->socket()->disconnectFromHost();
  ASSERT_TRUE(
      WaitFor([&] { return Control<net::Winsock>(*program.form1, "Winsock1")->State() == 0; }));
  EXPECT_EQ(program.form1->game().Board()[60], Empty);
  EXPECT_EQ(program.form1->game().Turn(), Player1);
  EXPECT_FALSE(program.form1->online_play().session().MoveClockTimer().isActive());
  EXPECT_FALSE(Control<QLineEdit>(*program.form1, "Text2")->isEnabled());
}

TEST_F(RawPeer, EnterAndEscapeInTheHostsSettingsStartNothingAndLeaveNothing) {
  ASSERT_NO_FATAL_FAILURE(OpenSettingsAsHost());
  Form4* settings = Settings();

  // Enter in the time-limit box and in the chat box: the chat line goes out,
  // and that is all.
  settings->Text1->selectAll();
  QTest::keyClicks(settings->Text1, QStringLiteral("7"));
  QTest::keyClick(settings->Text1, Qt::Key_Return);
  QTest::keyClicks(settings->Text2, QStringLiteral("hi"));
  QTest::keyClick(settings->Text2, Qt::Key_Return);
  chat->Expect(kTaro + " >> hi");
  // Escape, in a box or on the dialog itself, closes nothing.
  QTest::keyClick(settings->Text2, Qt::Key_Escape);
  QTest::keyClick(settings, Qt::Key_Escape);
  EXPECT_TRUE(settings->isVisible());
  QTest::mouseClick(settings->Option2[1], Qt::LeftButton);
  game->Expect("LimS 7Opt2 1");  // no "StTn", no "EndG" among them
  EXPECT_EQ(program.form1->game().Turn(), NoGameYet);
  EXPECT_EQ(program.form1->game().records.GamesPlayed, 0);

  // The close box still leaves, as "終了" does: the connection panel is
  // usable again.
  settings->close();
  game->Expect("EndG");
  EXPECT_TRUE(Control<QGroupBox>(*program.form1, "Frame3")->isEnabled());
  EXPECT_TRUE(Control<QPushButton>(*program.form1, "Command1", 0)->isEnabled());
}

TEST_F(RawPeer, AfterItsEndGTheProgramSendsNothingMoreOnTheGameConnection) {
  ASSERT_NO_FATAL_FAILURE(OpenSettingsAsHost());
  Settings()->Command1[1]->click();  // 終了
  game->Expect("EndG");
  EXPECT_EQ(Control<net::Winsock>(*program.form1, "Winsock1")->State(),
            7);  // open until the peer closes it

  // A chat line still arriving loads a settings dialog anew, unseen; the
  // peer hears nothing of it.
  chat->Write("xx >> bye");
  ASSERT_TRUE(WaitFor([&] { return Control<QListWidget>(*program.form1, "List3")->count() == 1; }));
  EXPECT_EQ(Settings(), nullptr);
  // The peer leaves too: the program closes, after everything it has sent.
  game->Write("EndG");
  ASSERT_TRUE(
      WaitFor([&] { return game->socket()->state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_TRUE(game->NothingNew());
  EXPECT_EQ(Control<net::Winsock>(*program.form1, "Winsock1")->State(), 0);
  EXPECT_EQ(testing::VisibleWindow<QMessageBox>(), nullptr);
}

TEST_F(RawPeer, AGuestsResultMakesWayForTheHostsNextSettingsWithNoWaitingDialogOverThem) {
  ASSERT_NO_FATAL_FAILURE(HostTheProgram());
  game->Expect("Name " + kTaro);
  game->Write("Name xxShowOptn 0");
  ASSERT_TRUE(WaitFor([&] { return Settings() != nullptr; }));
  game->Expect("Optn 1");
  Form1& f = *program.form1;
  // The result dialog, once shown; no result dialog left at all, once its
  // display is over.
  Form5* result = nullptr;
  const auto result_shown = [&] { return (result = DialogOf<Form5>(program)) != nullptr; };
  const auto settings_instead = [&] { return Settings() && !f.findChild<Form5*>(); };

  // The host lost on time, and its "Show" comes while the result is open.
  game->Write("StTn 0");
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Remote; }));
  game->Write("Lose");
  ASSERT_TRUE(WaitFor(result_shown));
  EXPECT_EQ(result->Label1->text(), QStringLiteral("太郎 Win"));
  game->Write("Show");
  ASSERT_TRUE(WaitFor(settings_instead));
  EXPECT_EQ(DialogOf<Form7>(program), nullptr);

  // Next game: the user closes the result in the very moment the "Show" is
  // read, before it is applied.
  game->Write("StTn 0");
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Remote && !Settings(); }));
  game->Write("Lose");
  ASSERT_TRUE(WaitFor(result_shown));
  f.online_play().session().SetMessageObserver([&](const QString& message) {
    if (message == QStringLiteral("Show")) result->findChild<QPushButton*>()->click();
  });
  game->Write("Show");
  ASSERT_TRUE(WaitFor(settings_instead));
  EXPECT_EQ(DialogOf<Form7>(program), nullptr);
  game->Write("StTn 1");
  ASSERT_TRUE(WaitFor([&] { return f.game().Turn() == Player1 && !Settings(); }));
  EXPECT_EQ(DialogOf<Form7>(program), nullptr);
  EXPECT_EQ(f.game().records.Wins, 2);
}

TEST_F(RawPeer, AHideByTheWindowSystemLeavesTheHostsSettingsAndConnectionDialogOpen) {
  ASSERT_NO_FATAL_FAILURE(OpenSettingsAsHost());
  QPointer<Form3> form3 = DialogOf<Form3>(program);  // under the settings
  ASSERT_TRUE(form3);
  // As when the main window is minimized: a hide the program did not ask for.
  QHideEvent hidden;
  QSpontaneKeyEvent::setSpontaneous(&hidden);
  QApplication::instance()->notify(Settings(), &hidden);
  // A round trip to the peer and back: the program has handled the hide.
  game->Write("Opt2 1");
  game->Expect("Opt2 1");
  EXPECT_TRUE(form3 && form3->isVisible());
  EXPECT_NE(Settings(), nullptr);

  // The settings are still the display the connection dialog waits on.
  Settings()->Command1[0]->click();
  game->Expect("StTn 0");
  EXPECT_TRUE(WaitFor([&] { return !form3; }));
}

}  // namespace
}  // namespace vexa::app
