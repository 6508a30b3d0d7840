#include "tiff/tiff_image_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "raster/byte_stream.h"
#include "raster/error.h"
#include "tiff/tiff_lzw.h"
#include "tiff/tiff_rows.h"

namespace quorvane {

namespace {

TPixelFormat FormatOf(uint32_t bits_per_pixel) {
  switch (bits_per_pixel) {
    case 1:
      return TPixelFormat::Bit1;
    case 4:
      return TPixelFormat::Bit4;
    case 8:
      return TPixelFormat::Bit8;
    case 16:
      return TPixelFormat::Bit15;  // grey from the top five bits
    case 24:
      return TPixelFormat::Bit24;
    default:
      return TPixelFormat::Bit32;
  }
}

// Offsets whose bytes lie past the end of the file are not strips: reading
// them would only give zeros, and a count of billions would run for ever.
uint64_t StripsInFile(const TByteReader& file, const TTiffInfo& info) {
  const TTiffValueArray& a = info.StripOffsetArray;
  if (info.StripCount == 1) return 1;
  if (a.Position >= file.Size()) return 0;
  return std::min<uint64_t>(a.Count, (file.Size() - a.Position) / a.ElementSize);
}

void CheckSupported(const TTiffInfo& info, uint64_t strips) {
  if (info.Width == 0 || info.Height == 0)
    throw EQuorvaneError("Width or Height is Zero", TErrorKind::Corrupt);
  switch (info.BitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      throw EQuorvaneError("Unsupported Format: Could not create Bitmap.", TErrorKind::Unsupported);
  }
  // Every strip shares the one compression, so an unsupported one is refused
  // before anything is allocated rather than at the first strip. Without a
  // strip nothing is decoded and the blank picture loads whatever it says;
  // a tiled file holds its data in tiles, so its compression still counts.
  switch (info.Compression) {
    case kCompressionNone:
    case kCompressionLzw:
    case kCompressionPackBits:
      break;
    default:
      if (strips > 0 || info.Tiled)
        throw EQuorvaneError("Unsupported Compression = " + std::to_string(info.Compression),
                             TErrorKind::Unsupported);
  }
  // Tiles and separate planes would otherwise decode as scrambled strips; the
  // user is better served by a refusal than by a picture of noise.
  if (info.Tiled) throw EQuorvaneError("Unsupported Tiled TIF File", TErrorKind::Unsupported);
  if (info.PlanarConfig == 2 && info.SamplesPerPixel > 1)
    throw EQuorvaneError("Unsupported Planar Configuration = 2", TErrorKind::Unsupported);
}

// Files from before TIFF 5.0 wrote LZW codes least significant bit first;
// their strips begin with a Clear code that reads as 00, then a byte with its
// low bit set. Decoded in the current order they would give noise.
void CheckLzwBitOrder(const uint8_t* data, size_t size, uint64_t offset) {
  if (offset + 1 < size && data[offset] == 0 && (data[offset + 1] & 1) != 0)
    throw EQuorvaneError("Unsupported LZW Bit Order (written before TIFF 5.0)",
                         TErrorKind::Unsupported);
}

uint64_t FirstStripOffset(const TByteReader& file, const TTiffInfo& info) {
  const TTiffValueArray& a = info.StripOffsetArray;
  return a.ElementSize == 2 ? file.WordAt(a.Position) : file.DWordAt(a.Position);
}

class TStripDecoder {
 public:
  TStripDecoder(const TByteReader& file, const TTiffInfo& info, TStageReporter* progress)
      : file_(file),
        big_endian_(file.BigEndian()),
        data_(file.Data()),
        size_(file.Size()),
        info_(info),
        progress_(progress),
        row_bytes_(size_t(info.RowBytes)) {
    format_.BitsPerPixel = info.BitsPerPixel;
    format_.Photometric = info.Photometric;
    format_.HorizontalPredictor = info.Predictor == 2;
    format_.BigEndian = file.BigEndian();
  }

  void Decode(TRasterBitmap& bitmap, const TDecodeLimits& limits);
  void Stream(const TDecodeLimits& limits, TTiffStripStream& stream);

 private:
  // Decodes strip i's rows; false when its data ended early.
  bool DecodeStrip(uint64_t i, uint64_t rows);
  uint64_t StripByteCount(uint64_t strip) const;
  // The bytes strip i's decoder may look at.
  uint64_t StripReach(uint64_t strip, uint64_t rows) const;
  void StartBand(uint64_t first_row);
  bool StreamStrip(uint64_t i, uint64_t rows);
  void EmitBand(TTiffStripStream& stream);
  uint64_t StripOffset(uint64_t strip) const;
  uint64_t StripRows(uint64_t strip) const;
  void PutZeroRow(uint8_t* row);
  void Running() {
    if (progress_) progress_->Report(TProgressStage::Running);
  }
  uint8_t* Row(uint64_t r) {
    if (streaming_) {
      // A full band goes on before the next row is decoded into it.
      if (r - band_first_ == uint64_t(band_.Height())) {
        // Rows before `r` are done, whether or not the caller counted `r`.
        if (!stopped_) stopped_ = !stream_->Rows(band_, int(r - band_first_));
        StartBand(r);
      }
      return band_.Scanline(int(r - band_first_));
    }
    return pixels_.Data() + (info_.Height - 1 - r) * stride_;
  }

  // Each returns false when the strip ended early and decoding stops.
  // The raw and PackBits decoders leave `offset` after the rows they read,
  // so a strip can be decoded a few rows at a time.
  bool DecodeRawStrip(uint64_t& offset, uint64_t rows);
  bool DecodePackBitsStrip(uint64_t& offset, uint64_t rows);
  bool DecodeLzwStrip(uint64_t offset, uint64_t rows);

  TByteReader file_;
  bool big_endian_;
  const uint8_t* data_;
  size_t size_;
  const TTiffInfo& info_;
  TStageReporter* progress_;
  size_t row_bytes_;
  TTiffRowFormat format_;
  TPixelBuffer pixels_;
  size_t stride_ = 0;
  uint64_t rows_done_ = 0;
  TTiffLzwDecoder lzw_;
  std::vector<uint8_t> scratch_;   // a row the LZW data ended inside
  std::vector<uint8_t> zero_row_;  // a row of zeros, finished
  bool zero_row_stays_zero_ = true;
  // Streaming: the strips' places, read before any strip bytes are let go
  // of (they may share pages with the directory's arrays), and the band.
  bool streaming_ = false;
  TTiffStripStream* stream_ = nullptr;
  bool stopped_ = false;  // the stream wants no more rows
  std::vector<uint64_t> offsets_, byte_counts_;
  TRasterBitmap band_;
  uint64_t band_first_ = 0;
};

uint64_t TStripDecoder::StripOffset(uint64_t strip) const {
  if (streaming_) return offsets_[strip];
  const TTiffValueArray& a = info_.StripOffsetArray;
  const uint64_t at = a.Position + strip * a.ElementSize;
  return a.ElementSize == 2 ? file_.WordAt(at) : file_.DWordAt(at);
}

// A lone strip holds the whole image; otherwise strip i holds RowsPerStrip
// rows, the last one what is left.
uint64_t TStripDecoder::StripRows(uint64_t strip) const {
  if (info_.StripCount == 1) return info_.Height;
  const uint64_t per_strip = info_.RowsPerStrip;
  if ((strip + 1) * per_strip < uint64_t(info_.Height) + 1) return per_strip;
  const uint64_t before = strip * per_strip;
  return before < info_.Height ? info_.Height - before : 0;
}

// A row whose data never arrived holds what zero bytes finish to. The pixel
// memory starts zeroed, so rows that finish to zeros need no store: a huge
// picture cut short leaves its memory untouched.
void TStripDecoder::PutZeroRow(uint8_t* row) {
  if (zero_row_.empty()) {
    zero_row_.assign(row_bytes_, 0);
    StoreTiffRow(format_, zero_row_.data(), zero_row_.data(), row_bytes_);
    zero_row_stays_zero_ =
        std::all_of(zero_row_.begin(), zero_row_.end(), [](uint8_t v) { return v == 0; });
  }
  if (!zero_row_stays_zero_) std::memcpy(row, zero_row_.data(), row_bytes_);
}

void TStripDecoder::Decode(TRasterBitmap& bitmap, const TDecodeLimits& limits) {
  const uint64_t strips = StripsInFile(file_, info_);
  CheckSupported(info_, strips);
  limits.CheckPicture(info_.Width, info_.Height, int(info_.BitsPerPixel));
  const size_t memory = PixelMemorySize(info_.Width, info_.Height, int(info_.BitsPerPixel));
  stride_ = size_t(RowStride(info_.Width, info_.BitsPerPixel, 32));
  pixels_ = TPixelBuffer(memory);

  if (progress_) progress_->Report(TProgressStage::Starting, int(info_.Height));
  try {
    for (uint64_t i = 0; i < strips && rows_done_ < info_.Height; ++i) {
      const uint64_t rows = std::min(StripRows(i), info_.Height - rows_done_);
      if (rows == 0) continue;
      if (!DecodeStrip(i, rows)) break;
    }
  } catch (const std::bad_alloc&) {
    // The LZW strip buffer is the one allocation after the pixel memory.
    throw ENotEnoughMemory("decode the picture");
  }

  TBitmapInfoHeader header;
  header.Width = int32_t(info_.Width);
  header.Height = int32_t(info_.Height);
  header.BitCount = uint16_t(info_.BitsPerPixel);
  header.SizeImage = uint32_t(std::min<size_t>(memory, UINT32_MAX));
  bitmap.AdoptSection(header, info_.Palette, std::move(pixels_));
}

bool TStripDecoder::DecodeStrip(uint64_t i, uint64_t rows) {
  const uint64_t offset = StripOffset(i);
  uint64_t at = offset;
  switch (info_.Compression) {
    case kCompressionNone:
      return DecodeRawStrip(at, rows);
    case kCompressionLzw:
      return DecodeLzwStrip(offset, rows);
    case kCompressionPackBits:
      return DecodePackBitsStrip(at, rows);
  }
  return true;
}

// LZW strips are decoded whole; raw and PackBits ones a band of rows at a
// time, reading only the bytes of those rows.
bool TStripDecoder::StreamStrip(uint64_t i, uint64_t rows) {
  if (info_.Compression == kCompressionLzw) {
    const uint64_t reach = StripReach(i, rows);
    stream_->Fetch(offsets_[i], reach);
    const bool complete = DecodeLzwStrip(offsets_[i], rows);
    stream_->Release(offsets_[i], reach);
    return complete;
  }
  uint64_t offset = offsets_[i];
  for (uint64_t done = 0; done < rows;) {
    const uint64_t part = std::min<uint64_t>(rows - done, uint64_t(band_.Height()));
    const uint64_t reach = StripReach(i, part), from = offset;
    stream_->Fetch(from, reach);
    const bool complete = info_.Compression == kCompressionNone ? DecodeRawStrip(offset, part)
                                                                : DecodePackBitsStrip(offset, part);
    stream_->Release(from, reach);
    if (!complete) return false;
    done += part;
  }
  return true;
}

uint64_t TStripDecoder::StripByteCount(uint64_t strip) const {
  const TTiffValueArray& a = info_.StripByteCountArray;
  if (a.ElementSize == 0 || strip >= std::max<uint64_t>(a.Count, 1)) return 0;
  const uint64_t at = a.Position + strip * a.ElementSize;
  return a.ElementSize == 2 ? file_.WordAt(at) : file_.DWordAt(at);
}

// Raw rows are exactly their bytes. Compressed data is read until the rows
// are full whatever the byte count says, so a strip gets its count and room
// for twice its rows beside (no encoder makes them grow that much).
uint64_t TStripDecoder::StripReach(uint64_t strip, uint64_t rows) const {
  const uint64_t raw = rows * row_bytes_;
  if (info_.Compression == kCompressionNone) return raw;
  constexpr uint64_t kSlack = 64 * 1024;
  const uint64_t count = info_.Compression == kCompressionLzw ? byte_counts_[strip] : 0;
  return std::max(count, 2 * raw) + kSlack;
}

void TStripDecoder::StartBand(uint64_t first_row) {
  band_first_ = first_row;
  for (int r = 0; r < band_.Height(); ++r) std::memset(band_.Scanline(r), 0, stride_);
}

void TStripDecoder::EmitBand(TTiffStripStream& stream) {
  if (rows_done_ > band_first_ && !stopped_)
    stopped_ = !stream.Rows(band_, int(rows_done_ - band_first_));
}

void TStripDecoder::Stream(const TDecodeLimits& limits, TTiffStripStream& stream) {
  streaming_ = true;
  stream_ = &stream;
  const uint64_t strips = StripsInFile(file_, info_);
  CheckSupported(info_, strips);
  const uint64_t per_strip = info_.StripCount == 1 ? info_.Height : info_.RowsPerStrip;
  // Enough rows to keep the stages busy, few enough for any width.
  constexpr uint64_t kBandRows = 64;
  const uint64_t band_rows = std::clamp<uint64_t>(std::min(per_strip, kBandRows), 1, info_.Height);
  limits.CheckPicture(info_.Width, int64_t(band_rows), int(info_.BitsPerPixel));
  stride_ = size_t(RowStride(info_.Width, info_.BitsPerPixel, 32));
  // Only the strips that hold rows are ever read.
  const uint64_t used =
      per_strip == 0 ? 0 : std::min(strips, (uint64_t(info_.Height) + per_strip - 1) / per_strip);
  try {
    TBitmapInfoHeader header;
    header.Width = int32_t(info_.Width);
    header.Height = int32_t(band_rows);
    header.BitCount = uint16_t(info_.BitsPerPixel);
    const size_t memory = PixelMemorySize(info_.Width, band_rows, int(info_.BitsPerPixel));
    header.SizeImage = uint32_t(std::min<size_t>(memory, UINT32_MAX));
    band_.AdoptSection(header, info_.Palette, TPixelBuffer(memory));
    for (uint64_t i = 0; i < used; ++i) {
      streaming_ = false;  // the file's own arrays, still in place
      const uint64_t offset = StripOffset(i), count = StripByteCount(i);
      streaming_ = true;
      offsets_.push_back(offset);
      byte_counts_.push_back(count);
    }
    for (uint64_t i = 0; i < used && rows_done_ < info_.Height && !stopped_; ++i) {
      const uint64_t rows = std::min(StripRows(i), info_.Height - rows_done_);
      if (rows == 0) continue;
      StartBand(rows_done_);
      const bool complete = StreamStrip(i, rows);
      EmitBand(stream);
      if (!complete) break;
    }
  } catch (const std::bad_alloc&) {
    throw ENotEnoughMemory("decode the picture");
  }
  // What the data never reached: zero bytes, as in the whole picture.
  while (rows_done_ < info_.Height && !stopped_) {
    StartBand(rows_done_);
    rows_done_ = std::min<uint64_t>(info_.Height, rows_done_ + band_rows);
    EmitBand(stream);
  }
}

// Rows are copied straight from the file into the pixel memory; a row the
// file cuts short keeps the bytes that arrived and ends the image.
bool TStripDecoder::DecodeRawStrip(uint64_t& offset, uint64_t rows) {
  for (uint64_t r = 0; r < rows; ++r) {
    Running();
    const size_t available =
        offset < size_ ? size_t(std::min<uint64_t>(size_ - offset, row_bytes_)) : 0;
    StoreTiffRow(format_, Row(rows_done_), data_ + std::min<uint64_t>(offset, size_), available);
    ++rows_done_;
    offset += available;
    if (available < row_bytes_) return false;
  }
  return true;
}

// PackBits runs never continue into the next row. Past the end of the file
// every byte reads as zero, as a control byte 0 followed by a 0 would give,
// so a cut-off strip finishes its rows with zeros.
bool TStripDecoder::DecodePackBitsStrip(uint64_t& offset, uint64_t rows) {
  // Runs are decoded into a scratch row with room for a whole run past its
  // end, so every run is one fixed-size copy, and the finished row is then
  // written to the pixel memory in one pass.
  constexpr size_t kLongestRun = 128;
  scratch_.resize(row_bytes_ + kLongestRun);
  uint8_t* const decoded = scratch_.data();
  uint64_t at = offset;
  auto byte_at = [&](uint64_t p) -> uint8_t { return p < size_ ? data_[p] : 0; };
  for (uint64_t r = 0; r < rows; ++r) {
    Running();
    if (at >= size_) {
      PutZeroRow(Row(rows_done_++));
      continue;
    }
    size_t produced = 0;
    while (produced < row_bytes_) {
      if (at >= size_) {
        std::memset(decoded + produced, 0, row_bytes_ - produced);
        produced = row_bytes_;
        break;
      }
      const int n = SignedByte(data_[at++]);
      if (n >= 0) {
        const size_t count = size_t(n) + 1;
        if (at + kLongestRun <= size_) {
          std::memcpy(decoded + produced, data_ + at, kLongestRun);
        } else {
          for (size_t k = 0; k < count; ++k) decoded[produced + k] = byte_at(at + k);
        }
        at += count;
        produced += count;
      } else if (n != -128) {
        std::memset(decoded + produced, byte_at(at), kLongestRun);
        at += 1;
        produced += size_t(1 - n);
      }
    }
    // Bytes a run would put past the row's end are not stored.
    StoreTiffRow(format_, Row(rows_done_), decoded, row_bytes_);
    ++rows_done_;
    // A run that spills over the row's end leaves the row's length wrong.
    if (produced != row_bytes_) return false;
  }
  offset = at;
  return true;
}

bool TStripDecoder::DecodeLzwStrip(uint64_t offset, uint64_t rows) {
  CheckLzwBitOrder(data_, size_, offset);
  const size_t limit = size_t(rows) * row_bytes_;
  const uint8_t* strip =
      lzw_.DecodeStrip(data_, size_, size_t(std::min<uint64_t>(offset, size_)), limit);
  const size_t produced = lzw_.Produced();
  for (uint64_t r = 0; r < rows; ++r) {
    Running();
    const size_t begin = size_t(r) * row_bytes_;
    uint8_t* row = Row(rows_done_++);
    if (begin + row_bytes_ <= produced) {
      StoreTiffRow(format_, row, strip + begin, row_bytes_);
    } else if (begin < produced) {
      // Where the data ended the strip holds zeros, finished like any row.
      scratch_.assign(row_bytes_, 0);
      std::memcpy(scratch_.data(), strip + begin, produced - begin);
      StoreTiffRow(format_, row, scratch_.data(), row_bytes_);
    } else {
      PutZeroRow(row);
    }
  }
  return true;
}

}  // namespace

TPictureInfo CheckTiffImage(const TByteReader& file, const TTiffInfo& info,
                            const TDecodeLimits& limits) {
  const uint64_t strips = StripsInFile(file, info);
  CheckSupported(info, strips);
  limits.CheckPicture(info.Width, info.Height, int(info.BitsPerPixel));
  // The one look at strip data a header needs: the load refuses the old
  // LZW bit order at its first strip, so the header does too.
  if (info.Compression == kCompressionLzw && strips > 0)
    CheckLzwBitOrder(file.Data(), file.Size(), FirstStripOffset(file, info));
  return {info.Width, info.Height, FormatOf(info.BitsPerPixel)};
}

void DecodeTiffImage(const TByteReader& file, TRasterBitmap& bitmap, const TTiffInfo& info,
                     const TDecodeOptions& options) {
  TStripDecoder decoder(file, info, options.Progress);
  decoder.Decode(bitmap, options.Limits);
}

void StreamTiffImage(const TByteReader& file, const TTiffInfo& info, const TDecodeLimits& limits,
                     TTiffStripStream& stream) {
  TStripDecoder decoder(file, info, nullptr);
  decoder.Stream(limits, stream);
}

}  // namespace quorvane
