#include "io/row_streams.h"

#include "formats/jpeg_codec.h"
#include "formats/png_codec.h"
#include "io/file_names.h"
#include "tiff/tiff_reader.h"
#include "tiff/tiff_writer.h"

namespace quorvane {

namespace {

bool IsTiffName(const std::string& ext) {
  return ext == ".tif" || ext == ".tiff";
}

class TTiffPictureRows final : public TPictureRows {
 public:
  TTiffPictureRows(const std::string& path, TGeoTiffTags& tags, const TDecodeLimits& limits)
      : rows_(path, tags, limits) {
    picture_ = rows_.Picture();
  }
  bool HasImage() const { return rows_.HasImage(); }
  void Stream(const std::function<bool(const TRasterBitmap&, int)>& rows) override {
    rows_.Stream(rows);
  }

 private:
  TTiffFileRows rows_;
};

}  // namespace

std::unique_ptr<TPictureRows> OpenPictureRows(const std::string& file_name, TGeoTiffTags& tags,
                                              const TLoadOptions& options) {
  // The extended reader decides per file; its files take the whole path.
  if (options.AnyTiff || !IsTiffName(LowerExtension(file_name))) return nullptr;
  auto rows = std::make_unique<TTiffPictureRows>(
      file_name, tags, TDecodeLimits{.MaxPictureBytes = options.MaxPictureBytes});
  if (!rows->HasImage()) return nullptr;
  return rows;
}

bool WritesTrueColourRows(const std::string& file_name) {
  const std::string ext = LowerExtension(file_name);
  return IsTiffName(ext) || ext == ".png" || ext == ".jpg" || ext == ".jpeg";
}

std::unique_ptr<TRowWriter> MakeRowWriter(const std::string& file_name, TByteSink& sink,
                                          const TPictureFrame& frame, const TSaveOptions& options) {
  const std::string ext = LowerExtension(file_name);
  if (IsTiffName(ext)) {
    const TTiffEncodeOptions tiff{.PackBits = options.Compress,
                                  .GeoTiff = options.GeoTiff ? options.GeoTiffTags : nullptr};
    return std::make_unique<TTiffWriter>(sink, frame, tiff, nullptr);
  }
  if (ext == ".png") return std::make_unique<TPngWriter>(sink, frame, nullptr);
  if (ext == ".jpg" || ext == ".jpeg")
    return std::make_unique<TJpegWriter>(sink, frame, TJpegEncodeOptions{}, nullptr);
  return nullptr;
}

}  // namespace quorvane
