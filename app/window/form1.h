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

#include "app/aids/player_aids.h"
#include "app/board/board_paint.h"
#include "app/board/board_view.h"
#include "app/board/board_widgets.h"
#include "app/online/online_play.h"
#include "app/records/records_file.h"
#include "app/window/language.h"
#include "app/window/option_panel.h"
#include "app/window/window_shell.h"
#include "core/game.h"
#include "core/game_record.h"
#include "core/game_shell.h"
#include "core/task.h"
#include "cpu/cell_source.h"
#include "cpu/cpu_player.h"
#include "cpu/reach_lists.h"
#include "cpu/search_runner.h"

namespace vexa::app {

// Where this program keeps its records.
struct ProgramPlaces {
  QString program_folder;  // the folder of the executable
  QString data_folder;     // the user's data folder, for an installed program
  QString settings_file;   // the preferences (INI); empty for the user's own
};

class Form1 : public QMainWindow {
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
  void SetPauseOverride(std::optional<int> milliseconds) { shell_.SetPauseOverride(milliseconds); }
  // The computer player, whose Master search a test may limit.
  CpuPlayer& cpu() { return cpu_; }

  Game& game() { return game_; }
  const Game& game() const { return game_; }
  // The window as the rules see it; online play.
  WindowShell& shell() { return shell_; }
  OnlinePlay& online_play() { return online_; }

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
  void Mnu_Undo_Click() { aids_->Undo(); }
  void Mnu_Hint_Click() { aids_->Hint(); }
  // Reads a record and shows it in the replay state; a bad record is told
  // with the line at fault and changes nothing.
  Task<> OpenRecordFile(QString path) { return aids_->OpenRecordFile(std::move(path)); }
  bool InReplay() const { return aids_->InReplay(); }
  // An analysis of the replayed game is still weighing its turns.
  bool Analysing() const { return aids_->Analysing(); }
  // A search runs on the program's search runner.
  bool Searching() const { return search_runner_.Busy(); }
  int ReplayStep() const { return aids_->ReplayStep(); }
  // The cell the keyboard places on.
  int KeyboardCursor() const { return aids_->KeyboardCursor(); }

  // Once the player's name is known (at the end of Main, or at once when it
  // has ended): "VS Online", the host and port in the panel, and a join.
  // What an invitation link on the command line asks for.
  void JoinWhenReady(const QString& host, int port);
  // Once the window is shown: the record at `path` in its replay. What a
  // record file on the command line asks for (a file manager's "open").
  void OpenRecordWhenReady(const QString& path) { pending_record_ = path; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void SaveRecords();
  void ShowRecords();

  void BuildOtherControls();
  void BuildMenus();
  void BuildLanguageMenu();
  // Every caption again from its source text, in the language in place.
  void RetranslateUi();
  void SetMenuCaptions();

  Task<> LoadRecords();
  Task<> RecordsReset();
  Task<> AskToQuit();
  Task<> ReportSaveFailure(QString path);
  void SetPlayerName(const QString& name);

  // --- Controls, private: tests and tools find each by its Qt object name,
  // which is its name with "_index" for an array element. What each one is:
  //
  //   client         the fixed client area all controls stand on
  //   (the board and the side panels: see BoardView)
  //   (the option panel and the connection fields: see OptionPanel)
  //   Frame4         the records panel ("通算成績")
  //   Label7[5]      the records: games, wins, losses, draws, winning rate
  //   Text2          the chat input under the board
  //   List3          the chat lines
  //   Command2       "リーチをすべて列挙" (below the visible area)
  //   List1[2]       reach cells of sides 1 and 2 (below the visible area)
  //   List2[2]       pre-reach cells of sides 1 and 2 (below the visible area)
  //   Timer1         the move clock's one-second timer
  //   Winsock1/2     the game connection (port P) and the chat (port P + 1),
  //                  children of the connection object (net::GameConnection)
  //   Mnu_*          the menu items, named after their commands
  QWidget* client;
  QGroupBox* Frame4;
  QLabel* Label7[5];
  QLineEdit* Text2;
  QListWidget* List3;
  QPushButton* Command2;
  QListWidget* List1[2];
  QListWidget* List2[2];
  QTimer* Timer1;
  QAction* Mnu_NewGame;
  QAction* Mnu_GameEnd;
  QAction* Mnu_End;
  QAction* Mnu_Format;
  QAction* Mnu_ChangeName;
  QAction* Mnu_Shapes;       // "形でも区別": signs on the pieces beside their colours
  QAction* Mnu_Coordinates;  // "座標を表示": the cells' names around the board
  QAction* Mnu_About;
  QAction* Mnu_PortMapping;
  QAction* Mnu_Lobby;
  QAction* Mnu_LobbySettings;

  // "言語 / Language" in the option menu: 日本語 and English.
  QAction* Mnu_Japanese = nullptr;
  QAction* Mnu_English = nullptr;

  std::unique_ptr<QSettings> settings_;
  // The board and the side panels; the option panel.
  std::unique_ptr<BoardView> board_;
  std::unique_ptr<OptionPanel> options_;
  // Undo, the hint, the keyboard, records and their replay.
  std::unique_ptr<PlayerAids> aids_;
  SeededCellSource random_cells_;
  // Every search of this program: Master's moves and the hint. Its workers
  // hand results to this window's event loop.
  SearchRunner search_runner_;
  WindowShell shell_;
  Game game_{shell_};
  ReachLists reach_lists_;
  // The folder of the executable, with a slash at its end.
  QString program_folder_;
  CpuPlayer cpu_{game_, search_runner_, random_cells_};
  ProgramPlaces places_;
  RecordsLocation records_location_;
  bool save_failure_reported_ = false;
  bool quit_confirmed_ = false;
  OnlinePlay online_{this, *settings_, game_, tasks_};
  // A join asked for before the player's name was known.
  std::optional<std::pair<QString, int>> pending_join_;
  std::optional<QString> pending_record_;
  bool started_ = false;
  // Last, so that the waits it owns end before anything they refer to.
  TaskGroup tasks_;
};

}  // namespace vexa::app
