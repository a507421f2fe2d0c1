#pragma once

// Captions shown whole. The windows give their controls the widths in twips
// of a font narrower than the Japanese UI fonts at hand, so a caption can
// need more room than its control has.

#include <QWidget>

class QGroupBox;

namespace vexa::app {

// The inside of a frame, within its border, as its style draws it.
QRect FrameInside(const QGroupBox* frame);

// Gives every label, button and option of `window` the width its caption
// needs in the font it is shown in: a control too narrow for its text grows
// to the right, as far as its container and the next control to its right
// leave room; where that is not enough, its font shrinks until the text fits.
void FitCaptions(QWidget* window);

// The same for one control, after its caption changed.
void FitCaption(QWidget* control);

// After the captions changed language: every control the fitting widened or
// shrank gets its own size and font back (unless something else has moved it
// since), then all are fitted again, so that switching back and forth
// neither grows nor shrinks them step by step.
void RefitCaptions(QWidget* window);

}  // namespace vexa::app
