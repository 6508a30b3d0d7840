#include "tiff/tiff_reader.h"

#include <algorithm>
#include <string>

#include "raster/error.h"
#include "raster/file_io.h"
#include "raster/file_ranges.h"
#include "tiff/geotiff_tag_io.h"
#include "tiff/tiff_header_ranges.h"
#include "tiff/tiff_image_decoder.h"
#include "tiff/tiff_info.h"

namespace quorvane {

size_t TiffTypeSize(uint16_t type) {
  switch (type) {
    case kTiffByte:
    case kTiffAscii:
    case kTiffSByte:
    case kTiffUndefined:
      return 1;
    case kTiffShort:
    case kTiffSShort:
      return 2;
    case kTiffLong:
    case kTiffSLong:
    case kTiffFloat:
    case kTiffIfd:
      return 4;
    case kTiffRational:
    case kTiffSRational:
    case kTiffDouble:
      return 8;
    default:
      return 0;
  }
}

namespace {

constexpr uint16_t kLittleEndianMark = 0x4949;  // "II"
constexpr uint16_t kBigEndianMark = 0x4D4D;     // "MM"
constexpr uint16_t kTiffMagic = 42;

// Baseline tags that say nothing the decoder uses.
bool IsIgnoredTag(uint16_t tag) {
  switch (tag) {
    case 255:
    case 263:
    case 264:
    case 265:
    case 266:
    case 269:
    case 270:
    case 271:
    case 272:
    case 274:
    case 280:
    case 281:
    case 282:
    case 283:
    case 285:
    case 286:
    case 287:
    case 288:
    case 289:
    case 290:
    case 291:
    case 292:
    case 293:
    case 296:
    case 297:
    case 300:
    case 301:
      return true;
    default:
      return false;
  }
}

// Seeks away and back again, so a tag handler never disturbs the directory
// walk.
class TReturnHere {
 public:
  explicit TReturnHere(TByteReader& cursor) : cursor_(cursor), position_(cursor.Position()) {}
  ~TReturnHere() { cursor_.Seek(position_); }
  TReturnHere(const TReturnHere&) = delete;
  TReturnHere& operator=(const TReturnHere&) = delete;

 private:
  TByteReader& cursor_;
  size_t position_;
};

// Walks the first directory of one file into the image description and
// hands the tags it does not interpret to the GeoTIFF tag reader.
class TTiffDirectoryReader {
 public:
  TTiffDirectoryReader(std::span<const uint8_t> bytes, TGeoTiffTags& tags)
      : cursor_(bytes), tags_(tags) {}

  // False when the file has no first directory: nothing to load, and nothing
  // wrong either.
  bool Read();
  const TTiffInfo& Info() const { return info_; }
  // The whole file in its byte order.
  TByteReader File() const {
    TByteReader file = cursor_;
    file.Seek(0);
    return file;
  }

 private:
  void ReadEntry();
  uint32_t SingleValue(uint16_t type, uint32_t field) const;
  uint16_t FirstBitsPerSample(uint16_t type, uint32_t count, uint32_t field);
  TTiffValueArray OffsetArray(uint16_t type, uint32_t count, uint32_t field,
                              size_t field_position) const;
  void ReadColorMap(uint32_t offset);
  void FinishDescription();

  TByteReader cursor_;
  TGeoTiffTags& tags_;
  TTiffInfo info_;
};

bool TTiffDirectoryReader::Read() {
  const uint16_t mark = cursor_.ReadWord();
  cursor_.SetBigEndian(mark == kBigEndianMark);
  const uint16_t magic = cursor_.ReadWord();
  // A header this reader does not know (BigTIFF's among them) is a file for
  // another reader to try, not a damaged one.
  if ((mark != kLittleEndianMark && mark != kBigEndianMark) || magic != kTiffMagic)
    throw EQuorvaneError("Invalid TIF File", TErrorKind::Unsupported);
  const uint32_t first_directory = cursor_.ReadDWord();
  if (first_directory == 0) return false;

  cursor_.Seek(first_directory);
  info_ = TTiffInfo();
  const uint16_t entries = cursor_.ReadWord();
  // Entries past the end of the file would read as tag 0: nothing to do.
  for (uint32_t i = 0; i < entries && !cursor_.AtEnd(); ++i) ReadEntry();
  FinishDescription();
  return true;
}

// The value of a single-valued field sits left-justified in the 4-byte field:
// a SHORT is its first two bytes, which a big-endian file puts in the high
// half of the 32-bit value. The field type decides, so that a SHORT in a
// little-endian file never picks up whatever the writer left in the unused
// half, and a BYTE is its first byte in either order.
uint32_t TTiffDirectoryReader::SingleValue(uint16_t type, uint32_t field) const {
  const bool big = cursor_.BigEndian();
  switch (type) {
    case kTiffShort:
    case kTiffSShort:
      return big ? field >> 16 : field & 0xFFFF;
    case kTiffByte:
    case kTiffSByte:
    case kTiffUndefined:
    case kTiffAscii:
      return big ? field >> 24 : field & 0xFF;
    case kTiffLong:
    case kTiffSLong:
    case kTiffIfd:
      return field;
    default:
      return big ? field >> 16 : field;
  }
}

// BitsPerSample holds one value per sample; only the first is used. Up to two
// SHORTs (a grey image with alpha) fit in the field itself, more sit at an
// offset. Writers use SHORT, and BYTE or LONG are read by their own width.
uint16_t TTiffDirectoryReader::FirstBitsPerSample(uint16_t type, uint32_t count, uint32_t field) {
  const size_t size = TiffTypeSize(type);
  const bool integer = size == 1 || size == 2 || (size == 4 && type != kTiffFloat);
  if (!integer) {
    if (count < 2) return uint16_t(SingleValue(type, field));
    TReturnHere back(cursor_);
    cursor_.Seek(field);
    return cursor_.ReadWord();
  }
  if (uint64_t(count) * size <= 4) return uint16_t(SingleValue(type, field));
  TReturnHere back(cursor_);
  cursor_.Seek(field);
  if (size == 1) return cursor_.ReadByte();
  if (size == 2) return cursor_.ReadWord();
  return uint16_t(cursor_.ReadDWord());
}

// StripOffsets and StripByteCounts may be SHORT or LONG arrays, and one LONG
// or two SHORTs fit in the entry itself. Anything but SHORT is read as LONG.
TTiffValueArray TTiffDirectoryReader::OffsetArray(uint16_t type, uint32_t count, uint32_t field,
                                                  size_t field_position) const {
  TTiffValueArray array;
  array.Count = count;
  array.ElementSize = (type == kTiffShort || type == kTiffSShort) ? 2 : 4;
  array.Position = uint64_t(count) * array.ElementSize <= 4 ? field_position : field;
  return array;
}

// The map holds 2^BitsPerSample reds, then as many greens and blues, in
// 16-bit units of which the high byte is kept. It is read when its entry is
// met, with the BitsPerSample of the entries before it; entries beyond it
// keep the grey ramp.
void TTiffDirectoryReader::ReadColorMap(uint32_t offset) {
  TReturnHere back(cursor_);
  cursor_.Seek(offset);
  const int n = info_.BitsPerSample >= 8 ? 256 : 1 << info_.BitsPerSample;
  for (int i = 0; i < n; ++i) info_.Palette[i].Red = uint8_t(cursor_.ReadWord() >> 8);
  for (int i = 0; i < n; ++i) info_.Palette[i].Green = uint8_t(cursor_.ReadWord() >> 8);
  for (int i = 0; i < n; ++i) info_.Palette[i].Blue = uint8_t(cursor_.ReadWord() >> 8);
}

void TTiffDirectoryReader::ReadEntry() {
  const uint16_t tag = cursor_.ReadWord();
  const uint16_t type = cursor_.ReadWord();
  const uint32_t count = cursor_.ReadDWord();
  const size_t field_position = cursor_.Position();
  const uint32_t field = cursor_.ReadDWord();
  // An entry of a field type the format does not define cannot be read
  // meaningfully; readers of the format skip it, and so do we (a duplicate
  // ImageWidth of such a type must not replace the real one).
  if (TiffTypeSize(type) == 0) return;
  const uint32_t value = SingleValue(type, field);
  switch (tag) {
    case kTagImageWidth:
      info_.Width = value;
      break;
    case kTagImageLength:
      info_.Height = value;
      break;
    case kTagBitsPerSample:
      info_.BitsPerSample = FirstBitsPerSample(type, count, field);
      break;
    case kTagCompression:
      info_.Compression = uint16_t(value);
      break;
    case kTagPhotometric:
      info_.Photometric = uint16_t(value);
      break;
    case kTagStripOffsets:
      info_.StripOffsets = value;
      info_.StripCount = count;
      info_.StripOffsetArray = OffsetArray(type, count, field, field_position);
      break;
    case kTagSamplesPerPixel:
      info_.SamplesPerPixel = uint16_t(value);
      break;
    case kTagRowsPerStrip:
      info_.RowsPerStrip = value;
      break;
    case kTagStripByteCounts:
      info_.StripByteCounts = value;
      info_.StripByteCountArray = OffsetArray(type, count, field, field_position);
      break;
    case kTagPlanarConfiguration:
      info_.PlanarConfig = uint16_t(value);
      break;
    case kTagPredictor:
      info_.Predictor = uint16_t(value);
      break;
    case kTagColorMap:
      ReadColorMap(field);
      break;
    case kTagExtraSamples:
      info_.ExtraSamples = uint16_t(value);
      break;
    default:
      if (IsIgnoredTag(tag)) break;
      if (tag == kTagTileWidth || tag == kTagTileOffsets) info_.Tiled = true;
      ReadGeoTiffTag(File(), tags_, tag, count, field);
      break;
  }
}

void TTiffDirectoryReader::FinishDescription() {
  info_.BitsPerPixel = uint32_t(info_.BitsPerSample) * info_.SamplesPerPixel;
  if (info_.BitsPerPixel == 1) {
    const TRGBQuad black{0, 0, 0, 0}, white{255, 255, 255, 0};
    const bool white_is_zero = info_.Photometric == kPhotometricWhiteIsZero;
    info_.Palette[0] = white_is_zero ? white : black;
    info_.Palette[1] = white_is_zero ? black : white;
  }
  const uint64_t width = info_.Width;
  const uint32_t bits = info_.BitsPerPixel;
  if (bits >= 1 && bits <= 8) {
    info_.RowBytes = (width * bits + 7) / 8;
  } else if (bits == 0 || bits == 16 || bits == 24 || bits == 32) {
    info_.RowBytes = width * (bits / 8);
  } else {
    throw EQuorvaneError("Unsupported Bits/Pixel: " + std::to_string(bits),
                         TErrorKind::Unsupported);
  }
}

}  // namespace

TPictureInfo ReadTiffHeader(std::span<const uint8_t> bytes, TGeoTiffTags& tags,
                            const TDecodeLimits& limits) {
  TTiffDirectoryReader reader(bytes, tags);
  if (!reader.Read()) return {};
  return CheckTiffImage(reader.File(), reader.Info(), limits);
}

void DecodeTiff(std::span<const uint8_t> bytes, TRasterBitmap& bitmap, TGeoTiffTags& tags,
                const TDecodeOptions& options) {
  TStageHookClearer clear_hook(options.Progress);
  TTiffDirectoryReader reader(bytes, tags);
  if (!reader.Read()) return;
  DecodeTiffImage(reader.File(), bitmap, reader.Info(), options);
  if (options.Progress) options.Progress->Report(TProgressStage::Ending);
}

void LoadTiffFile(const std::string& path, TRasterBitmap& bitmap, TGeoTiffTags& tags,
                  const TDecodeOptions& options) {
  // Read whole, never mapped: a file cut short by another program while it
  // loads then gives a short read rather than a fault in the middle of
  // decoding.
  TStageHookClearer clear_hook(options.Progress);
  DecodeTiff(ReadFileBytes(path), bitmap, tags, options);
}

struct TTiffFileRows::TState : TTiffStripStream {
  TState(const std::string& path, TGeoTiffTags& tags) : file(path), reader(file.Bytes(), tags) {}
  void Fetch(uint64_t offset, uint64_t bytes) override { file.Fetch(offset, bytes); }
  void Release(uint64_t offset, uint64_t bytes) override { file.Drop(offset, bytes); }
  bool Rows(const TRasterBitmap& band, int rows) override { return hand(band, rows); }

  TFileRanges file;
  TTiffDirectoryReader reader;
  std::function<bool(const TRasterBitmap&, int)> hand;
};

TTiffFileRows::TTiffFileRows(const std::string& path, TGeoTiffTags& tags,
                             const TDecodeLimits& limits)
    : limits_(limits) {
  state_ = std::make_unique<TState>(path, tags);
  FetchTiffHeaderRanges(state_->file);
  has_image_ = state_->reader.Read();
  if (!has_image_) return;
  // The size check of a whole picture does not apply: only bands are held.
  picture_ =
      CheckTiffImage(state_->reader.File(), state_->reader.Info(), {.MaxPictureBytes = UINT64_MAX});
}

TTiffFileRows::~TTiffFileRows() = default;

void TTiffFileRows::Stream(const std::function<bool(const TRasterBitmap&, int)>& rows) {
  state_->hand = rows;
  StreamTiffImage(state_->reader.File(), state_->reader.Info(), limits_, *state_);
}

}  // namespace quorvane
