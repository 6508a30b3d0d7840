#pragma once
// Brightness, contrast and gamma through one 256-entry table shared by the
// three channels. Every adjustment starts again from the base copy of the
// last resize, so adjustments never accumulate.
#include <array>
#include <cstdint>
#include <string>

#include "raster/bitmap.h"

namespace quorvane {

// Slider values: positions 0 .. 100 divided by 100; 0.5 is neutral.
struct TToneValues {
  double Brightness = 0.5;
  double Contrast = 0.5;
  double Gamma = 0.5;
};

// x^y as the tone table takes it: 0 for x = 0, exact repeated products for a
// whole exponent (so neutral sliders give the identity), exp(y ln x) else.
double TonePower(double x, double y);

// Gamma first, then contrast about 128, then brightness as a factor; clamped
// to 0..255 and truncated.
std::array<uint8_t, 256> BuildToneTable(const TToneValues& values);

// Makes `destination` a tone-mapped 24-bit copy of `source`. The source is
// converted to 24-bit itself first, as the base copy is kept in that form.
void AdjustToneBitmap(TRasterBitmap& source, TRasterBitmap& destination, const TToneValues& values);

TToneValues ReadToneSliders(int brightness_position, int contrast_position, int gamma_position);

// The three panel texts: brightness and contrast in the shortest general form
// (up to 15 significant digits: 0.37, 1, 0), gamma in fixed notation with
// one decimal (0.37 gives 0.4, 1 gives 1.0).
struct TToneTexts {
  std::string Brightness;
  std::string Contrast;
  std::string Gamma;
};
TToneTexts ToneTexts(const TToneValues& values, char decimal_separator = '.');

// The position a centred track bar takes: (min + max) div 2.
inline int CentreTrackBarPosition(int min, int max) {
  return (min + max) / 2;
}

}  // namespace quorvane
