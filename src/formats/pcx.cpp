#include "formats/pcx.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "raster/byte_reader.h"
#include "raster/byte_stream.h"
#include "raster/converted_rows.h"
#include "raster/error.h"

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

// Run-length decodes up to lines.size() bytes; a run passing the end is cut,
// and decoding ends with the data. Unfilled bytes stay zero.
void DecodeBody(TByteReader& stream, std::vector<uint8_t>& lines) {
  size_t filled = 0;
  const size_t size = lines.size();
  while (filled < size && stream.Remaining() > 0) {
    const uint8_t b = stream.ReadByte();
    if (b >= 192) {
      const size_t count = std::min<size_t>(b - 192, size - filled);
      const uint8_t value = stream.ReadByte();
      std::memset(lines.data() + filled, value, count);
      filled += count;
    } else {
      lines[filled++] = b;
    }
  }
}

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

// Converts the decoded scan lines into the picture's rows. Rows that begin
// past the decoded data are what a line of zeros converts to (the buffer
// they would come from is zero): that row is converted once and copied,
// and not even copied when it is black, as the picture already is.
void ConvertLines(const TPcxPicture& p, const std::vector<uint8_t>& lines,
                  const std::array<TTriple, 16>& palette, const std::array<TTriple, 256>* extended,
                  TRasterBitmap& result) {
  const TPcxHeader& h = p.Header;
  const uint64_t line_size = uint64_t(h.NPlanes) * h.BytesPerLine;
  // The conversion reads the first `needed` bytes of each plane. A header's
  // BytesPerLine may be smaller (the rest reads as zero, never as the next
  // plane) or far larger (the excess is never touched).
  const size_t needed = size_t((p.Width * h.BitsPerPixel + 7) / 8);
  const size_t bpl = h.BytesPerLine;
  const size_t copied = std::min(bpl, needed);
  // Room for four planes whatever the kind, so ConvertLine's plane pointers
  // all lie inside the line.
  std::vector<uint8_t> line(needed * 4);
  std::vector<uint8_t> zero_row;
  for (int64_t y = 0; y < p.Height; ++y) {
    uint8_t* out = result.Scanline(int(y));
    const uint64_t line_start = uint64_t(y) * line_size;
    if (line_start >= lines.size() && line_size > 0) {
      if (zero_row.empty()) {
        std::fill(line.begin(), line.end(), 0);
        zero_row.resize(size_t(p.Width) * 3);
        ConvertLine(p.Kind, line.data(), needed, int(p.Width), palette, extended, zero_row.data());
        if (std::all_of(zero_row.begin(), zero_row.end(), [](uint8_t v) { return v == 0; })) break;
      }
      std::memcpy(out, zero_row.data(), zero_row.size());
      continue;
    }
    std::fill(line.begin(), line.end(), 0);
    for (int plane = 0; plane < h.NPlanes; ++plane) {
      const uint64_t start = line_start + uint64_t(plane) * bpl;
      if (start >= lines.size()) break;
      const size_t n = size_t(std::min<uint64_t>(copied, lines.size() - start));
      std::memcpy(line.data() + plane * needed, lines.data() + start, n);
    }
    ConvertLine(p.Kind, line.data(), needed, int(p.Width), palette, extended, out);
  }
}

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

  // The scan lines the header promises, but never more than the data can
  // decode to: bytes beyond it would only ever be zero.
  const uint64_t line_size = uint64_t(p.Header.NPlanes) * p.Header.BytesPerLine;
  const uint64_t decodable = MaxDecodedBytes(stream.Remaining());
  std::vector<uint8_t> lines(size_t(std::min(line_size * uint64_t(p.Height), decodable)));
  DecodeBody(stream, lines);
  Report(progress, TProgressStage::Running);

  std::array<TTriple, 256> extended{};
  const bool has_extended = ReadExtendedPalette(stream, extended);
  if (has_extended) Report(progress, TProgressStage::Running);

  std::array<TTriple, 16> palette = p.Header.Palette;
  // Many two-colour files leave the header palette empty; taken literally
  // both colours are black and the picture is invisible. Such a palette
  // means black and white.
  if (p.Kind == TPcxKind::Mono && palette[0] == palette[1]) {
    palette[0] = MakeTriple(0, 0, 0);
    palette[1] = MakeTriple(255, 255, 255);
  }

  TRasterBitmap result;
  result.Reset(TPixelFormat::Bit24, int(p.Width), int(p.Height));
  ConvertLines(p, lines, palette, has_extended ? &extended : nullptr, result);
  result.SetPelsPerMeter(DpiToPelsPerMetre(p.Header.HDpi, inches_per_metre),
                         DpiToPelsPerMetre(p.Header.VDpi, inches_per_metre));
  Report(progress, TProgressStage::Running);
  bitmap = std::move(result);
  Report(progress, TProgressStage::Ending);
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
