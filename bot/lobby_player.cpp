#include "bot/lobby_player.h"

#include <QDateTime>
#include <QHostInfo>
#include <QRandomGenerator>
#include <QTimer>

#include "lobby/local_address.h"
#include "lobby/password_file.h"

namespace vexa::bot {

LobbyPlayer::LobbyPlayer(BotOptions options, std::uint64_t seed)
    : options_(std::move(options)), lobby_options_(*options_.lobby), seed_(seed) {
  connect(&lobby_, &lobby::LobbyClient::Entered, this, &LobbyPlayer::Entered);
  connect(&lobby_, &lobby::LobbyClient::Failed, this, &LobbyPlayer::LobbyFailed);
  connect(&lobby_, &lobby::LobbyClient::JoinRequested, this,
          [this](const QString& guest, const lobby::JoinRequest& request) {
            // Kept for the relay; a flood of requests keeps only a few.
            if (invited_jids_.size() < 16) invited_jids_.insert(guest, request.jid);
            JoinRequested(guest);
          });
  connect(&lobby_, &lobby::LobbyClient::RelayRequested, this, &LobbyPlayer::RelayRequested);
  connect(&lobby_, &lobby::LobbyClient::RelayReadied, this, &LobbyPlayer::RelayReadied);
  connect(&lobby_, &lobby::LobbyClient::RelayActivated, this, &LobbyPlayer::RelayActivated);
  connect(&lobby_, &lobby::LobbyClient::GameOpened, this,
          [this](const QString& host, const lobby::GameAnnouncement&) { GameOpened(host); });
  connect(&lobby_, &lobby::LobbyClient::Invited, this, &LobbyPlayer::Invited);
}

LobbyPlayer::~LobbyPlayer() = default;

bool LobbyPlayer::Begin() {
  QString error;
  const std::optional<QString> password =
      lobby::ReadPasswordFile(lobby_options_.password_file, error);
  if (!password) {
    emit Progress(error);
    return false;
  }
  lobby::LobbyAccount account;
  account.server = lobby_options_.server;
  account.account = lobby_options_.account;
  account.password = *password;
  account.ca_file = lobby_options_.ca_file;
  account.room = lobby_options_.room;
  Tell(QStringLiteral("entering the lobby on ") + account.server);
  lobby_.Start(account);
  if (options_.host) {
    // The address guests are given: the one this machine reaches the
    // lobby's server from, unless one is named.
    address_ = lobby_options_.address;
    if (address_.isEmpty()) {
      QHostInfo::lookupHost(lobby_options_.server, this, [this](const QHostInfo& info) {
        if (!info.addresses().isEmpty()) {
          address_ = lobby::LocalAddressToward(info.addresses().constFirst()).toString();
        }
      });
    }
  }
  return true;
}

void LobbyPlayer::Tell(const QString& text) {
  emit Progress(text + QStringLiteral(" (at %1 ms)").arg(QDateTime::currentMSecsSinceEpoch()));
}

void LobbyPlayer::Entered() {
  Tell(QStringLiteral("in the lobby as ") + lobby_.OwnNick());
  if (options_.host) {
    HostNextOpponent();
    return;
  }
  if (lobby_.OpenGames().contains(lobby_options_.host_nick)) {
    GameOpened(lobby_options_.host_nick);
    return;
  }
  Tell(QStringLiteral("waiting for the game of ") + lobby_options_.host_nick);
  QTimer::singleShot(kHostAppearMs, this, [this] {
    if (asked_ || finished_) return;
    emit Progress(QStringLiteral("no open game of ") + lobby_options_.host_nick);
    Finish(kCouldNotConnect);
  });
}

void LobbyPlayer::LobbyFailed(const QString& reason) {
  emit Progress(reason);
  // A game under way needs no lobby: it ends on its own.
  if (!playing_) Finish(kCouldNotConnect);
}

std::unique_ptr<HeadlessPlayer> LobbyPlayer::NewPlayer(const BotOptions& options) {
  // One seed per opponent: a guest whose direct attempt gave way to the
  // relay plays as it would have played directly.
  auto player = std::make_unique<HeadlessPlayer>(options, seed_ + opponents_played_);
  connect(player.get(), &HeadlessPlayer::GameReported, this, &LobbyPlayer::GameReported);
  connect(player.get(), &HeadlessPlayer::Progress, this, &LobbyPlayer::Tell);
  // Queued: the player is dropped afterwards, not inside its own signal.
  connect(player.get(), &HeadlessPlayer::Finished, this, &LobbyPlayer::PlayerFinished,
          Qt::QueuedConnection);
  return player;
}

// --- Hosting -------------------------------------------------------------------------

void LobbyPlayer::HostNextOpponent() {
  player_ = NewPlayer(options_);
  connect(player_.get(), &HeadlessPlayer::Connected, this, [this] {
    // A guest came: the game is no longer open to others.
    playing_ = true;
    lobby_.Announce(std::nullopt);
    Tell(QStringLiteral("announcement withdrawn"));
  });
  if (!player_->Begin()) {
    Finish(kCouldNotConnect);
    return;
  }
  Announce();
}

void LobbyPlayer::Announce() {
  lobby::GameAnnouncement game;
  game.excite_seconds = options_.excite_seconds;
  game.version = QStringLiteral(VEXA_VERSION);
  game.opened_at = QDateTime::currentSecsSinceEpoch();
  lobby_.Announce(game);
  Tell(QStringLiteral("game announced"));
}

void LobbyPlayer::JoinRequested(const QString& guest) {
  if (!options_.host || playing_ || !player_) return;
  if (address_.isEmpty()) {
    emit Progress(QStringLiteral("no address to give ") + guest + QStringLiteral(" yet"));
    return;
  }
  lobby::Invitation invitation;
  invitation.address = address_;
  invitation.port = options_.port;
  lobby_.Invite(guest, invitation);
  Tell(QStringLiteral("invited ") + guest + QStringLiteral(" to ") + address_);
}

// --- Joining -------------------------------------------------------------------------

void LobbyPlayer::GameOpened(const QString& host) {
  if (options_.host || asked_ || host != lobby_options_.host_nick) return;
  asked_ = true;
  Tell(QStringLiteral("game of ") + host + QStringLiteral(" seen; asking to join"));
  lobby_.RequestJoin(host);
  QTimer::singleShot(kInvitationMs, this, [this] {
    if (playing_ || finished_) return;
    emit Progress(QStringLiteral("no invitation from ") + lobby_options_.host_nick);
    Finish(kCouldNotConnect);
  });
}

void LobbyPlayer::Invited(const QString& host, const lobby::Invitation& invitation) {
  if (options_.host || !asked_ || playing_ || host != lobby_options_.host_nick) return;
  Tell(QStringLiteral("invited by ") + host);
  playing_ = true;
  invitation_ = invitation;
  BotOptions guest = options_;
  guest.remote_host = invitation.address;
  guest.port = invitation.port;
  player_ = NewPlayer(guest);
  connect(player_.get(), &HeadlessPlayer::Connected, this, [this] {
    connected_ = true;
    Tell(QStringLiteral("direct connection (直接接続)"));
  });
  // A host behind a router nobody forwards, or an address out of reach:
  // the relay takes over after a few seconds.
  QTimer::singleShot(kDirectMs, this, &LobbyPlayer::DirectTimedOut);
  if (!player_->Begin()) DirectTimedOut();
}

// --- The relay -------------------------------------------------------------------

void LobbyPlayer::DirectTimedOut() {
  if (connected_ || finished_ || !relay_sid_.isEmpty() || !player_) return;
  // The direct attempt is given up, its retries with it.
  player_->disconnect(this);
  player_.release()->deleteLater();
  if (!lobby_.Relay()) {
    RelayFailed(QStringLiteral("no direct connection, and the lobby server offers no relay"));
    return;
  }
  relay_sid_ =
      QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
  Tell(QStringLiteral("no direct connection in %1 s: through the relay (中継サーバー経由)")
           .arg(kDirectMs / 1000));
  lobby_.RequestRelay(lobby_options_.host_nick, relay_sid_);
  QTimer::singleShot(kInvitationMs, this, [this] {
    if (!connected_) RelayFailed(QStringLiteral("the relay did not come up"));
  });
}

void LobbyPlayer::OpenStreams(const QString& sid, const QString& initiator, const QString& target,
                              std::function<void()> ready) {
  const lobby::StreamHost relay = *lobby_.Relay();
  game_stream_ = std::make_unique<lobby::Socks5Connector>(
      relay, lobby::StreamHash(sid + u'g', initiator, target));
  chat_stream_ = std::make_unique<lobby::Socks5Connector>(
      relay, lobby::StreamHash(sid + u'c', initiator, target));
  auto both = std::make_shared<int>(0);
  for (lobby::Socks5Connector* stream : {game_stream_.get(), chat_stream_.get()}) {
    connect(stream, &lobby::Socks5Connector::Ready, this, [both, ready] {
      if (++*both == 2) ready();
    });
    connect(stream, &lobby::Socks5Connector::Failed, this, &LobbyPlayer::RelayFailed);
    stream->Start();
  }
}

void LobbyPlayer::RelayRequested(const QString& guest, const QString& sid) {
  // Only the guest this host invited, while the game is still open.
  if (!options_.host || playing_ || !player_ || !invited_jids_.contains(guest) || !lobby_.Relay()) {
    return;
  }
  playing_ = true;
  Tell(QStringLiteral("%1 asks for the relay (中継サーバー経由)").arg(guest));
  OpenStreams(sid, invited_jids_.value(guest), lobby_.OwnJid(), [this, guest, sid] {
    // The host's streams wait at the proxy; the guest's join them.
    if (!player_->TakeRelayed(game_stream_->TakeSocket(), chat_stream_->TakeSocket())) {
      RelayFailed(QStringLiteral("the relay's streams closed"));
      return;
    }
    lobby_.TellRelayReady(guest, sid);
  });
}

void LobbyPlayer::RelayReadied(const QString& host, const QString& sid) {
  if (options_.host || host != lobby_options_.host_nick || sid != relay_sid_ || game_stream_) {
    return;
  }
  OpenStreams(sid, lobby_.OwnJid(), invitation_.jid, [this] {
    lobby_.ActivateRelay(relay_sid_ + u'g', invitation_.jid);
    lobby_.ActivateRelay(relay_sid_ + u'c', invitation_.jid);
  });
}

void LobbyPlayer::RelayActivated(const QString& sid, bool ok) {
  if (options_.host || relay_sid_.isEmpty() || !sid.startsWith(relay_sid_)) return;
  if (!ok) {
    RelayFailed(QStringLiteral("the relay refused to activate the stream"));
    return;
  }
  if (++activated_ < 2) return;
  BotOptions guest = options_;
  guest.remote_host = invitation_.address;
  guest.port = invitation_.port;
  player_ = NewPlayer(guest);
  connected_ = true;
  if (!player_->TakeRelayed(game_stream_->TakeSocket(), chat_stream_->TakeSocket())) {
    RelayFailed(QStringLiteral("the relay's streams closed"));
    return;
  }
  Tell(QStringLiteral("connected through the relay (中継サーバー経由)"));
}

void LobbyPlayer::RelayFailed(const QString& reason) {
  if (finished_) return;
  emit Progress(reason);
  if (options_.host) {
    // The open game stays; the next guest may reach it.
    playing_ = false;
    return;
  }
  Finish(kCouldNotConnect);
}

// --- The end of a game -------------------------------------------------------------

void LobbyPlayer::PlayerFinished(int status) {
  last_status_ = status;
  playing_ = false;
  // Dropped from the event loop, after the signal that told this.
  player_.release()->deleteLater();
  if (!options_.host) {
    Finish(status);
    return;
  }
  ++opponents_played_;
  if ((lobby_options_.opponents > 0 && opponents_played_ >= lobby_options_.opponents) ||
      !lobby_.InRoom()) {
    Finish(status);
    return;
  }
  HostNextOpponent();
}

void LobbyPlayer::Finish(int status) {
  if (finished_) return;
  finished_ = true;
  lobby_.Stop();
  emit Finished(status);
}

}  // namespace vexa::bot
