// Kills a program that saves the records file in a loop, with SIGKILL at
// random moments, and checks after each kill that the file is one complete
// version: never empty, never cut, never older than one seen before.
//
//   records_kill_test [--rounds N] [--seed S] [--max-ms MS]
//
// Each round starts this program again as the saver (--save PATH). The saver
// reads the version the file holds and writes the next ones, each a whole
// records file whose counters are the version number, through
// SaveRecordsFile as the program saves. Prints the counts; exit status 1 at
// the first damaged file.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <random>

#include "app/records/records_file.h"

namespace {

using vexa::Records;

Records Version(std::int32_t n) {
  Records records;
  records.PlayerName = "保存テスト, killed";  // quoted, in code page 932
  records.GamesPlayed = n;
  records.Wins = n;
  records.Losses = n;
  return records;
}

// The version the file holds, or -1 when it is not a whole file of ours.
std::int32_t VersionOf(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray bytes = file.readAll();
  Records read;
  if (!vexa::app::ReadRecords(bytes, read)) return -1;
  return bytes == vexa::app::WriteRecords(Version(read.GamesPlayed)) ? read.GamesPlayed : -1;
}

int Save(const QString& path) {
  std::int32_t n = std::max(VersionOf(path), 0);
  std::fputs("saving\n", stdout);
  std::fflush(stdout);
  for (;;) {
    if (!vexa::app::SaveRecordsFile(path, Version(++n))) return 1;
  }
}

int Value(const QStringList& arguments, const QString& name, int fallback) {
  const qsizetype at = arguments.indexOf(name);
  return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() == 3 && arguments[1] == u"--save") return Save(arguments[2]);

  const int rounds = Value(arguments, QStringLiteral("--rounds"), 100);
  const int max_ms = Value(arguments, QStringLiteral("--max-ms"), 30);
  std::mt19937_64 random(static_cast<std::uint64_t>(Value(arguments, QStringLiteral("--seed"), 1)));
  QTemporaryDir folder;
  const QString path = QDir(folder.path()).filePath(QStringLiteral("Config"));
  if (!vexa::app::SaveRecordsFile(path, Version(0))) return 1;

  QElapsedTimer clock;
  clock.start();
  std::int32_t last = 0;
  for (int round = 1; round <= rounds; ++round) {
    QProcess saver;
    saver.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save"), path});
    // The kill comes at a random moment once the saver is writing.
    if (!saver.waitForReadyRead(10000)) {
      std::fprintf(stderr, "round %d: the saver did not start\n", round);
      return 1;
    }
    QThread::usleep(std::uniform_int_distribution<unsigned>(0, max_ms * 1000)(random));
    saver.kill();
    saver.waitForFinished(10000);
    const std::int32_t version = VersionOf(path);
    if (version < last) {
      std::fprintf(stderr, "round %d: the file is %s\n", round,
                   version < 0 ? "damaged" : "older than before");
      return 1;
    }
    last = version;
  }
  // What killed saves leave besides the file: their unfinished temporary
  // files.
  const int leftovers = static_cast<int>(QDir(folder.path()).entryList(QDir::Files).size()) - 1;
  std::printf("%d kills, every file whole, last version %d, %d leftover temporary files, %.1f s\n",
              rounds, last, leftovers, clock.elapsed() / 1000.0);
  return 0;
}
