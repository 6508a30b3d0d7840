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
#include <type_traits>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "raster/byte_sink.h"
#include "raster/error.h"
#include "raster/file_window.h"

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
  // Where the bytes come from when not from memory.
  jpeg_source_mgr* source;
  bool created;
  bool cmyk;
  // Whether the whole picture's coefficients are held before rows come.
  bool multiple_scans;
};

// Each step returns false when libjpeg failed; the message is in the session.
bool ReadHeaderStep(TJpegDecodeSession* s, const uint8_t* data, size_t size) {
  if (setjmp(s->errors.jump)) return false;
  s->created = true;  // the struct was zeroed, so destroying it is safe from here on
  jpeg_create_decompress(&s->info);
  if (s->source) {
    s->info.src = s->source;
  } else {
    jpeg_mem_src(&s->info, data, static_cast<unsigned long>(size));
  }
  jpeg_read_header(&s->info, TRUE);
  s->multiple_scans = jpeg_has_multiple_scans(&s->info);
  return true;
}

// A file read through a window a stretch at a time. Past its end comes the
// end marker the memory source inserts too, so both read the same bytes.
struct TJpegWindowSource {
  jpeg_source_mgr manager;
  TFileWindow* window;
  uint64_t next;  // file offset of the next stretch
};

constexpr uint64_t kJpegReadStretch = 64 * 1024;

void InitWindowSource(j_decompress_ptr) {}
void TermWindowSource(j_decompress_ptr) {}

boolean FillWindowBuffer(j_decompress_ptr info) {
  static const JOCTET kEnd[2] = {0xFF, JPEG_EOI};
  auto* source = reinterpret_cast<TJpegWindowSource*>(info->src);
  TFileWindow& window = *source->window;
  if (source->next >= window.Size()) {
    WARNMS(info, JWRN_JPEG_EOF);
    source->manager.next_input_byte = kEnd;
    source->manager.bytes_in_buffer = 2;
    return TRUE;
  }
  const uint64_t end = std::min(window.Size(), source->next + kJpegReadStretch);
  if (!window.Reach(end)) ERREXIT(info, JERR_FILE_READ);
  window.Forget(source->next);
  source->manager.next_input_byte = window.Bytes().data() + source->next;
  source->manager.bytes_in_buffer = size_t(end - source->next);
  source->next = end;
  return TRUE;
}

// As the memory source skips: through the buffers, end markers included.
void SkipWindowData(j_decompress_ptr info, long count) {
  jpeg_source_mgr* source = info->src;
  if (count <= 0) return;
  while (count > long(source->bytes_in_buffer)) {
    count -= long(source->bytes_in_buffer);
    FillWindowBuffer(info);
  }
  source->next_input_byte += size_t(count);
  source->bytes_in_buffer -= size_t(count);
}

void SetUpWindowSource(TJpegWindowSource& source, TFileWindow& window) {
  std::memset(&source, 0, sizeof source);
  source.manager.init_source = InitWindowSource;
  source.manager.fill_input_buffer = FillWindowBuffer;
  source.manager.skip_input_data = SkipWindowData;
  source.manager.resync_to_restart = jpeg_resync_to_restart;
  source.manager.term_source = TermWindowSource;
  source.window = &window;
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
  const TJpegDecodeSession* operator->() const { return &session_; }
  TJpegDecodeSession* Get() { return &session_; }
  void Check(bool step_done) const {
    if (!step_done) ThrowJpegError(session_.errors);
  }

  // Decodes the next row in blue, green, red into `bgr`; false once the
  // data has run out.
  bool ReadRow(uint8_t* bgr, std::vector<uint8_t>& cmyk_row) {
    const int width = int(session_.info.output_width);
    if (session_.cmyk) cmyk_row.resize(size_t(width) * 4);
    JSAMPROW row = session_.cmyk ? cmyk_row.data() : bgr;
    JDIMENSION got = 0;
    Check(ReadRowStep(&session_, row, &got));
    if (got != 1) return false;
    // An Adobe marker means the CMYK values are stored inverted.
    if (session_.cmyk) CmykRowToBgr(row, width, session_.info.saw_Adobe_marker, bgr);
    return true;
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
  std::vector<uint8_t> cmyk_row;
  TRowProgress rows(options.Progress, uint64_t(height));
  while (decoder->info.output_scanline < decoder->info.output_height) {
    if (!decoder.ReadRow(decoded.Scanline(int(decoder->info.output_scanline)), cmyk_row)) break;
    rows.RowsDone(decoder->info.output_scanline);
  }
  decoder.Check(FinishDecompressStep(decoder.Get()));
  rows.End();
  bitmap = std::move(decoded);
}

namespace {

// A single-scan file's rows from the file, a band at a time.
class TJpegFileRows final : public TPictureRows {
 public:
  explicit TJpegFileRows(const std::string& path) : window_(path) {
    SetUpWindowSource(source_, window_);
    decoder_->source = &source_.manager;
    // Only bands are held: the whole picture's memory cap does not apply.
    picture_ = Checked([&] { return decoder_.ReadHeader({}, {.MaxPictureBytes = UINT64_MAX}); });
  }
  bool Streams() const { return !decoder_->multiple_scans; }

  void Stream(const TBandHandler& rows) override {
    Checked([&] { return decoder_.Check(StartDecompressStep(decoder_.Get())); });
    TRasterBitmap like;
    TBandFiller band(picture_, like, rows);
    std::vector<uint8_t> cmyk_row;
    while (decoder_->info.output_scanline < decoder_->info.output_height) {
      if (!Checked([&] { return decoder_.ReadRow(band.Row(), cmyk_row); })) break;
      if (!band.RowDone()) return;
    }
    Checked([&] { return decoder_.Check(FinishDecompressStep(decoder_.Get())); });
    band.Finish();
  }

 private:
  // A step that failed for a failed read throws that failure.
  template <typename TStep>
  std::invoke_result_t<TStep> Checked(TStep step) {
    try {
      return step();
    } catch (const EQuorvaneError&) {
      window_.Rethrow();
      throw;
    }
  }

  TFileWindow window_;
  TJpegWindowSource source_;
  TJpegDecoder decoder_;
};

}  // namespace

std::unique_ptr<TPictureRows> OpenJpegRows(const std::string& path) {
  return OpenIfStreams<TJpegFileRows>(path);
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
