#pragma once

// The option panel on the right of the main window ("GameMode"): the modes,
// who moves first, the strengths, and the connection fields with the host
// and join buttons. It owns these controls (each with its object name:
// "Frame2", "Option1_2", "Check1", "Check3", "Frame5", "Option2_3", "Check2",
// "Frame3", "Command1_0", "Label6_1", "Text1_2", "Cmd_LanGames") and enables them by mode
// and by whether a game runs.

#include <QCoreApplication>
#include <QString>
#include <functional>

#include "core/modes.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace vexa::app {

class OptionPanel {
  // Its texts belong to the main window's translations.
  Q_DECLARE_TR_FUNCTIONS(vexa::app::Form1)

 public:
  struct Handlers {
    std::function<void(int mode)> mode_clicked;       // a mode button clicked
    std::function<void(int index)> host_or_join;      // 0 host, 1 join
    std::function<void(bool online)> online_toggled;  // "VS Online" chosen or left
    std::function<void()> lan_games;                  // "LAN のゲーム" pressed
  };
  OptionPanel(QWidget* client, Handlers handlers);
  OptionPanel(const OptionPanel&) = delete;
  OptionPanel& operator=(const OptionPanel&) = delete;

  // --- The choices.
  GameMode Mode() const;
  CpuStrength Strength() const;
  bool CpuMovesFirst() const;      // "CPUが先攻"
  bool Player1MovesFirst() const;  // "Player1が先攻"
  void SelectStrength(CpuStrength strength);
  void SelectMode(GameMode mode);
  // The connection fields: the host's address, the port's text, the name.
  QString HostAddress() const;
  QString PortText() const;
  QString PlayerName() const;
  void SetPlayerName(const QString& name);
  // The host's address and the port, as a game found or a link gives them.
  void SetConnectionFields(const QString& host, int port);

  // Enables the controls of a mode, or of a game in progress.
  void SetOptionControls(PanelCode panel_code, bool editable);
  // The panel's frame alone enabled again.
  void EnablePanel();
  // Captions again from their source texts, in the language in place.
  void Retranslate();

  // The mode and strength on show. A replay shows its record's and puts
  // the player's back after; the mode handlers are not told of either.
  struct Choices {
    GameMode mode;
    CpuStrength strength;
  };
  Choices CurrentChoices() const { return {Mode(), Strength()}; }
  void ShowChoices(const Choices& choices);

 private:
  void SetPanelControls(PanelCode panel_code, bool editable);
  // The strength controls usable or not; the four buttons only while
  // "Master" is clear.
  void EnableStrengths(bool enabled);

  QGroupBox* Frame2;         // the option panel ("GameMode")
  QRadioButton* Option1[3];  // the modes: "VS CPU", "VS Human", "VS Online"
  QCheckBox* Check1;         // "CPUが先攻"
  QCheckBox* Check3;         // "Master", beside "VS CPU": Master over the four
  QCheckBox* Check2;         // "Player1が先攻"
  QGroupBox* Frame5;         // the strengths ("CPUレベル")
  QRadioButton* Option2[4];  // "Easy", "Normal", "Hard", "VeryHard"
  QGroupBox* Frame3;         // the connection panel ("接続の設定")
  QPushButton* Command1[2];  // "ゲームを主催" (host), "ゲームに参加" (join)
  QLabel* Label6[3];         // the connection fields' captions
  QLineEdit* Text1[3];       // the host's address, the port, the player's name
  // "LAN のゲーム", beside the port where the panel is empty; usable
  // whenever joining is.
  QPushButton* Cmd_LanGames;
  // Whether the strength controls are usable, as SetPanelControls last left them.
  bool strengths_on_ = true;
};

}  // namespace vexa::app
