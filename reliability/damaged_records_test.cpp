// Starts the program on damaged records files, one after another, and checks
// each start: no crash, the load message at most once, the main window
// open. Run under AddressSanitizer and UndefinedBehaviorSanitizer it also
// catches reads out of bounds and overflows on the way.
//
//   QT_QPA_PLATFORM=offscreen records_damage_test [--files N] [--seed S]
//
// The damages, in turn: random bytes; NUL bytes in a good file; a long line
// (10 MB every 50th time); code page 932 that is not valid; CR without LF;
// counts beyond 32 bits; a directory named Config; a file that cannot be
// read; a good file cut short; a good file with bytes changed.

#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <random>

#include "app/window/form1.h"
#include "app/dialogs/name_dialogs.h"
#include "reliability/quiet_platform.h"

namespace {

using Random = std::mt19937_64;

constexpr int kKinds = 10;
const QString kLoadMessage = QStringLiteral("設定ファイルの読み込みしに失敗しました");

int Draw(Random& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

QByteArray RandomBytes(Random& random, int size) {
  QByteArray bytes(size, '\0');
  for (char& c : bytes)
    c = static_cast<char>(Draw(random, 0, 255));
  return bytes;
}

QByteArray GoodFile(Random& random) {
  return "Taro\r\n " + QByteArray::number(Draw(random, 0, 1000)) + " \r\n " +
         QByteArray::number(Draw(random, 0, 500)) + " \r\n " +
         QByteArray::number(Draw(random, 0, 500)) + " \r\n";
}

// What lies at ProgramFolder/Config for damage number `index`: a file's
// bytes, or nothing when the damage was made in place.
std::optional<QByteArray> Damage(int index, Random& random, const QString& path,
                                 const char** kind) {
  switch (index % kKinds) {
    case 0:
      *kind = "random bytes";
      return RandomBytes(random, Draw(random, 0, 2000));
    case 1: {
      *kind = "NUL bytes";
      QByteArray bytes = GoodFile(random);
      for (int n = Draw(random, 1, 4); n > 0; --n)
        bytes.insert(Draw(random, 0, static_cast<int>(bytes.size())), '\0');
      return bytes;
    }
    case 2: {
      *kind = "a long line";
      const int size = index % (kKinds * 50) == 2 ? 10 * 1024 * 1024 : Draw(random, 1, 100000);
      return QByteArray(size, static_cast<char>(Draw(random, 'A', 'z'))) +
             "\r\n 1 \r\n 1 \r\n 0 \r\n";
    }
    case 3: {
      *kind = "invalid code page 932";
      // Lead bytes without a valid trail byte, bytes 932 leaves undefined,
      // and a lead byte at the very end.
      static const char* const kBad[] = {"\x81\x7F",     "\x81",   "\xA0",
                                         "\xFD\xFE\xFF", "\x9F\r", "\xEF\x40\x81"};
      QByteArray bytes = GoodFile(random);
      for (int n = Draw(random, 1, 3); n > 0; --n)
        bytes.insert(Draw(random, 0, static_cast<int>(bytes.size())), kBad[Draw(random, 0, 5)]);
      if (Draw(random, 0, 1)) bytes.append('\x82');
      return bytes;
    }
    case 4: {
      *kind = "CR without LF";
      QByteArray bytes = GoodFile(random);
      bytes.replace("\r\n", Draw(random, 0, 1) ? "\r" : "\r\r");
      return bytes;
    }
    case 5: {
      *kind = "counts beyond 32 bits";
      static const char* const kCounts[] = {
          "4294967297", "-4294967297", "2147483648", "-2147483649", "99999999999999999999999999",
          "1e10",       "0x10",        "--1",        "+5",          "9223372036854775808"};
      QByteArray bytes = "Taro\r\n";
      for (int line = 0; line < 3; ++line)
        bytes += " " + QByteArray(kCounts[Draw(random, 0, 9)]) + " \r\n";
      return bytes;
    }
    case 6:
      *kind = "a directory named Config";
      QDir().mkpath(path);
      if (Draw(random, 0, 1)) QDir().mkpath(path + QStringLiteral("/Config"));
      return std::nullopt;
    case 7:
      *kind = "a file that cannot be read";
      if (Draw(random, 0, 1)) {
        // Opens, but every read fails (also for root).
        QFile::link(QStringLiteral("/proc/self/mem"), path);
      } else {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(GoodFile(random));
        file.close();
        ::chmod(QFile::encodeName(path).constData(), 0);
      }
      return std::nullopt;
    case 8: {
      *kind = "a good file cut short";
      const QByteArray bytes = GoodFile(random);
      return bytes.first(Draw(random, 0, static_cast<int>(bytes.size()) - 1));
    }
    default: {
      *kind = "a good file with bytes changed";
      QByteArray bytes = GoodFile(random);
      for (int n = Draw(random, 1, 5); n > 0; --n)
        bytes[Draw(random, 0, static_cast<int>(bytes.size()) - 1)] =
            static_cast<char>(Draw(random, 0, 255));
      return bytes;
    }
  }
}

struct StartSeen {
  bool window_open = false;
  int load_messages = 0;
  int other_messages = 0;
  bool first_run = false;
};

// One start of the program in `folder`, answering what it asks.
StartSeen StartOnce(const QString& folder, const QString& data) {
  StartSeen seen;
  vexa::app::Form1 form1({folder, data, QDir(folder).filePath(QStringLiteral("vexa.ini"))}, 1);
  form1.SetPauseOverride(0);
  form1.Start(form1.Main());
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.start(10000);
  while (deadline.isActive()) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (!window->isVisible()) continue;
      if (auto* box = qobject_cast<QMessageBox*>(window)) {
        ++(box->text() == kLoadMessage ? seen.load_messages : seen.other_messages);
        box->button(QMessageBox::Ok)->click();
      } else if (auto* form6 = qobject_cast<vexa::app::Form6*>(window)) {
        seen.first_run = true;
        form6->Text1->setText(QStringLiteral("Taro"));
        form6->Command1->click();
      }
    }
    // Open, and no dialog left on top of it.
    if (form1.isVisible() && QApplication::activeModalWidget() == nullptr) break;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  seen.window_open = form1.isVisible();
  return seen;
}

int Value(const QStringList& arguments, const QString& name, int fallback) {
  const qsizetype at = arguments.indexOf(name);
  return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(vexa::reliability::QuietPlatform);
  // Its texts are checked in Japanese, the program's own, whatever the
  // caller's locale: the desktop's first language for the texts is Japanese.
  qputenv("LANGUAGE", "ja");
  QApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  const int files = Value(arguments, QStringLiteral("--files"), 300);
  Random random(static_cast<std::uint64_t>(Value(arguments, QStringLiteral("--seed"), 1)));

  QElapsedTimer clock;
  clock.start();
  int load_messages = 0;
  int first_runs = 0;
  for (int index = 0; index < files; ++index) {
    QTemporaryDir folder;
    QTemporaryDir data;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("Config"));
    const char* kind = "";
    if (const std::optional<QByteArray> bytes = Damage(index, random, path, &kind)) {
      QFile file(path);
      file.open(QIODevice::WriteOnly);
      file.write(*bytes);
    }
    const StartSeen seen = StartOnce(folder.path(), data.path());
    if (!seen.window_open || seen.load_messages > 1) {
      std::fprintf(stderr, "file %d (%s): %s\n", index, kind,
                   seen.window_open ? "the load message came more than once"
                                    : "the main window did not open");
      return 1;
    }
    load_messages += seen.load_messages;
    first_runs += seen.first_run ? 1 : 0;
    // A file that could not be read is removed all the same.
    if (!QFileInfo(path).isSymLink()) ::chmod(QFile::encodeName(path).constData(), 0700);
  }
  std::printf(
      "%d damaged files: the window opened every time, the load message %d times "
      "(never twice), the first-run dialog %d times, %.1f s\n",
      files, load_messages, first_runs, clock.elapsed() / 1000.0);
  return 0;
}
