#pragma once
// The conversions that need nothing but the chunk at hand: bilevel, palette
// indices, grey and colour scaled over the samples' full range, and CMYK.
#include <cstdint>
#include <vector>

#include "anytiff/any_tiff_chunks.h"
#include "anytiff/any_tiff_plan.h"
#include "raster/bitmap.h"

namespace quorvane {

// Writes each chunk into `picture`, which has the plan's format and the
// image's size. Missing chunks keep the picture's zeros.
class TDirectSink final : public TChunkSink {
 public:
  TDirectSink(const TAnyTiffPlan& plan, TRasterBitmap& picture);
  void Chunk(const TChunk& chunk) override;
  void Missing(uint32_t, uint32_t, uint32_t, uint32_t) override {}

 private:
  void BilevelRow(const uint8_t* in, uint8_t* out, uint32_t x, uint32_t n) const;
  void IndexedRow(const uint8_t* in, int stride, uint8_t* out, uint32_t x, uint32_t n);
  void GreyRow(const uint8_t* in, int stride, uint8_t* out, uint32_t n);
  void ColourRow(const uint8_t* in, int stride, uint8_t* out, uint32_t n);
  void CmykRow(const uint8_t* in, int stride, uint8_t* out, uint32_t n);
  // Band `band` of n pixels through the full-range table into values_.
  const uint32_t* Band(const uint8_t* in, int stride, int band, uint32_t n);

  const TAnyTiffPlan& plan_;
  TRasterBitmap& picture_;
  std::vector<uint8_t> table_;
  std::vector<uint32_t> values_;
  std::vector<uint8_t> inks_;
};

}  // namespace quorvane
