#include "imaging/startup_picture.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quorvane {

namespace {

// Palette: a few fixed colours, then a light ramp for the background.
constexpr uint8_t kInkIndex = 0;     // navy lettering
constexpr uint8_t kShadowIndex = 1;  // white drop shadow of the title
constexpr uint8_t kGridIndex = 2;    // map grid lines
constexpr uint8_t kTaglineIndex = 3;
constexpr int kRampStart = 4;
constexpr int kRampLength = 256 - kRampStart;

// A 5 x 7 font holding only the letters the picture needs; each row is five
// bits, the leftmost pixel in bit 4.
struct TGlyph {
  char Letter;
  std::array<uint8_t, 7> Rows;
};
constexpr TGlyph kFont[] = {
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'u', {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D}},
    {'o', {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E}},
    {'r', {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}},
    {'v', {0x00, 0x00, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'a', {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}},
    {'n', {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}},
    {'e', {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'i', {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}},
    {'f', {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'w', {0x00, 0x00, 0x11, 0x11, 0x15, 0x15, 0x0A}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'d', {0x01, 0x01, 0x0F, 0x11, 0x11, 0x11, 0x0F}},
    {'t', {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}},
    {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
};
constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kGlyphAdvance = 6;

const TGlyph* FindGlyph(char letter) {
  for (const TGlyph& g : kFont)
    if (g.Letter == letter) return &g;
  return nullptr;  // blanks and anything else leave a gap
}

void SetPixel(TRasterBitmap& b, int x, int y, uint8_t index) {
  if (x >= 0 && y >= 0 && x < b.Width() && y < b.Height()) b.Scanline(y)[x] = index;
}

// Writes `text` with its top-left corner at (x, y), each font pixel as a
// scale x scale block.
void DrawText(TRasterBitmap& b, std::string_view text, int x, int y, int scale, uint8_t index) {
  for (const char letter : text) {
    if (const TGlyph* glyph = FindGlyph(letter)) {
      for (int row = 0; row < kGlyphHeight; ++row)
        for (int col = 0; col < kGlyphWidth; ++col)
          if (glyph->Rows[row] & (0x10 >> col))
            for (int dy = 0; dy < scale; ++dy)
              for (int dx = 0; dx < scale; ++dx)
                SetPixel(b, x + col * scale + dx, y + row * scale + dy, index);
    }
    x += kGlyphAdvance * scale;
  }
}

int TextWidth(std::string_view text, int scale) {
  return (int(text.size()) * kGlyphAdvance - 1) * scale;
}

void FillPalette(TRasterBitmap& b) {
  auto table = b.ColorTable();
  table[kInkIndex] = {128, 0, 0, 0};  // blue, green, red
  table[kShadowIndex] = {255, 255, 255, 0};
  table[kGridIndex] = {200, 190, 170, 0};
  table[kTaglineIndex] = {60, 60, 60, 0};
  // From a pale sky blue in the top-left corner to a pale green in the
  // bottom-right one.
  for (int i = 0; i < kRampLength; ++i) {
    const auto mix = [&](int from, int to) {
      return uint8_t(from + (to - from) * i / (kRampLength - 1));
    };
    table[kRampStart + i] = {mix(250, 205), mix(228, 240), mix(200, 222), 0};
  }
}

void DrawBackground(TRasterBitmap& b) {
  const int span = b.Width() + b.Height() - 2;
  for (int y = 0; y < b.Height(); ++y) {
    uint8_t* row = b.Scanline(y);
    for (int x = 0; x < b.Width(); ++x) {
      const bool grid = x % 25 == 12 || y % 25 == 12;
      row[x] = grid ? kGridIndex : uint8_t(kRampStart + (x + y) * (kRampLength - 1) / span);
    }
  }
}

}  // namespace

TRasterBitmap MakeStartupPicture() {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit8, kStartupPictureWidth, kStartupPictureHeight);
  FillPalette(b);
  DrawBackground(b);
  constexpr std::string_view kTitle = "Quorvane";
  constexpr std::string_view kTagline = "GeoTiff Viewer/Editor";
  constexpr int kTitleScale = 3;
  const int title_x = (b.Width() - TextWidth(kTitle, kTitleScale)) / 2;
  DrawText(b, kTitle, title_x + 1, 13, kTitleScale, kShadowIndex);
  DrawText(b, kTitle, title_x, 12, kTitleScale, kInkIndex);
  DrawText(b, kTagline, (b.Width() - TextWidth(kTagline, 1)) / 2, 52, 1, kTaglineIndex);
  return b;
}

}  // namespace quorvane
