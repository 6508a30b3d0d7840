#pragma once
// The pixels under a drawn selection box, kept so the box can be erased
// exactly. The box is drawn straight into the picture; before each drawing
// the four bands it will cover are copied aside as the picture stores them,
// and erasing copies those bytes back.
//
// Save and Restore do a whole box at once. A drag step instead goes through
// the picture in strips of rows, putting back the old bands, saving the new
// ones and drawing in each strip before the next: the side bands of a tall
// box visit thousands of rows, and touching each row once rather than once
// per operation keeps the step fast on large pictures.
#include <array>
#include <cstdint>
#include <vector>

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
  // written. Nothing happens when nothing is kept, or when the picture is no
  // longer of the size and pixel format it was saved from (its pixels are
  // then not the ones the bands came from).
  TChangedRects Restore(TRasterBitmap& picture);

  // Save in strips: Plan sets out the bands and room for them and counts as
  // saved from then on; the caller then saves every row the bands cover.
  TChangedRects Plan(const TRasterBitmap& picture, const TRect& box);
  void SaveRows(const TRasterBitmap& picture, int top, int bottom);
  // Restore in strips: when Restorable, put back every row the bands cover,
  // then Forget.
  bool Restorable(const TRasterBitmap& picture) const;
  void RestoreRows(TRasterBitmap& picture, int top, int bottom) const;
  void Forget() { saved_ = false; }

  bool Saved() const { return saved_; }
  // The band rectangles planned last; empty ones are skipped.
  TChangedRects Areas() const;
  // The rows the bands cover, as Top and Bottom (empty when none).
  TRect Rows() const;

 private:
  struct TBand {
    TRect Area;         // in picture pixels, empty when the band lies outside
    size_t Offset = 0;  // of its first row in the kept bytes
  };
  std::array<TBand, 4> bands_;
  // Every row of every band, one after the other. Reused from step to step:
  // a drag saves bands of nearly the same size each time.
  std::vector<uint8_t> bytes_;
  int width_ = 0, height_ = 0;
  TPixelFormat format_ = TPixelFormat::Bit24;
  bool saved_ = false;
};

}  // namespace quorvane
