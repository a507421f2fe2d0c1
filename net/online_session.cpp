#include "net/online_session.h"

#include <QDeadlineTimer>
#include <algorithm>

#include "net/leading_number.h"
#include "net/qt_await.h"
#include "net/winsock_adapter.h"

namespace vexa::net {

namespace {

std::int16_t ToTimeLimit(const QString& text) {
  return static_cast<std::int16_t>(std::clamp(LeadingInteger(text), -32768, 32767));
}

}  // namespace

OnlineSession::OnlineSession(Game& game, OnlineWindows& windows, GameLink& link, TaskGroup& tasks)
    : game_(game), windows_(windows), link_(link), tasks_(tasks) {
  timer_.setObjectName(QStringLiteral("Timer1"));
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { tasks_.Start(ClockTick()); });
  game_.SetOnlineLink(this);
}

OnlineSession::~OnlineSession() {
  game_.SetOnlineLink(nullptr);
}

void OnlineSession::BeginConnection(bool as_guest) {
  ++connection_;
  windows_.SettingsEnded(SettingsEnd::NewConnection);
  game_.online.IsGuest = as_guest;
  game_.online.OpponentName.clear();
  reader_.Reset();
  chat_reader_.Reset();
  chat_reader_.SetPeerName(QString());
  first_mover_echoes_ = {};
  game_option_echoes_ = {};
  time_limit_echoes_ = {};
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
  const int connection = connection_;
  for (const QString& message : messages) {
    // Once a side has left, what the old peer still sends belongs to a game
    // that is over: a piece of it must not land on the next game's board,
    // nor a start begin a game nobody plays.
    if (!StillLive(connection)) {
      // Both sides said "EndG" at once: close, so that neither waits for the
      // other to close first.
      if (left_ && ParseMessage(message).keyword == Keyword::EndG) link_.CloseGame();
      continue;
    }
    if (observer_) observer_(message);
    tasks_.Start(Apply(ParseMessage(message), connection));
  }
}

Task<> OnlineSession::Apply(ParsedMessage message, int connection) {
  switch (message.keyword) {
    case Keyword::Name:
      game_.online.OpponentName = message.argument.toStdString();
      chat_reader_.SetPeerName(message.argument);
      emit changes_.Changed();
      break;
    case Keyword::Show:
      // Only the host opens the settings; a host told so by its peer would
      // tell it back, without end.
      if (game_.online.IsGuest && !guest_settings_pending_)
        co_await OpenSettingsAsGuest(connection);
      break;
    case Keyword::Optn: {
      // The sender's view: its "I move first" is our "the peer moves first".
      const double number = message.Number();
      const int index = number == 0 ? 1 : number == 1 ? 0 : -1;
      if (index >= 0 && !first_mover_echoes_.IsEcho(QString::number(index))) {
        windows_.PeerChangedSetting(Setting::FirstMover, QString::number(index));
      }
      break;
    }
    case Keyword::Opt2: {
      const int index = message.Integer();
      if ((index == 0 || index == 1) && !game_option_echoes_.IsEcho(QString::number(index))) {
        windows_.PeerChangedSetting(Setting::GameOption, QString::number(index));
      }
      break;
    }
    case Keyword::LimS:
      if (!time_limit_echoes_.IsEcho(message.argument))
        windows_.PeerChangedSetting(Setting::TimeLimit, message.argument);
      break;
    case Keyword::StTn: {
      // Only exactly 0 or 1 says who moves first. A start that says neither
      // is ignored: it would hide the settings for a game in which nobody
      // may move.
      const double guest_first = message.Number();
      if (guest_first == 0 || guest_first == 1) {
        co_await StartGame(guest_first == 1 ? Player1 : Remote);
      }
      break;
    }
    case Keyword::PutU:
      co_await ApplyPeerMove(PieceMove(Remote, message.Integer()));
      break;
    case Keyword::PutW:
      co_await ApplyPeerMove(BlockerMove(Remote, message.Integer()));
      break;
    case Keyword::EndG:
      co_await PeerLeft();
      break;
    case Keyword::DecS:
      game_.ForfeitBlocker(Remote);
      break;
    case Keyword::Lose:
      co_await ApplyLoss();
      break;
    case Keyword::Unknown:
      break;
  }
}

Task<> OnlineSession::ApplyPeerMove(const Move& move) {
  if (!game_.PeerRefusal(move)) {
    if (move.kind == MoveKind::Piece) {
      co_await game_.PlayPeerPiece(move.cell);
    } else {
      game_.ApplyMove(move);
    }
    co_return;
  }
  // Nothing of it touches the board or the stocks: the player's pieces stay
  // where they are, and the peer hears that this side leaves.
  if (Connected()) SendEndG();
  co_await PeerLeft(PeerGone::BrokeRules);
}

Task<> OnlineSession::OpenSettingsAsGuest(int connection) {
  // A "Show" that comes while the settings are already on their way or
  // shown changes nothing; without this a flood of them would pile up.
  guest_settings_pending_ = true;
  windows_.ClearWayForSettings();
  const bool named = co_await WaitForOpponentName();
  if (named && StillLive(connection)) co_await windows_.ChooseSettings();
  if (connection == connection_) guest_settings_pending_ = false;
}

Task<> OnlineSession::StartGame(Side first_mover) {
  windows_.GameBegins(QString::fromStdString(game_.Shell().LocalPlayerName()),
                      QString::fromStdString(game_.online.OpponentName));
  const ChosenSettings settings = windows_.Settings();
  game_.online.TimeLimit = ToTimeLimit(settings.time_limit);
  game_.online.ClockStyle = settings.excite ? GameOption::Excite : GameOption::Normal;
  co_await game_.StartGame(StartedFrom::OnlineStart, first_mover);
  windows_.SettingsEnded(SettingsEnd::GameStarts);
}

Task<> OnlineSession::ApplyLoss() {
  // A "Lose" that crosses the end of the game (a square on this side in the
  // same moment) would announce a second result.
  if (!game_.GameRunning()) co_return;
  // The clock stops where it stands: its display keeps the last count.
  timer_.stop();
  clock_running_ = false;
  co_await game_.AnnounceResult({Player1, EndReason::PeerLose, std::nullopt});
}

void OnlineSession::ChatDataArrived(const QByteArray& bytes) {
  for (const QString& line : chat_reader_.Read(bytes))
    windows_.PeerSaid(line);
}

// --- Sending -------------------------------------------------------------------

void OnlineSession::Send(const QString& message) {
  if (!left_) link_.SendGame(message);
}

void OnlineSession::SendName(const QString& name) {
  Send(NameMessage(name));
}

void OnlineSession::SendPiece(int cell) {
  Send(PutUMessage(cell));
}

void OnlineSession::SendBlocker(int cell) {
  Send(PutWMessage(cell));
}

void OnlineSession::AskForSettings() {
  Send(ShowMessage());
}

// --- The settings dialog -----------------------------------------------------------

void OnlineSession::SettingsDialogLoading() {
  if (!game_.online.IsGuest && Connected()) AskForSettings();
}

void OnlineSession::SendSetting(EchoFilter& echoes, const QString& value, const QString& message,
                                bool mirrored) {
  // Only the host changes settings; what the joining side sends are echoes.
  if (!mirrored && !game_.online.IsGuest) echoes.Expect(value);
  Send(message);
}

void OnlineSession::FirstMoverChanged(int index, bool mirrored) {
  if (!Connected()) return;
  SendSetting(first_mover_echoes_, QString::number(index), OptnMessage(index), mirrored);
}

void OnlineSession::GameOptionChanged(int index, bool mirrored) {
  SendSetting(game_option_echoes_, QString::number(index), Opt2Message(index), mirrored);
  game_.online.ClockStyle = index == 1 ? GameOption::Excite : GameOption::Normal;
}

void OnlineSession::TimeLimitChanged(const QString& text, bool mirrored) {
  SendSetting(time_limit_echoes_, text, LimSMessage(text), mirrored);
}

Task<> OnlineSession::HostStartsGame(bool host_moves_first) {
  Send(StTnMessage(host_moves_first ? 0 : 1));
  co_await StartGame(host_moves_first ? Player1 : Remote);
}

void OnlineSession::SettingsDialogClosed() {
  // However it is closed, the peer is told (while the connection lasts) and
  // the main window's online controls are usable again.
  if (Connected()) SendEndG();
  game_.Shell().SetOptionControls(PanelCode::VsOnline, true);
}

// --- Leaving -----------------------------------------------------------------

Task<bool> OnlineSession::WaitUntil(std::function<bool()> done, int ms) {
  const QDeadlineTimer deadline(ms);
  while (!done()) {
    if (!Connected() || deadline.hasExpired()) co_return false;
    co_await SignalOrTimeout(&changes_, &SessionChanges::Changed,
                             static_cast<int>(deadline.remainingTime()));
  }
  co_return true;
}

Task<bool> OnlineSession::WaitForOpponentName() {
  const bool named =
      co_await WaitUntil([this] { return !game_.online.OpponentName.empty(); }, kPeerWaitMs);
  co_return named;
}

void OnlineSession::SendEndG() {
  Send(EndGMessage());
  left_ = true;
  windows_.ConnectionEnded();
}

Task<> OnlineSession::CloseConnection() {
  if (link_.GameState() != Winsock::kClosed) {
    if (Connected()) {
      Send(EndGMessage());
      // Only a connected peer can answer by closing its end; the wait ends
      // early when the socket fails or closes, and after a few seconds at
      // most.
      left_ = true;
      const int connection = connection_;
      co_await WaitUntil([] { return false; }, kPeerWaitMs);
      // A connection set up meanwhile (the buttons are usable again) is not
      // this one to close.
      if (connection != connection_) co_return;
    }
    left_ = true;
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
  emit changes_.Changed();
}

Task<> OnlineSession::PeerLeft(PeerGone why) {
  if (peer_gone_) co_return;
  peer_gone_ = true;
  game_.Shell().SetOptionControls(PanelCode::VsOnline, true);
  if (link_.GameState() != Winsock::kClosed) link_.CloseGame();
  if (link_.ChatState() != Winsock::kClosed) link_.CloseChat();
  windows_.SettingsEnded(SettingsEnd::ConnectionGone);
  game_.online.IsGuest = false;
  windows_.ConnectionEnded();
  // The game is over from here on, also for a judge or a clock that waits
  // while the user reads the news; the board is cleared after it.
  game_.InterruptGame(EndReason::PeerLeft);
  StopMoveClock();
  co_await windows_.TellPeerGone(why);
  co_await game_.AbandonGame();
  windows_.ClearWayForSettings();
}

// --- The move clock ----------------------------------------------------------

void OnlineSession::StartMoveClock() {
  clock_running_ = false;
  timer_.start(tick_ms_);
}

void OnlineSession::StopMoveClock() {
  timer_.stop();
  clock_running_ = false;
  windows_.ClockShows(std::nullopt);
}

Task<> OnlineSession::ClockTick() {
  if (game_.Turn() != Player1) co_return;
  const std::int16_t limit = game_.online.TimeLimit;
  if (!clock_running_) {
    // The first tick only loads the count.
    clock_running_ = true;
    seconds_left_ = limit;
    co_return;
  }
  --seconds_left_;
  windows_.ClockShows(seconds_left_);
  if (seconds_left_ > 0) co_return;

  seconds_left_ = limit;  // a new period of the same turn
  if (game_.ForfeitBlocker(Player1) < 0) {
    co_await LoseOnTime();
    co_return;
  }
  windows_.ClockTookBlocker();
  Send(DecSMessage());
}

Task<> OnlineSession::LoseOnTime() {
  Send(LoseMessage());
  StopMoveClock();
  co_await game_.AnnounceResult({Remote, EndReason::Time, std::nullopt});
}

}  // namespace vexa::net
