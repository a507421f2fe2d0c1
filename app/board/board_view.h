#pragma once

// The board and the two side panels of the main window: the cells, the
// outline of a completed square, the stock markers, the turn lamps, the
// coordinate readout and the move clock. It owns these controls (each with
// its object name: "Label1_25", "Line1_0", "Label5_39", "Label2_11",
// "TurnMarker_1", "Frame1_0", "Label3", "Label4", "Label8") and shows what
// it is told; which state to show is the window's business.

#include <QObject>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "app/board/board_paint.h"
#include "app/board/board_widgets.h"
#include "core/board.h"
#include "core/modes.h"
#include "core/square_geometry.h"

class QGroupBox;
class QLabel;
class QWidget;

namespace vexa::app {

class BoardView {
 public:
  // Builds the controls on `client` at their places. `clicked` hears a
  // mouse button pressed on a cell: the cell and the button code.
  BoardView(QWidget* client, std::function<void(int cell, int button)> clicked);
  BoardView(const BoardView&) = delete;
  BoardView& operator=(const BoardView&) = delete;

  void PaintCell(int cell, std::int16_t value);
  // Signs on the pieces and an edge on the outline beside the colours.
  void SetShapes(bool on);
  // The column letters and row numbers in the board's margin
  // ("BoardCoordinates"); off until asked for.
  void SetCoordinates(bool on);
  void ShowBoard(const BoardCells& board);
  // The markers of the left and the right panel's stocks; a stock below
  // zero (a peer that broke the rules) shows none.
  void ShowStocks(const int (&pieces)[2], const int (&blockers)[2]);
  // The lamp of the side to move: side 1's on the left, any other side's on
  // the right, none for 0.
  void LightLamp(Side side);
  void SetCaptions(const QString& left, const QString& right);
  // The captions a game of `mode` begins with at this machine: "Player1"
  // and "CPU" or "Player2"; online, where the session names the players when
  // a game begins, "Player1" and "Player2" as at start-up.
  void ShowOwnCaptions(GameMode mode);
  QString Caption(int panel) const;
  void DrawOutline(const SquareCorners& square, Side side);
  void HideOutline();
  // The marks drawn over each cell (CellLabel::Mark bits).
  void SetMarks(const int (&marks)[kCellCount]);
  // Short texts beside cells (the hint's candidates), "HintNote_0" on; at
  // most three, the rest hidden.
  void SetNotes(const std::vector<std::pair<int, QString>>& notes);
  void ShowReadout(int cell);
  void ShowClock(int seconds);
  void HideClock();
  // Redraws what is drawn from texts of the language in place.
  void Retranslate();
  // Puts the outline above every control created after the board.
  void RaiseOutline();

 private:
  void BuildBoard(QWidget* client, const std::function<void(int, int)>& clicked);
  void BuildSidePanels(QWidget* client);

  QLabel* Label4;                 // the board's green background
  QWidget* coordinates_;          // the cells' names in its margin
  CellLabel* Label1[kCellCount];  // the cells, indexed like the board
  LineShape* Line1[4];            // the outline of a completed square
  bool shapes_ = false;
  std::int16_t painted_[kCellCount] = {};  // the value each cell shows
  QLabel* Label8;                          // seconds left on the move clock ("Excite")
  QLabel* Label3;                          // coordinates of the last clicked cell
  QGroupBox* Frame1[2];                    // the side panels, captioned with the sides' names
  TurnLamp* TurnMarker[2];                 // the side panels' lamps: lit for the side to move
  CellLabel* Label5[2 * kPiecesPerSide];   // piece markers: side 1's first
  QLabel* Label2[2 * kBlockersPerSide];    // blocker markers: side 1's first
  QLabel* HintNote[3] = {};                // made when first needed
};

}  // namespace vexa::app
