// A crowd in the lobby, for the figures of a busy room (not a test of the
// suite; lobby_namespace_test.sh VEXA_BOT crowd runs it against prosody):
//
//   lobby_crowd SERVER CA_FILE COUNT [PREFIX]
//
// COUNT clients enter, twenty at a time; one of them announces a game and
// the time until every other list shows it is printed; then a quarter of
// the crowd leaves and comes back at once, and each of them must list the
// game again. Throughout, a timer on this thread (the one a window's would
// be) notes the longest gap between its ticks. The nicks are PREFIX (default
// "crowd") and a number, so that several crowds can share a room.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <vector>

#include "lobby/lobby_client.h"

namespace {

using vexa::lobby::GameAnnouncement;
using vexa::lobby::LobbyAccount;
using vexa::lobby::LobbyClient;

constexpr int kBurst = 20;

void Say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

class Crowd : public QObject {
 public:
  Crowd(QString server, QString ca_file, int count, QString prefix)
      : server_(std::move(server)),
        ca_file_(std::move(ca_file)),
        count_(count),
        prefix_(std::move(prefix)) {
    for (int i = 0; i < count_; ++i)
      clients_.push_back(std::make_unique<LobbyClient>());
    for (int i = 0; i < count_; ++i) {
      LobbyClient* client = clients_[i].get();
      connect(client, &LobbyClient::Entered, this, [this] { Entered(); });
      // As a person would: try again a second later.
      connect(client, &LobbyClient::Failed, this, [this, i](const QString& reason) {
        Say(QStringLiteral("FAILED %1 %2; again in 1 s").arg(i).arg(reason));
        ++retries_;
        QTimer::singleShot(1000, this, [this, i] { Start(i); });
      });
      connect(client, &LobbyClient::GameOpened, this, [this, i](const QString& host) {
        if (host == Nick(0)) Seen(i);
      });
    }
    ticks_.setInterval(5);
    connect(&ticks_, &QTimer::timeout, this,
            [this] { max_gap_ = std::max(max_gap_, since_tick_.restart()); });
  }

  void Run() {
    since_start_.start();
    since_tick_.start();
    ticks_.start();
    StartBurst();
  }

 private:
  QString Nick(int i) const { return prefix_ + QStringLiteral("%1").arg(i, 3, 10, QChar(u'0')); }

  void Start(int i) {
    LobbyAccount account;
    account.server = server_;
    account.account = Nick(i);
    account.password = QStringLiteral("pw-") + Nick(i);
    account.ca_file = ca_file_;
    clients_[i]->Start(account);
  }

  void StartBurst() {
    const int end = std::min(started_ + kBurst, count_);
    for (; started_ < end; ++started_)
      Start(started_);
  }

  void Entered() {
    ++entered_;
    if (phase_ == 0) {
      if (entered_ == started_ && started_ < count_) StartBurst();
      if (entered_ < count_) return;
      Say(QStringLiteral("ENTERED %1 in %2 ms, %3 tries again")
              .arg(count_)
              .arg(since_start_.elapsed())
              .arg(retries_));
      phase_ = 1;
      seen_.assign(count_, false);
      seen_count_ = 0;
      since_announce_.start();
      GameAnnouncement game;
      game.version = QStringLiteral("1.2");
      game.opened_at = 0;
      clients_[0]->Announce(game);
      return;
    }
    if (phase_ == 2 && entered_ == count_ / 4) Say(QStringLiteral("REENTERED %1").arg(entered_));
  }

  void Seen(int i) {
    if (seen_[i]) return;
    seen_[i] = true;
    ++seen_count_;
    if (phase_ == 1 && seen_count_ == count_ - 1) {
      Say(QStringLiteral("SEEN_BY_ALL %1 ms").arg(since_announce_.elapsed()));
      Say(QStringLiteral("MAX_GAP %1 ms").arg(max_gap_));
      // A burst of comings and goings: a quarter leaves and comes back.
      phase_ = 2;
      entered_ = 0;
      seen_count_ = 0;
      seen_.assign(count_, false);
      for (int j = 1; j <= count_ / 4; ++j) {
        clients_[j]->Stop();
        Start(j);
      }
      return;
    }
    if (phase_ == 2 && seen_count_ == count_ / 4) {
      // This gap includes the leaving clients' own Stop(), which waits
      // for each to leave: a crowd's artefact, not a window's.
      Say(QStringLiteral("SEEN_AGAIN %1 (max gap with the leavings %2 ms)")
              .arg(seen_count_)
              .arg(max_gap_));
      QCoreApplication::exit(0);
    }
  }

  QString server_;
  QString ca_file_;
  int count_;
  QString prefix_;
  std::vector<std::unique_ptr<LobbyClient>> clients_;
  int started_ = 0;
  int entered_ = 0;
  int phase_ = 0;
  std::vector<bool> seen_;
  int seen_count_ = 0;
  QElapsedTimer since_start_;
  QElapsedTimer since_announce_;
  QElapsedTimer since_tick_;
  QTimer ticks_;
  qint64 max_gap_ = 0;
  int retries_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  if (args.size() != 3 && args.size() != 4) {
    std::fputs("usage: lobby_crowd SERVER CA_FILE COUNT [PREFIX]\n", stderr);
    return 2;
  }
  Crowd crowd(args[0], args[1], args[2].toInt(), args.value(3, QStringLiteral("crowd")));
  crowd.Run();
  QTimer::singleShot(300000, [] {
    Say(QStringLiteral("TIMEOUT"));
    QCoreApplication::exit(1);
  });
  return QCoreApplication::exec();
}
