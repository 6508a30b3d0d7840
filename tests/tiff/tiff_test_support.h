#pragma once
// Small helpers shared by the TIFF reader tests.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/error.h"
#include "tiff/tiff_reader.h"

namespace quorvane::test {

inline void LoadTiffBytes(const std::vector<uint8_t>& bytes, TRasterBitmap& bitmap,
                          TStageReporter* progress = nullptr) {
  TByteStream stream(bytes);
  TGeoTiffTags tags;
  ReadTiff(stream, bitmap, tags, progress);
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

}  // namespace quorvane::test
