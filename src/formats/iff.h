#pragma once
// IFF pictures: FORM ILBM and FORM PBM read into 24-bit bitmaps; any bitmap
// written as an 8-bit PBM, plain or ByteRun1.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/codec.h"

namespace quorvane {

struct TLbmEncodeOptions {
  // ByteRun1 rows instead of plain ones.
  bool Compress = false;
};

// The BMHD size (0 x 0 without one); always 24-bit.
TPictureInfo ReadLbmHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
// On an exception the bitmap keeps its previous picture.
void DecodeLbm(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options = {});
std::vector<uint8_t> EncodeLbm(const TRasterBitmap& bitmap, const TLbmEncodeOptions& options = {},
                               TStageReporter* progress = nullptr);

void LoadLbmFile(const std::string& path, TRasterBitmap& bitmap,
                 const TDecodeOptions& options = {});
void SaveLbmFile(const std::string& path, const TRasterBitmap& bitmap,
                 const TLbmEncodeOptions& options = {}, TStageReporter* progress = nullptr);

}  // namespace quorvane
