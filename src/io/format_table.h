#pragma once
// Every picture format the program knows, one row each: the names a file of
// it goes by, how its header and pixels are read, and how it is written.
// Opening, saving, the dialogs' type list, the streamed batch path, the
// fuzzers and the tests all read this one table, so a new format is one
// more row (see "How to add a format" in the README).
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "io/save_options.h"
#include "raster/bitmap.h"
#include "raster/byte_sink.h"
#include "raster/codec.h"
#include "raster/file_ranges.h"
#include "raster/geotiff_tags.h"
#include "raster/picture_rows.h"
#include "raster/row_writer.h"

namespace quorvane {

struct TLoadOptions;

// One extension of a format, with its entry in the dialogs' type list.
struct TFormatName {
  const char* Extension = nullptr;  // lower case, without the dot
  const char* Description = nullptr;
  // Place in the order the extensions were registered: searches and the type
  // list run from the last registered to the first.
  int Registered = 0;
};

// Fetches the bytes of a file its header reader looks at.
using THeaderFetch = void (*)(TFileRanges& file);
using THeaderReader = TPictureInfo (*)(std::span<const uint8_t> bytes, TGeoTiffTags& tags,
                                       const TDecodeLimits& limits);
// Decodes the whole file into `bitmap`; on an exception the bitmap keeps its
// previous picture.
using TPictureDecoder = void (*)(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
                                 TGeoTiffTags& tags, const TDecodeOptions& options);
// The rows of a file as LoadPicture with `options` would give them, a band
// at a time; null when this file needs the whole picture.
using TRowsOpener = std::unique_ptr<TPictureRows> (*)(const std::string& path, TGeoTiffTags& tags,
                                                      const TLoadOptions& options);
// The pixel format the writer takes for a picture of `picture`.
using TWriterPixels = TPixelFormat (*)(TPixelFormat picture);
// A writer for rows of `frame` (already in the writer's pixel format).
using TRowWriterFactory = std::unique_ptr<TRowWriter> (*)(TByteSink& sink,
                                                          const TPictureFrame& frame,
                                                          const TSaveOptions& options,
                                                          TStageReporter* progress);
// A writer that needs the whole picture (already in its pixel format).
using TPictureEncoder = void (*)(const TRasterBitmap& picture, TByteSink& sink,
                                 const TSaveOptions& options, TStageReporter* progress);

struct TImageFormat {
  // Short name of the format: its fuzz target, its test cases.
  const char* Key = nullptr;
  std::array<TFormatName, 3> Names{};
  // Files of a format that is known but not read are refused with this text.
  const char* Refusal = nullptr;
  THeaderFetch FetchHeader = nullptr;
  THeaderReader ReadHeader = nullptr;
  TPictureDecoder Decode = nullptr;
  // Reading a band of rows at a time, for the batch commands; formats
  // without it are read whole.
  TRowsOpener OpenRows = nullptr;
  // Saving: rows through MakeWriter when set, else the whole picture through
  // Encode; a format with neither is saved as a Windows bitmap.
  TWriterPixels WriterPixels = nullptr;
  TRowWriterFactory MakeWriter = nullptr;
  TPictureEncoder Encode = nullptr;
  // Whether its save reports progress.
  bool ReportsProgress = false;
  // Whether the streamed batch path may write it from 24-bit rows.
  bool StreamsRows = false;
  // Whether the extended TIFF reader may take its files.
  bool ExtendedTiff = false;

  bool Reads() const { return Decode != nullptr; }
  bool Writes() const { return MakeWriter != nullptr || Encode != nullptr; }
};

std::span<const TImageFormat> ImageFormats();

// The format registered last for a lower-case extension without its dot, or
// null.
const TImageFormat* FindImageFormat(std::string_view extension);

// The format a save writes for a file name: the one its extension names when
// that one writes, else the Windows bitmap (no extension included).
const TImageFormat& SaveFormatFor(const std::string& file_name);

}  // namespace quorvane
