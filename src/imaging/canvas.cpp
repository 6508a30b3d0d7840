#include "imaging/canvas.h"

#include <algorithm>
#include <cstdlib>

#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

int StorageBits(const TRasterBitmap& bitmap) {
  return bitmap.BitsPerPixel();
}

uint32_t ReadValue(const uint8_t* row, int bits, int64_t x) {
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
      return (x & 1) ? (row[x >> 1] & 15u) : (row[x >> 1] >> 4);
    case 8:
      return row[x];
    case 16:
      return uint32_t(row[2 * x]) | (uint32_t(row[2 * x + 1]) << 8);
    case 24:
      return uint32_t(row[3 * x]) | (uint32_t(row[3 * x + 1]) << 8) |
             (uint32_t(row[3 * x + 2]) << 16);
    default:
      return uint32_t(row[4 * x]) | (uint32_t(row[4 * x + 1]) << 8) |
             (uint32_t(row[4 * x + 2]) << 16) | (uint32_t(row[4 * x + 3]) << 24);
  }
}

void WriteValue(uint8_t* row, int bits, int64_t x, uint32_t v) {
  switch (bits) {
    case 1: {
      const uint8_t bit = uint8_t(0x80 >> (x & 7));
      row[x >> 3] = (v & 1) ? uint8_t(row[x >> 3] | bit) : uint8_t(row[x >> 3] & ~bit);
      break;
    }
    case 4:
      row[x >> 1] = (x & 1) ? uint8_t((row[x >> 1] & 0xF0) | (v & 15))
                            : uint8_t((row[x >> 1] & 0x0F) | ((v & 15) << 4));
      break;
    case 8:
      row[x] = uint8_t(v);
      break;
    case 16:
      row[2 * x] = uint8_t(v);
      row[2 * x + 1] = uint8_t(v >> 8);
      break;
    case 24:
      row[3 * x] = uint8_t(v);
      row[3 * x + 1] = uint8_t(v >> 8);
      row[3 * x + 2] = uint8_t(v >> 16);
      break;
    default:
      row[4 * x] = uint8_t(v);
      row[4 * x + 1] = uint8_t(v >> 8);
      row[4 * x + 2] = uint8_t(v >> 16);
      row[4 * x + 3] = uint8_t(v >> 24);
  }
}

// ceil(a / b) for b > 0, in the wide type the line set-up needs.
__int128 CeilDiv(__int128 a, __int128 b) {
  return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

}  // namespace

uint32_t PixelValueOf(const TRasterBitmap& bitmap, TColor color) {
  // One pixel of the same format and palette written through the converter,
  // so the canvas picks exactly the palette entry a format conversion would.
  TRasterBitmap probe;
  probe.Reset(bitmap.PixelFormat(), 1, 1);
  const auto from = bitmap.ColorTable();
  const auto to = probe.ColorTable();
  std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
  const uint8_t bgr[3] = {color.Blue, color.Green, color.Red};
  WriteRowFrom24(probe, 0, 0, 1, bgr);
  return ReadValue(probe.Scanline(0), StorageBits(probe), 0);
}

uint32_t PixelValueAt(const TRasterBitmap& bitmap, int x, int y) {
  return ReadValue(bitmap.Scanline(y), StorageBits(bitmap), x);
}

struct TCanvas::TStroke {
  uint32_t Value = 0;
  uint32_t Mask = 0;  // the bits of one pixel
  TPenMode Mode = TPenMode::Copy;
  int Bits = 0;
};

TCanvas::TStroke TCanvas::Resolve(TColor color, TPenMode mode) const {
  TStroke stroke;
  stroke.Bits = StorageBits(bitmap_);
  stroke.Mask = stroke.Bits >= 32 ? 0xFFFFFFFFu : (1u << stroke.Bits) - 1;
  stroke.Mode = mode;
  if (!bitmap_.Empty() && mode != TPenMode::Not) stroke.Value = PixelValueOf(bitmap_, color);
  return stroke;
}

void TCanvas::Touch(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  const TRect r{int(left), int(top), int(right), int(bottom)};
  if (!changed_) {
    changed_rect_ = r;
    changed_ = true;
    return;
  }
  changed_rect_.Left = std::min(changed_rect_.Left, r.Left);
  changed_rect_.Top = std::min(changed_rect_.Top, r.Top);
  changed_rect_.Right = std::max(changed_rect_.Right, r.Right);
  changed_rect_.Bottom = std::max(changed_rect_.Bottom, r.Bottom);
}

TRect TCanvas::ChangedRect() const {
  return changed_ ? changed_rect_ : TRect{};
}

TRect TCanvas::Bounds() const {
  TRect bounds{0, 0, bitmap_.Width(), bitmap_.Height()};
  if (clip_) {
    bounds.Left = std::max(bounds.Left, clip_->Left);
    bounds.Top = std::max(bounds.Top, clip_->Top);
    bounds.Right = std::min(bounds.Right, clip_->Right);
    bounds.Bottom = std::min(bounds.Bottom, clip_->Bottom);
  }
  return bounds;
}

// Pixels left .. right-1 of one row, clipped to the bitmap and clip.
void TCanvas::FillSpan(const TStroke& stroke, int64_t left, int64_t right, int64_t row) {
  const TRect bounds = Bounds();
  if (row < bounds.Top || row >= bounds.Bottom) return;
  left = std::max<int64_t>(left, bounds.Left);
  right = std::min<int64_t>(right, bounds.Right);
  if (left >= right) return;
  uint8_t* line = bitmap_.Scanline(int(row));
  if (stroke.Mode == TPenMode::Copy && stroke.Bits == 8) {
    std::fill(line + left, line + right, uint8_t(stroke.Value));
  } else {
    for (int64_t x = left; x < right; ++x) Apply(stroke, line, x);
  }
  Touch(left, row, right, row + 1);
}

// One pixel in each row top .. bottom-1 of a column, clipped. Rows are
// stored bottom-up, so each row lies one stride below the next in memory.
void TCanvas::FillColumn(const TStroke& stroke, int64_t column, int64_t top, int64_t bottom) {
  const TRect bounds = Bounds();
  if (column < bounds.Left || column >= bounds.Right) return;
  top = std::max<int64_t>(top, bounds.Top);
  bottom = std::min<int64_t>(bottom, bounds.Bottom);
  if (top >= bottom) return;
  uint8_t* line = bitmap_.Scanline(int(top));
  const size_t stride = bitmap_.Stride();
  for (int64_t y = top; y < bottom; ++y, line -= stride) Apply(stroke, line, column);
  Touch(column, top, column + 1, bottom);
}

void TCanvas::Apply(const TStroke& stroke, uint8_t* line, int64_t x) {
  const int bits = stroke.Bits;
  switch (stroke.Mode) {
    case TPenMode::Copy:
      WriteValue(line, bits, x, stroke.Value);
      break;
    case TPenMode::Not:
      WriteValue(line, bits, x, ~ReadValue(line, bits, x) & stroke.Mask);
      break;
    case TPenMode::Xor:
      WriteValue(line, bits, x, (ReadValue(line, bits, x) ^ stroke.Value) & stroke.Mask);
      break;
  }
}

void TCanvas::FillArea(const TStroke& stroke, int64_t left, int64_t top, int64_t right,
                       int64_t bottom) {
  const TRect bounds = Bounds();
  top = std::max<int64_t>(top, bounds.Top);
  bottom = std::min<int64_t>(bottom, bounds.Bottom);
  for (int64_t y = top; y < bottom; ++y) FillSpan(stroke, left, right, y);
}

void TCanvas::Stamp(const TStroke& stroke, int64_t x, int64_t y) {
  if (Pen.Width <= 1) {
    FillSpan(stroke, x, x + 1, y);
    return;
  }
  const int64_t before = (Pen.Width - 1) / 2;
  FillArea(stroke, x - before, y - before, x - before + Pen.Width, y - before + Pen.Width);
}

void TCanvas::FillRect(const TRect& rect) {
  if (Brush.Style == TBrushStyle::Clear || bitmap_.Empty()) return;
  const TStroke brush = Resolve(Brush.Color, TPenMode::Copy);
  FillArea(brush, std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom),
           std::max(rect.Left, rect.Right), std::max(rect.Top, rect.Bottom));
}

void TCanvas::Rectangle(const TRect& rect) {
  if (bitmap_.Empty()) return;
  int64_t left = std::min(rect.Left, rect.Right), right = std::max(rect.Left, rect.Right);
  int64_t top = std::min(rect.Top, rect.Bottom), bottom = std::max(rect.Top, rect.Bottom);
  if (left == right || top == bottom) return;
  if (Pen.Style == TPenStyle::Clear) {
    if (Brush.Style == TBrushStyle::Solid)
      FillArea(Resolve(Brush.Color, TPenMode::Copy), left, top, right - 1, bottom - 1);
    return;
  }
  const TStroke pen = Resolve(Pen.Color, Pen.Mode);
  // One ring per unit of pen width, inside the rectangle; every pixel of a
  // ring is written once, so Xor and Not outlines come out right.
  const int64_t width = std::max(Pen.Width, 1);
  for (int64_t k = 0; k < width && left < right && top < bottom; ++k) {
    FillSpan(pen, left, right, top);
    if (bottom - 1 > top) FillSpan(pen, left, right, bottom - 1);
    FillArea(pen, left, top + 1, left + 1, bottom - 1);
    if (right - 1 > left) FillArea(pen, right - 1, top + 1, right, bottom - 1);
    ++left, ++top, --right, --bottom;
  }
  if (Brush.Style == TBrushStyle::Solid && left < right && top < bottom)
    FillArea(Resolve(Brush.Color, TPenMode::Copy), left, top, right, bottom);
}

void TCanvas::LineTo(int32_t x, int32_t y) {
  const TPoint from = pen_pos_;
  pen_pos_ = {x, y};
  if (Pen.Style == TPenStyle::Clear || bitmap_.Empty()) return;
  StrokeLine(Resolve(Pen.Color, Pen.Mode), from, pen_pos_);
}

// The pixels of a line from `from` to `to`, end excluded: one pixel per step
// along the longer axis, the other coordinate rounded to the nearest pixel
// with halves going to the smaller coordinate (so a line and its reverse
// light the same pixels). Only the steps whose long-axis coordinate lies in
// the bitmap and clip are visited, so a line reaching far outside costs
// nothing extra.
void TCanvas::StrokeLine(const TStroke& stroke, TPoint from, TPoint to) {
  const int64_t dx = int64_t{to.X} - from.X, dy = int64_t{to.Y} - from.Y;
  if (dx == 0 && dy == 0) return;
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const int64_t major_delta = x_major ? dx : dy, minor_delta = x_major ? dy : dx;
  const int64_t a0 = x_major ? from.X : from.Y, b0 = x_major ? from.Y : from.X;
  const int64_t length = std::llabs(major_delta), direction = major_delta > 0 ? 1 : -1;
  // Pen width widens the band a stroke can touch.
  const int64_t reach = std::max(Pen.Width, 1);
  const TRect bounds = Bounds();
  const int64_t low = (x_major ? bounds.Left : bounds.Top) - reach;
  const int64_t high = (x_major ? bounds.Right : bounds.Bottom) + reach;  // exclusive
  int64_t first = 0, last = length - 1;
  if (direction > 0) {
    first = std::max(first, low - a0);
    last = std::min(last, high - 1 - a0);
  } else {
    first = std::max(first, a0 - high + 1);
    last = std::min(last, a0 - low);
  }
  if (first > last) return;
  // Thin horizontal and vertical lines are one span or one column: the
  // selection box draws them the size of a large picture on every drag step.
  if (minor_delta == 0 && Pen.Width <= 1) {
    const int64_t a_first = a0 + direction * first, a_last = a0 + direction * last;
    const int64_t low_end = std::min(a_first, a_last), high_end = std::max(a_first, a_last) + 1;
    if (x_major) {
      FillSpan(stroke, low_end, high_end, b0);
    } else {
      FillColumn(stroke, b0, low_end, high_end);
    }
    return;
  }

  // Minor offset at step i: ceil((2 i m - M) / (2 M)); kept as a quotient
  // and remainder and advanced by 2 m per step.
  const int64_t two_m = 2 * minor_delta, two_len = 2 * length;
  const __int128 n0 = __int128(2) * first * minor_delta - length;
  int64_t q = int64_t(CeilDiv(n0, two_len));
  int64_t r = int64_t(__int128(q) * two_len - n0);
  for (int64_t i = first; i <= last; ++i) {
    const int64_t a = a0 + direction * i, b = b0 + q;
    if (x_major) {
      Stamp(stroke, a, b);
    } else {
      Stamp(stroke, b, a);
    }
    r -= two_m;
    if (r < 0) {
      r += two_len;
      ++q;
    } else if (r >= two_len) {
      r -= two_len;
      --q;
    }
  }
}

TCanvasSaver::TCanvasSaver(const TCanvas& canvas)
    : brush_color_(canvas.Brush.Color),
      brush_style_(canvas.Brush.Style),
      pen_style_(canvas.Pen.Style),
      pen_color_(canvas.Pen.Color),
      pen_mode_(canvas.Pen.Mode) {}

void TCanvasSaver::Restore(TCanvas& canvas) const {
  canvas.Brush.Style = brush_style_;
  canvas.Brush.Color = brush_color_;
  canvas.Pen.Style = pen_style_;
  canvas.Pen.Color = pen_color_;
  canvas.Pen.Mode = pen_mode_;
}

}  // namespace quorvane
