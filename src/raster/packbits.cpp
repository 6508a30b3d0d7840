#include "raster/packbits.h"

namespace quorvane {

size_t PackBitsEncodeRow(const uint8_t* row, size_t n, std::vector<uint8_t>& out) {
  const size_t start = out.size();
  uint8_t literals[127];
  size_t literal_count = 0;
  auto flush_literals = [&] {
    if (literal_count == 0) return;
    out.push_back(uint8_t(literal_count - 1));
    out.insert(out.end(), literals, literals + literal_count);
    literal_count = 0;
  };
  size_t p = 0;
  while (p < n) {
    // j counts the bytes after p that repeat row[p], at most 127.
    size_t j = 0;
    while (j < 127 && j + 1 < n && p + j + 1 < n && row[p + j] == row[p + j + 1]) ++j;
    if (j > 1 || literal_count == 127) {
      flush_literals();
      if (j > 0) {
        out.push_back(uint8_t(256 - j));
        out.push_back(row[p]);
        p += j + 1;
      }
    } else {
      literals[literal_count++] = row[p];
      ++p;
    }
  }
  flush_literals();
  if ((out.size() - start) % 2 != 0) out.push_back(128);
  return out.size() - start;
}

}  // namespace quorvane
