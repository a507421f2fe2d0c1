// Builds the main window's controls at their places, with their design-time
// captions, colours and states.

#include <QButtonGroup>
#include <QMenuBar>
#include <QSettings>

#include "app/dialogs/dialog_parts.h"
#include "app/window/form1.h"
#include "app/window/twips.h"

namespace vexa::app {

namespace {
const QString kShapesKey = QStringLiteral("shapes");
const QString kCoordinatesKey = QStringLiteral("coordinates");
}  // namespace

void Form1::BuildOtherControls() {
  Frame4 = Frame(client, QStringLiteral("Frame4"), tr("通算成績"), 7485, 5460, 2400, 1785);
  for (int i = 0; i < 5; ++i) {
    Label7[i] = MakeLabel(Frame4, Indexed("Label7", i), QString(), 75, 285 + 300 * i, 2205, 240);
    QFont font = Label7[i]->font();
    font.setBold(true);
    font.setPointSize(9);
    Label7[i]->setFont(font);
  }

  Text2 = TextBox(client, QStringLiteral("Text2"), QString(), 15, 5520, 7395, 360);
  Text2->setEnabled(false);
  List3 = ListBox(client, QStringLiteral("List3"), 15, 5925, 7395, 1320);

  // The reach analysis lies below the visible part of the window.
  Command2 = Place<QPushButton>(client, QStringLiteral("Command2"), tr("リーチをすべて列挙"), 2925,
                                9540, 2400, 690);
  List1[0] = ListBox(client, Indexed("List1", 0), 5445, 7890, 1065, 3120);
  List2[0] = ListBox(client, Indexed("List2", 0), 6570, 7890, 1155, 3120);
  List1[1] = ListBox(client, Indexed("List1", 1), 7845, 7860, 1065, 3120);
  List2[1] = ListBox(client, Indexed("List2", 1), 8970, 7860, 1155, 3120);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);

  Timer1 = &online_.session().MoveClockTimer();
  connect(Text2, &QLineEdit::returnPressed, this, [this] {
    const QString text = Text2->text();
    Text2->clear();
    online_.dialogs().SendChatLine(text, false);
  });
}

void Form1::BuildMenus() {
  auto action = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  QMenu* game_menu = menuBar()->addMenu(QString());
  game_menu->setObjectName(QStringLiteral("Mnu_Game"));
  Mnu_NewGame = action(game_menu, "Mnu_NewGame", QString(), &Form1::Mnu_NewGame_Click);
  Mnu_GameEnd = action(game_menu, "Mnu_GameEnd", QString(), &Form1::Mnu_GameEnd_Click);
  Mnu_End = action(game_menu, "Mnu_End", QString(), &Form1::Mnu_End_Click);
  Mnu_Lobby = action(game_menu, "Mnu_Lobby", QString(), [this] { online_.OpenLobby(); });
  game_menu->insertAction(Mnu_End, Mnu_Lobby);

  QMenu* option_menu = menuBar()->addMenu(QString());
  option_menu->setObjectName(QStringLiteral("Mnu_Option"));
  option_menu->setToolTipsVisible(true);
  Mnu_Format = action(option_menu, "Mnu_Format", QString(), &Form1::Mnu_Format_Click);
  Mnu_ChangeName = action(option_menu, "Mnu_ChangeName", QString(), &Form1::Mnu_ChangeName_Click);
  // How this user's screen looks: kept in the preferences, not in the
  // records file, which is a record of play. Off at the first start, so the
  // board looks as it always has.
  auto look = [this, option_menu](const char* name, const QString& key,
                                  void (BoardView::*apply)(bool)) {
    QAction* a = option_menu->addAction(QString());
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(true);
    a->setChecked(settings_->value(key, false).toBool());
    (board_.get()->*apply)(a->isChecked());
    connect(a, &QAction::toggled, this, [this, key, apply](bool on) {
      settings_->setValue(key, on);
      (board_.get()->*apply)(on);
    });
    return a;
  };
  Mnu_Shapes = look("Mnu_Shapes", kShapesKey, &BoardView::SetShapes);
  Mnu_Coordinates = look("Mnu_Coordinates", kCoordinatesKey, &BoardView::SetCoordinates);
  Mnu_PortMapping = action(option_menu, "Mnu_PortMapping", QString(), [this] {
    online_.outreach().SetPortMappingOn(Mnu_PortMapping->isChecked());
  });
  Mnu_PortMapping->setCheckable(true);
  Mnu_PortMapping->setChecked(online_.outreach().PortMappingOn());
  Mnu_LobbySettings =
      action(option_menu, "Mnu_LobbySettings", QString(), [this] { online_.ShowLobbySettings(); });

  Mnu_About = menuBar()->addAction(QStringLiteral("About(&A)"));
  Mnu_About->setObjectName(QStringLiteral("Mnu_About"));
  connect(Mnu_About, &QAction::triggered, this, &Form1::Mnu_About_Click);
}

}  // namespace vexa::app
