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

namespace quorvane {

namespace {

constexpr uint32_t kXResolutionOffset = 8;
constexpr uint32_t kYResolutionOffset = 16;
constexpr uint32_t kSoftwareOffset = 28;
constexpr uint32_t kColorMapOffset = 36;
constexpr char kSoftware[] = "Veltrane";

// Red, green, blue of one image row of an RGB pixel format.
void RowToRgb(TPixelFormat format, const uint8_t* in, int width, uint8_t* rgb) {
  // Five- and six-bit fields are widened by repeating their top bits, so
  // full intensity stays 255 and black stays 0.
  auto widen5 = [](unsigned v) { return uint8_t((v << 3) | (v >> 2)); };
  auto widen6 = [](unsigned v) { return uint8_t((v << 2) | (v >> 4)); };
  switch (format) {
    case TPixelFormat::Bit24:
      for (int x = 0; x < width; ++x, in += 3, rgb += 3) {
        rgb[0] = in[2];
        rgb[1] = in[1];
        rgb[2] = in[0];
      }
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
  // Offsets are 32-bit: refuse an uncompressed image that cannot fit before
  // writing it (a PackBits strip is checked as it grows).
  const uint64_t raw_strip = uint64_t(row_bytes_) * uint64_t(frame.Height);
  if (!options.PackBits && raw_strip > std::numeric_limits<uint32_t>::max() - 4096)
    throw EQuorvaneError("Image too large for a TIFF file", TErrorKind::TooLarge);

  Report(TProgressStage::Starting, frame.Height);
  TByteStream head;
  head.WriteChars("II");
  head.SetBigEndian(false);
  head.WriteWord(42);
  head.WriteDWord(0);    // the directory's offset, known at the end
  head.WriteDWord(100);  // XResolution at 8
  head.WriteDWord(1);
  head.WriteDWord(100);  // YResolution at 16
  head.WriteDWord(1);
  head.WriteDWord(0);  // filler; nothing refers to it
  head.WriteChars(std::string_view(kSoftware, 8));
  if (palette_) WriteColorMap(head, frame);
  strip_offset_ = FileOffset(head.Position());
  sink_.Write(head.Data(), head.Size());
  if (!palette_) rgb_.resize(row_bytes_);
}

void TTiffWriter::Report(TProgressStage stage, int steps) {
  if (progress_) progress_->Report(stage, steps);
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
  FileOffset(strip_offset_ + strip_bytes_);
  sink_.Write(row, n);
}

void TTiffWriter::Finish() {
  const uint32_t strip_bytes = FileOffset(strip_bytes_);
  const TGeoTiffTags* geotiff = options_.GeoTiff;
  // The rest of the file is small: it is built in memory, with offsets that
  // count from the start of the file.
  TByteStream tail = TByteStream::StartingAt(size_t(sink_.End()));
  TGeoTiffPayloads geo_payloads;
  if (geotiff) geo_payloads = WriteGeoTiffData(tail, *geotiff);

  const uint32_t ifd_offset = FileOffset(tail.Position());
  const int bits_per_sample = palette_ ? BitsPerPixelOf(frame_.PixelFormat) : 8;
  TTiffDirectoryBuilder directory(false);
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
  directory.WriteDirEntry(kTagStripOffsets, kTiffLong, 1, strip_offset_);
  directory.WriteDirEntry(kTagSamplesPerPixel, kTiffShort, 1, palette_ ? 1 : 3);
  directory.WriteDirEntry(kTagRowsPerStrip, kTiffLong, 1, uint32_t(frame_.Height));
  directory.WriteDirEntry(kTagStripByteCounts, kTiffLong, 1, strip_bytes);
  directory.WriteDirEntry(kTagXResolution, kTiffRational, 1, kXResolutionOffset);
  directory.WriteDirEntry(kTagYResolution, kTiffRational, 1, kYResolutionOffset);
  if (!palette_) directory.WriteDirEntry(kTagPlanarConfiguration, kTiffShort, 1, 1);
  directory.WriteDirEntry(kTagResolutionUnit, kTiffShort, 1, kResolutionUnitInch);
  directory.WriteDirEntry(kTagSoftware, kTiffAscii, 8, kSoftwareOffset);
  if (palette_) {
    directory.WriteDirEntry(kTagColorMap, kTiffShort, 3u << bits_per_sample, kColorMapOffset);
  }
  // No ExtraSamples entry: the image has no extra sample, and an entry with
  // the wrong field type makes common TIFF readers refuse the whole file.
  if (geotiff) WriteGeoTiffEntries(directory, geo_payloads);

  tail.WriteWord(directory.DirEntryCount());
  const TByteStream& entries = directory.Entries();
  tail.Write(entries.Data(), entries.Size());
  tail.WriteDWord(0);  // no next directory
  FileOffset(tail.Position());
  sink_.Write(tail.Data(), tail.Size());
  const uint8_t offset[4] = {uint8_t(ifd_offset), uint8_t(ifd_offset >> 8),
                             uint8_t(ifd_offset >> 16), uint8_t(ifd_offset >> 24)};
  sink_.WriteAt(4, offset, 4);
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
