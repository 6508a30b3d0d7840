// libpng reports fatal errors through an error function that must not
// return; ours records the message and longjmps back into the small step
// function that called setjmp. The step functions hold nothing but plain
// data and write their results into the session, never into locals; every
// C++ object lives in the caller, which turns a failed step into an
// exception once libpng's frames are gone. The callbacks never throw.
#include "formats/png_codec.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "raster/byte_reader.h"
#include "raster/byte_sink.h"
#include "raster/error.h"
#include "raster/file_window.h"

namespace quorvane {

namespace {

struct TPngErrors {
  char message[256];
};

void ErrorFunction(png_structp png, png_const_charp message) {
  auto* errors = static_cast<TPngErrors*>(png_get_error_ptr(png));
  std::snprintf(errors->message, sizeof errors->message, "%s", message);
  png_longjmp(png, 1);
}

void WarningFunction(png_structp, png_const_charp) {}

// libpng's default limits (a million pixels a side) are far below what the
// format allows; the memory cap is what bounds a picture here.
void LiftUserLimits(png_structp png) {
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
}

const char kNoDataMessage[] = "This \"Portable Network Graphics\" image contains no data.";

// Makes the first `end` bytes readable when they come through a window.
void Reach(TFileWindow* window, uint64_t end) {
  if (window && !window->Reach(end)) window->Rethrow();
}

// Walks the chunk list (as far as it is intact) looking for image data.
bool HasImageData(std::span<const uint8_t> bytes, TFileWindow* window) {
  const TByteReader file(bytes, true);
  size_t at = 8;
  while (at + 8 <= bytes.size()) {
    Reach(window, at + 8);
    const uint32_t length = file.DWordAt(at);
    if (std::memcmp(&bytes[at + 4], "IDAT", 4) == 0) return true;
    if (length > bytes.size() - at - 8) return false;
    at += 12 + size_t(length);
  }
  return false;
}

// ------------------------------------------------------------------ decoding

// Plain data only: the step functions below hold setjmp.
struct TPngDecodeSession {
  png_structp png;
  png_infop info;
  TPngErrors errors;
  const uint8_t* data;
  size_t size;
  size_t position;
  // Set when the bytes come from a file as they are read.
  TFileWindow* window;
  bool ended_early;
  // What the header step learned.
  png_uint_32 width, height;
  int color_type, passes, channels, depth;
};

void ReadData(png_structp png, png_bytep out, size_t n) {
  auto* s = static_cast<TPngDecodeSession*>(png_get_io_ptr(png));
  if (s->size - s->position < n) {
    s->ended_early = true;
    png_error(png, "the file ends early");
  }
  if (s->window && !s->window->Reach(s->position + n)) png_error(png, "the file cannot be read");
  std::memcpy(out, s->data + s->position, n);
  s->position += n;
}

// Reads the header and sets the transformations to the bitmap's layouts.
bool ReadInfoStep(TPngDecodeSession* s) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_set_read_fn(s->png, s, ReadData);
  LiftUserLimits(s->png);
  png_read_info(s->png, s->info);
  int interlace = 0;
  png_get_IHDR(s->png, s->info, &s->width, &s->height, &s->depth, &s->color_type, &interlace,
               nullptr, nullptr);
  png_set_scale_16(s->png);
  switch (s->color_type) {
    case PNG_COLOR_TYPE_PALETTE:
      if (s->depth == 2) png_set_packing(s->png);  // no 2-bit bitmaps: one index per byte
      break;
    case PNG_COLOR_TYPE_GRAY:
      if (s->depth == 2) png_set_expand_gray_1_2_4_to_8(s->png);
      break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      png_set_gray_to_rgb(s->png);
      png_set_bgr(s->png);
      break;
    default:  // RGB, RGBA
      png_set_bgr(s->png);
      break;
  }
  s->passes = png_set_interlace_handling(s->png);
  png_read_update_info(s->png, s->info);
  s->channels = png_get_channels(s->png, s->info);
  s->depth = png_get_bit_depth(s->png, s->info);
  return true;
}

bool ReadRowStep(TPngDecodeSession* s, png_bytep row) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_read_row(s->png, row, nullptr);
  return true;
}

bool ReadEndStep(TPngDecodeSession* s) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_read_end(s->png, nullptr);
  return true;
}

class TPngDecoder {
 public:
  // `window`, when given, holds `bytes` and is read as the decoder goes.
  explicit TPngDecoder(std::span<const uint8_t> bytes, TFileWindow* window = nullptr) {
    Reach(window, 8);
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
      throw EQuorvaneError("Invalid PNG file: not a PNG signature", TErrorKind::Corrupt);
    if (!HasImageData(bytes, window)) throw EQuorvaneError(kNoDataMessage, TErrorKind::Corrupt);
    std::memset(&s_, 0, sizeof s_);
    s_.window = window;
    s_.data = bytes.data();
    s_.size = bytes.size();
    s_.png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &s_.errors, ErrorFunction, WarningFunction);
    if (!s_.png) throw ENotEnoughMemory("read the PNG file");
    s_.info = png_create_info_struct(s_.png);
    if (!s_.info) throw ENotEnoughMemory("read the PNG file");
  }
  ~TPngDecoder() { png_destroy_read_struct(&s_.png, s_.info ? &s_.info : nullptr, nullptr); }
  TPngDecoder(const TPngDecoder&) = delete;
  TPngDecoder& operator=(const TPngDecoder&) = delete;

  TPngDecodeSession* Get() { return &s_; }
  const TPngDecodeSession& Session() const { return s_; }
  [[noreturn]] void Fail() const {
    if (s_.window) s_.window->Rethrow();
    throw EQuorvaneError(s_.ended_early ? std::string(kNoDataMessage)
                                        : std::string("Invalid PNG file: ") + s_.errors.message,
                         TErrorKind::Corrupt);
  }

  TPictureInfo ReadHeader(const TDecodeLimits& limits) {
    if (!ReadInfoStep(&s_)) Fail();
    if (s_.width == 0 || s_.height == 0)
      throw EQuorvaneError("PNG: image has no pixels", TErrorKind::Corrupt);
    const TPixelFormat format = FormatOf(s_.channels, s_.depth);
    limits.CheckPicture(s_.width, s_.height, BitsPerPixelOf(format));
    return {s_.width, s_.height, format};
  }

 private:
  static TPixelFormat FormatOf(int channels, int depth) {
    if (channels == 3 && depth == 8) return TPixelFormat::Bit24;
    if (channels == 4 && depth == 8) return TPixelFormat::Bit32;
    if (channels == 1 && depth == 1) return TPixelFormat::Bit1;
    if (channels == 1 && depth == 4) return TPixelFormat::Bit4;
    if (channels == 1 && depth == 8) return TPixelFormat::Bit8;
    throw EQuorvaneError("Invalid PNG file: unsupported pixel layout", TErrorKind::Unsupported);
  }

  TPngDecodeSession s_;
};

void SetColorTable(TPngDecoder& decoder, TRasterBitmap& decoded) {
  const TPngDecodeSession& s = decoder.Session();
  if (decoded.PixelFormat() == TPixelFormat::Bit1 && s.color_type == PNG_COLOR_TYPE_GRAY) {
    decoded.ColorTable()[0] = {0, 0, 0, 0};
    decoded.ColorTable()[1] = {255, 255, 255, 0};
  }
  if (s.color_type != PNG_COLOR_TYPE_PALETTE) return;  // grey keeps the ramp Reset gave
  png_colorp palette = nullptr;
  int count = 0;
  png_get_PLTE(s.png, s.info, &palette, &count);
  auto table = decoded.ColorTable();
  for (auto& entry : table) entry = {};  // indices past the palette show black
  for (int i = 0; i < count && i < int(table.size()); ++i)
    table[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
}

// ------------------------------------------------------------------ encoding

struct TPngEncodeSession {
  png_structp png;
  png_infop info;
  TPngErrors errors;
  // The encoded bytes go straight to the sink; a failed write becomes a
  // libpng error, the failure itself kept for the caller.
  TByteSink* sink;
  TSinkFailure* failure;
};

void WriteData(png_structp png, png_bytep data, size_t n) {
  auto* s = static_cast<TPngEncodeSession*>(png_get_io_ptr(png));
  if (!s->failure->Write(*s->sink, data, n)) png_error(png, "the file cannot be written");
}

void FlushData(png_structp) {}

struct TPngFrame {
  png_uint_32 Width, Height, XPelsPerMeter, YPelsPerMeter;
};

bool WriteInfoStep(TPngEncodeSession* s, const TPngFrame* frame) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_set_write_fn(s->png, s, WriteData, FlushData);
  LiftUserLimits(s->png);
  png_set_IHDR(s->png, s->info, frame->Width, frame->Height, 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(s->png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_set_compression_level(s->png, 7);
  // libpng emits one IDAT chunk each time its compression buffer fills.
  png_set_compression_buffer_size(s->png, 65535);
  if (frame->XPelsPerMeter > 0 && frame->YPelsPerMeter > 0)
    png_set_pHYs(s->png, s->info, frame->XPelsPerMeter, frame->YPelsPerMeter, PNG_RESOLUTION_METER);
  png_write_info(s->png, s->info);
  png_set_bgr(s->png);
  return true;
}

bool WriteRowStep(TPngEncodeSession* s, png_const_bytep row) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_write_row(s->png, row);
  return true;
}

bool WriteEndStep(TPngEncodeSession* s) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_write_end(s->png, nullptr);
  return true;
}

}  // namespace

TPictureInfo ReadPngHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits) {
  TPngDecoder decoder(bytes);
  return decoder.ReadHeader(limits);
}

namespace {

// Decodes the next row into `row`; false when the file ended early after
// `rows_read` rows, which are kept. Throws for anything else.
bool ReadRowOrEnd(TPngDecoder& decoder, uint8_t* row, uint64_t rows_read) {
  if (ReadRowStep(decoder.Get(), row)) return true;
  const bool ended_early = decoder.Session().ended_early;
  if (ended_early && rows_read > 0) return false;
  // Data that gives not one row is no image at all.
  if (rows_read == 0 && !ended_early) throw EQuorvaneError(kNoDataMessage, TErrorKind::Corrupt);
  decoder.Fail();
}

// A non-interlaced file's rows from the file, a band at a time.
class TPngFileRows final : public TPictureRows {
 public:
  explicit TPngFileRows(const std::string& path)
      : window_(path), decoder_(window_.Bytes(), &window_) {
    // Only bands are held: the whole picture's memory cap does not apply.
    picture_ = decoder_.ReadHeader({.MaxPictureBytes = UINT64_MAX});
  }
  bool Streams() const { return decoder_.Session().passes == 1; }

  void Stream(const TBandHandler& rows) override {
    TRasterBitmap like;
    like.Reset(picture_.PixelFormat, 1, 1);
    SetColorTable(decoder_, like);
    TBandFiller band(picture_, like, rows);
    for (int64_t r = 0; r < picture_.Height; ++r) {
      if (!ReadRowOrEnd(decoder_, band.Row(), uint64_t(r))) return band.Finish();
      window_.Forget(decoder_.Session().position);
      if (!band.RowDone()) return;
    }
    if (!ReadEndStep(decoder_.Get()) && !decoder_.Session().ended_early) decoder_.Fail();
    band.Finish();
  }

 private:
  TFileWindow window_;
  TPngDecoder decoder_;
};

}  // namespace

std::unique_ptr<TPictureRows> OpenPngRows(const std::string& path) {
  return OpenIfStreams<TPngFileRows>(path);
}

namespace {

void DecodeRows(TPngDecoder& decoder, TRasterBitmap& decoded, int passes,
                const TDecodeOptions& options) {
  TRowProgress rows(options.Progress, uint64_t(decoded.Height()) * uint64_t(passes));
  uint64_t rows_read = 0;
  for (int pass = 0; pass < passes; ++pass) {
    for (int r = 0; r < decoded.Height(); ++r) {
      // The file ends inside the image data: keep what arrived.
      if (!ReadRowOrEnd(decoder, decoded.Scanline(r), rows_read)) return;
      rows.RowsDone(++rows_read);
    }
  }
  if (!ReadEndStep(decoder.Get()) && !decoder.Session().ended_early) decoder.Fail();
  rows.End();
}

}  // namespace

void DecodePng(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options) {
  TPngDecoder decoder(bytes);
  const TPictureInfo picture = decoder.ReadHeader(options.Limits);
  TRasterBitmap decoded;
  decoded.Reset(picture.PixelFormat, int(picture.Width), int(picture.Height));
  SetColorTable(decoder, decoded);

  DecodeRows(decoder, decoded, decoder.Session().passes, options);
  bitmap = std::move(decoded);
}

struct TPngWriter::TState {
  TPngEncodeSession Session;
  TSinkFailure Failure;
  TState() { std::memset(&Session, 0, sizeof Session); }
  ~TState() {
    if (Session.png) png_destroy_write_struct(&Session.png, Session.info ? &Session.info : nullptr);
  }
};

TPngWriter::TPngWriter(TByteSink& sink, const TPictureFrame& frame, TStageReporter* progress)
    : state_(std::make_unique<TState>()) {
  if (frame.PixelFormat != TPixelFormat::Bit24)
    throw EQuorvaneError("PNG: only 24-bit pictures can be written", TErrorKind::Unsupported);
  if (frame.Width <= 0 || frame.Height <= 0)
    throw EQuorvaneError("PNG: cannot write an empty picture");
  TPngEncodeSession& s = state_->Session;
  s.sink = &sink;
  s.failure = &state_->Failure;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s.errors, ErrorFunction, WarningFunction);
  if (!s.png) throw ENotEnoughMemory("write the PNG file");
  s.info = png_create_info_struct(s.png);
  if (!s.info) throw ENotEnoughMemory("write the PNG file");
  const TPngFrame png_frame{png_uint_32(frame.Width), png_uint_32(frame.Height),
                            png_uint_32(std::max(frame.XPelsPerMeter, 0)),
                            png_uint_32(std::max(frame.YPelsPerMeter, 0))};
  Check(WriteInfoStep(&s, &png_frame));
  rows_.emplace(progress, uint64_t(frame.Height));
}

TPngWriter::~TPngWriter() = default;

void TPngWriter::Check(bool step_done) const {
  if (step_done) return;
  state_->Failure.Rethrow();
  throw EQuorvaneError(std::string("PNG: ") + state_->Session.errors.message);
}

void TPngWriter::WriteRow(const uint8_t* row) {
  Check(WriteRowStep(&state_->Session, row));
  rows_->RowsDone(++rows_done_);
}

void TPngWriter::Finish() {
  Check(WriteEndStep(&state_->Session));
  rows_->End();
}

std::vector<uint8_t> EncodePng(const TRasterBitmap& bitmap, TStageReporter* progress) {
  TMemorySink sink;
  TPngWriter writer(sink, FrameOf(bitmap), progress);
  WriteRows(bitmap, writer);
  return sink.TakeBytes();
}

}  // namespace quorvane
