#pragma once

// Callers that are no guest, as a port forwarded from the internet meets
// them: scanners that say nothing, speak HTTP or send noise, many at once,
// and one slow caller that trickles a name. The tests of the window's host
// and of vexa-bot's host run the same knocks against it.

#include <QByteArray>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <memory>
#include <ostream>
#include <vector>

namespace vexa::net::testing {

enum class Knock { Silent, Http, Binary, SixteenSilent, SlowName };

inline std::ostream& operator<<(std::ostream& out, Knock knock) {
  constexpr const char* kNames[] = {"Silent", "Http", "Binary", "SixteenSilent", "SlowName"};
  return out << kNames[static_cast<int>(knock)];
}

// How long the host may wait for a first message in each knock: short where
// the test waits for the silent caller to be dropped, the program's own
// 10 s where the guest must get in while the callers are still waiting.
inline int GuestWaitFor(Knock knock) {
  return knock == Knock::Silent ? 300 : 10000;
}

// The slow caller's "Na", then "me X" this much later: slow, but within
// the host's wait.
constexpr int kTrickleMs = 1500;

class KnockingCallers {
 public:
  KnockingCallers(Knock knock, int game_port) {
    const int game_callers = knock == Knock::SixteenSilent ? 16 : 1;
    for (int i = 0; i < game_callers; ++i)
      Call(game_port);
    // Scanners knock on the chat port too, from the guest's own address:
    // the guest's chat must still be the one paired with its game.
    if (knock == Knock::SixteenSilent) {
      for (int i = 0; i < 4; ++i)
        Call(game_port + 1);
    }
    QTcpSocket* first = callers_.front()->socket.get();
    switch (knock) {
      case Knock::Http:
        Send(first, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: scan\r\n\r\n");
        break;
      case Knock::Binary: {
        QByteArray noise(1024, '\0');
        for (int i = 0; i < noise.size(); ++i)
          noise[i] = static_cast<char>((i * 37 + 11) % 256);
        Send(first, noise);
        break;
      }
      case Knock::SlowName:
        Send(first, "Na");
        QTimer::singleShot(kTrickleMs, first, [this, first] { Send(first, "me X"); });
        break;
      default:
        break;
    }
  }

  int Count() const { return static_cast<int>(callers_.size()); }
  bool Connected() const {
    for (const auto& c : callers_) {
      if (c->socket->state() != QAbstractSocket::ConnectedState && !c->closed) return false;
    }
    return true;
  }
  // The host has closed every caller.
  bool AllClosed() const {
    for (const auto& c : callers_) {
      if (!c->closed) return false;
    }
    return true;
  }
  // What the host sent to all the callers together.
  QByteArray Heard() const {
    QByteArray all;
    for (const auto& c : callers_)
      all += c->heard;
    return all;
  }
  QTcpSocket* First() const { return callers_.front()->socket.get(); }

 private:
  struct Caller {
    std::unique_ptr<QTcpSocket> socket = std::make_unique<QTcpSocket>();
    QByteArray heard;
    bool closed = false;
  };

  void Call(int port) {
    auto caller = std::make_unique<Caller>();
    Caller* c = caller.get();
    QObject::connect(c->socket.get(), &QIODevice::readyRead, c->socket.get(),
                     [c] { c->heard += c->socket->readAll(); });
    QObject::connect(c->socket.get(), &QAbstractSocket::disconnected, c->socket.get(),
                     [c] { c->closed = true; });
    QObject::connect(c->socket.get(), &QAbstractSocket::errorOccurred, c->socket.get(),
                     [c] { c->closed = true; });
    c->socket->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    callers_.push_back(std::move(caller));
  }

  // Written once the connection is up, as one send.
  static void Send(QTcpSocket* socket, const QByteArray& bytes) { socket->write(bytes); }

  std::vector<std::unique_ptr<Caller>> callers_;
};

}  // namespace vexa::net::testing
