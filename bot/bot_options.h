#pragma once

// The command line of vexa-bot:
//   vexa-bot host [--port P] [--name NAME] [--strength S] [--games N]
//                 [--first host|guest|alternate] [--excite SECONDS]
//                 [--pause-ms MS] [--seed N]
//   vexa-bot join HOST [--port P] [--name NAME] [--strength S] [--games N]
//                 [--pause-ms MS] [--seed N]
//   vexa-bot join vexa://HOST:PORT [...]   (an invitation link: host and port)
//   vexa-bot lobby --server HOST --account NAME --password-file FILE
//                  [--ca-file FILE] [--room ROOM] [--address A]
//                  [--opponents N] [game options] host|join HOSTNAME
//   vexa-bot lobby --server HOST --account NAME --anonymous [...]

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "core/game_shell.h"

namespace vexa::bot {

constexpr int kDefaultPort = 36150;
// How long the host shows a result before the next game or its leaving when
// no pause is asked for: time for the person against it to read the board.
constexpr int kResultReadingMs = 5000;

// Who moves first in the host's games.
enum class FirstMover { Host, Guest, Alternate };

// Playing through the online lobby (an XMPP room) instead of an address.
struct LobbyOptions {
  QString server;
  QString account;
  QString password_file;
  // Logs in without an account (SASL ANONYMOUS) instead of a password.
  bool anonymous = false;
  QString ca_file;
  QString room;  // empty: the server's "lobby@conference." room
  // The host's address given to its guests; empty: the address it reaches
  // the lobby server from.
  QString address;
  // The host: opponents to play before it leaves; 0 stays until stopped.
  int opponents = 0;
  // The guest: the host's name in the lobby.
  QString host_nick;
};

struct BotOptions {
  bool host = true;
  QString remote_host;  // where to join
  int port = kDefaultPort;
  QString name = QStringLiteral("vexa-bot");
  CpuStrength strength = CpuStrength::VeryHard;
  int games = 1;
  FirstMover first = FirstMover::Host;
  // Seconds per move of an "Excite" game; none for "Normal".
  std::optional<int> excite_seconds;
  // The computer's thinking pause; every other pause scales with it.
  int pause_ms = 1000;
  // The host's wait after a result; twice the pause when one is given.
  int result_wait_ms = kResultReadingMs;
  std::optional<std::uint64_t> seed;
  std::optional<LobbyOptions> lobby;
};

// The options, or nothing with `error` set. `arguments` leaves out the
// program's own name.
std::optional<BotOptions> ParseBotOptions(const QStringList& arguments, QString& error);

QString BotUsage();

}  // namespace vexa::bot
