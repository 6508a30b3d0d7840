#include "geo/geotiff_tags.h"

#include <algorithm>

namespace quorvane {

namespace {
// Restores the stream position when a tag handler returns, so the TIFF
// directory walk carries on where it was.
class TPositionKeeper {
 public:
  explicit TPositionKeeper(TByteStream& stream) : stream_(stream), position_(stream.Position()) {}
  ~TPositionKeeper() { stream_.Seek(position_); }

 private:
  TByteStream& stream_;
  size_t position_;
};
}  // namespace

void ReadGeoTiffTag(TByteStream& stream, TGeoTiffTags& tags, uint16_t tag, uint32_t count,
                    uint32_t value_offset) {
  switch (tag) {
    case kTagModelPixelScale:
    case kTagModelTiepoint:
    case kTagGeoKeyDirectory:
    case kTagGeoDoubleParams:
    case kTagGeoAsciiParams:
      break;
    default:
      return;
  }
  TPositionKeeper keeper(stream);
  stream.Seek(value_offset);
  // The lists hold at most kGeoTiffListCapacity entries; longer lists in a
  // file are cut there and the rest is not read.
  switch (tag) {
    case kTagModelPixelScale:
      for (double& value : tags.PixelScale) value = stream.ReadDouble();
      break;
    case kTagModelTiepoint: {
      tags.TiePointCount = 0;
      const uint32_t points = std::min<uint32_t>(count / 6, kGeoTiffListCapacity);
      for (uint32_t i = 0; i < points; ++i) {
        TTiePoint& p = tags.TiePoints[tags.TiePointCount++];
        p.I = stream.ReadDouble();
        p.J = stream.ReadDouble();
        p.K = stream.ReadDouble();
        p.X = stream.ReadDouble();
        p.Y = stream.ReadDouble();
        p.Z = stream.ReadDouble();
      }
      break;
    }
    case kTagGeoKeyDirectory: {
      tags.KeyEntryCount = 0;
      tags.KeyDirectoryVersion = stream.ReadWord();
      tags.KeyRevision = stream.ReadWord();
      tags.MinorRevision = stream.ReadWord();
      tags.NumberOfKeys = stream.ReadWord();
      const int keys = std::min<int>(tags.NumberOfKeys, kGeoTiffListCapacity);
      for (int i = 0; i < keys; ++i) {
        TGeoKeyEntry& key = tags.Keys[tags.KeyEntryCount++];
        key.KeyID = stream.ReadWord();
        key.TIFFTagLocation = stream.ReadWord();
        key.Count = stream.ReadWord();
        key.Value_Offset = stream.ReadWord();
      }
      break;
    }
    case kTagGeoDoubleParams: {
      tags.DoubleCount = 0;
      const uint32_t doubles = std::min<uint32_t>(count, kGeoTiffListCapacity);
      for (uint32_t i = 0; i < doubles; ++i) tags.DoubleParams[tags.DoubleCount++] = stream.ReadDouble();
      break;
    }
    case kTagGeoAsciiParams: {
      // Never more than the file holds, whatever the count claims.
      const size_t length = std::min<size_t>(count, stream.Remaining());
      tags.AsciiParams = stream.ReadChars(length);
      break;
    }
  }
}

void ClearGeoTiffTags(TGeoTiffTags& tags) { tags = TGeoTiffTags{}; }

void GeoTiffToGeoReference(const TGeoTiffTags& tags, TGeoReference& reference) {
  ResetGeoReference(reference);
  // The first tie point is always taken to belong to the upper-left corner.
  if (tags.TiePointCount > 0) {
    reference.BaseX = tags.TiePoints[0].X;
    reference.BaseY = tags.TiePoints[0].Y;
  }
  if (tags.PixelScale[0] != 0 && tags.PixelScale[1] != 0) {
    reference.ScaleX = tags.PixelScale[0];
    reference.ScaleY = tags.PixelScale[1];
  }
  const int keys = std::min<int>(tags.KeyEntryCount, kGeoTiffListCapacity);
  for (int i = 0; i < keys; ++i) {
    if (tags.Keys[i].KeyID == 3072) {
      const TProjectedCS cs = LookupProjectedCS(tags.Keys[i].Value_Offset);
      reference.Zone = cs.Zone;
      reference.North = cs.North;
    }
  }
}

}  // namespace quorvane
