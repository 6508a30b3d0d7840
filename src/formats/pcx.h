#pragma once
// PCX pictures: six plane/depth kinds read into 24-bit bitmaps; 24-bit
// bitmaps written as three-plane, 8-bit run-length PCX. The resolution is
// kept both ways.
#include <string>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"
#include "raster/progress.h"

namespace quorvane {

void ReadPcx(TByteStream& stream, TRasterBitmap& bitmap, TStageReporter* progress = nullptr);
void WritePcx(TByteStream& stream, const TRasterBitmap& bitmap, TStageReporter* progress = nullptr);
void LoadPcxFile(const std::string& path, TRasterBitmap& bitmap, TStageReporter* progress = nullptr);
void SavePcxFile(const std::string& path, const TRasterBitmap& bitmap,
                 TStageReporter* progress = nullptr);

}  // namespace quorvane
