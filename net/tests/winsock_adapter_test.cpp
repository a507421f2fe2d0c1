#include "net/winsock_adapter.h"

#include <QtCore/qtestsupport_core.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QAbstractSocket>
#include <QTcpServer>
#include <functional>
#include <vector>

#include "net/game_message.h"
#include "net/text_codec.h"

namespace vexa::net {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

bool WaitFor(const std::function<bool()>& condition) {
  return QTest::qWaitFor(condition, 5000);
}

// What one socket reports; data read as the program reads it, all of it on
// each DataArrival.
struct Probe {
  explicit Probe(Winsock& socket) {
    QObject::connect(&socket, &Winsock::DataArrival, [this, &socket](qint64 total) {
      const QByteArray data = socket.GetData();
      EXPECT_EQ(data.size(), total);
      largest_read = std::max(largest_read, data.size());
      received += data;
    });
    QObject::connect(&socket, &Winsock::StateChanged, [this](int state) {
      states.push_back(state);
      if (state == Winsock::kClosing) received_before_closing = received;
    });
    QObject::connect(&socket, &Winsock::Error,
                     [this](int number, const QString&) { errors.push_back(number); });
  }
  QByteArray received, received_before_closing;
  qsizetype largest_read = 0;
  std::vector<int> states, errors;
};

// Listens on a free port; each request is taken as the program takes it:
// stop listening, accept on the same socket, then `on_accept`.
void Host(
    Winsock& host, std::function<void()> on_accept = [] {}) {
  host.SetLocalPort(0);
  ASSERT_TRUE(host.Listen());
  QObject::connect(&host, &Winsock::ConnectionRequest, [&host, on_accept](int id) {
    host.Close();
    EXPECT_TRUE(host.Accept(id));
    on_accept();
  });
}

void Join(Winsock& guest, int port) {
  guest.SetRemoteHost(QStringLiteral("127.0.0.1"));
  guest.SetRemotePort(port);
  ASSERT_TRUE(guest.Connect());
}

TEST(Winsock, HostAndGuestConnectTalkAndPart) {
  Winsock host, guest;
  Probe host_probe(host), guest_probe(guest);
  Host(host, [&] { host.SendData(EncodeText(NameMessage(QStringLiteral("太郎")))); });
  const int port = host.LocalPort();
  ASSERT_NE(port, 0);
  QObject::connect(&guest, &Winsock::Connected, [&] { guest.SendData("Name Bob"); });

  Join(guest, port);
  EXPECT_EQ(guest.State(), Winsock::kConnecting);
  ASSERT_TRUE(WaitFor([&] { return host_probe.received == "Name Bob"; }));
  ASSERT_TRUE(WaitFor([&] { return guest_probe.received == "Name \x91\xBE\x98\x59"; }));
  EXPECT_TRUE(guest.GetData().isEmpty());
  EXPECT_EQ(host.RemoteHost(), "127.0.0.1");
  EXPECT_EQ(host.RemotePort(), guest.LocalPort());
  EXPECT_EQ(host.LocalPort(), port);

  // The host no longer listens: a third party is refused.
  Winsock third;
  Probe third_probe(third);
  Join(third, port);
  ASSERT_TRUE(WaitFor([&] { return third.State() == Winsock::kError; }));
  EXPECT_THAT(third_probe.errors, ElementsAre(QAbstractSocket::ConnectionRefusedError));

  // Three sends and a close at once: every byte arrives, then State 8.
  for (const char* message : {"Show", "Optn 0", "EndG"})
    EXPECT_TRUE(host.SendData(message));
  host.Close();
  ASSERT_TRUE(WaitFor([&] { return guest.State() == Winsock::kClosing; }));
  EXPECT_EQ(guest_probe.received_before_closing, "Name \x91\xBE\x98\x59ShowOptn 0EndG");
  EXPECT_FALSE(guest.SendData("Lose"));
  guest.Close();

  EXPECT_THAT(guest_probe.states, ElementsAre(6, 7, 8, 0));
  EXPECT_THAT(host_probe.states, ElementsAre(2, 0, 7, 0));
  EXPECT_THAT(host_probe.errors, IsEmpty());
  EXPECT_THAT(guest_probe.errors, IsEmpty());
}

TEST(Winsock, SetUpErrorsAreReturnedAndLeaveTheSocketClosed) {
  Winsock first, second;
  for (int port : {65536, -1}) {
    first.SetLocalPort(port);
    EXPECT_FALSE(first.Listen()) << port;
  }
  first.SetLocalPort(0);
  ASSERT_TRUE(first.Listen());
  EXPECT_FALSE(first.Listen());  // already listening
  second.SetLocalPort(first.LocalPort());
  EXPECT_FALSE(second.Listen());  // the port is taken
  EXPECT_EQ(first.State(), Winsock::kListening);

  for (const char* host : {"", "no such host", "a..b"}) {
    second.SetRemoteHost(QString::fromUtf8(host));
    second.SetRemotePort(first.LocalPort());
    EXPECT_FALSE(second.Connect()) << host;
  }
  second.SetRemoteHost(QStringLiteral("127.0.0.1"));
  for (int port : {0, 65536}) {
    second.SetRemotePort(port);
    EXPECT_FALSE(second.Connect()) << port;
  }
  EXPECT_EQ(second.State(), Winsock::kClosed);
  EXPECT_FALSE(second.SendData("Show"));
  EXPECT_FALSE(second.Accept(1));
}

TEST(Winsock, ConnectingWhereNobodyListensEndsInError) {
  int unused_port = 0;
  {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    unused_port = server.serverPort();
  }
  Winsock guest;
  Probe probe(guest);
  Join(guest, unused_port);
  EXPECT_THAT(probe.errors, IsEmpty());  // reported later, never inside Connect
  ASSERT_TRUE(WaitFor([&] { return !probe.errors.empty(); }));
  EXPECT_THAT(probe.errors, ElementsAre(QAbstractSocket::ConnectionRefusedError));
  guest.Close();
  EXPECT_THAT(probe.states, ElementsAre(6, 9, 0));
}

TEST(Winsock, RequestNotAcceptedIsRefusedAndTheHostListensOn) {
  Winsock host, early;
  host.SetLocalPort(0);
  ASSERT_TRUE(host.Listen());
  Join(early, host.LocalPort());
  ASSERT_TRUE(WaitFor([&] { return early.State() == Winsock::kClosing; }));
  EXPECT_EQ(host.State(), Winsock::kListening);
}

TEST(Winsock, FloodArrivesWholeInBoundedReads) {
  Winsock host, guest;
  Probe host_probe(host);
  Host(host);
  Join(guest, host.LocalPort());
  ASSERT_TRUE(WaitFor([&] { return guest.State() == Winsock::kConnected; }));

  QByteArray flood(1 << 20, '\0');
  for (qsizetype i = 0; i < flood.size(); ++i)
    flood[i] = static_cast<char>(i * 7);
  EXPECT_TRUE(guest.SendData(flood));
  ASSERT_TRUE(WaitFor([&] { return host_probe.received.size() == flood.size(); }));
  EXPECT_EQ(host_probe.received, flood);
  EXPECT_LE(host_probe.largest_read, Winsock::kReadLimit);
}

}  // namespace
}  // namespace vexa::net
