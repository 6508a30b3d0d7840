#pragma once
// The raster bitmap every part of the program exchanges: a device-independent
// bitmap in the layout of the Windows bitmap file format. Rows are stored
// bottom-up, each padded to a multiple of 4 bytes; 24-bit pixels are blue,
// green, red; palette formats carry a colour table of 2^bits entries.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace quorvane {

enum class TPixelFormat : uint8_t { Device, Bit1, Bit4, Bit8, Bit15, Bit16, Bit24, Bit32, Custom };

// Bits of storage per pixel. Device and custom pixels are kept as 32 bits;
// the program never addresses them.
int BitsPerPixelOf(TPixelFormat format);
bool IsPaletteFormat(TPixelFormat format);

// One entry of the colour table as stored in the pixel memory's header.
struct TRGBQuad {
  uint8_t Blue = 0, Green = 0, Red = 0, Reserved = 0;
  bool operator==(const TRGBQuad&) const = default;
};

// One entry of the palette as the program queries it.
struct TPaletteColor {
  uint8_t Red = 0, Green = 0, Blue = 0, Flags = 0;
  bool operator==(const TPaletteColor&) const = default;
};

// The standard 40-byte Windows bitmap information header.
struct TBitmapInfoHeader {
  uint32_t Size = 40;
  int32_t Width = 0;
  int32_t Height = 0;  // positive: rows bottom-up
  uint16_t Planes = 1;
  uint16_t BitCount = 0;
  uint32_t Compression = 0;
  uint32_t SizeImage = 0;
  int32_t XPelsPerMeter = 0;
  int32_t YPelsPerMeter = 0;
  uint32_t ClrUsed = 0;
  uint32_t ClrImportant = 0;
};

// Zero-initialised pixel memory. calloc hands large blocks over as fresh
// zero pages, so a decoder that overwrites every row pays for no memset.
class TPixelBuffer {
 public:
  TPixelBuffer() = default;
  // Throws ENotEnoughMemory (a std::bad_alloc) when the memory cannot be had.
  explicit TPixelBuffer(size_t size);
  uint8_t* Data() { return data_.get(); }
  const uint8_t* Data() const { return data_.get(); }
  size_t Size() const { return size_; }

 private:
  struct FreeDeleter {
    void operator()(uint8_t* p) const;
  };
  std::unique_ptr<uint8_t, FreeDeleter> data_;
  size_t size_ = 0;
};

class TRasterBitmap {
 public:
  TRasterBitmap() = default;
  TRasterBitmap(const TRasterBitmap& other);
  TRasterBitmap& operator=(const TRasterBitmap& other);
  TRasterBitmap(TRasterBitmap&&) noexcept = default;
  TRasterBitmap& operator=(TRasterBitmap&&) noexcept = default;
  virtual ~TRasterBitmap() = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Resizing keeps the overlapping top-left content; new pixels are zero.
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  void SetSize(int width, int height);

  TPixelFormat PixelFormat() const { return format_; }
  // Converts the existing pixels; converting to 24-bit keeps every colour,
  // converting to a palette format picks the nearest palette colour.
  void SetPixelFormat(TPixelFormat format);
  int BitsPerPixel() const { return BitsPerPixelOf(format_); }
  size_t Stride() const { return stride_; }

  // Row r of the image, r = 0 being the top row (the last row in memory).
  // Throws "Scan line index out of range" for a row outside 0 .. Height-1.
  uint8_t* Scanline(int row);
  const uint8_t* Scanline(int row) const;
  // The pixel memory as stored: bottom row first.
  uint8_t* Bits() { return pixels_.Data(); }
  const uint8_t* Bits() const { return pixels_.Data(); }

  // Colour table (blue, green, red, 0) of a palette format: 2^bits entries.
  std::span<TRGBQuad> ColorTable() { return colors_; }
  std::span<const TRGBQuad> ColorTable() const { return colors_; }
  // The palette as (red, green, blue, flags), up to `count` entries.
  std::vector<TPaletteColor> QueryPalette(int count) const;

  // Replaces the content with a pixel memory block built elsewhere. The
  // header's bit count decides the format (16 gives 15-bit).
  void AdoptSection(const TBitmapInfoHeader& header, std::span<const TRGBQuad> colors,
                    TPixelBuffer pixels);

  int32_t XPelsPerMeter() const { return x_pels_per_meter_; }
  int32_t YPelsPerMeter() const { return y_pels_per_meter_; }
  void SetPelsPerMeter(int32_t x, int32_t y) {
    x_pels_per_meter_ = x;
    y_pels_per_meter_ = y;
  }

  // Low-level: set format and size without converting; pixels become zero and
  // a palette format gets a grey colour table until one is set.
  void Reset(TPixelFormat format, int width, int height);

 private:
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::Bit24;
  size_t stride_ = 0;
  TPixelBuffer pixels_;
  std::vector<TRGBQuad> colors_;
  int32_t x_pels_per_meter_ = 0;
  int32_t y_pels_per_meter_ = 0;
};

// Bytes of pixel memory for width x height at the given depth, or throws
// EQuorvaneError when the product does not fit the address space.
size_t PixelMemorySize(int64_t width, int64_t height, int bits_per_pixel);

// The three bytes blue, green, red of a 24-bit pixel.
struct TTriple {
  uint8_t Blue = 0, Green = 0, Red = 0;
  bool operator==(const TTriple&) const = default;
};
inline TTriple MakeTriple(uint8_t red, uint8_t green, uint8_t blue) {
  return {blue, green, red};
}

}  // namespace quorvane
