#pragma once
// PackBits run-length encoding of one row, shared by the TIFF writer and the
// IFF (PBM) writer. Runs never cross rows; every encoded row has an even
// length (a no-op control byte 128 pads an odd one).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvane {

// Appends the encoding of row[0..n) to `out`; returns the bytes appended.
size_t PackBitsEncodeRow(const uint8_t* row, size_t n, std::vector<uint8_t>& out);

}  // namespace quorvane
