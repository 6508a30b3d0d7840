#pragma once
// Pictures handed out a band of rows at a time, top first, by readers that
// never hold the whole picture; and the band a reader fills row by row.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "raster/bitmap.h"
#include "raster/codec.h"

namespace quorvane {

// Takes image rows 0 .. rows-1 of a band; false once no more are wanted.
using TBandHandler = std::function<bool(const TRasterBitmap& band, int rows)>;

class TPictureRows {
 public:
  virtual ~TPictureRows() = default;
  const TPictureInfo& Picture() const { return picture_; }
  // Every row, top first, as image rows 0 .. rows-1 of each band, until
  // `rows` returns false; the bands have the pixel format and colour table
  // the whole picture would have.
  virtual void Stream(const TBandHandler& rows) = 0;

 protected:
  TPictureInfo picture_;
};

// A file's row reader when its layout lets it stream, else null (the caller
// then loads the whole picture).
template <class TRows>
std::unique_ptr<TPictureRows> OpenIfStreams(const std::string& path) {
  auto rows = std::make_unique<TRows>(path);
  if (!rows->Streams()) return nullptr;
  return rows;
}

// Rows decoded one at a time into bands of a few megabytes, handed on when
// full. Rows never decoded (a file that ends early) are handed on cleared,
// as a whole picture keeps them.
class TBandFiller {
 public:
  // `like` gives the colour table and the resolution; its pixels are not
  // used.
  TBandFiller(const TPictureInfo& picture, const TRasterBitmap& like, const TBandHandler& rows);
  // The row to decode next.
  uint8_t* Row() { return band_.Scanline(filled_); }
  // The row is decoded; false once the handler wants no more.
  bool RowDone();
  // Rows decoded so far.
  int64_t Done() const { return done_; }
  // Hands on what is filled and clears the rows never decoded.
  void Finish();

 private:
  bool Hand();

  const TBandHandler& rows_;
  TRasterBitmap band_;
  int64_t height_ = 0;
  int64_t done_ = 0;
  int filled_ = 0;
  bool wanted_ = true;
};

}  // namespace quorvane
