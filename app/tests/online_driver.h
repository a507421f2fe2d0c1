#pragma once

// Two complete programs in one process, connected over 127.0.0.1 through
// their windows: the host's and the guest's connection panels, their
// connection dialogs and their settings dialogs.

#include <QTcpServer>

#include "form3.h"
#include "form4.h"
#include "form7.h"
#include "program_driver.h"

namespace vexa::app::testing {

// A port P with P + 1 also free, for the game and chat connections.
inline int FreePortPair() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    QTcpServer game, chat;
    if (!game.listen(QHostAddress::Any, 0)) continue;
    const int port = game.serverPort();
    if (port < 65535 && chat.listen(QHostAddress::Any, port + 1)) return port;
  }
  return 0;
}

template <typename Dialog>
Dialog* DialogOf(Program& p) {
  for (Dialog* d : p.form1->findChildren<Dialog*>()) {
    if (d->isVisible()) return d;
  }
  return nullptr;
}

// A program that logs every message it receives on the game connection.
class OnlineProgram : public Program {
 public:
  explicit OnlineProgram(const QByteArray& config) : Program(config) {
    form1->online().SetMessageObserver([this](const QString& m) { received << m; });
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

  static void ChooseOnline(Program& p, int port) {
    QTest::mouseClick(p.form1->Option1[2], Qt::LeftButton);
    p.form1->Text1[1]->setText(QString::number(port));
  }
  void HostPressed() {
    ChooseOnline(host, port);
    host.form1->Command1[0]->click();
  }
  void JoinPressed() {
    ChooseOnline(guest, port);
    guest.form1->Text1[0]->setText(QStringLiteral("127.0.0.1"));
    guest.form1->Command1[1]->click();
  }

  // Host and join, the host's "OK", both settings dialogs open.
  void Connect() {
    HostPressed();
    JoinPressed();
    Form3* host3 = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (host3 = DialogOf<Form3>(host)) && host3->Connected(); }));
    ASSERT_TRUE(WaitFor([&] {
      Form3* g = DialogOf<Form3>(guest);
      return g && g->Connected();
    }));
    host3->Command1->click();
    ASSERT_TRUE(WaitFor([&] { return DialogOf<Form4>(host) && DialogOf<Form4>(guest); }));
  }

  Form4* HostSettings() { return DialogOf<Form4>(host); }
  Form4* GuestSettings() { return DialogOf<Form4>(guest); }

  // The side to move clicks a cell; waits until the other side has it.
  void Move(Program& mover, Program& other, int cell, Qt::MouseButton button = Qt::LeftButton) {
    ASSERT_EQ(mover.form1->game.Board[cell], Empty);
    mover.ClickCell(cell, button);
    const std::int16_t expected = button == Qt::LeftButton ? Remote : Blocker;
    ASSERT_TRUE(WaitFor([&] { return other.form1->game.Board[cell] == expected; }))
        << "cell " << cell;
  }

  // Both boards hold the same cells, seen from each side.
  void ExpectSameBoards() {
    for (int cell = 0; cell < kCellCount; ++cell) {
      const std::int16_t h = host.form1->game.Board[cell];
      const std::int16_t g = guest.form1->game.Board[cell];
      const std::int16_t mirrored = g == Player1  ? std::int16_t{Remote}
                                    : g == Remote ? std::int16_t{Player1}
                                                  : g;
      ASSERT_EQ(h, mirrored) << "cell " << cell;
    }
  }
};

}  // namespace vexa::app::testing
