#pragma once
// How measurements (samples of more than 8 bits, signed or floating point)
// are shown as 8-bit pictures: which bands become red, green and blue (or the
// one grey), and the stretch that maps each band's values to 0..255.
//
//   Cut     the values from the 2% point to the 98% point of the band's valid
//           samples spread over 0..255; what lies below shows 0, above 255.
//           The 2% point is the smallest value v for which the count of valid
//           samples <= v reaches 2% of all valid samples (the 98% point the
//           same with 98%). Integers of up to 16 bits are counted exactly, one
//           bin per value; other types in 65536 equal bins between the band's
//           minimum and maximum, the 2% point being the low edge of its bin
//           and the 98% point the high edge of its bin.
//   MinMax  the band's minimum to 0, its maximum to 255.
//   None    the range the sample type can hold to 0..255 (unsigned 0 to
//           2^bits - 1, signed -2^(bits-1) to 2^(bits-1) - 1); floating point
//           values as they are, rounded and clipped to 0..255.
// Valid samples are finite and differ from the file's nodata value; the
// others show black. A band whose stretch range is one value shows its
// values from there on white, those below black.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

enum class TDisplayStretch : uint8_t { Cut, MinMax, None };

struct TAnyTiffDisplay {
  TDisplayStretch Stretch = TDisplayStretch::Cut;
  // Sample indices from 0: three for red, green and blue, one for grey, none
  // for the file's own choice (bands 1, 2, 3 when it has three or more, else
  // band 1).
  std::vector<int> Bands;
  // A band the file lacks is an error; otherwise (a choice remembered from
  // another file) the file's own choice is shown instead.
  bool BandsRequired = true;
  bool operator==(const TAnyTiffDisplay&) const = default;
};

// "cut", "minmax", "none"; nothing for any other text.
std::optional<TDisplayStretch> ParseDisplayStretch(const std::string& text);
const char* DisplayStretchName(TDisplayStretch stretch);

// "4,3,2" or "1" (bands counted from 1) as sample indices from 0; throws
// EQuorvaneError for anything else.
std::vector<int> ParseBandList(const std::string& text);

// What one shown band held: its valid range and where its stretch put 0 and
// 255. Empty when the band has no valid sample.
struct TBandSummary {
  int Band = 0;  // sample index from 0
  bool Empty = true;
  double Min = 0, Max = 0;
  double Low = 0, High = 0;  // the values shown as 0 and as 255
};

}  // namespace quorvane
