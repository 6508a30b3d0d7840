#include "io/row_streams.h"

#include "io/file_names.h"
#include "io/format_table.h"

namespace quorvane {

std::unique_ptr<TPictureRows> OpenPictureRows(const std::string& file_name, TGeoTiffTags& tags,
                                              const TLoadOptions& options) {
  // The reader LoadPicture picks: by the extension alone.
  const std::string dotted = LowerExtension(file_name);
  const TImageFormat* format = FindImageFormat(dotted.empty() ? "" : dotted.substr(1));
  if (!format || !format->OpenRows) return nullptr;
  return format->OpenRows(file_name, tags, options);
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
