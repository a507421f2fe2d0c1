#include "online_session.h"

#include <QDeadlineTimer>
#include <algorithm>

#include "leading_number.h"
#include "qt_await.h"
#include "winsock_adapter.h"

namespace vexa::net {

namespace {

// How often a bounded wait on the peer looks again.
constexpr int kPollMs = 20;

std::int16_t ToTimeLimit(const QString& text) {
  return static_cast<std::int16_t>(std::clamp(LeadingInteger(text), -32768, 32767));
}

}  // namespace

OnlineSession::OnlineSession(Game& game, OnlineWindows& windows, GameLink& link, TaskGroup& tasks)
    : game_(game), windows_(windows), link_(link), tasks_(tasks) {
  timer_.setObjectName(QStringLiteral("Timer1"));
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { tasks_.Start(Timer1_Timer()); });
}

void OnlineSession::BeginConnection() {
  ++connection_;
  windows_.DiscardSettingsDialog();
  game_.online.OpponentName.clear();
  reader_.Reset();
  chat_reader_.Reset();
  chat_reader_.SetPeerName(QString());
  left_ = false;
  peer_gone_ = false;
  was_connected_ = false;
  guest_settings_pending_ = false;
}

bool OnlineSession::Connected() const {
  return link_.GameState() == Winsock::kConnected;
}

// --- Receiving -------------------------------------------------------------

void OnlineSession::GameDataArrived(const QByteArray& bytes) {
  const QStringList messages = reader_.Read(bytes);
  // Once a side has left, what the old peer still sends belongs to a game
  // that is over: a piece of it must not land on the next game's board.
  if (left_ || peer_gone_) {
    // Both sides said "EndG" at once: close, so that neither waits for the
    // other to close first.
    for (const QString& message : messages) {
      if (left_ && ParseMessage(message).keyword == Keyword::EndG) link_.CloseGame();
    }
    return;
  }
  for (const QString& message : messages) {
    if (observer_) observer_(message);
    tasks_.Start(Apply(ParseMessage(message)));
  }
}

Task<> OnlineSession::Apply(ParsedMessage message) {
  switch (message.keyword) {
    case Keyword::Name:
      game_.online.OpponentName = message.argument.toStdString();
      chat_reader_.SetPeerName(message.argument);
      break;
    case Keyword::Show:
      // Only the host opens the settings; a host told so by its peer would
      // tell it back, without end.
      if (game_.online.IsGuest == 1 && !guest_settings_pending_) co_await OpenSettingsAsGuest();
      break;
    case Keyword::Optn:
      // The sender's view: its "I move first" is our "the peer moves first".
      if (message.Number() == 0) windows_.SelectFirstMover(1);
      if (message.Number() == 1) windows_.SelectFirstMover(0);
      break;
    case Keyword::Opt2: {
      const int index = message.Integer();
      if (index == 0 || index == 1) windows_.SelectGameOption(index);
      break;
    }
    case Keyword::LimS:
      windows_.SetTimeLimitText(message.argument);
      break;
    case Keyword::StTn:
      co_await StartFromMessage(message.Number());
      break;
    case Keyword::PutU: {
      const int cell = message.Integer();
      if (cell >= 0 && cell < kCellCount) co_await ApplyPiece(cell);
      break;
    }
    case Keyword::PutW: {
      const int cell = message.Integer();
      if (cell >= 0 && cell < kCellCount) {
        game_.SetCell(cell, Blocker);
        game_.UseBlocker(Remote);
      }
      break;
    }
    case Keyword::EndG:
      co_await PeerLeft();
      break;
    case Keyword::DecS:
      game_.UseBlocker(Remote);
      break;
    case Keyword::Lose:
      co_await ApplyLoss();
      break;
    case Keyword::Unknown:
      break;
  }
}

Task<> OnlineSession::OpenSettingsAsGuest() {
  // A "Show" that comes while the settings are already on their way or
  // shown changes nothing; without this a flood of them would pile up.
  guest_settings_pending_ = true;
  windows_.ClearWayForSettings();
  const bool named = co_await WaitForOpponentName();
  if (named) co_await windows_.ShowSettingsDialog();
  guest_settings_pending_ = false;
}

Task<bool> OnlineSession::WaitForOpponentName() {
  const QDeadlineTimer deadline(kPeerWaitMs);
  while (game_.online.OpponentName.empty()) {
    if (!Connected() || deadline.hasExpired()) co_return false;
    co_await Delay(kPollMs);
  }
  co_return true;
}

Task<> OnlineSession::StartFromMessage(double guest_first) {
  if (guest_first == 0) game_.Turn = Remote;
  if (guest_first == 1) game_.Turn = Player1;
  GameShell& shell = game_.Shell();
  shell.SetSideCaptions(shell.LocalPlayerName(), game_.online.OpponentName);
  game_.online.TimeLimit = ToTimeLimit(windows_.TimeLimitText());
  game_.online.ClockStyle = windows_.ExciteSelected() ? 1 : 0;
  co_await game_.StartGame(0);
  windows_.HideSettingsDialog();
}

Task<> OnlineSession::ApplyPiece(int cell) {
  game_.UsePiece(Remote);
  game_.SetCell(cell, Remote);
  const bool ended = co_await game_.CheckSquare(Remote);
  if (ended) co_return;
  game_.Turn = Player1;
  if (game_.online.ClockStyle == 1) StartMoveClock();
  game_.MarkTurn(Player1);
}

Task<> OnlineSession::ApplyLoss() {
  // A "Lose" that crosses the end of the game (a square on this side in the
  // same moment) would announce a second result.
  if (!game_.GameRunning()) co_return;
  GameShell& shell = game_.Shell();
  const int number = game_.GameNumber();
  game_.Turn = NoTurn;
  shell.SetResultText(shell.LocalPlayerName() + " Win");
  ++game_.records.Wins;
  shell.SaveRecords();
  shell.ShowRecords();
  timer_.stop();
  clock_running_ = false;
  co_await shell.ShowResultDialog();
  if (number != game_.GameNumber()) co_return;
  if (game_.online.IsGuest == 0 && shell.Mode() == GameMode::VsOnline) {
    Send(ShowMessage());
    co_await shell.ShowSettingsDialog();
  }
}

void OnlineSession::ChatDataArrived(const QByteArray& bytes) {
  for (const QString& line : chat_reader_.Read(bytes))
    windows_.AppendChatLine(line);
}

// --- Leaving -----------------------------------------------------------------

void OnlineSession::SendEndG() {
  left_ = true;
  Send(EndGMessage());
  windows_.ConnectionEnded();
}

Task<> OnlineSession::CloseConnection() {
  const int state = link_.GameState();
  if (state != Winsock::kClosed) {
    left_ = true;
    if (state == Winsock::kConnected) Send(EndGMessage());
    // Only a connected peer can answer by closing its end; the wait ends
    // early when the socket fails or closes, and after a few seconds at most.
    const int connection = connection_;
    const QDeadlineTimer deadline(kPeerWaitMs);
    while ((link_.GameState() == Winsock::kConnected) && !deadline.hasExpired()) {
      co_await Delay(kPollMs);
    }
    // A connection set up meanwhile (the buttons are usable again) is not
    // this one to close.
    if (connection != connection_) co_return;
    link_.CloseGame();
  }
  if (link_.ChatState() != Winsock::kClosed) link_.CloseChat();
  windows_.ConnectionEnded();
}

void OnlineSession::GameStateChanged(int state) {
  if (state == Winsock::kConnected) was_connected_ = true;
  if (state != Winsock::kConnected && was_connected_) windows_.ConnectionEnded();
  const bool lost = state == Winsock::kClosing || state == Winsock::kError;
  if (lost && was_connected_ && !left_ && !peer_gone_) tasks_.Start(PeerLeft());
}

Task<> OnlineSession::PeerLeft() {
  if (peer_gone_) co_return;
  peer_gone_ = true;
  GameShell& shell = game_.Shell();
  shell.SetOptionControls(2, true);
  if (link_.GameState() != Winsock::kClosed) link_.CloseGame();
  if (link_.ChatState() != Winsock::kClosed) link_.CloseChat();
  windows_.CloseSettingsDialog();
  game_.online.IsGuest = 0;
  windows_.ConnectionEnded();
  // The game is over from here on, also for a judge or a clock that waits
  // while the user reads the news; the board is cleared after it.
  game_.InterruptGame();
  StopMoveClock();
  co_await windows_.TellOpponentLeft();
  co_await game_.AbandonGame();
  windows_.CloseResultAndWaitingDialogs();
}

// --- The move clock ----------------------------------------------------------

void OnlineSession::StartMoveClock() {
  clock_running_ = false;
  timer_.start(tick_ms_);
}

void OnlineSession::StopMoveClock() {
  timer_.stop();
  clock_running_ = false;
  game_.Shell().HideClockDisplay();
}

Task<> OnlineSession::Timer1_Timer() {
  if (game_.Turn != Player1) co_return;
  const std::int16_t limit = game_.online.TimeLimit;
  if (!clock_running_) {
    // The first tick only loads the count.
    clock_running_ = true;
    seconds_left_ = limit;
    co_return;
  }
  --seconds_left_;
  windows_.ShowClockSeconds(seconds_left_);
  if (seconds_left_ > 0) co_return;

  seconds_left_ = limit;  // a new period of the same turn
  const int left = --game_.BlockerStock[Player1 - 1];
  if (left < 0) {
    co_await LoseOnTime();
    co_return;
  }
  windows_.Beep();
  if (left < kBlockersPerSide) game_.Shell().HideBlockerMarker(left);
  Send(DecSMessage());
}

Task<> OnlineSession::LoseOnTime() {
  GameShell& shell = game_.Shell();
  const int number = game_.GameNumber();
  game_.Turn = NoTurn;
  Send(LoseMessage());
  shell.SetResultText(game_.online.OpponentName + " Win");
  ++game_.records.Losses;
  shell.SaveRecords();
  shell.ShowRecords();
  StopMoveClock();
  co_await shell.ShowResultDialog();
  if (number != game_.GameNumber()) co_return;
  if (game_.online.IsGuest == 0 && shell.Mode() == GameMode::VsOnline) {
    Send(ShowMessage());
    co_await shell.ShowSettingsDialog();
  }
}

}  // namespace vexa::net
