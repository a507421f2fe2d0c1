// The main window as the rules see it: what they show and what they ask.

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

void Form1::MovePlayed(const Move&) {
  // A hint still searching is for the position before this placement.
  if (hint_pending_) search_runner_.Stop();
  hint_.clear();
  UpdateAids();
}

void Form1::PaintCell(int cell, Color color) {
  QPalette palette = Label1[cell]->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  Label1[cell]->setPalette(palette);
}

void Form1::HidePieceMarker(int index) {
  Label5[index]->setVisible(false);
}

void Form1::HideBlockerMarker(int index) {
  Label2[index]->setVisible(false);
}

void Form1::ShowAllMarkers() {
  // A new board, or one rebuilt by an undo: the marks follow it.
  hint_.clear();
  UpdateAids();
  for (QLabel* marker : Label2)
    marker->setVisible(true);
  for (QLabel* marker : Label5)
    marker->setVisible(true);
}

void Form1::SetTurnMarkers(bool left_on, bool right_on) {
  TurnMarker[0]->SetOn(left_on);
  TurnMarker[1]->SetOn(right_on);
  UpdateAids();
}

void Form1::SetSideCaptions(const std::string& left, const std::string& right) {
  Frame1[1]->setTitle(QString::fromStdString(right));
  Frame1[0]->setTitle(QString::fromStdString(left));
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

void Form1::HideClockDisplay() {
  ClockDisplay()->setVisible(false);
}

void Form1::SetCoordinateReadout(const std::string& text) {
  Label3->setText(QString::fromStdString(text));
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

Task<> Form1::LetEventsRun() {
  co_await Delay(0);
}

void Form1::SetResultText(const std::string& text) {
  if (!form5_) form5_ = new Form5(this);
  form5_->Label1->setText(QString::fromStdString(text));
}

Task<> Form1::ShowResultDialog() {
  if (!form5_) form5_ = new Form5(this);
  QPointer<Form5> form5 = form5_;
  const int how = co_await RunModal(form5);
  if (form5) form5->deleteLater();
  // Closed (not hidden by the host's next step) on the joining side of an
  // online game: wait there for the host.
  if (how != Form5::kHidden && game.online.IsGuest && Option1[2]->isChecked()) {
    co_await ShowForm7();
  }
}

void Form1::SendPiece(int cell) {
  online_.SendPiece(cell);
}

void Form1::SendBlocker(int cell) {
  online_.SendBlocker(cell);
}

void Form1::AskForSettings() {
  online_.AskForSettings();
}

Task<> Form1::CloseConnection() {
  co_await online_.CloseConnection();
}

void Form1::StartMoveClock() {
  online_.StartMoveClock();
}

void Form1::StopMoveClock() {
  online_.StopMoveClock();
}

}  // namespace vexa::app
