#include "app/window/option_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "app/dialogs/dialog_parts.h"

namespace vexa::app {

namespace {

template <typename Widget, std::size_t N>
void SetAllEnabled(Widget* (&widgets)[N], bool enabled) {
  for (Widget* w : widgets)
    w->setEnabled(enabled);
}

template <std::size_t N>
int SelectedIndex(QRadioButton* const (&buttons)[N], int fallback) {
  for (std::size_t i = 0; i < N; ++i) {
    if (buttons[i]->isChecked()) return static_cast<int>(i);
  }
  return fallback;
}

}  // namespace

OptionPanel::OptionPanel(QWidget* client, Handlers handlers) {
  Frame2 =
      Frame(client, QStringLiteral("Frame2"), QStringLiteral("GameMode"), 7485, 15, 2415, 5385);
  Option1[0] = Place<QRadioButton>(Frame2, Indexed("Option1", 0), QStringLiteral("VS CPU"), 120,
                                   210, 1035, 225);
  Check1 = Place<QCheckBox>(Frame2, QStringLiteral("Check1"), tr("CPUが先攻"), 420, 450, 1260, 270);
  Frame5 = Frame(Frame2, QStringLiteral("Frame5"), tr("CPUレベル"), 90, 735, 2235, 795);
  const struct {
    const char* caption;
    int left, top, width;
  } strengths[4] = {{"Easy", 75, 210, 1005},
                    {"Normal", 75, 495, 1005},
                    {"Hard", 1080, 225, 1005},
                    {"VeryHard", 1080, 510, 1080}};
  for (int i = 0; i < 4; ++i) {
    Option2[i] = Place<QRadioButton>(Frame5, Indexed("Option2", i),
                                     QString::fromLatin1(strengths[i].caption), strengths[i].left,
                                     strengths[i].top, strengths[i].width, 225);
  }
  // Frame5 is full: Master, the searching strength, is a check box in the
  // free place beside "VS CPU". It overrides the four, which keep their
  // choice for when it is cleared again.
  Check3 = Place<QCheckBox>(Frame2, QStringLiteral("Check3"), QStringLiteral("Master"), 1260, 210,
                            1035, 225);
  Option1[1] = Place<QRadioButton>(Frame2, Indexed("Option1", 1), QStringLiteral("VS Human"), 120,
                                   1560, 1140, 225);
  Check2 =
      Place<QCheckBox>(Frame2, QStringLiteral("Check2"), tr("Player1が先攻"), 420, 1845, 1770, 240);
  Option1[2] = Place<QRadioButton>(Frame2, Indexed("Option1", 2), QStringLiteral("VS Online"), 120,
                                   2235, 1125, 225);

  Frame3 = Frame(Frame2, QStringLiteral("Frame3"), tr("接続の設定"), 90, 2520, 2235, 2760);
  Command1[0] =
      Place<QPushButton>(Frame3, Indexed("Command1", 0), tr("ゲームを主催"), 105, 255, 2040, 300);
  Command1[1] =
      Place<QPushButton>(Frame3, Indexed("Command1", 1), tr("ゲームに参加"), 105, 615, 2040, 300);
  Label6[0] = MakeLabel(Frame3, Indexed("Label6", 0), tr("リモートホスト名"), 135, 975, 1275, 225);
  Text1[0] = TextBox(Frame3, Indexed("Text1", 0), QString(), 120, 1215, 2040, 270);
  Label6[1] = MakeLabel(Frame3, Indexed("Label6", 1), tr("リモートポート"), 135, 1530, 1275, 225);
  Text1[1] = TextBox(Frame3, Indexed("Text1", 1), QStringLiteral("36150"), 120, 1770, 690, 270);
  Label6[2] = MakeLabel(Frame3, Indexed("Label6", 2), tr("プレイヤーネーム"), 135, 2130, 1710, 225);
  Text1[2] = TextBox(Frame3, Indexed("Text1", 2), QString(), 105, 2370, 2040, 270);
  Text1[2]->setReadOnly(true);
  Cmd_LanGames = Place<QPushButton>(Frame3, QStringLiteral("Cmd_LanGames"), tr("LAN のゲーム"), 900,
                                    1755, 1260, 300);
  Cmd_LanGames->setEnabled(false);
  QObject::connect(Cmd_LanGames, &QPushButton::clicked, Cmd_LanGames, handlers.lan_games);

  // Explicit groups: Qt's automatic exclusivity would also reach into the
  // strength buttons nested in Frame5.
  auto* modes = new QButtonGroup(Frame2);
  for (int i = 0; i < 3; ++i)
    modes->addButton(Option1[i], i);
  auto* strength_group = new QButtonGroup(Frame5);
  for (int i = 0; i < 4; ++i)
    strength_group->addButton(Option2[i], i);
  QObject::connect(Check3, &QCheckBox::toggled, Check3, [this] { EnableStrengths(strengths_on_); });

  Option1[0]->setChecked(true);
  Check2->setChecked(true);
  Frame3->setEnabled(false);
  Command1[0]->setEnabled(false);
  Command1[1]->setEnabled(false);
  for (int i = 0; i < 3; ++i) {
    QObject::connect(Option1[i], &QRadioButton::clicked, Option1[i],
                     [mode_clicked = handlers.mode_clicked, i] { mode_clicked(i); });
  }
  for (int i = 0; i < 2; ++i) {
    QObject::connect(Command1[i], &QPushButton::clicked, Command1[i],
                     [host_or_join = handlers.host_or_join, i] { host_or_join(i); });
  }
  QObject::connect(Option1[2], &QRadioButton::toggled, Option1[2], handlers.online_toggled);
  Retranslate();  // the strengths' tooltips
}

GameMode OptionPanel::Mode() const {
  return static_cast<GameMode>(SelectedIndex(Option1, 0));
}

CpuStrength OptionPanel::Strength() const {
  if (Check3->isChecked()) return CpuStrength::Master;
  return static_cast<CpuStrength>(SelectedIndex(Option2, 3));
}

bool OptionPanel::CpuMovesFirst() const {
  return Check1->isChecked();
}

bool OptionPanel::Player1MovesFirst() const {
  return Check2->isChecked();
}

void OptionPanel::SelectStrength(CpuStrength strength) {
  Check3->setChecked(strength == CpuStrength::Master);
  if (strength != CpuStrength::Master) Option2[static_cast<int>(strength)]->setChecked(true);
}

void OptionPanel::SelectMode(GameMode mode) {
  Option1[static_cast<int>(mode)]->setChecked(true);
}

QString OptionPanel::HostAddress() const {
  return Text1[0]->text();
}

QString OptionPanel::PortText() const {
  return Text1[1]->text();
}

QString OptionPanel::PlayerName() const {
  return Text1[2]->text();
}

void OptionPanel::SetPlayerName(const QString& name) {
  Text1[2]->setText(name);
}

void OptionPanel::SetConnectionFields(const QString& host, int port) {
  Text1[0]->setText(host);
  Text1[1]->setText(QString::number(port));
}

void OptionPanel::SetOptionControls(PanelCode panel_code, bool editable) {
  SetPanelControls(panel_code, editable);
  Cmd_LanGames->setEnabled(Command1[1]->isEnabledTo(Frame3));
}

void OptionPanel::EnableStrengths(bool enabled) {
  strengths_on_ = enabled;
  Check3->setEnabled(enabled);
  // Checked, Master stands for the four: they show their choice greyed.
  SetAllEnabled(Option2, enabled && !Check3->isChecked());
}

void OptionPanel::SetPanelControls(PanelCode panel_code, bool editable) {
  const bool e = editable;
  Frame2->setEnabled(e);
  switch (panel_code) {
    case PanelCode::VsCpu:
      Check1->setEnabled(e);
      SetAllEnabled(Option1, e);
      Frame5->setEnabled(e);
      EnableStrengths(e);
      SetAllEnabled(Text1, !e);
      SetAllEnabled(Command1, !e);
      Check2->setEnabled(!e);
      Frame3->setEnabled(!e);
      break;
    case PanelCode::VsHuman:
      Check2->setEnabled(e);
      SetAllEnabled(Option1, e);
      Frame5->setEnabled(!e);
      EnableStrengths(!e);
      SetAllEnabled(Text1, !e);
      SetAllEnabled(Command1, !e);
      Check1->setEnabled(!e);
      Frame3->setEnabled(!e);
      break;
    case PanelCode::VsOnline: {
      SetAllEnabled(Option1, e);
      Frame5->setEnabled(!e);
      EnableStrengths(!e);
      // The connection fields follow only while "VS Online" is selected.
      for (QLineEdit* text : Text1) {
        if ((Mode() == GameMode::VsOnline) == e) text->setEnabled(e);
      }
      if ((Mode() == GameMode::VsOnline) == e) SetAllEnabled(Command1, e);
      Check1->setEnabled(!e);
      Check2->setEnabled(!e);
      Frame3->setEnabled(e);
      break;
    }
    case PanelCode::GameRunning:
      Frame5->setEnabled(e);
      EnableStrengths(e);
      Frame2->setEnabled(e);
      for (int i = 0; i < 3; ++i) {
        Option1[i]->setEnabled(e);
        Text1[i]->setEnabled(e);
      }
      SetAllEnabled(Command1, e);
      Check1->setEnabled(e);
      Check2->setEnabled(e);
      Frame3->setEnabled(e);
      break;
  }
}

void OptionPanel::ShowChoices(const Choices& choices) {
  // "VS Online" switched on or off by a replay would enable the menu's
  // "新規ゲーム" as if the player had chosen the mode.
  const QSignalBlocker quiet(Option1[2]);
  SelectMode(choices.mode);
  SelectStrength(choices.strength);
}

void OptionPanel::EnablePanel() {
  Frame2->setEnabled(true);
}

namespace {

// Each strength's Elo, Easy at 0, from `vexa-analyze ladder --games 1000
// --master-games 30 --seed 1 --threads 2` (README, "Elo ratings"); Master's
// at the 100000 playouts of about the thinking pause. A strength that
// never lost would have only a lower bound ("at least").
struct StrengthElo {
  int elo;
  bool at_least;
};
constexpr StrengthElo kStrengthElo[5] = {
    {0, false}, {531, false}, {898, false}, {1019, false}, {1388, false}};

}  // namespace

void OptionPanel::Retranslate() {
  QAbstractButton* const buttons[5] = {Option2[0], Option2[1], Option2[2], Option2[3], Check3};
  for (int i = 0; i < 5; ++i) {
    const StrengthElo& e = kStrengthElo[i];
    // The rating means little to most players without its scale.
    buttons[i]->setToolTip((e.at_least ? tr("Elo %1 以上（Easy を 0 として）").arg(e.elo)
                                       : tr("Elo %1（Easy を 0 として）").arg(e.elo)) +
                           u'\n' + tr("Elo が 100 高い側は、およそ 64 % のゲームに勝ちます"));
  }
  // The check box says in words that it is a strength, not a mode.
  Check3->setToolTip(tr("CPUレベル Master: 先を読んで打つ最も強いレベル") + u'\n' +
                     Check3->toolTip());
  Check1->setText(tr("CPUが先攻"));
  Frame5->setTitle(tr("CPUレベル"));
  Check2->setText(tr("Player1が先攻"));
  Frame3->setTitle(tr("接続の設定"));
  Command1[0]->setText(tr("ゲームを主催"));
  Command1[1]->setText(tr("ゲームに参加"));
  Label6[0]->setText(tr("リモートホスト名"));
  Label6[1]->setText(tr("リモートポート"));
  Label6[2]->setText(tr("プレイヤーネーム"));
  Cmd_LanGames->setText(tr("LAN のゲーム"));
}

}  // namespace vexa::app
