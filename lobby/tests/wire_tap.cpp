// A relay that writes down what clients send, for the certificate tests of
// lobby_namespace_test.sh: whatever a refused client said before it gave up
// is in the log, to be searched for anything that should only go over TLS.
//
//   wire_tap LISTEN_ADDRESS PORT TARGET_ADDRESS LOG
//
// Every connection to LISTEN_ADDRESS:PORT is joined to TARGET_ADDRESS:PORT;
// the bytes from the clients are appended to LOG.

#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() != 4) {
    std::fprintf(stderr, "usage: wire_tap LISTEN_ADDRESS PORT TARGET_ADDRESS LOG\n");
    return 2;
  }
  const quint16 port = static_cast<quint16>(args[1].toUInt());
  const QHostAddress target(args[2]);
  QFile log(args[3]);
  QTcpServer server;
  if (!log.open(QIODevice::Append) || !server.listen(QHostAddress(args[0]), port)) {
    std::fprintf(stderr, "wire_tap: cannot listen or log\n");
    return 1;
  }
  QObject::connect(&server, &QTcpServer::newConnection, &app, [&] {
    while (QTcpSocket* client = server.nextPendingConnection()) {
      auto* upstream = new QTcpSocket(client);
      QObject::connect(client, &QTcpSocket::readyRead, upstream, [&log, client, upstream] {
        const QByteArray bytes = client->readAll();
        log.write(bytes);
        log.flush();
        upstream->write(bytes);
      });
      QObject::connect(upstream, &QTcpSocket::readyRead, client,
                       [client, upstream] { client->write(upstream->readAll()); });
      QObject::connect(upstream, &QTcpSocket::disconnected, client,
                       &QTcpSocket::disconnectFromHost);
      QObject::connect(client, &QTcpSocket::disconnected, client, [client, upstream] {
        upstream->disconnectFromHost();
        client->deleteLater();
      });
      upstream->connectToHost(target, port);
    }
  });
  std::printf("listening\n");
  std::fflush(stdout);
  return app.exec();
}
