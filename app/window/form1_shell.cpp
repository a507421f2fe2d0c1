// The main window as the rules see it: what they show and what they ask.

#include "app/window/form1.h"
#include "app/dialogs/form5.h"
#include "app/dialogs/form7.h"
#include "app/dialogs/message_box.h"
#include "app/window/twips.h"
#include "net/qt_await.h"

namespace vexa::app {

GameMode Form1::Mode() const {
  return options_->Mode();
}

CpuStrength Form1::Strength() const {
  return options_->Strength();
}

bool Form1::CpuMovesFirst() const {
  return options_->CpuMovesFirst();
}

bool Form1::Player1MovesFirst() const {
  return options_->Player1MovesFirst();
}

std::string Form1::LocalPlayerName() const {
  return options_->PlayerName().toStdString();
}

// --- What happened in the game, shown ---------------------------------------------

void Form1::GameStarted(GameMode mode) {
  // An online game's panels carry the players' names, set by the session.
  if (mode != GameMode::VsOnline) board_->ShowOwnCaptions(mode);
}

void Form1::BoardReset() {
  ShowGameBoard();
  board_->HideOutline();
  // A new board, or one rebuilt by an undo: the marks follow it.
  aids_->PositionChanged();
}

void Form1::MovePlayed(const Move& move) {
  board_->PaintCell(move.cell, game.Board()[move.cell]);
  ShowGameStocks();
  aids_->PositionChanged();
}

void Form1::BlockerForfeited(Side side) {
  ShowGameStocks();
  aids_->Notice(side == Player1 ? tr("時間切れ: ブロッカーを一つ失いました")
                                : tr("相手の時間切れ: 相手のブロッカーが一つ減りました"));
}

void Form1::MoveHandedTo(Side side) {
  board_->LightLamp(side);
  aids_->Update();
}

void Form1::SquareFound(const SquareCorners& square, Side side) {
  board_->DrawOutline(square, side);
}

void Form1::RecordsChanged() {
  SaveRecords();
  ShowRecords();
}

void Form1::CellClicked(int cell) {
  board_->ShowReadout(cell);
}

void Form1::ShowGameBoard() {
  board_->ShowBoard(game.Board());
  ShowGameStocks();
}

void Form1::ShowGameStocks() {
  const Position& p = game.CurrentPosition();
  const Side other = p.Opponent(Player1);
  board_->ShowStocks({p.Pieces(Player1), p.Pieces(other)},
                     {p.Blockers(Player1), p.Blockers(other)});
}

void Form1::PlayersNamed(const QString& left, const QString& right) {
  // An online game begins: a replay left open gives way to it.
  aids_->LeaveReplay();
  board_->SetCaptions(left, right);
}

void Form1::ClockStopped() {
  board_->HideClock();
}

void Form1::SetOptionControls(PanelCode panel_code, bool editable) {
  options_->SetOptionControls(panel_code, editable);
}

void Form1::EnableOptionPanel() {
  options_->EnablePanel();
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
  if (how != Form5::kHidden && game.online.IsGuest && Mode() == GameMode::VsOnline) {
    co_await ShowForm7();
  }
}

}  // namespace vexa::app
