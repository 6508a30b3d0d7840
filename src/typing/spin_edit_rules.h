#pragma once
// The rules behind the number spin edits: which typed keys they take, how
// their text reads as a number, and how a step changes the value. The
// widgets only apply them. The separators are the user's, as the window's
// readouts use them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "geo/geo_format.h"

namespace quorvane {

enum class TSpinNumberKind : uint8_t { Real, Integer };

enum class TSpinKeyVerdict : uint8_t {
  Accept,         // the edit handles the key as usual
  Refuse,         // swallowed, with a beep
  LeaveToDialog,  // Enter: never typed, left to the dialog's default button
};

struct TSpinKeyPress {
  std::string_view Typed;  // the text the key types (UTF-8), empty for none
  bool Chord = false;      // held with Ctrl, Alt or Meta: a command, not typing
};
// Keys that type nothing (arrows, Home, Delete, modifiers), chords such as
// Ctrl+V, and control characters other than Enter are accepted; so are
// digits, "+", "-" and the thousands separator, and for reals also "E", "e"
// and the decimal separator. Anything else is refused.
TSpinKeyVerdict JudgeSpinKey(const TSpinKeyPress& key, TSpinNumberKind kind,
                             const TNumberFormat& format);

// The text as a number after removing thousands separators, or nothing when
// it does not read as one: blanks around it are allowed, a sign, digits with
// at most one decimal separator and an exponent ("1.5E-3"); no infinities,
// no NaN, nothing beyond the double range.
std::optional<double> ParseSpinReal(std::string_view text, const TNumberFormat& format);
// A sign and digits after removing thousands separators, within the range
// of int.
std::optional<int> ParseSpinInteger(std::string_view text, const TNumberFormat& format);

// The text a value is written as: general format for reals.
std::string SpinRealText(double value, const TNumberFormat& format);
std::string SpinIntegerText(int value);

// Holding Ctrl steps ten increments at a time.
constexpr int SpinSteps(bool up, bool ctrl) {
  return (up ? 1 : -1) * (ctrl ? 10 : 1);
}

struct TRealLimits {
  double Min = 0.0;
  double Max = 0.0;
};
struct TIntegerLimits {
  int Min = 0;
  int Max = 0;
  bool Wrap = false;  // stepping beyond one end continues at the other
};

double ClampSpinValue(double value, const std::optional<TRealLimits>& limits);
int ClampSpinValue(int64_t value, const std::optional<TIntegerLimits>& limits);

// value + steps x increment, kept within the limits.
double StepSpinValue(double value, double increment, int steps,
                     const std::optional<TRealLimits>& limits);
int StepSpinValue(int value, int increment, int steps, const std::optional<TIntegerLimits>& limits);

}  // namespace quorvane
