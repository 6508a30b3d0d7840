#pragma once
// The one rule every decoder follows before it allocates a picture: the
// picture's pixel memory must fit within a memory cap, whatever the file
// holds. The cap defaults to half the physical memory; a caller (a fuzz
// target, a test, an option of the load) may set a smaller one. A header
// beyond the cap is refused before anything is allocated. A file that holds
// less than its header promises is no reason to refuse: what it holds is
// decoded and the rest of the picture stays zero.
#include <cstdint>

namespace quorvane {

// Half the physical memory of this machine (4 GiB when it cannot be told).
uint64_t DefaultMaxPictureBytes();

struct TDecodeLimits {
  // Bytes of pixel memory one decoded picture may take; 0 takes
  // DefaultMaxPictureBytes().
  uint64_t MaxPictureBytes = 0;

  uint64_t Cap() const { return MaxPictureBytes ? MaxPictureBytes : DefaultMaxPictureBytes(); }

  // Throws EQuorvaneError "Picture too large: W x H pixels at B bits per
  // pixel need N bytes, more than the memory cap of C bytes" (or, for a side
  // the bitmap cannot address, "... more than 2147483647 pixels a side").
  void CheckPicture(int64_t width, int64_t height, int bits_per_pixel) const;
};

}  // namespace quorvane
