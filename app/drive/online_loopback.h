#pragma once

// Two programs in one process connected over 127.0.0.1 through their
// connection panels, as the online tests and the online figures connect
// them. Plain Qt: no test framework, every wait bounded.

#include <QHostAddress>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTest>

#include "app/drive/controls.h"
#include "app/window/form1.h"
#include "app/dialogs/form3.h"
#include "app/dialogs/form4.h"

namespace vexa::app::testing {

// A port P with P + 1 also free, for the game and chat connections; 0 when
// none was found.
inline int FreePortPair() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    QTcpServer game, chat;
    if (!game.listen(QHostAddress::Any, 0)) continue;
    const int port = game.serverPort();
    if (port < 65535 && chat.listen(QHostAddress::Any, port + 1)) return port;
  }
  return 0;
}

// The program's visible dialog of that type, if any.
template <typename Dialog>
Dialog* VisibleDialog(Form1& form1) {
  for (Dialog* d : form1.findChildren<Dialog*>()) {
    if (d->isVisible()) return d;
  }
  return nullptr;
}

// "VS Online" and the port in the connection panel.
inline void ChooseOnline(Form1& form1, int port) {
  QTest::mouseClick(Control<QRadioButton>(form1, "Option1", 2), Qt::LeftButton);
  Control<QLineEdit>(form1, "Text1", 1)->setText(QString::number(port));
}

inline void PressHost(Form1& host, int port) {
  ChooseOnline(host, port);
  Control<QPushButton>(host, "Command1", 0)->click();
}

inline void PressJoin(Form1& guest, int port) {
  ChooseOnline(guest, port);
  Control<QLineEdit>(guest, "Text1", 0)->setText(QStringLiteral("127.0.0.1"));
  Control<QPushButton>(guest, "Command1", 1)->click();
}

// Host and join, the host's "OK", until both settings dialogs are open.
// False when a step did not come within `timeout_ms`.
inline bool ConnectPrograms(Form1& host, Form1& guest, int port, int timeout_ms) {
  PressHost(host, port);
  PressJoin(guest, port);
  Form3* host3 = nullptr;
  const auto connected = [](Form3* dialog) { return dialog && dialog->Connected(); };
  if (!QTest::qWaitFor([&] { return connected(host3 = VisibleDialog<Form3>(host)); }, timeout_ms) ||
      !QTest::qWaitFor([&] { return connected(VisibleDialog<Form3>(guest)); }, timeout_ms)) {
    return false;
  }
  host3->Command1->click();
  return QTest::qWaitFor([&] { return VisibleDialog<Form4>(host) && VisibleDialog<Form4>(guest); },
                         timeout_ms);
}

}  // namespace vexa::app::testing
