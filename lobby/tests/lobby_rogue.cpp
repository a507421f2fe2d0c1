// A stranger in the lobby who asks a host for the relay and then sends
// noise instead of its name, for lobby_namespace_test.sh's "rogue" mode:
//
//   lobby_rogue SERVER CA_FILE ACCOUNT PASSWORD HOST_NICK
//
// It enters, asks HOST_NICK to join, takes the invitation, opens the relay
// at once and sends an HTTP request on the game stream. It prints
// "DROPPED <ms>" when the host has closed both streams without a byte, or
// "HEARD <bytes>" when the host answered, or "FAILED <reason>".

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "lobby/lobby_client.h"
#include "lobby/relay_link.h"

namespace {

void Say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() != 5) {
    std::fputs("usage: lobby_rogue SERVER CA_FILE ACCOUNT PASSWORD HOST_NICK\n", stderr);
    return 2;
  }
  const QString host = args[4];
  vexa::lobby::LobbyClient client;
  std::unique_ptr<vexa::lobby::RelayLink> relay;
  QByteArray heard;
  QElapsedTimer since_noise;
  const auto finish = [&](const QString& line, int status) {
    Say(line);
    app.exit(status);
  };
  bool asked = false;
  const auto ask = [&] {
    if (asked || !client.InRoom() || !client.OpenGames().contains(host)) return;
    asked = true;
    client.RequestJoin(host);
  };
  QObject::connect(&client, &vexa::lobby::LobbyClient::Entered, &app, ask);
  QObject::connect(&client, &vexa::lobby::LobbyClient::GameOpened, &app, ask);
  QObject::connect(&client, &vexa::lobby::LobbyClient::Failed, &app,
                   [&](const QString& reason) { finish(QStringLiteral("FAILED ") + reason, 1); });
  QObject::connect(
      &client, &vexa::lobby::LobbyClient::Invited, &app,
      [&](const QString& from, const vexa::lobby::Invitation& invitation) {
        if (from != host || relay) return;
        relay = std::make_unique<vexa::lobby::RelayLink>(client);
        QObject::connect(
            relay.get(), &vexa::lobby::RelayLink::Failed, &app,
            [&](const QString& reason) { finish(QStringLiteral("FAILED ") + reason, 1); });
        QObject::connect(
            relay.get(), &vexa::lobby::RelayLink::Ready, &app,
            [&](QTcpSocket* game, QTcpSocket* chat) {
              game->setParent(&app);
              chat->setParent(&app);
              for (QTcpSocket* stream : {game, chat}) {
                QObject::connect(stream, &QIODevice::readyRead, &app,
                                 [&heard, stream] { heard += stream->readAll(); });
                QObject::connect(stream, &QAbstractSocket::disconnected, &app, [&, game, chat] {
                  if (game->state() == QAbstractSocket::UnconnectedState &&
                      chat->state() == QAbstractSocket::UnconnectedState) {
                    finish(heard.isEmpty()
                               ? QStringLiteral("DROPPED %1").arg(since_noise.elapsed())
                               : QStringLiteral("HEARD ") + QString::fromLatin1(heard.toHex()),
                           heard.isEmpty() ? 0 : 1);
                  }
                });
              }
              since_noise.start();
              game->write("GET / HTTP/1.1\r\nHost: lobby\r\n\r\n");
            });
        relay->StartAsGuest(host, invitation.jid);
      });
  vexa::lobby::LobbyAccount account;
  account.server = args[0];
  account.ca_file = args[1];
  account.account = args[2];
  account.password = args[3];
  client.Start(account);
  QTimer::singleShot(60000, &app, [&] { finish(QStringLiteral("FAILED no end in 60 s"), 1); });
  return app.exec();
}
