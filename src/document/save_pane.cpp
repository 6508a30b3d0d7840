#include "document/save_pane.h"

#include <utility>

#include "geo/geotiff_georef.h"
#include "io/format_registry.h"

namespace quorvane {

namespace {

void SavePane(const TDocument& document, const TPane& pane, const std::string& path,
              const TPaneSaveOptions& options) {
  document.HideBox();
  // The tags to be written describe the pane being saved; the document's
  // tags keep describing the file last opened.
  TGeoTiffTags tags;
  GeoReferenceToGeoTiff(pane.GeoReference(), tags);
  SaveBitmapFile(document.OutputPicture(pane).Get(), path,
                 {.ShowProgress = true,
                  .Compress = options.Compress,
                  .GeoTiff = options.GeoTiff,
                  .GeoTiffTags = &tags,
                  .Progress = options.Progress});
}

}  // namespace

void SaveSource(TDocument& document, const std::string& path, const TPaneSaveOptions& options) {
  SavePane(document, document.Source, path, options);
}

std::optional<std::string> SaveDestinationWarning(const TDocument& document) {
  if (document.Destination.Picture.Empty()) return kDestinationIsEmpty;
  return std::nullopt;
}

TSaveResult SaveDestination(TDocument& document, const std::string& path,
                            const TPaneSaveOptions& options) {
  if (auto warning = SaveDestinationWarning(document)) return {std::move(warning)};
  SavePane(document, document.Destination, path, options);
  return {};
}

}  // namespace quorvane
