// vexa-bot: a headless online player. It hosts or joins like the main
// window, plays with the computer player and prints one line per game on
// standard output; progress and errors go to standard error.

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

#include "bot/bot_options.h"
#include "bot/headless_player.h"
#include "bot/lobby_player.h"
#include "cpu/cell_source.h"

namespace {

void PrintLine(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

// Wires a player's lines to the outputs and runs until it finishes.
template <typename Player>
int Run(Player& player) {
  QObject::connect(&player, &Player::GameReported,
                   [](const QString& line) { PrintLine(stdout, line); });
  QObject::connect(&player, &Player::Progress, [](const QString& text) {
    PrintLine(stderr, QStringLiteral("vexa-bot: ") + text);
  });
  QObject::connect(
      &player, &Player::Finished, QCoreApplication::instance(),
      [](int status) { QCoreApplication::exit(status); }, Qt::QueuedConnection);
  if (!player.Begin()) return vexa::bot::kCouldNotConnect;
  return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  // A peer that vanishes must end a send with an error, not the program.
  std::signal(SIGPIPE, SIG_IGN);
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("vexa-bot"));

  // Asked for: the usage on standard output and success, as every program
  // of the package answers --help.
  const QStringList arguments = QCoreApplication::arguments().mid(1);
  if (arguments.contains(u"--help") || arguments.contains(u"-h")) {
    std::fputs(vexa::bot::BotUsage().toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (arguments == QStringList{QStringLiteral("--version")}) {
    std::printf("vexa-bot %s\n", VEXA_VERSION);
    return 0;
  }
  QString error;
  const std::optional<vexa::bot::BotOptions> options = vexa::bot::ParseBotOptions(arguments, error);
  if (!options) {
    PrintLine(stderr, QStringLiteral("vexa-bot: ") + error);
    std::fputs(vexa::bot::BotUsage().toLocal8Bit().constData(), stderr);
    return 2;
  }

  if (options->lobby) {
    vexa::bot::LobbyPlayer player(*options, options->seed.value_or(vexa::SeedFromClock()));
    return Run(player);
  }
  vexa::bot::HeadlessPlayer player(*options, options->seed.value_or(vexa::SeedFromClock()));
  return Run(player);
}
