#pragma once
// Number, angle and unit text helpers shared by the readouts, the GeoTIFF
// report and the scale dialog. The separators are the caller's: the window
// passes the user's regional settings, the batch tool "." and ",".
#include <cstdint>
#include <string>

#include "raster/number_text.h"
#include "raster/units.h"

namespace quorvane {

// Number texts (TNumberFormat, FormatFixed, FormatNumber, FormatGeneral) come
// from raster/number_text.h.

// An angle in whole milliseconds of arc. The sign sits on the most
// significant non-zero part; an angle that rounds to zero loses it.
struct TDegreeParts {
  int32_t Degrees = 0;
  int32_t Minutes = 0;
  int32_t Seconds = 0;
  int32_t Milliseconds = 0;
  bool operator==(const TDegreeParts&) const = default;
};
// Angles beyond what 32-bit degrees hold saturate; NaN gives all zeros.
TDegreeParts SplitDegrees(double degrees);

// symbols: 12°34'56" style, else 12:34:56. millis (without symbols only): a
// blank and three millisecond digits. decimals: digits of the second's
// fraction, cut rather than rounded so the text never shows 60 seconds.
// NaN, infinite and out-of-range angles are written as plain numbers.
std::string FormatDegrees(bool symbols, bool millis, int decimals, double degrees,
                          const TNumberFormat& format = {});

// Decimal text of `value`, zero-padded on the left to `width` characters.
std::string PadInt(int64_t value, int width);
std::string ChooseText(bool flag, const std::string& when_true, const std::string& when_false);

// Length units derived from the length of a foot in metres. The program
// uses the international foot; the US survey foot is there for comparison
// and conversions that ask for it.
struct TFootUnits {
  double MetresPerFoot;
  double FeetPerMetre;
  double InchesPerMetre;
  double MetresPerInch;
};
constexpr TFootUnits MakeFootUnits(double metres_per_foot) {
  const double feet_per_metre = 1 / metres_per_foot;
  const double inches_per_metre = 12 * feet_per_metre;
  return {metres_per_foot, feet_per_metre, inches_per_metre, 1 / inches_per_metre};
}
constexpr double kInternationalFootMetres = 0.3048;
constexpr double kUsSurveyFootMetres = 0.304800609601;
// The international inch is the codecs' one value (raster/units.h).
constexpr TFootUnits kFootUnits{kInternationalFootMetres, 1 / kInternationalFootMetres,
                                kInchesPerMetre, kMetresPerInch};
constexpr TFootUnits UsSurveyFootUnits() {
  return MakeFootUnits(kUsSurveyFootMetres);
}

}  // namespace quorvane
