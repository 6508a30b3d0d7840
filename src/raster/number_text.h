#pragma once
// Numbers as text, shared by every readout: the georeference and measuring
// readouts, the GeoTIFF report and the tone values. The separators are the
// caller's: the window passes the user's regional settings, the batch tool
// "." and ",". NaN and infinities read "NAN", "INF" and "-INF" in every
// helper here.
#include <string>

namespace quorvane {

struct TNumberFormat {
  std::string DecimalSeparator = ".";
  std::string ThousandSeparator = ",";
};

// "NAN", "INF" or "-INF" for a value that has no digits, else empty.
std::string NonFiniteText(double value);

// Fixed notation with `decimals` digits after the separator (0 to 30),
// correctly rounded from the binary value.
std::string FormatFixed(double value, int decimals, const TNumberFormat& format = {});
// As FormatFixed, with the integer digits grouped by threes.
std::string FormatNumber(double value, int decimals, const TNumberFormat& format = {});
// The shortest text with at most 15 significant digits: plain notation for
// 0.00001 <= |value| < 1E15, otherwise mantissa and exponent ("1.5E-6", "1E15").
std::string FormatGeneral(double value, const TNumberFormat& format = {});
// Fixed notation with `decimals` digits (0 to 30) of the value first rounded
// to `precision` significant digits (1 to 18); the second rounding goes half
// away from zero, so with precision 18 and one decimal 0.25 gives 0.3 while
// 0.15 (0.1499999...) gives 0.1.
std::string FormatFixedPrecision(double value, int precision, int decimals,
                                 const TNumberFormat& format = {});

}  // namespace quorvane
