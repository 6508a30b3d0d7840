#include "formats/iff.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "raster/byte_reader.h"
#include "raster/byte_stream.h"
#include "raster/converted_rows.h"
#include "raster/error.h"
#include "raster/file_window.h"
#include "raster/packbits.h"

namespace quorvane {

namespace {

struct TBitmapHeader {
  uint16_t Width = 0, Height = 0;
  int16_t X = 0, Y = 0;
  uint8_t NPlanes = 0;
  uint8_t Masking = 0;
  uint8_t Compression = 0;
  uint8_t Pad = 0;
  uint16_t TransparentColor = 0;
  uint8_t XAspect = 0, YAspect = 0;
  int16_t PageWidth = 0, PageHeight = 0;
};

constexpr int kMaxPlanes = 8;
// Masking value of an ILBM whose rows carry a mask plane after the colour planes.
constexpr uint8_t kHasMaskPlane = 1;

void Report(TStageReporter* progress, TProgressStage stage, int steps = 1) {
  if (progress) progress->Report(stage, steps);
}

// `chunk` holds the chunk's data: a short BMHD reads as zeros rather than as
// the next chunk's bytes.
TBitmapHeader ParseBitmapHeader(TByteReader s) {
  TBitmapHeader h;
  h.Width = s.ReadWord();
  h.Height = s.ReadWord();
  h.X = int16_t(s.ReadWord());
  h.Y = int16_t(s.ReadWord());
  h.NPlanes = s.ReadByte();
  h.Masking = s.ReadByte();
  h.Compression = s.ReadByte();
  h.Pad = s.ReadByte();
  h.TransparentColor = s.ReadWord();
  h.XAspect = s.ReadByte();
  h.YAspect = s.ReadByte();
  h.PageWidth = int16_t(s.ReadWord());
  h.PageHeight = int16_t(s.ReadWord());
  return h;
}

// ByteRun1: a control byte c taken as signed copies c + 1 literal bytes
// (0..127), repeats the next byte 1 - c times (-127..-1) or does nothing
// (-128). Bytes beyond n are discarded; decoding also ends with the data.
void UnpackByteRun1(TByteReader& data, uint8_t* out, size_t n) {
  size_t filled = 0;
  while (filled < n && !data.AtEnd()) {
    const int c = SignedByte(data.ReadByte());
    if (c >= 0) {
      const size_t count = size_t(c) + 1;
      const size_t k = std::min(count, n - filled);
      data.Read(out + filled, k);
      data.Skip(count - k);
      filled += k;
    } else if (c != -128) {
      const size_t count = size_t(1 - c);
      const uint8_t value = data.ReadByte();
      const size_t k = std::min(count, n - filled);
      std::memset(out + filled, value, k);
      filled += k;
    }
  }
}

void ReadPlaneRow(TByteReader& data, bool compressed, uint8_t* out, size_t n) {
  if (n == 0) return;  // a zero-width picture has empty rows (and no row memory)
  std::memset(out, 0, n);
  if (compressed) {
    UnpackByteRun1(data, out, n);
  } else {
    data.Read(out, n);
  }
}

// CAMG display modes that change what a pixel's bits mean.
constexpr uint32_t kHoldAndModify = 0x800;
constexpr uint32_t kExtraHalfBrite = 0x80;

// How the indices of a row become colours.
struct TPixelMeaning {
  std::vector<TTriple> ColorTable;
  // Hold-and-modify: the top two bits of an index say whether its other
  // bits pick a colour of the table or replace the blue, red or green of
  // the pixel before; 0 when the indices are plain.
  int ModifyBits = 0;
};

// Pixel x takes bit 7 - (x mod 8) of byte x div 8 from each plane; the bit
// from plane k is bit k of its index.
void PlanesToIndices(const uint8_t* planes, size_t plane_row, int n_planes, int width,
                     uint8_t* indices) {
  for (int x = 0; x < width; ++x) {
    const size_t byte = size_t(x) >> 3;
    const int shift = 7 - (x & 7);
    unsigned index = 0;
    for (int k = 0; k < n_planes; ++k)
      index |= unsigned((planes[size_t(k) * plane_row + byte] >> shift) & 1) << k;
    indices[x] = uint8_t(index);
  }
}

void Store(const TTriple& c, uint8_t* out) {
  out[0] = c.Blue;
  out[1] = c.Green;
  out[2] = c.Red;
}

// An index beyond the colour table gives black.
const TTriple& ColourOf(const std::vector<TTriple>& table, unsigned index) {
  static const TTriple kBlack{};
  return index < table.size() ? table[index] : kBlack;
}

// Each row starts from the background colour, entry 0. A modified channel
// takes the value bits scaled to the full 0..255 range (rounding down), so
// the largest value is full intensity: v * 17 for the four bits of HAM6,
// v * 255 / 63 for the six of HAM8.
uint8_t Level(unsigned value, int bits) {
  return uint8_t(value * 255 / ((1u << bits) - 1));
}

void HoldAndModify(const uint8_t* indices, int width, const TPixelMeaning& meaning, uint8_t* out) {
  const int bits = meaning.ModifyBits;
  const unsigned mask = (1u << bits) - 1;
  TTriple pixel = ColourOf(meaning.ColorTable, 0);
  for (int x = 0; x < width; ++x, out += 3) {
    const unsigned value = indices[x] & mask;
    switch (indices[x] >> bits) {
      case 0:
        pixel = ColourOf(meaning.ColorTable, value);
        break;
      case 1:
        pixel.Blue = Level(value, bits);
        break;
      case 2:
        pixel.Red = Level(value, bits);
        break;
      default:
        pixel.Green = Level(value, bits);
        break;
    }
    Store(pixel, out);
  }
}

void MapRow(const uint8_t* indices, int width, const TPixelMeaning& meaning, uint8_t* out) {
  if (meaning.ModifyBits > 0) return HoldAndModify(indices, width, meaning, out);
  for (int x = 0; x < width; ++x, out += 3) Store(ColourOf(meaning.ColorTable, indices[x]), out);
}

// The stored rows of a body and how they become the picture's rows.
class TBodyRows {
 public:
  TBodyRows(const TBitmapHeader& h, bool planar, TPixelMeaning meaning)
      : h_(h), planar_(planar), meaning_(std::move(meaning)) {
    indices_.resize(size_t(h.Width));
    plane_row_ = size_t((h.Width + 15) / 16) * 2;
    // A mask plane follows the colour planes of each row; it is read past.
    stored_planes_ = h.NPlanes + (h.Masking == kHasMaskPlane ? 1 : 0);
    planes_.resize(planar ? plane_row_ * size_t(std::max(stored_planes_, 1)) : 0);
  }

  // Reads the next stored row.
  void Read(TByteReader& data) {
    const bool compressed = h_.Compression != 0;
    if (planar_) {
      for (int k = 0; k < stored_planes_; ++k)
        ReadPlaneRow(data, compressed, planes_.data() + size_t(k) * plane_row_, plane_row_);
      PlanesToIndices(planes_.data(), plane_row_, h_.NPlanes, h_.Width, indices_.data());
    } else {
      ReadPlaneRow(data, compressed, indices_.data(), indices_.size());
    }
  }
  // The row read last, in 24 bits.
  void Map(uint8_t* out) const { MapRow(indices_.data(), h_.Width, meaning_, out); }

 private:
  const TBitmapHeader& h_;
  bool planar_;
  TPixelMeaning meaning_;
  std::vector<uint8_t> indices_, planes_;
  size_t plane_row_ = 0;
  int stored_planes_ = 0;
};

void DecodeBody(TByteReader& data, const TBitmapHeader& h, bool planar,
                const TPixelMeaning& meaning, TRasterBitmap& result) {
  TBodyRows rows(h, planar, meaning);
  for (int y = 0; y < h.Height && !data.AtEnd(); ++y) {
    rows.Read(data);
    rows.Map(result.Scanline(y));
  }
}

// What the chunks before the body say, and where the body is.
struct TLbmChunks {
  bool Planar = false;
  TBitmapHeader Header;
  bool HaveHeader = false;
  std::vector<TTriple> ColorTable;
  uint32_t DisplayModes = 0;  // CAMG
  std::span<const uint8_t> Body;
  bool HaveBody = false;

  int Width() const { return HaveHeader ? Header.Width : 0; }
  int Height() const { return HaveHeader ? Header.Height : 0; }
};

bool HoldsAndModifies(const TLbmChunks& chunks) {
  return chunks.Planar && (chunks.DisplayModes & kHoldAndModify) != 0;
}

// The kinds of ILBM whose colours are decoded right; the others are refused
// rather than shown in wrong colours.
void CheckPlanes(const TLbmChunks& chunks) {
  const int planes = chunks.Header.NPlanes;
  if (chunks.Planar && planes > kMaxPlanes)
    throw EQuorvaneError(
        "Unsupported ILBM: " + std::to_string(planes) + " bit planes (at most 8 are supported)",
        TErrorKind::Unsupported);
  if (HoldsAndModifies(chunks) && planes != 6 && planes != 8)
    throw EQuorvaneError("Unsupported ILBM: hold-and-modify with " + std::to_string(planes) +
                             " bit planes (6 or 8 are supported)",
                         TErrorKind::Unsupported);
}

// Extra half-brite: indices 32 to 63 show entries 0 to 31 at half
// intensity, whatever the colour map holds beyond entry 31.
TPixelMeaning PixelMeaningOf(const TLbmChunks& chunks) {
  TPixelMeaning meaning{chunks.ColorTable, 0};
  if (HoldsAndModifies(chunks)) {
    meaning.ModifyBits = chunks.Header.NPlanes - 2;
  } else if (chunks.Planar && (chunks.DisplayModes & kExtraHalfBrite) != 0 &&
             chunks.Header.NPlanes == 6) {
    meaning.ColorTable.resize(64);
    for (size_t i = 0; i < 32; ++i) {
      const TTriple& c = meaning.ColorTable[i];
      meaning.ColorTable[i + 32] = {uint8_t(c.Blue / 2), uint8_t(c.Green / 2), uint8_t(c.Red / 2)};
    }
  }
  return meaning;
}

// Reads the form type and the chunks up to the body (or the end of the
// data), reporting BMHD and CMAP as Running stages.
TLbmChunks WalkChunks(std::span<const uint8_t> bytes, TStageReporter* progress,
                      TFileWindow* window = nullptr) {
  // Through a window, each chunk before the body is read before it is
  // looked at.
  auto reach = [window](uint64_t end) {
    if (window && !window->Reach(end)) window->Rethrow();
  };
  reach(12);
  TByteReader stream(bytes, true);
  if (stream.ReadChars(4) != "FORM")
    throw EQuorvaneError("file did not start with \"FORM\".", TErrorKind::Corrupt);
  stream.ReadDWord();  // FORM size: the chunks are walked up to the end of the data instead
  const std::string form_type = stream.ReadChars(4);
  TLbmChunks chunks;
  if (form_type == "ILBM")
    chunks.Planar = true;
  else if (form_type != "PBM ")
    throw EQuorvaneError("Unknown Form Type.", TErrorKind::Unsupported);

  while (stream.Remaining() > 0) {
    reach(stream.Position() + 8);
    const std::string id = stream.ReadChars(4);
    // A chunk size pointing past the data is cut at the data's end.
    const uint32_t declared = stream.ReadDWord();
    const size_t size = std::min<size_t>(declared, stream.Remaining());
    const size_t start = stream.Position();
    if (id != "BODY") reach(start + size);
    const TByteReader chunk(stream.SpanAt(start, size), true);
    if (id == "BMHD") {
      chunks.Header = ParseBitmapHeader(chunk);
      chunks.HaveHeader = true;
      Report(progress, TProgressStage::Running);
    } else if (id == "CMAP") {
      chunks.ColorTable.resize(std::min<size_t>(size / 3, 256));
      TByteReader entries = chunk;
      for (TTriple& c : chunks.ColorTable) {
        const uint8_t red = entries.ReadByte();
        const uint8_t green = entries.ReadByte();
        const uint8_t blue = entries.ReadByte();
        c = MakeTriple(red, green, blue);
      }
      Report(progress, TProgressStage::Running);
    } else if (id == "CAMG") {
      TByteReader modes = chunk;
      chunks.DisplayModes = modes.ReadDWord();
    } else if (id == "BODY") {
      if (!chunks.HaveHeader) throw EQuorvaneError("\"BMHD\" is missing.", TErrorKind::Corrupt);
      CheckPlanes(chunks);
      chunks.Body = chunk.Bytes();
      chunks.HaveBody = true;
      break;
    }
    stream.Seek(start + size + (size & 1));
  }
  return chunks;
}

// A file's rows, from the file: each stored row is read once the window
// holds it; a row that reached past the window is read again once it does.
class TLbmFileRows final : public TPictureRows {
 public:
  explicit TLbmFileRows(const std::string& path) : window_(path) {
    chunks_ = WalkChunks(window_.Bytes(), nullptr, &window_);
    picture_ = {chunks_.Width(), chunks_.Height(), TPixelFormat::Bit24};
  }
  bool Streams() const { return chunks_.HaveBody && picture_.Width > 0 && picture_.Height > 0; }

  void Stream(const TBandHandler& rows) override {
    TBodyRows body(chunks_.Header, chunks_.Planar, PixelMeaningOf(chunks_));
    TRasterBitmap like;
    TBandFiller band(picture_, like, rows);
    TByteReader data(chunks_.Body, true);
    const uint64_t body_at = uint64_t(chunks_.Body.data() - window_.Bytes().data());
    for (int64_t y = 0; y < picture_.Height && !data.AtEnd(); ++y) {
      const size_t at = data.Position();
      window_.Forget(body_at + at);
      for (uint64_t need = body_at + at + 1;; need = body_at + data.Position()) {
        if (!window_.Reach(need)) window_.Rethrow();
        data.Seek(at);
        body.Read(data);
        if (body_at + data.Position() <= window_.Reached() || window_.Reached() >= window_.Size())
          break;
      }
      body.Map(band.Row());
      if (!band.RowDone()) return;
    }
    band.Finish();
  }

 private:
  TFileWindow window_;
  TLbmChunks chunks_;
};

}  // namespace

std::unique_ptr<TPictureRows> OpenLbmRows(const std::string& path) {
  return OpenIfStreams<TLbmFileRows>(path);
}

TPictureInfo ReadLbmHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits) {
  const TLbmChunks chunks = WalkChunks(bytes, nullptr);
  limits.CheckPicture(chunks.Width(), chunks.Height(), 24);
  return {chunks.Width(), chunks.Height(), TPixelFormat::Bit24};
}

void DecodeLbm(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options) {
  TStageReporter* progress = options.Progress;
  Report(progress, TProgressStage::Starting, 4);
  const TLbmChunks chunks = WalkChunks(bytes, progress);
  // The data may end before any BODY: the picture then has the header's
  // size and nothing decoded.
  options.Limits.CheckPicture(chunks.Width(), chunks.Height(), 24);
  TRasterBitmap result;
  result.Reset(TPixelFormat::Bit24, chunks.Width(), chunks.Height());
  if (chunks.HaveBody) {
    TByteReader data(chunks.Body, true);
    DecodeBody(data, chunks.Header, chunks.Planar, PixelMeaningOf(chunks), result);
    Report(progress, TProgressStage::Running);
  }
  bitmap = std::move(result);
  Report(progress, TProgressStage::Ending);
}

namespace {

// A 32-bit big-endian value, as IFF stores sizes.
void PutSize(TByteSink& sink, uint64_t at, uint64_t size) {
  const uint32_t v = uint32_t(size);
  const uint8_t bytes[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
  sink.WriteAt(at, bytes, 4);
}

}  // namespace

TLbmWriter::TLbmWriter(TByteSink& sink, const TPictureFrame& frame,
                       const TLbmEncodeOptions& options, TStageReporter* progress)
    : sink_(sink), width_(frame.Width), compress_(options.Compress), progress_(progress) {
  Report(progress, TProgressStage::Starting, 4);
  if (frame.Width > 65535 || frame.Height > 65535)
    throw EQuorvaneError("IFF cannot hold pictures larger than 65535 x 65535 pixels",
                         TErrorKind::TooLarge);
  if (frame.PixelFormat != TPixelFormat::Bit8)
    throw EQuorvaneError("IFF: only 8-bit pictures can be written", TErrorKind::Unsupported);
  TByteStream stream;
  stream.SetBigEndian(true);
  const uint16_t width = uint16_t(frame.Width), height = uint16_t(frame.Height);
  form_size_at_ = sink.End() + 4;
  stream.WriteChars("FORM");
  stream.WriteDWord(0);  // the sizes are put in once known
  stream.WriteChars("PBM ");
  stream.WriteChars("BMHD");
  stream.WriteDWord(20);
  stream.WriteWord(width);
  stream.WriteWord(height);
  stream.WriteWord(0);  // x
  stream.WriteWord(0);  // y
  stream.WriteByte(8);  // nPlanes
  stream.WriteByte(0);  // masking
  stream.WriteByte(compress_ ? 1 : 0);
  stream.WriteByte(0);    // pad
  stream.WriteWord(255);  // transparentColor
  stream.WriteByte(1);    // xAspect
  stream.WriteByte(1);    // yAspect
  stream.WriteWord(width);
  stream.WriteWord(height);
  sink.Write(stream.Data(), stream.Size());
  Report(progress, TProgressStage::Running);

  stream = TByteStream();
  stream.SetBigEndian(true);
  stream.WriteChars("CMAP");
  stream.WriteDWord(256 * 3);
  for (size_t i = 0; i < 256; ++i) {
    const TRGBQuad c = i < frame.Palette.size() ? frame.Palette[i] : TRGBQuad{};
    stream.WriteByte(c.Red);
    stream.WriteByte(c.Green);
    stream.WriteByte(c.Blue);
  }
  stream.WriteChars("BODY");
  stream.WriteDWord(0);
  sink.Write(stream.Data(), stream.Size());
  body_size_at_ = sink.End() - 4;
  Report(progress, TProgressStage::Running);
}

void TLbmWriter::WriteRow(const uint8_t* row) {
  if (!compress_) return sink_.Write(row, size_t(width_));
  encoded_.clear();
  PackBitsEncodeRow(row, size_t(width_), encoded_);
  sink_.Write(encoded_.data(), encoded_.size());
}

void TLbmWriter::Finish() {
  const uint64_t end = sink_.End();
  PutSize(sink_, body_size_at_, end - body_size_at_ - 4);
  Report(progress_, TProgressStage::Running);
  PutSize(sink_, form_size_at_, end - form_size_at_ - 4);
  Report(progress_, TProgressStage::Ending);
}

namespace {

// The 8-bit rows an IFF file is written from.
TConvertedRows LbmRows(const TRasterBitmap& bitmap, std::optional<TRasterBitmap>& blank) {
  if (!bitmap.Empty()) return TConvertedRows(bitmap, TPixelFormat::Bit8);
  // Nothing to convert: an empty picture needs only its size, and an empty
  // 8-bit picture's grey ramp stands for the colour map.
  blank.emplace();
  blank->Reset(TPixelFormat::Bit8, bitmap.Width(), bitmap.Height());
  return TConvertedRows(*blank, TPixelFormat::Bit8);
}

}  // namespace

void WriteLbm(const TRasterBitmap& bitmap, TByteSink& sink, const TLbmEncodeOptions& options,
              TStageReporter* progress) {
  std::optional<TRasterBitmap> blank;
  TConvertedRows rows = LbmRows(bitmap, blank);
  TLbmWriter writer(sink, rows.Frame(), options, progress);
  rows.WriteTo(writer);
}

std::vector<uint8_t> EncodeLbm(const TRasterBitmap& bitmap, const TLbmEncodeOptions& options,
                               TStageReporter* progress) {
  TMemorySink sink;
  WriteLbm(bitmap, sink, options, progress);
  return sink.TakeBytes();
}

}  // namespace quorvane
