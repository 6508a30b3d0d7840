#pragma once
// Drawing onto a raster bitmap with a pen and a brush, the way the program's
// overlays (measuring polylines, the selection box) are painted straight
// into a picture's pixels. Conventions of the classic raster canvas:
// - rectangles exclude their right column and bottom row;
// - a line from A to B lights A but not B, so polylines join without
//   drawing a corner twice;
// - a colour is written as the bitmap's own pixel value: the nearest palette
//   entry on 1-, 4- and 8-bit pictures, packed components on 15-, 16-, 24-
//   and 32-bit ones.
// Everything is clipped to the bitmap, and to a clip rectangle when one is
// set; coordinates may lie anywhere.
#include <cstdint>
#include <optional>

#include "imaging/points.h"
#include "raster/bitmap.h"
#include "raster/progress.h"

namespace quorvane {

struct TColor {
  uint8_t Red = 0, Green = 0, Blue = 0;
  bool operator==(const TColor&) const = default;
};
constexpr TColor kColorBlack{0, 0, 0};
constexpr TColor kColorWhite{255, 255, 255};
constexpr TColor kColorRed{255, 0, 0};
constexpr TColor kColorGreen{0, 255, 0};
constexpr TColor kColorBlue{0, 0, 255};
constexpr TColor kColorCyan{0, 255, 255};

// Clear draws nothing (a stroke still moves the pen).
enum class TPenStyle : uint8_t { Solid, Clear };
// What a stroke does with the pixel under it: replace it by the pen colour,
// invert its bits, or combine its bits with the pen colour's by exclusive or.
enum class TPenMode : uint8_t { Copy, Not, Xor };
enum class TBrushStyle : uint8_t { Solid, Clear };

struct TPen {
  TColor Color = kColorBlack;
  TPenStyle Style = TPenStyle::Solid;
  // Strokes wider than one pixel stamp a Width x Width square per pixel.
  int Width = 1;
  TPenMode Mode = TPenMode::Copy;
};

struct TBrush {
  TColor Color = kColorWhite;
  TBrushStyle Style = TBrushStyle::Solid;
};

class TCanvas {
 public:
  // The canvas draws into `bitmap`, which must outlive it.
  explicit TCanvas(TRasterBitmap& bitmap) : bitmap_(bitmap) {}

  TPen Pen;
  TBrush Brush;

  // Fills the rectangle (right and bottom excluded) with the brush; the pen
  // is not used. Either orientation is accepted.
  void FillRect(const TRect& rect);
  // Outlines the rectangle with the pen and fills its inside with the brush.
  // With a clear pen the brush covers the rectangle less its right column and
  // bottom row, as the platform's canvas does.
  void Rectangle(const TRect& rect);
  void MoveTo(int32_t x, int32_t y) { pen_pos_ = {x, y}; }
  // Strokes from the pen position to (x, y), end point excluded, and moves
  // the pen there.
  void LineTo(int32_t x, int32_t y);
  TPoint PenPos() const { return pen_pos_; }

  // The bounding box of every pixel written since the canvas was made or the
  // box was last reset; all zero when nothing was written.
  TRect ChangedRect() const;
  void ResetChangedRect() { changed_ = false; }

  TRasterBitmap& Bitmap() { return bitmap_; }

  // Restricts every later write to `rect` (right and bottom excluded) as
  // well as to the bitmap, until cleared. Lines are only followed through
  // the clip rectangle, so drawing a long line strip by strip costs no more
  // than drawing it once.
  void SetClipRect(const TRect& rect) { clip_ = rect; }
  void ClearClipRect() { clip_.reset(); }

 private:
  struct TStroke;  // the pen or brush resolved to one pixel value and mode
  TStroke Resolve(TColor color, TPenMode mode) const;
  static void Apply(const TStroke& stroke, uint8_t* line, int64_t x);
  void FillSpan(const TStroke& stroke, int64_t left, int64_t right, int64_t row);
  void FillColumn(const TStroke& stroke, int64_t column, int64_t top, int64_t bottom);
  void FillArea(const TStroke& stroke, int64_t left, int64_t top, int64_t right, int64_t bottom);
  void StrokeLine(const TStroke& stroke, TPoint from, TPoint to);
  void Stamp(const TStroke& stroke, int64_t x, int64_t y);
  void Touch(int64_t left, int64_t top, int64_t right, int64_t bottom);
  // The bitmap's area within the clip rectangle.
  TRect Bounds() const;

  TRasterBitmap& bitmap_;
  std::optional<TRect> clip_;
  TPoint pen_pos_;
  bool changed_ = false;
  TRect changed_rect_;
};

// The pen and brush state of one canvas (brush colour and style, pen style,
// colour and mode; not the pen width), taken at construction and put back by
// Restore.
class TCanvasSaver {
 public:
  explicit TCanvasSaver(const TCanvas& canvas);
  void Restore(TCanvas& canvas) const;

 private:
  TColor brush_color_;
  TBrushStyle brush_style_;
  TPenStyle pen_style_;
  TColor pen_color_;
  TPenMode pen_mode_;
};

// The pixel value `color` takes in `bitmap`'s format, as the canvas writes
// it (an index for palette formats, the packed bytes otherwise).
uint32_t PixelValueOf(const TRasterBitmap& bitmap, TColor color);
// The stored value of one pixel, read the same way. (x, y) must lie inside.
uint32_t PixelValueAt(const TRasterBitmap& bitmap, int x, int y);

}  // namespace quorvane
