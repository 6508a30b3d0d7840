#pragma once
// Shared by the extended TIFF reader's tests: decoding bytes with a given
// memory cap, the message a decode raises, and the stretch the reader
// documents, computed independently of its code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "anytiff/any_tiff_reader.h"
#include "raster/bitmap.h"
#include "raster/error.h"
#include "raster/geotiff_tags.h"
#include "support/libtiff_writer.h"
#include "support/test_pictures.h"

namespace quorvane::test_support {

constexpr uint64_t kRoomyCap = uint64_t(1) << 30;

struct TAnyDecoded {
  TRasterBitmap Picture;
  TGeoTiffTags Tags;
  TAnyTiffResult Result;
};

inline TAnyDecoded DecodeAny(std::span<const uint8_t> bytes, uint64_t cap = kRoomyCap) {
  TAnyDecoded d;
  TAnyTiffOptions options;
  options.MaxPictureBytes = cap;
  d.Result = DecodeAnyTiffBytes(bytes, d.Picture, d.Tags, options);
  return d;
}

// The message a decode raises, or "" when it succeeds.
inline std::string AnyMessage(std::span<const uint8_t> bytes, uint64_t cap = kRoomyCap) {
  try {
    DecodeAny(bytes, cap);
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

// The greys the reader documents for one band: valid values (finite, not the
// nodata value) stretched from their minimum to their maximum, ties to even;
// invalid ones 0; a flat band 255.
inline std::vector<int> ExpectedStretch(const std::vector<double>& values,
                                        std::optional<double> nodata) {
  auto valid = [&](double v) { return std::isfinite(v) && !(nodata && v == *nodata); };
  double lo = HUGE_VAL, hi = -HUGE_VAL;
  for (double v : values)
    if (valid(v)) lo = std::min(lo, v), hi = std::max(hi, v);
  std::vector<int> greys;
  for (double v : values) {
    if (!valid(v)) {
      greys.push_back(0);
    } else if (hi == lo) {
      greys.push_back(255);
    } else {
      greys.push_back(int(std::nearbyint((v - lo) * (255.0 / (hi - lo)))));
    }
  }
  return greys;
}

// Sample value v of `bits` scaled over the full range to 8 bits.
inline int FullRange(uint64_t v, int bits) {
  const double top = std::ldexp(1.0, bits) - 1;
  return int(std::floor(double(v) * 255.0 / top + 0.5));
}

inline std::vector<uint8_t> WriteTiff(const TTempDir& dir, const std::string& name,
                                      const TTiffRecipe& recipe, const TSampleFunction& sample) {
  return WriteTiffWithLibtiff(dir / name, recipe, sample);
}

}  // namespace quorvane::test_support
