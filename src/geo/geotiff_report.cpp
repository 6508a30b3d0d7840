#include "geo/geotiff_report.h"

#include <algorithm>

namespace quorvane {

namespace {

// A key that refers to a double parameter by index: the value, or nothing
// after the label when the index lies beyond the doubles held.
std::string DoubleParam(const TGeoTiffTags& tags, int index, const TNumberFormat& format) {
  const int held = std::clamp(tags.DoubleCount, 0, kGeoTiffListCapacity);
  if (index < 0 || index >= held) return {};
  return FormatGeneral(tags.DoubleParams[index], format);
}

}  // namespace

std::string CitationText(const TGeoTiffTags& tags, int offset, int count) {
  const int length = int(tags.AsciiParams.size());
  if (count <= 0 || offset < 0 || offset >= length) return {};
  return tags.AsciiParams.substr(size_t(offset), size_t(std::min(count, length - offset)));
}

std::string DescribeGeoKey(const TGeoTiffTags& tags, const TGeoKeyEntry& key,
                           const TNumberFormat& format) {
  const int v = key.Value_Offset;
  const std::string value = std::to_string(v);
  switch (key.KeyID) {
    case kGTModelTypeGeoKey:
      return "Model Coordinate System: " + value;
    case kGTRasterTypeGeoKey:
      return "Raster Coordinate System: " + value;
    case kGTCitationGeoKey:
      return "CT Citation: " + CitationText(tags, v, key.Count);
    case kGeographicTypeGeoKey:
      return "Ellipsoid: " + value;
    case kGeogCitationGeoKey:
      return "Geographic Citation: " + CitationText(tags, v, key.Count);
    case kGeogLinearUnitsGeoKey:
      return "Geographic Linear Units: " + value;
    case kGeogAngularUnitsGeoKey:
      return "Angular Units: " + value;
    case kProjectedCSTypeGeoKey: {
      const TProjectedCS cs = LookupProjectedCS(v);
      return "Projected Coord. Sys: " + value + " " + cs.Name + " " + std::to_string(cs.Zone) +
             " " + ChooseText(cs.North, "N", "S");
    }
    case kPCSCitationGeoKey:
      return "PCS Citation: " + CitationText(tags, v, key.Count);
    case kProjectionGeoKey:
      return "Projection: " + value;
    case kProjCoordTransGeoKey:
      return "Projection Transform: " + value;
    case kProjLinearUnitsGeoKey:
      return "Projection Units: " + value;
    case kProjStdParallel1GeoKey:
      return "Projection Parallel-1: " + DoubleParam(tags, v, format);
    case kProjStdParallel2GeoKey:
      return "Projection Parallel-2: " + DoubleParam(tags, v, format);
    case kProjNatOriginLongGeoKey:
      return "Origin Longitude: " + DoubleParam(tags, v, format);
    case kProjFalseEastingGeoKey:
      return "Easting: " + DoubleParam(tags, v, format);
    case kProjFalseNorthingGeoKey:
      return "Northing: " + DoubleParam(tags, v, format);
    case kProjFalseOriginLongGeoKey:
      return "Origin Longitude: " + DoubleParam(tags, v, format);
    case kProjFalseOriginLatGeoKey:
      return "Origin Latitude: " + DoubleParam(tags, v, format);
    default:
      return {};
  }
}

std::vector<std::string> BuildGeoTiffReport(const TGeoTiffTags& tags, const TNumberFormat& format) {
  const auto g = [&](double value) { return FormatGeneral(value, format); };
  std::vector<std::string> lines;
  lines.push_back("Version: " + std::to_string(tags.KeyDirectoryVersion));
  lines.push_back("Revision: " + std::to_string(tags.KeyRevision));
  lines.push_back("Minor Rev.: " + std::to_string(tags.MinorRevision));
  lines.push_back("Count: " + std::to_string(tags.NumberOfKeys));
  lines.push_back("Keys ------------------------");
  // A directory may announce more keys than were held; only those are listed.
  const int keys = std::clamp<int>(std::min<int>(tags.NumberOfKeys, tags.KeyEntryCount), 0,
                                   kGeoTiffListCapacity);
  for (int i = 0; i < keys; ++i) {
    const TGeoKeyEntry& key = tags.Keys[i];
    lines.push_back(std::to_string(key.KeyID) + ", " + std::to_string(key.TIFFTagLocation) + ", " +
                    std::to_string(key.Count) + ", " + std::to_string(key.Value_Offset));
  }
  for (int i = 0; i < keys; ++i) lines.push_back(DescribeGeoKey(tags, tags.Keys[i], format));
  lines.push_back("GeoStrings ----------------------------");
  lines.push_back(tags.AsciiParams.substr(0, tags.AsciiParams.find('\0')));
  lines.push_back("GeoReals ----------------------------");
  const int doubles = std::clamp(tags.DoubleCount, 0, kGeoTiffListCapacity);
  for (int i = 0; i < doubles; ++i) {
    lines.push_back(std::to_string(i) + " " + g(tags.DoubleParams[i]));
  }
  lines.push_back("PixelScale ----------------------------");
  lines.push_back("X: " + g(tags.PixelScale[0]) + " Y: " + g(tags.PixelScale[1]) +
                  " Z: " + g(tags.PixelScale[2]));
  lines.push_back("TiePoints ----------------------------");
  const int points = std::clamp(tags.TiePointCount, 0, kGeoTiffListCapacity);
  for (int i = 0; i < points; ++i) {
    const TTiePoint& p = tags.TiePoints[i];
    lines.push_back(std::to_string(i) + " I: " + g(p.I) + " J: " + g(p.J) + " K: " + g(p.K) +
                    " X: " + g(p.X) + " Y: " + g(p.Y) + " Z: " + g(p.Z));
  }
  return lines;
}

}  // namespace quorvane
