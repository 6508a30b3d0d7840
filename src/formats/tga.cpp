#include "formats/tga.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "raster/byte_reader.h"
#include "raster/byte_stream.h"
#include "raster/error.h"
#include "raster/file_window.h"

namespace quorvane {

namespace {

struct TTgaHeader {
  uint8_t IDLength = 0;
  uint8_t ColorMapType = 0;
  uint8_t ImageType = 0;
  uint16_t CMapStart = 0;
  uint16_t CMapLength = 0;
  uint8_t CMapDepth = 0;
  uint16_t XOrigin = 0, YOrigin = 0;
  uint16_t Width = 0, Height = 0;
  uint8_t PixelDepth = 0;
  uint8_t ImageDescriptor = 0;
};

constexpr size_t kHeaderSize = 18;
constexpr uint8_t kTopRowFirst = 0x20;

void WriteLittleWord(TByteStream& stream, uint16_t value) {
  stream.WriteByte(uint8_t(value & 0xFF));
  stream.WriteByte(uint8_t(value >> 8));
}

// TGA is little-endian throughout.
TTgaHeader ReadHeader(TByteReader& stream) {
  TTgaHeader h;
  h.IDLength = stream.ReadByte();
  h.ColorMapType = stream.ReadByte();
  h.ImageType = stream.ReadByte();
  h.CMapStart = stream.ReadWord();
  h.CMapLength = stream.ReadWord();
  h.CMapDepth = stream.ReadByte();
  h.XOrigin = stream.ReadWord();
  h.YOrigin = stream.ReadWord();
  h.Width = stream.ReadWord();
  h.Height = stream.ReadWord();
  h.PixelDepth = stream.ReadByte();
  h.ImageDescriptor = stream.ReadByte();
  return h;
}

std::vector<TTriple> ReadColorMap(TByteReader& stream, const TTgaHeader& h) {
  std::vector<TTriple> table(h.CMapLength);
  switch (h.CMapDepth) {
    case 15:
    case 16:
      for (TTriple& c : table) {
        const uint16_t v = stream.ReadWord();
        c = MakeTriple(uint8_t(((v >> 10) & 31) * 8), uint8_t(((v >> 5) & 31) * 8),
                       uint8_t((v & 31) * 8));
      }
      break;
    case 24:
    case 32:
      for (TTriple& c : table) {
        c.Blue = stream.ReadByte();
        c.Green = stream.ReadByte();
        c.Red = stream.ReadByte();
        if (h.CMapDepth == 32) stream.ReadByte();
      }
      break;
    default:
      break;  // no defined decoding: the entries stay black
  }
  return table;
}

// The kinds of stored pixel this reader decodes. Colour-mapped and greyscale
// pictures carry 8-bit indices or grey levels; true colour 15 to 32 bits.
bool IsSupportedDepth(uint8_t image_type, uint8_t depth) {
  switch (image_type) {
    case 1:
    case 3:
    case 9:
    case 11:
      return depth == 8;
    case 2:
    case 10:
      return depth == 15 || depth == 16 || depth == 24 || depth == 32;
    default:
      return true;  // type 0 has no pixels; other types fail on their own
  }
}

bool IsRunLength(uint8_t image_type) {
  return image_type >= 9;
}

// Decodes TGA run-length packets into stored rows of `row_bytes`, carrying a
// packet that crosses the end of a row over into the next one.
class TRunLengthReader {
 public:
  TRunLengthReader(TByteReader& stream, size_t unit) : stream_(stream), unit_(unit) {}

  // Fills `row` and returns the bytes that came from the data; the data ends
  // with the last whole unit it holds, and a run whose unit is missing has
  // nothing to repeat. The rest of the row is zero.
  size_t ReadRow(uint8_t* row, size_t row_bytes) {
    size_t filled = 0;
    while (filled < row_bytes && !ended_) {
      if (pending_ == 0 && !StartPacket()) break;
      const size_t room = (row_bytes - filled) / unit_;
      size_t n = std::min(pending_, room);
      if (!repeat_) n = std::min(n, stream_.Remaining() / unit_);
      if (n == 0) {
        ended_ = room > 0;  // literal units that never arrived end the data
        break;
      }
      if (repeat_) {
        for (size_t i = 0; i < n; ++i) std::memcpy(row + filled + i * unit_, value_, unit_);
      } else {
        stream_.Read(row + filled, n * unit_);
      }
      filled += n * unit_;
      pending_ -= n;
    }
    if (filled < row_bytes) std::memset(row + filled, 0, row_bytes - filled);
    return filled;
  }

 private:
  bool StartPacket() {
    if (stream_.Remaining() == 0) return !(ended_ = true);
    const uint8_t h = stream_.ReadByte();
    pending_ = (h & 127) + 1;
    repeat_ = (h & 128) != 0;
    if (!repeat_) return true;
    if (stream_.Remaining() < unit_) return !(ended_ = true);
    stream_.Read(value_, unit_);
    return true;
  }

  TByteReader& stream_;
  size_t unit_;
  size_t pending_ = 0;
  bool repeat_ = false;
  bool ended_ = false;
  uint8_t value_[4] = {};
};

// The picture a header describes: pixel format and stored bytes per pixel.
struct TTgaKind {
  TPixelFormat Format;
  size_t PixelBytes;
};

TTgaKind CheckedKind(const TTgaHeader& h) {
  TTgaKind kind{};
  switch (h.PixelDepth) {
    case 8:
      kind = {TPixelFormat::Bit24, 1};
      break;
    case 15:
    case 16:
      kind = {TPixelFormat::Bit15, 2};
      break;
    case 24:
      kind = {TPixelFormat::Bit24, 3};
      break;
    case 32:
      kind = {TPixelFormat::Bit32, 4};
      break;
    default:
      throw EQuorvaneError("Unsupported TGA Pixel Size: " + std::to_string(h.PixelDepth),
                           TErrorKind::Unsupported);
  }
  if (!IsSupportedDepth(h.ImageType, h.PixelDepth))
    throw EQuorvaneError("Unsupported TGA Pixel Size: " + std::to_string(h.PixelDepth),
                         TErrorKind::Unsupported);
  switch (h.ImageType) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 9:
    case 10:
    case 11:
      return kind;
    default:
      throw EQuorvaneError("Unsupported TGA ImageType " + std::to_string(h.ImageType),
                           TErrorKind::Unsupported);
  }
}

// Stores `pixels` stored pixels of one row into the bitmap's row; the
// pixels the data never reached are left as they are.
void StoreRow(const TTgaHeader& h, const std::vector<TTriple>& color_table, const uint8_t* stored,
              size_t pixels, size_t pixel_bytes, uint8_t* out) {
  const TTriple black{};
  switch (h.ImageType) {
    case 1:
    case 9:
      for (size_t x = 0; x < pixels; ++x, out += 3) {
        const uint8_t index = stored[x];
        const TTriple& c = index < color_table.size() ? color_table[index] : black;
        out[0] = c.Blue;
        out[1] = c.Green;
        out[2] = c.Red;
      }
      break;
    case 3:
    case 11:
      for (size_t x = 0; x < pixels; ++x, out += 3) out[0] = out[1] = out[2] = stored[x];
      break;
    default:
      std::memcpy(out, stored, pixels * pixel_bytes);
      break;
  }
}

}  // namespace

TPictureInfo ReadTgaHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits) {
  TByteReader stream(bytes);
  const TTgaHeader h = ReadHeader(stream);
  const TTgaKind kind = CheckedKind(h);
  if (h.ImageType == 0) return {0, 0, kind.Format};
  limits.CheckPicture(h.Width, h.Height, BitsPerPixelOf(kind.Format));
  return {h.Width, h.Height, kind.Format};
}

namespace {

// What the decoder needs besides the pixel data: the header, the colour
// table, the picture's kind and where the pixels start.
struct TTgaImage {
  TTgaHeader Header;
  std::vector<TTriple> ColorTable;
  TTgaKind Kind;
  size_t DataStart = 0;

  size_t RowBytes() const { return size_t(Header.Width) * Kind.PixelBytes; }
  bool TopFirst() const { return (Header.ImageDescriptor & kTopRowFirst) != 0; }
};

TTgaImage ReadImage(TByteReader& stream) {
  TTgaImage image;
  const TTgaHeader& h = image.Header = ReadHeader(stream);
  if (h.ColorMapType != 0) {
    stream.Seek(kHeaderSize + h.IDLength);
    image.ColorTable = ReadColorMap(stream, h);
  }
  image.Kind = CheckedKind(h);
  // The colour map's entries are whole bytes: 2 for 15/16 bits, 3, 4.
  const size_t entry_bytes = (size_t(h.CMapDepth) + 7) / 8;
  image.DataStart = kHeaderSize + h.IDLength + size_t(h.CMapLength) * entry_bytes;
  return image;
}

// Reads stored row after stored row into `stored` and hands each to
// `store` with the bytes that came from the data, until the data ends or
// `store` returns false; the rows after stay as they are.
template <typename TStore>
void ReadStoredRows(const TTgaImage& image, TByteReader& stream, std::vector<uint8_t>& stored,
                    TStore store) {
  const size_t row_bytes = image.RowBytes();
  stored.resize(row_bytes);
  stream.Seek(image.DataStart);
  TRunLengthReader packets(stream, image.Kind.PixelBytes);
  for (int i = 0; i < image.Header.Height; ++i) {
    const size_t got = IsRunLength(image.Header.ImageType)
                           ? packets.ReadRow(stored.data(), row_bytes)
                           : stream.Read(stored.data(), row_bytes);
    if (got == 0) break;  // the data has ended
    // A pixel cut short keeps the bytes that arrived, the rest zero.
    const size_t pixels = (got + image.Kind.PixelBytes - 1) / image.Kind.PixelBytes;
    if (!store(i, pixels) || got < row_bytes) break;
  }
}

// A top-first file's rows, or an uncompressed file's, from the file: the
// stored rows of a bottom-first file are read from the end backwards.
class TTgaFileRows final : public TPictureRows {
 public:
  explicit TTgaFileRows(const std::string& path) : file_(path) {
    // The header, the identification and the colour map: at most 256 KB.
    file_.Ranges().Fetch(0, 300 * 1024);
    TByteReader stream(file_.Bytes());
    image_ = ReadImage(stream);
    picture_ = {image_.Header.Width, image_.Header.Height, image_.Kind.Format};
  }
  bool Streams() const {
    return image_.Header.ImageType != 0 && picture_.Width > 0 && picture_.Height > 0 &&
           (image_.TopFirst() || !IsRunLength(image_.Header.ImageType));
  }

  void Stream(const TBandHandler& rows) override {
    TRasterBitmap like;
    TBandFiller band(picture_, like, rows);
    std::vector<uint8_t> stored;
    if (image_.TopFirst()) {
      StreamTopFirst(band, stored);
    } else {
      StreamBottomFirst(band, stored);
    }
    band.Finish();
  }

 private:
  // Each row is read as it comes; the data a row may use is fetched before
  // it (a run-length row takes at most two bytes a pixel byte, and a packet
  // header), and what lies behind is let go.
  void StreamTopFirst(TBandFiller& band, std::vector<uint8_t>& stored) {
    TByteReader stream(file_.Bytes());
    const uint64_t ahead = 2 * uint64_t(image_.RowBytes()) + 16;
    bool read = file_.Reach(image_.DataStart + ahead);
    if (!read) file_.Rethrow();
    ReadStoredRows(image_, stream, stored, [&](int, size_t pixels) {
      std::memset(band.Row(), 0, RowBytes());
      StoreRow(image_.Header, image_.ColorTable, stored.data(), pixels, image_.Kind.PixelBytes,
               band.Row());
      if (!band.RowDone()) return false;
      file_.Forget(stream.Position());
      read = file_.Reach(stream.Position() + ahead);
      return read;
    });
    if (!read) file_.Rethrow();
  }

  // Stored row i of an uncompressed file lies at a fixed place; rows past
  // the data stay cleared.
  void StreamBottomFirst(TBandFiller& band, std::vector<uint8_t>& stored) {
    const uint64_t row_bytes = image_.RowBytes();
    const int64_t height = picture_.Height;
    const int64_t stretch = std::max<int64_t>(1, int64_t((1u << 20) / row_bytes));
    for (int64_t y = 0; y < height; y += stretch) {
      const int64_t n = std::min(stretch, height - y);
      const uint64_t from = image_.DataStart + uint64_t(height - y - n) * row_bytes;
      file_.Ranges().Fetch(from, uint64_t(n) * row_bytes);
      for (int64_t k = 0; k < n; ++k) {
        std::memset(band.Row(), 0, RowBytes());
        TByteReader stream(file_.Bytes());
        stream.Seek(image_.DataStart + uint64_t(height - 1 - y - k) * row_bytes);
        stored.assign(row_bytes, 0);
        const size_t got = stream.Read(stored.data(), row_bytes);
        const size_t pixels = (got + image_.Kind.PixelBytes - 1) / image_.Kind.PixelBytes;
        StoreRow(image_.Header, image_.ColorTable, stored.data(), pixels, image_.Kind.PixelBytes,
                 band.Row());
        if (!band.RowDone()) return;
      }
      file_.Ranges().Drop(from, uint64_t(n) * row_bytes);
    }
  }

  size_t RowBytes() const {
    return size_t(RowStride(picture_.Width, BitsPerPixelOf(picture_.PixelFormat), 32));
  }

  TFileWindow file_;
  TTgaImage image_;
};

}  // namespace

std::unique_ptr<TPictureRows> OpenTgaRows(const std::string& path) {
  return OpenIfStreams<TTgaFileRows>(path);
}

void DecodeTga(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options) {
  TByteReader stream(bytes);
  const TTgaImage image = ReadImage(stream);
  const TTgaHeader& h = image.Header;
  TRasterBitmap result;
  if (h.ImageType == 0) {
    result.Reset(image.Kind.Format, 0, 0);
    bitmap = std::move(result);
    return;
  }
  options.Limits.CheckPicture(h.Width, h.Height, BitsPerPixelOf(image.Kind.Format));
  result.Reset(image.Kind.Format, h.Width, h.Height);
  std::vector<uint8_t> stored;
  ReadStoredRows(image, stream, stored, [&](int i, size_t pixels) {
    StoreRow(h, image.ColorTable, stored.data(), pixels, image.Kind.PixelBytes,
             result.Scanline(image.TopFirst() ? i : h.Height - 1 - i));
    return true;
  });
  bitmap = std::move(result);
}

TTgaWriter::TTgaWriter(TByteSink& sink, const TPictureFrame& frame) {
  uint8_t depth;
  switch (frame.PixelFormat) {
    case TPixelFormat::Bit24:
      depth = 24;
      break;
    case TPixelFormat::Bit32:
      depth = 32;
      break;
    default:
      throw EQuorvaneError("Unsupported Bitmap format", TErrorKind::Unsupported);
  }
  if (frame.Width > 65535 || frame.Height > 65535)
    throw EQuorvaneError("TGA cannot hold pictures larger than 65535 x 65535 pixels",
                         TErrorKind::TooLarge);
  TByteStream header;
  header.WriteByte(0);         // IDLength
  header.WriteByte(0);         // ColorMapType
  header.WriteByte(2);         // ImageType: uncompressed true colour
  WriteLittleWord(header, 0);  // CMapStart
  WriteLittleWord(header, 0);  // CMapLength
  header.WriteByte(0);         // CMapDepth
  WriteLittleWord(header, 0);  // XOrigin
  WriteLittleWord(header, 0);  // YOrigin
  WriteLittleWord(header, uint16_t(frame.Width));
  WriteLittleWord(header, uint16_t(frame.Height));
  header.WriteByte(depth);
  header.WriteByte(0);  // ImageDescriptor: bottom row first
  const uint64_t rows_at = sink.End() + header.Size();
  sink.Write(header.Data(), header.Size());
  rows_.emplace(sink, rows_at, frame.Height, size_t(frame.Width) * depth / 8);
}

void TTgaWriter::WriteRow(const uint8_t* row) {
  rows_->Put(row);
}

void TTgaWriter::Finish() {
  if (!rows_->Complete()) throw EQuorvaneError("TGA file: rows missing", TErrorKind::Corrupt);
}

std::vector<uint8_t> EncodeTga(const TRasterBitmap& bitmap) {
  TMemorySink sink;
  TTgaWriter writer(sink, FrameOf(bitmap));
  WriteRows(bitmap, writer);
  return sink.TakeBytes();
}

}  // namespace quorvane
