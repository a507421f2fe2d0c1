#pragma once

// The online settings dialog: who moves first, "Normal" or "Excite", the
// time limit, and a chat. The host edits and starts; the joining side sees
// every change mirrored. It lives, hidden between games, as long as the
// connection.

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "echo_filter.h"

namespace vexa::app {

class Form1;

class Form4 : public QDialog {
  Q_OBJECT
 public:
  explicit Form4(Form1& form1);

  QLabel* Label1[2];
  QLabel* Label2[2];
  QRadioButton* Option1[2];
  QGroupBox* Frame1;
  QRadioButton* Option2[2];
  QLabel* Label3[2];
  QLineEdit* Text1;
  QListWidget* List3;
  QLineEdit* Text2;
  QPushButton* Command1[2];

  // The loading steps, once, when the dialog is first needed.
  void Form_Load();

  // A setting the peer sent, applied through the control (whose handler
  // echoes it), unless it is the echo of one this side sent.
  void ApplyFirstMover(int index);
  void ApplyGameOption(int index);
  void ApplyTimeLimitText(const QString& text);

 signals:
  // Hidden at game start or closed: its modal display is over.
  void Dismissed();

 protected:
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void Option1_Click(int index);
  void Option2_Click(int index);
  void Text1_Change();
  void GameStart_Click();

  // Notes a value sent on the host's own change, to know its echo.
  void ExpectEcho(net::EchoFilter& filter, const QString& value);

  Form1& form1_;
  bool applying_peer_setting_ = false;
  net::EchoFilter first_mover_echoes_;
  net::EchoFilter game_option_echoes_;
  net::EchoFilter time_limit_echoes_;
};

}  // namespace vexa::app
