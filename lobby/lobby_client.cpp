#include "lobby/lobby_client.h"

#include "lobby/xmpp_worker.h"

namespace vexa::lobby {

namespace {

// libstrophe's own connect timeout is about 5 s; leaving takes at most half
// a second. Past this the worker is left to end on its own.
constexpr int kThreadEndMs = 8000;

}  // namespace

LobbyClient::LobbyClient(QObject* parent) : QObject(parent) {
  qRegisterMetaType<vexa::lobby::GameAnnouncement>();
  qRegisterMetaType<vexa::lobby::JoinRequest>();
  qRegisterMetaType<vexa::lobby::Invitation>();
}

LobbyClient::~LobbyClient() {
  Stop();
}

void LobbyClient::Start(const LobbyAccount& account) {
  Stop();
  own_nick_ = account.Nick();
  worker_ = std::make_unique<XmppWorker>(account);
  XmppWorker* worker = worker_.get();
  // Queued: the worker emits from its own thread.
  connect(worker, &XmppWorker::Entered, this, [this](const QString& own_jid) {
    in_room_ = true;
    own_jid_ = own_jid;
    emit Entered();
  });
  connect(worker, &XmppWorker::Failed, this, [this](const QString& reason) {
    in_room_ = false;
    emit Failed(reason);
  });
  connect(worker, &XmppWorker::Presence, this, &LobbyClient::OnPresence);
  connect(worker, &XmppWorker::Absence, this, &LobbyClient::OnAbsence);
  connect(worker, &XmppWorker::ChatHeard, this, &LobbyClient::ChatHeard);
  connect(worker, &XmppWorker::PrivateHeard, this, &LobbyClient::OnPrivate);
  connect(worker, &XmppWorker::RelayFound, this,
          [this](const QString& jid, const QString& host, int port) {
            relay_ = StreamHost{jid, host, port};
          });
  connect(worker, &XmppWorker::RelayActivated, this, &LobbyClient::RelayActivated);
  thread_ = QThread::create([worker] { worker->Run(); });
  thread_->start();
}

void LobbyClient::Stop() {
  if (!worker_) return;
  worker_->Quit();
  // Nothing the worker still says belongs to this visit.
  disconnect(worker_.get(), nullptr, this, nullptr);
  if (thread_ && !thread_->wait(kThreadEndMs)) {
    // A worker stuck in a name lookup or a handshake: it owns itself now
    // and ends when libstrophe gives up.
    XmppWorker* stuck = worker_.release();
    connect(thread_, &QThread::finished, thread_, [stuck] { delete stuck; });
    connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
  } else {
    delete thread_;
    worker_.reset();
  }
  thread_ = nullptr;
  worker_.reset();
  in_room_ = false;
  own_jid_.clear();
  relay_.reset();
  const bool had_occupants = !occupants_.isEmpty();
  for (auto it = occupants_.cbegin(); it != occupants_.cend(); ++it) {
    if (it.value()) emit GameClosed(it.key());
  }
  occupants_.clear();
  if (had_occupants) emit PlayersChanged();
}

void LobbyClient::Announce(const std::optional<GameAnnouncement>& game) {
  if (!worker_) return;
  const QString xml = game ? WriteGameAnnouncement(*game) : QString();
  worker_->Post([xml](XmppWorker& worker) { worker.SetPresencePayload(xml); });
}

void LobbyClient::SendChat(const QString& text) {
  if (!worker_ || text.isEmpty()) return;
  worker_->Post([text](XmppWorker& worker) { worker.SendChat(text); });
}

void LobbyClient::RequestJoin(const QString& host_nick) {
  if (!worker_) return;
  const QString xml = WriteJoinRequest(JoinRequest{QStringLiteral(VEXA_VERSION), own_jid_});
  worker_->Post([host_nick, xml](XmppWorker& worker) { worker.SendPrivate(host_nick, xml); });
}

void LobbyClient::Invite(const QString& guest_nick, Invitation invitation) {
  if (!worker_) return;
  invitation.jid = own_jid_;
  const QString xml = WriteInvitation(invitation);
  worker_->Post([guest_nick, xml](XmppWorker& worker) { worker.SendPrivate(guest_nick, xml); });
}

void LobbyClient::RequestRelay(const QString& host_nick, const QString& sid) {
  if (!worker_) return;
  const QString xml = WriteRelayRequest({sid});
  worker_->Post([host_nick, xml](XmppWorker& worker) { worker.SendPrivate(host_nick, xml); });
}

void LobbyClient::TellRelayReady(const QString& guest_nick, const QString& sid) {
  if (!worker_) return;
  const QString xml = WriteRelayReady({sid});
  worker_->Post([guest_nick, xml](XmppWorker& worker) { worker.SendPrivate(guest_nick, xml); });
}

void LobbyClient::ActivateRelay(const QString& sid, const QString& target_jid) {
  if (!worker_) return;
  worker_->Post([sid, target_jid](XmppWorker& worker) { worker.ActivateRelay(sid, target_jid); });
}

QMap<QString, GameAnnouncement> LobbyClient::OpenGames() const {
  QMap<QString, GameAnnouncement> games;
  for (auto it = occupants_.cbegin(); it != occupants_.cend(); ++it) {
    if (it.value() && it.key() != own_nick_) games.insert(it.key(), *it.value());
  }
  return games;
}

void LobbyClient::OnPresence(const QString& nick, const QString& payload) {
  const bool known = occupants_.contains(nick);
  if (!known && occupants_.size() >= kMaxOccupants) return;
  // A payload that does not read is no game: the occupant stays listed.
  std::optional<GameAnnouncement> game;
  if (!payload.isEmpty()) {
    game = ReadGameAnnouncement(payload, QDateTime::currentSecsSinceEpoch());
  }
  std::optional<GameAnnouncement>& entry = occupants_[nick];
  const bool had_game = entry.has_value();
  const bool changed = entry != game;
  entry = game;
  if (!known) emit PlayersChanged();
  if (!changed || nick == own_nick_) return;
  if (game) {
    emit GameOpened(nick, *game);
  } else if (had_game) {
    emit GameClosed(nick);
  }
}

void LobbyClient::OnAbsence(const QString& nick) {
  const auto it = occupants_.find(nick);
  if (it == occupants_.end()) return;
  const bool had_game = it.value().has_value();
  occupants_.erase(it);
  if (had_game && nick != own_nick_) emit GameClosed(nick);
  emit PlayersChanged();
}

void LobbyClient::OnPrivate(const QString& nick, const QString& xml) {
  if (const auto request = ReadJoinRequest(xml)) {
    emit JoinRequested(nick, *request);
  } else if (const auto invitation = ReadInvitation(xml)) {
    emit Invited(nick, *invitation);
  } else if (const auto relay = ReadRelayRequest(xml)) {
    emit RelayRequested(nick, relay->sid);
  } else if (const auto ready = ReadRelayReady(xml)) {
    emit RelayReadied(nick, ready->sid);
  }
}

}  // namespace vexa::lobby
