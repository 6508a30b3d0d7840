#include "io/row_streams.h"

#include "io/file_names.h"
#include "io/format_table.h"
#include "tiff/tiff_reader.h"

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
  return SaveFormatFor(file_name).StreamsRows;
}

std::unique_ptr<TRowWriter> MakeRowWriter(const std::string& file_name, TByteSink& sink,
                                          const TPictureFrame& frame, const TSaveOptions& options) {
  const TImageFormat& format = SaveFormatFor(file_name);
  if (!format.StreamsRows) return nullptr;
  return format.MakeWriter(sink, frame, options, nullptr);
}

}  // namespace quorvane
