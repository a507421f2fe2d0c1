#pragma once

// The main window: the board, the side panels, the option panel, the
// connection fields, the records, the chat and the menus. One Form1 is one
// running program: it owns the game, the computer player, the records and
// every dialog and wait it starts.

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <memory>
#include <optional>

#include "app/board_paint.h"
#include "app/board_widgets.h"
#include "app/language.h"
#include "app/records_file.h"
#include "core/game.h"
#include "core/game_record.h"
#include "core/game_shell.h"
#include "core/task.h"
#include "cpu/cell_source.h"
#include "cpu/cpu_player.h"
#include "cpu/reach_lists.h"
#include "cpu/search_runner.h"
#include "net/online_session.h"
#include "net/online_windows.h"
#include "net/winsock_adapter.h"
#include "net/winsock_link.h"

namespace vexa::app {

class Form3;
class Form4;
class Form5;
class Form7;

// Where this program keeps its records.
struct ProgramPlaces {
  QString program_folder;  // the folder of the executable
  QString data_folder;     // the user's data folder, for an installed program
  QString settings_file;   // the preferences (INI); empty for the user's own
};

class Form1 : public QMainWindow, public GameShell, public net::OnlineWindows {
  Q_OBJECT
 public:
  // `seed` seeds the computer player's random cells once for this run.
  Form1(ProgramPlaces places, std::uint64_t seed);
  ~Form1() override;

  // Start-up: reads the records (or asks for a name on the first run), fills
  // the panels and shows the window.
  Task<> Main();
  // Runs a coroutine owned by this program.
  void Start(Task<> task) { tasks_.Start(std::move(task)); }
  // How many of its coroutines still wait (a test waits for none).
  std::size_t PendingTasks() const { return tasks_.Pending(); }
  // Makes every pause this long instead (tests, screenshots).
  void SetPauseOverride(std::optional<int> milliseconds) { pause_override_ = milliseconds; }
  // The computer player, whose Master search a test may limit.
  CpuPlayer& cpu() { return cpu_; }

  Game game{*this};
  ReachLists reach_lists;
  QString ProgramFolder;

  // --- Controls. Each keeps the name the program's design gives it (its Qt
  // object name is that name, with "_index" for an array element); what
  // each one is:
  //
  //   client         the fixed client area all controls stand on
  //   Label4         the board's green background
  //   Label1[121]    the board's cells, indexed like the board
  //   Line1[4]       the outline of a completed square
  //   Label8         seconds left on the move clock ("Excite")
  //   Label3         coordinates of the last clicked cell
  //   Frame1[2]      the side panels, captioned with the sides' names
  //   TurnMarker[2]  the side panels' lamps: lit for the side to move
  //   Label5[40]     piece markers: 0..19 side 1's, 20..39 the other side's
  //   Label2[12]     blocker markers: 0..5 side 1's, 6..11 the other side's
  //   Frame2         the option panel ("GameMode")
  //   Option1[3]     the modes: "VS CPU", "VS Human", "VS Online"
  //   Check1         "CPUが先攻"
  //   Check2         "Player1が先攻"
  //   Frame5         the strengths ("CPUレベル")
  //   Option2[5]     the strengths: "Easy", "Normal", "Hard", "VeryHard", and
  //                  "Master" beside "VS CPU"
  //   Frame3         the connection panel ("接続の設定")
  //   Command1[2]    "ゲームを主催" (host), "ゲームに参加" (join)
  //   Label6[3]      the connection fields' captions
  //   Text1[3]       the host's address, the port, the player's name
  //   Frame4         the records panel ("通算成績")
  //   Label7[5]      the records: games, wins, losses, draws, winning rate
  //   Text2          the chat input under the board
  //   List3          the chat lines
  //   Command2       "リーチをすべて列挙" (below the visible area)
  //   List1[2]       reach cells of sides 1 and 2 (below the visible area)
  //   List2[2]       pre-reach cells of sides 1 and 2 (below the visible area)
  //   Timer1         the move clock's one-second timer
  //   Winsock1/2     the game connection (port P) and the chat (port P + 1)
  //   Mnu_*          the menu items, named after their commands
  QWidget* client;
  QLabel* Label4;
  CellLabel* Label1[kCellCount];
  LineShape* Line1[4];
  QLabel* Label8;
  QLabel* Label3;
  QGroupBox* Frame1[2];
  TurnLamp* TurnMarker[2];
  QLabel* Label5[2 * kPiecesPerSide];
  QLabel* Label2[2 * kBlockersPerSide];
  QGroupBox* Frame2;
  QRadioButton* Option1[3];
  QCheckBox* Check1;
  QCheckBox* Check2;
  QGroupBox* Frame5;
  QRadioButton* Option2[5];
  QGroupBox* Frame3;
  QPushButton* Command1[2];
  QLabel* Label6[3];
  QLineEdit* Text1[3];
  QGroupBox* Frame4;
  QLabel* Label7[5];
  QLineEdit* Text2;
  QListWidget* List3;
  QPushButton* Command2;
  QListWidget* List1[2];
  QListWidget* List2[2];
  QTimer* Timer1;
  net::Winsock* Winsock1;
  net::Winsock* Winsock2;
  QAction* Mnu_NewGame;
  QAction* Mnu_GameEnd;
  QAction* Mnu_End;
  QAction* Mnu_Format;
  QAction* Mnu_ChangeName;
  QAction* Mnu_About;

  // The controls the code names most often, by what they are.
  QLineEdit* HostAddressBox() const { return Text1[0]; }
  QLineEdit* PortBox() const { return Text1[1]; }
  QLineEdit* PlayerNameBox() const { return Text1[2]; }
  QLineEdit* ChatInput() const { return Text2; }
  QListWidget* ChatList() const { return List3; }
  QLabel* ClockDisplay() const { return Label8; }
  // Beyond the original controls: undo, hint, records and their replay,
  // the rules, and the line over the board that says how to begin.
  QAction* Mnu_Undo = nullptr;
  QAction* Mnu_Hint = nullptr;
  QAction* Mnu_SaveRecord = nullptr;
  QAction* Mnu_OpenRecord = nullptr;
  QAction* Mnu_ReplayBack = nullptr;
  QAction* Mnu_ReplayForward = nullptr;
  QAction* Mnu_ReplayStart = nullptr;
  QAction* Mnu_ReplayEnd = nullptr;
  QAction* Mnu_Rules = nullptr;
  QLabel* StartHint = nullptr;
  // "言語 / Language" in the option menu: 日本語 and English.
  QAction* Mnu_Japanese = nullptr;
  QAction* Mnu_English = nullptr;
  // Shows every window in `language` at once and keeps the choice.
  void SetLanguage(Language language);

  // --- Event handlers.
  void Label1_MouseDown(int index, int button);
  void Option1_Click(int index);
  void Mnu_NewGame_Click();
  void Mnu_GameEnd_Click();
  void Command2_Click();
  void Mnu_End_Click();
  void Mnu_Format_Click();
  void Mnu_ChangeName_Click();
  void Mnu_About_Click();
  void Mnu_Undo_Click();
  void Mnu_Hint_Click();
  // Reads a record and shows it in the replay state; a bad record is told
  // with the line at fault and changes nothing.
  Task<> OpenRecordFile(QString path);
  bool InReplay() const { return replay_.has_value(); }
  int ReplayStep() const { return replay_ ? replay_->step : 0; }
  // The cell the keyboard places on.
  int KeyboardCursor() const { return cursor_; }
  // Host (0) or join (1).
  void Command1_Click(int index);
  void Winsock1_ConnectionRequest(int request_id);
  void Winsock2_ConnectionRequest(int request_id);
  void Winsock1_Connect();
  // Enter in a chat input: the line goes to the peer and into both lists.
  void SendChatLine(QLineEdit* input, bool typed_in_settings);

  net::OnlineSession& online() { return online_; }
  // The settings dialog, created and loaded when first needed.
  Form4* SettingsDialog();
  void CloseForm7();

  // --- GameShell.
  GameMode Mode() const override;
  CpuStrength Strength() const override;
  bool CpuMovesFirst() const override;
  bool Player1MovesFirst() const override;
  std::string LocalPlayerName() const override;
  void GameStarted(GameMode mode) override;
  void BoardReset() override;
  void MovePlayed(const Move& move) override;
  void StocksChanged() override;
  void MoveHandedTo(Side side) override;
  void SquareFound(const SquareCorners& square, Side side) override;
  void GameEnded(const Outcome& outcome) override;
  void RecordsChanged() override;
  void CellClicked(int cell) override;
  void SetOptionControls(PanelCode panel_code, bool editable) override;
  void EnableOptionPanel() override;
  Task<> Pause(int milliseconds) override;
  Task<> ShowResult(const std::string& text) override;
  Task<> ChooseSettings() override;

  // --- net::OnlineWindows.
  void SelectFirstMover(int index) override;
  void SelectGameOption(int index) override;
  void SetTimeLimitText(const QString& text) override;
  QString TimeLimitText() override;
  bool ExciteSelected() override;
  void EndSettings() override;
  void DropSettings() override;
  void ForgetSettings() override;
  void ClearWayForSettings() override;
  Task<> TellOpponentLeft() override;
  void PlayersNamed(const QString& left, const QString& right) override;
  void ClockTicked(int seconds) override;
  void ClockStopped() override;
  void Beep() override;
  void AppendChatLine(const QString& line) override;
  void ConnectionEnded() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The board's widgets: cells, stock markers, outline.
  void PaintCell(int cell, Color color);
  void ShowBoard(const BoardCells& board);
  // The markers of the left and the right panel's stocks.
  void ShowStocks(const int (&pieces)[2], const int (&blockers)[2]);
  void ShowGameBoard();
  void ShowGameStocks();
  void SetSideCaptions(const QString& left, const QString& right);
  void DrawOutline(const OutlineEnds& ends, Color color);
  void HideOutline();
  void SaveRecords();
  void ShowRecords();

  void BuildBoard();
  void BuildSidePanels();
  void BuildOptionPanel();
  void BuildOtherControls();
  void BuildMenus();
  void BuildAids();
  void BuildLanguageMenu();
  // Every caption again from its source text, in the language in place.
  void RetranslateUi();

  // A person at this machine is to move (not the computer, not the peer,
  // not in a replay).
  bool PersonToMove() const;
  // The menu items and help lines as the game now stands; the marks too.
  void UpdateAids();
  void RefreshMarks();
  Task<> ShowHint();
  Task<> SaveRecordAs();
  Task<> OpenRecord();
  void ShowReplayStep(int step);
  void LeaveReplay();

  void ConnectSockets();
  Task<> HostOrJoin(int index);
  Task<> Form3_Command1_Click();
  // The guest's wait for the host after a game or the connection dialog;
  // not while the settings dialog is shown or on its way.
  Task<> ShowForm7();

  // The record of the game in the state it is in, with that ending.
  GameRecord RecordOf(const Outcome& outcome) const;

  Task<> LoadRecords();
  Task<> RecordsReset();
  Task<> AskToQuit();
  Task<> ReportSaveFailure(QString path);
  void SetPlayerName(const QString& name);

  std::unique_ptr<QSettings> settings_;
  SeededCellSource random_cells_;
  // Every search of this program: Master's moves and the hint. Its workers
  // hand results to this window's event loop.
  SearchRunner search_runner_;
  CpuPlayer cpu_{game, search_runner_, random_cells_};
  ProgramPlaces places_;
  RecordsLocation records_location_;
  std::optional<int> pause_override_;
  bool save_failure_reported_ = false;
  bool quit_confirmed_ = false;
  net::Winsock winsock1_;
  net::Winsock winsock2_;
  net::WinsockLink link_{winsock1_, winsock2_};
  net::OnlineSession online_{game, *this, link_, tasks_};
  QPointer<Form3> form3_;
  QPointer<Form4> form4_;
  QPointer<Form5> form5_;
  QPointer<Form7> form7_;
  // The record of the game that ended last, for "棋譜を保存".
  std::optional<GameRecord> last_record_;
  // An opened record on show instead of a game.
  struct Replay {
    GameRecord record;
    std::vector<RecordPosition> positions;
    std::optional<Outcome> board_outcome;
    int step = 0;
  };
  std::optional<Replay> replay_;
  // The hint on show, until the next placement.
  std::vector<Move> hint_;
  bool hint_pending_ = false;
  // Counts hint requests: a search answers only the newest one.
  int hint_request_ = 0;
  // How long the hint's search thinks.
  static constexpr int kHintSearchMs = 700;
  int cursor_ = 60;
  // Last, so that the waits it owns end before anything they refer to.
  TaskGroup tasks_;
};

}  // namespace vexa::app
