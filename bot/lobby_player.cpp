#include "bot/lobby_player.h"

#include <QDateTime>
#include <QFile>
#include <QHostInfo>
#include <QTimer>

#include "lobby/local_address.h"

namespace vexa::bot {

std::optional<QString> ReadPasswordFile(const QString& path, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read the password file ") + path;
    return std::nullopt;
  }
  const QFileDevice::Permissions shared = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                          QFileDevice::ReadOther | QFileDevice::WriteOther;
  if (file.permissions() & shared) {
    error = QStringLiteral("the password file ") + path +
            QStringLiteral(" may be read by others; make it the owner's alone (chmod 600)");
    return std::nullopt;
  }
  // The first line; a password has no line break.
  const QString password = QString::fromUtf8(file.read(1024)).section(u'\n', 0, 0);
  if (password.isEmpty()) {
    error = QStringLiteral("the password file ") + path + QStringLiteral(" is empty");
    return std::nullopt;
  }
  return password;
}

LobbyPlayer::LobbyPlayer(BotOptions options, std::uint64_t seed)
    : options_(std::move(options)), lobby_options_(*options_.lobby), seed_(seed) {
  connect(&lobby_, &lobby::LobbyClient::Entered, this, &LobbyPlayer::Entered);
  connect(&lobby_, &lobby::LobbyClient::Failed, this, &LobbyPlayer::LobbyFailed);
  connect(&lobby_, &lobby::LobbyClient::JoinRequested, this,
          [this](const QString& guest, const lobby::JoinRequest&) { JoinRequested(guest); });
  connect(&lobby_, &lobby::LobbyClient::GameOpened, this,
          [this](const QString& host, const lobby::GameAnnouncement&) { GameOpened(host); });
  connect(&lobby_, &lobby::LobbyClient::Invited, this, &LobbyPlayer::Invited);
}

LobbyPlayer::~LobbyPlayer() = default;

bool LobbyPlayer::Begin() {
  QString error;
  const std::optional<QString> password = ReadPasswordFile(lobby_options_.password_file, error);
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
  auto player = std::make_unique<HeadlessPlayer>(options, seed_++);
  connect(player.get(), &HeadlessPlayer::GameReported, this, &LobbyPlayer::GameReported);
  connect(player.get(), &HeadlessPlayer::Progress, this, &LobbyPlayer::Progress);
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
  lobby_.Invite(guest, lobby::Invitation{address_, options_.port});
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
  BotOptions guest = options_;
  guest.remote_host = invitation.address;
  guest.port = invitation.port;
  player_ = NewPlayer(guest);
  if (!player_->Begin()) Finish(kCouldNotConnect);
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
