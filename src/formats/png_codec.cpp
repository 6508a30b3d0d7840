// libpng reports fatal errors through an error function that must not
// return; ours records the message and longjmps back into the function that
// called setjmp, where every C++ object was constructed before the setjmp so
// the jump skips no destructor. The error then continues as an exception.
#include "formats/png_codec.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "raster/codec_support.h"
#include "raster/error.h"

namespace quorvane {

namespace {

struct TPngErrors {
  char message[256] = "";
};

void ErrorFunction(png_structp png, png_const_charp message) {
  auto* errors = static_cast<TPngErrors*>(png_get_error_ptr(png));
  std::snprintf(errors->message, sizeof errors->message, "%s", message);
  png_longjmp(png, 1);
}

void WarningFunction(png_structp, png_const_charp) {}

struct TPngSource {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t position = 0;
  bool ended_early = false;
};

void ReadData(png_structp png, png_bytep out, size_t n) {
  auto* source = static_cast<TPngSource*>(png_get_io_ptr(png));
  if (source->size - source->position < n) {
    source->ended_early = true;
    png_error(png, "the file ends early");
  }
  std::memcpy(out, source->data + source->position, n);
  source->position += n;
}

void WriteData(png_structp png, png_bytep data, size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  // No C++ exception may cross libpng's frames.
  try {
    out->insert(out->end(), data, data + n);
  } catch (...) {
    png_error(png, "out of memory");
  }
}

void FlushData(png_structp) {}

struct TPngReadHandles {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~TPngReadHandles() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct TPngWriteHandles {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~TPngWriteHandles() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

// Walks the chunk list (as far as it is intact) looking for image data.
bool HasImageData(std::span<const uint8_t> bytes) {
  size_t at = 8;
  while (at + 8 <= bytes.size()) {
    const uint32_t length = uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
                            uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
    if (std::memcmp(&bytes[at + 4], "IDAT", 4) == 0) return true;
    if (length > bytes.size() - at - 8) return false;
    at += 12 + size_t(length);
  }
  return false;
}

const char kNoDataMessage[] = "This \"Portable Network Graphics\" image contains no data.";

}  // namespace

void DecodePng(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TProgressEvent& progress) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
    throw EQuorvaneError("Invalid PNG file: not a PNG signature");
  if (!HasImageData(bytes)) throw EQuorvaneError(kNoDataMessage);
  TPngErrors errors;
  TPngSource source{bytes.data(), bytes.size(), 0, false};
  TRasterBitmap decoded;
  TPngReadHandles handles;
  handles.png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, ErrorFunction, WarningFunction);
  if (!handles.png) throw EQuorvaneError("Invalid PNG file: out of memory");
  handles.info = png_create_info_struct(handles.png);
  if (!handles.info) throw EQuorvaneError("Invalid PNG file: out of memory");
  // Set after setjmp and read after a jump, so they must live in memory.
  volatile bool rows_started = false;
  volatile uint64_t rows_read = 0;

  if (setjmp(png_jmpbuf(handles.png))) {
    if (source.ended_early && rows_read > 0) {
      // The file ends inside or after the image data: keep what arrived.
      bitmap = std::move(decoded);
      return;
    }
    if (source.ended_early || (rows_started && rows_read == 0))
      throw EQuorvaneError(kNoDataMessage);
    throw EQuorvaneError(std::string("Invalid PNG file: ") + errors.message);
  }

  png_set_read_fn(handles.png, &source, ReadData);
  png_read_info(handles.png, handles.info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, color_type = 0, interlace = 0;
  png_get_IHDR(handles.png, handles.info, &width, &height, &depth, &color_type, &interlace, nullptr,
               nullptr);
  CheckDecodedSize("PNG", width, height);

  png_set_scale_16(handles.png);
  switch (color_type) {
    case PNG_COLOR_TYPE_PALETTE:
      if (depth == 2) png_set_packing(handles.png);  // no 2-bit bitmaps: one index per byte
      break;
    case PNG_COLOR_TYPE_GRAY:
      if (depth == 2) png_set_expand_gray_1_2_4_to_8(handles.png);
      break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      png_set_gray_to_rgb(handles.png);
      png_set_bgr(handles.png);
      break;
    default:  // RGB, RGBA
      png_set_bgr(handles.png);
      break;
  }
  const int passes = png_set_interlace_handling(handles.png);
  png_read_update_info(handles.png, handles.info);

  const int channels = png_get_channels(handles.png, handles.info);
  const int out_depth = png_get_bit_depth(handles.png, handles.info);
  TPixelFormat format;
  if (channels == 3 && out_depth == 8) {
    format = TPixelFormat::Bit24;
  } else if (channels == 4 && out_depth == 8) {
    format = TPixelFormat::Bit32;
  } else if (channels == 1 && out_depth == 1) {
    format = TPixelFormat::Bit1;
  } else if (channels == 1 && out_depth == 4) {
    format = TPixelFormat::Bit4;
  } else if (channels == 1 && out_depth == 8) {
    format = TPixelFormat::Bit8;
  } else {
    throw EQuorvaneError("Invalid PNG file: unsupported pixel layout");
  }
  decoded.Reset(format, int(width), int(height));
  if (format == TPixelFormat::Bit1 && color_type == PNG_COLOR_TYPE_GRAY) {
    decoded.ColorTable()[0] = {0, 0, 0, 0};
    decoded.ColorTable()[1] = {255, 255, 255, 0};
  }
  if (color_type == PNG_COLOR_TYPE_PALETTE) {
    png_colorp palette = nullptr;
    int count = 0;
    png_get_PLTE(handles.png, handles.info, &palette, &count);
    auto table = decoded.ColorTable();
    for (auto& entry : table) entry = {};  // indices past the palette show black
    for (int i = 0; i < count && i < int(table.size()); ++i)
      table[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
  }
  // Grey bitmaps keep the grey ramp Reset gave them.

  rows_started = true;
  TRowProgress rows(progress, uint64_t(height) * passes);
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 r = 0; r < height; ++r) {
      png_read_row(handles.png, decoded.Scanline(int(r)), nullptr);
      rows_read = rows_read + 1;
      rows.RowsDone(rows_read);
    }
  }
  png_read_end(handles.png, nullptr);
  rows.End();
  bitmap = std::move(decoded);
}

std::vector<uint8_t> EncodePng(const TRasterBitmap& bitmap, const TProgressEvent& progress) {
  if (bitmap.PixelFormat() != TPixelFormat::Bit24)
    throw EQuorvaneError("PNG: only 24-bit pictures can be written");
  if (bitmap.Empty()) throw EQuorvaneError("PNG: cannot write an empty picture");
  TPngErrors errors;
  std::vector<uint8_t> encoded;
  TPngWriteHandles handles;
  handles.png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, ErrorFunction, WarningFunction);
  if (!handles.png) throw EQuorvaneError("PNG: out of memory");
  handles.info = png_create_info_struct(handles.png);
  if (!handles.info) throw EQuorvaneError("PNG: out of memory");

  if (setjmp(png_jmpbuf(handles.png))) throw EQuorvaneError(std::string("PNG: ") + errors.message);

  png_set_write_fn(handles.png, &encoded, WriteData, FlushData);
  png_set_IHDR(handles.png, handles.info, png_uint_32(bitmap.Width()), png_uint_32(bitmap.Height()),
               8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(handles.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_set_compression_level(handles.png, 7);
  // libpng emits one IDAT chunk each time its compression buffer fills.
  png_set_compression_buffer_size(handles.png, 65535);
  if (bitmap.XPelsPerMeter() > 0 && bitmap.YPelsPerMeter() > 0)
    png_set_pHYs(handles.png, handles.info, png_uint_32(bitmap.XPelsPerMeter()),
                 png_uint_32(bitmap.YPelsPerMeter()), PNG_RESOLUTION_METER);
  png_write_info(handles.png, handles.info);
  png_set_bgr(handles.png);
  TRowProgress rows(progress, uint64_t(bitmap.Height()));
  for (int r = 0; r < bitmap.Height(); ++r) {
    png_write_row(handles.png, bitmap.Scanline(r));
    rows.RowsDone(uint64_t(r) + 1);
  }
  png_write_end(handles.png, nullptr);
  rows.End();
  return encoded;
}

void ReadPng(TByteStream& stream, TRasterBitmap& bitmap, const TProgressEvent& progress) {
  DecodePng(
      std::span(stream.Data() + std::min(stream.Position(), stream.Size()), stream.Remaining()),
      bitmap, progress);
}

}  // namespace quorvane
