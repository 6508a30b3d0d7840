#include "anytiff/any_tiff_rgba.h"

#include <algorithm>
#include <string>
#include <vector>

#include "raster/error.h"

namespace quorvane {

namespace {

// Ends the RGBA reader's state however the decoding ends.
class TRgbaImage {
 public:
  TRgbaImage(TLibTiffHandle& handle) {
    char message[1024] = "";
    handle.BeginCall();
    if (!TIFFRGBAImageOK(handle.Tiff(), message))
      throw EQuorvaneError(std::string("Unsupported TIF Image: ") + message,
                           TErrorKind::Unsupported);
    handle.BeginCall();
    if (!TIFFRGBAImageBegin(&image_, handle.Tiff(), 1, message))
      throw EQuorvaneError(std::string("Unsupported TIF Image: ") + message,
                           TErrorKind::Unsupported);
    // Rows come top row first, as the picture's rows are addressed.
    image_.req_orientation = ORIENTATION_TOPLEFT;
  }
  ~TRgbaImage() { TIFFRGBAImageEnd(&image_); }
  TRgbaImage(const TRgbaImage&) = delete;
  TRgbaImage& operator=(const TRgbaImage&) = delete;
  TIFFRGBAImage& Get() { return image_; }

 private:
  TIFFRGBAImage image_{};
};

}  // namespace

void DecodeAnyTiffRgba(TLibTiffHandle& handle, const TAnyTiffLayout& layout, uint64_t buffer_limit,
                       TStageReporter* progress, TRasterBitmap& picture) {
  TRgbaImage rgba(handle);
  // A band is a row of tiles or one strip: the reader decodes whole chunks,
  // so a smaller band would decode a strip again for every band in it.
  const uint32_t band = std::min(layout.ChunkHeight, layout.Height);
  const uint64_t band_bytes = uint64_t(layout.Width) * band * 4;
  if (band == 0 || band_bytes > buffer_limit)
    throw EQuorvaneError("Image Too Large: " + std::to_string(band_bytes) +
                             " bytes per band of rows is more than the memory limit of " +
                             std::to_string(buffer_limit) + " bytes allows",
                         TErrorKind::TooLarge);
  std::vector<uint32_t> raster(size_t(layout.Width) * band);
  if (progress) progress->Report(TProgressStage::Starting, int(layout.Height));
  for (uint32_t y = 0; y < layout.Height; y += band) {
    const uint32_t rows = std::min(band, layout.Height - y);
    rgba.Get().row_offset = int(y);
    rgba.Get().col_offset = 0;
    handle.BeginCall();
    if (!TIFFRGBAImageGet(&rgba.Get(), raster.data(), layout.Width, rows))
      handle.Fail("Cannot Read TIF File");
    for (uint32_t r = 0; r < rows; ++r) {
      const uint32_t* in = raster.data() + size_t(r) * layout.Width;
      uint8_t* out = picture.Scanline(int(y + r));
      for (uint32_t x = 0; x < layout.Width; ++x, out += 3) {
        out[0] = uint8_t(TIFFGetB(in[x]));
        out[1] = uint8_t(TIFFGetG(in[x]));
        out[2] = uint8_t(TIFFGetR(in[x]));
      }
      if (progress) progress->Report(TProgressStage::Running);
    }
  }
}

}  // namespace quorvane
