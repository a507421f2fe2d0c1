#include "session_fuzz_driver.h"

#include <algorithm>
#include <exception>

#include "game.h"
#include "game_message.h"
#include "online_session.h"
#include "recording_shell.h"
#include "winsock_adapter.h"

namespace vexa::net::fuzz {
namespace {

// The local event bytes after a zero length.
constexpr int kClickEvents = 2 * kCellCount;  // 0..241: cell * 2 + right button
constexpr int kTickEvent = 242;               // 242..253: a tick
constexpr int kClosedByPeerEvent = 254;
constexpr int kFailedEvent = 255;

// The settings dialog as data; every wait completes at once.
class FakeWindows : public OnlineWindows {
 public:
  std::string failure;
  int first_mover = 0;
  int game_option = 0;
  QString time_limit = QStringLiteral("5");

  void SelectFirstMover(int index) override {
    if (index != 0 && index != 1) failure = "first mover " + std::to_string(index);
    first_mover = index;
  }
  void SelectGameOption(int index) override {
    if (index != 0 && index != 1) failure = "game option " + std::to_string(index);
    game_option = index;
  }
  void SetTimeLimitText(const QString& text) override { time_limit = text; }
  QString TimeLimitText() override { return time_limit; }
  bool ExciteSelected() override { return game_option == 1; }
  Task<> ShowSettingsDialog() override { co_return; }
  void HideSettingsDialog() override {}
  void CloseSettingsDialog() override {}
  void DiscardSettingsDialog() override {}
  void ClearWayForSettings() override {}
  Task<> TellOpponentLeft() override { co_return; }
  void ShowClockSeconds(int) override {}
  void Beep() override {}
  void AppendChatLine(const QString&) override {}
  void ConnectionEnded() override {}
};

// Both connections up until closed; a peer told "EndG" closes its end.
class FakeLink : public GameLink {
 public:
  int game_state = Winsock::kConnected;
  int chat_state = Winsock::kConnected;
  QStringList sent;

  int GameState() const override { return game_state; }
  int ChatState() const override { return chat_state; }
  void SendGame(const QString& message) override {
    sent.append(message);
    if (message == EndGMessage() && game_state == Winsock::kConnected) {
      game_state = Winsock::kClosing;
    }
  }
  void SendChat(const QString&) override {}
  void CloseGame() override { game_state = Winsock::kClosed; }
  void CloseChat() override { chat_state = Winsock::kClosed; }
};

// The rules' shell wired to the session as the main window wires it.
class SessionShell : public testing::RecordingShell {
 public:
  SessionShell() { mode = GameMode::VsOnline; }
  void Attach(OnlineSession& session) { session_ = &session; }

  void SendPiece(int cell) override { session_->SendPiece(cell); }
  void SendBlocker(int cell) override { session_->SendBlocker(cell); }
  void AskForSettings() override { session_->AskForSettings(); }
  Task<> CloseConnection() override { co_await session_->CloseConnection(); }
  void StartMoveClock() override { session_->StartMoveClock(); }
  void StopMoveClock() override { session_->StopMoveClock(); }

 private:
  OnlineSession* session_ = nullptr;
};

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

// One program's online side, without windows or sockets.
class Connection {
 public:
  Connection() {
    shell_.Attach(session_);
    game_.records.PlayerName = "Taro";
  }

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
        windows_.game_option = 1;
        windows_.time_limit = QStringLiteral("2");
        StartAsHost(Player1);
        break;
      case Phase::GuestWaiting:
        Guest();
        Read("StTn 0");
        break;
      case Phase::AfterGame:
        // The peer's square 12-13-23-24 between three of ours.
        Host();
        StartAsHost(Remote);
        for (const int cell : {12, 13, 23}) {
          Read(PutUMessage(cell).toLatin1());
          Click(cell + 88, false);
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
    if (game_.Turn() != turns[static_cast<int>(phase)]) {
      return "setting up: Turn " + std::to_string(game_.Turn());
    }
    if (phase == Phase::AfterEndG && link_.game_state != Winsock::kClosed) {
      return "setting up: still connected after EndG";
    }
    return {};
  }

  void Read(QByteArrayView bytes) { session_.GameDataArrived(bytes.toByteArray()); }

  void Event(int event) {
    if (event < kClickEvents) {
      Click(event / 2, event % 2 == 1);
    } else if (event < kClosedByPeerEvent) {
      // Only a running clock ticks.
      if (session_.MoveClockTimer().isActive()) tasks_.Start(session_.ClockTick());
    } else {
      const int state = event == kClosedByPeerEvent ? Winsock::kClosing : Winsock::kError;
      if (link_.game_state != Winsock::kClosed) {
        link_.game_state = state;
        session_.GameStateChanged(state);
      }
    }
  }

  // What must hold after every step; forgets what it has looked at.
  std::string Check() {
    std::string failure = windows_.failure;
    for (int cell = 0; cell < kCellCount && failure.empty(); ++cell) {
      const std::int16_t value = game_.Board()[cell];
      if (value < Empty || value > Blocker) {
        failure = "cell " + std::to_string(cell) + " holds " + std::to_string(value);
      }
    }
    if (game_.Turn() < NoGameYet || game_.Turn() > NoTurn) {
      failure = "Turn " + std::to_string(game_.Turn());
    }
    for (const std::string& call : shell_.calls) {
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
    for (const QString& message : link_.sent) {
      if (failure.empty() && !IsOwnMessage(message)) {
        failure = "sent \"" + message.toStdString() + "\"";
      }
    }
    shell_.calls.clear();
    link_.sent.clear();
    return failure;
  }

 private:
  void Connect(bool as_guest) {
    session_.BeginConnection(as_guest);
    session_.GameStateChanged(Winsock::kConnected);
  }
  void Host() {
    Connect(false);
    Read("Name xx");
  }
  void Guest() {
    Connect(true);
    Read("Name xxShowOptn 0");
  }
  // The host's "ゲームスタート".
  void StartAsHost(Side first) { tasks_.Start(session_.HostStartsGame(first == Player1)); }
  void Click(int cell, bool right_button) {
    tasks_.Start(game_.PlaceFromClick(cell, right_button ? kRightButton : kLeftButton));
  }

  FakeLink link_;
  FakeWindows windows_;
  SessionShell shell_;
  Game game_{shell_};
  OnlineSession session_{game_, windows_, link_, tasks_};
  // Last: the waits it owns end before what they refer to.
  TaskGroup tasks_;
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
