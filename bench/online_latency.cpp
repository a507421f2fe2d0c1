// Online figures: two complete programs in one process, connected over
// 127.0.0.1, "VS Online" "Normal", pauses zero.
//   - the time from a piece placed on one program to the piece on the other's
//     board, and to its cell painted there, median over 100 moves (the sides
//     take turns; games are played out by running out of pieces and a new
//     one started);
//   - the processor time the process uses while both are connected and
//     idle for ten seconds.
//
//   QT_QPA_PLATFORM=offscreen build/bench/online_latency [moves] [idle seconds]

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "app/drive/controls.h"
#include "app/drive/online_loopback.h"
#include "app/drive/program_instance.h"
#include "app/window/form1.h"
#include "app/dialogs/form5.h"
#include "core/square_scan.h"

namespace {

using vexa::app::CellLabel;
using vexa::app::Form1;
using vexa::app::Form4;
using vexa::app::Form5;
using vexa::app::testing::Control;
using vexa::app::testing::VisibleDialog;

constexpr int kWaitMs = 10000;

using Instance = vexa::app::testing::ProgramInstance;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "online_latency: %s\n", what);
  std::exit(2);
}

// Seconds of processor time (user and system) the process has used.
double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The first free cell that gives the local player no square.
int QuietCell(const vexa::Game& game) {
  for (int cell = 0; cell < vexa::kCellCount; ++cell) {
    if (!vexa::IsPlayableCell(cell) || game.Board()[cell] != vexa::Empty) continue;
    vexa::BoardCells trial = game.Board();
    trial[cell] = vexa::Player1;
    if (vexa::ScanSquares(trial, vexa::Player1).empty()) return cell;
  }
  return -1;
}

// Notes when a cell label is painted.
class PaintWatch : public QObject {
 public:
  QObject* target = nullptr;
  qint64 painted_ns = -1;
  QElapsedTimer* clock = nullptr;
  QEventLoop* loop = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == target && event->type() == QEvent::Paint && painted_ns < 0) {
      painted_ns = clock->nsecsElapsed();
      loop->quit();
    }
    return false;
  }
};

struct MoveTimes {
  double on_board_ms;
  double painted_ms;  // negative when no paint came
};

// One piece from `mover` to `other`, timed from the click's handler to the
// other's board and to its cell's paint.
MoveTimes TimeOneMove(Form1& mover, Form1& other) {
  const int cell = QuietCell(mover.game);
  if (cell < 0) Fail("no quiet cell left");
  QCoreApplication::processEvents();  // the previous move's paints

  QElapsedTimer clock;
  QEventLoop loop;
  qint64 on_board_ns = -1;
  // Connected after the program's own handler, so it runs once the read has
  // been applied.
  const auto arrival = QObject::connect(
      Control<vexa::net::Winsock>(other, "Winsock1"), &vexa::net::Winsock::DataArrival, &loop, [&] {
        if (on_board_ns < 0 && other.game.Board()[cell] == vexa::Remote) {
          on_board_ns = clock.nsecsElapsed();
        }
      });
  CellLabel* label = Control<CellLabel>(other, "Label1", cell);
  PaintWatch watch;
  watch.target = label;
  watch.clock = &clock;
  watch.loop = &loop;
  label->installEventFilter(&watch);
  QTimer::singleShot(1000, &loop, &QEventLoop::quit);

  clock.start();
  mover.Label1_MouseDown(cell, vexa::app::kLeftButton);
  loop.exec();

  label->removeEventFilter(&watch);
  QObject::disconnect(arrival);
  if (on_board_ns < 0) Fail("the piece did not arrive");
  return {on_board_ns / 1e6, watch.painted_ns < 0 ? -1.0 : watch.painted_ns / 1e6};
}

bool WaitFor(const std::function<bool()>& condition) {
  return QTest::qWaitFor(condition, kWaitMs);
}

// Closes a program's result dialog.
bool CloseResult(Form1& form1) {
  Form5* form5 = nullptr;
  if (!WaitFor([&] { return (form5 = VisibleDialog<Form5>(form1)) != nullptr; })) return false;
  form5->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintFigure(const char* what, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::printf("%s: median %.3f ms over %zu moves (min %.3f, 90th percentile %.3f, max %.3f)\n",
              what, Median(values), values.size(), values.front(), values[values.size() * 9 / 10],
              values.back());
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int moves = argc > 1 ? std::atoi(argv[1]) : 100;
  const int idle_seconds = argc > 2 ? std::atoi(argv[2]) : 10;

  Instance host("Taro");
  Instance guest("Hanako");
  if (!WaitFor([&] { return host.form1->isVisible() && guest.form1->isVisible(); })) {
    Fail("the programs did not start");
  }
  const int port = vexa::app::testing::FreePortPair();
  if (port == 0) Fail("no free port pair");
  if (!vexa::app::testing::ConnectPrograms(*host.form1, *guest.form1, port, kWaitMs)) {
    Fail("the programs did not connect");
  }

  std::vector<double> on_board;
  std::vector<double> painted;
  int games = 0;
  while (static_cast<int>(on_board.size()) < moves) {
    // The host's settings are open: "Normal", the host first.
    Form4* settings = VisibleDialog<Form4>(*host.form1);
    if (settings == nullptr) Fail("no settings dialog");
    settings->Command1[0]->click();
    if (!WaitFor([&] { return guest.form1->game.Turn() == vexa::Remote; })) Fail("no game start");
    ++games;
    Form1* mover = host.form1.get();
    Form1* other = guest.form1.get();
    for (int move = 0; move < 2 * vexa::kPiecesPerSide && static_cast<int>(on_board.size()) < moves;
         ++move) {
      const MoveTimes times = TimeOneMove(*mover, *other);
      on_board.push_back(times.on_board_ms);
      if (times.painted_ms >= 0) painted.push_back(times.painted_ms);
      std::swap(mover, other);
    }
    if (static_cast<int>(on_board.size()) < moves) {
      // Out of pieces: a draw on both sides, then the host's settings again.
      if (!CloseResult(*host.form1) || !CloseResult(*guest.form1)) Fail("no result dialog");
      if (!WaitFor([&] {
            return VisibleDialog<Form4>(*host.form1) && VisibleDialog<Form4>(*guest.form1);
          })) {
        Fail("no settings after the game");
      }
    }
  }

  std::printf("online over 127.0.0.1, \"VS Online\" \"Normal\", pauses 0, %d games\n", games);
  PrintFigure("piece placed -> on the other's board", on_board);
  if (!painted.empty()) PrintFigure("piece placed -> painted on the other's board", painted);

  // Connected, a game running, nobody moves.
  QCoreApplication::processEvents();
  QEventLoop idle;
  QTimer::singleShot(idle_seconds * 1000, Qt::PreciseTimer, &idle, &QEventLoop::quit);
  QElapsedTimer wall;
  const double before = ProcessorSeconds();
  wall.start();
  idle.exec();
  const double used = ProcessorSeconds() - before;
  const double elapsed = wall.nsecsElapsed() / 1e9;
  std::printf(
      "idle and connected for %.1f s: %.1f ms of processor time for both programs "
      "(%.3f %% of one core)\n",
      elapsed, used * 1e3, 100 * used / elapsed);
  return 0;
}
