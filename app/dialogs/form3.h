#pragma once

// The connection dialog: waits for the peer while hosting or joining. Its
// button reads "キャンセル" until the game connection is up, then "OK". A
// join that fails says so, and its button, "OK" as well, only closes.

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "net/join_failure.h"

namespace vexa::app {

class Form3 : public QDialog {
  Q_OBJECT
 public:
  explicit Form3(QWidget* parent);
  QLabel* Label1;
  QPushButton* Command1;

  bool Connected() const { return connected_ && !failed_; }
  // What the dialog waits for, in place of the host's words.
  void SetStatus(const QString& status) { Label1->setText(status); }
  // The dialog stays under the host's settings, its button idle.
  void SetButtonIdle() { Command1->setEnabled(false); }
  // The connection is up: the button becomes "OK".
  void SetConnected(const QString& status);
  // The connection attempt failed: nothing is left to cancel, the button
  // becomes "OK" and closes the dialog as the cancel did. A line under
  // `status` says why (`description`, the socket's words, for a reason the
  // dialog has no words of its own for).
  void SetFailed(const QString& status, net::JoinFailure reason, const QString& description);

  // The host's lines right of the dialog's own: this machine's addresses,
  // the router's answer, and a button that copies `link` (greyed without a
  // link) beside `link_note`. The dialog grows to hold them; its own
  // controls keep their places.
  void ShowHostLines(const QString& router_line, const QString& addresses_line, const QString& link,
                     const QString& link_note);

  // How the dialog went away: closed by the user, or hidden by the host's
  // next step.
  static constexpr int kClosed = 0;
  static constexpr int kHidden = 2;

 signals:
  void Command1_Click();

 protected:
  void reject() override;
  void showEvent(QShowEvent* event) override;

 private:
  static QString FailureText(net::JoinFailure reason, const QString& description);

 private:
  QLabel* Label2 = nullptr;         // the router's answer
  QLabel* Label4 = nullptr;         // why the join failed
  QLabel* Label3 = nullptr;         // this machine's addresses
  QLabel* Label5 = nullptr;         // where the link works
  QPushButton* Command2 = nullptr;  // "招待リンクをコピー"
  QString link_;
  bool connected_ = false;
  bool failed_ = false;
};

}  // namespace vexa::app
