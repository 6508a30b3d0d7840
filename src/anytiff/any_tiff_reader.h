#pragma once
// The extended TIFF reader: the first image of any TIFF libtiff can decode
// (strips or tiles, every compression libtiff has, chunky or separate planes,
// classic or BigTIFF, any sample type) into a raster bitmap, with the
// GeoTIFF tags into the same record our own reader fills. Pictures larger
// than the memory cap open at the largest overview that fits.
//
//   1-bit                      1-bit black and white
//   palette, 1 to 8 bits       1-, 4- or 8-bit with the colour map (16-bit
//                              entries divided by 257)
//   grey, unsigned <= 16 bits  8-bit grey, v x 255 / (2^bits - 1) rounded
//   RGB(A), unsigned <= 16     24-bit, each sample scaled the same way
//   CMYK, unsigned <= 16       24-bit, (255 - black) x (255 - ink) / 255 per colour
//   signed, float, unsigned    8-bit grey (one band) or 24-bit (the first
//     over 16 bits             three bands), each band stretched linearly
//                              from its minimum to its maximum over valid
//                              pixels; NaN, infinities and GDAL's nodata
//                              value (tag 42113) black
//   YCbCr, Lab, LogLuv         24-bit through libtiff's RGBA reader
// Alpha and bands beyond the shown ones are ignored.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "anytiff/any_tiff_display.h"
#include "anytiff/any_tiff_parallel.h"
#include "anytiff/any_tiff_source.h"
#include "raster/bitmap.h"
#include "raster/geotiff_tags.h"
#include "raster/progress.h"

namespace quorvane {

struct TAnyTiffOptions {
  uint64_t MaxPictureBytes = 0;        // the memory cap on the picture's bytes
  TStageReporter* Progress = nullptr;  // reported to on the calling thread only
  // Chunks are decoded on up to Threads threads through Parallel, each with
  // its own libtiff handle; without a runner, on the calling thread alone.
  TAnyTiffParallel Parallel;
  int Threads = 1;
  // How measurements are shown (see any_tiff_display.h). Without a choice,
  // unsigned samples of up to 16 bits are scaled over their full range and
  // the others stretched from minimum to maximum, the first bands shown.
  std::optional<TAnyTiffDisplay> Display;
};

struct TAnyTiffResult {
  int OverviewLevel = 0;              // 0: full resolution; 1: the largest overview, ...
  double Factor = 1.0;                // full-resolution width over the picture's width
  double FactorY = 1.0;               // the same for heights
  int Width = 0, Height = 0;          // of the picture
  int FullWidth = 0, FullHeight = 0;  // of the full-resolution image
  TPixelFormat PixelFormat = TPixelFormat::Bit24;
  std::vector<std::string> Warnings;  // what libtiff complained about and got past
  // What a display choice can work on: the samples of each pixel, whether
  // they are shown through a choice of bands and stretch, and the nodata
  // value; after a decode, what each stretched band held.
  int SamplesPerPixel = 1;
  bool BandChoice = false;
  std::optional<double> NoData;
  std::vector<int> ShownBands;  // sample indices: red, green, blue or the grey
  std::vector<TBandSummary> Bands;
};

// Decodes into `bitmap` and fills `tags` (tags the file lacks keep their
// values; for an overview the pixel scale and tie points are scaled to it).
// Throws EQuorvaneError on failure; `bitmap` and `tags` then keep what they
// held. A file cut short keeps the chunks it holds whole (and whatever libtiff
// could decode of the one it cuts off). `options.Progress`'s hook is cleared
// at the end.
TAnyTiffResult DecodeAnyTiff(TAnyTiffSource& source, TRasterBitmap& bitmap, TGeoTiffTags& tags,
                             const TAnyTiffOptions& options);
TAnyTiffResult DecodeAnyTiffBytes(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
                                  TGeoTiffTags& tags, const TAnyTiffOptions& options);
TAnyTiffResult DecodeAnyTiffFile(const std::string& path, TRasterBitmap& bitmap, TGeoTiffTags& tags,
                                 const TAnyTiffOptions& options);

// The same choices without decoding a pixel: size, pixel format, overview,
// tags. Fails where decoding would fail before the first pixel.
TAnyTiffResult ReadAnyTiffHeader(TAnyTiffSource& source, TGeoTiffTags& tags,
                                 const TAnyTiffOptions& options);

// Whether a file our own reader may accept should go to this reader anyway:
// a BigTIFF, samples that are signed integers or floating point (which our
// reader would show by bit depth alone, a float as colour bytes), samples of
// more than 8 bits, or more than three samples a pixel (measurements, shown
// through a display stretch and a choice of bands). Looks at the header and
// the first directory within `header_bytes` only.
bool WantsExtendedReader(std::span<const uint8_t> header_bytes);

// The rows of a file's full-resolution image, a band of chunks at a time,
// the same as the rows DecodeAnyTiff gives for a picture within the cap
// (whatever the cap, the full resolution is read). Only conversions that
// need nothing beyond the chunk at hand stream: not the stretched ones, not
// libtiff's RGBA reader. Chunks are read on the calling thread.
class TAnyTiffRows {
 public:
  // Opens the image and fills `tags`; throws what DecodeAnyTiff throws
  // before its first pixel. `options.Threads` and `Progress` are ignored.
  TAnyTiffRows(std::unique_ptr<TAnyTiffSource> source, TGeoTiffTags& tags,
               const TAnyTiffOptions& options);
  ~TAnyTiffRows();
  bool Streams() const;
  int Width() const;
  int Height() const;
  TPixelFormat PixelFormat() const;
  // Bands of rows, top first, as image rows 0 .. rows-1 of each, until
  // `rows` returns false.
  void Stream(const std::function<bool(const TRasterBitmap& band, int rows)>& rows);

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

}  // namespace quorvane
