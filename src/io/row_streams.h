#pragma once
// Pictures that go through a band of rows at a time rather than whole: the
// readers that hand out rows in order and the writers that take them. A
// format that cannot do either is left to the whole-picture path.
#include <memory>
#include <string>

#include "io/format_registry.h"
#include "raster/byte_sink.h"
#include "raster/codec.h"
#include "raster/picture_rows.h"
#include "raster/row_writer.h"

namespace quorvane {

// The rows of a file LoadPicture would read with the same options, with its
// GeoTIFF tags in `tags`; null when its format, or the file, does not
// stream (then nothing is held open). Throws the reader's message for a
// header the load would refuse.
std::unique_ptr<TPictureRows> OpenPictureRows(const std::string& file_name, TGeoTiffTags& tags,
                                              const TLoadOptions& options = {});

// Whether SaveBitmapFile writes this name from 24-bit rows, which
// MakeRowWriter then gives.
bool WritesTrueColourRows(const std::string& file_name);
// The writer SaveBitmapFile uses for the name, into `sink`, for 24-bit rows
// of `frame`; the same bytes as saving the whole picture.
std::unique_ptr<TRowWriter> MakeRowWriter(const std::string& file_name, TByteSink& sink,
                                          const TPictureFrame& frame, const TSaveOptions& options);

}  // namespace quorvane
