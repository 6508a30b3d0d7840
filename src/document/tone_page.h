#pragma once
// The Tools page's Brightness, Contrast and Gamma sliders: every change
// rebuilds the destination from the tone base, never from the destination
// itself, so adjustments do not accumulate.
#include "document/document.h"
#include "imaging/tone.h"

namespace quorvane {

// Track bar positions, 0 to 100; 50 is neutral.
struct TToneSliders {
  int Brightness = 50;
  int Contrast = 50;
  int Gamma = 50;
  bool operator==(const TToneSliders&) const = default;
};

// A slider moved: the destination becomes the tone-mapped 24-bit copy of the
// tone base (an empty one before any resize), and the panels' texts are
// returned. The destination's clean copy follows, so switching pages keeps
// the adjustment.
TToneTexts AdjustTone(TDocument& document, const TToneSliders& sliders,
                      char decimal_separator = '.');

// "Reset": the sliders centred, then one adjustment.
struct TToneReset {
  TToneSliders Sliders;
  TToneTexts Texts;
};
TToneReset ResetTone(TDocument& document, char decimal_separator = '.');

// Batch tone without a resize: the tone base and the destination's
// georeference are the source's, as a stretch to the source's own size with
// the box filter would leave them, without the resampling pass.
void UseSourceAsToneBase(TDocument& document);

}  // namespace quorvane
