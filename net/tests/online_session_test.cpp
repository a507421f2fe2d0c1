// One program's online side against a peer played by the test: the peer's
// moves on this side's board and stocks, the move clock, the echoes of the
// settings, and the waits that must not act once their game or their
// connection is gone.

#include <QtCore/qtestsupport_core.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "session_fakes.h"

namespace vexa::net {
namespace {

using fakes::OnlineSide;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kWaitMs = 10000;

// Runs the event loop until no wait of the side is left.
bool WaitUntilIdle(OnlineSide& side) {
  return QTest::qWaitFor([&] { return side.tasks.Pending() == 0; }, kWaitMs);
}

// Connected to a peer called "xx" and in a game started by the host's
// "StTn": the peer moves first unless `local_first`.
void StartAsGuest(OnlineSide& guest, bool local_first) {
  guest.Connect(true);
  guest.Read("Name xxShowOptn 0");
  guest.Read(local_first ? "StTn 1" : "StTn 0");
}

// The host moves first in "Excite" with that time limit. The clock's ticks
// come from the test unless it gives the timer a period.
void StartExcite(OnlineSide& host, const QString& limit, int tick_ms = 3600 * 1000) {
  host.session.SetTickPeriod(tick_ms);
  host.Connect(false);
  host.Read("Name xx");
  host.windows.game_option = 1;
  host.windows.time_limit = limit;
  host.HostStarts(true);
  host.TakeSent();
  host.shell.calls.clear();
}

TEST(OnlineSession, ThePeersMovesAndForfeitsComeOffItsOwnStockAndMarkers) {
  OnlineSide guest;
  StartAsGuest(guest, false);
  ASSERT_EQ(guest.game.Turn(), Remote);
  guest.shell.calls.clear();

  guest.Read("PutW 5PutU 6DecS");
  EXPECT_EQ(guest.game.Board()[5], Blocker);
  EXPECT_EQ(guest.game.Board()[6], Remote);
  EXPECT_EQ(guest.game.PieceStock(), (Stocks{20, 20, 20, 19}));
  EXPECT_EQ(guest.game.BlockerStock(), (Stocks{6, 6, 6, 4}));
  EXPECT_THAT(guest.shell.Take("Move"), ElementsAre("Move 4 B 5", "Move 4 P 6"));
  // The move comes back; in a "Normal" game no clock starts for it.
  EXPECT_EQ(guest.game.Turn(), Player1);
  EXPECT_FALSE(guest.session.MoveClockTimer().isActive());
  EXPECT_THAT(guest.TakeSent(), IsEmpty());
}

// A peer that breaks the rules changes nothing of this side's: the game
// ends as if it had left, this side says goodbye and closes, and the player
// hears why.
TEST(OnlineSession, APeersIllegalPlacementIsRefusedAndEndsTheConnection) {
  const struct {
    const char* what;
    QByteArray reads;
    std::size_t legal_before;  // the peer's placements made before the breach
    EndReason ending = EndReason::PeerLeft;
  } kBreaches[] = {
      {"a piece on the player's piece", "PutU 60", 0},
      {"a blocker on the player's piece", "PutW 60", 0},
      {"a corner", "PutU 110", 0},
      {"off the board", "PutW 121", 0},
      {"a seventh blocker", "PutW 1PutW 2PutW 3PutW 4PutW 5PutW 6PutW 7", 6},
      {"out of turn", "PutU 61PutU 62", 1},
      // The position still has the peer to move; the game does not.
      {"after its loss on time", "LosePutU 61", 0, EndReason::PeerLose},
  };
  for (const auto& breach : kBreaches) {
    SCOPED_TRACE(breach.what);
    OnlineSide guest;
    StartAsGuest(guest, true);
    guest.Click(60);
    ASSERT_EQ(guest.game.Turn(), Remote);
    guest.TakeSent();
    guest.shell.moves.clear();

    guest.Read(breach.reads);
    ASSERT_TRUE(WaitUntilIdle(guest));
    EXPECT_EQ(guest.shell.moves.size(), breach.legal_before);
    EXPECT_EQ(guest.windows.broken_rules_told, 1);
    EXPECT_EQ(guest.windows.opponent_left_told, 0);
    EXPECT_THAT(guest.TakeSent(), ElementsAre("EndG"));
    EXPECT_EQ(guest.link.game_state, Winsock::kClosed);
    EXPECT_EQ(guest.link.chat_state, Winsock::kClosed);
    // A game still running counts as one the peer left.
    ASSERT_FALSE(guest.shell.endings.empty());
    EXPECT_EQ(guest.shell.endings.back().how, breach.ending);
    EXPECT_EQ(guest.game.Turn(), NoTurn);
  }
}

TEST(OnlineSession, TheClockCountsFromItsSecondTickAndABlockerKeepsTheCount) {
  OnlineSide host;
  StartExcite(host, QStringLiteral("3"));
  ASSERT_TRUE(host.session.MoveClockTimer().isActive());
  host.Tick();  // loads the count, shows nothing
  EXPECT_THAT(host.windows.clock_shown, IsEmpty());
  host.Tick();
  host.Click(100, true);
  host.Tick();
  host.Tick();  // the period is over: a blocker goes, a new period begins
  host.Tick();
  EXPECT_THAT(host.windows.clock_shown, ElementsAre(2, 1, 0, 2));
  EXPECT_EQ(host.game.BlockerStock()[Player1 - 1], 4);  // one placed, one taken by the clock
  EXPECT_THAT(host.shell.Take("Stocks"), ElementsAre("Stocks"));
  EXPECT_EQ(host.windows.beeps, 1);
  EXPECT_THAT(host.TakeSent(), ElementsAre("PutW 100", "DecS"));

  // The piece stops the clock and hides its display; the peer's piece
  // starts it again, from a fresh count.
  const int hidden = host.windows.clock_hidden;
  host.Click(60);
  EXPECT_FALSE(host.session.MoveClockTimer().isActive());
  EXPECT_EQ(host.windows.clock_hidden, hidden + 1);
  host.Read("PutU 61");
  ASSERT_TRUE(host.session.MoveClockTimer().isActive());
  host.Tick();
  host.Tick();
  EXPECT_THAT(host.windows.clock_shown, ElementsAre(2, 1, 0, 2, 2));
}

TEST(OnlineSession, ALimitOfZeroOrBelowOrNoNumberCostsABlockerAtEveryTick) {
  for (const auto& [limit, shown] : {std::pair{"0", -1}, {"-3", -4}, {"abc", -1}}) {
    SCOPED_TRACE(limit);
    OnlineSide host;
    StartExcite(host, QString::fromLatin1(limit));
    for (int tick = 0; tick < 3; ++tick)
      host.Tick();
    EXPECT_THAT(host.windows.clock_shown, ElementsAre(shown, shown));
    EXPECT_THAT(host.TakeSent(), ElementsAre("DecS", "DecS"));
    EXPECT_EQ(host.game.BlockerStock()[Player1 - 1], kBlockersPerSide - 2);
  }
}

TEST(OnlineSession, TheSeventhExpiryLosesTheGameAndTheHostAsksForTheNext) {
  OnlineSide host;
  StartExcite(host, QStringLiteral("1"), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.game.Result().has_value(); }, kWaitMs));
  EXPECT_EQ(host.game.Result(), (Outcome{Remote, EndReason::Time, std::nullopt}));
  EXPECT_THAT(host.TakeSent(),
              ElementsAre("DecS", "DecS", "DecS", "DecS", "DecS", "DecS", "Lose", "Show"));
  EXPECT_EQ(host.windows.settings_shown, 1);
  EXPECT_EQ(host.game.records.Losses, 1);
  EXPECT_FALSE(host.session.MoveClockTimer().isActive());
  const auto calls = host.shell.Take();
  EXPECT_THAT(calls, ::testing::Contains("Result xx Win"));
  EXPECT_THAT(calls, ::testing::Contains("Turn 0"));
  // Six blockers taken, the seventh expiry found none.
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "Stocks"), kBlockersPerSide + 1);
  EXPECT_EQ(host.game.BlockerStock()[Player1 - 1], -1);
}

// The test carries the messages, so that the host can change a setting
// several times before the first echo is back.
void Deliver(OnlineSide& from, OnlineSide& to) {
  for (const QString& message : from.TakeSent())
    to.Read(message.toLatin1());
}

TEST(OnlineSession, EachSettingIsEchoedOnceAndTheHostTakesItsEchoesBack) {
  OnlineSide host, guest;
  for (OnlineSide* side : {&host, &guest})
    side->windows.reports_to = &side->session;
  host.Connect(false);
  guest.Connect(true);
  guest.windows.first_mover = 1;  // the joining side's dialog, loaded

  // The host's user: the peer first, "Excite", the time limit typed anew.
  host.windows.first_mover = 1;
  host.session.FirstMoverChanged(1, false);
  host.windows.game_option = 1;
  host.session.GameOptionChanged(1, false);
  for (const QString& text : {QString(), QStringLiteral("1"), QStringLiteral("10")}) {
    host.windows.time_limit = text;
    host.session.TimeLimitChanged(text, false);
  }
  Deliver(host, guest);
  EXPECT_EQ(guest.windows.first_mover, 0);
  EXPECT_EQ(guest.windows.game_option, 1);
  EXPECT_EQ(guest.windows.time_limit, QStringLiteral("10"));
  EXPECT_THAT(guest.link.sent, ElementsAre("Optn 0", "Opt2 1", "LimS ", "LimS 1", "LimS 10"));

  // The older echoes do not undo the newer text, and none is told back.
  Deliver(guest, host);
  EXPECT_EQ(host.windows.time_limit, QStringLiteral("10"));
  EXPECT_EQ(host.windows.first_mover, 1);
  EXPECT_THAT(host.link.sent, IsEmpty());
}

// A game ends on the host, and while its result is shown the peer leaves:
// once the result is closed there is no next game to ask the peer for.
TEST(OnlineSession, APeerThatLeftDuringTheResultIsNotAskedForTheNextGame) {
  for (const bool lost_on_time : {false, true}) {
    SCOPED_TRACE(lost_on_time ? "the peer's Lose" : "the peer's square");
    OnlineSide host;
    host.Connect(false);
    host.Read("Name xx");
    host.HostStarts(false);
    host.shell.hold_result = true;
    if (lost_on_time) {
      host.Read("Lose");
    } else {
      BoardCells board{};
      for (const int cell : {12, 13, 23})
        board[cell] = Remote;
      host.game.SetUpPosition(board, host.game.PieceStock(), host.game.BlockerStock(), Remote);
      host.Read("PutU 24");
    }
    ASSERT_TRUE(host.shell.result_gate.HasWaiting());
    host.TakeSent();

    host.Read("EndG");
    host.shell.result_gate.Open();
    ASSERT_TRUE(WaitUntilIdle(host));
    EXPECT_EQ(host.windows.opponent_left_told, 1);
    EXPECT_THAT(host.TakeSent(), IsEmpty());
    EXPECT_EQ(host.windows.settings_shown, 0);
  }
}

TEST(OnlineSession, ANewConnectionMadeDuringTheGoodbyeKeepsItsSockets) {
  OnlineSide host;
  host.Connect(false);
  host.Read("Name xx");
  host.HostStarts(true);
  host.link.peer_answers_endg = false;
  host.tasks.Start(host.game.AbandonGame());  // "EndG", then a wait for the peer to close
  ASSERT_EQ(host.tasks.Pending(), 1u);
  ASSERT_EQ(host.link.sent.last(), QStringLiteral("EndG"));

  // The connection buttons are usable again: the user hosts anew.
  host.link.game_state = Winsock::kClosed;
  host.link.chat_state = Winsock::kClosed;
  host.session.GameStateChanged(Winsock::kClosed);
  host.session.BeginConnection(false);
  host.link.game_state = Winsock::kListening;
  host.link.chat_state = Winsock::kListening;
  host.session.GameStateChanged(Winsock::kListening);
  ASSERT_TRUE(WaitUntilIdle(host));
  EXPECT_EQ(host.link.game_state, Winsock::kListening);
  EXPECT_EQ(host.link.chat_state, Winsock::kListening);
}

TEST(OnlineSession, ANameThatComesAsThePeerLeavesOpensNoSettings) {
  OnlineSide guest;
  guest.Connect(true);
  guest.Read("Show");  // the settings wait for the host's name
  ASSERT_EQ(guest.tasks.Pending(), 1u);
  guest.Read("Name xx");
  guest.Read("EndG");
  ASSERT_TRUE(WaitUntilIdle(guest));
  EXPECT_EQ(guest.windows.opponent_left_told, 1);
  EXPECT_EQ(guest.windows.settings_shown, 0);
}

TEST(OnlineSession, NothingAfterThePeersEndGInOneReadIsApplied) {
  OnlineSide guest;
  guest.Connect(true);
  guest.Read("Name xxShowOptn 0Opt2 1");
  guest.Read("EndGStTn 1");
  EXPECT_EQ(guest.game.records.GamesPlayed, 0);
  EXPECT_EQ(guest.game.Turn(), NoTurn);
  EXPECT_FALSE(guest.session.MoveClockTimer().isActive());
  EXPECT_EQ(guest.link.game_state, Winsock::kClosed);

  // Next connection, in a game: the peer's piece after its "EndG".
  StartAsGuest(guest, false);
  guest.Read("EndGPutU 5");
  EXPECT_EQ(guest.game.Board()[5], Empty);
  EXPECT_EQ(guest.game.PieceStock()[Remote - 1], kPiecesPerSide);
  EXPECT_EQ(guest.windows.opponent_left_told, 2);
}

}  // namespace
}  // namespace vexa::net
