#include "io/tiff_picture_rows.h"

#include "io/extended_tiff_route.h"
#include "raster/error.h"
#include "tiff/tiff_reader.h"

namespace quorvane {

namespace {

class TTiffPictureRows final : public TPictureRows {
 public:
  TTiffPictureRows(const std::string& path, TGeoTiffTags& tags, const TDecodeLimits& limits)
      : rows_(path, tags, limits) {
    picture_ = rows_.Picture();
  }
  bool HasImage() const { return rows_.HasImage(); }
  void Stream(const TBandHandler& rows) override { rows_.Stream(rows); }

 private:
  TTiffFileRows rows_;
};

class TAnyTiffPictureRows final : public TPictureRows {
 public:
  explicit TAnyTiffPictureRows(std::unique_ptr<TAnyTiffRows> rows) : rows_(std::move(rows)) {
    picture_ = {rows_->Width(), rows_->Height(), rows_->PixelFormat()};
  }
  void Stream(const TBandHandler& rows) override { rows_->Stream(rows); }

 private:
  std::unique_ptr<TAnyTiffRows> rows_;
};

std::unique_ptr<TPictureRows> OwnTiffRows(const std::string& file_name, TGeoTiffTags& tags,
                                          const TLoadOptions& options) {
  auto rows = std::make_unique<TTiffPictureRows>(
      file_name, tags, TDecodeLimits{.MaxPictureBytes = options.MaxPictureBytes});
  if (!rows->HasImage()) return nullptr;
  return rows;
}

// The reader LoadAnyTiff would choose: our own unless the header or its
// refusal sends the file on. The extended reader's pictures that need the
// whole image (stretched measurements, libtiff's RGBA reader) do not stream.
std::unique_ptr<TPictureRows> RoutedTiffRows(const std::string& file_name, TGeoTiffTags& tags,
                                             const TLoadOptions& options) {
  if (!HeaderWantsExtendedReader(file_name)) {
    TGeoTiffTags own_tags = tags;
    try {
      auto rows = OwnTiffRows(file_name, own_tags, options);
      tags = own_tags;
      return rows;
    } catch (const EQuorvaneError& error) {
      if (!IsOwnReaderRefusal(error)) throw;
    }
  }
  auto rows = OpenAnyTiffRows(file_name, tags, options.MaxPictureBytes, options.Display);
  if (!rows->Streams()) return nullptr;
  return std::make_unique<TAnyTiffPictureRows>(std::move(rows));
}

}  // namespace

std::unique_ptr<TPictureRows> OpenTiffRows(const std::string& file_name, TGeoTiffTags& tags,
                                           const TLoadOptions& options) {
  if (options.AnyTiff) return RoutedTiffRows(file_name, tags, options);
  return OwnTiffRows(file_name, tags, options);
}

}  // namespace quorvane
