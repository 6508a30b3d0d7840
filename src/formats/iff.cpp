#include "formats/iff.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "raster/decode_limits.h"
#include "raster/error.h"
#include "raster/file_io.h"
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

constexpr size_t kBitmapHeaderSize = 20;
constexpr int kMaxPlanes = 8;
// Masking value of an ILBM whose rows carry a mask plane after the colour planes.
constexpr uint8_t kHasMaskPlane = 1;

void Report(TStageReporter* progress, TProgressStage stage, int steps = 1) {
  if (progress) progress->Report(stage, steps);
}

// The data of one chunk, cut at the end of the file. Reads past its end give
// zero and leave the position there.
class TChunkData {
 public:
  TChunkData(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool AtEnd() const { return pos_ >= size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // Copies up to n bytes; returns how many there were.
  size_t Bytes(uint8_t* out, size_t n) {
    const size_t k = std::min(n, size_ - pos_);
    if (k > 0) std::memcpy(out, data_ + pos_, k);
    pos_ += k;
    return k;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

TBitmapHeader ParseBitmapHeader(TByteStream& stream, size_t size) {
  // A short BMHD reads as zeros rather than as the next chunk's bytes.
  std::vector<uint8_t> bytes(kBitmapHeaderSize, 0);
  stream.Read(bytes.data(), std::min(size, kBitmapHeaderSize));
  TByteStream s(std::move(bytes));
  s.SetBigEndian(true);
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
void UnpackByteRun1(TChunkData& data, uint8_t* out, size_t n) {
  size_t filled = 0;
  while (filled < n && !data.AtEnd()) {
    const int c = SignedByte(data.Byte());
    if (c >= 0) {
      const size_t count = size_t(c) + 1;
      const size_t k = std::min(count, n - filled);
      data.Bytes(out + filled, k);
      for (size_t i = k; i < count; ++i) data.Byte();
      filled += k;
    } else if (c != -128) {
      const size_t count = size_t(1 - c);
      const uint8_t value = data.Byte();
      const size_t k = std::min(count, n - filled);
      std::memset(out + filled, value, k);
      filled += k;
    }
  }
}

void ReadPlaneRow(TChunkData& data, bool compressed, uint8_t* out, size_t n) {
  if (n == 0) return;  // a zero-width picture has empty rows (and no row memory)
  std::memset(out, 0, n);
  if (compressed) {
    UnpackByteRun1(data, out, n);
  } else {
    data.Bytes(out, n);
  }
}

void DecodeBody(TChunkData& data, const TBitmapHeader& h, bool planar,
                const std::vector<TTriple>& color_table, TRasterBitmap& result) {
  const int width = h.Width, height = h.Height;
  const bool compressed = h.Compression != 0;
  const TTriple black{};
  auto colour = [&](unsigned index) -> const TTriple& {
    return index < color_table.size() ? color_table[index] : black;
  };
  if (planar) {
    const size_t plane_row = size_t((width + 15) / 16) * 2;
    // A mask plane follows the colour planes of each row; it is read past.
    const int stored_planes = h.NPlanes + (h.Masking == kHasMaskPlane ? 1 : 0);
    std::vector<uint8_t> planes(plane_row * size_t(std::max(stored_planes, 1)));
    for (int y = 0; y < height && !data.AtEnd(); ++y) {
      for (int k = 0; k < stored_planes; ++k)
        ReadPlaneRow(data, compressed, planes.data() + size_t(k) * plane_row, plane_row);
      uint8_t* out = result.Scanline(y);
      for (int x = 0; x < width; ++x, out += 3) {
        const size_t byte = size_t(x) >> 3;
        const int shift = 7 - (x & 7);
        unsigned index = 0;
        for (int k = 0; k < h.NPlanes; ++k)
          index |= unsigned((planes[size_t(k) * plane_row + byte] >> shift) & 1) << k;
        const TTriple& c = colour(index);
        out[0] = c.Blue;
        out[1] = c.Green;
        out[2] = c.Red;
      }
    }
  } else {
    std::vector<uint8_t> row(static_cast<size_t>(width));
    for (int y = 0; y < height && !data.AtEnd(); ++y) {
      ReadPlaneRow(data, compressed, row.data(), row.size());
      uint8_t* out = result.Scanline(y);
      for (int x = 0; x < width; ++x, out += 3) {
        const TTriple& c = colour(row[x]);
        out[0] = c.Blue;
        out[1] = c.Green;
        out[2] = c.Red;
      }
    }
  }
}

}  // namespace

void ReadLbm(TByteStream& stream, TRasterBitmap& bitmap, TStageReporter* progress) {
  Report(progress, TProgressStage::Starting, 4);
  stream.SetBigEndian(true);
  if (stream.ReadChars(4) != "FORM") throw EQuorvaneError("file did not start with \"FORM\".");
  stream.ReadDWord();  // FORM size: the chunks are walked up to the end of the data instead
  const std::string form_type = stream.ReadChars(4);
  bool planar;
  if (form_type == "ILBM")
    planar = true;
  else if (form_type == "PBM ")
    planar = false;
  else
    throw EQuorvaneError("Unknown Form Type.");

  TBitmapHeader header;
  bool have_header = false;
  std::vector<TTriple> color_table;
  TRasterBitmap result;
  bool have_body = false;
  while (stream.Remaining() > 0) {
    const std::string id = stream.ReadChars(4);
    // A chunk size pointing past the data is cut at the data's end.
    const uint32_t declared = stream.ReadDWord();
    const size_t size = std::min<size_t>(declared, stream.Remaining());
    const size_t start = stream.Position();
    if (id == "BMHD") {
      header = ParseBitmapHeader(stream, size);
      have_header = true;
      Report(progress, TProgressStage::Running);
    } else if (id == "CMAP") {
      color_table.resize(std::min<size_t>(size / 3, 256));
      for (TTriple& c : color_table) {
        const uint8_t red = stream.ReadByte();
        const uint8_t green = stream.ReadByte();
        const uint8_t blue = stream.ReadByte();
        c = MakeTriple(red, green, blue);
      }
      Report(progress, TProgressStage::Running);
    } else if (id == "BODY") {
      if (!have_header) throw EQuorvaneError("\"BMHD\" is missing.");
      if (planar && header.NPlanes > kMaxPlanes)
        throw EQuorvaneError("Unsupported ILBM: " + std::to_string(header.NPlanes) +
                             " bit planes (at most 8 are supported)");
      // ByteRun1 turns two bytes into up to 128; a byte holds 8 pixels of
      // one plane.
      const uint64_t bytes =
          SaturatingMul(size, header.Compression != 0 ? 64 : kTruncationAllowance);
      CheckPictureFitsData(header.Width, header.Height, SaturatingMul(bytes, planar ? 8 : 1),
                           "IFF");
      result.Reset(TPixelFormat::Bit24, header.Width, header.Height);
      TChunkData data(stream.Data() + start, size);
      DecodeBody(data, header, planar, color_table, result);
      have_body = true;
      Report(progress, TProgressStage::Running);
      break;
    }
    stream.Seek(start + size + (size & 1));
  }
  if (!have_body) {
    // The data ended before any BODY: the picture has the header's size and
    // nothing decoded.
    const int width = have_header ? header.Width : 0, height = have_header ? header.Height : 0;
    CheckPictureFitsData(width, height, 0, "IFF");
    result.Reset(TPixelFormat::Bit24, width, height);
  }
  bitmap = std::move(result);
  Report(progress, TProgressStage::Ending);
}

namespace {

// Writes a chunk's identifier and a placeholder size; returns where the size goes.
size_t BeginChunk(TByteStream& stream, const char* id) {
  stream.WriteChars(id);
  const size_t size_at = stream.Position();
  stream.WriteDWord(0);
  return size_at;
}

// Writes the size of the data since the size field back into it.
void EndChunk(TByteStream& stream, size_t size_at) {
  const size_t end = stream.Position();
  stream.Seek(size_at);
  stream.WriteDWord(uint32_t(end - size_at - 4));
  stream.Seek(end);
}

}  // namespace

void WriteLbm(TByteStream& stream, const TRasterBitmap& bitmap, bool compress,
              TStageReporter* progress) {
  Report(progress, TProgressStage::Starting, 4);
  if (bitmap.Width() > 65535 || bitmap.Height() > 65535)
    throw EQuorvaneError("IFF cannot hold pictures larger than 65535 x 65535 pixels");
  TRasterBitmap copy;
  if (bitmap.Empty()) {
    // Nothing to convert: an empty picture needs only its size.
    copy.Reset(TPixelFormat::Bit8, bitmap.Width(), bitmap.Height());
  } else {
    copy = bitmap;
    copy.SetPixelFormat(TPixelFormat::Bit8);
  }
  stream.SetBigEndian(true);
  const uint16_t width = uint16_t(copy.Width()), height = uint16_t(copy.Height());

  stream.WriteChars("FORM");
  const size_t form_size_at = stream.Position();
  stream.WriteDWord(0);
  stream.WriteChars("PBM ");

  const size_t bmhd = BeginChunk(stream, "BMHD");
  stream.WriteWord(width);
  stream.WriteWord(height);
  stream.WriteWord(0);  // x
  stream.WriteWord(0);  // y
  stream.WriteByte(8);  // nPlanes
  stream.WriteByte(0);  // masking
  stream.WriteByte(compress ? 1 : 0);
  stream.WriteByte(0);    // pad
  stream.WriteWord(255);  // transparentColor
  stream.WriteByte(1);    // xAspect
  stream.WriteByte(1);    // yAspect
  stream.WriteWord(width);
  stream.WriteWord(height);
  EndChunk(stream, bmhd);
  Report(progress, TProgressStage::Running);

  const size_t cmap = BeginChunk(stream, "CMAP");
  const auto palette = copy.ColorTable();
  for (size_t i = 0; i < 256; ++i) {
    const TRGBQuad c = i < palette.size() ? palette[i] : TRGBQuad{};
    stream.WriteByte(c.Red);
    stream.WriteByte(c.Green);
    stream.WriteByte(c.Blue);
  }
  EndChunk(stream, cmap);
  Report(progress, TProgressStage::Running);

  const size_t body = BeginChunk(stream, "BODY");
  std::vector<uint8_t> encoded;
  for (int y = 0; y < copy.Height(); ++y) {
    const uint8_t* row = copy.Scanline(y);
    if (compress) {
      encoded.clear();
      PackBitsEncodeRow(row, width, encoded);
      stream.Write(encoded.data(), encoded.size());
    } else {
      stream.Write(row, width);
    }
  }
  EndChunk(stream, body);
  Report(progress, TProgressStage::Running);

  const size_t end = stream.Position();
  stream.Seek(form_size_at);
  stream.WriteDWord(uint32_t(end - form_size_at - 4));
  stream.Seek(end);
  Report(progress, TProgressStage::Ending);
}

void LoadLbmFile(const std::string& path, TRasterBitmap& bitmap, TStageReporter* progress) {
  TByteStream stream(ReadWholeFile(path));
  ReadLbm(stream, bitmap, progress);
}

void SaveLbmFile(const std::string& path, const TRasterBitmap& bitmap, bool compress,
                 TStageReporter* progress) {
  TByteStream stream;
  WriteLbm(stream, bitmap, compress, progress);
  WriteFileAtomically(path, stream.Bytes());
}

}  // namespace quorvane
