#pragma once

// vexa-bot in the online lobby: it enters the room, then either hosts (an
// open game announced in its presence, an invitation with its address to
// whoever asks, the game played by a HeadlessPlayer, and again for the next
// opponent) or finds a host by name, asks to join and plays it. The game
// itself runs over its own connections, so it goes on when the lobby's
// server goes away.

#include <QMap>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "bot/bot_options.h"
#include "bot/headless_player.h"
#include "lobby/lobby_client.h"
#include "lobby/relay_link.h"

namespace vexa::bot {

// How long a guest waits for its host's game to appear, and for the host's
// invitation once asked.
constexpr int kHostAppearMs = 60000;
constexpr int kInvitationMs = 10000;
// How long a guest tries the host's address before both turn to the relay.
constexpr int kDirectMs = 3000;

class LobbyPlayer : public QObject {
  Q_OBJECT
 public:
  LobbyPlayer(BotOptions options, std::uint64_t seed);
  ~LobbyPlayer() override;

  // Reads the password and starts entering the lobby; false (with the
  // reason in Progress) when the password file will not do.
  bool Begin();

 signals:
  void GameReported(const QString& line);
  void Progress(const QString& text);
  void Finished(int status);

 private:
  void Entered();
  void LobbyFailed(const QString& reason);
  void HostNextOpponent();
  void Announce();
  void JoinRequested(const QString& guest);
  void GameOpened(const QString& host);
  void Invited(const QString& host, const lobby::Invitation& invitation);
  // The relay: the guest turns to it when the direct connection has not
  // come up in time, and asks the host, which opens its streams first.
  void DirectTimedOut();
  void RelayRequested(const QString& guest, const QString& sid);
  std::unique_ptr<lobby::RelayLink> NewRelay();
  void RelayFailed(const QString& reason);
  void PlayerFinished(int status);
  void Finish(int status);
  std::unique_ptr<HeadlessPlayer> NewPlayer(const BotOptions& options);
  // Progress with the time, so that two players' logs line up.
  void Tell(const QString& text);

  BotOptions options_;
  const LobbyOptions& lobby_options_;
  std::uint64_t seed_;
  lobby::LobbyClient lobby_;
  std::unique_ptr<HeadlessPlayer> player_;
  QString address_;
  // The host: the guests invited, with their full addresses for the relay.
  QMap<QString, QString> invited_jids_;
  // The guest: the host's invitation.
  lobby::Invitation invitation_;
  std::unique_ptr<lobby::RelayLink> relay_;
  bool connected_ = false;
  int opponents_played_ = 0;
  bool playing_ = false;
  bool asked_ = false;
  bool finished_ = false;
  int last_status_ = kAllGamesPlayed;
};

}  // namespace vexa::bot
