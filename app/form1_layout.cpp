// Builds the main window's controls at their places, with their design-time
// captions, colours and states.

#include <QButtonGroup>
#include <QMenuBar>

#include "app/dialog_parts.h"
#include "app/form1.h"
#include "app/twips.h"

namespace vexa::app {

namespace {

constexpr std::uint32_t kWindowBackground = 0x80000005;
constexpr std::uint32_t kWindowFrame = 0x80000006;
constexpr std::uint32_t kWindowText = 0x80000008;
constexpr std::uint32_t kHighlightText = 0x8000000E;
constexpr std::uint32_t kGreen = 0x008000;

QString Indexed(const char* name, int index) {
  return QString::fromLatin1(name) + u'_' + QString::number(index);
}

}  // namespace

void Form1::BuildBoard() {
  Label4 = BoxLabel(client, QStringLiteral("Label4"), 30, 45, 5400, 5415, kGreen);
  for (int cell = 0; cell < kCellCount; ++cell) {
    Label1[cell] = BoxLabel<CellLabel>(client, Indexed("Label1", cell), CellLeft(cell),
                                       CellTop(cell), kCellExtent, kCellExtent, kWindowFrame);
    QPalette palette = Label1[cell]->palette();
    palette.setColor(QPalette::WindowText, ToQColor(kWindowText));
    Label1[cell]->setPalette(palette);
    Label1[cell]->setVisible(IsPlayableCell(cell));
    connect(Label1[cell], &CellLabel::MouseDown, this,
            [this, cell](int button) { Label1_MouseDown(cell, button); });
  }

  Label8 = MakeLabel(client, QStringLiteral("Label8"), QString(), -30, 195, 780, 555);
  Label8->setAlignment(Qt::AlignCenter);
  QFont clock_font = Label8->font();
  clock_font.setBold(true);
  clock_font.setPointSize(12);
  Label8->setFont(clock_font);
  QPalette clock_palette = Label8->palette();
  clock_palette.setColor(QPalette::WindowText, ToQColor(kHighlightText));
  Label8->setPalette(clock_palette);
  Label8->setVisible(false);

  Label3 =
      MakeLabel(client, QStringLiteral("Label3"), QStringLiteral("Label3"), 3075, 7980, 1575, 255);

  // The outline is created last so that it is drawn over the cells.
  for (int edge = 0; edge < 4; ++edge) {
    Line1[edge] = new LineShape(client);
    Line1[edge]->setObjectName(Indexed("Line1", edge));
    Line1[edge]->setVisible(false);
  }
}

void Form1::BuildSidePanels() {
  struct PanelLayout {
    const char* caption;
    int left, top, width, height;
    int piece_left, blocker_left;
    std::uint32_t piece_color;
  };
  const PanelLayout panels[2] = {{"Player1", 5490, 15, 945, 5445, 540, 165, kRed},
                                 {"Player2", 6480, 15, 945, 5460, 525, 135, kBlue}};
  for (int side = 0; side < 2; ++side) {
    const PanelLayout& p = panels[side];
    Frame1[side] = Frame(client, Indexed("Frame1", side), QString::fromLatin1(p.caption), p.left,
                         p.top, p.width, p.height);
    for (int i = 0; i < kPiecesPerSide; ++i) {
      const int index = side * kPiecesPerSide + i;
      Label5[index] = BoxLabel(Frame1[side], Indexed("Label5", index), p.piece_left, 5100 - 255 * i,
                               225, 240, p.piece_color);
    }
    for (int i = 0; i < kBlockersPerSide; ++i) {
      const int index = side * kBlockersPerSide + i;
      Label2[index] = BoxLabel(Frame1[side], Indexed("Label2", index), p.blocker_left,
                               5100 - 255 * i, 225, 240, kWindowBackground);
    }
    // The turn lamp fills the free top of the column of blocker markers,
    // left of the piece markers; it is off until a game starts.
    TurnMarker[side] = new TurnLamp(Frame1[side]);
    TurnMarker[side]->setObjectName(Indexed("TurnMarker", side));
    TurnMarker[side]->setGeometry(TwipRect(60, 300, 435, 900));
  }
}

void Form1::BuildOptionPanel() {
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
  // Frame5 is full: Master, the searching strength, takes the free place
  // beside "VS CPU", in the strength buttons' group.
  Option2[4] = Place<QRadioButton>(Frame2, Indexed("Option2", 4), QStringLiteral("Master"), 1260,
                                   210, 1035, 225);
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

  // Explicit groups: Qt's automatic exclusivity would also reach into the
  // strength buttons nested in Frame5.
  auto* modes = new QButtonGroup(Frame2);
  for (int i = 0; i < 3; ++i)
    modes->addButton(Option1[i], i);
  auto* strength_group = new QButtonGroup(Frame5);
  for (int i = 0; i < 5; ++i)
    strength_group->addButton(Option2[i], i);

  Option1[0]->setChecked(true);
  Check2->setChecked(true);
  Frame3->setEnabled(false);
  Command1[0]->setEnabled(false);
  Command1[1]->setEnabled(false);
  for (int i = 0; i < 3; ++i) {
    connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
  }
}

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

  Timer1 = &online_.MoveClockTimer();
  Winsock1 = &winsock1_;
  Winsock2 = &winsock2_;
  winsock1_.setObjectName(QStringLiteral("Winsock1"));
  winsock2_.setObjectName(QStringLiteral("Winsock2"));
  connect(Text2, &QLineEdit::returnPressed, this, [this] { SendChatLine(Text2, false); });
  for (int i = 0; i < 2; ++i) {
    connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
  }
}

void Form1::BuildMenus() {
  auto action = [this](QMenu* menu, const char* name, const QString& caption,
                       void (Form1::*handler)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  QMenu* game_menu = menuBar()->addMenu(tr("ゲーム(&G)"));
  game_menu->setObjectName(QStringLiteral("Mnu_Game"));
  Mnu_NewGame = action(game_menu, "Mnu_NewGame", tr("新規ゲーム(&N)"), &Form1::Mnu_NewGame_Click);
  Mnu_GameEnd =
      action(game_menu, "Mnu_GameEnd", tr("このゲームを終了(&E)"), &Form1::Mnu_GameEnd_Click);
  Mnu_End = action(game_menu, "Mnu_End", tr("終了(&Q)"), &Form1::Mnu_End_Click);

  QMenu* option_menu = menuBar()->addMenu(tr("オプション(&O)"));
  option_menu->setObjectName(QStringLiteral("Mnu_Option"));
  Mnu_Format = action(option_menu, "Mnu_Format", tr("記録の初期化(&F)"), &Form1::Mnu_Format_Click);
  Mnu_ChangeName = action(option_menu, "Mnu_ChangeName", tr("プレーヤーネームの変更(&C)"),
                          &Form1::Mnu_ChangeName_Click);

  Mnu_About = menuBar()->addAction(QStringLiteral("About(&A)"));
  Mnu_About->setObjectName(QStringLiteral("Mnu_About"));
  connect(Mnu_About, &QAction::triggered, this, &Form1::Mnu_About_Click);
}

}  // namespace vexa::app
