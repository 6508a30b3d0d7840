// quorvane-cli info FILE [--json]: size, pixel format, georeference, the raw
// GeoTIFF tags and their report, read from the file's header without
// decoding its pixels.
#include <optional>
#include <string>
#include <utility>

#include "cli/command_line.h"
#include "cli/crs_record.h"
#include "cli/record.h"
#include "document/open_image.h"
#include "geo/geo_reference.h"
#include "imaging/bitmap_utils.h"

namespace quorvane::cli {

namespace {

// The projected coordinate system named by the last ProjectedCSTypeGeoKey,
// as the georeference takes it; null without one.
TRecord ProjectedCSRecord(const TGeoTiffTags& tags) {
  TRecord record = nullptr;
  for (const TGeoKeyEntry& key : HeldGeoKeys(tags)) {
    if (key.KeyID != kProjectedCSTypeGeoKey) continue;
    const TProjectedCS system = LookupProjectedCS(key.Value_Offset);
    record = {{"code", key.Value_Offset},
              {"name", system.Name},
              {"zone", system.Zone},
              {"north", system.North}};
  }
  return record;
}

TRecord GeoReferenceRecord(const TGeoReference& g) {
  return {{"base_x", g.BaseX},   {"base_y", g.BaseY}, {"scale_x", g.ScaleX},
          {"scale_y", g.ScaleY}, {"zone", g.Zone},    {"north", g.North}};
}

TRecord GeoTiffRecord(const TGeoTiffTags& t) {
  TRecord keys = TRecord::array();
  for (const TGeoKeyEntry& k : HeldGeoKeys(t)) {
    keys.push_back({k.KeyID, k.TIFFTagLocation, k.Count, k.Value_Offset});
  }
  TRecord doubles = TRecord::array();
  for (int i = 0; i < t.DoubleCount; ++i) doubles.push_back(t.DoubleParams[i]);
  TRecord tie_points = TRecord::array();
  for (int i = 0; i < t.TiePointCount; ++i) {
    const TTiePoint& p = t.TiePoints[i];
    tie_points.push_back({p.I, p.J, p.K, p.X, p.Y, p.Z});
  }
  return {{"version", t.KeyDirectoryVersion},
          {"revision", t.KeyRevision},
          {"minor_revision", t.MinorRevision},
          {"keys", keys},
          {"ascii", t.AsciiParams},
          {"doubles", doubles},
          {"pixel_scale", t.PixelScale},
          {"tie_points", tie_points}};
}

TRecord ReaderRecord(const TReaderReport& reader) {
  return {{"name", "extended TIFF reader"},           {"overview_level", reader.OverviewLevel},
          {"overview_factor", reader.OverviewFactor}, {"full_width", reader.FullWidth},
          {"full_height", reader.FullHeight},         {"warnings", reader.Warnings}};
}

}  // namespace

int RunInfo(const TArgs& args) {
  std::string path;
  bool as_json = false;
  bool any_tiff = false;
  TCommandLine line("info");
  line.Positional("FILE", path).Flag("--json", as_json).Flag("--any-tiff", any_tiff).Parse(args);

  const TImageInfo info = ReadImageInfo(path, {.AnyTiff = any_tiff});
  TRecord record = {{"file", path},
                    {"width", info.Header.Width},
                    {"height", info.Header.Height},
                    {"pixel_format", PixelFormatName(info.Header.PixelFormat)},
                    {"georef", GeoReferenceRecord(info.GeoReference)},
                    {"projected_cs", ProjectedCSRecord(info.Tags)},
                    {"geotiff", GeoTiffRecord(info.Tags)},
                    // The GeoTIFF information view's text, line by line.
                    {"report", info.Report}};
  // Only files whose system PROJ knows say so, so that the output of every
  // other file stays as it was; the record goes before the raw tags.
  if (TRecord crs = CrsRecord(info.GeoReference); !crs.is_null()) {
    TRecord ordered;
    for (auto& [name, value] : record.items()) {
      if (name == "geotiff") ordered["crs"] = crs;
      ordered[name] = value;
    }
    record = std::move(ordered);
  }
  // Only files the extended reader read say so, so that the output of every
  // other file stays as it was.
  if (info.Header.Reader.ExtendedReader) record["reader"] = ReaderRecord(info.Header.Reader);
  PrintRecord(record, as_json);
  return 0;
}

}  // namespace quorvane::cli
