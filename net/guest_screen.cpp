#include "net/guest_screen.h"

#include <QTcpSocket>
#include <QTimer>

namespace vexa::net {
namespace {

const QByteArray kNamePrefix = QByteArrayLiteral("Name ");

}  // namespace

FirstWords JudgeFirstWords(const QByteArray& bytes) {
  if (bytes.size() <= kNamePrefix.size()) {
    return kNamePrefix.startsWith(bytes) ? FirstWords::Incomplete : FirstWords::Other;
  }
  return bytes.startsWith(kNamePrefix) ? FirstWords::Name : FirstWords::Other;
}

GuestScreen::GuestScreen(QObject* parent) : QObject(parent) {}

GuestScreen::~GuestScreen() {
  // The sockets are children and go with this object; keep their last
  // signals away from a half-destroyed screen.
  for (const Waiting& w : waiting_)
    w.socket->disconnect(this);
}

void GuestScreen::AddGameConnection(QTcpSocket* socket) {
  Add(socket, true, nullptr);
}

void GuestScreen::AddChatConnection(QTcpSocket* socket) {
  Add(socket, false, nullptr);
}

void GuestScreen::AddRelayedPair(QTcpSocket* game, QTcpSocket* chat) {
  chat->setParent(this);
  chat->setReadBufferSize(256);
  Add(game, true, chat);
}

void GuestScreen::Add(QTcpSocket* socket, bool game, QTcpSocket* relayed_chat) {
  if (waiting_.size() >= kMaxWaiting) Drop(waiting_.front().socket);
  socket->setParent(this);
  // A first message is short; what a scanner sends beyond that is never read.
  socket->setReadBufferSize(256);
  auto* timer = new QTimer(socket);
  timer->setSingleShot(true);
  connect(timer, &QTimer::timeout, this, [this, socket] { Drop(socket); });
  timer->start(wait_ms_);
  waiting_.append({socket, timer, game, relayed_chat});
  connect(socket, &QAbstractSocket::disconnected, this, [this, socket] { Drop(socket); });
  connect(socket, &QAbstractSocket::errorOccurred, this, [this, socket] { Drop(socket); });
  if (game) {
    connect(socket, &QIODevice::readyRead, this, [this, socket] { Judge(socket); });
    Judge(socket);  // bytes that came with the connection
  }
}

void GuestScreen::Judge(QTcpSocket* socket) {
  // Peeked, not read: the session gets the guest's bytes as they came.
  switch (JudgeFirstWords(socket->peek(kNamePrefix.size() + 1))) {
    case FirstWords::Incomplete:
      return;
    case FirstWords::Other:
      Drop(socket);
      return;
    case FirstWords::Name:
      break;
  }
  for (qsizetype i = 0; i < waiting_.size(); ++i) {
    if (waiting_[i].socket != socket) continue;
    QTcpSocket* chat = nullptr;
    QTcpSocket* named = Release(i, &chat);
    emit GuestNamed(named, chat);
    return;
  }
}

QTcpSocket* GuestScreen::TakeChatConnection(const QHostAddress& address) {
  for (qsizetype i = waiting_.size() - 1; i >= 0; --i) {
    const Waiting& w = waiting_[i];
    if (!w.game && w.socket->peerAddress().isEqual(address, QHostAddress::TolerantConversion)) {
      return Release(i);
    }
  }
  return nullptr;
}

QTcpSocket* GuestScreen::Release(qsizetype index, QTcpSocket** chat) {
  const Waiting w = waiting_.takeAt(index);
  delete w.timer;
  if (w.relayed_chat) {
    w.relayed_chat->setParent(nullptr);
    w.relayed_chat->setReadBufferSize(0);
    *chat = w.relayed_chat;
  }
  w.socket->disconnect(this);
  w.socket->setParent(nullptr);
  w.socket->setReadBufferSize(0);  // the new owner sets its own bound
  return w.socket;
}

void GuestScreen::Drop(QTcpSocket* socket) {
  for (qsizetype i = 0; i < waiting_.size(); ++i) {
    if (waiting_[i].socket != socket) continue;
    if (QTcpSocket* chat = waiting_[i].relayed_chat) {
      chat->abort();
      chat->deleteLater();
    }
    waiting_.removeAt(i);
    socket->disconnect(this);
    // abort() may raise the socket's own signals; they reach nobody here.
    socket->abort();
    socket->deleteLater();
    return;
  }
}

void GuestScreen::Clear() {
  while (!waiting_.isEmpty())
    Drop(waiting_.front().socket);
}

}  // namespace vexa::net
