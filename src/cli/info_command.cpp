// quorvane-cli info FILE [--json]: size, pixel format, georeference and the
// raw GeoTIFF tags of a picture.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/load_image.h"
#include "geo/geotiff_report.h"
#include "imaging/bitmap_utils.h"

namespace quorvane::cli {

namespace {
struct TProjectedKey {
  uint16_t Code;
  TProjectedCS System;
};

// The projected coordinate system named by the last key 3072, as the
// georeference takes it.
std::optional<TProjectedKey> LastProjectedCS(const TGeoTiffTags& tags) {
  std::optional<TProjectedKey> found;
  for (int i = 0; i < tags.KeyEntryCount; ++i) {
    if (tags.Keys[i].KeyID == 3072) {
      found =
          TProjectedKey{tags.Keys[i].Value_Offset, LookupProjectedCS(tags.Keys[i].Value_Offset)};
    }
  }
  return found;
}

std::string Join(std::initializer_list<double> values) {
  std::string text;
  for (double v : values) {
    if (!text.empty()) text += ' ';
    text += ShortestDouble(v);
  }
  return text;
}

void PrintText(const std::string& path, const TCliImage& image) {
  const TRasterBitmap& b = *image.Bitmap;
  const TGeoReference& g = image.GeoReference;
  const TGeoTiffTags& t = image.Tags;
  std::printf("file: %s\n", path.c_str());
  std::printf("width: %d\nheight: %d\npixel_format: %s\n", b.Width(), b.Height(),
              PixelFormatName(b.PixelFormat()).c_str());
  std::printf("georef.base_x: %s\ngeoref.base_y: %s\n", ShortestDouble(g.BaseX).c_str(),
              ShortestDouble(g.BaseY).c_str());
  std::printf("georef.scale_x: %s\ngeoref.scale_y: %s\n", ShortestDouble(g.ScaleX).c_str(),
              ShortestDouble(g.ScaleY).c_str());
  std::printf("georef.zone: %d\ngeoref.north: %s\n", g.Zone, g.North ? "true" : "false");
  if (const auto cs = LastProjectedCS(t)) {
    std::printf("projected_cs: %u %s %d %s\n", cs->Code, cs->System.Name.c_str(), cs->System.Zone,
                cs->System.North ? "N" : "S");
  } else {
    std::printf("projected_cs: none\n");
  }
  std::printf("geotiff.version: %u\ngeotiff.revision: %u\ngeotiff.minor_revision: %u\n",
              t.KeyDirectoryVersion, t.KeyRevision, t.MinorRevision);
  for (int i = 0; i < t.KeyEntryCount; ++i) {
    const TGeoKeyEntry& k = t.Keys[i];
    std::printf("geotiff.key: %u %u %u %u\n", k.KeyID, k.TIFFTagLocation, k.Count, k.Value_Offset);
  }
  std::printf("geotiff.ascii: \"%s\"\n", JsonEscape(t.AsciiParams).c_str());
  for (int i = 0; i < t.DoubleCount; ++i)
    std::printf("geotiff.double: %s\n", ShortestDouble(t.DoubleParams[i]).c_str());
  std::printf("geotiff.pixel_scale: %s\n",
              Join({t.PixelScale[0], t.PixelScale[1], t.PixelScale[2]}).c_str());
  for (int i = 0; i < t.TiePointCount; ++i) {
    const TTiePoint& p = t.TiePoints[i];
    std::printf("geotiff.tie_point: %s\n", Join({p.I, p.J, p.K, p.X, p.Y, p.Z}).c_str());
  }
  // The GeoTIFF information view's text, line by line.
  for (const std::string& line : BuildGeoTiffReport(t)) std::printf("report: %s\n", line.c_str());
}

void PrintJson(const TCliImage& image) {
  const TRasterBitmap& b = *image.Bitmap;
  const TGeoReference& g = image.GeoReference;
  const TGeoTiffTags& t = image.Tags;
  TJsonWriter json;
  json.BeginObject();
  json.Key("width").Integer(b.Width());
  json.Key("height").Integer(b.Height());
  json.Key("pixel_format").String(PixelFormatName(b.PixelFormat()));
  json.Key("georef").BeginObject();
  json.Key("base_x").Number(g.BaseX).Key("base_y").Number(g.BaseY);
  json.Key("scale_x").Number(g.ScaleX).Key("scale_y").Number(g.ScaleY);
  json.Key("zone").Integer(g.Zone).Key("north").Bool(g.North);
  json.EndObject();
  json.Key("projected_cs");
  if (const auto cs = LastProjectedCS(t)) {
    json.BeginObject();
    json.Key("code").Integer(cs->Code).Key("name").String(cs->System.Name);
    json.Key("zone").Integer(cs->System.Zone).Key("north").Bool(cs->System.North);
    json.EndObject();
  } else {
    json.Null();
  }
  json.Key("geotiff").BeginObject();
  json.Key("version").Integer(t.KeyDirectoryVersion);
  json.Key("revision").Integer(t.KeyRevision);
  json.Key("minor_revision").Integer(t.MinorRevision);
  json.Key("keys").BeginArray();
  for (int i = 0; i < t.KeyEntryCount; ++i) {
    const TGeoKeyEntry& k = t.Keys[i];
    json.BeginArray().Integer(k.KeyID).Integer(k.TIFFTagLocation).Integer(k.Count);
    json.Integer(k.Value_Offset).EndArray();
  }
  json.EndArray();
  json.Key("ascii").String(t.AsciiParams);
  json.Key("doubles").BeginArray();
  for (int i = 0; i < t.DoubleCount; ++i) json.Number(t.DoubleParams[i]);
  json.EndArray();
  json.Key("pixel_scale").BeginArray();
  for (double v : t.PixelScale) json.Number(v);
  json.EndArray();
  json.Key("tie_points").BeginArray();
  for (int i = 0; i < t.TiePointCount; ++i) {
    const TTiePoint& p = t.TiePoints[i];
    json.BeginArray();
    for (double v : {p.I, p.J, p.K, p.X, p.Y, p.Z}) json.Number(v);
    json.EndArray();
  }
  json.EndArray();
  json.EndObject();
  json.Key("report").BeginArray();
  for (const std::string& line : BuildGeoTiffReport(t)) json.String(line);
  json.EndArray();
  json.EndObject();
  std::printf("%s\n", json.Text().c_str());
}
}  // namespace

int RunInfo(const TArgs& args) {
  std::string path;
  bool as_json = false;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      as_json = true;
    } else if (!arg.empty() && arg[0] == '-') {
      throw EUsage("unknown option: " + arg);
    } else if (path.empty()) {
      path = arg;
    } else {
      throw EUsage("one file at a time");
    }
  }
  if (path.empty()) throw EUsage("missing FILE");
  const TCliImage image = LoadImage(path);
  if (as_json) {
    PrintJson(image);
  } else {
    PrintText(path, image);
  }
  return 0;
}

}  // namespace quorvane::cli
