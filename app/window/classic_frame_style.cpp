#include "app/window/classic_frame_style.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyleOptionGroupBox>
#include <QtMath>

namespace vexa::app {

namespace {

constexpr int kBorderWidth = 2;    // an etched line: dark, then light
constexpr int kCaptionLeft = 6;    // where the caption's gap in the border starts
constexpr int kCaptionMargin = 2;  // between the border's ends and the caption

// Only plain frames are drawn here; a frame with a check box keeps the
// base style's look.
const QStyleOptionGroupBox* PlainFrame(QStyle::ComplexControl control,
                                       const QStyleOptionComplex* option) {
  const auto* frame = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != QStyle::CC_GroupBox || frame == nullptr) return nullptr;
  return (frame->subControls & QStyle::SC_GroupBoxCheckBox) ? nullptr : frame;
}

// The caption as it fits between the border's ends. A long one (a peer's
// name) loses its middle: names often share a start ("vexa-bot-1",
// "vexa-bot-2") and differ at the end.
QString FittedCaption(const QStyleOptionGroupBox& frame) {
  return frame.fontMetrics.elidedText(frame.text, Qt::ElideMiddle,
                                      qMax(FrameCaptionRoom(frame.rect.width()), 0),
                                      Qt::TextShowMnemonic);
}

}  // namespace

int FrameCaptionRoom(int frame_width) {
  return frame_width - 2 * (kCaptionLeft + kCaptionMargin);
}

QRect ClassicFrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                        SubControl sub_control, const QWidget* widget) const {
  const QStyleOptionGroupBox* frame = PlainFrame(control, option);
  if (frame == nullptr) return QProxyStyle::subControlRect(control, option, sub_control, widget);
  const QRect& r = frame->rect;
  const int caption_height = frame->fontMetrics.height();
  const QRect border = r.adjusted(0, caption_height / 2, 0, 0);
  switch (sub_control) {
    case SC_GroupBoxFrame:
      return border;
    case SC_GroupBoxLabel: {
      if (frame->text.isEmpty()) return {};
      // The capitals are centred on the border line. The Japanese fonts
      // leave much room above them, which would push the caption down
      // onto the first row of controls.
      const QFontMetrics& metrics = frame->fontMetrics;
      const int baseline = border.top() + kBorderWidth / 2 + qFloor(metrics.capHeight() / 2);
      const int width = metrics.horizontalAdvance(FittedCaption(*frame), Qt::TextShowMnemonic);
      return {r.left() + kCaptionLeft, baseline - metrics.ascent(), width + 2 * kCaptionMargin,
              caption_height};
    }
    case SC_GroupBoxContents:
      return border.adjusted(kBorderWidth, qMax(kBorderWidth, caption_height - caption_height / 2),
                             -kBorderWidth, -kBorderWidth);
    default:
      return QProxyStyle::subControlRect(control, option, sub_control, widget);
  }
}

void ClassicFrameStyle::drawComplexControl(ComplexControl control,
                                           const QStyleOptionComplex* option, QPainter* painter,
                                           const QWidget* widget) const {
  const QStyleOptionGroupBox* frame = PlainFrame(control, option);
  if (frame == nullptr) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  const QRect border = subControlRect(control, frame, SC_GroupBoxFrame, widget);
  const QRect caption = subControlRect(control, frame, SC_GroupBoxLabel, widget);
  painter->save();
  if (frame->subControls & SC_GroupBoxFrame) {
    // The border stops on either side of the caption rather than being
    // painted over, so nothing but the line and the text is drawn.
    painter->setClipRegion(QRegion(frame->rect) - QRegion(caption));
    qDrawShadeRect(painter, border, frame->palette, true, 1, 0);
    painter->setClipping(false);
  }
  if ((frame->subControls & SC_GroupBoxLabel) && caption.isValid()) {
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (!proxy()->styleHint(SH_UnderlineShortcut, frame, widget)) flags |= Qt::TextHideMnemonic;
    proxy()->drawItemText(painter, caption, flags, frame->palette, frame->state & State_Enabled,
                          FittedCaption(*frame), QPalette::WindowText);
  }
  painter->restore();
}

}  // namespace vexa::app
