#include "app/board/board_view.h"

#include <QGroupBox>
#include <QLabel>

#include "app/board/board_coordinates.h"
#include "app/window/classic_frame_style.h"
#include "app/dialogs/dialog_parts.h"
#include "app/window/twips.h"

namespace vexa::app {

namespace {
constexpr std::uint32_t kGreen = 0x008000;
}  // namespace

BoardView::BoardView(QWidget* client, std::function<void(int cell, int button)> clicked) {
  BuildBoard(client, clicked);
  BuildSidePanels(client);
}

void BoardView::BuildBoard(QWidget* client, const std::function<void(int, int)>& clicked) {
  Label4 = BoxLabel(client, QStringLiteral("Label4"), 30, 45, 5400, 5415, kGreen);
  coordinates_ = new BoardCoordinates(Label4);
  coordinates_->hide();
  for (int cell = 0; cell < kCellCount; ++cell) {
    Label1[cell] = BoxLabel<CellLabel>(client, Indexed("Label1", cell), CellLeft(cell),
                                       CellTop(cell), kCellExtent, kCellExtent, kWindowFrame);
    QPalette palette = Label1[cell]->palette();
    palette.setColor(QPalette::WindowText, ToQColor(kWindowText));
    Label1[cell]->setPalette(palette);
    Label1[cell]->setVisible(IsPlayableCell(cell));
    QObject::connect(Label1[cell], &CellLabel::MouseDown, Label1[cell],
                     [clicked, cell](int button) { clicked(cell, button); });
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

void BoardView::BuildSidePanels(QWidget* client) {
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
      Label5[index] = BoxLabel<CellLabel>(Frame1[side], Indexed("Label5", index), p.piece_left,
                                          5100 - 255 * i, 225, 240, p.piece_color);
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

void BoardView::PaintCell(int cell, std::int16_t value) {
  painted_[cell] = value;
  QPalette palette = Label1[cell]->palette();
  palette.setColor(QPalette::Window, ToQColor(CellColor(value)));
  Label1[cell]->setPalette(palette);
  const bool piece = value != Empty && value != Blocker;
  Label1[cell]->SetShape(!shapes_ || !piece ? CellLabel::kNoShape
                         : value == Player1 ? CellLabel::kDot
                                            : CellLabel::kCross);
}

void BoardView::SetShapes(bool on) {
  shapes_ = on;
  for (int cell = 0; cell < kCellCount; ++cell)
    PaintCell(cell, painted_[cell]);
  for (LineShape* line : Line1)
    line->SetEdged(on);
  // The stock markers carry their side's sign as well.
  for (int i = 0; i < 2 * kPiecesPerSide; ++i) {
    Label5[i]->SetShape(!on                  ? CellLabel::kNoShape
                        : i < kPiecesPerSide ? CellLabel::kDot
                                             : CellLabel::kCross);
  }
}

void BoardView::SetCoordinates(bool on) {
  coordinates_->setVisible(on);
}

void BoardView::ShowBoard(const BoardCells& board) {
  for (int cell = 0; cell < kCellCount; ++cell)
    PaintCell(cell, board[cell]);
}

void BoardView::ShowStocks(const int (&pieces)[2], const int (&blockers)[2]) {
  for (int side = 0; side < 2; ++side) {
    for (int i = 0; i < kPiecesPerSide; ++i)
      Label5[i + side * kPiecesPerSide]->setVisible(i < pieces[side]);
    for (int i = 0; i < kBlockersPerSide; ++i)
      Label2[i + side * kBlockersPerSide]->setVisible(i < blockers[side]);
  }
}

void BoardView::LightLamp(Side side) {
  TurnMarker[0]->SetOn(side == Player1);
  TurnMarker[1]->SetOn(side != 0 && side != Player1);
}

namespace {

constexpr double kSmallestCaptionPoints = 7.0;

// A side panel is narrow for a player's name: a long one first takes a
// smaller font; what still does not fit the style shortens, and the whole
// name is the panel's tooltip.
void SetSideCaption(QGroupBox* frame, const QString& caption) {
  QFont font = frame->parentWidget()->font();
  const int room = FrameCaptionRoom(frame->width());
  const auto width = [&] { return QFontMetrics(font).horizontalAdvance(caption); };
  while (width() > room && font.pointSizeF() - 0.5 >= kSmallestCaptionPoints)
    font.setPointSizeF(font.pointSizeF() - 0.5);
  frame->setFont(font);
  frame->setTitle(caption);
  frame->setToolTip(width() > room ? caption : QString());
}

}  // namespace

void BoardView::SetCaptions(const QString& left, const QString& right) {
  SetSideCaption(Frame1[1], right);
  SetSideCaption(Frame1[0], left);
}

void BoardView::ShowOwnCaptions(GameMode mode) {
  SetCaptions(QStringLiteral("Player1"),
              mode == GameMode::VsCpu ? QStringLiteral("CPU") : QStringLiteral("Player2"));
}

QString BoardView::Caption(int panel) const {
  return Frame1[panel]->title();
}

void BoardView::DrawOutline(const SquareCorners& square, Side side) {
  const OutlineEnds ends = OutlineOf(square);
  for (int edge = 0; edge < 4; ++edge)
    Line1[edge]->SetColor(ToQColor(OutlineColor(side)));
  for (int edge = 0; edge < 4; ++edge)
    Line1[edge]->SetEnds(ends.from[edge], ends.to[edge]);
  for (LineShape* line : Line1)
    line->setVisible(true);
}

void BoardView::HideOutline() {
  for (LineShape* line : Line1)
    line->setVisible(false);
}

void BoardView::SetNotes(const std::vector<std::pair<int, QString>>& notes) {
  for (std::size_t n = 0; n < std::size(HintNote); ++n) {
    QLabel*& note = HintNote[n];
    if (n >= notes.size()) {
      if (note) note->hide();
      continue;
    }
    if (!note) {
      note = new QLabel(Label4->parentWidget());
      note->setObjectName(Indexed("HintNote", static_cast<int>(n)));
      note->setAttribute(Qt::WA_TransparentForMouseEvents);
      note->setAlignment(Qt::AlignCenter);
      note->setStyleSheet(QStringLiteral(
          "background-color: rgba(255, 255, 255, 225); color: black; font-size: 9px;"));
    }
    // Over the lower right of the cell and the gap beside it, so that the
    // ring stays visible.
    const int cell = notes[n].first;
    note->setGeometry(Px(CellLeft(cell)) + 15, Px(CellTop(cell)) + 16, 30, 12);
    note->setText(notes[n].second);
    note->show();
    note->raise();
  }
}

void BoardView::SetMarks(const int (&marks)[kCellCount]) {
  for (int cell = 0; cell < kCellCount; ++cell)
    Label1[cell]->SetMarks(marks[cell]);
}

void BoardView::ShowReadout(int cell) {
  Label3->setText(QString::fromStdString(CoordinateText(cell)));
}

void BoardView::ShowClock(int seconds) {
  Label8->setText(QString::number(seconds));
  Label8->setVisible(true);
}

void BoardView::HideClock() {
  Label8->setVisible(false);
}

void BoardView::Retranslate() {
  for (TurnLamp* lamp : TurnMarker)
    lamp->update();
  // The captions were refitted with the window's fonts: a long name takes
  // its own smaller font again.
  SetCaptions(Caption(0), Caption(1));
}

void BoardView::RaiseOutline() {
  for (LineShape* line : Line1)
    line->raise();
}

}  // namespace vexa::app
