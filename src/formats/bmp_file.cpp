// The Windows bitmap (BMP) file image.
//
// Writing (always bottom-up, uncompressed, 14-byte file header + 40-byte
// BITMAPINFOHEADER):
//   1/4/8-bit  BI_RGB with the full colour table of 2^bits entries
//              (colours used 0 = all 2^bits).
//   15-bit     16 bits per pixel BI_RGB: the default 16-bit layout of the
//              format is 5-5-5, exactly the 15-bit pixel.
//   16-bit     16 bits per pixel BI_BITFIELDS with the three masks
//              0xF800, 0x07E0, 0x001F after the information header, so a
//              5-6-5 picture reads back as 5-6-5 (a BI_RGB 16-bit file would
//              be read as 5-5-5 by every reader).
//   24-bit     BI_RGB.
//   32-bit     BI_RGB; the fourth byte is written as held.
//   device and custom pixels are stored as 32 bits and are written as a
//   32-bit bitmap.
//
// Reading accepts, beyond what the writer produces:
//   - OS/2 1.x core headers (12 bytes, 3-byte colour entries), OS/2 2.x
//     headers (16 to 64 bytes), BITMAPINFOHEADER (40), the V2/V3 headers
//     (52, 56), V4 (108) and V5 (124);
//   - top-down rows (negative height), also for RLE data;
//   - RLE8 and RLE4 with the end-of-line, end-of-bitmap and delta escapes
//     (pixels a delta skips are index 0; runs past the right edge are cut;
//     data past the last row is ignored);
//   - 16- and 32-bit BI_BITFIELDS (and BI_ALPHABITFIELDS) with any
//     contiguous masks: 5-5-5 and 5-6-5 keep their pixels as 15-bit and
//     16-bit bitmaps, other 16-bit masks are expanded to 24-bit, other 32-bit
//     masks to 32-bit blue, green, red, alpha (0 without an alpha mask);
//   - 2 bits per pixel (Windows CE), widened to a 4-bit bitmap;
//   - colour tables shorter than 2^bits (missing entries are black), colour
//     counts above 2^bits when the declared table fits before the pixel data
//     (the first 2^bits entries are used), and bfOffBits (a value pointing
//     into the headers is replaced by the end of the colour table).
// Refused with an EQuorvaneError: a missing "BM" signature, unknown header
// sizes, planes other than 1, negative width, bit counts and compressions
// outside the list above (embedded JPEG and PNG, OS/2 Huffman and RLE24),
// broken bit-field masks, and pictures beyond the memory cap of the decode
// limits. Short pixel data is not an error: the rows (and the part of a row)
// present are kept, the rest is zero.
//
// The picture is decoded into a new bitmap and moved into the caller's only
// when decoding succeeded, so a failure leaves the caller's bitmap as it was.
#include "formats/bmp_file.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>

#include "raster/byte_reader.h"
#include "raster/error.h"
#include "raster/file_ranges.h"

namespace quorvane {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiJpeg = 4;
constexpr uint32_t kBiPng = 5;
constexpr uint32_t kBiAlphaBitfields = 6;

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

[[noreturn]] void Invalid(const std::string& why) {
  throw EQuorvaneError("Invalid bitmap file: " + why, TErrorKind::Corrupt);
}
[[noreturn]] void Unsupported(const std::string& why) {
  throw EQuorvaneError("Unsupported bitmap file: " + why, TErrorKind::Unsupported);
}

// ---------------------------------------------------------------- writing

// The file header, information header, bit-field masks and colour table
// that come before a frame's rows; `image_size` is what the rows take.
void WriteBitmapHeaders(const TPictureFrame& frame, uint64_t image_size, TByteStream& stream) {
  const TPixelFormat format = frame.PixelFormat;
  const int bits = BitsPerPixelOf(format);
  const bool palette = IsPaletteFormat(format);
  const bool bitfields = format == TPixelFormat::Bit16;
  const size_t colors = palette ? size_t(1) << bits : 0;
  const uint64_t off_bits = kFileHeaderSize + kInfoHeaderSize + (bitfields ? 12 : 0) + colors * 4;
  const uint64_t file_size = off_bits + image_size;

  const bool big = stream.BigEndian();
  stream.SetBigEndian(false);
  // File header.
  stream.WriteChars("BM");
  stream.WriteDWord(file_size > 0xFFFFFFFFu ? 0 : uint32_t(file_size));
  stream.WriteWord(0);
  stream.WriteWord(0);
  stream.WriteDWord(uint32_t(off_bits));
  // Information header.
  stream.WriteDWord(uint32_t(kInfoHeaderSize));
  stream.WriteDWord(uint32_t(frame.Width));
  stream.WriteDWord(uint32_t(frame.Height));
  stream.WriteWord(1);
  stream.WriteWord(uint16_t(bits));
  stream.WriteDWord(bitfields ? kBiBitfields : kBiRgb);
  stream.WriteDWord(image_size > 0xFFFFFFFFu ? 0 : uint32_t(image_size));
  stream.WriteDWord(uint32_t(frame.XPelsPerMeter));
  stream.WriteDWord(uint32_t(frame.YPelsPerMeter));
  stream.WriteDWord(0);  // colours used: all 2^bits
  stream.WriteDWord(0);  // colours important: all
  if (bitfields) {
    stream.WriteDWord(0xF800);
    stream.WriteDWord(0x07E0);
    stream.WriteDWord(0x001F);
  }
  for (size_t i = 0; i < colors; ++i) {
    const TRGBQuad q = i < frame.Palette.size() ? frame.Palette[i] : TRGBQuad{};
    const uint8_t entry[4] = {q.Blue, q.Green, q.Red, 0};
    stream.Write(entry, 4);
  }
  stream.SetBigEndian(big);
}

uint64_t ImageSize(const TPictureFrame& frame) {
  return uint64_t(frame.Stride()) * uint64_t(std::max(frame.Height, 0));
}

void WriteBitmapImage(const TRasterBitmap& bitmap, TByteStream& stream) {
  const TPictureFrame frame = FrameOf(bitmap);
  const uint64_t image_size = ImageSize(frame);
  WriteBitmapHeaders(frame, image_size, stream);
  // Rows as stored: bottom row first, padded to 4 bytes.
  if (image_size > 0) stream.Write(bitmap.Bits(), size_t(image_size));
}

}  // namespace

TBmpWriter::TBmpWriter(TByteSink& sink, const TPictureFrame& frame) {
  TByteStream headers;
  WriteBitmapHeaders(frame, ImageSize(frame), headers);
  const uint64_t rows_at = sink.End() + headers.Size();
  sink.Write(headers.Data(), headers.Size());
  rows_.emplace(sink, rows_at, frame.Height, frame.Stride());
}

void TBmpWriter::WriteRow(const uint8_t* row) {
  rows_->Put(row);
}

void TBmpWriter::Finish() {
  if (!rows_->Complete()) throw EQuorvaneError("Bitmap file: rows missing", TErrorKind::Corrupt);
}

namespace {

// ---------------------------------------------------------------- reading

int32_t I32(const uint8_t* p) {
  return int32_t(LittleDWord(p));
}

// One colour component described by a bit-field mask.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;
  // Component value scaled to 0..255 by repeating its bits (or dropping the
  // low ones when it has more than 8).
  uint8_t Get(uint32_t pixel) const {
    if (Bits == 0) return 0;
    const uint32_t v = (pixel & Mask) >> Shift;
    if (Bits >= 8) return uint8_t(v >> (Bits - 8));
    uint32_t r = 0;
    int have = 0;
    while (have < 8) {
      r = (r << Bits) | v;
      have += Bits;
    }
    return uint8_t(r >> (have - 8));
  }
};

TChannel MakeChannel(uint32_t mask, int bit_count, const char* name) {
  TChannel c;
  if (mask == 0) return c;
  if (bit_count < 32 && (mask >> bit_count) != 0)
    Invalid(std::string("the ") + name + " bit-field mask reaches beyond " +
            std::to_string(bit_count) + " bits");
  c.Mask = mask;
  c.Shift = std::countr_zero(mask);
  const uint32_t shifted = mask >> c.Shift;
  if ((shifted & (shifted + 1)) != 0)
    Invalid(std::string("the ") + name + " bit-field mask is not one run of bits");
  c.Bits = std::popcount(shifted);
  return c;
}

struct THeader {
  size_t header_size = 0;
  bool core = false;  // OS/2 1.x
  bool os2v2 = false;
  int64_t width = 0;
  int64_t height = 0;  // absolute value
  bool top_down = false;
  int planes = 1;
  int bit_count = 0;
  uint32_t compression = kBiRgb;
  int32_t x_ppm = 0, y_ppm = 0;
  uint32_t colors_used = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool has_masks = false;
  size_t palette_start = 0;  // relative to the file image start
};

std::string CompressionName(uint32_t c, bool os2v2) {
  if (os2v2 && c == 3) return "OS/2 Huffman 1D";
  if (os2v2 && c == 4) return "OS/2 RLE24";
  switch (c) {
    case kBiJpeg:
      return "embedded JPEG (BI_JPEG)";
    case kBiPng:
      return "embedded PNG (BI_PNG)";
    case 11:
    case 12:
    case 13:
      return "CMYK (" + std::to_string(c) + ")";
    default:
      return std::to_string(c);
  }
}

// The fields of the information header; those beyond a short OS/2 2.x
// header's own size read as 0.
void ReadInfoFields(const uint8_t* info_header, size_t header_size, THeader& h) {
  uint8_t buffer[124] = {};
  std::memcpy(buffer, info_header, header_size);
  if (h.core) {
    h.width = LittleWord(buffer + 4);
    h.height = LittleWord(buffer + 6);
    h.planes = LittleWord(buffer + 8);
    h.bit_count = LittleWord(buffer + 10);
    return;
  }
  const int32_t w = I32(buffer + 4);
  const int32_t ht = I32(buffer + 8);
  if (w < 0) Invalid("negative width " + std::to_string(w));
  if (ht == std::numeric_limits<int32_t>::min()) Invalid("height out of range");
  h.width = w;
  h.top_down = ht < 0;
  h.height = ht < 0 ? -int64_t(ht) : int64_t(ht);
  h.planes = LittleWord(buffer + 12);
  h.bit_count = LittleWord(buffer + 14);
  h.compression = LittleDWord(buffer + 16);
  h.x_ppm = I32(buffer + 24);
  h.y_ppm = I32(buffer + 28);
  h.colors_used = LittleDWord(buffer + 32);
  if (h.header_size >= 52)
    for (int k = 0; k < 4; ++k) h.masks[k] = LittleDWord(buffer + 40 + 4 * k);
}

// Refuses bit counts and compressions outside what the reader decodes.
void CheckCompression(const THeader& h) {
  const uint32_t c = h.compression;
  if (h.os2v2 && (c == 3 || c == 4)) Unsupported("compression " + CompressionName(c, true));
  const int b = h.bit_count;
  switch (c) {
    case kBiRgb:
      if (b != 1 && b != 2 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32)
        Unsupported(std::to_string(b) + " bits per pixel");
      if (h.core && b != 1 && b != 4 && b != 8 && b != 24)
        Unsupported(std::to_string(b) + " bits per pixel in an OS/2 bitmap");
      break;
    case kBiRle8:
      if (b != 8) Invalid("RLE8 compression with " + std::to_string(b) + " bits per pixel");
      break;
    case kBiRle4:
      if (b != 4) Invalid("RLE4 compression with " + std::to_string(b) + " bits per pixel");
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (b != 16 && b != 32)
        Unsupported("bit-field compression with " + std::to_string(b) + " bits per pixel");
      break;
    default:
      Unsupported("compression " + CompressionName(c, h.os2v2));
  }
}

// The colour masks: from the header, after a 40-byte header, or the
// defaults of 16 and 32 bits per pixel.
void ReadMasks(const uint8_t* file, size_t size, THeader& h) {
  const uint32_t c = h.compression;
  if (c == kBiBitfields || c == kBiAlphaBitfields) {
    const int count = c == kBiAlphaBitfields ? 4 : 3;
    if (h.header_size >= 52) {
      if (h.header_size < 56 && c != kBiAlphaBitfields) h.masks[3] = 0;
    } else {
      // The masks follow a 40-byte header.
      const size_t at = kFileHeaderSize + h.header_size;
      if (size < at + 4 * count) Invalid("the bit-field masks are cut short");
      for (int i = 0; i < count; ++i) h.masks[i] = LittleDWord(file + at + 4 * i);
      h.palette_start = at + 4 * count;
    }
    h.has_masks = true;
    return;
  }
  std::fill(std::begin(h.masks), std::end(h.masks), 0u);
  if (h.bit_count == 16) {
    h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
  } else if (h.bit_count == 32) {
    h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF;
  }
}

THeader ParseHeader(const uint8_t* file, size_t size) {
  THeader h;
  if (size < kFileHeaderSize + 4) Invalid("the file is too short for a bitmap header");
  if (file[0] != 'B' || file[1] != 'M') Invalid("the \"BM\" signature is missing");
  const uint32_t header_size = LittleDWord(file + 14);
  const bool windows = header_size == 40 || header_size == 52 || header_size == 56 ||
                       header_size == 108 || header_size == 124;
  h.core = header_size == 12;
  h.os2v2 = !windows && header_size >= 16 && header_size <= 64;
  if (!windows && !h.core && !h.os2v2)
    Unsupported("unknown information header size " + std::to_string(header_size));
  h.header_size = header_size;
  if (size < kFileHeaderSize + header_size) Invalid("the information header is cut short");
  ReadInfoFields(file + kFileHeaderSize, header_size, h);
  if (h.planes != 1) Invalid("the plane count is " + std::to_string(h.planes) + ", not 1");
  h.palette_start = kFileHeaderSize + header_size;
  CheckCompression(h);
  ReadMasks(file, size, h);
  return h;
}

// Copies one row of 2-bit indices into a 4-bit row.
void Widen2To4(const uint8_t* in, uint8_t* out, int64_t width) {
  for (int64_t x = 0; x < width; x += 2) {
    const uint8_t byte = in[x / 4];
    const int shift = 6 - 2 * int(x % 4);
    const uint8_t a = (byte >> shift) & 3;
    const uint8_t b = x + 1 < width ? (byte >> (shift - 2)) & 3 : 0;
    out[x / 2] = uint8_t((a << 4) | b);
  }
}

class TRleDecoder {
 public:
  TRleDecoder(TRasterBitmap& bitmap, bool four_bit, bool top_down)
      : bitmap_(bitmap),
        four_(four_bit),
        top_down_(top_down),
        width_(bitmap.Width()),
        height_(bitmap.Height()) {}

  void Decode(const uint8_t* data, size_t size) {
    size_t i = 0;
    auto row = [&]() { return bitmap_.Scanline(top_down_ ? y_ : height_ - 1 - y_); };
    while (i + 2 <= size && y_ < height_) {
      const uint8_t count = data[i];
      const uint8_t value = data[i + 1];
      i += 2;
      if (count > 0) {
        uint8_t* line = row();
        for (int k = 0; k < count && x_ < width_; ++k, ++x_)
          Put(line, x_, four_ ? ((k & 1) ? (value & 15) : (value >> 4)) : value);
        continue;
      }
      switch (value) {
        case 0:  // end of line
          x_ = 0;
          ++y_;
          break;
        case 1:  // end of bitmap
          return;
        case 2:  // delta
          if (i + 2 > size) return;
          x_ += data[i];
          y_ += data[i + 1];
          i += 2;
          break;
        default: {  // absolute run of `value` pixels, padded to 16 bits
          const size_t bytes = four_ ? (size_t(value) + 1) / 2 : value;
          const size_t available = std::min(bytes, size - i);
          uint8_t* line = y_ < height_ ? row() : nullptr;
          for (int k = 0; k < value && line; ++k) {
            const size_t at = four_ ? size_t(k) / 2 : size_t(k);
            if (at >= available) break;
            const uint8_t byte = data[i + at];
            if (x_ < width_) Put(line, x_, four_ ? ((k & 1) ? (byte & 15) : (byte >> 4)) : byte);
            ++x_;
          }
          i += bytes + (bytes & 1);
          break;
        }
      }
    }
  }

 private:
  void Put(uint8_t* line, int64_t x, uint8_t v) {
    if (four_) {
      uint8_t& byte = line[x / 2];
      byte = (x & 1) ? uint8_t((byte & 0xF0) | v) : uint8_t((byte & 0x0F) | (v << 4));
    } else {
      line[x] = v;
    }
  }

  TRasterBitmap& bitmap_;
  bool four_;
  bool top_down_;
  int64_t width_, height_;
  int64_t x_ = 0, y_ = 0;
};

// Where the colour table and the pixels are.
struct TLayout {
  size_t entry_size = 4;
  size_t entries = 0;  // colour table entries to read
  uint64_t pixel_offset = 0;
};

TLayout Layout(const uint8_t* file, const THeader& h) {
  TLayout l;
  const int b = h.bit_count;
  l.entry_size = h.core ? 3 : 4;
  const size_t max_colors = b <= 8 ? size_t(1) << b : 0;
  uint64_t declared = 0;
  if (b <= 8)
    declared = (h.core || h.colors_used == 0) ? max_colors : h.colors_used;
  else
    declared = h.colors_used;  // an optional table that the pixels do not use

  const uint32_t off_bits_field = LittleDWord(file + 10);
  const bool off_bits_valid = off_bits_field >= h.palette_start;
  l.pixel_offset = off_bits_valid ? off_bits_field
                                  : uint64_t(h.palette_start) +
                                        std::min<uint64_t>(declared, max_colors) * l.entry_size;
  if (b > 8) return l;
  if (declared > max_colors &&
      (!off_bits_valid || uint64_t(h.palette_start) + declared * l.entry_size > l.pixel_offset))
    Invalid("the colour count " + std::to_string(declared) + " exceeds the " +
            std::to_string(max_colors) + " colours of " + std::to_string(b) + " bits per pixel");
  l.entries = size_t(std::min<uint64_t>(declared, max_colors));
  if (off_bits_valid)
    l.entries = std::min<size_t>(l.entries, (l.pixel_offset - h.palette_start) / l.entry_size);
  return l;
}

// The bitmap's pixel format for the file's pixels, and how rows get there.
struct TOutput {
  TPixelFormat format = TPixelFormat::Bit24;
  bool raw_copy = true;  // rows are copied as stored
  TChannel red, green, blue, alpha;
};

TOutput OutputOf(const THeader& h) {
  TOutput o;
  const int b = h.bit_count;
  o.red = MakeChannel(h.masks[0], b, "red");
  o.green = MakeChannel(h.masks[1], b, "green");
  o.blue = MakeChannel(h.masks[2], b, "blue");
  o.alpha = MakeChannel(h.masks[3], b, "alpha");
  if (h.has_masks && o.red.Bits == 0 && o.green.Bits == 0 && o.blue.Bits == 0)
    Invalid("all colour bit-field masks are zero");
  switch (b) {
    case 1:
      o.format = TPixelFormat::Bit1;
      break;
    case 2:
      o.format = TPixelFormat::Bit4;
      o.raw_copy = false;
      break;
    case 4:
      o.format = TPixelFormat::Bit4;
      break;
    case 8:
      o.format = TPixelFormat::Bit8;
      break;
    case 16:
      if (h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 && h.masks[2] == 0x001F) {
        o.format = TPixelFormat::Bit15;
      } else if (h.masks[0] == 0xF800 && h.masks[1] == 0x07E0 && h.masks[2] == 0x001F) {
        o.format = TPixelFormat::Bit16;
      } else {
        o.format = TPixelFormat::Bit24;
        o.raw_copy = false;
      }
      break;
    case 24:
      o.format = TPixelFormat::Bit24;
      break;
    default:  // 32
      o.format = TPixelFormat::Bit32;
      o.raw_copy = h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF &&
                   (!h.has_masks || h.masks[3] == 0 || h.masks[3] == 0xFF000000u);
      break;
  }
  return o;
}

// The header, its layout and output, checked against the decode limits.
struct TBmpImage {
  THeader header;
  TLayout layout;
  TOutput output;
  uint64_t available = 0;  // bytes of pixel data the file holds
};

TBmpImage CheckedImage(const uint8_t* file, size_t size, const TDecodeLimits& limits) {
  if (file == nullptr || size == 0) Invalid("the file is empty");
  TBmpImage image;
  image.header = ParseHeader(file, size);
  const THeader& h = image.header;
  image.layout = Layout(file, h);
  image.output = OutputOf(h);
  const uint64_t pixel_offset = image.layout.pixel_offset;
  image.available = pixel_offset < size ? size - pixel_offset : 0;
  if (h.width == 0 || h.height == 0) return image;
  if (image.available == 0) Invalid("the pixel data is missing (the file ends before it)");
  limits.CheckPicture(h.width, h.height, BitsPerPixelOf(image.output.format));
  return image;
}

void ReadColorTable(const uint8_t* file, size_t size, const TBmpImage& image,
                    TRasterBitmap& result) {
  auto table = result.ColorTable();
  std::fill(table.begin(), table.end(), TRGBQuad{});
  for (size_t i = 0; i < image.layout.entries && i < table.size(); ++i) {
    const uint64_t at = image.header.palette_start + i * image.layout.entry_size;
    if (at + 3 > size) break;
    table[i] = {file[at], file[at + 1], file[at + 2], 0};
  }
}

// One stored row that is not copied as it is: 2-bit indices widened, or
// bit-field pixels spread to whole bytes.
void ConvertRow(const TBmpImage& image, const uint8_t* in, uint8_t* out) {
  const int width = int(image.header.width);
  const TOutput& o = image.output;
  switch (image.header.bit_count) {
    case 2:
      Widen2To4(in, out, width);
      break;
    case 16:
      for (int x = 0; x < width; ++x) {
        const uint32_t p = LittleWord(in + 2 * x);
        out[3 * x] = o.blue.Get(p);
        out[3 * x + 1] = o.green.Get(p);
        out[3 * x + 2] = o.red.Get(p);
      }
      break;
    default:  // 32-bit with other masks
      for (int x = 0; x < width; ++x) {
        const uint32_t p = LittleDWord(in + 4 * x);
        out[4 * x] = o.blue.Get(p);
        out[4 * x + 1] = o.green.Get(p);
        out[4 * x + 2] = o.red.Get(p);
        out[4 * x + 3] = o.alpha.Get(p);
      }
      break;
  }
}

int64_t SourceStride(const THeader& h) {
  return RowStride(h.width, h.bit_count, 32);
}

// Stored row `i` (counted from the first stored) of the pixels into a
// cleared bitmap row; a row the data holds in part is zero-padded, one it
// does not hold at all stays cleared.
void StoreRow(const TBmpImage& image, const uint8_t* pixels, int64_t i, uint8_t* out,
              std::vector<uint8_t>& padded) {
  const size_t source_stride = size_t(SourceStride(image.header));
  const uint64_t at = uint64_t(i) * source_stride;
  if (at >= image.available) return;
  const size_t have = size_t(std::min<uint64_t>(source_stride, image.available - at));
  const uint8_t* in = pixels + at;
  if (image.output.raw_copy) {
    std::memcpy(out, in, have);
    return;
  }
  if (have < source_stride) {
    padded.assign(source_stride, 0);
    std::memcpy(padded.data(), in, have);
    in = padded.data();
  }
  ConvertRow(image, in, out);
}

// Uncompressed rows, as many as the data holds.
void ReadRows(const TBmpImage& image, const uint8_t* pixels, TRasterBitmap& result) {
  const THeader& h = image.header;
  std::vector<uint8_t> padded;
  for (int64_t i = 0; i < h.height; ++i)
    StoreRow(image, pixels, i, result.Scanline(int(h.top_down ? i : h.height - 1 - i)), padded);
}

// Decodes the file image at the start of `bytes`; returns the bytes used.
size_t DecodeBitmapImage(std::span<const uint8_t> bytes, TRasterBitmap& target,
                         const TDecodeLimits& limits) {
  const uint8_t* file = bytes.empty() ? nullptr : bytes.data();
  const size_t size = bytes.size();
  const TBmpImage image = CheckedImage(file, size, limits);
  const THeader& h = image.header;
  TRasterBitmap result;
  result.Reset(image.output.format, int(h.width), int(h.height));
  result.SetPelsPerMeter(h.x_ppm, h.y_ppm);
  if (IsPaletteFormat(image.output.format)) ReadColorTable(file, size, image, result);
  const uint64_t pixel_offset = image.layout.pixel_offset;
  const uint8_t* pixels = file + std::min<uint64_t>(pixel_offset, size);
  if (h.width > 0 && h.height > 0) {
    if (h.compression == kBiRle8 || h.compression == kBiRle4) {
      TRleDecoder decoder(result, h.compression == kBiRle4, h.top_down);
      decoder.Decode(pixels, size_t(image.available));
    } else {
      ReadRows(image, pixels, result);
    }
  }
  target = std::move(result);
  return size_t(std::min<uint64_t>(size, pixel_offset + image.available));
}

}  // namespace

TPictureInfo ReadBmpHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits) {
  const TBmpImage image =
      CheckedImage(bytes.empty() ? nullptr : bytes.data(), bytes.size(), limits);
  return {image.header.width, image.header.height, image.output.format};
}

void DecodeBmp(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options) {
  DecodeBitmapImage(bytes, bitmap, options.Limits);
}

namespace {

// An uncompressed file's rows, top first, from the file: stored rows are
// read a stretch at a time in the order the picture needs them (from the
// end of the file backwards for the usual bottom-up rows).
class TBmpFileRows final : public TPictureRows {
 public:
  explicit TBmpFileRows(const std::string& path) : file_(path) {
    // The headers, the masks and the colour table sit in the first bytes.
    FetchEnds(file_, 64 * 1024);
    const std::span<const uint8_t> bytes = file_.Bytes();
    // Only bands are held: the whole picture's memory cap does not apply.
    image_ = CheckedImage(bytes.empty() ? nullptr : bytes.data(), bytes.size(),
                          {.MaxPictureBytes = UINT64_MAX});
    picture_ = {image_.header.width, image_.header.height, image_.output.format};
  }
  bool Streams() const {
    const THeader& h = image_.header;
    return h.width > 0 && h.height > 0 && h.compression != kBiRle8 && h.compression != kBiRle4;
  }

  void Stream(const TBandHandler& rows) override {
    const THeader& h = image_.header;
    const std::span<const uint8_t> bytes = file_.Bytes();
    TRasterBitmap like;
    like.Reset(image_.output.format, 1, 1);
    like.SetPelsPerMeter(h.x_ppm, h.y_ppm);
    if (IsPaletteFormat(image_.output.format))
      ReadColorTable(bytes.data(), bytes.size(), image_, like);
    TBandFiller band(picture_, like, rows);
    const uint64_t stride = uint64_t(SourceStride(h));
    const uint64_t pixel_offset = image_.layout.pixel_offset;
    const int64_t stretch = std::max<int64_t>(1, int64_t((1u << 20) / stride));
    const size_t row_bytes = size_t(RowStride(h.width, BitsPerPixelOf(picture_.PixelFormat), 32));
    std::vector<uint8_t> padded;
    for (int64_t y = 0; y < h.height; y += stretch) {
      const int64_t n = std::min(stretch, h.height - y);
      const int64_t first = h.top_down ? y : h.height - y - n;
      file_.Fetch(pixel_offset + uint64_t(first) * stride, uint64_t(n) * stride);
      for (int64_t k = 0; k < n; ++k) {
        std::memset(band.Row(), 0, row_bytes);
        const int64_t i = h.top_down ? y + k : h.height - 1 - (y + k);
        StoreRow(image_, bytes.data() + pixel_offset, i, band.Row(), padded);
        if (!band.RowDone()) return;
      }
      file_.Drop(pixel_offset + uint64_t(first) * stride, uint64_t(n) * stride);
    }
    band.Finish();
  }

 private:
  TFileRanges file_;
  TBmpImage image_;
};

}  // namespace

std::unique_ptr<TPictureRows> OpenBmpRows(const std::string& path) {
  return OpenIfStreams<TBmpFileRows>(path);
}

std::vector<uint8_t> EncodeBmp(const TRasterBitmap& bitmap) {
  TMemorySink sink;
  TBmpWriter writer(sink, FrameOf(bitmap));
  WriteRows(bitmap, writer);
  return sink.TakeBytes();
}

void SaveBitmapToStream(const TRasterBitmap& bitmap, TByteStream& stream) {
  WriteBitmapImage(bitmap, stream);
}

void LoadBitmapFromStream(TRasterBitmap& bitmap, TByteStream& stream) {
  const size_t start = std::min(stream.Position(), stream.Size());
  const size_t used = DecodeBitmapImage({stream.Data() + start, stream.Size() - start}, bitmap, {});
  stream.Seek(start + used);
}

TResolution GetResolution(const TRasterBitmap& bitmap) {
  TByteStream stream;
  SaveBitmapToStream(bitmap, stream);
  uint8_t x[4], y[4];
  stream.Seek(38);
  if (stream.Read(x, 4) < 4) throw EQuorvaneError("Error reading to Bitmap.");
  stream.Seek(42);
  if (stream.Read(y, 4) < 4) throw EQuorvaneError("Error reading to Bitmap.");
  return {I32(x), I32(y)};
}

void SetResolution(TRasterBitmap& bitmap, int32_t x, int32_t y) {
  TByteStream stream;
  SaveBitmapToStream(bitmap, stream);
  const size_t size = stream.Size();
  stream.SetBigEndian(false);
  // The memory stream never refuses a write; a file image too short to hold
  // the fields is what a failed write would mean.
  if (size < 42 + 4) throw EQuorvaneError("Error writing to Bitmap.");
  stream.Seek(38);
  stream.WriteDWord(uint32_t(x));
  stream.Seek(42);
  stream.WriteDWord(uint32_t(y));
  if (stream.Size() != size) throw EQuorvaneError("Error writing to Bitmap.");
  stream.Seek(0);
  const TPixelFormat format = bitmap.PixelFormat();
  TRasterBitmap loaded;
  LoadBitmapFromStream(loaded, stream);
  // Device and custom pixels travel as 32-bit; give them their name back.
  if (format == TPixelFormat::Device || format == TPixelFormat::Custom)
    loaded.SetPixelFormat(format);
  bitmap = std::move(loaded);
}

}  // namespace quorvane
