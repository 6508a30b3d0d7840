#pragma once
// Gathers the chunks of one band (a strip, or a row of tiles) into a bitmap
// as wide as the image and hands it on once the next band begins, so that a
// picture passes a band at a time instead of whole. Chunks must come in file
// order, from one worker.
#include <cstdint>
#include <functional>

#include "anytiff/any_tiff_chunks.h"
#include "anytiff/any_tiff_direct.h"
#include "anytiff/any_tiff_plan.h"
#include "raster/bitmap.h"

namespace quorvane {

class TBandSink final : public TChunkSink {
 public:
  // `rows` takes image rows 0 .. n-1 of the band; when it answers false,
  // the sink throws TStop to end the reading.
  struct TStop {};
  using TRowsOut = std::function<bool(const TRasterBitmap& band, int rows)>;
  TBandSink(const TAnyTiffPlan& plan, uint32_t width, uint32_t height, TRowsOut rows);

  void Chunk(const TChunk& chunk) override;
  void Missing(uint32_t x, uint32_t y, uint32_t width, uint32_t height) override;
  // Hands on the last band.
  void Finish();

 private:
  // Makes rows y .. y+height-1 the band being filled, handing on the one
  // before when these start a new band.
  void Cover(uint32_t y, uint32_t height);
  void Flush();

  TRasterBitmap band_;
  TDirectSink direct_;
  uint32_t width_, height_;
  TRowsOut rows_;
  uint32_t top_ = 0, end_ = 0;  // image rows of the band being filled
};

}  // namespace quorvane
