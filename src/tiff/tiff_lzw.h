#pragma once
// LZW decoding of TIFF strips: codes most significant bit first, 9 to 12 bits
// wide, the width growing one code early. The decoder keeps its table and
// output buffer between strips, so a file with thousands of strips allocates
// once.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/bitmap.h"

namespace quorvane {

class TTiffLzwDecoder {
 public:
  TTiffLzwDecoder();

  // Decodes the strip that starts at `start` in file[0..file_size) until the
  // end-of-information code, the end of the file or `limit` bytes of output,
  // whichever comes first. Returns the output; Produced() bytes of it are
  // valid. Throws EQuorvaneError with
  // "Invalid LZW Code: <code>><next> @:<file position>" on a code beyond the
  // next free one, or on a string longer than the 4096 bytes any table entry
  // can stand for.
  const uint8_t* DecodeStrip(const uint8_t* file, size_t file_size, size_t start, size_t limit);

  // Bytes the last strip produced before its data ended (at most `limit`).
  size_t Produced() const { return produced_; }

 private:
  template <typename TOffset>
  size_t Decode(const uint8_t* in, uint64_t available, size_t start, size_t limit);

  // Root bytes, then the strip's output. Fresh memory comes zeroed from the
  // system and is only touched as far as a strip decodes.
  TPixelBuffer buffer_;
  std::vector<uint8_t> table_;  // entries, typed per strip size
  size_t produced_ = 0;
};

}  // namespace quorvane
