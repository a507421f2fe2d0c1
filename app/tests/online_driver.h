#pragma once

// Two complete programs in one process, connected over 127.0.0.1 through
// their windows: the host's and the guest's connection panels, their
// connection dialogs and their settings dialogs.

#include "app/dialogs/form3.h"
#include "app/dialogs/form4.h"
#include "app/dialogs/form7.h"
#include "app/drive/online_loopback.h"
#include "program_driver.h"

namespace vexa::app::testing {

template <typename Dialog>
Dialog* DialogOf(Program& p) {
  return VisibleDialog<Dialog>(*p.form1);
}

// A program that logs every message it receives on the game connection.
class OnlineProgram : public Program {
 public:
  explicit OnlineProgram(const QByteArray& config) : Program(config) {
    form1->online_play().session().SetMessageObserver([this](const QString& m) { received << m; });
  }
  QStringList received;
  int Count(const QString& prefix) const {
    return static_cast<int>(std::count_if(received.begin(), received.end(),
                                          [&](const QString& m) { return m.startsWith(prefix); }));
  }
};

class OnlinePair : public ::testing::Test {
 protected:
  OnlineProgram host{"Taro\r\n 0 \r\n 0 \r\n 0 \r\n"};
  OnlineProgram guest{"Hanako\r\n 0 \r\n 0 \r\n 0 \r\n"};
  int port = FreePortPair();

  void SetUp() override {
    ASSERT_TRUE(host.WaitShown());
    ASSERT_TRUE(guest.WaitShown());
    ASSERT_NE(port, 0);
  }

  static void ChooseOnline(Program& p, int port) { testing::ChooseOnline(*p.form1, port); }
  void HostPressed() { PressHost(*host.form1, port); }
  void JoinPressed() { PressJoin(*guest.form1, port); }

  // Host and join, the host's "OK", both settings dialogs open.
  void Connect() { ASSERT_TRUE(ConnectPrograms(*host.form1, *guest.form1, port, kWaitMs)); }

  Form4* HostSettings() { return DialogOf<Form4>(host); }
  Form4* GuestSettings() { return DialogOf<Form4>(guest); }

  // The side to move clicks a cell; waits until the other side has it.
  void Move(Program& mover, Program& other, int cell, Qt::MouseButton button = Qt::LeftButton) {
    ASSERT_EQ(mover.form1->game().Board()[cell], Empty);
    mover.ClickCell(cell, button);
    const std::int16_t expected = button == Qt::LeftButton ? Remote : Blocker;
    ASSERT_TRUE(WaitFor([&] { return other.form1->game().Board()[cell] == expected; }))
        << "cell " << cell;
  }

  // Both boards hold the same cells, seen from each side.
  void ExpectSameBoards() {
    for (int cell = 0; cell < kCellCount; ++cell) {
      const std::int16_t h = host.form1->game().Board()[cell];
      const std::int16_t g = guest.form1->game().Board()[cell];
      const std::int16_t mirrored = g == Player1  ? std::int16_t{Remote}
                                    : g == Remote ? std::int16_t{Player1}
                                                  : g;
      ASSERT_EQ(h, mirrored) << "cell " << cell;
    }
  }
};

}  // namespace vexa::app::testing
