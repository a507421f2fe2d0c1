#include "bot/headless_player.h"

#include <atomic>

#include <QDateTime>
#include <QDeadlineTimer>
#include <QTimer>

#include "bot/game_line.h"
#include "net/qt_await.h"
#include "net/qt_search_runner.h"

namespace vexa::bot {

using net::Keyword;
using net::Winsock;

HeadlessPlayer::HeadlessPlayer(BotOptions options, std::uint64_t seed)
    : options_(std::move(options)), random_(seed), runner_(net::QtSearchRunnerOptions(this)) {
  SearchLimits master;
  master.seed = seed;
  player_ = MakePlayer(options_.strength, random_, master);
  // As the main window wires its connection.
  connection_.Feed(session_);
  connect(&connection_, &net::GameConnection::GameConnected, this, [this] { GameConnectionUp(); });
  connect(&connection_, &net::GameConnection::GameFailed, this, [this] { GameSocketFailed(); });
  game_.SetOnlineLink(this);
  session_.SetMessageObserver([this](const QString& message) {
    unanswered_.removeOne(net::ParseMessage(message).keyword);
    emit MessageHeard();
  });
}

HeadlessPlayer::~HeadlessPlayer() {
  game_.SetOnlineLink(nullptr);
}

// --- The connection ------------------------------------------------------------

bool HeadlessPlayer::Begin() {
  const QString ports =
      QStringLiteral("port %1 (chat %2)").arg(options_.port).arg(options_.port + 1);
  if (!options_.host) {
    join_deadline_ms_ = QDateTime::currentMSecsSinceEpoch() + kJoinRetryMs;
    if (!Join()) return false;
    emit Progress(QStringLiteral("joining %1 on %2").arg(options_.remote_host, ports));
    return true;
  }
  session_.BeginConnection(false);
  if (!connection_.Host(options_.port, options_.port + 1)) {
    emit Progress(QStringLiteral("cannot host on ") + ports + QStringLiteral(": in use?"));
    return false;
  }
  emit Progress(QStringLiteral("hosting on %1, waiting for a player").arg(ports));
  return true;
}

bool HeadlessPlayer::TakeRelayed(QTcpSocket* game, QTcpSocket* chat) {
  if (!options_.host) session_.BeginConnection(true);
  return connection_.TakeRelayed(game, chat, options_.host);
}

bool HeadlessPlayer::Join() {
  connection_.Close();
  session_.BeginConnection(true);
  if (connection_.Join(options_.remote_host, options_.port, options_.port + 1)) return true;
  emit Progress(QStringLiteral("cannot join ") + options_.remote_host);
  return false;
}

void HeadlessPlayer::GameSocketFailed() {
  // The game socket is closed. Once the connection was up, the session takes its end for the peer
  // leaving.
  if (connected_once_) return;
  // A host that is not listening yet: a guest started together with it
  // tries again for a while.
  if (!options_.host && QDateTime::currentMSecsSinceEpoch() < join_deadline_ms_) {
    QTimer::singleShot(250, this, [this] {
      if (!Join()) Finish(kCouldNotConnect);
    });
    return;
  }
  emit Progress(QStringLiteral("could not connect"));
  Finish(kCouldNotConnect);
}

void HeadlessPlayer::GameConnectionUp() {
  connected_once_ = true;
  session_.SendName(options_.name);
  emit Progress(QStringLiteral("connected"));
  emit Connected();
  if (options_.host) tasks_.Start(HostFirstGame());
}

// --- The host's games ----------------------------------------------------------

Task<> HeadlessPlayer::HostFirstGame() {
  const bool named = co_await session_.WaitForOpponentName();
  if (!named) {
    // Gone: the session reports it. Silent: not a player of this game.
    if (session_.Connected()) co_await Leave(kConnectionEndedEarly);
    co_return;
  }
  emit Progress(QStringLiteral("playing against ") +
                QString::fromStdString(game_.online.OpponentName));
  LoadSettings();
  co_await HostNextGame();
}

Task<> HeadlessPlayer::HostNextGame() {
  const int number = games_finished_ + 1;
  const bool host_first = options_.first == FirstMover::Host ||
                          (options_.first == FirstMover::Alternate && number % 2 == 1);
  // Each change goes to the peer, which echoes it: as a person's clicks in
  // the settings dialog.
  if (first_mover_ != (host_first ? 0 : 1)) {
    first_mover_ = host_first ? 0 : 1;
    unanswered_.append(Keyword::Optn);
    session_.FirstMoverChanged(first_mover_, false);
  }
  if (options_.excite_seconds) {
    if (game_option_ != 1) {
      game_option_ = 1;
      unanswered_.append(Keyword::Opt2);
      session_.GameOptionChanged(1, false);
    }
    const QString limit = QString::number(*options_.excite_seconds);
    if (time_limit_ != limit) {
      time_limit_ = limit;
      unanswered_.append(Keyword::LimS);
      session_.TimeLimitChanged(limit, false);
    }
  }
  co_await AwaitSettingAnswers();
  // The hand on "ゲームスタート" takes a moment.
  if (options_.pause_ms > 0) co_await Delay(options_.pause_ms);
  if (leaving_ || finished_ || !session_.Connected()) co_return;
  emit Progress(QStringLiteral("game %1 starts, %2 moves first")
                    .arg(number)
                    .arg(host_first ? QStringLiteral("this side") : QStringLiteral("the guest")));
  co_await session_.HostStartsGame(host_first);
}

Task<> HeadlessPlayer::AwaitSettingAnswers() {
  // The guest shows each setting before the game starts; a peer that does
  // not answer (or an older one that does not echo) is waited for no
  // longer than a name.
  const QDeadlineTimer deadline(net::kPeerWaitMs);
  while (!unanswered_.isEmpty() && session_.Connected() && !deadline.hasExpired()) {
    co_await SignalOrTimeout(this, &HeadlessPlayer::MessageHeard,
                             static_cast<int>(deadline.remainingTime()));
  }
  unanswered_.clear();
}

void HeadlessPlayer::AskForSettings() {
  // After the last game the host leaves instead of asking for another.
  if (!AllGamesPlayed()) session_.AskForSettings();
}

Task<> HeadlessPlayer::ChooseSettings() {
  if (AllGamesPlayed()) {
    co_await Leave(kAllGamesPlayed);
    co_return;
  }
  if (!game_.online.IsGuest) {
    co_await HostNextGame();
    co_return;
  }
  // The guest: shown until the host starts the game (or the peer leaves).
  LoadSettings();
  settings_shown_ = true;
  while (settings_shown_)
    co_await NextSignal(this, &HeadlessPlayer::SettingsDismissed);
}

// --- The settings dialog ---------------------------------------------------------

void HeadlessPlayer::LoadSettings() {
  if (settings_loaded_) return;
  settings_loaded_ = true;
  // As the dialog's loading: the host asks the peer to open its own, then
  // each side selects the host as the first mover, which is told to the
  // peer like a click.
  session_.SettingsDialogLoading();
  const bool guest = game_.online.IsGuest;
  first_mover_ = guest ? 1 : 0;
  if (!guest) unanswered_.append(Keyword::Optn);
  session_.FirstMoverChanged(first_mover_, false);
}

void HeadlessPlayer::PeerChangedSetting(net::Setting which, const QString& value) {
  // As the dialog's controls: a selection that really changes is echoed.
  LoadSettings();
  switch (which) {
    case net::Setting::FirstMover:
      if (first_mover_ == value.toInt()) return;
      first_mover_ = value.toInt();
      session_.FirstMoverChanged(first_mover_, true);
      break;
    case net::Setting::GameOption:
      if (game_option_ == value.toInt()) return;
      game_option_ = value.toInt();
      session_.GameOptionChanged(game_option_, true);
      break;
    case net::Setting::TimeLimit:
      if (time_limit_ == value) return;
      time_limit_ = value;
      session_.TimeLimitChanged(time_limit_, true);
      break;
  }
}

net::ChosenSettings HeadlessPlayer::Settings() {
  LoadSettings();
  return {.excite = game_option_ == 1, .time_limit = time_limit_};
}

void HeadlessPlayer::SettingsEnded(net::SettingsEnd how) {
  if (settings_shown_) {
    settings_shown_ = false;
    emit SettingsDismissed();
  }
  if (how != net::SettingsEnd::NewConnection) return;
  settings_loaded_ = false;
  first_mover_ = -1;
  game_option_ = 0;
  time_limit_ = QStringLiteral("5");
  unanswered_.clear();
}

// --- Playing ------------------------------------------------------------------------

void HeadlessPlayer::MoveHandedTo(Side side) {
  if (side != Player1) return;
  // This side is to move. The move is made from the event loop, not inside
  // the handler that passed the turn; a newer turn supersedes an older one
  // still pausing.
  tasks_.Start(PlayTurn(++turn_number_));
}

void HeadlessPlayer::GameStarted(GameMode) {
  game_running_ = true;
}

void HeadlessPlayer::GameEnded(const Outcome& outcome) {
  // A game the peer left is reported when the session tells so.
  if (outcome.how == EndReason::PeerLeft || outcome.how == EndReason::Abandoned) return;
  game_running_ = false;
  ++games_finished_;
  emit GameReported(GameLine(games_finished_, outcome, game_.Board()));
}

Task<> HeadlessPlayer::PlayTurn(int turn_number) {
  const Game::Watch watch = game_.WatchGame();
  const std::optional<std::vector<Move>> turn = co_await ChooseTurn();
  if (!turn || turn_number != turn_number_ || !watch.StillCurrent() || game_.Turn() != Player1) {
    co_return;
  }
  // Blockers first, then the piece, each placed as a person's would be.
  for (const Move& move : *turn) {
    co_await game_.PlaceLocal(move.cell, move.kind);
    if (!watch.StillCurrent()) break;
  }
}

Task<std::optional<std::vector<Move>>> HeadlessPlayer::ChooseTurn() {
  const std::optional<SearchLimits> search = player_->NextSearch();
  if (!search) {
    co_await Delay(options_.pause_ms);
    if (game_.Turn() != Player1) co_return std::nullopt;
    const std::atomic<bool> never{false};
    co_return player_->ChooseTurn(game_.CurrentPosition(), Player1, never);
  }
  // Master searches during the pause, at least long enough to weigh its
  // turns; the position is the one the move was handed over in.
  constexpr int kLeastSearchMs = 50;
  SearchLimits limits = *search;
  limits.time = std::chrono::milliseconds(std::max(options_.pause_ms, kLeastSearchMs));
  SearchRunner::Awaiter searching = runner_.Search(game_.CurrentPosition(), Player1, limits);
  const std::optional<SearchResult> result = co_await searching;
  if (!result || result->turn.empty()) co_return std::nullopt;
  co_return result->turn;
}

int HeadlessPlayer::ScaledPause(int milliseconds) const {
  return static_cast<int>(static_cast<long long>(milliseconds) * options_.pause_ms /
                          kThinkingPauseMs);
}

Task<> HeadlessPlayer::Pause(int milliseconds) {
  // The judge's pauses scale with the thinking pause; none at all with
  // pause 0, so that a game runs at the speed of the connection.
  const int scaled = ScaledPause(milliseconds);
  if (scaled > 0) co_await Delay(scaled);
}

Task<> HeadlessPlayer::ShowResult(const std::string&) {
  if (!game_.online.IsGuest) {
    // The host reads its result before it asks for the next game or
    // leaves, as a person closes the result dialog; the guest's judge,
    // which pauses as long as this side's, has finished by then.
    if (options_.result_wait_ms > 0) co_await Delay(options_.result_wait_ms);
  } else if (AllGamesPlayed()) {
    tasks_.Start(GuestLastWord());
  }
}

// --- Leaving ---------------------------------------------------------------------

Task<> HeadlessPlayer::GuestLastWord() {
  // The host says "Show" or "EndG" after its last result; either is handled
  // as it comes. Silence ends the wait too.
  co_await SignalOrTimeout(this, &HeadlessPlayer::MessageHeard, kLastWordMs);
  co_await Leave(kAllGamesPlayed);
}

Task<> HeadlessPlayer::TellPeerGone(net::PeerGone why) {
  if (why == net::PeerGone::BrokeRules) {
    emit GameReported(LeftGameLine(games_finished_ + 1, game_.Board()));
    game_running_ = false;
    emit Progress(QStringLiteral(
        "the other player sent a move the rules do not allow; the connection is closed"));
    Finish(kConnectionEndedEarly);
    co_return;
  }
  // The board decided the game before the peer left, only the judge's
  // pauses were still running: a host that shows its last result for less
  // time than this side's judge takes leaves then. The game is over as the
  // host saw it, not cut.
  if (game_running_ && game_.CurrentPosition().Result()) {
    game_running_ = false;
    ++games_finished_;
    emit GameReported(GameLine(games_finished_, *game_.CurrentPosition().Result(), game_.Board()));
  }
  if (AllGamesPlayed()) {
    emit Progress(QStringLiteral("the other player has left"));
    Finish(kAllGamesPlayed);
    co_return;
  }
  // The board as the game left it; no game yet, an empty one.
  emit GameReported(
      LeftGameLine(games_finished_ + 1, game_running_ ? game_.Board() : BoardCells{}));
  game_running_ = false;
  emit Progress(QStringLiteral("the connection ended before the last game was over"));
  Finish(kConnectionEndedEarly);
}

Task<> HeadlessPlayer::Leave(int status) {
  if (leaving_ || finished_) co_return;
  leaving_ = true;
  emit Progress(QStringLiteral("leaving"));
  co_await session_.CloseConnection();
  Finish(status);
}

void HeadlessPlayer::Finish(int status) {
  if (finished_) return;
  finished_ = true;
  emit Finished(status);
}

}  // namespace vexa::bot
