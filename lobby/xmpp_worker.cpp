#include "lobby/xmpp_worker.h"

#include <QDeadlineTimer>
#include <cstdlib>
#include <cstring>

#include "lobby/lobby_payload.h"

namespace vexa::lobby {

namespace {

constexpr char kMucNamespace[] = "http://jabber.org/protocol/muc";
constexpr char kMucUserNamespace[] = "http://jabber.org/protocol/muc#user";
constexpr char kStanzaErrorNamespace[] = "urn:ietf:params:xml:ns:xmpp-stanzas";
constexpr char kDelayNamespace[] = "urn:xmpp:delay";
constexpr char kBytestreamsNamespace[] = "http://jabber.org/protocol/bytestreams";
constexpr char kActivatePrefix[] = "vexa-activate-";
// How long the loop waits for the network before it looks at requests
// again: the most a request waits before it is sent.
constexpr unsigned long kLoopTimeoutMs = 10;
// Leaving: the longest wait for the server to close the stream. libstrophe
// closes it itself two seconds after asking, and only a closed connection
// frees its TLS session: a shorter wait left it, with the server's
// certificates, to the end of the process whenever the server was slow.
constexpr int kLeavingMs = 2500;
// A chat line longer than this is a stranger's flood, not a line.
constexpr qsizetype kMaxChatLength = 4096;

// libstrophe's certificate callback carries no pointer of the caller's.
// It runs on the worker's own thread, inside that worker's Run(): the
// worker running on this thread is the one it concerns, and two workers
// never see each other's.
thread_local XmppWorker* running_worker = nullptr;

// libstrophe 0.12.2 computes wrong SCRAM proofs when several of its
// connections in one process authenticate at the same time: 20 clients in
// one process saw 25 logins refused, 20 in 20 processes none, and the
// refused proofs were wrong when computed again from the logged exchange.
// So the logins of one process take turns; this lock guards the library's
// process-wide behaviour, not any state of this program. One window or one
// vexa-bot has one lobby connection and never waits here.
std::mutex& LoginTurn() {
  static std::mutex turn;
  return turn;
}

QString Text(const char* text) {
  return text ? QString::fromUtf8(text) : QString();
}

// A child element with text, as libstrophe builds one.
void AddTextChild(xmpp_ctx_t* ctx, xmpp_stanza_t* parent, const char* name,
                  const QByteArray& text) {
  xmpp_stanza_t* element = xmpp_stanza_new(ctx);
  xmpp_stanza_set_name(element, name);
  xmpp_stanza_t* body = xmpp_stanza_new(ctx);
  xmpp_stanza_set_text(body, text.constData());
  xmpp_stanza_add_child(element, body);
  xmpp_stanza_release(body);
  xmpp_stanza_add_child(parent, element);
  xmpp_stanza_release(element);
}

bool AddXmlChild(xmpp_ctx_t* ctx, xmpp_stanza_t* parent, const QString& xml) {
  xmpp_stanza_t* child = xmpp_stanza_new_from_string(ctx, xml.toUtf8().constData());
  if (!child) return false;
  xmpp_stanza_add_child(parent, child);
  xmpp_stanza_release(child);
  return true;
}

// The defined condition of a stanza's error, as "conflict".
QString ErrorCondition(xmpp_stanza_t* stanza) {
  xmpp_stanza_t* error = xmpp_stanza_get_child_by_name(stanza, "error");
  if (!error) return QStringLiteral("unknown");
  for (xmpp_stanza_t* child = xmpp_stanza_get_children(error); child;
       child = xmpp_stanza_get_next(child)) {
    const char* ns = xmpp_stanza_get_ns(child);
    const char* name = xmpp_stanza_get_name(child);
    if (ns && name && std::strcmp(ns, kStanzaErrorNamespace) == 0) return Text(name);
  }
  return QStringLiteral("unknown");
}

}  // namespace

XmppWorker::XmppWorker(LobbyAccount account)
    : account_(std::move(account)),
      room_(account_.RoomAddress().toUtf8()),
      nick_(account_.Nick().toUtf8()),
      proxy_(account_.ProxyAddress().toUtf8()) {}

XmppWorker::~XmppWorker() = default;

void XmppWorker::Post(std::function<void(XmppWorker&)> request) {
  const std::lock_guard lock(requests_mutex_);
  requests_.push_back(std::move(request));
}

void XmppWorker::Run() {
  running_worker = this;
  xmpp_initialize();
  const xmpp_log_t* log =
      std::getenv("VEXA_LOBBY_DEBUG") ? xmpp_get_default_logger(XMPP_LEVEL_DEBUG) : nullptr;
  ctx_ = xmpp_ctx_new(nullptr, log);
  next_ = account_.register_first && !account_.anonymous ? Step::Register : Step::Login;
  while (!quit_ && !failed_) {
    switch (std::exchange(next_, Step::None)) {
      case Step::Register:
        StartRegistration();
        break;
      case Step::Login:
        // Another connection of this process authenticating: next round.
        if (!login_turn_.owns_lock()) {
          login_turn_ = std::unique_lock(LoginTurn(), std::try_to_lock);
          if (!login_turn_.owns_lock()) {
            next_ = Step::Login;
            break;
          }
        }
        DropConnection();
        StartLogin();
        break;
      default:
        break;
    }
    std::deque<std::function<void(XmppWorker&)>> requests;
    {
      const std::lock_guard lock(requests_mutex_);
      requests.swap(requests_);
    }
    for (auto& request : requests)
      request(*this);
    xmpp_run_once(ctx_, kLoopTimeoutMs);
  }
  if (conn_ && logged_in_ && xmpp_conn_is_connected(conn_)) {
    // Leaving the room withdraws the announcement at once for everyone.
    xmpp_stanza_t* presence = xmpp_presence_new(ctx_);
    xmpp_stanza_set_type(presence, "unavailable");
    xmpp_send(conn_, presence);
    xmpp_stanza_release(presence);
    xmpp_disconnect(conn_);
    const QDeadlineTimer leaving(kLeavingMs);
    while (xmpp_conn_is_connected(conn_) && !leaving.hasExpired()) {
      xmpp_run_once(ctx_, kLoopTimeoutMs);
    }
  }
  EndLoginTurn();
  DropConnection();
  xmpp_ctx_free(ctx_);
  ctx_ = nullptr;
  running_worker = nullptr;
}

xmpp_conn_t* XmppWorker::NewConnection() {
  xmpp_conn_t* conn = xmpp_conn_new(ctx_);
  // TLS always, with the server's certificate checked.
  xmpp_conn_set_flags(conn, XMPP_CONN_FLAG_MANDATORY_TLS);
  xmpp_conn_set_certfail_handler(conn, &XmppWorker::OnCertificateRefused);
  if (!account_.ca_file.isEmpty()) {
    xmpp_conn_set_cafile(conn, account_.ca_file.toLocal8Bit().constData());
  }
  // A bare domain makes libstrophe log in with SASL ANONYMOUS.
  const QByteArray jid = account_.LoginJid().toUtf8();
  xmpp_conn_set_jid(conn, jid.constData());
  return conn;
}

int XmppWorker::OnCertificateRefused(const xmpp_tlscert_t*, const char* error) {
  if (running_worker) running_worker->certificate_error_ = Text(error);
  return 0;  // never a certificate that did not pass
}

QString XmppWorker::TlsFailure(const QString& otherwise) const {
  const QString domain = account_.LoginJid().section(u'@', -1);
  if (certificate_error_.contains(QStringLiteral("hostname mismatch"), Qt::CaseInsensitive)) {
    return QStringLiteral("refused the lobby server: its certificate is for another name than ") +
           domain;
  }
  if (!certificate_error_.isEmpty()) {
    return QStringLiteral("refused the lobby server ") + domain +
           QStringLiteral(
               ": its certificate is not signed by a certificate authority this "
               "computer trusts (") +
           certificate_error_ +
           QStringLiteral("); for a server on a private CA, give that CA's file");
  }
  return otherwise;
}

void XmppWorker::DropConnection() {
  if (!conn_) return;
  xmpp_conn_release(conn_);
  conn_ = nullptr;
}

void XmppWorker::EndLoginTurn() {
  if (login_turn_.owns_lock()) login_turn_.unlock();
}

void XmppWorker::Fail(const QString& reason) {
  EndLoginTurn();
  if (failed_ || quit_) return;
  failed_ = true;
  emit Failed(reason);
}

// --- In-band registration (XEP-0077) ---------------------------------------
//
// libstrophe logs in but does not register: a raw stream, STARTTLS by hand,
// then the register query; the connection is closed and the login follows.

void XmppWorker::StartRegistration() {
  conn_ = NewConnection();
  const QByteArray server = account_.server.toUtf8();
  if (xmpp_connect_raw(conn_, server.constData(), static_cast<unsigned short>(account_.port),
                       &XmppWorker::OnRegisterEvent, this) != XMPP_EOK) {
    Fail(QStringLiteral("cannot reach the lobby server ") + account_.server);
  }
}

void XmppWorker::OnRegisterEvent(xmpp_conn_t* conn, xmpp_conn_event_t event, int,
                                 xmpp_stream_error_t*, void* self) {
  auto& worker = *static_cast<XmppWorker*>(self);
  if (event == XMPP_CONN_RAW_CONNECT) {
    xmpp_conn_open_stream_default(conn);
  } else if (event == XMPP_CONN_CONNECT) {
    // A stream opened, before TLS and again after it.
    xmpp_handler_add(conn, &XmppWorker::OnFeatures, XMPP_NS_STREAMS, "features", nullptr, self);
  } else if (worker.registered_) {
    worker.next_ = Step::Login;
  } else {
    worker.Fail(QStringLiteral("cannot reach the lobby server ") + worker.account_.server);
  }
}

int XmppWorker::OnFeatures(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self) {
  auto& worker = *static_cast<XmppWorker*>(self);
  xmpp_ctx_t* ctx = worker.ctx_;
  if (!xmpp_conn_is_secured(conn)) {
    // Never a password over a stream without TLS.
    if (!xmpp_stanza_get_child_by_name_and_ns(stanza, "starttls", XMPP_NS_TLS)) {
      worker.Fail(QStringLiteral("the lobby server offers no TLS"));
      return 0;
    }
    xmpp_stanza_t* starttls = xmpp_stanza_new(ctx);
    xmpp_stanza_set_name(starttls, "starttls");
    xmpp_stanza_set_ns(starttls, XMPP_NS_TLS);
    xmpp_handler_add(conn, &XmppWorker::OnProceed, XMPP_NS_TLS, nullptr, nullptr, self);
    xmpp_send(conn, starttls);
    xmpp_stanza_release(starttls);
    return 0;
  }
  xmpp_stanza_t* iq = xmpp_iq_new(ctx, "set", "vexa-register");
  xmpp_stanza_set_to(iq, worker.account_.server.toUtf8().constData());
  xmpp_stanza_t* query = xmpp_stanza_new(ctx);
  xmpp_stanza_set_name(query, "query");
  xmpp_stanza_set_ns(query, XMPP_NS_REGISTER);
  AddTextChild(ctx, query, "username", worker.account_.account.toUtf8());
  AddTextChild(ctx, query, "password", worker.account_.password.toUtf8());
  xmpp_stanza_add_child(iq, query);
  xmpp_stanza_release(query);
  xmpp_id_handler_add(conn, &XmppWorker::OnRegisterAnswer, "vexa-register", self);
  xmpp_send(conn, iq);
  xmpp_stanza_release(iq);
  return 0;
}

int XmppWorker::OnProceed(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self) {
  auto& worker = *static_cast<XmppWorker*>(self);
  if (Text(xmpp_stanza_get_name(stanza)) != u"proceed" || xmpp_conn_tls_start(conn) != 0) {
    // A certificate the CA did not sign, or for another name, ends here.
    worker.Fail(worker.TlsFailure(QStringLiteral("TLS with the lobby server failed")));
    return 0;
  }
  xmpp_conn_open_stream_default(conn);
  return 0;
}

int XmppWorker::OnRegisterAnswer(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self) {
  auto& worker = *static_cast<XmppWorker*>(self);
  const QString type = Text(xmpp_stanza_get_type(stanza));
  // An account that exists already: its password is checked by the login.
  if (type == u"result" || ErrorCondition(stanza) == u"conflict") {
    worker.registered_ = true;
    xmpp_disconnect(conn);
  } else {
    worker.Fail(QStringLiteral("the lobby server refused the account: ") + ErrorCondition(stanza));
  }
  return 0;
}

// --- Logged in, in the room (XEP-0045) ----------------------------------------

void XmppWorker::StartLogin() {
  conn_ = NewConnection();
  if (!account_.anonymous) xmpp_conn_set_pass(conn_, account_.password.toUtf8().constData());
  // The lobby's server is the host connected to, whatever domain is logged in at.
  const QByteArray server = account_.server.toUtf8();
  if (xmpp_connect_client(conn_, server.constData(), static_cast<unsigned short>(account_.port),
                          &XmppWorker::OnLoginEvent, this) != XMPP_EOK) {
    Fail(QStringLiteral("cannot reach the lobby server ") + account_.server);
  }
}

void XmppWorker::OnLoginEvent(xmpp_conn_t* conn, xmpp_conn_event_t event, int, xmpp_stream_error_t*,
                              void* self) {
  auto& worker = *static_cast<XmppWorker*>(self);
  if (event != XMPP_CONN_RAW_CONNECT) worker.EndLoginTurn();
  if (event == XMPP_CONN_CONNECT) {
    worker.logged_in_ = true;
    xmpp_handler_add(conn, &XmppWorker::OnPresence, nullptr, "presence", nullptr, self);
    xmpp_handler_add(conn, &XmppWorker::OnMessage, nullptr, "message", nullptr, self);
    worker.SendRoomPresence(true);
  } else if (event != XMPP_CONN_RAW_CONNECT) {
    QString reason;
    if (!worker.certificate_error_.isEmpty()) {
      reason = worker.TlsFailure(QString());
    } else if (worker.logged_in_) {
      reason = QStringLiteral("the connection to the lobby server ended");
    } else if (worker.account_.anonymous) {
      reason = QStringLiteral("cannot log in anonymously to the lobby server ") +
               worker.account_.server + QStringLiteral(" at ") + worker.account_.LoginJid() +
               QStringLiteral(" (does it allow it? is its certificate trusted?)");
    } else {
      reason = QStringLiteral("cannot log in to the lobby server ") + worker.account_.server +
               QStringLiteral(" (wrong password or untrusted certificate?)");
    }
    worker.Fail(reason);
  }
}

void XmppWorker::SendRoomPresence(bool entering) {
  if (!conn_ || !logged_in_) return;
  xmpp_stanza_t* presence = xmpp_presence_new(ctx_);
  xmpp_stanza_set_to(presence, (room_ + '/' + nick_).constData());
  if (entering) {
    // No history: old lines of strangers are not this visit's chat.
    xmpp_stanza_t* x = xmpp_stanza_new(ctx_);
    xmpp_stanza_set_name(x, "x");
    xmpp_stanza_set_ns(x, kMucNamespace);
    xmpp_stanza_t* history = xmpp_stanza_new(ctx_);
    xmpp_stanza_set_name(history, "history");
    xmpp_stanza_set_attribute(history, "maxstanzas", "0");
    xmpp_stanza_add_child(x, history);
    xmpp_stanza_release(history);
    xmpp_stanza_add_child(presence, x);
    xmpp_stanza_release(x);
  }
  if (!payload_.isEmpty()) AddXmlChild(ctx_, presence, payload_);
  xmpp_send(conn_, presence);
  xmpp_stanza_release(presence);
}

QString XmppWorker::RoomNick(xmpp_stanza_t* stanza) const {
  const QString from = Text(xmpp_stanza_get_from(stanza));
  const qsizetype slash = from.indexOf(u'/');
  if (slash < 0) return {};
  if (from.left(slash).compare(QString::fromUtf8(room_), Qt::CaseInsensitive) != 0) return {};
  const QString nick = from.mid(slash + 1);
  return IsAcceptableNick(nick) ? nick : QString();
}

int XmppWorker::OnPresence(xmpp_conn_t*, xmpp_stanza_t* stanza, void* self) {
  auto& worker = *static_cast<XmppWorker*>(self);
  const QString type = Text(xmpp_stanza_get_type(stanza));
  const QString nick = worker.RoomNick(stanza);
  if (type == u"error") {
    // The room refused this player (a name in use, a members-only room).
    const QString from = Text(xmpp_stanza_get_from(stanza));
    if (!worker.in_room_ && from.startsWith(QString::fromUtf8(worker.room_), Qt::CaseInsensitive)) {
      worker.Fail(QStringLiteral("cannot enter the lobby room: ") + ErrorCondition(stanza));
    }
    return 1;
  }
  if (nick.isEmpty()) return 1;
  if (type == u"unavailable") {
    emit worker.Absence(nick);
    return 1;
  }
  if (!type.isEmpty()) return 1;
  QString payload;
  if (xmpp_stanza_t* game = xmpp_stanza_get_child_by_name_and_ns(stanza, "game", kLobbyNamespace)) {
    char* buffer = nullptr;
    size_t length = 0;
    if (xmpp_stanza_to_text(game, &buffer, &length) == XMPP_EOK) {
      if (static_cast<qsizetype>(length) <= kMaxPayloadBytes) {
        payload = QString::fromUtf8(buffer, static_cast<qsizetype>(length));
      }
      xmpp_free(worker.ctx_, buffer);
    }
  }
  emit worker.Presence(nick, payload);
  // The room echoes this player's own presence last: the list is whole.
  if (!worker.in_room_ && nick == QString::fromUtf8(worker.nick_)) {
    worker.in_room_ = true;
    emit worker.Entered(Text(xmpp_conn_get_bound_jid(worker.conn_)));
    // Where the relay is, should a direct connection fail later.
    xmpp_stanza_t* iq = xmpp_iq_new(worker.ctx_, "get", "vexa-proxy");
    xmpp_stanza_set_to(iq, worker.proxy_.constData());
    xmpp_stanza_t* query = xmpp_stanza_new(worker.ctx_);
    xmpp_stanza_set_name(query, "query");
    xmpp_stanza_set_ns(query, kBytestreamsNamespace);
    xmpp_stanza_add_child(iq, query);
    xmpp_stanza_release(query);
    xmpp_id_handler_add(worker.conn_, &XmppWorker::OnProxyAnswer, "vexa-proxy", self);
    xmpp_send(worker.conn_, iq);
    xmpp_stanza_release(iq);
  }
  return 1;
}

int XmppWorker::OnMessage(xmpp_conn_t*, xmpp_stanza_t* stanza, void* self) {
  auto& worker = *static_cast<XmppWorker*>(self);
  const QString nick = worker.RoomNick(stanza);
  if (nick.isEmpty()) return 1;
  const QString type = Text(xmpp_stanza_get_type(stanza));
  if (type == u"groupchat") {
    if (xmpp_stanza_get_child_by_ns(stanza, kDelayNamespace)) return 1;
    char* body = xmpp_message_get_body(stanza);
    if (!body) return 1;
    const QString text = QString::fromUtf8(body);
    xmpp_free(worker.ctx_, body);
    if (text.size() <= kMaxChatLength) emit worker.ChatHeard(nick, text);
    return 1;
  }
  if (type != u"chat" && type != u"normal" && !type.isEmpty()) return 1;
  xmpp_stanza_t* payload = xmpp_stanza_get_child_by_ns(stanza, kLobbyNamespace);
  if (!payload) return 1;
  char* buffer = nullptr;
  size_t length = 0;
  if (xmpp_stanza_to_text(payload, &buffer, &length) == XMPP_EOK) {
    if (static_cast<qsizetype>(length) <= kMaxPayloadBytes) {
      emit worker.PrivateHeard(nick, QString::fromUtf8(buffer, static_cast<qsizetype>(length)));
    }
    xmpp_free(worker.ctx_, buffer);
  }
  return 1;
}

int XmppWorker::OnProxyAnswer(xmpp_conn_t*, xmpp_stanza_t* stanza, void* self) {
  auto& worker = *static_cast<XmppWorker*>(self);
  if (Text(xmpp_stanza_get_type(stanza)) != u"result") return 0;
  xmpp_stanza_t* query = xmpp_stanza_get_child_by_ns(stanza, kBytestreamsNamespace);
  xmpp_stanza_t* host = query ? xmpp_stanza_get_child_by_name(query, "streamhost") : nullptr;
  if (!host) return 0;
  const QString jid = Text(xmpp_stanza_get_attribute(host, "jid"));
  const QString address = Text(xmpp_stanza_get_attribute(host, "host"));
  bool ok = false;
  const int port = Text(xmpp_stanza_get_attribute(host, "port")).toInt(&ok);
  if (ok && port > 0 && port < 65536 && !address.isEmpty() && address.size() <= 255) {
    emit worker.RelayFound(jid, address, port);
  }
  return 0;
}

void XmppWorker::ActivateRelay(const QString& sid, const QString& target) {
  if (!in_room_) {
    emit RelayActivated(sid, false);
    return;
  }
  const QByteArray id = kActivatePrefix + sid.toUtf8();
  xmpp_stanza_t* iq = xmpp_iq_new(ctx_, "set", id.constData());
  xmpp_stanza_set_to(iq, proxy_.constData());
  xmpp_stanza_t* query = xmpp_stanza_new(ctx_);
  xmpp_stanza_set_name(query, "query");
  xmpp_stanza_set_ns(query, kBytestreamsNamespace);
  xmpp_stanza_set_attribute(query, "sid", sid.toUtf8().constData());
  AddTextChild(ctx_, query, "activate", target.toUtf8());
  xmpp_stanza_add_child(iq, query);
  xmpp_stanza_release(query);
  xmpp_id_handler_add(conn_, &XmppWorker::OnActivateAnswer, id.constData(), this);
  xmpp_send(conn_, iq);
  xmpp_stanza_release(iq);
}

int XmppWorker::OnActivateAnswer(xmpp_conn_t*, xmpp_stanza_t* stanza, void* self) {
  auto& worker = *static_cast<XmppWorker*>(self);
  const QString sid = Text(xmpp_stanza_get_id(stanza)).mid(int(std::strlen(kActivatePrefix)));
  emit worker.RelayActivated(sid, Text(xmpp_stanza_get_type(stanza)) == u"result");
  return 0;
}

// --- Requests -----------------------------------------------------------------

void XmppWorker::SetPresencePayload(const QString& xml) {
  payload_ = xml;
  if (in_room_) SendRoomPresence(false);
}

void XmppWorker::SendChat(const QString& text) {
  if (!in_room_) return;
  xmpp_stanza_t* message = xmpp_message_new(ctx_, "groupchat", room_.constData(), nullptr);
  xmpp_message_set_body(message, text.toUtf8().constData());
  xmpp_send(conn_, message);
  xmpp_stanza_release(message);
}

void XmppWorker::SendPrivate(const QString& nick, const QString& xml) {
  if (!in_room_) return;
  const QByteArray to = room_ + '/' + nick.toUtf8();
  xmpp_stanza_t* message = xmpp_message_new(ctx_, "chat", to.constData(), nullptr);
  if (AddXmlChild(ctx_, message, xml)) xmpp_send(conn_, message);
  xmpp_stanza_release(message);
}

}  // namespace vexa::lobby
