// The TIFF writer: always little-endian, one image in one strip, rows plain
// or PackBits-coded, optionally with the GeoTIFF tags. The whole file is
// built in memory and reaches the disk in one piece.
#include "tiff/tiff_writer.h"

#include <cstring>
#include <limits>
#include <vector>

#include "raster/error.h"
#include "raster/file_io.h"
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

// Appends one row to the strip as it is or PackBits-coded; returns the bytes
// the strip grew by.
class TStripWriter {
 public:
  TStripWriter(TByteStream& stream, bool packbits) : stream_(stream), packbits_(packbits) {}
  void WriteRow(const uint8_t* row, size_t n) {
    if (packbits_) {
      encoded_.clear();
      PackBitsEncodeRow(row, n, encoded_);
      stream_.Write(encoded_.data(), encoded_.size());
      bytes_ += encoded_.size();
    } else {
      stream_.Write(row, n);
      bytes_ += n;
    }
  }
  uint64_t Bytes() const { return bytes_; }

 private:
  TByteStream& stream_;
  bool packbits_;
  std::vector<uint8_t> encoded_;
  uint64_t bytes_ = 0;
};

// Red, green, blue of one image row, whatever the bitmap's RGB format.
void RowToRgb(const TRasterBitmap& bitmap, int row, uint8_t* rgb) {
  const uint8_t* in = bitmap.Scanline(row);
  const int width = bitmap.Width();
  // Five- and six-bit fields are widened by repeating their top bits, so
  // full intensity stays 255 and black stays 0.
  auto widen5 = [](unsigned v) { return uint8_t((v << 3) | (v >> 2)); };
  auto widen6 = [](unsigned v) { return uint8_t((v << 2) | (v >> 4)); };
  switch (bitmap.PixelFormat()) {
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

void WriteColorMap(TByteStream& stream, const TRasterBitmap& bitmap) {
  const int bits = bitmap.BitsPerPixel();
  const int entries = 1 << bits;
  // Entries the bitmap's palette lacks are written as 0.
  std::vector<TPaletteColor> palette = bitmap.QueryPalette(entries);
  palette.resize(entries);
  for (const auto& c : palette) stream.WriteWord(ColorMapValue(c.Red, bits));
  for (const auto& c : palette) stream.WriteWord(ColorMapValue(c.Green, bits));
  for (const auto& c : palette) stream.WriteWord(ColorMapValue(c.Blue, bits));
}

uint32_t FileOffset(size_t position) {
  if (position > std::numeric_limits<uint32_t>::max())
    throw EQuorvaneError("Image too large for a TIFF file");
  return uint32_t(position);
}

}  // namespace

std::vector<uint8_t> EncodeTiff(const TRasterBitmap& bitmap, const TTiffEncodeOptions& options,
                                TStageReporter* progress) {
  const bool packbits = options.PackBits;
  const TGeoTiffTags* geotiff = options.GeoTiff;
  TByteStream stream;
  // The hook serves one write only, also when it fails.
  const TStageHookClearer clear_hook(progress);

  const TPixelFormat format = bitmap.PixelFormat();
  if (format == TPixelFormat::Device || format == TPixelFormat::Bit32 ||
      format == TPixelFormat::Custom)
    throw EQuorvaneError("Invalid Pixel Format");
  // Width and height are SHORT values in the directory.
  if (bitmap.Width() > 65535 || bitmap.Height() > 65535)
    throw EQuorvaneError("Image too large for a TIFF file (at most 65535 x 65535 pixels)");
  const bool palette = IsPaletteFormat(format);
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  const uint16_t compression = packbits ? kCompressionPackBits : kCompressionNone;
  auto report = [&](TProgressStage stage, int steps = 1) {
    if (progress) progress->Report(stage, steps);
  };

  // Offsets are 32-bit: refuse an uncompressed image that cannot fit before
  // building it (a PackBits strip is checked once its size is known).
  const uint64_t raw_strip =
      uint64_t(palette ? RowStride(width, bitmap.BitsPerPixel(), 8) : int64_t(width) * 3) *
      uint64_t(height);
  if (!packbits && raw_strip > std::numeric_limits<uint32_t>::max() - 4096)
    throw EQuorvaneError("Image too large for a TIFF file");

  // The rows dominate the file; room for them (and a PackBits worst case of
  // one control byte per 128 plus a pad byte) saves repeated growth.
  const uint64_t strip_room =
      packbits ? raw_strip + raw_strip / 64 + 2 * uint64_t(height) : raw_strip;
  stream.Reserve(size_t(std::min<uint64_t>(strip_room, std::numeric_limits<uint32_t>::max())) +
                 4096);

  report(TProgressStage::Starting, height);
  stream.WriteChars("II");
  stream.SetBigEndian(false);
  stream.WriteWord(42);
  stream.WriteDWord(0);
  stream.WriteDWord(100);  // XResolution at 8
  stream.WriteDWord(1);
  stream.WriteDWord(100);  // YResolution at 16
  stream.WriteDWord(1);
  stream.WriteDWord(0);  // filler; nothing refers to it
  stream.WriteChars(std::string_view(kSoftware, 8));

  int bits_per_sample = 8;
  if (palette) {
    bits_per_sample = bitmap.BitsPerPixel();
    WriteColorMap(stream, bitmap);
  }
  const uint32_t strip_offset = FileOffset(stream.Position());
  TStripWriter strip(stream, packbits);
  if (palette) {
    const size_t row_bytes = size_t(RowStride(width, bits_per_sample, 8));
    for (int r = 0; r < height; ++r) {
      report(TProgressStage::Running);
      strip.WriteRow(bitmap.Scanline(r), row_bytes);
    }
  } else {
    // One row buffer for the whole image, as wide as the image needs.
    std::vector<uint8_t> rgb(size_t(width) * 3);
    for (int r = 0; r < height; ++r) {
      report(TProgressStage::Running);
      RowToRgb(bitmap, r, rgb.data());
      strip.WriteRow(rgb.data(), rgb.size());
    }
  }
  const uint32_t strip_bytes = FileOffset(strip.Bytes());

  TGeoTiffPayloads geo_payloads;
  if (geotiff) geo_payloads = WriteGeoTiffData(stream, *geotiff);

  const uint32_t ifd_offset = FileOffset(stream.Position());
  TTiffDirectoryBuilder directory(false);
  directory.WriteDirEntry(kTagNewSubfileType, kTiffLong, 1, 0);
  directory.WriteDirEntry(kTagImageWidth, kTiffShort, 1, uint32_t(width));
  directory.WriteDirEntry(kTagImageLength, kTiffShort, 1, uint32_t(height));
  directory.WriteDirEntry(kTagBitsPerSample, kTiffShort, 1, uint32_t(bits_per_sample));
  directory.WriteDirEntry(kTagCompression, kTiffShort, 1, compression);
  uint32_t photometric = kPhotometricRgb;
  if (palette) {
    // A bilevel image is BlackIsZero when its first colour is black-ish.
    const auto first = bitmap.QueryPalette(1);
    const bool black_first = first.empty() || first[0].Red == 0;
    photometric = bits_per_sample != 1 ? kPhotometricPalette
                  : black_first        ? kPhotometricBlackIsZero
                                       : kPhotometricWhiteIsZero;
  }
  directory.WriteDirEntry(kTagPhotometric, kTiffShort, 1, photometric);
  directory.WriteDirEntry(kTagStripOffsets, kTiffLong, 1, strip_offset);
  directory.WriteDirEntry(kTagSamplesPerPixel, kTiffShort, 1, palette ? 1 : 3);
  directory.WriteDirEntry(kTagRowsPerStrip, kTiffLong, 1, uint32_t(height));
  directory.WriteDirEntry(kTagStripByteCounts, kTiffLong, 1, strip_bytes);
  directory.WriteDirEntry(kTagXResolution, kTiffRational, 1, kXResolutionOffset);
  directory.WriteDirEntry(kTagYResolution, kTiffRational, 1, kYResolutionOffset);
  if (!palette) directory.WriteDirEntry(kTagPlanarConfiguration, kTiffShort, 1, 1);
  directory.WriteDirEntry(kTagResolutionUnit, kTiffShort, 1, kResolutionUnitInch);
  directory.WriteDirEntry(kTagSoftware, kTiffAscii, 8, kSoftwareOffset);
  if (palette) {
    directory.WriteDirEntry(kTagColorMap, kTiffShort, 3u << bits_per_sample, kColorMapOffset);
  }
  // No ExtraSamples entry: the image has no extra sample, and an entry with
  // the wrong field type makes common TIFF readers refuse the whole file.
  if (geotiff) WriteGeoTiffEntries(directory, geo_payloads);

  stream.WriteWord(directory.DirEntryCount());
  const TByteStream& entries = directory.Entries();
  stream.Write(entries.Data(), entries.Size());
  stream.WriteDWord(0);  // no next directory
  FileOffset(stream.Position());
  const size_t end = stream.Position();
  stream.Seek(4);
  stream.WriteDWord(ifd_offset);
  stream.Seek(end);
  report(TProgressStage::Ending);
  return stream.TakeBytes();
}

void SaveTiffFile(const std::string& path, const TRasterBitmap& bitmap,
                  const TTiffEncodeOptions& options, TStageReporter* progress) {
  WriteFileAtomically(path, EncodeTiff(bitmap, options, progress));
}

}  // namespace quorvane
