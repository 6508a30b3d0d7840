#pragma once
// PCX pictures: six plane/depth kinds read into 24-bit bitmaps; bitmaps
// written as three-plane, 8-bit run-length PCX. The resolution is kept both
// ways: the header's dots per inch become pixels per metre and back.
#include <string>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"
#include "raster/progress.h"

namespace quorvane {

// Inches per metre of the international foot (one inch is 0.0254 m). The US
// survey foot gives 39.37.
constexpr double kInchesPerMetre = 1.0 / 0.0254;

// Decodes the PCX held in `stream` into `bitmap` (24-bit afterwards). On an
// exception the bitmap keeps its previous picture.
void ReadPcx(TByteStream& stream, TRasterBitmap& bitmap, TStageReporter* progress = nullptr,
             double inches_per_metre = kInchesPerMetre);
// Writes `bitmap` as a PCX file; a bitmap that is not 24-bit is converted on
// a copy first.
void WritePcx(TByteStream& stream, const TRasterBitmap& bitmap, TStageReporter* progress = nullptr,
              double inches_per_metre = kInchesPerMetre);
void LoadPcxFile(const std::string& path, TRasterBitmap& bitmap, TStageReporter* progress = nullptr,
                 double inches_per_metre = kInchesPerMetre);
void SavePcxFile(const std::string& path, const TRasterBitmap& bitmap,
                 TStageReporter* progress = nullptr, double inches_per_metre = kInchesPerMetre);

}  // namespace quorvane
