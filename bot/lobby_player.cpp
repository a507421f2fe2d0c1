#include "bot/lobby_player.h"

#include <QDateTime>
#include <QHostInfo>
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
  connect(&lobby_, &lobby::LobbyClient::GameOpened, this,
          [this](const QString& host, const lobby::GameAnnouncement&) { GameOpened(host); });
  connect(&lobby_, &lobby::LobbyClient::Invited, this, &LobbyPlayer::Invited);
}

LobbyPlayer::~LobbyPlayer() = default;

bool LobbyPlayer::Begin() {
  lobby::LobbyAccount account;
  account.server = lobby_options_.server;
  account.account = lobby_options_.account;
  account.anonymous = lobby_options_.anonymous;
  if (!account.anonymous) {
    QString error;
    const std::optional<QString> password =
        lobby::ReadPasswordFile(lobby_options_.password_file, error);
    if (!password) {
      emit Progress(error);
      return false;
    }
    account.password = *password;
  }
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
  if (relay_) relay_.release()->deleteLater();
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
  // The room lists the others before this player is in: a game seen then
  // is asked for once in (Entered), when the request can carry this
  // player's address.
  if (options_.host || asked_ || host != lobby_options_.host_nick || !lobby_.InRoom()) return;
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
  if (connected_ || finished_ || relay_ || !player_) return;
  // The direct attempt is given up, its retries with it.
  player_->disconnect(this);
  player_.release()->deleteLater();
  Tell(QStringLiteral("no direct connection in %1 s: through the relay (中継サーバー経由)")
           .arg(kDirectMs / 1000));
  relay_ = NewRelay();
  relay_->StartAsGuest(lobby_options_.host_nick, invitation_.jid);
}

void LobbyPlayer::RelayRequested(const QString& guest, const QString& sid) {
  // Only a guest this host invited, while the game is still open.
  if (!options_.host || playing_ || !player_ || !invited_jids_.contains(guest) || relay_) return;
  Tell(QStringLiteral("%1 asks for the relay (中継サーバー経由)").arg(guest));
  relay_ = NewRelay();
  relay_->StartAsHost(guest, invited_jids_.value(guest), sid);
}

std::unique_ptr<lobby::RelayLink> LobbyPlayer::NewRelay() {
  auto relay = std::make_unique<lobby::RelayLink>(lobby_);
  connect(relay.get(), &lobby::RelayLink::Failed, this, &LobbyPlayer::RelayFailed);
  connect(relay.get(), &lobby::RelayLink::Ready, this, [this](QTcpSocket* game, QTcpSocket* chat) {
    if (!options_.host) {
      BotOptions guest = options_;
      guest.remote_host = invitation_.address;
      guest.port = invitation_.port;
      player_ = NewPlayer(guest);
      connected_ = true;
    }
    if (!player_->TakeRelayed(game, chat)) {
      RelayFailed(QStringLiteral("the relay's streams closed"));
      return;
    }
    if (!options_.host) {
      Tell(QStringLiteral("connected through the relay (中継サーバー経由)"));
      return;
    }
    // The streams wait for the guest's name as a direct caller does; the
    // next invited guest may ask for the relay meanwhile.
    relay_.release()->deleteLater();
  });
  return relay;
}

void LobbyPlayer::RelayFailed(const QString& reason) {
  if (finished_) return;
  emit Progress(reason);
  if (options_.host) {
    // The open game stays; the next guest may reach it.
    if (relay_) relay_.release()->deleteLater();
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
