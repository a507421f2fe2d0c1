#include "bot/bot_options.h"

#include <limits>

#include "net/game_message.h"
#include "net/invitation_link.h"

namespace vexa::bot {

namespace {

std::optional<long long> WholeNumber(const QString& text, long long low, long long high) {
  bool ok = false;
  const long long value = text.toLongLong(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<CpuStrength> StrengthNamed(const QString& text) {
  for (int i = 0; i <= static_cast<int>(CpuStrength::Master); ++i) {
    const auto strength = static_cast<CpuStrength>(i);
    if (text.compare(QLatin1String(StrengthName(strength)), Qt::CaseInsensitive) == 0) {
      return strength;
    }
  }
  return std::nullopt;
}

std::optional<FirstMover> FirstMoverNamed(const QString& text) {
  if (text == u"host") return FirstMover::Host;
  if (text == u"guest") return FirstMover::Guest;
  if (text == u"alternate") return FirstMover::Alternate;
  return std::nullopt;
}

}  // namespace

QString BotUsage() {
  return QStringLiteral(
      "usage: vexa-bot host [--port P] [--name NAME] [--strength S] [--games N]\n"
      "                     [--first host|guest|alternate] [--excite SECONDS]\n"
      "                     [--pause-ms MS] [--seed N]\n"
      "       vexa-bot join HOST [--port P] [--name NAME] [--strength S] [--games N]\n"
      "                     [--pause-ms MS] [--seed N]\n"
      "       vexa-bot join vexa://HOST:PORT [--name NAME] ...  (an invitation link)\n"
      "       vexa-bot lobby --server HOST --account NAME --password-file FILE\n"
      "                     [--ca-file FILE] [--room ROOM] [--address A] [--opponents N]\n"
      "                     [game options of host or join] host|join HOSTNAME\n"
      "       vexa-bot lobby --server HOST --account NAME --anonymous [...] host|join ...\n"
      "In the lobby (an XMPP chat room on HOST, by default lobby@conference.HOST) the\n"
      "account is registered on first use; the password file must be readable by its\n"
      "owner alone. --anonymous logs in without an account at anon.HOST, where the\n"
      "server allows it (SASL ANONYMOUS); NAME is then the name in the room. host announces an "
      "open game and plays whoever joins, N opponents\n"
      "one after another (0, the default: until stopped); join HOSTNAME joins the open\n"
      "game of the player of that name.\n"
      "       vexa-bot --version | --help\n"
      "S is Easy, Normal, Hard, VeryHard or Master (which searches during the pause,\n"
      "at least 50 ms, on every core).\n"
      "Defaults: --port 36150 (the chat takes the next port), --name vexa-bot,\n"
      "--strength VeryHard, --games 1, --first host, no --excite (no time limit),\n"
      "--pause-ms 1000, a seed from the clock.\n"
      "Standard output has one line per game, \"game K result R how H board B\": R is\n"
      "win, loss or draw for this bot; H is square, stock, time, lose or left; B is\n"
      "the last board, 121 digits, cell row x 11 + column: 0 empty, 1 this bot's\n"
      "piece, 4 the peer's, 5 a blocker; the corners 0, 10, 110 and 120 stay 0.\n");
}

namespace {

// `vexa-bot lobby ...`: the lobby's own options and the role are taken out;
// the rest are the options of a host or a guest.
std::optional<BotOptions> ParseLobbyOptions(const QStringList& arguments, QString& error) {
  LobbyOptions lobby;
  QString role;
  QStringList rest;
  for (qsizetype at = 0; at < arguments.size(); ++at) {
    const QString& word = arguments[at];
    if (!word.startsWith(u"--")) {
      if (!role.isEmpty()) {
        error = QStringLiteral("unexpected argument: ") + word;
        return std::nullopt;
      }
      role = word;
      if (role == u"join") {
        lobby.host_nick = arguments.value(++at);
        if (lobby.host_nick.isEmpty() || lobby.host_nick.startsWith(u"--")) {
          error = QStringLiteral("lobby join needs the host's name in the lobby");
          return std::nullopt;
        }
      } else if (role != u"host") {
        error = QStringLiteral("lobby needs host or join HOSTNAME");
        return std::nullopt;
      }
      continue;
    }
    if (word == u"--anonymous") {
      lobby.anonymous = true;
      continue;
    }
    QString* text = word == u"--server"          ? &lobby.server
                    : word == u"--account"       ? &lobby.account
                    : word == u"--password-file" ? &lobby.password_file
                    : word == u"--ca-file"       ? &lobby.ca_file
                    : word == u"--room"          ? &lobby.room
                    : word == u"--address"       ? &lobby.address
                                                 : nullptr;
    if (at + 1 >= arguments.size()) {
      error = word + QStringLiteral(" needs a value");
      return std::nullopt;
    }
    const QString value = arguments[++at];
    if (text) {
      *text = value;
    } else if (word == u"--opponents") {
      const auto opponents = WholeNumber(value, 0, std::numeric_limits<int>::max());
      if (!opponents) {
        error = QStringLiteral("bad value for --opponents: ") + value;
        return std::nullopt;
      }
      lobby.opponents = static_cast<int>(*opponents);
    } else {
      rest << word << value;
    }
  }
  if (role.isEmpty()) {
    error = QStringLiteral("lobby needs host or join HOSTNAME");
    return std::nullopt;
  }
  if (lobby.server.isEmpty() || lobby.account.isEmpty() ||
      lobby.password_file.isEmpty() == !lobby.anonymous) {
    error =
        QStringLiteral("lobby needs --server, --account and either --password-file or --anonymous");
    return std::nullopt;
  }
  // The game's options as for a host, or a guest whose host is found later.
  QStringList game = {role};
  if (role == u"join") game << lobby.host_nick;
  if (!rest.contains(u"--name")) rest << QStringLiteral("--name") << lobby.account;
  std::optional<BotOptions> options = ParseBotOptions(game + rest, error);
  if (options) {
    options->remote_host.clear();
    options->lobby = lobby;
  }
  return options;
}

}  // namespace

std::optional<BotOptions> ParseBotOptions(const QStringList& arguments, QString& error) {
  if (arguments.value(0) == u"lobby") return ParseLobbyOptions(arguments.mid(1), error);
  BotOptions options;
  // A link names the port; --port beside it would contradict it.
  bool from_link = false;
  qsizetype at = 0;
  const QString role = arguments.value(at++);
  if (role == u"join") {
    options.host = false;
    options.remote_host = arguments.value(at++);
    if (options.remote_host.isEmpty() || options.remote_host.startsWith(u"--")) {
      error = QStringLiteral("join needs the host's address");
      return std::nullopt;
    }
    if (net::LooksLikeInvitationLink(options.remote_host)) {
      const auto link = net::ParseInvitationLink(options.remote_host, error);
      if (!link) {
        error = QStringLiteral("invitation link refused: ") + error;
        return std::nullopt;
      }
      options.remote_host = link->host;
      options.port = link->port;
      from_link = true;
    }
  } else if (role != u"host") {
    error = QStringLiteral("the first argument is host or join");
    return std::nullopt;
  }

  while (at < arguments.size()) {
    const QString option = arguments[at++];
    if (at >= arguments.size()) {
      error = option + QStringLiteral(" needs a value");
      return std::nullopt;
    }
    const QString value = arguments[at++];
    const auto bad = [&] {
      error = QStringLiteral("bad value for ") + option + QStringLiteral(": ") + value;
      return std::nullopt;
    };
    if (option == u"--port" && from_link) {
      error = QStringLiteral("the invitation link names the port; leave out --port");
      return std::nullopt;
    } else if (option == u"--port") {
      // The chat connection takes the next port.
      const auto port = WholeNumber(value, 1, 65534);
      if (!port) return bad();
      options.port = static_cast<int>(*port);
    } else if (option == u"--name") {
      if (!net::NameTravelsWhole(value)) return bad();
      options.name = value;
    } else if (option == u"--strength") {
      const auto strength = StrengthNamed(value);
      if (!strength) return bad();
      options.strength = *strength;
    } else if (option == u"--games") {
      const auto games = WholeNumber(value, 1, std::numeric_limits<int>::max());
      if (!games) return bad();
      options.games = static_cast<int>(*games);
    } else if (option == u"--first" && options.host) {
      const auto first = FirstMoverNamed(value);
      if (!first) return bad();
      options.first = *first;
    } else if (option == u"--excite" && options.host) {
      // What the time-limit field of the settings can hold.
      const auto seconds = WholeNumber(value, 1, 32767);
      if (!seconds) return bad();
      options.excite_seconds = static_cast<int>(*seconds);
    } else if (option == u"--pause-ms") {
      const auto pause = WholeNumber(value, 0, 60000);
      if (!pause) return bad();
      options.pause_ms = static_cast<int>(*pause);
      options.result_wait_ms = 2 * options.pause_ms;
    } else if (option == u"--seed") {
      bool ok = false;
      const std::uint64_t seed = value.toULongLong(&ok);
      if (!ok) return bad();
      options.seed = seed;
    } else {
      error = QStringLiteral("unknown option for ") + role + QStringLiteral(": ") + option;
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace vexa::bot
