#pragma once

// The socket component of the connection panel: one TCP endpoint that either
// listens or holds one connection, with the operations, events and State
// values the online code is written against. It sits over QTcpServer and
// QTcpSocket and keeps no global state, so two program instances in one
// process each own their own sockets.
//
// Life of a host socket: SetLocalPort, Listen (State 2); a peer connects and
// ConnectionRequest(id) is raised; the handler calls Close() (State 0) and
// then Accept(id) on the same object (State 7). A request that is not
// accepted before the handler returns is refused. A guest socket:
// SetRemoteHost, SetRemotePort, Connect (State 6), then Connected (State 7)
// or Error (State 9).
//
// Set-up errors (port out of 0..65535, port in use, a host name that cannot
// be one, an operation in the wrong State) make Listen / Connect / Accept
// return false and leave the State as it was. Errors that come later (host
// not found, connection refused, no route, reset) arrive as Error, always
// after Connect has returned, and put the socket in State 9 until Close. When the peer closes its end (or vanishes with a
// reset) the State becomes 8; data that arrived before is still delivered
// first and can still be read with GetData.
//
// Reading is bounded: at most kReadLimit bytes wait in the socket's buffer.
// When the program does not read, TCP's flow control holds back the peer;
// nothing is dropped and memory stays bounded whatever the peer sends.

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace vexa::net {

class Winsock : public QObject {
  Q_OBJECT

 public:
  // The State values.
  static constexpr int kClosed = 0;
  static constexpr int kListening = 2;
  static constexpr int kConnecting = 6;  // also while the host name is looked up
  static constexpr int kConnected = 7;
  static constexpr int kClosing = 8;  // the peer has closed its end
  static constexpr int kError = 9;

  static constexpr qint64 kReadLimit = 64 * 1024;

  explicit Winsock(QObject* parent = nullptr);
  ~Winsock() override;

  // The port Listen uses. While listening or connected it reads the port in
  // use (so Listen on port 0 tells which free port it got).
  int LocalPort() const;
  void SetLocalPort(int port) { local_port_ = port; }
  // Where Connect goes; after Accept, the peer's address and port.
  QString RemoteHost() const { return remote_host_; }
  void SetRemoteHost(const QString& host) { remote_host_ = host; }
  int RemotePort() const { return remote_port_; }
  void SetRemotePort(int port) { remote_port_ = port; }

  int State() const { return state_; }

  // From State 0: listens on LocalPort on every interface.
  bool Listen();
  // From State 0: starts connecting to RemoteHost:RemotePort.
  bool Connect();
  // From State 0, during the ConnectionRequest(request_id) it accepts.
  bool Accept(int request_id);
  // From State 0: takes `socket`, already connected elsewhere (a stream
  // through the lobby's relay), as its connection: State 7 at once; bytes
  // that came with it are delivered from the event loop.
  bool TakeOver(QTcpSocket* socket);
  // In State 7: hands the bytes to the network in one write, at once.
  bool SendData(const QByteArray& data);
  // Everything received and not yet read; then empty.
  QByteArray GetData();
  // Stops listening or ends the connection (bytes already sent still go
  // out) and returns to State 0. Allowed in every State.
  void Close();

 signals:
  void ConnectionRequest(int request_id);
  // The Connect event: the connection started by Connect() is up.
  void Connected();
  void DataArrival(qint64 bytes_total);
  // number: the QAbstractSocket::SocketError value.
  void Error(int number, const QString& description);
  void StateChanged(int state);

 private:
  void SetState(int state);
  void Adopt(QTcpSocket* socket);
  void OnNewConnection();
  void OnSocketError(int error);
  void OnDisconnected();

  int local_port_ = 0;
  QString remote_host_;
  int remote_port_ = 0;
  int state_ = kClosed;
  QTcpServer* server_ = nullptr;
  QTcpSocket* socket_ = nullptr;
  // The connection offered by the ConnectionRequest being raised.
  QTcpSocket* offered_ = nullptr;
  int offered_id_ = 0;
  int last_request_id_ = 0;
  // Inside Connect's call to connectToHost.
  bool in_connect_ = false;
};

}  // namespace vexa::net
