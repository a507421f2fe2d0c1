#include "app/window/caption_fit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <optional>

namespace vexa::app {

namespace {

constexpr double kSmallestPointSize = 6.0;
// Pixels between a frame's border and the captions widened towards it.
constexpr int kFrameGap = 2;

// The width a control's caption takes, and the width the control leaves for
// it, as its style lays it out.
struct CaptionRoom {
  int text = 0;
  int room = 0;
};

std::optional<CaptionRoom> MeasureCaption(QWidget* control) {
  const QFontMetrics metrics = control->fontMetrics();
  if (auto* label = qobject_cast<QLabel*>(control)) {
    if (label->text().isEmpty() || label->wordWrap()) return std::nullopt;
    return CaptionRoom{metrics.horizontalAdvance(label->text()), label->contentsRect().width()};
  }
  auto* button = qobject_cast<QAbstractButton*>(control);
  if (button == nullptr || button->text().isEmpty()) return std::nullopt;
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  QStyle::SubElement contents;
  int margin = 0;
  if (qobject_cast<QRadioButton*>(button)) {
    contents = QStyle::SE_RadioButtonContents;
  } else if (qobject_cast<QCheckBox*>(button)) {
    contents = QStyle::SE_CheckBoxContents;
  } else if (qobject_cast<QPushButton*>(button)) {
    contents = QStyle::SE_PushButtonContents;
    margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
  } else {
    return std::nullopt;
  }
  const int room = button->style()->subElementRect(contents, &option, button).width() - margin;
  return CaptionRoom{metrics.horizontalAdvance(button->text(), Qt::TextShowMnemonic), room};
}

// Whether a label's text, centred in its height as QLabel centres it, keeps
// all of its strokes inside the label.
bool FitsHeight(const QLabel* label) {
  if (!(label->alignment() & Qt::AlignVCenter)) return true;
  const QFontMetrics metrics = label->fontMetrics();
  const QRect ink = metrics.tightBoundingRect(label->text());
  const QRect room = label->contentsRect();
  const int baseline = room.top() + (room.height() - metrics.height()) / 2 + metrics.ascent();
  return baseline + ink.top() >= room.top() && baseline + ink.bottom() < room.bottom();
}

// How far right the control may reach: its container's inside (in a frame,
// short of the border by a gap, so that no caption touches it), up to the
// nearest control that starts to its right on the same rows.
int RightLimit(const QWidget* control) {
  const QWidget* container = control->parentWidget();
  int limit = container->contentsRect().right() + 1;
  if (const auto* frame = qobject_cast<const QGroupBox*>(container)) {
    limit = qMin(limit, FrameInside(frame).right() + 1 - kFrameGap);
  }
  const QRect own = control->geometry();
  for (const QObject* object : container->children()) {
    const auto* other = qobject_cast<const QWidget*>(object);
    if (other == nullptr || other == control || other->isWindow()) continue;
    const QRect g = other->geometry();
    const bool same_rows = g.top() <= own.bottom() && own.top() <= g.bottom();
    if (same_rows && g.left() > own.left()) limit = qMin(limit, g.left());
  }
  return limit;
}

}  // namespace

QRect FrameInside(const QGroupBox* frame) {
  QStyleOptionGroupBox option;
  option.initFrom(frame);
  option.text = frame->title();
  option.lineWidth = 1;
  option.subControls = QStyle::SC_GroupBoxFrame;
  if (!frame->title().isEmpty()) option.subControls |= QStyle::SC_GroupBoxLabel;
  if (frame->isCheckable()) option.subControls |= QStyle::SC_GroupBoxCheckBox;
  return frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents,
                                        frame);
}

namespace {

// What a control was before its first fitting, and what the fitting left.
constexpr char kOwnGeometry[] = "vexa_own_geometry";
constexpr char kOwnFont[] = "vexa_own_font";
constexpr char kFittedGeometry[] = "vexa_fitted_geometry";

void FitCaptionOnce(QWidget* control);

}  // namespace

void FitCaption(QWidget* control) {
  if (!control->property(kOwnGeometry).isValid()) {
    control->setProperty(kOwnGeometry, control->geometry());
    control->setProperty(kOwnFont, control->font());
  }
  FitCaptionOnce(control);
  control->setProperty(kFittedGeometry, control->geometry());
}

void RefitCaptions(QWidget* window) {
  for (QWidget* control : window->findChildren<QWidget*>()) {
    if (control->window() != window || !control->property(kOwnGeometry).isValid()) continue;
    if (control->geometry() == control->property(kFittedGeometry).toRect())
      control->setGeometry(control->property(kOwnGeometry).toRect());
    control->setFont(control->property(kOwnFont).value<QFont>());
  }
  FitCaptions(window);
}

namespace {

void FitCaptionOnce(QWidget* control) {
  // A label too low for its line grows by as much above as below, so that
  // the line stays where it was.
  auto* label = qobject_cast<QLabel*>(control);
  if (label && !label->text().isEmpty() && !FitsHeight(label)) {
    const int extra = label->fontMetrics().height() + 2 - label->contentsRect().height();
    label->setGeometry(label->geometry().adjusted(0, -extra / 2, 0, extra - extra / 2));
  }
  std::optional<CaptionRoom> caption = MeasureCaption(control);
  if (!caption || caption->text <= caption->room) return;
  const int wanted = control->width() + caption->text - caption->room;
  control->resize(qMax(control->width(), qMin(wanted, RightLimit(control) - control->x())),
                  control->height());
  QFont font = control->font();
  while ((caption = MeasureCaption(control)) && caption->text > caption->room &&
         font.pointSizeF() - 0.5 >= kSmallestPointSize) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    control->setFont(font);
  }
}

}  // namespace

void FitCaptions(QWidget* window) {
  for (QWidget* control : window->findChildren<QWidget*>()) {
    if (control->window() == window) FitCaption(control);
  }
}

}  // namespace vexa::app
