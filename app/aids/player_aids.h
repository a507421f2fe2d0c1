#pragma once

// What the main window offers beyond the game itself: the marks of the
// latest turns, undo, the hint, the keyboard's cursor, game records with
// their replay, and help for a newcomer. It owns the menu items of these
// ("Mnu_Undo", "Mnu_Hint", "Mnu_SaveRecord", "Mnu_OpenRecord", "Mnu_Replay"
// with its steps, "Mnu_Analyse", "Mnu_Rules"), the line over the board that
// says how to begin ("StartHint"), the status bar's line ("StatusLine") and
// the analysis of a replayed game.

#include <QCoreApplication>
#include <QString>
#include <functional>

#include "app/aids/hint_aid.h"
#include "app/aids/keyboard_play.h"
#include "app/aids/replay_aid.h"
#include "app/board/board_view.h"
#include "app/window/option_panel.h"
#include "core/game.h"
#include "core/game_record.h"
#include "core/task.h"
#include "cpu/cell_source.h"
#include "cpu/search_runner.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMainWindow;
class QWidget;

namespace vexa::app {

// Assembles the aids (the hint, the keyboard's cursor, records with their
// replay and analysis) with undo and the rules text: their menu items, when
// each is usable, the status line and the marks on the board.
class PlayerAids {
  // Its texts belong to the main window's translations.
  Q_DECLARE_TR_FUNCTIONS(vexa::app::Form1)

 public:
  // What the aids use of the main window.
  struct Window {
    QMainWindow* window;
    QWidget* client;
    Game& game;
    BoardView& board;
    OptionPanel& options;
    SearchRunner& runner;
    CellSource& random;
    TaskGroup& tasks;
    QString data_folder;  // where the games' records are kept
    // A mouse button pressed on a cell, as the board reports it.
    std::function<void(int cell, int button)> place;
    std::function<void(PanelCode, bool)> set_option_controls;
    // The record of the game in the state it is in, with that ending.
    std::function<GameRecord(const Outcome&)> record_of;
  };

  explicit PlayerAids(Window window);
  PlayerAids(const PlayerAids&) = delete;
  PlayerAids& operator=(const PlayerAids&) = delete;

  // Adds the items to the game menu before "終了" (`Mnu_End`), the start
  // line and the status bar.
  void Build(QAction* Mnu_End);

  // The start line's text in the language in place (the menu items' are
  // the window's).
  void Retranslate();
  // The menu items and help lines as the game now stands; the marks too.
  void Update();
  void RefreshMarks();
  // A person at this machine is to move (not the computer, not the peer,
  // not in a replay).
  bool PersonToMove() const;

  // --- What the game tells the aids.
  // A placement or a new board: a hint still searching or on show is for
  // the position before it.
  void PositionChanged();
  // A game ended: its record, for "棋譜を保存" and "棋譜を解析".
  void GameRecorded(GameRecord record) {
    replay_.GameRecorded(std::move(record));
    Update();
  }
  // A line for the status bar that stays until the next placement or the
  // next board (a blocker lost to the clock, a game lost on time).
  void Notice(QString text) {
    notice_ = std::move(text);
    Update();
  }

  void Undo();
  void Hint();
  void Analyse() { replay_.Analyse(); }
  bool Analysing() const { return replay_.Analysing(); }
  // Arrow keys, Enter, Space and B while a person is to move, Escape while
  // a hint searches or is on show; false for a key the aids do not take.
  bool KeyPressed(QKeyEvent* event);

  Task<> OpenRecordFile(QString path) { return replay_.OpenRecordFile(std::move(path)); }
  bool InReplay() const { return replay_.InReplay(); }
  int ReplayStep() const { return replay_.Step(); }
  void LeaveReplay() { replay_.Leave(); }
  // The cell the keyboard places on.
  int KeyboardCursor() const { return keyboard_.Cell(); }

 private:
  // The status bar's line as the window now stands.
  QString StatusText() const;

  Window w_;
  QAction* Mnu_Undo = nullptr;
  QAction* Mnu_Hint = nullptr;
  QAction* Mnu_SaveRecord = nullptr;
  QAction* Mnu_OpenRecord = nullptr;
  QAction* Mnu_ReplayBack = nullptr;
  QAction* Mnu_ReplayForward = nullptr;
  QAction* Mnu_ReplayStart = nullptr;
  QAction* Mnu_ReplayEnd = nullptr;
  QAction* Mnu_Analyse = nullptr;
  QAction* Mnu_Rules = nullptr;
  QLabel* StartHint = nullptr;
  // The status bar's line: replay steps, analysis, hint, notices.
  QLabel* StatusLine = nullptr;

  HintAid hint_;
  KeyboardPlay keyboard_;
  ReplayAid replay_;
  // A game was begun since the program started: the start line has done
  // its work and no longer covers the board.
  bool game_begun_ = false;
  QString notice_;
};

}  // namespace vexa::app
