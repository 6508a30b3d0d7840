#include "document/open_image.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "geo/geotiff_georef.h"
#include "geo/geotiff_report.h"
#include "raster/error.h"

namespace quorvane {

namespace {

namespace fs = std::filesystem;

void MakeFolderCurrent(const fs::path& file) {
  const fs::path folder = file.parent_path();
  if (folder.empty()) return;
  std::error_code error;
  fs::current_path(folder, error);
  if (error) {
    throw EQuorvaneError("Cannot change to folder " + folder.string() + ": " + error.message(),
                         TErrorKind::Io);
  }
}

fs::path AbsolutePath(const std::string& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  // Without a current folder to resolve against, the path stays as given.
  return error ? fs::path(path) : absolute;
}

}  // namespace

TSourceTexts OpenImageFile(TDocument& document, const std::string& path,
                           const TOpenOptions& options) {
  const fs::path file = options.ChangeFolder ? AbsolutePath(path) : fs::path(path);
  if (options.ChangeFolder) MakeFolderCurrent(file);
  if (options.AddRecentFile) options.AddRecentFile(file.string());
  ResetGeoReference(document.Source.GeoReference());
  document.HideBox();
  ClearGeoTiffTags(document.GeoTiffTags);
  // Read into locals: a failed load leaves the previous picture and the
  // emptied tags, never half of a file's tags.
  TGeoTiffTags tags;
  TReaderReport reader;
  TLoadOptions load = options.Load;
  load.Reader = &reader;
  load.Display = document.Display;
  std::unique_ptr<TRasterBitmap> picture = LoadPicture(file.string(), tags, load);
  if (!picture) throw EQuorvaneError("Invalid picture file: " + path, TErrorKind::Corrupt);
  document.Source.Picture = std::move(*picture);
  document.GeoTiffTags = std::move(tags);
  document.Caption = CaptionText(path, reader);
  TSourceTexts texts = document.SourceChanged();
  document.SourceBands.Learn(reader);
  document.Report = BuildGeoTiffReport(document.GeoTiffTags);
  GeoTiffToGeoReference(document.GeoTiffTags, document.Source.GeoReference());
  return texts;
}

TImageInfo ReadImageInfo(const std::string& path, const TLoadOptions& options) {
  TImageInfo info;
  ResetGeoReference(info.GeoReference);
  ClearGeoTiffTags(info.Tags);
  info.Header = ReadPictureHeader(path, info.Tags, options);
  info.Report = BuildGeoTiffReport(info.Tags);
  GeoTiffToGeoReference(info.Tags, info.GeoReference);
  return info;
}

}  // namespace quorvane
