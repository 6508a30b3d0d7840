#pragma once
// Truevision TGA: colour-mapped, true-colour and greyscale pictures, plain or
// run-length encoded, read; uncompressed true-colour written.
#include <string>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"
#include "raster/error.h"

namespace quorvane {

class ETGAException : public EQuorvaneError {
 public:
  using EQuorvaneError::EQuorvaneError;
};

void ReadTga(TByteStream& stream, TRasterBitmap& bitmap);
void WriteTga(TByteStream& stream, const TRasterBitmap& bitmap);

}  // namespace quorvane
