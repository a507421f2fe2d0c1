// meddling-proxy: stands between a guest and a host of the online game on
// 127.0.0.1 and does to the byte stream what TCP may do, more often:
//   - merges adjacent writes (everything that waits when a chunk goes out
//     goes out together);
//   - delays each forwarded chunk by a random 0..MAX ms, order kept;
//   - on the game connection, splits a chunk where the receiver can still
//     put the pieces together: inside a keyword, or between a keyword and
//     its argument, and only where no text argument ("Name", "LimS") comes
//     just before (the receiver would take the piece for more text);
//   - with --cut-after-ms, cuts every connection at that moment.
//
//   meddling-proxy --listen P --to PORT [--seed N] [--max-delay-ms MAX]
//                  [--cut-after-ms T]
//
// The game connection is P -> PORT, the chat connection P+1 -> PORT+1, both
// on 127.0.0.1. It serves one guest, then prints what it forwarded on
// standard error and exits.

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <random>
#include <utility>

#include "net/game_message.h"

namespace {

struct Figures {
  qint64 bytes = 0;
  int reads = 0;
  int chunks = 0;
  int merged = 0;  // chunks made of more than one read
  int splits = 0;
};

// One direction of one connection.
class Pipe : public QObject {
 public:
  Pipe(QTcpSocket* from, QTcpSocket* to, bool game, std::mt19937_64& random, int max_delay_ms,
       Figures& figures)
      : from_(from),
        to_(to),
        game_(game),
        random_(random),
        max_delay_ms_(max_delay_ms),
        figures_(figures) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Forward(); });
    connect(from_, &QTcpSocket::readyRead, this, [this] { Read(); });
    connect(from_, &QTcpSocket::disconnected, this, [this] {
      source_closed_ = true;
      Schedule();
    });
    connect(to_, &QTcpSocket::connected, this, [this] { Schedule(); });
  }

  bool Done() const { return done_; }
  void Read() {
    const QByteArray bytes = from_->readAll();
    if (bytes.isEmpty()) return;
    ++figures_.reads;
    ++reads_waiting_;
    waiting_ += bytes;
    Schedule();
  }

 private:
  void Schedule() {
    if (!timer_.isActive()) timer_.start(Draw(0, max_delay_ms_));
  }
  int Draw(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  void Forward() {
    if (to_->state() != QAbstractSocket::ConnectedState) {
      if (to_->state() == QAbstractSocket::UnconnectedState && source_closed_) done_ = true;
      return;  // its connected() schedules again
    }
    if (pieces_.empty() && !waiting_.isEmpty()) {
      if (reads_waiting_ > 1) ++figures_.merged;
      reads_waiting_ = 0;
      Cut(waiting_);
      waiting_.clear();
    }
    if (!pieces_.empty()) {
      to_->write(pieces_.front());
      to_->flush();
      figures_.bytes += pieces_.front().size();
      ++figures_.chunks;
      pieces_.pop_front();
    }
    if (!pieces_.empty() || !waiting_.isEmpty()) {
      timer_.start(Draw(0, max_delay_ms_));
    } else if (source_closed_) {
      // The end of the stream comes after its last byte.
      to_->disconnectFromHost();
      done_ = true;
    }
  }

  // Splits a chunk of the game connection at safe places, 0 to 2 of them.
  void Cut(const QByteArray& chunk) {
    std::vector<qsizetype> candidates;
    bool ascii = true;
    for (const char c : chunk)
      ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (game_ && ascii) {
      const vexa::net::SplitRead split = vexa::net::SplitMessages(QString::fromLatin1(chunk));
      if (split.ignored.isEmpty() && split.incomplete.isEmpty()) {
        qsizetype start = 0;
        for (const QString& message : split.messages) {
          const vexa::net::Keyword keyword = vexa::net::ParseMessage(message).keyword;
          if (!after_text_) {
            for (qsizetype at = 1; at <= 4 && at < message.size(); ++at)
              candidates.push_back(start + at);
            if (message.size() > 5) candidates.push_back(start + 5);
          }
          after_text_ = keyword == vexa::net::Keyword::Name || keyword == vexa::net::Keyword::LimS;
          start += message.size();
        }
      }
    }
    std::vector<qsizetype> cuts;
    const int count = candidates.empty() ? 0 : Draw(0, 2);
    for (int i = 0; i < count; ++i)
      cuts.push_back(candidates[Draw(0, static_cast<int>(candidates.size()) - 1)]);
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    qsizetype from = 0;
    for (const qsizetype cut : cuts) {
      pieces_.push_back(chunk.mid(from, cut - from));
      from = cut;
      ++figures_.splits;
    }
    pieces_.push_back(chunk.mid(from));
  }

  QTcpSocket* from_;
  QTcpSocket* to_;
  bool game_;
  std::mt19937_64& random_;
  int max_delay_ms_;
  Figures& figures_;
  QTimer timer_;
  QByteArray waiting_;
  int reads_waiting_ = 0;
  std::deque<QByteArray> pieces_;
  bool after_text_ = false;
  bool source_closed_ = false;
  bool done_ = false;
};

struct Options {
  int listen = 0;
  int to = 0;
  std::uint64_t seed = 1;
  int max_delay_ms = 30;
  int cut_after_ms = -1;
};

class Proxy : public QObject {
 public:
  explicit Proxy(const Options& options) : options_(options), random_(options.seed) {}

  bool Listen() {
    for (int i = 0; i < 2; ++i) {
      if (!servers_[i].listen(QHostAddress::LocalHost, static_cast<quint16>(options_.listen + i))) {
        return false;
      }
      connect(&servers_[i], &QTcpServer::newConnection, this, [this, i] { Accept(i); });
    }
    return true;
  }

  void Report(const char* how) {
    std::fprintf(stderr,
                 "meddling-proxy: %s; guest->host %lld bytes, host->guest %lld bytes, "
                 "%d reads, %d chunks, %d merged, %d split points\n",
                 how, static_cast<long long>(up_.bytes), static_cast<long long>(down_.bytes),
                 up_.reads + down_.reads, up_.chunks + down_.chunks, up_.merged + down_.merged,
                 up_.splits + down_.splits);
  }

 private:
  void Accept(int i) {
    QTcpSocket* guest = servers_[i].nextPendingConnection();
    if (!guest || guests_[i]) {
      if (guest) guest->abort();
      return;
    }
    servers_[i].close();  // one guest, as the host accepts one
    guests_[i] = guest;
    hosts_[i] = new QTcpSocket(this);
    for (QTcpSocket* s : {guest, hosts_[i]})
      s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    const bool game = i == 0;
    pipes_.push_back(new Pipe(guest, hosts_[i], game, random_, options_.max_delay_ms, up_));
    pipes_.push_back(new Pipe(hosts_[i], guest, game, random_, options_.max_delay_ms, down_));
    for (QTcpSocket* s : {guest, hosts_[i]})
      connect(s, &QTcpSocket::disconnected, this, [this] { CheckDone(); });
    connect(hosts_[i], &QTcpSocket::errorOccurred, this, [this, i] {
      // The host is not there: the guest is turned away.
      if (hosts_[i]->state() == QAbstractSocket::UnconnectedState) guests_[i]->disconnectFromHost();
      CheckDone();
    });
    if (game && options_.cut_after_ms >= 0) {
      connect(hosts_[i], &QTcpSocket::connected, this,
              [this] { QTimer::singleShot(options_.cut_after_ms, this, [this] { Cut(); }); });
    }
    hosts_[i]->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(options_.to + i));
  }

  void Cut() {
    if (std::exchange(finished_, true)) return;
    Report("cut");
    for (QTcpSocket* s : {guests_[0], guests_[1], hosts_[0], hosts_[1]}) {
      if (s) s->abort();
    }
    QCoreApplication::exit(0);
  }

  // Once the game connection has closed on both ends, the chat goes too.
  void CheckDone() {
    if (!guests_[0] || guests_[0]->state() != QAbstractSocket::UnconnectedState ||
        hosts_[0]->state() != QAbstractSocket::UnconnectedState || finished_) {
      return;
    }
    finished_ = true;
    for (QTcpSocket* s : {guests_[1], hosts_[1]}) {
      if (s) s->disconnectFromHost();
    }
    Report("done");
    QCoreApplication::exit(0);
  }

  Options options_;
  std::mt19937_64 random_;
  QTcpServer servers_[2];
  QTcpSocket* guests_[2] = {nullptr, nullptr};
  QTcpSocket* hosts_[2] = {nullptr, nullptr};
  std::vector<Pipe*> pipes_;
  Figures up_;
  Figures down_;
  bool finished_ = false;
};

bool ParseOptions(const QStringList& arguments, Options& options) {
  for (qsizetype at = 0; at < arguments.size(); at += 2) {
    if (at + 1 >= arguments.size()) return false;
    bool ok = false;
    const long long value = arguments[at + 1].toLongLong(&ok);
    if (!ok || value < 0) return false;
    const QString& name = arguments[at];
    if (name == u"--listen") {
      options.listen = static_cast<int>(value);
    } else if (name == u"--to") {
      options.to = static_cast<int>(value);
    } else if (name == u"--seed") {
      options.seed = static_cast<std::uint64_t>(value);
    } else if (name == u"--max-delay-ms") {
      options.max_delay_ms = static_cast<int>(value);
    } else if (name == u"--cut-after-ms") {
      options.cut_after_ms = static_cast<int>(value);
    } else {
      return false;
    }
  }
  return options.listen > 0 && options.listen < 65535 && options.to > 0 && options.to < 65535;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  Options options;
  if (!ParseOptions(QCoreApplication::arguments().mid(1), options)) {
    std::fputs(
        "usage: meddling-proxy --listen P --to PORT [--seed N] [--max-delay-ms MAX] "
        "[--cut-after-ms T]\n",
        stderr);
    return 2;
  }
  Proxy proxy(options);
  if (!proxy.Listen()) {
    std::fprintf(stderr, "meddling-proxy: cannot listen on %d and %d\n", options.listen,
                 options.listen + 1);
    return 1;
  }
  std::fprintf(stderr, "meddling-proxy: listening on %d\n", options.listen);
  return QCoreApplication::exec();
}
