#pragma once

// The application's style with frames drawn as classic framed groups: the
// etched border runs through the middle of the caption's height and breaks
// for the caption, instead of starting below the caption as Qt's styles
// draw it. The windows place a frame's children in twips from the frame's
// outer top-left corner, with the first row just below the caption; only
// this border leaves them clear of it.

#include <QProxyStyle>

namespace vexa::app {

// The width a plain frame leaves its caption between the border's ends; a
// longer caption is drawn shortened in the middle, with an ellipsis.
int FrameCaptionRoom(int frame_width);

class ClassicFrameStyle : public QProxyStyle {
  Q_OBJECT
 public:
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                       SubControl sub_control, const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override;
};

}  // namespace vexa::app
