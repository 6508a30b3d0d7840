// The TIFF writer: always little-endian, one image in one strip, rows plain
// or PackBits-coded, optionally with the GeoTIFF tags. The header and the
// rows go to the sink as they come; the GeoTIFF payloads and the directory
// follow the rows, and the directory's offset is put into the header last.
#include "tiff/tiff_writer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "raster/error.h"
#include "raster/output_file.h"
#include "raster/packbits.h"
#include "tiff/geotiff_tag_io.h"
#include "tiff/tiff_directory.h"
#include "tiff/tiff_rows.h"

namespace quorvane {

namespace {

constexpr uint32_t kXResolutionOffset = 8;
constexpr uint32_t kYResolutionOffset = 16;
constexpr uint32_t kSoftwareOffset = 28;
constexpr uint32_t kColorMapOffset = 36;
constexpr uint32_t kBigColorMapOffset = 16;  // right after a BigTIFF header
constexpr char kSoftware[] = "Veltrane";

// Red, green, blue of one image row of an RGB pixel format.
void RowToRgb(TPixelFormat format, const uint8_t* in, int width, uint8_t* rgb) {
  // Five- and six-bit fields are widened by repeating their top bits, so
  // full intensity stays 255 and black stays 0.
  auto widen5 = [](unsigned v) { return uint8_t((v << 3) | (v >> 2)); };
  auto widen6 = [](unsigned v) { return uint8_t((v << 2) | (v >> 4)); };
  switch (format) {
    case TPixelFormat::Bit24:
      SwapRedBlue24(rgb, in, size_t(width));
      break;
    case TPixelFormat::Bit15:
      for (int x = 0; x < width; ++x, in += 2, rgb += 3) {
        const unsigned v = unsigned(in[0]) | unsigned(in[1]) << 8;
        rgb[0] = widen5((v >> 10) & 31);
        rgb[1] = widen5((v >> 5) & 31);
        rgb[2] = widen5(v & 31);
      }
      break;
    case TPixelFormat::Bit16:
      for (int x = 0; x < width; ++x, in += 2, rgb += 3) {
        const unsigned v = unsigned(in[0]) | unsigned(in[1]) << 8;
        rgb[0] = widen5((v >> 11) & 31);
        rgb[1] = widen6((v >> 5) & 63);
        rgb[2] = widen5(v & 31);
      }
      break;
    default:
      break;
  }
}

// A component written into the ColorMap: 1- and 4-bit maps repeat the byte
// (c * 257), 8-bit maps put it in the high byte (c * 256).
uint16_t ColorMapValue(uint8_t component, int bits) {
  return bits == 8 ? uint16_t(component << 8) : uint16_t(component * 257);
}

void WriteColorMap(TByteStream& stream, const TPictureFrame& frame) {
  const int bits = BitsPerPixelOf(frame.PixelFormat);
  const size_t entries = size_t(1) << bits;
  // Entries the frame's palette lacks are written as 0.
  std::vector<TRGBQuad> palette(frame.Palette.begin(),
                                frame.Palette.begin() + std::min(entries, frame.Palette.size()));
  palette.resize(entries);
  for (const auto& c : palette) stream.WriteWord(ColorMapValue(c.Red, bits));
  for (const auto& c : palette) stream.WriteWord(ColorMapValue(c.Green, bits));
  for (const auto& c : palette) stream.WriteWord(ColorMapValue(c.Blue, bits));
}

uint32_t FileOffset(size_t position) {
  if (position > std::numeric_limits<uint32_t>::max())
    throw EQuorvaneError("Image too large for a TIFF file", TErrorKind::TooLarge);
  return uint32_t(position);
}

}  // namespace

TTiffWriter::TTiffWriter(TByteSink& sink, const TPictureFrame& frame,
                         const TTiffEncodeOptions& options, TStageReporter* progress)
    : clear_hook_(progress),
      sink_(sink),
      frame_(frame),
      options_(options),
      progress_(progress),
      palette_(IsPaletteFormat(frame.PixelFormat)) {
  const TPixelFormat format = frame.PixelFormat;
  if (format == TPixelFormat::Device || format == TPixelFormat::Bit32 ||
      format == TPixelFormat::Custom)
    throw EQuorvaneError("Invalid Pixel Format", TErrorKind::Usage);
  // Width and height are SHORT values in the directory.
  if (frame.Width > 65535 || frame.Height > 65535)
    throw EQuorvaneError("Image too large for a TIFF file (at most 65535 x 65535 pixels)",
                         TErrorKind::TooLarge);
  const int width = frame.Width;
  row_bytes_ = palette_ ? size_t(RowStride(width, BitsPerPixelOf(format), 8)) : size_t(width) * 3;
  // The kind of file is chosen before the first byte: by the largest strip
  // the rows can make (a PackBits row grows by at most one byte in 128, plus
  // its padding) and room for everything around it.
  const uint64_t row_bound = options.PackBits ? row_bytes_ + row_bytes_ / 128 + 2 : row_bytes_;
  const uint64_t around =
      (uint64_t(1) << 20) + (options.GeoTiff ? options.GeoTiff->AsciiParams.size() : 0);
  big_tiff_ = row_bound * uint64_t(frame.Height) + around > options.BigTiffAbove;

  Report(TProgressStage::Starting, frame.Height);
  WriteHead();
  if (!palette_) rgb_.resize(row_bytes_);
}

// A classic header carries the resolutions and the software name, which a
// BigTIFF directory holds in its entries; the colour map follows either.
void TTiffWriter::WriteHead() {
  TByteStream head;
  head.WriteChars("II");
  head.SetBigEndian(false);
  if (big_tiff_) {
    head.WriteWord(43);
    head.WriteWord(8);  // bytes of an offset
    head.WriteWord(0);
    head.WriteDWord(0);  // the directory's offset, known at the end
    head.WriteDWord(0);
  } else {
    head.WriteWord(42);
    head.WriteDWord(0);    // the directory's offset, known at the end
    head.WriteDWord(100);  // XResolution at 8
    head.WriteDWord(1);
    head.WriteDWord(100);  // YResolution at 16
    head.WriteDWord(1);
    head.WriteDWord(0);  // filler; nothing refers to it
    head.WriteChars(std::string_view(kSoftware, 8));
  }
  if (palette_) WriteColorMap(head, frame_);
  strip_offset_ = Offset(head.Position());
  sink_.Write(head.Data(), head.Size());
}

void TTiffWriter::Report(TProgressStage stage, int steps) {
  if (progress_) progress_->Report(stage, steps);
}

uint64_t TTiffWriter::Offset(uint64_t position) const {
  return big_tiff_ ? position : FileOffset(position);
}

void TTiffWriter::WriteRow(const uint8_t* row) {
  Report(TProgressStage::Running);
  if (!palette_) {
    RowToRgb(frame_.PixelFormat, row, frame_.Width, rgb_.data());
    row = rgb_.data();
  }
  if (options_.PackBits) {
    encoded_.clear();
    PackBitsEncodeRow(row, row_bytes_, encoded_);
    row = encoded_.data();
  }
  const size_t n = options_.PackBits ? encoded_.size() : row_bytes_;
  strip_bytes_ += n;
  Offset(strip_offset_ + strip_bytes_);
  sink_.Write(row, n);
}

void TTiffWriter::AddEntries(TTiffDirectoryBuilder& directory) const {
  const int bits_per_sample = palette_ ? BitsPerPixelOf(frame_.PixelFormat) : 8;
  const TTiffFieldType offset_type = big_tiff_ ? kTiffLong8 : kTiffLong;
  const uint8_t resolution[8] = {100, 0, 0, 0, 1, 0, 0, 0};
  auto header_value = [&](uint16_t tag, TTiffFieldType type, uint32_t count, uint32_t offset,
                          const void* bytes) {
    if (big_tiff_)
      directory.WriteInlineEntry(tag, type, count, bytes, 8);
    else
      directory.WriteDirEntry(tag, type, count, offset);
  };
  directory.WriteDirEntry(kTagNewSubfileType, kTiffLong, 1, 0);
  directory.WriteDirEntry(kTagImageWidth, kTiffShort, 1, uint32_t(frame_.Width));
  directory.WriteDirEntry(kTagImageLength, kTiffShort, 1, uint32_t(frame_.Height));
  directory.WriteDirEntry(kTagBitsPerSample, kTiffShort, 1, uint32_t(bits_per_sample));
  directory.WriteDirEntry(kTagCompression, kTiffShort, 1,
                          options_.PackBits ? kCompressionPackBits : kCompressionNone);
  uint32_t photometric = kPhotometricRgb;
  if (palette_) {
    // A bilevel image is BlackIsZero when its first colour is black-ish.
    const bool black_first = frame_.Palette.empty() || frame_.Palette[0].Red == 0;
    photometric = bits_per_sample != 1 ? kPhotometricPalette
                  : black_first        ? kPhotometricBlackIsZero
                                       : kPhotometricWhiteIsZero;
  }
  directory.WriteDirEntry(kTagPhotometric, kTiffShort, 1, photometric);
  directory.WriteDirEntry(kTagStripOffsets, offset_type, 1, strip_offset_);
  directory.WriteDirEntry(kTagSamplesPerPixel, kTiffShort, 1, palette_ ? 1 : 3);
  directory.WriteDirEntry(kTagRowsPerStrip, kTiffLong, 1, uint32_t(frame_.Height));
  directory.WriteDirEntry(kTagStripByteCounts, offset_type, 1, Offset(strip_bytes_));
  header_value(kTagXResolution, kTiffRational, 1, kXResolutionOffset, resolution);
  header_value(kTagYResolution, kTiffRational, 1, kYResolutionOffset, resolution);
  if (!palette_) directory.WriteDirEntry(kTagPlanarConfiguration, kTiffShort, 1, 1);
  directory.WriteDirEntry(kTagResolutionUnit, kTiffShort, 1, kResolutionUnitInch);
  header_value(kTagSoftware, kTiffAscii, 8, kSoftwareOffset, kSoftware);
  if (palette_) {
    directory.WriteDirEntry(kTagColorMap, kTiffShort, 3u << bits_per_sample,
                            big_tiff_ ? kBigColorMapOffset : kColorMapOffset);
  }
  // No ExtraSamples entry: the image has no extra sample, and an entry with
  // the wrong field type makes common TIFF readers refuse the whole file.
}

void TTiffWriter::Finish() {
  Offset(strip_bytes_);
  const TGeoTiffTags* geotiff = options_.GeoTiff;
  // The rest of the file is small: it is built in memory, with offsets that
  // count from the start of the file.
  TByteStream tail = TByteStream::StartingAt(size_t(sink_.End()));
  TGeoTiffPayloads geo_payloads;
  if (geotiff) geo_payloads = WriteGeoTiffData(tail, *geotiff);

  const uint64_t ifd_offset = Offset(tail.Position());
  TTiffDirectoryBuilder directory(false, big_tiff_);
  AddEntries(directory);
  if (geotiff) WriteGeoTiffEntries(directory, geo_payloads, tail);

  const TByteStream& entries = directory.Entries();
  if (big_tiff_) {
    tail.WriteDWord(directory.DirEntryCount());
    tail.WriteDWord(0);
    tail.Write(entries.Data(), entries.Size());
    tail.WriteDWord(0);  // no next directory
    tail.WriteDWord(0);
  } else {
    tail.WriteWord(directory.DirEntryCount());
    tail.Write(entries.Data(), entries.Size());
    tail.WriteDWord(0);  // no next directory
  }
  Offset(tail.Position());
  sink_.Write(tail.Data(), tail.Size());
  uint8_t offset[8];
  for (int i = 0; i < 8; ++i) offset[i] = uint8_t(ifd_offset >> (8 * i));
  sink_.WriteAt(big_tiff_ ? 8 : 4, offset, big_tiff_ ? 8 : 4);
  Report(TProgressStage::Ending);
}

std::vector<uint8_t> EncodeTiff(const TRasterBitmap& bitmap, const TTiffEncodeOptions& options,
                                TStageReporter* progress) {
  TMemorySink sink;
  TTiffWriter writer(sink, FrameOf(bitmap), options, progress);
  WriteRows(bitmap, writer);
  return sink.TakeBytes();
}

void SaveTiffFile(const std::string& path, const TRasterBitmap& bitmap,
                  const TTiffEncodeOptions& options, TStageReporter* progress) {
  TOutputFile file(path);
  TTiffWriter writer(file, FrameOf(bitmap), options, progress);
  WriteRows(bitmap, writer);
  file.Commit();
}

}  // namespace quorvane
