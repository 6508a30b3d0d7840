#pragma once
// Small helpers shared by the TIFF reader tests.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/error.h"
#include "support/decode_limits.h"
#include "tiff/tiff_reader.h"

namespace quorvane::test_support {

// Under the tests' memory cap (support/decode_limits.h).
inline void LoadTiffBytes(const std::vector<uint8_t>& bytes, TRasterBitmap& bitmap,
                          TStageReporter* progress = nullptr) {
  TGeoTiffTags tags;
  DecodeTiff(bytes, bitmap, tags, test_support::TestDecode(progress));
}

// The message a load raises, or "" when it succeeds.
inline std::string LoadMessage(const std::vector<uint8_t>& bytes, TRasterBitmap& bitmap) {
  try {
    LoadTiffBytes(bytes, bitmap);
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

inline std::string LoadMessage(const std::vector<uint8_t>& bytes) {
  TRasterBitmap bitmap;
  return LoadMessage(bytes, bitmap);
}

// The kind of the load's failure, or nothing when it succeeds.
inline std::optional<TErrorKind> LoadFailureKind(const std::vector<uint8_t>& bytes) {
  TRasterBitmap bitmap;
  try {
    LoadTiffBytes(bytes, bitmap);
  } catch (const EQuorvaneError& e) {
    return e.Kind();
  }
  return std::nullopt;
}

// The message the header reader raises, or "" when it accepts the file.
inline std::string HeaderMessage(const std::vector<uint8_t>& bytes) {
  TGeoTiffTags tags;
  try {
    ReadTiffHeader(bytes, tags, test_support::TestLimits());
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

// The first `bytes_per_row` bytes of every row, top row first.
inline std::vector<uint8_t> RowBytes(const TRasterBitmap& b, size_t bytes_per_row) {
  std::vector<uint8_t> out;
  for (int r = 0; r < b.Height(); ++r)
    out.insert(out.end(), b.Scanline(r), b.Scanline(r) + bytes_per_row);
  return out;
}

inline size_t UsedRowBytes(const TRasterBitmap& b) {
  return (size_t(b.Width()) * b.BitsPerPixel() + 7) / 8;
}

inline std::vector<uint8_t> Pixels(const TRasterBitmap& b) {
  return RowBytes(b, UsedRowBytes(b));
}

}  // namespace quorvane::test_support
