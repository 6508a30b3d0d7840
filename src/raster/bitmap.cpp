#include "raster/bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include <sys/mman.h>

#include "raster/byte_stream.h"
#include "raster/error.h"

namespace quorvane {

int BitsPerPixelOf(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::Bit1:
      return 1;
    case TPixelFormat::Bit4:
      return 4;
    case TPixelFormat::Bit8:
      return 8;
    case TPixelFormat::Bit15:
    case TPixelFormat::Bit16:
      return 16;
    case TPixelFormat::Bit24:
      return 24;
    case TPixelFormat::Device:
    case TPixelFormat::Bit32:
    case TPixelFormat::Custom:
      return 32;
  }
  return 32;
}

bool IsPaletteFormat(TPixelFormat format) {
  return format == TPixelFormat::Bit1 || format == TPixelFormat::Bit4 ||
         format == TPixelFormat::Bit8;
}

size_t PixelMemorySize(int64_t width, int64_t height, int bits_per_pixel) {
  if (width < 0 || height < 0) throw EQuorvaneError("Invalid bitmap size", TErrorKind::Usage);
  const int64_t stride = RowStride(width, bits_per_pixel, 32);
  if (height != 0 && stride > std::numeric_limits<int64_t>::max() / height)
    throw EQuorvaneError("Bitmap too large", TErrorKind::TooLarge);
  const int64_t size = stride * height;
  if (uint64_t(size) > std::numeric_limits<size_t>::max() / 2)
    throw EQuorvaneError("Bitmap too large", TErrorKind::TooLarge);
  return size_t(size);
}

namespace {
// A large picture is written once from end to end: in 2 MB pages the kernel
// takes one fault where it would take 512, which halves the cost of a first
// pass over a fresh 100 MB picture. Only the whole 2 MB steps inside the
// block are advised; smaller blocks are left as they are.
void AdviseHugePages([[maybe_unused]] uint8_t* data, [[maybe_unused]] size_t size) {
#ifdef MADV_HUGEPAGE
  constexpr uintptr_t kHuge = uintptr_t(2) << 20;
  if (size < 4 * kHuge) return;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + kHuge - 1) & ~(kHuge - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + size) & ~(kHuge - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}
}  // namespace

void TPixelBuffer::FreeDeleter::operator()(uint8_t* p) const {
  std::free(p);
}

TPixelBuffer::TPixelBuffer(size_t size) : size_(size) {
  if (size == 0) return;
  data_.reset(static_cast<uint8_t*>(std::calloc(size, 1)));
  if (!data_) throw ENotEnoughMemory("hold the picture", size);
  AdviseHugePages(data_.get(), size);
}

namespace {
std::vector<TRGBQuad> GreyColorTable(int bits) {
  const int count = 1 << bits;
  std::vector<TRGBQuad> table(count);
  for (int i = 0; i < count; ++i) {
    const uint8_t v = uint8_t(i * 255 / (count - 1));
    table[i] = {v, v, v, 0};
  }
  return table;
}
}  // namespace

TRasterBitmap::TRasterBitmap(const TRasterBitmap& other)
    : width_(other.width_),
      height_(other.height_),
      format_(other.format_),
      stride_(other.stride_),
      pixels_(other.pixels_.Size()),
      colors_(other.colors_),
      x_pels_per_meter_(other.x_pels_per_meter_),
      y_pels_per_meter_(other.y_pels_per_meter_) {
  if (other.pixels_.Size() > 0) std::memcpy(pixels_.Data(), other.pixels_.Data(), pixels_.Size());
}

// A picture copied again and again at one size (a pane's clean copy, the
// tone base) keeps its pixel memory: touching fresh pages costs many times
// more than the copy itself.
TRasterBitmap& TRasterBitmap::operator=(const TRasterBitmap& other) {
  if (this == &other) return *this;
  if (pixels_.Size() > 0 && pixels_.Size() == other.pixels_.Size()) {
    colors_ = other.colors_;  // the only step that may throw, so it goes first
    width_ = other.width_;
    height_ = other.height_;
    format_ = other.format_;
    stride_ = other.stride_;
    x_pels_per_meter_ = other.x_pels_per_meter_;
    y_pels_per_meter_ = other.y_pels_per_meter_;
    std::memcpy(pixels_.Data(), other.pixels_.Data(), pixels_.Size());
    return *this;
  }
  TRasterBitmap copy(other);
  *this = std::move(copy);
  return *this;
}

void TRasterBitmap::Reset(TPixelFormat format, int width, int height) {
  const int bits = BitsPerPixelOf(format);
  const size_t size = PixelMemorySize(width, height, bits);
  TPixelBuffer pixels(size);
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
  format_ = format;
  stride_ = size_t(RowStride(width, bits, 32));
  colors_ = IsPaletteFormat(format) ? GreyColorTable(bits) : std::vector<TRGBQuad>{};
}

void TRasterBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  const int bits = BitsPerPixel();
  TPixelBuffer pixels(PixelMemorySize(width, height, bits));
  const size_t stride = size_t(RowStride(width, bits, 32));
  const int rows = std::min(height, height_);
  const size_t row_bytes = std::min(stride, stride_);
  for (int r = 0; r < rows; ++r) {
    std::memcpy(pixels.Data() + size_t(height - 1 - r) * stride, Scanline(r), row_bytes);
  }
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
  stride_ = stride;
  if (IsPaletteFormat(format_) && colors_.empty()) colors_ = GreyColorTable(bits);
}

// A row outside the picture would address memory outside it.
uint8_t* TRasterBitmap::Scanline(int row) {
  if (row < 0 || row >= height_)
    throw EQuorvaneError("Scan line index out of range", TErrorKind::Usage);
  return pixels_.Data() + size_t(height_ - 1 - row) * stride_;
}

const uint8_t* TRasterBitmap::Scanline(int row) const {
  if (row < 0 || row >= height_)
    throw EQuorvaneError("Scan line index out of range", TErrorKind::Usage);
  return pixels_.Data() + size_t(height_ - 1 - row) * stride_;
}

std::vector<TPaletteColor> TRasterBitmap::QueryPalette(int count) const {
  const int n = std::clamp(count, 0, int(colors_.size()));
  std::vector<TPaletteColor> palette(n);
  for (int i = 0; i < n; ++i) palette[i] = {colors_[i].Red, colors_[i].Green, colors_[i].Blue, 0};
  return palette;
}

void TRasterBitmap::AdoptSection(const TBitmapInfoHeader& header, std::span<const TRGBQuad> colors,
                                 TPixelBuffer pixels) {
  TPixelFormat format;
  switch (header.BitCount) {
    case 1:
      format = TPixelFormat::Bit1;
      break;
    case 4:
      format = TPixelFormat::Bit4;
      break;
    case 8:
      format = TPixelFormat::Bit8;
      break;
    case 16:
      format = TPixelFormat::Bit15;
      break;
    case 24:
      format = TPixelFormat::Bit24;
      break;
    case 32:
      format = TPixelFormat::Bit32;
      break;
    default:
      throw EQuorvaneError("Unsupported Format: Could not create Bitmap.", TErrorKind::Unsupported);
  }
  const size_t needed = PixelMemorySize(header.Width, header.Height, header.BitCount);
  if (pixels.Size() < needed)
    throw EQuorvaneError("Unsupported Format: Could not create Bitmap.", TErrorKind::Unsupported);
  width_ = header.Width;
  height_ = header.Height;
  format_ = format;
  stride_ = size_t(RowStride(header.Width, header.BitCount, 32));
  pixels_ = std::move(pixels);
  colors_.clear();
  if (IsPaletteFormat(format)) {
    colors_ = GreyColorTable(header.BitCount);
    const size_t n = std::min(colors.size(), colors_.size());
    std::copy_n(colors.begin(), n, colors_.begin());
  }
  x_pels_per_meter_ = header.XPelsPerMeter;
  y_pels_per_meter_ = header.YPelsPerMeter;
}

}  // namespace quorvane
