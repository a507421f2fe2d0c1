#pragma once

// The lobby's XMPP connection on libstrophe. libstrophe blocks its loop
// while it looks up a name or shakes hands for TLS, so the connection runs
// in a thread of its own: Run() is that thread's whole body, requests come
// in through Post() and everything heard goes out as signals, which reach
// receivers of other threads queued. Payloads travel as XML text and are
// read (checked) by the receiver, never here.

#include <strophe.h>
#include <QObject>
#include <QString>
#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

#include "lobby/lobby_account.h"

namespace vexa::lobby {

class XmppWorker : public QObject {
  Q_OBJECT
 public:
  explicit XmppWorker(LobbyAccount account);
  ~XmppWorker() override;

  // The thread's body: registers, logs in, enters the room and serves
  // until Quit(), then leaves the room and the server.
  void Run();
  // Thread-safe: `request` runs in the worker's thread.
  void Post(std::function<void(XmppWorker&)> request);
  // Thread-safe: ends Run() soon.
  void Quit() { quit_ = true; }

  // In the worker's thread (through Post).
  void SetPresencePayload(const QString& xml);
  void SendChat(const QString& text);
  void SendPrivate(const QString& nick, const QString& xml);
  // Asks the proxy to pass the bytes of stream `sid` (this player the
  // initiator, `target` the other's full address).
  void ActivateRelay(const QString& sid, const QString& target);

 signals:
  // In the room, as `own_jid` (the full address the server bound).
  void Entered(const QString& own_jid);
  // The relay the server offers (after Entered; never when it has none).
  void RelayFound(const QString& jid, const QString& host, int port);
  void RelayActivated(const QString& sid, bool ok);
  // Logging in or entering failed, or the connection ended: nothing more
  // comes.
  void Failed(const QString& reason);
  // An occupant's presence: `payload` is its lobby element as XML, or empty.
  void Presence(const QString& nick, const QString& payload);
  void Absence(const QString& nick);
  void ChatHeard(const QString& nick, const QString& text);
  void PrivateHeard(const QString& nick, const QString& xml);

 private:
  enum class Step { None, Register, Login, Done };

  static void OnRegisterEvent(xmpp_conn_t* conn, xmpp_conn_event_t event, int error,
                              xmpp_stream_error_t* stream_error, void* self);
  static void OnLoginEvent(xmpp_conn_t* conn, xmpp_conn_event_t event, int error,
                           xmpp_stream_error_t* stream_error, void* self);
  static int OnCertificateRefused(const xmpp_tlscert_t* cert, const char* error);
  // What to tell when TLS did not come up: the certificate's fault if
  // OnCertificateRefused saw one, else `otherwise`.
  QString TlsFailure(const QString& otherwise) const;
  static int OnFeatures(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self);
  static int OnProceed(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self);
  static int OnRegisterAnswer(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self);
  static int OnPresence(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self);
  static int OnMessage(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self);
  static int OnProxyAnswer(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self);
  static int OnActivateAnswer(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self);

  xmpp_conn_t* NewConnection();
  void DropConnection();
  void StartRegistration();
  void StartLogin();
  void Fail(const QString& reason);
  // The presence to the room: entering it, or a change of payload.
  void SendRoomPresence(bool entering);
  // The nick of a stanza from the room, or empty.
  QString RoomNick(xmpp_stanza_t* stanza) const;

  const LobbyAccount account_;
  const QByteArray room_;
  const QByteArray nick_;
  const QByteArray proxy_;
  std::atomic<bool> quit_{false};
  std::mutex requests_mutex_;
  std::deque<std::function<void(XmppWorker&)>> requests_;

  xmpp_ctx_t* ctx_ = nullptr;
  xmpp_conn_t* conn_ = nullptr;
  Step next_ = Step::None;
  bool registered_ = false;
  bool logged_in_ = false;
  bool in_room_ = false;
  bool failed_ = false;
  // This worker's turn to authenticate (see LoginTurn in the .cpp), held
  // from the login's start until it is in or has failed.
  std::unique_lock<std::mutex> login_turn_;
  void EndLoginTurn();
  // OpenSSL's word for why the server's certificate was refused.
  QString certificate_error_;
  QString payload_;
};

}  // namespace vexa::lobby
