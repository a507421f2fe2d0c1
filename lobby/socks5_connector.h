#pragma once

// One stream through the lobby server's SOCKS5 bytestream proxy (XEP-0065,
// prosody's mod_proxy65): connects to the proxy and asks for the stream
// whose address is the SHA-1 of the session id and the two players' full
// addresses. The proxy joins the two players' connections of the same
// hash, and passes bytes once the initiator has activated it; the socket
// then carries the game's bytes as a direct connection would.
//
// Only the proxy's two short answers are read here, byte for byte and
// within a time bound; a wrong byte fails the stream.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

namespace vexa::lobby {

// The proxy as the server names it.
struct StreamHost {
  QString jid;
  QString host;
  int port = 0;
};

// DST.ADDR of XEP-0065: SHA-1 of sid + initiator's full JID + target's, in
// lower-case hex.
QByteArray StreamHash(const QString& sid, const QString& initiator, const QString& target);

class Socks5Connector : public QObject {
  Q_OBJECT
 public:
  static constexpr int kTimeoutMs = 5000;

  Socks5Connector(const StreamHost& proxy, QByteArray hash, QObject* parent = nullptr);
  ~Socks5Connector() override;

  void Start();
  // After Ready: the socket, now the caller's.
  QTcpSocket* TakeSocket();

 signals:
  void Ready();
  void Failed(const QString& reason);

 private:
  void OnRead();
  void Fail(const QString& reason);

  StreamHost proxy_;
  QByteArray hash_;
  QPointer<QTcpSocket> socket_;
  QByteArray received_;
  bool greeted_ = false;
  bool done_ = false;
  QTimer timeout_;
};

}  // namespace vexa::lobby
