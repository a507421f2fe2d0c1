// Two headless players in one process over 127.0.0.1: the lines they print
// must tell the same games.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <utility>
#include <vector>

#include "bot/headless_player.h"
#include "net/tests/knocking_callers.h"

namespace vexa::bot {
namespace {

constexpr int kWaitMs = 20000;

int FreePortPair() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    QTcpServer game, chat;
    if (!game.listen(QHostAddress::Any, 0)) continue;
    const int port = game.serverPort();
    if (port < 65534 && chat.listen(QHostAddress::Any, port + 1)) return port;
  }
  return 0;
}

// One player and what it printed.
struct BotRun {
  BotRun(const QStringList& arguments, std::uint64_t seed) {
    QString error;
    const std::optional<BotOptions> options = ParseBotOptions(arguments, error);
    EXPECT_TRUE(options) << error.toStdString();
    player = std::make_unique<HeadlessPlayer>(*options, seed);
    QObject::connect(player.get(), &HeadlessPlayer::GameReported,
                     [this](const QString& line) { lines.append(line); });
    QObject::connect(player.get(), &HeadlessPlayer::Finished, [this](int s) { status = s; });
  }
  std::unique_ptr<HeadlessPlayer> player;
  QStringList lines;
  int status = -1;
};

QStringList Args(const QString& line, int port) {
  return line.arg(port).split(u' ');
}

// The guest's line for a game the host saw as `host_line`.
QString AsGuestSees(QString host_line) {
  const qsizetype board = host_line.indexOf(QStringLiteral("board ")) + 6;
  for (qsizetype i = board; i < host_line.size(); ++i) {
    if (host_line[i] == u'1') {
      host_line[i] = u'4';
    } else if (host_line[i] == u'4') {
      host_line[i] = u'1';
    }
  }
  const auto swap = [&](const QString& a, const QString& b) {
    const QString placeholder = QStringLiteral("\x01");
    host_line.replace(a, placeholder).replace(b, a).replace(placeholder, b);
  };
  swap(QStringLiteral("result win"), QStringLiteral("result loss"));
  swap(QStringLiteral("how time"), QStringLiteral("how lose"));
  return host_line;
}

TEST(HeadlessPlayer, TwoPlayersAgreeOnEveryGameThenBothLeave) {
  const int port = FreePortPair();
  ASSERT_NE(port, 0);
  // "Excite" with a generous limit: the settings exchange carries all three
  // settings, and the clock runs without ever running out.
  BotRun host(Args(QStringLiteral("host --port %1 --games 4 --first alternate --excite 30 "
                                  "--pause-ms 0 --strength Hard"),
                   port),
              1);
  BotRun guest(
      Args(QStringLiteral("join 127.0.0.1 --port %1 --games 4 --pause-ms 0 --name Joiner"), port),
      2);
  ASSERT_TRUE(host.player->Begin());
  ASSERT_TRUE(guest.player->Begin());
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.status >= 0 && guest.status >= 0; }, kWaitMs));

  EXPECT_EQ(host.status, kAllGamesPlayed);
  EXPECT_EQ(guest.status, kAllGamesPlayed);
  ASSERT_EQ(host.lines.size(), 4);
  ASSERT_EQ(guest.lines.size(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(host.lines[i].startsWith(QStringLiteral("game %1 result ").arg(i + 1)));
    EXPECT_EQ(guest.lines[i].toStdString(), AsGuestSees(host.lines[i]).toStdString()) << i;
    EXPECT_FALSE(host.lines[i].contains(QStringLiteral("how left")));
  }
  EXPECT_EQ(host.player->CurrentGame().online.OpponentName, "Joiner");
  // "--first alternate": the host opens games 1 and 3, the guest 2 and 4.
  ASSERT_FALSE(host.player->CurrentGame().History().empty());
  EXPECT_EQ(host.player->CurrentGame().History().front().side, Remote);
  EXPECT_EQ(guest.player->CurrentGame().History().front().side, Player1);
}

// The host shows its last result for twice its pause, then leaves. A slower
// guest is still in the judge's pauses for the last square then: the game
// the board decided is over for it too, not cut by the host's leaving.
TEST(HeadlessPlayer, TheHostShowsItsLastResultBeforeItLeaves) {
  const int port = FreePortPair();
  ASSERT_NE(port, 0);
  // Pauses of 20 ms and 150 ms: the host leaves 16 ms (a square) + 40 ms
  // after the last piece; the guest judges each square for 120 ms.
  BotRun host(Args(QStringLiteral("host --port %1 --pause-ms 20"), port), 5);
  BotRun guest(Args(QStringLiteral("join 127.0.0.1 --port %1 --pause-ms 150"), port), 6);
  QElapsedTimer clock;
  qint64 reported_at = -1;
  qint64 leaving_at = -1;
  QObject::connect(host.player.get(), &HeadlessPlayer::GameReported,
                   [&] { reported_at = clock.elapsed(); });
  QObject::connect(host.player.get(), &HeadlessPlayer::Progress, [&](const QString& what) {
    if (what == u"leaving") leaving_at = clock.elapsed();
  });
  clock.start();
  ASSERT_TRUE(host.player->Begin());
  ASSERT_TRUE(guest.player->Begin());
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.status >= 0 && guest.status >= 0; }, kWaitMs));
  EXPECT_EQ(host.status, kAllGamesPlayed);
  ASSERT_GE(reported_at, 0);
  EXPECT_GE(leaving_at - reported_at, 40);
  EXPECT_EQ(guest.status, kAllGamesPlayed);
  ASSERT_EQ(host.lines.size(), 1);
  ASSERT_EQ(guest.lines.size(), 1);
  EXPECT_THAT(host.lines[0].toStdString(), ::testing::HasSubstr(" how square "));
  EXPECT_EQ(guest.lines[0].toStdString(), AsGuestSees(host.lines[0]).toStdString());
}

TEST(HeadlessPlayer, AGuestThatLeavesEarlyEndsTheHostsRunAsLeft) {
  const int port = FreePortPair();
  ASSERT_NE(port, 0);
  BotRun host(Args(QStringLiteral("host --port %1 --games 3 --pause-ms 0"), port), 3);
  // The guest searches as Master (at least 50 ms a move, off its thread).
  BotRun guest(
      Args(QStringLiteral("join localhost --port %1 --games 1 --pause-ms 0 --strength Master"),
           port),
      4);
  ASSERT_TRUE(host.player->Begin());
  ASSERT_TRUE(guest.player->Begin());
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.status >= 0 && guest.status >= 0; }, kWaitMs));

  EXPECT_EQ(guest.status, kAllGamesPlayed);
  EXPECT_EQ(host.status, kConnectionEndedEarly);
  ASSERT_EQ(guest.lines.size(), 1);
  ASSERT_EQ(host.lines.size(), 2);
  EXPECT_EQ(guest.lines[0].toStdString(), AsGuestSees(host.lines[0]).toStdString());
  // The host started game 2 at once; the guest, done, never moved in it.
  const std::string cut_short = host.lines[1].toStdString();
  EXPECT_THAT(cut_short, ::testing::StartsWith("game 2 result draw how left board "));
  EXPECT_THAT(cut_short, ::testing::Not(::testing::HasSubstr("4")));
}

// A guest that places on a corner once the game starts: the host ends the
// connection as the guest's fault, with one line saying so, and status 3.
TEST(HeadlessPlayer, AHostEndsTheRunWhenTheGuestBreaksTheRules) {
  const int port = FreePortPair();
  ASSERT_NE(port, 0);
  BotRun host(Args(QStringLiteral("host --port %1 --pause-ms 0 --name Host"), port), 5);
  QStringList said;
  QObject::connect(host.player.get(), &HeadlessPlayer::Progress,
                   [&](const QString& what) { said.append(what); });
  ASSERT_TRUE(host.player->Begin());
  QTcpSocket game, chat;
  game.connectToHost(QHostAddress::LocalHost, port);
  chat.connectToHost(QHostAddress::LocalHost, port + 1);
  ASSERT_TRUE(game.waitForConnected(kWaitMs) && chat.waitForConnected(kWaitMs));
  game.write("Name Rogue");
  QByteArray heard;
  ASSERT_TRUE(QTest::qWaitFor([&] { return (heard += game.readAll()).contains("StTn"); }, kWaitMs));

  // Whoever is to move, nobody may place on a corner.
  game.write("PutW 110");
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.status >= 0; }, kWaitMs));
  EXPECT_EQ(host.status, kConnectionEndedEarly);
  EXPECT_EQ(said.last(),
            "the other player sent a move the rules do not allow; the connection is closed");
  ASSERT_EQ(host.lines.size(), 1);
  EXPECT_THAT(host.lines[0].toStdString(), ::testing::StartsWith("game 1 result draw how left"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return (heard += game.readAll()).endsWith("EndG"); }, kWaitMs));
}

TEST(HeadlessPlayer, MasterSearchesForTheWholePauseItIsGiven) {
  const int port = FreePortPair();
  ASSERT_NE(port, 0);
  // The host answers at once; the whole game is then the guest's searches.
  BotRun host(Args(QStringLiteral("host --port %1 --pause-ms 0 --strength Easy"), port), 9);
  BotRun guest(
      Args(QStringLiteral("join 127.0.0.1 --port %1 --pause-ms 200 --strength Master"), port), 10);
  // From the game's start to its result: the connection and the settings
  // before it take time of their own.
  QElapsedTimer clock;
  qint64 reported_at = -1;
  QObject::connect(host.player.get(), &HeadlessPlayer::Progress, [&](const QString& what) {
    if (what.startsWith(u"game 1 starts")) clock.start();
  });
  QObject::connect(host.player.get(), &HeadlessPlayer::GameReported,
                   [&] { reported_at = clock.elapsed(); });
  ASSERT_TRUE(host.player->Begin());
  ASSERT_TRUE(guest.player->Begin());
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.status >= 0 && guest.status >= 0; }, kWaitMs));
  ASSERT_GE(reported_at, 0);
  long guest_turns = 0;
  for (const Move& move : host.player->CurrentGame().History()) {
    if (move.side == Remote && move.kind == MoveKind::Piece) ++guest_turns;
  }
  ASSERT_GT(guest_turns, 3);
  // 200 ms a turn; a proven win is played at once, and against Easy Master
  // proves its win up to three of its turns before the end.
  EXPECT_GE(reported_at, (guest_turns - 3) * 200) << guest_turns << " turns";
}

using net::testing::Knock;
using net::testing::KnockingCallers;

class BotHostUnderKnocks : public ::testing::TestWithParam<Knock> {};

// Callers that are no guest never become the opponent: the host drops them
// unheard and a real guest then plays its game. The slow caller that
// trickles its name is a guest.
TEST_P(BotHostUnderKnocks, OnlyACallerThatTellsItsNameIsTheOpponent) {
  const Knock knock = GetParam();
  const int port = FreePortPair();
  ASSERT_NE(port, 0);
  BotRun host(Args(QStringLiteral("host --port %1 --pause-ms 0 --name Host"), port), 7);
  net::GameConnection& connection = host.player->Connection();
  connection.SetGuestWaitMs(net::testing::GuestWaitFor(knock));
  ASSERT_TRUE(host.player->Begin());
  KnockingCallers callers(knock, port);

  if (knock == Knock::SlowName) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return callers.Heard() == "Name Host"; }, kWaitMs));
    EXPECT_EQ(host.player->CurrentGame().online.OpponentName, "X");
    callers.First()->abort();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.status >= 0; }, kWaitMs));
    EXPECT_EQ(host.status, kConnectionEndedEarly);
    return;
  }
  if (knock == Knock::SixteenSilent) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return connection.WaitingCount() == 20; }, kWaitMs));
  } else {
    ASSERT_TRUE(QTest::qWaitFor([&] { return callers.AllClosed(); }, kWaitMs));
    EXPECT_EQ(connection.WaitingCount(), 0);
  }
  EXPECT_EQ(host.status, -1);  // still hosting

  BotRun guest(Args(QStringLiteral("join 127.0.0.1 --port %1 --pause-ms 0"), port), 8);
  ASSERT_TRUE(guest.player->Begin());
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.status >= 0 && guest.status >= 0; }, kWaitMs));
  EXPECT_EQ(host.status, kAllGamesPlayed);
  EXPECT_EQ(guest.status, kAllGamesPlayed);
  ASSERT_EQ(host.lines.size(), 1);
  ASSERT_EQ(guest.lines.size(), 1);
  EXPECT_EQ(guest.lines[0].toStdString(), AsGuestSees(host.lines[0]).toStdString());
  EXPECT_TRUE(QTest::qWaitFor([&] { return callers.AllClosed(); }, kWaitMs));
  EXPECT_EQ(callers.Heard(), QByteArray());
}

INSTANTIATE_TEST_SUITE_P(Knocks, BotHostUnderKnocks,
                         ::testing::Values(Knock::Silent, Knock::Http, Knock::Binary,
                                           Knock::SixteenSilent, Knock::SlowName),
                         ::testing::PrintToStringParamName());

// One stream through the relay, its two ends: the host's and the far
// side's, as the proxy joins them.
std::pair<QTcpSocket*, QTcpSocket*> RelayedStream(QTcpServer& proxy) {
  auto* far = new QTcpSocket;
  far->connectToHost(QHostAddress::LocalHost, proxy.serverPort());
  const bool up = QTest::qWaitFor(
      [&] {
        return proxy.hasPendingConnections() && far->state() == QAbstractSocket::ConnectedState;
      },
      kWaitMs);
  QTcpSocket* near = up ? proxy.nextPendingConnection() : nullptr;
  if (near) near->setParent(nullptr);
  return {near, far};
}

// A stranger in the lobby asks for the relay as easily as a scanner knocks
// on a forwarded port: relayed streams become the opponent only by telling
// the name first. Noise, a close and silence are each dropped unanswered,
// the host keeps hosting, and a real guest through the relay then plays.
TEST(HeadlessPlayer, RelayedStreamsMustTellTheNameFirst) {
  const int port = FreePortPair();
  ASSERT_NE(port, 0);
  QTcpServer proxy;
  ASSERT_TRUE(proxy.listen(QHostAddress::LocalHost, 0));
  BotRun host(Args(QStringLiteral("host --port %1 --pause-ms 0 --name Host"), port), 7);
  net::GameConnection& connection = host.player->Connection();
  ASSERT_TRUE(host.player->Begin());

  const auto dropped = [](QTcpSocket* far) {
    return far->state() == QAbstractSocket::UnconnectedState;
  };
  std::vector<std::unique_ptr<QTcpSocket>> strangers;
  for (const char* first : {"GET / HTTP/1.1\r\n\r\n", "Optn 1", "", "Na"}) {
    const QByteArray bytes(first);
    if (bytes.isEmpty() || bytes == "Na") connection.SetGuestWaitMs(300);
    auto [game_near, game_far] = RelayedStream(proxy);
    auto [chat_near, chat_far] = RelayedStream(proxy);
    ASSERT_TRUE(game_near && chat_near);
    strangers.emplace_back(game_far);
    strangers.emplace_back(chat_far);
    ASSERT_TRUE(host.player->TakeRelayed(game_near, chat_near)) << first;
    if (!bytes.isEmpty()) game_far->write(bytes);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dropped(game_far) && dropped(chat_far); }, kWaitMs))
        << first;
    EXPECT_EQ(game_far->readAll(), QByteArray()) << first;
    EXPECT_EQ(connection.WaitingCount(), 0);
    EXPECT_EQ(host.status, -1) << first;  // still hosting, nothing said
  }
  // One that closes before a word.
  {
    auto [game_near, game_far] = RelayedStream(proxy);
    auto [chat_near, chat_far] = RelayedStream(proxy);
    strangers.emplace_back(game_far);
    strangers.emplace_back(chat_far);
    ASSERT_TRUE(host.player->TakeRelayed(game_near, chat_near));
    EXPECT_EQ(connection.WaitingCount(), 1);
    game_far->abort();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dropped(chat_far); }, kWaitMs));
    EXPECT_EQ(connection.WaitingCount(), 0);
  }

  connection.SetGuestWaitMs(net::GuestScreen::kDefaultWaitMs);
  BotRun guest(Args(QStringLiteral("join 127.0.0.1 --port %1 --pause-ms 0"), port), 8);
  auto [game_near, game_far] = RelayedStream(proxy);
  auto [chat_near, chat_far] = RelayedStream(proxy);
  ASSERT_TRUE(guest.player->TakeRelayed(game_far, chat_far));
  ASSERT_TRUE(host.player->TakeRelayed(game_near, chat_near));
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.status >= 0 && guest.status >= 0; }, kWaitMs));
  EXPECT_EQ(host.status, kAllGamesPlayed);
  EXPECT_EQ(guest.status, kAllGamesPlayed);
  ASSERT_EQ(host.lines.size(), 1);
  ASSERT_EQ(guest.lines.size(), 1);
  EXPECT_EQ(guest.lines[0].toStdString(), AsGuestSees(host.lines[0]).toStdString());
}

TEST(BotOptions, DefaultsAndRefusals) {
  QString error;
  const std::optional<BotOptions> plain = ParseBotOptions({QStringLiteral("host")}, error);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->port, 36150);
  EXPECT_EQ(plain->name, QStringLiteral("vexa-bot"));
  EXPECT_EQ(plain->strength, CpuStrength::VeryHard);
  EXPECT_EQ(plain->games, 1);
  EXPECT_EQ(plain->first, FirstMover::Host);
  EXPECT_FALSE(plain->excite_seconds);
  EXPECT_EQ(plain->pause_ms, 1000);
  EXPECT_EQ(plain->result_wait_ms, 5000);  // a person's time to read the result

  for (const char* bad :
       {"", "serve", "join", "join --port 5", "host --port 65535", "host --games 0",
        "host --strength Hardest", "host --first me", "join h --first guest", "join h --excite 5",
        "host --pause-ms -1", "host --seed", "host --name"}) {
    const QStringList arguments = QString::fromLatin1(bad).split(u' ', Qt::SkipEmptyParts);
    EXPECT_FALSE(ParseBotOptions(arguments, error)) << bad;
  }
  // A name the peer would read differently is refused.
  EXPECT_FALSE(ParseBotOptions(
      {QStringLiteral("host"), QStringLiteral("--name"), QStringLiteral("aPutU 3")}, error));
}

}  // namespace
}  // namespace vexa::bot
