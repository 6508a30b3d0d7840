#include "printing/print_layout.h"

#include <algorithm>
#include <cmath>

#include "imaging/points.h"

namespace quorvane {

namespace {

int64_t CeilDivide(int value, int by) {
  return int64_t(std::ceil(double(value) / by));
}

TPrintSize FillWidth(const TPrintArea& area, double ratio) {
  return {area.Width, TruncToInt(area.Width * ratio)};
}

TPrintSize FillHeight(const TPrintArea& area, double ratio) {
  return {TruncToInt(area.Height / ratio), area.Height};
}

bool Overruns(const TPrintSize& size, const TPrintArea& area) {
  return size.Width > area.Width || size.Height > area.Height;
}

// The side with more spare pixels decides which way the picture grows. For
// a picture whose shape differs from the area's that alone can carry it off
// the page (a tall narrow picture on a tall page), so then it grows the
// other way.
TPrintSize Enlarged(int width, int height, const TPrintArea& area, double ratio) {
  const bool grow_to_width = area.Height - height > area.Width - width;
  TPrintSize size = grow_to_width ? FillWidth(area, ratio) : FillHeight(area, ratio);
  if (Overruns(size, area)) size = grow_to_width ? FillHeight(area, ratio) : FillWidth(area, ratio);
  return size;
}

// The whole page's shape, not the area's, decides.
TPrintSize Shrunk(const TPrintPage& page, const TPrintArea& area, double ratio) {
  const double page_ratio = double(page.Height) / page.Width;
  return ratio > page_ratio ? FillHeight(area, ratio) : FillWidth(area, ratio);
}

}  // namespace

TPrintArea PrintableArea(const TPrintPage& page) {
  return {std::max(page.Width - kPrintAreaInset, 1), std::max(page.Height - kPrintAreaInset, 1)};
}

TPageCounts CountPages(int width, int height, const TPrintPage& page) {
  if (width <= 0 || height <= 0) return {};
  const TPrintArea area = PrintableArea(page);
  const int64_t x = CeilDivide(width, area.Width);
  const int64_t y = CeilDivide(height, area.Height);
  return {x, y, x * y};
}

std::string PageCountsText(const TPageCounts& counts) {
  return "X: " + std::to_string(counts.X) + " Y: " + std::to_string(counts.Y) +
         " Total: " + std::to_string(counts.Total);
}

TPrintScaling ScalingFor(TPrintMethod method) {
  if (method == TPrintMethod::FitToPage) return {.Enlarge = true, .Shrink = true};
  if (method == TPrintMethod::ShrinkToPage) return {.Shrink = true};
  return {};
}

TPrintSize PrintOutputSize(int width, int height, const TPrintPage& page, TPrintScaling scaling) {
  if (width <= 0 || height <= 0) return {};
  const TPrintArea area = PrintableArea(page);
  const double ratio = double(height) / width;
  TPrintSize size{width, height};
  if (width < area.Width && height < area.Height) {
    if (scaling.Enlarge) size = Enlarged(width, height, area, ratio);
  } else if (scaling.Shrink) {
    size = Shrunk(page, area, ratio);
  }
  // A sliver of a picture still prints as a line rather than vanishing.
  return {std::max(size.Width, 1), std::max(size.Height, 1)};
}

TBandPlan::TBandPlan(int width, int height, const TPrintPage& page, TPrintScaling scaling)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
  if (width_ == 0 || height_ == 0) {
    width_ = height_ = 0;
    output_ = {};
    return;
  }
  output_ = PrintOutputSize(width_, height_, page, scaling);
  band_height_ = PrinterRow(kPrintBandRows);
}

// Printer row (from the picture's top) of a picture row, scaled by the
// width's factor and rounded half away from zero. Each band starts where
// the scaled picture row falls rather than where the previous band ended,
// so rounding does not add up over the bands: a tall picture shrunk to the
// page still ends at its printed height, and no band shrinks to nothing.
int TBandPlan::PrinterRow(int64_t picture_row) const {
  return TruncToInt(std::round(double(picture_row) * output_.Width / width_));
}

int TBandPlan::Count() const {
  return (height_ + kPrintBandRows - 1) / kPrintBandRows;
}

TPrintBand TBandPlan::Band(int index) const {
  if (index < 0 || index >= Count()) return {};
  const int first = index * kPrintBandRows;
  // The last band ends with the picture instead of reading beyond it.
  const int end = std::min(first + kPrintBandRows, height_);
  TPrintBand band;
  band.Source = {0, first, width_, end};
  band.Dest = {kPrintMargin, kPrintMargin + PrinterRow(first), kPrintMargin + output_.Width,
               kPrintMargin + PrinterRow(end)};
  band.Progress = int(int64_t(first) * 100 / height_);
  return band;
}

TTilePlan::TTilePlan(int width, int height, const TPrintPage& page)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      area_(PrintableArea(page)),
      counts_(CountPages(width, height, page)) {}

TPrintTile TTilePlan::Tile(int64_t index) const {
  TPrintTile tile;
  if (index < 0 || index >= counts_.Total) return tile;
  tile.Column = int(index % counts_.X);
  tile.Row = int(index / counts_.X);
  const int left = tile.Column * area_.Width;
  const int top = tile.Row * area_.Height;
  // Cut at the picture's right and bottom edges; the subtraction keeps the
  // sums within range for pictures near the largest width.
  const int w = std::min(area_.Width, width_ - left);
  const int h = std::min(area_.Height, height_ - top);
  tile.Source = {left, top, left + w, top + h};
  tile.Dest = {kPrintMargin, kPrintMargin, kPrintMargin + w, kPrintMargin + h};
  tile.Title = std::to_string(tile.Column) + " " + std::to_string(tile.Row);
  tile.Progress = int(index * 100 / counts_.Total);
  tile.Frame = {.Left = tile.Column == 0,
                .Top = tile.Row == 0,
                .Right = tile.Column == counts_.X - 1,
                .Bottom = tile.Row == counts_.Y - 1};
  return tile;
}

}  // namespace quorvane
