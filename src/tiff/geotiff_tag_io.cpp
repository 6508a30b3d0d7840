// Reads the five GeoTIFF tags out of a TIFF directory.
#include "tiff/geotiff_tag_io.h"

#include <algorithm>

#include "tiff/tiff_directory.h"

namespace quorvane {

void ReadGeoTiffTag(const TByteReader& file, TGeoTiffTags& tags, uint16_t tag, uint32_t count,
                    uint32_t value_offset) {
  switch (tag) {
    case kTagModelPixelScale:
    case kTagModelTiepoint:
    case kTagModelTransformation:
    case kTagGeoKeyDirectory:
    case kTagGeoDoubleParams:
    case kTagGeoAsciiParams:
      break;
    default:
      return;
  }
  TByteReader stream = file;
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
    case kTagModelTransformation:
      // Only a whole matrix means anything.
      tags.TransformationCount = 0;
      if (count != 16) break;
      for (double& value : tags.ModelTransformation) value = stream.ReadDouble();
      tags.TransformationCount = 16;
      break;
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
      for (uint32_t i = 0; i < doubles; ++i)
        tags.DoubleParams[tags.DoubleCount++] = stream.ReadDouble();
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

namespace {
// Counts in the tags may come from a file; never write past what is held.
int Held(int32_t count) {
  return std::clamp<int32_t>(count, 0, kGeoTiffListCapacity);
}

uint64_t Position(const TByteStream& stream) {
  return stream.Position();
}
}  // namespace

TGeoTiffPayloads WriteGeoTiffData(TByteStream& stream, const TGeoTiffTags& tags) {
  TGeoTiffPayloads payloads;

  // A georeference given by a matrix or by ground control points has no
  // pixel scale, and a matrix no tie point: those tags are left out then.
  if (tags.PixelScale != std::array<double, 3>{}) {
    payloads.PixelScale = {Position(stream), 3};
    for (double value : tags.PixelScale) stream.WriteDouble(value);
  }

  const int tie_points = Held(tags.TiePointCount);
  if (tie_points > 0) {
    payloads.Tiepoints = {Position(stream), uint32_t(6 * tie_points)};
    for (int i = 0; i < tie_points; ++i) {
      const TTiePoint& p = tags.TiePoints[i];
      for (double value : {p.I, p.J, p.K, p.X, p.Y, p.Z}) stream.WriteDouble(value);
    }
  }

  if (tags.TransformationCount == 16) {
    payloads.Transformation = {Position(stream), 16};
    for (double value : tags.ModelTransformation) stream.WriteDouble(value);
  }

  // The directory header announces exactly the keys that follow it.
  const uint16_t keys = uint16_t(std::min<int>(tags.NumberOfKeys, Held(tags.KeyEntryCount)));
  payloads.KeyDirectory = {Position(stream), 4u * (keys + 1u)};
  stream.WriteWord(tags.KeyDirectoryVersion);
  stream.WriteWord(tags.KeyRevision);
  stream.WriteWord(tags.MinorRevision);
  stream.WriteWord(keys);
  for (int i = 0; i < keys; ++i) {
    const TGeoKeyEntry& key = tags.Keys[i];
    stream.WriteWord(key.KeyID);
    stream.WriteWord(key.TIFFTagLocation);
    stream.WriteWord(key.Count);
    stream.WriteWord(key.Value_Offset);
  }

  const int doubles = Held(tags.DoubleCount);
  payloads.DoubleParams = {Position(stream), uint32_t(doubles)};
  for (int i = 0; i < doubles; ++i) stream.WriteDouble(tags.DoubleParams[i]);

  payloads.AsciiParams = {Position(stream), uint32_t(tags.AsciiParams.size() + 1)};
  stream.WriteChars(tags.AsciiParams);
  stream.WriteByte(0);
  return payloads;
}

void WriteGeoTiffEntries(TTiffDirectoryBuilder& directory, const TGeoTiffPayloads& payloads,
                         const TByteStream& stream) {
  auto entry = [&](uint16_t tag, TTiffFieldType type, const TGeoTiffPayload& payload) {
    const size_t bytes = size_t(payload.Count) * TiffTypeSize(type);
    directory.WritePayloadEntry(tag, type, payload.Count, payload.Offset, bytes, stream);
  };
  // The three raster-space tags are each optional; a left-out one has no
  // count.
  auto optional_entry = [&](uint16_t tag, const TGeoTiffPayload& payload) {
    if (payload.Count > 0) entry(tag, kTiffDouble, payload);
  };
  optional_entry(kTagModelPixelScale, payloads.PixelScale);
  optional_entry(kTagModelTiepoint, payloads.Tiepoints);
  optional_entry(kTagModelTransformation, payloads.Transformation);
  entry(kTagGeoKeyDirectory, kTiffShort, payloads.KeyDirectory);
  entry(kTagGeoDoubleParams, kTiffDouble, payloads.DoubleParams);
  entry(kTagGeoAsciiParams, kTiffAscii, payloads.AsciiParams);
}

}  // namespace quorvane
