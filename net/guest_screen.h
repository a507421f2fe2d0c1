#pragma once

// The host's waiting room. A listening port that a router forwards is open
// to the whole internet, and scanners knock within minutes: a connection
// becomes the opponent only once its first message, a well-formed "Name ...",
// has arrived. Until then it waits here, with the chat connections that came
// in meanwhile. One that sends anything else first, closes, or says nothing
// within the wait is dropped without a word; many at once never keep a real
// guest out, because each is judged on its own bytes.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>

class QTcpSocket;
class QTimer;

namespace vexa::net {

// What the first bytes of a connection say so far.
enum class FirstWords { Incomplete, Name, Other };
// "Name " and at least one character of the name: a guest. A start of that
// ("Na") may still become one. Anything else never will.
FirstWords JudgeFirstWords(const QByteArray& bytes);

class GuestScreen : public QObject {
  Q_OBJECT
 public:
  static constexpr int kDefaultWaitMs = 10000;
  // Beyond this many waiting connections the oldest goes first: memory stays
  // bounded under a flood, and a guest who just came is never the one cut.
  static constexpr int kMaxWaiting = 64;

  explicit GuestScreen(QObject* parent = nullptr);
  ~GuestScreen() override;

  void SetWaitMs(int milliseconds) { wait_ms_ = milliseconds; }

  // Both take the connection over; it waits for its first message (the game
  // port) or for the game connection it belongs with (the chat port).
  void AddGameConnection(QTcpSocket* socket);
  void AddChatConnection(QTcpSocket* socket);
  // A game stream and its chat stream through the relay: the pair waits on
  // the game stream's first message and goes (or is handed over) whole.
  void AddRelayedPair(QTcpSocket* game, QTcpSocket* chat);
  // The newest waiting chat connection from `address`, handed over (parent
  // unset), or null.
  QTcpSocket* TakeChatConnection(const QHostAddress& address);
  // Drops every waiting connection.
  void Clear();
  int WaitingCount() const { return static_cast<int>(waiting_.size()); }

 signals:
  // A game connection told its name. The receiver owns `socket` (parent
  // unset) and `chat`, its relayed chat stream or null; its bytes are still
  // unread.
  void GuestNamed(QTcpSocket* socket, QTcpSocket* chat);

 private:
  struct Waiting {
    QTcpSocket* socket;
    QTimer* timer;
    bool game;
    QTcpSocket* relayed_chat;
  };
  void Add(QTcpSocket* socket, bool game, QTcpSocket* relayed_chat);
  void Judge(QTcpSocket* socket);
  void Drop(QTcpSocket* socket);
  // The waiting socket handed over; its relayed chat, if any, in `chat`.
  QTcpSocket* Release(qsizetype index, QTcpSocket** chat = nullptr);

  int wait_ms_ = kDefaultWaitMs;
  QList<Waiting> waiting_;  // oldest first
};

}  // namespace vexa::net
