#include "imaging/view_zoom.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace quorvane {

namespace {

// 1/64 ... 1/2, 2/3, 1, 3/2, 2 ... 32: the halvings and the steps between
// them that viewers commonly offer.
constexpr std::array<TViewZoom, 25> kSteps{
    {{1, 64}, {1, 48}, {1, 32}, {1, 24}, {1, 16}, {1, 12}, {1, 8}, {1, 6}, {1, 4},
     {1, 3},  {1, 2},  {2, 3},  {1, 1},  {3, 2},  {2, 1},  {3, 1}, {4, 1}, {6, 1},
     {8, 1},  {12, 1}, {16, 1}, {24, 1}, {32, 1}, {48, 1}, {64, 1}}};

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t CeilDiv(int64_t a, int64_t b) {
  return -FloorDiv(-a, b);
}

// Keeps the fraction's terms small so products of positions stay in range.
TViewZoom Reduced(int64_t num, int64_t den) {
  const int64_t g = std::gcd(num, den);
  return {num / g, den / g};
}

}  // namespace

TViewZoom ZoomedIn(TViewZoom zoom) {
  for (const TViewZoom& step : kSteps)
    if (zoom < step) return step;
  return kSteps.back();
}

TViewZoom ZoomedOut(TViewZoom zoom) {
  for (auto step = kSteps.rbegin(); step != kSteps.rend(); ++step)
    if (*step < zoom) return *step;
  return kSteps.front();
}

TViewZoom FitZoom(int picture_width, int picture_height, int view_width, int view_height) {
  if (picture_width <= 0 || picture_height <= 0) return kActualPixels;
  // The smaller of the two ratios, as a fraction.
  const int64_t w = std::max(view_width, 1), h = std::max(view_height, 1);
  TViewZoom fit = int64_t(w) * picture_height <= int64_t(h) * picture_width
                      ? Reduced(w, picture_width)
                      : Reduced(h, picture_height);
  return std::max(fit, kSteps.front());
}

std::string ZoomPercentText(TViewZoom zoom) {
  const double percent = std::round(double(zoom.Num) * 10000.0 / double(zoom.Den)) / 100.0;
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", percent);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s + "%";
}

int64_t ViewToPicture(int64_t v, TViewZoom zoom) {
  return FloorDiv(v * zoom.Den, zoom.Num);
}

int64_t PictureToView(int64_t p, TViewZoom zoom) {
  return CeilDiv(p * zoom.Num, zoom.Den);
}

int64_t ViewExtent(int picture_side, TViewZoom zoom) {
  return PictureToView(picture_side, zoom);
}

TRect PictureRectOfView(const TRect& view, TViewZoom zoom, int picture_width, int picture_height) {
  auto clip = [](int64_t v, int limit) { return int(std::clamp<int64_t>(v, 0, limit)); };
  return {clip(ViewToPicture(view.Left, zoom), picture_width),
          clip(ViewToPicture(view.Top, zoom), picture_height),
          clip(CeilDiv(int64_t(view.Right) * zoom.Den, zoom.Num), picture_width),
          clip(CeilDiv(int64_t(view.Bottom) * zoom.Den, zoom.Num), picture_height)};
}

TRect ViewRectOfPicture(const TRect& picture, TViewZoom zoom) {
  return {int(PictureToView(picture.Left, zoom)), int(PictureToView(picture.Top, zoom)),
          int(PictureToView(picture.Right, zoom)), int(PictureToView(picture.Bottom, zoom))};
}

int64_t ScrollKeepingAnchor(int64_t scroll, int64_t anchor, TViewZoom from, TViewZoom to) {
  // The anchor's picture position as a fraction of pixels, kept exactly; the
  // products outgrow 64 bits on very wide pictures.
  const __int128 view = scroll + anchor;
  const __int128 num = view * from.Den * to.Num, den = __int128(from.Num) * to.Den;
  const __int128 target = num / den;  // both positive
  return std::max<int64_t>(int64_t(target) - anchor, 0);
}

}  // namespace quorvane
