#pragma once
// A plain block of pixel memory addressed by row, rows stored top to bottom
// without padding: the intermediate image between the two resampling passes.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace quorvane {

class TPseudoBitmap {
 public:
  // Contents undefined. Sizes are 64-bit so that large intermediates neither
  // overflow nor wrap; throws EQuorvaneError for sizes that cannot exist and
  // std::bad_alloc when the memory cannot be had.
  TPseudoBitmap(int width, int height, int bytes_per_pixel);

  uint8_t* Bits() { return bits_.get(); }
  const uint8_t* Bits() const { return bits_.get(); }
  size_t RowSize() const { return row_size_; }
  size_t Size() const { return size_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int BytesPerPixel() const { return bytes_per_pixel_; }

  // Row 0 .. Height; Height itself gives the address just past the last row.
  uint8_t* Scanline(int row);
  const uint8_t* Scanline(int row) const;

 private:
  std::unique_ptr<uint8_t[]> bits_;
  size_t row_size_ = 0;
  size_t size_ = 0;
  int width_ = 0;
  int height_ = 0;
  int bytes_per_pixel_ = 0;
};

}  // namespace quorvane
