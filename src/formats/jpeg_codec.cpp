// libjpeg reports fatal errors by calling error_exit, which must not return.
// It leaves through longjmp back into the small step function that called
// setjmp. Those step functions hold nothing but plain data: every C++ object
// (the bitmap, buffers, the progress reporter) lives in the caller, which
// turns a failed step into an exception once libjpeg's frames are gone. The
// callbacks libjpeg calls never throw.
#include "formats/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "raster/byte_sink.h"
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
  throw EQuorvaneError("JPEG error #" + std::to_string(errors.code) + ": " + errors.message,
                       TErrorKind::Corrupt);
}

// ------------------------------------------------------------------ decoding

// Plain data only: the step functions below hold setjmp.
struct TJpegDecodeSession {
  jpeg_decompress_struct info;
  TJpegErrorManager errors;
  bool created;
  bool cmyk;
};

// Each step returns false when libjpeg failed; the message is in the session.
bool ReadHeaderStep(TJpegDecodeSession* s, const uint8_t* data, size_t size) {
  if (setjmp(s->errors.jump)) return false;
  s->created = true;  // the struct was zeroed, so destroying it is safe from here on
  jpeg_create_decompress(&s->info);
  jpeg_mem_src(&s->info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&s->info, TRUE);
  return true;
}

bool StartDecompressStep(TJpegDecodeSession* s) {
  if (setjmp(s->errors.jump)) return false;
  s->cmyk = s->info.jpeg_color_space == JCS_CMYK || s->info.jpeg_color_space == JCS_YCCK;
  s->info.out_color_space = s->cmyk ? JCS_CMYK : JCS_EXT_BGR;
  // Full size, the accurate integer DCT and smooth chroma upsampling.
  s->info.scale_num = s->info.scale_denom = 1;
  s->info.dct_method = JDCT_ISLOW;
  s->info.do_fancy_upsampling = TRUE;
  s->info.do_block_smoothing = TRUE;
  jpeg_start_decompress(&s->info);
  return true;
}

// Reads one row; *got is 0 once the data has run out.
bool ReadRowStep(TJpegDecodeSession* s, JSAMPROW row, JDIMENSION* got) {
  if (setjmp(s->errors.jump)) return false;
  *got = jpeg_read_scanlines(&s->info, &row, 1);
  return true;
}

bool FinishDecompressStep(TJpegDecodeSession* s) {
  if (setjmp(s->errors.jump)) return false;
  jpeg_finish_decompress(&s->info);
  return true;
}

// Owns the session's libjpeg state for the C++ caller.
class TJpegDecoder {
 public:
  TJpegDecoder() {
    std::memset(&session_, 0, sizeof session_);
    session_.info.err = &session_.errors.manager;
    InstallErrorManager(session_.errors);
  }
  ~TJpegDecoder() {
    if (session_.created) jpeg_destroy_decompress(&session_.info);
  }
  TJpegDecoder(const TJpegDecoder&) = delete;
  TJpegDecoder& operator=(const TJpegDecoder&) = delete;

  TJpegDecodeSession* operator->() { return &session_; }
  TJpegDecodeSession* Get() { return &session_; }
  void Check(bool step_done) const {
    if (!step_done) ThrowJpegError(session_.errors);
  }

  // Reads the header and checks the size; returns it.
  TPictureInfo ReadHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits) {
    Check(ReadHeaderStep(&session_, bytes.data(), bytes.size()));
    const TPictureInfo picture{session_.info.image_width, session_.info.image_height,
                               TPixelFormat::Bit24};
    if (picture.Width == 0 || picture.Height == 0)
      throw EQuorvaneError("JPEG: image has no pixels", TErrorKind::Corrupt);
    limits.CheckPicture(picture.Width, picture.Height, 24);
    return picture;
  }

 private:
  TJpegDecodeSession session_;
};

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

// ------------------------------------------------------------------ encoding

// The encoded bytes pass through a fixed buffer into the sink. A failed
// write becomes libjpeg's own write error, the failure itself kept for the
// caller.
constexpr size_t kJpegBufferSize = 65536;

struct TJpegDestination {
  jpeg_destination_mgr manager;
  uint8_t* buffer;
  TByteSink* sink;
  TSinkFailure* failure;
};

void InitDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<TJpegDestination*>(info->dest);
  dest->manager.next_output_byte = dest->buffer;
  dest->manager.free_in_buffer = kJpegBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
  auto* dest = reinterpret_cast<TJpegDestination*>(info->dest);
  if (!dest->failure->Write(*dest->sink, dest->buffer, kJpegBufferSize))
    ERREXIT(info, JERR_FILE_WRITE);
  dest->manager.next_output_byte = dest->buffer;
  dest->manager.free_in_buffer = kJpegBufferSize;
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<TJpegDestination*>(info->dest);
  const size_t used = kJpegBufferSize - dest->manager.free_in_buffer;
  if (!dest->failure->Write(*dest->sink, dest->buffer, used)) ERREXIT(info, JERR_FILE_WRITE);
}

struct TJpegEncodeSession {
  jpeg_compress_struct info;
  TJpegErrorManager errors;
  TJpegDestination destination;
  bool created;
};

struct TJpegFrame {
  JDIMENSION Width, Height;
  int Quality;
  int XDensity, YDensity;  // dots per centimetre, 0 when unknown
};

bool StartCompressStep(TJpegEncodeSession* s, const TJpegFrame* frame) {
  if (setjmp(s->errors.jump)) return false;
  s->created = true;
  jpeg_create_compress(&s->info);
  s->info.dest = &s->destination.manager;
  s->info.image_width = frame->Width;
  s->info.image_height = frame->Height;
  s->info.input_components = 3;
  s->info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&s->info);
  jpeg_set_quality(&s->info, frame->Quality, TRUE);
  if (frame->XDensity > 0 && frame->YDensity > 0) {
    s->info.density_unit = 2;
    s->info.X_density = UINT16(frame->XDensity);
    s->info.Y_density = UINT16(frame->YDensity);
  }
  jpeg_start_compress(&s->info, TRUE);
  return true;
}

bool WriteRowStep(TJpegEncodeSession* s, JSAMPROW row) {
  if (setjmp(s->errors.jump)) return false;
  jpeg_write_scanlines(&s->info, &row, 1);
  return true;
}

bool FinishCompressStep(TJpegEncodeSession* s) {
  if (setjmp(s->errors.jump)) return false;
  jpeg_finish_compress(&s->info);
  return true;
}

// Dots per centimetre, rounded, as long as they fit the 16-bit fields.
TJpegFrame JpegFrameOf(const TPictureFrame& picture, int quality) {
  TJpegFrame frame{JDIMENSION(picture.Width), JDIMENSION(picture.Height), quality, 0, 0};
  if (picture.XPelsPerMeter > 0 && picture.YPelsPerMeter > 0) {
    const int x = (picture.XPelsPerMeter + 50) / 100, y = (picture.YPelsPerMeter + 50) / 100;
    if (x > 0 && y > 0 && x <= 65535 && y <= 65535) frame.XDensity = x, frame.YDensity = y;
  }
  return frame;
}

}  // namespace

TPictureInfo ReadJpegHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits) {
  TJpegDecoder decoder;
  return decoder.ReadHeader(bytes, limits);
}

void DecodeJpeg(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
                const TDecodeOptions& options) {
  TJpegDecoder decoder;
  decoder.ReadHeader(bytes, options.Limits);
  decoder.Check(StartDecompressStep(decoder.Get()));
  const int width = int(decoder->info.output_width);
  const int height = int(decoder->info.output_height);
  TRasterBitmap decoded;
  decoded.Reset(TPixelFormat::Bit24, width, height);
  const bool cmyk = decoder->cmyk;
  std::vector<uint8_t> cmyk_row(cmyk ? size_t(width) * 4 : 0);
  // An Adobe marker means the CMYK values are stored inverted.
  const bool inverted = decoder->info.saw_Adobe_marker;
  TRowProgress rows(options.Progress, uint64_t(height));
  while (decoder->info.output_scanline < decoder->info.output_height) {
    const int r = int(decoder->info.output_scanline);
    JSAMPROW row = cmyk ? cmyk_row.data() : decoded.Scanline(r);
    JDIMENSION got = 0;
    decoder.Check(ReadRowStep(decoder.Get(), row, &got));
    if (got != 1) break;
    if (cmyk) CmykRowToBgr(cmyk_row.data(), width, inverted, decoded.Scanline(r));
    rows.RowsDone(decoder->info.output_scanline);
  }
  decoder.Check(FinishDecompressStep(decoder.Get()));
  rows.End();
  bitmap = std::move(decoded);
}

struct TJpegWriter::TState {
  TJpegEncodeSession Session;
  TSinkFailure Failure;
  uint8_t Buffer[kJpegBufferSize];
  TState() {
    std::memset(&Session, 0, sizeof Session);
    Session.info.err = &Session.errors.manager;
    InstallErrorManager(Session.errors);
    TJpegDestination& d = Session.destination;
    d.manager.init_destination = InitDestination;
    d.manager.empty_output_buffer = EmptyOutputBuffer;
    d.manager.term_destination = TermDestination;
    d.buffer = Buffer;
    d.failure = &Failure;
  }
  ~TState() {
    if (Session.created) jpeg_destroy_compress(&Session.info);
  }
};

TJpegWriter::TJpegWriter(TByteSink& sink, const TPictureFrame& frame,
                         const TJpegEncodeOptions& options, TStageReporter* progress)
    : state_(std::make_unique<TState>()) {
  if (frame.PixelFormat != TPixelFormat::Bit24)
    throw EQuorvaneError("JPEG: only 24-bit pictures can be written", TErrorKind::Unsupported);
  if (frame.Width <= 0 || frame.Height <= 0)
    throw EQuorvaneError("JPEG: cannot write an empty picture");
  if (frame.Width > JPEG_MAX_DIMENSION || frame.Height > JPEG_MAX_DIMENSION)
    throw EQuorvaneError("JPEG: image too large (at most 65500 x 65500 pixels)",
                         TErrorKind::TooLarge);
  state_->Session.destination.sink = &sink;
  const TJpegFrame jpeg_frame = JpegFrameOf(frame, options.Quality);
  Check(StartCompressStep(&state_->Session, &jpeg_frame));
  rows_.emplace(progress, uint64_t(frame.Height));
}

TJpegWriter::~TJpegWriter() = default;

void TJpegWriter::Check(bool step_done) const {
  if (step_done) return;
  state_->Failure.Rethrow();
  ThrowJpegError(state_->Session.errors);
}

void TJpegWriter::WriteRow(const uint8_t* row) {
  Check(WriteRowStep(&state_->Session, const_cast<JSAMPROW>(row)));
  rows_->RowsDone(++rows_done_);
}

void TJpegWriter::Finish() {
  Check(FinishCompressStep(&state_->Session));
  rows_->End();
}

std::vector<uint8_t> EncodeJpeg(const TRasterBitmap& bitmap, const TJpegEncodeOptions& options,
                                TStageReporter* progress) {
  TMemorySink sink;
  TJpegWriter writer(sink, FrameOf(bitmap), options, progress);
  WriteRows(bitmap, writer);
  return sink.TakeBytes();
}

}  // namespace quorvane
