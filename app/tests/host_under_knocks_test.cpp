// A host whose port a router forwards to the internet: callers that are no
// guest come first, and a real guest must still get in and play.

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "net/tests/knocking_callers.h"
#include "online_driver.h"

namespace vexa::app {
namespace {

using net::testing::Knock;
using net::testing::KnockingCallers;
using testing::Control;
using testing::DialogOf;
using testing::WaitFor;

class HostUnderKnocks : public testing::OnlinePair, public ::testing::WithParamInterface<Knock> {};

TEST_P(HostUnderKnocks, OnlyACallerThatTellsItsNameIsTheOpponent) {
  const Knock knock = GetParam();
  net::GameConnection& connection = host.form1->online_play().connection();
  connection.SetGuestWaitMs(net::testing::GuestWaitFor(knock));
  // The announcement and the router's mapping follow these two.
  QSignalSpy taken(&connection, &net::GameConnection::HostingTaken);
  QSignalSpy ended(&connection, &net::GameConnection::HostingEnded);
  HostPressed();
  auto* listening = Control<net::Winsock>(*host.form1, "Winsock1");
  ASSERT_TRUE(WaitFor([&] { return listening->State() == net::Winsock::kListening; }));
  KnockingCallers callers(knock, port);

  if (knock == Knock::SlowName) {
    ASSERT_TRUE(WaitFor([&] { return callers.Heard() == "Name Taro"; }));
    EXPECT_EQ(host.form1->game().online.OpponentName, "X");
    EXPECT_EQ(taken.count(), 1);
    return;
  }
  if (knock == Knock::SixteenSilent) {
    ASSERT_TRUE(WaitFor([&] { return connection.WaitingCount() == 20; }));
  } else {
    ASSERT_TRUE(WaitFor([&] { return callers.AllClosed(); }));
  }
  // Nothing the player sees, nothing the network sees: still hosting.
  EXPECT_EQ(listening->State(), net::Winsock::kListening);
  EXPECT_FALSE(DialogOf<Form3>(host)->Connected());
  EXPECT_EQ(taken.count() + ended.count(), 0);

  JoinPressed();
  Form3* host3 = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (host3 = DialogOf<Form3>(host)) && host3->Connected(); }));
  host3->Command1->click();
  ASSERT_TRUE(WaitFor([&] { return HostSettings() && GuestSettings(); }));
  EXPECT_EQ(taken.count(), 1);
  EXPECT_TRUE(WaitFor([&] { return callers.AllClosed(); }));
  EXPECT_EQ(callers.Heard(), QByteArray());

  // The whole game, and the chat reaches the guest: its chat connection was
  // the one paired with its game, not a caller's from the same address.
  HostSettings()->Command1[0]->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->game().Turn() == Remote; }));
  Move(host, guest, 12);
  QLineEdit* chat = Control<QLineEdit>(*host.form1, "Text2");
  chat->setText(QStringLiteral("hi"));
  QTest::keyClick(chat, Qt::Key_Return);
  EXPECT_TRUE(WaitFor([&] {
    auto* list = Control<QListWidget>(*guest.form1, "List3");
    return list->count() > 0 && list->item(list->count() - 1)->text() == u"Taro >> hi";
  }));
  Move(guest, host, 51);
  Move(host, guest, 13);
  Move(guest, host, 52);
  Move(host, guest, 23);
  Move(guest, host, 53);
  host.ClickCell(24);
  EXPECT_EQ(host.CloseResult(), QStringLiteral("Taro Win"));
  EXPECT_EQ(guest.CloseResult(), QStringLiteral("Taro Win"));
  EXPECT_EQ(guest.form1->game().records.Losses, 1);
}

INSTANTIATE_TEST_SUITE_P(Knocks, HostUnderKnocks,
                         ::testing::Values(Knock::Silent, Knock::Http, Knock::Binary,
                                           Knock::SixteenSilent, Knock::SlowName),
                         ::testing::PrintToStringParamName());

}  // namespace
}  // namespace vexa::app
