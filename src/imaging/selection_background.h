#pragma once
// The pixels under a drawn selection box, kept so the box can be erased
// exactly. The box is drawn straight into the picture; before each drawing
// the four bands it will cover are copied aside in the picture's own pixel
// format and palette, and erasing copies them back byte for byte.
#include <array>

#include "imaging/changed_rects.h"
#include "raster/bitmap.h"
#include "raster/rect.h"

namespace quorvane {

class TBoxBackground {
 public:
  // Copies the bands of `box` (see BoxBands) out of `picture`. Only the part
  // of each band inside the picture is kept, so a box reaching far beyond
  // the picture costs no more memory than one that fits. Returns the band
  // rectangles kept (the pixels the drawing may then change).
  TChangedRects Save(const TRasterBitmap& picture, const TRect& box);

  // Puts the kept pixels back and forgets them; returns the rectangles
  // written. Nothing happens when nothing is kept.
  TChangedRects Restore(TRasterBitmap& picture);

  bool Saved() const { return saved_; }

 private:
  struct TBand {
    TRect Area;  // in picture pixels, empty when the band lies outside
    TRasterBitmap Pixels;
  };
  std::array<TBand, 4> bands_;
  bool saved_ = false;
};

}  // namespace quorvane
