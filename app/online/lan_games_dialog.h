#pragma once

// "LAN のゲーム": the games announced on this network, as they come and go.
// Choosing one fills the connection panel's host and port; a double click
// (or "参加") joins it. Without the Avahi daemon the dialog says once that
// it cannot search. Entries come from other machines: at most kGamesShown
// are listed, each line plain text.

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include "net/game_discovery.h"

namespace vexa::app {

class LanGamesDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kGamesShown = 100;

  LanGamesDialog(QWidget* parent, net::GameDiscovery& discovery);
  ~LanGamesDialog() override;

  QLabel* Label1;         // what the search has come to
  QListWidget* List1;     // the games
  QPushButton* Command1;  // "参加"
  QPushButton* Command2;  // "閉じる"

  // The chosen game's host and port (the result is Accepted when it is to
  // be joined).
  QString ChosenHost() const;
  int ChosenPort() const;

 signals:
  void Chosen(const QString& host, int port);

 private:
  void GameSeen(const net::LanGame& game);
  void GameGone(const QString& service);
  void ShowCount();

  // The program may end with the dialog open; the discovery goes first.
  QPointer<net::GameDiscovery> discovery_;
  bool unavailable_ = false;
};

}  // namespace vexa::app
