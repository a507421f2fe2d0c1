#include "winsock_adapter.h"

#include <QtCore/qtestsupport_core.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QAbstractSocket>
#include <QTcpServer>
#include <functional>
#include <vector>

#include "game_message.h"
#include "text_codec.h"

namespace vexa::net {
namespace {

using ::testing::ElementsAre;

bool WaitFor(const std::function<bool()>& condition) {
  return QTest::qWaitFor(condition, 5000);
}

// Everything one socket reports, read the way the program reads it: all
// pending data on each DataArrival.
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
    QObject::connect(&socket, &Winsock::Connected, [this] { ++connects; });
    QObject::connect(&socket, &Winsock::Error,
                     [this](int number, const QString&) { errors.push_back(number); });
  }
  QByteArray received;
  QByteArray received_before_closing;
  qsizetype largest_read = 0;
  std::vector<int> states;
  std::vector<int> errors;
  int connects = 0;
};

// A port where nobody listens, as far as this machine can tell.
int UnusedPort() {
  QTcpServer server;
  server.listen(QHostAddress::LocalHost, 0);
  return server.serverPort();
}

void AimAt(Winsock& guest, int port) {
  guest.SetRemoteHost(QStringLiteral("127.0.0.1"));
  guest.SetRemotePort(port);
}

TEST(Winsock, HostAndGuestConnectTalkAndPart) {
  Winsock host, guest;
  Probe host_probe(host), guest_probe(guest);

  host.SetLocalPort(0);
  ASSERT_TRUE(host.Listen());
  const int port = host.LocalPort();
  ASSERT_NE(port, 0);
  // The host's handler: stop listening, take the request on the same socket,
  // tell the peer its name.
  QObject::connect(&host, &Winsock::ConnectionRequest, [&](int id) {
    host.Close();
    EXPECT_TRUE(host.Accept(id));
    EXPECT_TRUE(host.SendData(EncodeText(NameMessage(QStringLiteral("太郎")))));
  });

  AimAt(guest, port);
  ASSERT_TRUE(guest.Connect());
  EXPECT_EQ(guest.State(), Winsock::kConnecting);
  ASSERT_TRUE(WaitFor([&] { return guest_probe.connects == 1; }));
  EXPECT_TRUE(guest.SendData("Name Bob"));

  ASSERT_TRUE(WaitFor([&] { return host_probe.received == "Name Bob"; }));
  ASSERT_TRUE(WaitFor([&] { return guest_probe.received == "Name \x91\xBE\x98\x59"; }));
  EXPECT_TRUE(guest.GetData().isEmpty());
  EXPECT_EQ(host.RemoteHost(), "127.0.0.1");
  EXPECT_EQ(host.RemotePort(), guest.LocalPort());
  EXPECT_EQ(host.LocalPort(), port);

  // The host no longer listens: a third party is refused.
  Winsock third;
  Probe third_probe(third);
  AimAt(third, port);
  ASSERT_TRUE(third.Connect());
  ASSERT_TRUE(WaitFor([&] { return !third_probe.errors.empty(); }));
  EXPECT_EQ(third_probe.errors.front(), QAbstractSocket::ConnectionRefusedError);
  EXPECT_EQ(third.State(), Winsock::kError);
  third.Close();
  EXPECT_EQ(third.State(), Winsock::kClosed);

  // Three sends and a close at once: the guest gets every byte, then State 8.
  EXPECT_TRUE(host.SendData("Show"));
  EXPECT_TRUE(host.SendData("Optn 0"));
  EXPECT_TRUE(host.SendData("EndG"));
  host.Close();
  EXPECT_EQ(host.State(), Winsock::kClosed);
  ASSERT_TRUE(WaitFor([&] { return guest.State() == Winsock::kClosing; }));
  EXPECT_EQ(guest_probe.received_before_closing, "Name \x91\xBE\x98\x59ShowOptn 0EndG");
  EXPECT_FALSE(guest.SendData("Lose"));
  guest.Close();

  EXPECT_THAT(guest_probe.states, ElementsAre(6, 7, 8, 0));
  EXPECT_THAT(host_probe.states, ElementsAre(2, 0, 7, 0));
  EXPECT_TRUE(guest_probe.errors.empty());
  EXPECT_TRUE(host_probe.errors.empty());
}

TEST(Winsock, SetUpErrorsAreReturnedAndLeaveTheSocketClosed) {
  Winsock first, second;
  for (int port : {65536, -1}) {
    first.SetLocalPort(port);
    EXPECT_FALSE(first.Listen()) << port;
  }
  EXPECT_EQ(first.State(), Winsock::kClosed);

  first.SetLocalPort(0);
  ASSERT_TRUE(first.Listen());
  EXPECT_FALSE(first.Listen());  // already listening
  second.SetLocalPort(first.LocalPort());
  EXPECT_FALSE(second.Listen());  // the port is taken
  EXPECT_EQ(second.State(), Winsock::kClosed);
  EXPECT_EQ(first.State(), Winsock::kListening);

  for (const char* host : {"", "no such host", "a..b"}) {
    second.SetRemoteHost(QString::fromUtf8(host));
    second.SetRemotePort(first.LocalPort());
    EXPECT_FALSE(second.Connect()) << host;
  }
  for (int port : {0, 65536}) {
    AimAt(second, port);
    EXPECT_FALSE(second.Connect()) << port;
  }
  EXPECT_EQ(second.State(), Winsock::kClosed);
  EXPECT_FALSE(second.SendData("Show"));
  EXPECT_FALSE(second.Accept(1));
  EXPECT_TRUE(second.GetData().isEmpty());
}

TEST(Winsock, ConnectingWhereNobodyListensEndsInError) {
  Winsock guest;
  Probe probe(guest);
  AimAt(guest, UnusedPort());
  ASSERT_TRUE(guest.Connect());
  EXPECT_TRUE(probe.errors.empty());  // reported later, never inside Connect
  ASSERT_TRUE(WaitFor([&] { return !probe.errors.empty(); }));
  EXPECT_THAT(probe.errors, ElementsAre(QAbstractSocket::ConnectionRefusedError));
  EXPECT_EQ(guest.State(), Winsock::kError);
  guest.Close();
  EXPECT_THAT(probe.states, ElementsAre(6, 9, 0));
}

TEST(Winsock, RequestNotAcceptedIsRefusedAndTheHostListensOn) {
  Winsock host, early, late;
  Probe early_probe(early), late_probe(late);
  host.SetLocalPort(0);
  ASSERT_TRUE(host.Listen());
  bool accept = false;
  QObject::connect(&host, &Winsock::ConnectionRequest, [&](int id) {
    if (!accept) return;
    host.Close();
    host.Accept(id);
  });

  AimAt(early, host.LocalPort());
  ASSERT_TRUE(early.Connect());
  ASSERT_TRUE(WaitFor([&] { return early.State() == Winsock::kClosing; }));
  EXPECT_EQ(host.State(), Winsock::kListening);

  accept = true;
  AimAt(late, host.LocalPort());
  ASSERT_TRUE(late.Connect());
  ASSERT_TRUE(WaitFor([&] { return host.State() == Winsock::kConnected; }));
  EXPECT_TRUE(late_probe.errors.empty());
}

TEST(Winsock, FloodArrivesWholeInBoundedReads) {
  Winsock host, guest;
  Probe host_probe(host);
  host.SetLocalPort(0);
  ASSERT_TRUE(host.Listen());
  QObject::connect(&host, &Winsock::ConnectionRequest, [&](int id) {
    host.Close();
    host.Accept(id);
  });
  AimAt(guest, host.LocalPort());
  ASSERT_TRUE(guest.Connect());
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
