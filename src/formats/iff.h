#pragma once
// IFF pictures: FORM ILBM and FORM PBM read into 24-bit bitmaps; any bitmap
// written as an 8-bit PBM, plain or ByteRun1.
#include <string>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"
#include "raster/progress.h"

namespace quorvane {

void ReadLbm(TByteStream& stream, TRasterBitmap& bitmap, TStageReporter* progress = nullptr);
void WriteLbm(TByteStream& stream, const TRasterBitmap& bitmap, bool compress,
              TStageReporter* progress = nullptr);
void LoadLbmFile(const std::string& path, TRasterBitmap& bitmap,
                 TStageReporter* progress = nullptr);
void SaveLbmFile(const std::string& path, const TRasterBitmap& bitmap, bool compress,
                 TStageReporter* progress = nullptr);

}  // namespace quorvane
