#include "app/window/window_shell.h"

#include <QDateTime>

#include "app/dialogs/form5.h"
#include "app/dialogs/message_box.h"
#include "app/records/game_record_files.h"
#include "net/qt_await.h"

namespace vexa::app {

GameMode WindowShell::Mode() const {
  return p_.options->Mode();
}

CpuStrength WindowShell::Strength() const {
  return p_.options->Strength();
}

bool WindowShell::CpuMovesFirst() const {
  return p_.options->CpuMovesFirst();
}

bool WindowShell::Player1MovesFirst() const {
  return p_.options->Player1MovesFirst();
}

std::string WindowShell::LocalPlayerName() const {
  return p_.options->PlayerName().toStdString();
}

// --- What happened in the game, shown ---------------------------------------------

void WindowShell::GameStarted(GameMode mode) {
  // An online game's panels carry the players' names, set by the session.
  if (mode != GameMode::VsOnline) p_.board->ShowOwnCaptions(mode);
}

void WindowShell::BoardReset() {
  ShowGameBoard();
  p_.board->HideOutline();
  // A new board, or one rebuilt by an undo: the marks follow it.
  p_.aids->PositionChanged();
}

void WindowShell::MovePlayed(const Move& move) {
  p_.board->PaintCell(move.cell, p_.game->Board()[move.cell]);
  ShowGameStocks();
  p_.aids->PositionChanged();
}

void WindowShell::BlockerForfeited(Side side) {
  ShowGameStocks();
  p_.aids->Notice(side == Player1 ? tr("時間切れ: ブロッカーを一つ失いました")
                                  : tr("相手の時間切れ: 相手のブロッカーが一つ減りました"));
}

void WindowShell::MoveHandedTo(Side side) {
  p_.board->LightLamp(side);
  p_.aids->Update();
}

void WindowShell::SquareFound(const SquareCorners& square, Side side) {
  p_.board->DrawOutline(square, side);
}

void WindowShell::RecordsChanged() {
  p_.records_changed();
}

void WindowShell::CellClicked(int cell) {
  p_.board->ShowReadout(cell);
}

void WindowShell::ShowGameBoard() {
  p_.board->ShowBoard(p_.game->Board());
  ShowGameStocks();
}

void WindowShell::ShowGameStocks() {
  const Position& p = p_.game->CurrentPosition();
  const Side other = p.Opponent(Player1);
  p_.board->ShowStocks({p.Pieces(Player1), p.Pieces(other)},
                       {p.Blockers(Player1), p.Blockers(other)});
}

void WindowShell::SetOptionControls(PanelCode panel_code, bool editable) {
  p_.options->SetOptionControls(panel_code, editable);
}

void WindowShell::EnableOptionPanel() {
  p_.options->EnablePanel();
}

// --- Records of games: each game that ends is written to the data folder's
// games folder as it ends.

GameRecord WindowShell::RecordOf(const Outcome& outcome) const {
  return RecordOfGame({.date = QDateTime::currentDateTime().toString(Qt::ISODate).toStdString(),
                       .mode = Mode(),
                       .left = p_.board->Caption(0).toStdString(),
                       .right = p_.board->Caption(1).toStdString(),
                       .strength = Strength(),
                       .history = &p_.game->History(),
                       .outcome = outcome,
                       .result_text = p_.game->ResultText(outcome.winner)});
}

void WindowShell::GameEnded(const Outcome& outcome) {
  // The result dialog names only the winner; the status bar beside it says
  // that the clock decided.
  if (outcome.how == EndReason::Time) p_.aids->Notice(tr("時間切れで負けました"));
  if (outcome.how == EndReason::PeerLose) p_.aids->Notice(tr("相手の時間切れで勝ちました"));
  const GameRecord record = RecordOf(outcome);
  p_.aids->GameRecorded(record);
  const QString folder = GamesFolder(p_.data_folder);
  // A record that cannot be written costs nothing of the game: it is still
  // there to be saved by hand.
  if (SaveRecordFile(NewRecordPath(folder, QDateTime::currentDateTime()), record)) {
    PruneRecordFiles(folder);
  }
}

// --- The waits -------------------------------------------------------------------

Task<> WindowShell::Pause(int milliseconds) {
  // "More than" the time given: one millisecond on top.
  co_await Delay(pause_override_ ? *pause_override_ : milliseconds + 1);
}

Task<> WindowShell::ShowResult(const std::string& text) {
  if (!form5_) form5_ = new Form5(p_.window);
  form5_->SetText(QString::fromStdString(text));
  QPointer<Form5> form5 = form5_;
  const int how = co_await RunModal(form5);
  if (form5) form5->deleteLater();
  // Closed (not hidden by the host's next step) on the joining side of an
  // online game: wait there for the host.
  if (how != Form5::kHidden && p_.game->online.IsGuest && Mode() == GameMode::VsOnline) {
    co_await p_.wait_for_host();
  }
}

void WindowShell::HideResult() {
  if (form5_ && form5_->isVisible()) form5_->done(Form5::kHidden);
}

Task<> WindowShell::ChooseSettings() {
  co_await p_.choose_settings();
}

}  // namespace vexa::app
