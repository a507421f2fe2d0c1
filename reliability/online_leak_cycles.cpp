// Two programs in one process connect, play a short game and leave, again
// and again; the process's open file descriptors and resident memory must
// come back to their level once the first cycles have warmed up caches and
// pools.
//
//   QT_QPA_PLATFORM=offscreen online_leak_cycles [--cycles N] [--max-growth-kb K]
//
// Prints the figures after cycle 10 and after the last; exit status 1 when
// a cycle fails, when descriptors are left open, or when the memory grew by
// more than K kB (default 2048) from cycle 10 to the end.

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "app/drive/controls.h"
#include "app/drive/online_loopback.h"
#include "app/drive/program_instance.h"
#include "app/window/form1.h"
#include "app/dialogs/form4.h"
#include "app/dialogs/form5.h"
#include "reliability/quiet_platform.h"

namespace {

using vexa::app::Form1;
using vexa::app::Form4;
using vexa::app::Form5;
using vexa::app::testing::Control;
using vexa::app::testing::VisibleDialog;

constexpr int kWaitMs = 10000;

using Instance = vexa::app::testing::ProgramInstance;

struct Usage {
  int descriptors = 0;
  long resident_kb = 0;
};

Usage Measure() {
  Usage usage;
  usage.descriptors = static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                           .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                                           .size());
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (statm.open(QIODevice::ReadOnly)) {
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() > 1) usage.resident_kb = fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024);
  }
  return usage;
}

bool WaitFor(const std::function<bool()>& condition) {
  return QTest::qWaitFor(condition, kWaitMs);
}

bool CloseResult(Form1& form1) {
  Form5* form5 = nullptr;
  if (!WaitFor([&] { return (form5 = VisibleDialog<Form5>(form1)) != nullptr; })) return false;
  form5->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
  return true;
}

// Connect, a game the host wins with the square 12-13-23-24, both results
// closed, then the host leaves from its settings dialog and the guest is
// told. Empty when it went through, else the step that failed.
const char* Cycle(Form1& host, Form1& guest) {
  const int port = vexa::app::testing::FreePortPair();
  if (port == 0) return "no free port pair";
  if (!vexa::app::testing::ConnectPrograms(host, guest, port, kWaitMs)) return "connect";
  VisibleDialog<Form4>(host)->Command1[0]->click();
  if (!WaitFor([&] { return guest.game.Turn() == vexa::Remote; })) return "start";
  const int host_cells[] = {12, 13, 23, 24};
  const int guest_cells[] = {100, 101, 102};
  for (int move = 0; move < 7; ++move) {
    Form1& mover = move % 2 == 0 ? host : guest;
    if (!WaitFor([&] { return mover.game.Turn() == vexa::Player1; })) return "turn";
    mover.Label1_MouseDown(move % 2 == 0 ? host_cells[move / 2] : guest_cells[move / 2],
                           vexa::app::kLeftButton);
  }
  if (!CloseResult(host) || !CloseResult(guest)) return "result";
  Form4* settings = nullptr;
  if (!WaitFor([&] { return (settings = VisibleDialog<Form4>(host)) != nullptr; })) {
    return "settings after the game";
  }
  settings->Command1[1]->click();  // "終了"
  QMessageBox* told = nullptr;
  if (!WaitFor([&] { return (told = VisibleDialog<QMessageBox>(guest)) != nullptr; })) {
    return "the guest was not told";
  }
  told->button(QMessageBox::Ok)->click();
  if (!WaitFor([&] {
        return Control<vexa::net::Winsock>(guest, "Winsock1")->State() == 0 &&
               Control<vexa::net::Winsock>(guest, "Winsock2")->State() == 0 &&
               Control<vexa::net::Winsock>(host, "Winsock1")->State() !=
                   vexa::net::Winsock::kConnected &&
               guest.PendingTasks() == 0 && !VisibleDialog<QMessageBox>(guest);
      })) {
    return "the connection did not end";
  }
  return nullptr;
}

int Value(const QStringList& arguments, const QString& name, int fallback) {
  const qsizetype at = arguments.indexOf(name);
  return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(vexa::reliability::QuietPlatform);
  // Its texts are checked in Japanese, the program's own, whatever the
  // caller's locale: the desktop's first language for the texts is Japanese.
  qputenv("LANGUAGE", "ja");
  QApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  const int cycles = Value(arguments, QStringLiteral("--cycles"), 500);
  const int max_growth_kb = Value(arguments, QStringLiteral("--max-growth-kb"), 2048);
  constexpr int kWarmUp = 10;

  Instance host("Taro");
  Instance guest("Hanako");
  if (!WaitFor([&] { return host.form1->isVisible() && guest.form1->isVisible(); })) return 1;

  QElapsedTimer clock;
  clock.start();
  Usage warm;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    if (const char* failed = Cycle(*host.form1, *guest.form1)) {
      std::fprintf(stderr, "cycle %d: %s\n", cycle, failed);
      return 1;
    }
    if (cycle == std::min(kWarmUp, cycles)) warm = Measure();
  }
  const Usage end = Measure();
  std::printf(
      "%d cycles in %.1f s; after cycle %d: %d descriptors, %ld kB resident; "
      "after cycle %d: %d descriptors, %ld kB resident\n",
      cycles, clock.elapsed() / 1000.0, std::min(kWarmUp, cycles), warm.descriptors,
      warm.resident_kb, cycles, end.descriptors, end.resident_kb);
  if (end.descriptors > warm.descriptors) {
    std::fprintf(stderr, "descriptors left open\n");
    return 1;
  }
  if (end.resident_kb - warm.resident_kb > max_growth_kb) {
    std::fprintf(stderr, "the memory grew by %ld kB\n", end.resident_kb - warm.resident_kb);
    return 1;
  }
  return 0;
}
