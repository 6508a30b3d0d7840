// libjpeg reports fatal errors by calling error_exit, which must not return.
// We leave through longjmp back into the one function that called setjmp;
// every C++ object of that function is constructed before setjmp, so the
// jump skips no destructor, and the error becomes an exception right there.
#include "formats/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "raster/codec_support.h"
#include "raster/error.h"

namespace quorvane {

namespace {

struct TJpegErrorManager {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  int code;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  auto* errors = reinterpret_cast<TJpegErrorManager*>(info->err);
  errors->code = errors->manager.msg_code;
  (*errors->manager.format_message)(info, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings (corrupt data, premature end) are not errors: libjpeg repairs
// what it can and we keep the picture.
void OutputMessage(j_common_ptr) {}

void InstallErrorManager(TJpegErrorManager& errors) {
  jpeg_std_error(&errors.manager);
  errors.manager.error_exit = ErrorExit;
  errors.manager.output_message = OutputMessage;
  errors.message[0] = '\0';
  errors.code = 0;
}

[[noreturn]] void ThrowJpegError(const TJpegErrorManager& errors) {
  throw EQuorvaneError("JPEG error #" + std::to_string(errors.code) + ": " + errors.message);
}

// CMYK as Adobe writes it (inverted) or as printed (plain), to blue, green,
// red.
void CmykRowToBgr(const uint8_t* cmyk, int width, bool inverted, uint8_t* bgr) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    bgr[0] = uint8_t((y * k + 127) / 255);
    bgr[1] = uint8_t((m * k + 127) / 255);
    bgr[2] = uint8_t((c * k + 127) / 255);
  }
}

// Collects the encoded bytes in a vector that grows as libjpeg fills it.
struct TVectorDestination {
  jpeg_destination_mgr manager;
  std::vector<uint8_t>* bytes;
};

void InitDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<TVectorDestination*>(info->dest);
  dest->bytes->resize(65536);
  dest->manager.next_output_byte = dest->bytes->data();
  dest->manager.free_in_buffer = dest->bytes->size();
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
  auto* dest = reinterpret_cast<TVectorDestination*>(info->dest);
  const size_t used = dest->bytes->size();
  dest->bytes->resize(used * 2);
  dest->manager.next_output_byte = dest->bytes->data() + used;
  dest->manager.free_in_buffer = dest->bytes->size() - used;
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<TVectorDestination*>(info->dest);
  dest->bytes->resize(dest->bytes->size() - dest->manager.free_in_buffer);
}

}  // namespace

void DecodeJpeg(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
                const TProgressEvent& progress) {
  jpeg_decompress_struct info;
  TJpegErrorManager errors;
  info.err = &errors.manager;
  InstallErrorManager(errors);
  // Everything with a destructor lives before setjmp (see the file comment).
  TRasterBitmap decoded;
  std::vector<uint8_t> cmyk_row;
  // Set after setjmp and read after a jump, so it must live in memory.
  volatile bool created = false;
  struct TDestroy {
    jpeg_decompress_struct* info;
    volatile bool* created;
    ~TDestroy() {
      if (*created) jpeg_destroy_decompress(info);
    }
  } destroy{&info, &created};

  if (setjmp(errors.jump)) ThrowJpegError(errors);

  jpeg_create_decompress(&info);
  created = true;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  CheckDecodedSize("JPEG", info.image_width, info.image_height);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  // Full size, the accurate integer DCT and smooth chroma upsampling.
  info.scale_num = info.scale_denom = 1;
  info.dct_method = JDCT_ISLOW;
  info.do_fancy_upsampling = TRUE;
  info.do_block_smoothing = TRUE;
  jpeg_start_decompress(&info);
  const int width = int(info.output_width);
  const int height = int(info.output_height);
  decoded.Reset(TPixelFormat::Bit24, width, height);
  if (cmyk) cmyk_row.resize(size_t(width) * 4);
  // An Adobe marker means the CMYK values are stored inverted.
  const bool inverted = info.saw_Adobe_marker;
  TRowProgress rows(progress, height);
  while (info.output_scanline < info.output_height) {
    const int r = int(info.output_scanline);
    JSAMPROW row = cmyk ? cmyk_row.data() : decoded.Scanline(r);
    if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
    if (cmyk) CmykRowToBgr(cmyk_row.data(), width, inverted, decoded.Scanline(r));
    rows.RowsDone(info.output_scanline);
  }
  jpeg_finish_decompress(&info);
  rows.End();
  bitmap = std::move(decoded);
}

std::vector<uint8_t> EncodeJpeg(const TRasterBitmap& bitmap, int quality,
                                const TProgressEvent& progress) {
  if (bitmap.PixelFormat() != TPixelFormat::Bit24)
    throw EQuorvaneError("JPEG: only 24-bit pictures can be written");
  if (bitmap.Empty()) throw EQuorvaneError("JPEG: cannot write an empty picture");
  if (bitmap.Width() > JPEG_MAX_DIMENSION || bitmap.Height() > JPEG_MAX_DIMENSION)
    throw EQuorvaneError("JPEG: image too large (at most 65500 x 65500 pixels)");
  jpeg_compress_struct info;
  TJpegErrorManager errors;
  info.err = &errors.manager;
  InstallErrorManager(errors);
  std::vector<uint8_t> encoded;
  TVectorDestination destination{};
  destination.bytes = &encoded;
  destination.manager.init_destination = InitDestination;
  destination.manager.empty_output_buffer = EmptyOutputBuffer;
  destination.manager.term_destination = TermDestination;
  volatile bool created = false;
  struct TDestroy {
    jpeg_compress_struct* info;
    volatile bool* created;
    ~TDestroy() {
      if (*created) jpeg_destroy_compress(info);
    }
  } destroy{&info, &created};

  if (setjmp(errors.jump)) ThrowJpegError(errors);

  jpeg_create_compress(&info);
  created = true;
  info.dest = &destination.manager;
  info.image_width = JDIMENSION(bitmap.Width());
  info.image_height = JDIMENSION(bitmap.Height());
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (bitmap.XPelsPerMeter() > 0 && bitmap.YPelsPerMeter() > 0) {
    // Dots per centimetre, rounded, as long as they fit the 16-bit fields.
    const int x = (bitmap.XPelsPerMeter() + 50) / 100, y = (bitmap.YPelsPerMeter() + 50) / 100;
    if (x > 0 && y > 0 && x <= 65535 && y <= 65535) {
      info.density_unit = 2;
      info.X_density = UINT16(x);
      info.Y_density = UINT16(y);
    }
  }
  jpeg_start_compress(&info, TRUE);
  TRowProgress rows(progress, bitmap.Height());
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(bitmap.Scanline(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
    rows.RowsDone(info.next_scanline);
  }
  jpeg_finish_compress(&info);
  rows.End();
  return encoded;
}

void ReadJpeg(TByteStream& stream, TRasterBitmap& bitmap, const TProgressEvent& progress) {
  DecodeJpeg(
      std::span(stream.Data() + std::min(stream.Position(), stream.Size()), stream.Remaining()),
      bitmap, progress);
}

}  // namespace quorvane
