#pragma once

// The lobby as the window and vexa-bot see it, in their own thread: who is
// in the room, which games are open, the chat, and the private messages of
// a join. The XMPP connection runs in its worker's thread; what it hears
// arrives here queued and is checked here before anyone sees it.

#include <QDateTime>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <memory>
#include <optional>

#include "lobby/lobby_account.h"
#include "lobby/lobby_payload.h"
#include "lobby/socks5_connector.h"

namespace vexa::lobby {

class XmppWorker;

// The most occupants the client keeps: a room flooded beyond it shows the
// first ones.
inline constexpr qsizetype kMaxOccupants = 5000;

class LobbyClient : public QObject {
  Q_OBJECT
 public:
  explicit LobbyClient(QObject* parent = nullptr);
  // Leaves the room and the server (bounded: about half a second at most).
  ~LobbyClient() override;

  // Registers if asked, logs in and enters the room; Entered or Failed
  // follows. A second call leaves first.
  void Start(const LobbyAccount& account);
  void Stop();
  bool InRoom() const { return in_room_; }
  QString OwnNick() const { return own_nick_; }
  // The full address the server bound, once in the room.
  QString OwnJid() const { return own_jid_; }
  // The server's relay, once it has answered.
  std::optional<StreamHost> Relay() const { return relay_; }

  // This player's open game; nothing withdraws it.
  void Announce(const std::optional<GameAnnouncement>& game);
  void SendChat(const QString& text);
  void RequestJoin(const QString& host_nick);
  // The invitation goes with this player's full address.
  void Invite(const QString& guest_nick, Invitation invitation);
  // The relay's steps (see Socks5Connector): the guest asks, the host says
  // its streams wait, the guest activates each stream.
  void RequestRelay(const QString& host_nick, const QString& sid);
  void TellRelayReady(const QString& guest_nick, const QString& sid);
  void ActivateRelay(const QString& sid, const QString& target_jid);

  // The players present, this one included, and the open games of the
  // others, by nick.
  QStringList Players() const { return occupants_.keys(); }
  QMap<QString, GameAnnouncement> OpenGames() const;

 signals:
  void Entered();
  void Failed(const QString& reason);
  void PlayersChanged();
  // A game opened (or changed its settings) or was withdrawn.
  void GameOpened(const QString& host_nick, const vexa::lobby::GameAnnouncement& game);
  void GameClosed(const QString& host_nick);
  void ChatHeard(const QString& nick, const QString& text);
  void JoinRequested(const QString& guest_nick, const vexa::lobby::JoinRequest& request);
  void Invited(const QString& host_nick, const vexa::lobby::Invitation& invitation);
  void RelayRequested(const QString& guest_nick, const QString& sid);
  void RelayReadied(const QString& host_nick, const QString& sid);
  void RelayActivated(const QString& sid, bool ok);

 private:
  void OnPresence(const QString& nick, const QString& payload);
  void OnAbsence(const QString& nick);
  void OnPrivate(const QString& nick, const QString& xml);

  std::unique_ptr<XmppWorker> worker_;
  QPointer<QThread> thread_;
  QString own_nick_;
  QString own_jid_;
  std::optional<StreamHost> relay_;
  bool in_room_ = false;
  // Each occupant with its open game, if any.
  QMap<QString, std::optional<GameAnnouncement>> occupants_;
};

}  // namespace vexa::lobby
