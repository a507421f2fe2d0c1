#include "session_fuzz_driver.h"

#include <algorithm>
#include <exception>

#include "net/game_message.h"
#include "session_fakes.h"

namespace vexa::net::fuzz {
namespace {

// The local event bytes after a zero length.
constexpr int kClickEvents = 2 * kCellCount;  // 0..241: cell * 2 + right button
constexpr int kTickEvent = 242;               // 242..253: a tick
constexpr int kClosedByPeerEvent = 254;
constexpr int kFailedEvent = 255;

// What the program itself may send on the game connection here: never a
// peer's number or text passed on.
bool IsOwnMessage(const QString& message) {
  for (const QString& plain : {ShowMessage(), DecSMessage(), LoseMessage(), EndGMessage(),
                               StTnMessage(0), StTnMessage(1)}) {
    if (message == plain) return true;
  }
  const ParsedMessage parsed = ParseMessage(message);
  const int cell = parsed.Integer();
  const bool on_board = cell >= 0 && cell < kCellCount;
  if (parsed.keyword == Keyword::PutU) return on_board && message == PutUMessage(cell);
  if (parsed.keyword == Keyword::PutW) return on_board && message == PutWMessage(cell);
  return false;
}

// One program's online side, set up at a phase and checked after each step.
class Connection {
 public:
  std::string Setup(Phase phase) {
    switch (phase) {
      case Phase::HostSettings:
        Host();
        break;
      case Phase::GuestSettings:
        Guest();
        break;
      case Phase::HostToMove:
        Host();
        side_.windows.game_option = 1;
        side_.windows.time_limit = QStringLiteral("2");
        side_.HostStarts(true);
        break;
      case Phase::GuestWaiting:
        Guest();
        Read("StTn 0");
        break;
      case Phase::AfterGame:
        // The peer's square 12-13-23-24 between three of ours.
        Host();
        side_.HostStarts(false);
        for (const int cell : {12, 13, 23}) {
          Read(PutUMessage(cell).toLatin1());
          side_.Click(cell + 88);
        }
        Read("PutU 24");
        break;
      case Phase::AfterEndG:
        Guest();
        Read("StTn 0");
        Read("EndG");
        break;
    }
    const std::string failure = Check();
    if (!failure.empty()) return "setting up: " + failure;
    const std::int16_t turns[] = {NoGameYet, NoGameYet, Player1, Remote, NoTurn, NoTurn};
    if (side_.game.Turn() != turns[static_cast<int>(phase)]) {
      return "setting up: Turn " + std::to_string(side_.game.Turn());
    }
    if (phase == Phase::AfterEndG && side_.link.game_state != Winsock::kClosed) {
      return "setting up: still connected after EndG";
    }
    return {};
  }

  void Read(QByteArrayView bytes) { side_.Read(bytes.toByteArray()); }

  void Event(int event) {
    if (event < kClickEvents) {
      side_.Click(event / 2, event % 2 == 1);
    } else if (event < kClosedByPeerEvent) {
      // Only a running clock ticks.
      if (side_.session.MoveClockTimer().isActive()) side_.Tick();
    } else {
      const int state = event == kClosedByPeerEvent ? Winsock::kClosing : Winsock::kError;
      if (side_.link.game_state != Winsock::kClosed) {
        side_.link.game_state = state;
        side_.session.GameStateChanged(state);
      }
    }
  }

  // What must hold after every step; forgets what it has looked at.
  std::string Check() {
    std::string failure = side_.windows.failure;
    for (int cell = 0; cell < kCellCount && failure.empty(); ++cell) {
      const std::int16_t value = side_.game.Board()[cell];
      if (value < Empty || value > Blocker) {
        failure = "cell " + std::to_string(cell) + " holds " + std::to_string(value);
      }
    }
    if (side_.game.Turn() < NoGameYet || side_.game.Turn() > NoTurn) {
      failure = "Turn " + std::to_string(side_.game.Turn());
    }
    for (const std::string& call : side_.shell.calls) {
      if (!failure.empty()) break;
      const auto index = [&](std::size_t prefix) { return std::atoi(call.c_str() + prefix); };
      if (call.rfind("HidePiece ", 0) == 0) {
        const int i = index(10);
        if (i < 0 || i >= 2 * kPiecesPerSide) failure = call;
      } else if (call.rfind("HideBlocker ", 0) == 0) {
        const int i = index(12);
        if (i < 0 || i >= 2 * kBlockersPerSide) failure = call;
      } else if (call.rfind("Paint ", 0) == 0) {
        const int cell = index(6);
        if (cell < 0 || cell >= kCellCount) failure = call;
      }
    }
    for (const QString& message : side_.link.sent) {
      if (failure.empty() && !IsOwnMessage(message)) {
        failure = "sent \"" + message.toStdString() + "\"";
      }
    }
    side_.shell.calls.clear();
    side_.link.sent.clear();
    return failure;
  }

 private:
  void Host() {
    side_.Connect(false);
    Read("Name xx");
  }
  void Guest() {
    side_.Connect(true);
    Read("Name xxShowOptn 0");
  }

  fakes::OnlineSide side_;
};

}  // namespace

SessionResult FeedSession(QByteArrayView input) {
  SessionResult result;
  if (input.isEmpty()) return result;
  try {
    Connection connection;
    result.failure =
        connection.Setup(static_cast<Phase>(static_cast<unsigned char>(input[0]) % kPhaseCount));
    qsizetype pos = 1;
    while (result.failure.empty() && pos < input.size()) {
      const int length = static_cast<unsigned char>(input[pos]);
      if (length == 0) {
        if (pos + 1 >= input.size()) break;
        connection.Event(static_cast<unsigned char>(input[pos + 1]));
        pos += 2;
      } else {
        const qsizetype available = std::min<qsizetype>(length, input.size() - pos - 1);
        connection.Read(input.sliced(pos + 1, available));
        pos += 1 + available;
        ++result.reads;
      }
      result.failure = connection.Check();
    }
  } catch (const std::exception& e) {
    result.failure = std::string("threw: ") + e.what();
  } catch (...) {
    result.failure = "threw";
  }
  return result;
}

SessionInput::SessionInput(Phase phase) {
  bytes_ += static_cast<char>(phase);
}

SessionInput& SessionInput::Read(const QByteArray& bytes) {
  qsizetype at = 0;
  do {
    const qsizetype length = std::min<qsizetype>(255, bytes.size() - at);
    if (length == 0) break;  // a zero length means an event
    bytes_ += static_cast<char>(length);
    bytes_ += bytes.mid(at, length);
    at += length;
  } while (at < bytes.size());
  return *this;
}

SessionInput& SessionInput::Click(int cell, bool right_button) {
  bytes_ += '\0';
  bytes_ += static_cast<char>(std::clamp(cell, 0, kCellCount - 1) * 2 + (right_button ? 1 : 0));
  return *this;
}

SessionInput& SessionInput::Tick() {
  bytes_ += '\0';
  bytes_ += static_cast<char>(kTickEvent);
  return *this;
}

SessionInput& SessionInput::ConnectionLost(bool closed_by_peer) {
  bytes_ += '\0';
  bytes_ += static_cast<char>(closed_by_peer ? kClosedByPeerEvent : kFailedEvent);
  return *this;
}

}  // namespace vexa::net::fuzz
