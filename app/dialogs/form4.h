#pragma once

// The online settings dialog: who moves first, "Normal" or "Excite", the
// time limit, and a chat. The host edits and starts; the joining side sees
// every change mirrored. It lives, hidden between games, as long as the
// connection. It only shows the settings and reports what happens to them;
// the online session decides what that means for the peer and the game.

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace vexa::app {

class Form4 : public QDialog {
  Q_OBJECT
 public:
  explicit Form4(QWidget* parent);

  QLabel* Label1[2];
  QLabel* Label2[2];         // the local player's name, the opponent's
  QRadioButton* Option1[2];  // who moves first: 0 the local player, 1 the peer
  QGroupBox* Frame1;
  QRadioButton* Option2[2];  // 0 "Normal", 1 "Excite"
  QLabel* Label3[2];
  QLineEdit* Text1;          // the time limit in seconds
  QListWidget* List3;        // the chat
  QLineEdit* Text2;          // the chat input
  QPushButton* Command1[2];  // "ゲームスタート", "終了"

  // The loading steps, once, after the reports below are connected: the
  // names, and the first selection (which is reported like a click).
  void Form_Load(const QString& local_name, const QString& opponent_name, bool is_guest);

  // A setting the peer sent, applied through the control, whose change is
  // then reported as mirrored.
  void ApplyFirstMover(int index);
  void ApplyGameOption(int index);
  void ApplyTimeLimitText(const QString& text);
  // The settings as they stand.
  QString TimeLimitText() const { return Text1->text(); }
  bool ExciteSelected() const { return Option2[1]->isChecked(); }

  // The chat: a line shown, the typed line taken (the input then empty),
  // no more lines taken once the connection has ended.
  void ShowChatLine(const QString& line);
  QString TakeChatInput();
  void CloseChat() { Text2->setEnabled(false); }

 signals:
  // A selection or the text really changed; `mirrored` when it came from
  // the peer.
  void FirstMoverChanged(int index, bool mirrored);
  void GameOptionChanged(int index, bool mirrored);
  void TimeLimitChanged(const QString& text, bool mirrored);
  // Enter in the chat input.
  void ChatLineEntered();
  // "ゲームスタート": the host starts the game.
  void StartPressed(bool host_moves_first);
  // "終了" or the close box: the dialog closes for good.
  void Closing();
  // Hidden at game start or closed: its modal display is over.
  void Dismissed();

 protected:
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool applying_peer_setting_ = false;
};

}  // namespace vexa::app
