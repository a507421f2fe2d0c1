// The main window as the rules see it: what they show and what they ask.

#include "app/board_paint.h"
#include "app/form1.h"
#include "app/form5.h"
#include "app/form7.h"
#include "app/message_box.h"
#include "app/twips.h"
#include "net/qt_await.h"

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

GameMode Form1::Mode() const {
  return static_cast<GameMode>(SelectedIndex(Option1, 0));
}

CpuStrength Form1::Strength() const {
  return static_cast<CpuStrength>(SelectedIndex(Option2, 3));
}

bool Form1::CpuMovesFirst() const {
  return Check1->isChecked();
}

bool Form1::Player1MovesFirst() const {
  return Check2->isChecked();
}

std::string Form1::LocalPlayerName() const {
  return PlayerNameBox()->text().toStdString();
}

// --- What happened in the game, shown ---------------------------------------------

void Form1::GameStarted(GameMode mode) {
  // An online game's panels carry the players' names, set by the session.
  if (mode == GameMode::VsCpu) SetSideCaptions(QStringLiteral("Player1"), QStringLiteral("CPU"));
  if (mode == GameMode::VsHuman) {
    SetSideCaptions(QStringLiteral("Player1"), QStringLiteral("Player2"));
  }
}

void Form1::BoardReset() {
  // A new board, or one rebuilt by an undo: the marks follow it.
  hint_.clear();
  ShowGameBoard();
  HideOutline();
  UpdateAids();
}

void Form1::MovePlayed(const Move& move) {
  PaintCell(move.cell, CellColor(game.Board()[move.cell]));
  ShowGameStocks();
  // A hint still searching is for the position before this placement.
  if (hint_pending_) search_runner_.Stop();
  hint_.clear();
  UpdateAids();
}

void Form1::StocksChanged() {
  ShowGameStocks();
}

void Form1::MoveHandedTo(Side side) {
  // Side 1's lamp is on the left, the other side's on the right.
  TurnMarker[0]->SetOn(side == Player1);
  TurnMarker[1]->SetOn(side != 0 && side != Player1);
  UpdateAids();
}

void Form1::SquareFound(const SquareCorners& square, Side side) {
  DrawOutline(OutlineOf(square), OutlineColor(side));
}

void Form1::RecordsChanged() {
  SaveRecords();
  ShowRecords();
}

void Form1::CellClicked(int cell) {
  Label3->setText(QString::fromStdString(CoordinateText(cell)));
}

// --- The board's widgets ------------------------------------------------------------

void Form1::PaintCell(int cell, Color color) {
  QPalette palette = Label1[cell]->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  Label1[cell]->setPalette(palette);
}

void Form1::ShowBoard(const BoardCells& board) {
  for (int cell = 0; cell < kCellCount; ++cell)
    PaintCell(cell, CellColor(board[cell]));
}

void Form1::ShowStocks(const int (&pieces)[2], const int (&blockers)[2]) {
  // Side 1's markers come first; a stock below zero (a peer that broke the
  // rules) shows none.
  for (int side = 0; side < 2; ++side) {
    for (int i = 0; i < kPiecesPerSide; ++i)
      Label5[i + side * kPiecesPerSide]->setVisible(i < pieces[side]);
    for (int i = 0; i < kBlockersPerSide; ++i)
      Label2[i + side * kBlockersPerSide]->setVisible(i < blockers[side]);
  }
}

void Form1::ShowGameBoard() {
  ShowBoard(game.Board());
  ShowGameStocks();
}

void Form1::ShowGameStocks() {
  const Position& p = game.CurrentPosition();
  const Side other = p.Opponent(Player1);
  ShowStocks({p.Pieces(Player1), p.Pieces(other)}, {p.Blockers(Player1), p.Blockers(other)});
}

void Form1::PlayersNamed(const QString& left, const QString& right) {
  SetSideCaptions(left, right);
}

void Form1::SetSideCaptions(const QString& left, const QString& right) {
  Frame1[1]->setTitle(right);
  Frame1[0]->setTitle(left);
}

void Form1::DrawOutline(const OutlineEnds& ends, Color color) {
  for (int edge = 0; edge < 4; ++edge)
    Line1[edge]->SetColor(ToQColor(color));
  for (int edge = 0; edge < 4; ++edge)
    Line1[edge]->SetEnds(ends.from[edge], ends.to[edge]);
  for (LineShape* line : Line1)
    line->setVisible(true);
}

void Form1::HideOutline() {
  for (LineShape* line : Line1)
    line->setVisible(false);
}

void Form1::ClockStopped() {
  ClockDisplay()->setVisible(false);
}

void Form1::SetOptionControls(PanelCode panel_code, bool editable) {
  const bool e = editable;
  Frame2->setEnabled(e);
  switch (panel_code) {
    case PanelCode::VsCpu:
      Check1->setEnabled(e);
      SetAllEnabled(Option1, e);
      Frame5->setEnabled(e);
      SetAllEnabled(Option2, e);
      SetAllEnabled(Text1, !e);
      SetAllEnabled(Command1, !e);
      Check2->setEnabled(!e);
      Frame3->setEnabled(!e);
      break;
    case PanelCode::VsHuman:
      Check2->setEnabled(e);
      SetAllEnabled(Option1, e);
      Frame5->setEnabled(!e);
      SetAllEnabled(Option2, !e);
      SetAllEnabled(Text1, !e);
      SetAllEnabled(Command1, !e);
      Check1->setEnabled(!e);
      Frame3->setEnabled(!e);
      break;
    case PanelCode::VsOnline: {
      SetAllEnabled(Option1, e);
      Frame5->setEnabled(!e);
      SetAllEnabled(Option2, !e);
      // The connection fields follow only while "VS Online" is selected.
      for (QLineEdit* text : Text1) {
        if (Option1[2]->isChecked() == e) text->setEnabled(e);
      }
      if (Option1[2]->isChecked() == e) SetAllEnabled(Command1, e);
      Check1->setEnabled(!e);
      Check2->setEnabled(!e);
      Frame3->setEnabled(e);
      break;
    }
    case PanelCode::GameRunning:
      Frame5->setEnabled(e);
      SetAllEnabled(Option2, e);
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

void Form1::EnableOptionPanel() {
  Frame2->setEnabled(true);
}

Task<> Form1::Pause(int milliseconds) {
  // "More than" the time given: one millisecond on top.
  co_await Delay(pause_override_ ? *pause_override_ : milliseconds + 1);
}

Task<> Form1::ShowResult(const std::string& text) {
  if (!form5_) form5_ = new Form5(this);
  form5_->Label1->setText(QString::fromStdString(text));
  QPointer<Form5> form5 = form5_;
  const int how = co_await RunModal(form5);
  if (form5) form5->deleteLater();
  // Closed (not hidden by the host's next step) on the joining side of an
  // online game: wait there for the host.
  if (how != Form5::kHidden && game.online.IsGuest && Option1[2]->isChecked()) {
    co_await ShowForm7();
  }
}

}  // namespace vexa::app
