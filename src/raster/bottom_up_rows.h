#pragma once
// Rows that arrive top row first laid out bottom row first, as the bitmap
// and TGA files store them: gathered into bands of about a megabyte and
// each band written at its place in the sink.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/byte_sink.h"

namespace quorvane {

class TBottomUpRows {
 public:
  // `height` rows of `row_bytes` bytes each, the bottom row at `at`.
  TBottomUpRows(TByteSink& sink, uint64_t at, int height, size_t row_bytes);
  // The next row from the top; its first `row_bytes` bytes are written.
  void Put(const uint8_t* row);
  bool Complete() const { return next_row_ == height_; }

 private:
  void WriteBand(size_t rows);

  TByteSink& sink_;
  uint64_t at_;
  int height_;
  size_t row_bytes_;
  size_t band_rows_ = 1;
  std::vector<uint8_t> band_;
  int next_row_ = 0;
};

}  // namespace quorvane
