#pragma once
// Builds the raster bitmap from a TIFF directory already read into a
// TTiffInfo: checks what can be decoded, sizes the pixel memory, decodes the
// strips into it and adopts it into the bitmap.
#include "raster/bitmap.h"
#include "raster/byte_reader.h"
#include "raster/codec.h"
#include "tiff/tiff_info.h"

namespace quorvane {

// The size and pixel format DecodeTiffImage would give, after every check it
// makes before allocating (supported kind, the picture size limit).
TPictureInfo CheckTiffImage(const TByteReader& file, const TTiffInfo& info,
                            const TDecodeLimits& limits);

// Throws EQuorvaneError with the load's message on failure; the bitmap then
// keeps its previous picture. A strip that ends early is no failure: what was
// decoded is adopted and the rest of the picture is what zero bytes give.
void DecodeTiffImage(const TByteReader& file, TRasterBitmap& bitmap, const TTiffInfo& info,
                     const TDecodeOptions& options);

// Where a streamed decode takes its strips' bytes from and hands its rows.
class TTiffStripStream {
 public:
  virtual ~TTiffStripStream() = default;
  // [offset, offset + bytes) of the file is read before a strip is decoded
  // from it and may be let go of after.
  virtual void Fetch(uint64_t offset, uint64_t bytes) = 0;
  virtual void Release(uint64_t offset, uint64_t bytes) = 0;
  // The next `rows` image rows, top first: image rows 0 .. rows-1 of `band`.
  // False: no further rows are wanted, and decoding ends.
  virtual bool Rows(const TRasterBitmap& band, int rows) = 0;
};

// Decodes as DecodeTiffImage does, byte for byte, but a strip at a time into
// a band of one strip's rows, which goes to the stream before the next strip
// is decoded: memory follows the strip size, not the picture's. The memory
// cap applies to the band. Rows the data never reached come as zero bytes,
// as the whole picture holds them.
void StreamTiffImage(const TByteReader& file, const TTiffInfo& info, const TDecodeLimits& limits,
                     TTiffStripStream& stream);

}  // namespace quorvane
