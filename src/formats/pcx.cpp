#include "formats/pcx.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "raster/byte_reader.h"
#include "raster/byte_stream.h"
#include "raster/converted_rows.h"
#include "raster/error.h"
#include "raster/file_window.h"

namespace quorvane {

namespace {

struct TPcxHeader {
  uint8_t Manufacturer = 0;
  uint8_t Version = 0;
  uint8_t Encoding = 0;
  uint8_t BitsPerPixel = 0;
  uint16_t Xmin = 0, Ymin = 0, Xmax = 0, Ymax = 0;
  uint16_t HDpi = 0, VDpi = 0;
  std::array<TTriple, 16> Palette{};
  uint8_t Reserved = 0;
  uint8_t NPlanes = 0;
  uint16_t BytesPerLine = 0;
  uint16_t PaletteInfo = 0;
  uint16_t HscreenSize = 0, VscreenSize = 0;
};

constexpr size_t kFillerSize = 54;
constexpr uint8_t kExtendedPaletteMark = 12;
constexpr int kMaxRun = 63;

TPcxHeader ReadHeader(TByteReader& stream) {
  TPcxHeader h;
  h.Manufacturer = stream.ReadByte();
  h.Version = stream.ReadByte();
  h.Encoding = stream.ReadByte();
  h.BitsPerPixel = stream.ReadByte();
  h.Xmin = stream.ReadWord();
  h.Ymin = stream.ReadWord();
  h.Xmax = stream.ReadWord();
  h.Ymax = stream.ReadWord();
  h.HDpi = stream.ReadWord();
  h.VDpi = stream.ReadWord();
  for (TTriple& colour : h.Palette) {
    const uint8_t red = stream.ReadByte();
    const uint8_t green = stream.ReadByte();
    const uint8_t blue = stream.ReadByte();
    colour = MakeTriple(red, green, blue);
  }
  h.Reserved = stream.ReadByte();
  h.NPlanes = stream.ReadByte();
  h.BytesPerLine = stream.ReadWord();
  h.PaletteInfo = stream.ReadWord();
  h.HscreenSize = stream.ReadWord();
  h.VscreenSize = stream.ReadWord();
  stream.Seek(stream.Position() + kFillerSize);
  return h;
}

enum class TPcxKind { Mono, Cga4, Ega8, Ega16, Indexed256, TrueColour };

bool KindOf(const TPcxHeader& h, TPcxKind& kind) {
  const int planes = h.NPlanes, bits = h.BitsPerPixel;
  if (planes == 1 && bits == 1)
    kind = TPcxKind::Mono;
  else if (planes == 1 && bits == 2)
    kind = TPcxKind::Cga4;
  else if (planes == 3 && bits == 1)
    kind = TPcxKind::Ega8;
  else if (planes == 4 && bits == 1)
    kind = TPcxKind::Ega16;
  else if (planes == 1 && bits == 8)
    kind = TPcxKind::Indexed256;
  else if (planes == 3 && bits == 8)
    kind = TPcxKind::TrueColour;
  else
    return false;
  return true;
}

// The largest number of decoded bytes `n` input bytes can give: a run is two
// bytes for at most 63 copies.
uint64_t MaxDecodedBytes(uint64_t n) {
  return n / 2 * kMaxRun + n % 2;
}

// Run-length decodes the body, where it stopped last: up to `total` bytes in
// all; a run passing that end is cut, and decoding ends with the data.
// Runs carry on from one call into the next. Through a window, the bytes
// are fetched as they are needed.
class TPcxBodyReader {
 public:
  TPcxBodyReader(TByteReader& stream, uint64_t total, TFileWindow* window = nullptr)
      : stream_(stream), left_(total), window_(window) {}

  // Decodes up to `n` bytes into `out`; returns how many came.
  size_t Decode(uint8_t* out, size_t n) {
    size_t produced = 0;
    while (produced < n) {
      if (run_ > 0) {
        const size_t k = std::min<size_t>(run_, n - produced);
        std::memset(out + produced, value_, k);
        run_ -= k;
        produced += k;
        continue;
      }
      Reach();
      if (left_ == 0 || stream_.Remaining() == 0) break;
      const uint8_t b = stream_.ReadByte();
      if (b >= 192) {
        run_ = std::min<uint64_t>(b - 192, left_);
        value_ = stream_.ReadByte();
        left_ -= run_;
      } else {
        out[produced++] = b;
        --left_;
      }
    }
    return produced;
  }

 private:
  // A packet takes at most two bytes.
  void Reach() {
    if (!window_ || stream_.Position() + 2 <= reached_) return;
    reached_ = stream_.Position() + (1 << 20);
    if (!window_->Reach(reached_)) window_->Rethrow();
    window_->Forget(stream_.Position());
  }

  TByteReader& stream_;
  uint64_t left_;
  TFileWindow* window_;
  uint64_t reached_ = 0;
  uint64_t run_ = 0;
  uint8_t value_ = 0;
};

inline int Bit(const uint8_t* plane, int x) {
  return (plane[x >> 3] >> (7 - (x & 7))) & 1;
}

// Converts one scan line, laid out plane after plane with `plane_len` bytes
// each, into 24-bit pixels.
void ConvertLine(TPcxKind kind, const uint8_t* line, size_t plane_len, int width,
                 const std::array<TTriple, 16>& header_palette,
                 const std::array<TTriple, 256>* extended_palette, uint8_t* out) {
  const uint8_t* p0 = line;
  const uint8_t* p1 = line + plane_len;
  const uint8_t* p2 = line + 2 * plane_len;
  const uint8_t* p3 = line + 3 * plane_len;
  auto put = [&out](const TTriple& c) {
    out[0] = c.Blue;
    out[1] = c.Green;
    out[2] = c.Red;
    out += 3;
  };
  switch (kind) {
    case TPcxKind::Mono:
      for (int x = 0; x < width; ++x) put(header_palette[Bit(p0, x)]);
      break;
    case TPcxKind::Cga4:
      for (int x = 0; x < width; ++x) put(header_palette[(p0[x >> 2] >> (6 - 2 * (x & 3))) & 3]);
      break;
    case TPcxKind::Ega8:
      for (int x = 0; x < width; ++x)
        put(header_palette[(Bit(p2, x) << 2) | (Bit(p1, x) << 1) | Bit(p0, x)]);
      break;
    case TPcxKind::Ega16:
      for (int x = 0; x < width; ++x)
        put(header_palette[(Bit(p3, x) << 3) | (Bit(p2, x) << 2) | (Bit(p1, x) << 1) | Bit(p0, x)]);
      break;
    case TPcxKind::Indexed256:
      if (extended_palette) {
        for (int x = 0; x < width; ++x) put((*extended_palette)[p0[x]]);
      } else {
        for (int x = 0; x < width; ++x) put(TTriple{p0[x], p0[x], p0[x]});
      }
      break;
    case TPcxKind::TrueColour:
      for (int x = 0; x < width; ++x) {
        out[0] = p2[x];
        out[1] = p1[x];
        out[2] = p0[x];
        out += 3;
      }
      break;
  }
}

void Report(TStageReporter* progress, TProgressStage stage, int steps = 1) {
  if (progress) progress->Report(stage, steps);
}

int32_t DpiToPelsPerMetre(uint16_t dpi, double inches_per_metre) {
  return int32_t(std::nearbyint(double(dpi) * inches_per_metre));
}

uint16_t PelsPerMetreToDpi(int32_t pels, double inches_per_metre) {
  const double dpi = std::nearbyint(double(pels) * (1.0 / inches_per_metre));
  // A resolution the 16-bit field cannot hold (or a negative one) is clamped.
  return uint16_t(std::clamp(dpi, 0.0, 65535.0));
}

}  // namespace

namespace {

struct TPcxPicture {
  TPcxHeader Header;
  TPcxKind Kind;
  int64_t Width, Height;
};

TPcxPicture CheckedHeader(TByteReader& stream, const TDecodeLimits& limits) {
  stream.SetBigEndian(false);
  TPcxPicture p{ReadHeader(stream), TPcxKind::Mono, 0, 0};
  const TPcxHeader& h = p.Header;
  if (!KindOf(h, p.Kind))
    throw EQuorvaneError("Unsupported PCX format: " + std::to_string(h.NPlanes) + " plane(s) of " +
                             std::to_string(h.BitsPerPixel) + " bit(s)",
                         TErrorKind::Unsupported);
  p.Width = int64_t(h.Xmax) - h.Xmin + 1;
  p.Height = int64_t(h.Ymax) - h.Ymin + 1;
  if (p.Width <= 0 || p.Height <= 0)
    throw EQuorvaneError("Invalid PCX image size", TErrorKind::Corrupt);
  limits.CheckPicture(p.Width, p.Height, 24);
  return p;
}

// The 256-colour palette after the body, when its mark is there.
bool ReadExtendedPalette(TByteReader& stream, std::array<TTriple, 256>& extended) {
  if (stream.ReadByte() != kExtendedPaletteMark) return false;
  for (TTriple& colour : extended) {
    const uint8_t red = stream.ReadByte();
    const uint8_t green = stream.ReadByte();
    const uint8_t blue = stream.ReadByte();
    colour = MakeTriple(red, green, blue);
  }
  return true;
}

// How the decoded scan lines become the picture's rows.
class TPcxLines {
 public:
  TPcxLines(const TPcxPicture& p, const std::array<TTriple, 16>& palette,
            const std::array<TTriple, 256>* extended)
      : p_(p), palette_(palette), extended_(extended) {
    // The conversion reads the first `needed` bytes of each plane. A header's
    // BytesPerLine may be smaller (the rest reads as zero, never as the next
    // plane) or far larger (the excess is never touched). Room for four
    // planes whatever the kind, so ConvertLine's plane pointers all lie
    // inside the line.
    needed_ = size_t((p.Width * p.Header.BitsPerPixel + 7) / 8);
    line_.resize(needed_ * 4);
  }

  // The row from a scan line of which `have` bytes were decoded.
  void Convert(const uint8_t* stored, uint64_t have, uint8_t* out) {
    const size_t bpl = p_.Header.BytesPerLine;
    const size_t copied = std::min(bpl, needed_);
    std::fill(line_.begin(), line_.end(), 0);
    for (int plane = 0; plane < p_.Header.NPlanes; ++plane) {
      const uint64_t start = uint64_t(plane) * bpl;
      if (start >= have) break;
      const size_t n = size_t(std::min<uint64_t>(copied, have - start));
      std::memcpy(line_.data() + plane * needed_, stored + start, n);
    }
    ConvertLine(p_.Kind, line_.data(), needed_, int(p_.Width), palette_, extended_, out);
  }

  // The row of lines past the decoded data: what a line of zeros converts
  // to; empty when that is black, as a cleared row already is.
  const std::vector<uint8_t>& PastTheData() {
    if (!zero_row_) {
      zero_row_.emplace(size_t(p_.Width) * 3);
      Convert(nullptr, 0, zero_row_->data());
      if (std::all_of(zero_row_->begin(), zero_row_->end(), [](uint8_t v) { return v == 0; }))
        zero_row_->clear();
    }
    return *zero_row_;
  }

 private:
  const TPcxPicture& p_;
  const std::array<TTriple, 16>& palette_;
  const std::array<TTriple, 256>* extended_;
  size_t needed_ = 0;
  std::vector<uint8_t> line_;
  std::optional<std::vector<uint8_t>> zero_row_;
};

// Converts the decoded scan lines into the picture's rows. Rows that begin
// past the decoded data are what a line of zeros converts to: that row is
// converted once and copied, and not even copied when it is black, as the
// picture already is.
void ConvertLines(const TPcxPicture& p, const std::vector<uint8_t>& lines,
                  const std::array<TTriple, 16>& palette, const std::array<TTriple, 256>* extended,
                  TRasterBitmap& result) {
  const uint64_t line_size = uint64_t(p.Header.NPlanes) * p.Header.BytesPerLine;
  TPcxLines converter(p, palette, extended);
  for (int64_t y = 0; y < p.Height; ++y) {
    uint8_t* out = result.Scanline(int(y));
    const uint64_t line_start = uint64_t(y) * line_size;
    if (line_start >= lines.size() && line_size > 0) {
      const std::vector<uint8_t>& zero_row = converter.PastTheData();
      if (zero_row.empty()) break;
      std::memcpy(out, zero_row.data(), zero_row.size());
      continue;
    }
    converter.Convert(lines.data() + line_start, lines.size() - line_start, out);
  }
}

// The palettes a decode uses: the header's, and the 256 colours after the
// body when their mark is there.
struct TPcxPalettes {
  std::array<TTriple, 16> Header;
  std::array<TTriple, 256> Extended{};
  bool HasExtended = false;
};

TPcxPalettes ReadPalettes(const TPcxPicture& p, TByteReader& after_body) {
  TPcxPalettes palettes{p.Header.Palette};
  palettes.HasExtended = ReadExtendedPalette(after_body, palettes.Extended);
  // Many two-colour files leave the header palette empty; taken literally
  // both colours are black and the picture is invisible. Such a palette
  // means black and white.
  if (p.Kind == TPcxKind::Mono && palettes.Header[0] == palettes.Header[1]) {
    palettes.Header[0] = MakeTriple(0, 0, 0);
    palettes.Header[1] = MakeTriple(255, 255, 255);
  }
  return palettes;
}

// The scan lines the header promises, but never more than the data can
// decode to: bytes beyond it would only ever be zero.
uint64_t BodyBytes(const TPcxPicture& p, const TByteReader& stream) {
  const uint64_t line_size = uint64_t(p.Header.NPlanes) * p.Header.BytesPerLine;
  return std::min(line_size * uint64_t(p.Height), MaxDecodedBytes(stream.Remaining()));
}

// The file's rows, a band at a time: a first pass over the body finds the
// palette after it, a second decodes the lines.
class TPcxFileRows final : public TPictureRows {
 public:
  explicit TPcxFileRows(const std::string& path) : path_(path), window_(path) {
    if (!window_.Reach(128)) window_.Rethrow();
    TByteReader stream(window_.Bytes());
    // Only bands are held: the whole picture's memory cap does not apply.
    p_ = CheckedHeader(stream, {.MaxPictureBytes = UINT64_MAX});
    body_at_ = stream.Position();
    picture_ = {p_.Width, p_.Height, TPixelFormat::Bit24};
  }

  void Stream(const TBandHandler& rows) override {
    TByteReader stream(window_.Bytes());
    stream.Seek(body_at_);
    const uint64_t body_bytes = BodyBytes(p_, stream);
    const uint64_t line_size = uint64_t(p_.Header.NPlanes) * p_.Header.BytesPerLine;
    std::vector<uint8_t> line(size_t(std::max<uint64_t>(line_size, 1)));
    {
      TPcxBodyReader skip(stream, body_bytes, &window_);
      while (skip.Decode(line.data(), line.size()) == line.size()) {
      }
    }
    if (!window_.Reach(stream.Position() + 769)) window_.Rethrow();
    const TPcxPalettes palettes = ReadPalettes(p_, stream);
    // The window has moved past the rows to the palette: a second one
    // reads them from the start.
    TFileWindow window(path_);
    TByteReader lines(window.Bytes());
    lines.Seek(body_at_);
    TPcxBodyReader body(lines, body_bytes, &window);
    TPcxLines converter(p_, palettes.Header, palettes.HasExtended ? &palettes.Extended : nullptr);
    TRasterBitmap like;
    like.SetPelsPerMeter(DpiToPelsPerMetre(p_.Header.HDpi, kInchesPerMetre),
                         DpiToPelsPerMetre(p_.Header.VDpi, kInchesPerMetre));
    TBandFiller band(picture_, like, rows);
    for (int64_t y = 0; y < p_.Height; ++y) {
      const uint64_t line_start = uint64_t(y) * line_size;
      if (line_start >= body_bytes && line_size > 0) {
        const std::vector<uint8_t>& zero_row = converter.PastTheData();
        if (zero_row.empty()) break;
        std::memcpy(band.Row(), zero_row.data(), zero_row.size());
      } else {
        // Bytes of the body the data never reached are zero.
        const size_t have = body.Decode(line.data(), size_t(line_size));
        std::fill(line.begin() + have, line.end(), 0);
        converter.Convert(line.data(), std::min(line_size, body_bytes - line_start), band.Row());
      }
      if (!band.RowDone()) return;
    }
    band.Finish();
  }

 private:
  std::string path_;
  TFileWindow window_;
  TPcxPicture p_{};
  uint64_t body_at_ = 0;
};

}  // namespace

TPictureInfo ReadPcxHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits) {
  TByteReader stream(bytes);
  const TPcxPicture p = CheckedHeader(stream, limits);
  return {p.Width, p.Height, TPixelFormat::Bit24};
}

void DecodePcx(std::span<const uint8_t> bytes, TRasterBitmap& bitmap, const TDecodeOptions& options,
               double inches_per_metre) {
  TStageReporter* progress = options.Progress;
  TByteReader stream(bytes);
  Report(progress, TProgressStage::Starting, 4);
  const TPcxPicture p = CheckedHeader(stream, options.Limits);
  Report(progress, TProgressStage::Running);

  std::vector<uint8_t> lines(size_t(BodyBytes(p, stream)));
  TPcxBodyReader(stream, lines.size()).Decode(lines.data(), lines.size());
  Report(progress, TProgressStage::Running);

  const TPcxPalettes palettes = ReadPalettes(p, stream);
  if (palettes.HasExtended) Report(progress, TProgressStage::Running);

  TRasterBitmap result;
  result.Reset(TPixelFormat::Bit24, int(p.Width), int(p.Height));
  ConvertLines(p, lines, palettes.Header, palettes.HasExtended ? &palettes.Extended : nullptr,
               result);
  result.SetPelsPerMeter(DpiToPelsPerMetre(p.Header.HDpi, inches_per_metre),
                         DpiToPelsPerMetre(p.Header.VDpi, inches_per_metre));
  Report(progress, TProgressStage::Running);
  bitmap = std::move(result);
  Report(progress, TProgressStage::Ending);
}

std::unique_ptr<TPictureRows> OpenPcxRows(const std::string& path) {
  return std::make_unique<TPcxFileRows>(path);
}

namespace {

// Emits (value, count) as the PCX run coding wants it.
void EmitRun(std::vector<uint8_t>& out, uint8_t value, int count) {
  if (count == 0) return;
  if (count == 1 && value < 192) {
    out.push_back(value);
  } else {
    out.push_back(uint8_t(192 + count));
    out.push_back(value);
  }
}

// One plane of `n` bytes taken every `step` bytes from `src`; runs never
// cross planes.
void EncodePlane(const uint8_t* src, size_t n, size_t step, std::vector<uint8_t>& out) {
  if (n == 0) return;
  uint8_t value = src[0];
  int count = 1;
  for (size_t i = 1; i < n; ++i) {
    const uint8_t b = src[i * step];
    if (b == value) {
      if (++count == kMaxRun) {
        EmitRun(out, value, count);
        count = 0;
      }
    } else {
      EmitRun(out, value, count);
      value = b;
      count = 1;
    }
  }
  EmitRun(out, value, count);
}

}  // namespace

TPcxWriter::TPcxWriter(TByteSink& sink, const TPictureFrame& frame, TStageReporter* progress,
                       double inches_per_metre)
    : sink_(sink), width_(frame.Width), progress_(progress) {
  if (frame.PixelFormat != TPixelFormat::Bit24)
    throw EQuorvaneError("PCX: only 24-bit pictures can be written", TErrorKind::Unsupported);
  const int width = frame.Width, height = frame.Height;
  // Xmax, Ymax and BytesPerLine are 16-bit fields.
  if (width <= 0 || height <= 0) throw EQuorvaneError("Cannot write an empty picture as PCX");
  if (width > 65535 || height > 65536)
    throw EQuorvaneError("PCX cannot hold pictures wider than 65535 or taller than 65536 pixels",
                         TErrorKind::TooLarge);

  TByteStream stream;
  stream.SetBigEndian(false);
  Report(progress, TProgressStage::Starting, 3);
  const uint16_t hdpi = PelsPerMetreToDpi(frame.XPelsPerMeter, inches_per_metre);
  const uint16_t vdpi = PelsPerMetreToDpi(frame.YPelsPerMeter, inches_per_metre);
  Report(progress, TProgressStage::Running);

  stream.WriteByte(10);  // Manufacturer
  stream.WriteByte(5);   // Version
  stream.WriteByte(1);   // Encoding
  stream.WriteByte(8);   // BitsPerPixel
  stream.WriteWord(0);   // Xmin
  stream.WriteWord(0);   // Ymin
  stream.WriteWord(uint16_t(width - 1));
  stream.WriteWord(uint16_t(height - 1));
  stream.WriteWord(hdpi);
  stream.WriteWord(vdpi);
  const uint8_t zeros[kFillerSize] = {};
  stream.Write(zeros, 48);  // header palette
  stream.WriteByte(0);      // Reserved
  stream.WriteByte(3);      // NPlanes
  stream.WriteWord(uint16_t(width));
  stream.WriteWord(1);  // PaletteInfo
  stream.WriteWord(uint16_t(width));
  stream.WriteWord(uint16_t(height));
  stream.Write(zeros, kFillerSize);
  sink_.Write(stream.Data(), stream.Size());
  Report(progress, TProgressStage::Running);
}

void TPcxWriter::WriteRow(const uint8_t* row) {
  encoded_.clear();
  EncodePlane(row + 2, size_t(width_), 3, encoded_);  // red
  EncodePlane(row + 1, size_t(width_), 3, encoded_);  // green
  EncodePlane(row + 0, size_t(width_), 3, encoded_);  // blue
  sink_.Write(encoded_.data(), encoded_.size());
}

void TPcxWriter::Finish() {
  Report(progress_, TProgressStage::Running);
  Report(progress_, TProgressStage::Ending);
}

std::vector<uint8_t> EncodePcx(const TRasterBitmap& picture, TStageReporter* progress,
                               double inches_per_metre) {
  TConvertedRows rows(picture, TPixelFormat::Bit24);
  TMemorySink sink;
  TPcxWriter writer(sink, rows.Frame(), progress, inches_per_metre);
  rows.WriteTo(writer);
  return sink.TakeBytes();
}

}  // namespace quorvane
