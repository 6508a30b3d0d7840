#include "geo/geotiff_georef.h"
#include "raster/byte_stream.h"
#include "tiff/geotiff_tag_io.h"

#include <gtest/gtest.h>
#include "support/geo_grid.h"

namespace quorvane {
namespace {

// Builds the payloads of the GeoTIFF tags at known offsets of a stream.
struct TGeoPayloads {
  TByteStream stream;
  uint32_t scale = 0, tiepoints = 0, keys = 0, doubles = 0, ascii = 0;
};

TGeoPayloads MakePayloads(bool big_endian, uint16_t pcs) {
  TGeoPayloads p;
  p.stream.SetBigEndian(big_endian);
  p.stream.WriteChars("header!!");
  p.scale = uint32_t(p.stream.Position());
  for (double v : {30.0, 30.0, 0.0}) p.stream.WriteDouble(v);
  p.tiepoints = uint32_t(p.stream.Position());
  for (double v : {0.0, 0.0, 0.0, 500000.0, 4649776.0, 0.0}) p.stream.WriteDouble(v);
  p.keys = uint32_t(p.stream.Position());
  for (uint16_t w : {1, 1, 0, 2, 1024, 0, 1, 1, 3072, 0, 1, 0}) p.stream.WriteWord(w);
  p.stream.Seek(p.stream.Position() - 2);
  p.stream.WriteWord(pcs);
  p.doubles = uint32_t(p.stream.Position());
  p.stream.WriteDouble(1.5);
  p.ascii = uint32_t(p.stream.Position());
  p.stream.WriteChars(std::string("WGS 84|\0", 8));
  return p;
}

void ReadAll(TGeoPayloads& p, TGeoTiffTags& tags) {
  ReadGeoTiffTag(p.stream.Reader(), tags, kTagModelPixelScale, 3, p.scale);
  ReadGeoTiffTag(p.stream.Reader(), tags, kTagModelTiepoint, 6, p.tiepoints);
  ReadGeoTiffTag(p.stream.Reader(), tags, kTagGeoKeyDirectory, 12, p.keys);
  ReadGeoTiffTag(p.stream.Reader(), tags, kTagGeoDoubleParams, 1, p.doubles);
  ReadGeoTiffTag(p.stream.Reader(), tags, kTagGeoAsciiParams, 8, p.ascii);
}

TEST(GeoTiffTags, UtmTagsGiveTheGeoReferenceInBothByteOrders) {
  for (bool big_endian : {false, true}) {
    TGeoPayloads p = MakePayloads(big_endian, 32618);
    p.stream.Seek(3);
    TGeoTiffTags tags;
    ReadAll(p, tags);
    EXPECT_EQ(p.stream.Position(), 3u) << "the directory walk must not be disturbed";
    EXPECT_EQ(tags.KeyEntryCount, 2);
    EXPECT_EQ(tags.Keys[1], (TGeoKeyEntry{3072, 0, 1, 32618}));
    EXPECT_EQ(tags.DoubleCount, 1);
    EXPECT_EQ(tags.AsciiParams, std::string("WGS 84|\0", 8));

    TGeoReference ref;
    GeoTiffToGeoReference(tags, ref);
    EXPECT_EQ(test_support::GridPart(ref), (TGeoReference{500000, 4649776, 30, 30, 18, true}));
    const TMapPoint m = PixelToMap(ref, 10, 20);
    EXPECT_EQ(m.East, 500300);
    EXPECT_EQ(m.North, 4649176);
  }
}

TEST(GeoTiffTags, OtherTagsAreIgnored) {
  TGeoPayloads p = MakePayloads(false, 32618);
  TGeoTiffTags tags;
  ReadGeoTiffTag(p.stream.Reader(), tags, 305, 8, p.ascii);
  EXPECT_EQ(tags.AsciiParams, "");
}

TEST(GeoTiffTags, WithoutTagsTheScaleIsOneAndTheZoneStays) {
  TGeoTiffTags tags;
  TGeoReference ref{5, 6, 7, 8, 33, false};
  GeoTiffToGeoReference(tags, ref);
  EXPECT_EQ(ref, (TGeoReference{0, 0, 1, 1, 33, false}));
  tags.PixelScale = {0, 25, 0};  // a zero scale is ignored entirely
  GeoTiffToGeoReference(tags, ref);
  EXPECT_EQ(ref.ScaleY, 1.0);
}

TEST(GeoTiffTags, LongListsAreCutAtTheCapacityAndShortFilesReadZeros) {
  TByteStream stream;
  stream.WriteWord(1);
  stream.WriteWord(1);
  stream.WriteWord(0);
  stream.WriteWord(300);  // claims 300 keys, holds 3
  for (int i = 0; i < 12; ++i) stream.WriteWord(uint16_t(i + 1));
  TGeoTiffTags tags;
  ReadGeoTiffTag(stream.Reader(), tags, kTagGeoKeyDirectory, 1204, 0);
  EXPECT_EQ(tags.NumberOfKeys, 300);
  EXPECT_EQ(tags.KeyEntryCount, kGeoTiffListCapacity);
  EXPECT_EQ(tags.Keys[kGeoTiffListCapacity - 1], (TGeoKeyEntry{}));
  ReadGeoTiffTag(stream.Reader(), tags, kTagModelTiepoint, 6000000, 0);
  EXPECT_EQ(tags.TiePointCount, kGeoTiffListCapacity);
  ReadGeoTiffTag(stream.Reader(), tags, kTagGeoDoubleParams, 0xFFFFFFFF, 0xFFFFFFF0);
  EXPECT_EQ(tags.DoubleCount, kGeoTiffListCapacity);
  EXPECT_EQ(tags.DoubleParams[0], 0.0);
  ReadGeoTiffTag(stream.Reader(), tags, kTagGeoAsciiParams, 0xFFFFFFFF, 30);
  EXPECT_EQ(tags.AsciiParams.size(), stream.Size() - 30);
}

TEST(ProjectedCS, TableRowsAndTheUnknownRule) {
  auto check = [](int32_t code, const char* name, int zone, bool north) {
    const TProjectedCS cs = LookupProjectedCS(code);
    EXPECT_EQ(cs.Name, name) << code;
    EXPECT_EQ(cs.Zone, zone) << code;
    EXPECT_EQ(cs.North, north) << code;
  };
  check(32611, "WGS84 UTM", 11, true);
  check(32760, "WGS84 UTM", 60, false);
  check(32301, "WGS72 UTM", 1, false);
  check(26718, "NAD27 UTM", 18, true);
  check(28464, "Pulkovo Gauss", 4, true);
  check(2263, "Unknow Zone", 3, true);
  check(4326, "Unknow Zone", 26, true);
  EXPECT_EQ(ProjectedCSCode(0, true), -1);
  EXPECT_EQ(ProjectedCSCode(33, false), 32733);
  EXPECT_EQ(ProjectedCSCode(18, true), 32618);

  // A zone never set (0) goes into the file as the key's 16 bits of -1.
  TGeoReference reference;
  ResetGeoReference(reference);
  reference.Zone = 0;
  TGeoTiffTags tags;
  GeoReferenceToGeoTiff(reference, tags);
  EXPECT_EQ(tags.Keys[2].KeyID, 3072);
  EXPECT_EQ(tags.Keys[2].Value_Offset, 65535);
  EXPECT_EQ(tags.PixelScale[2], 1.0);
}

TEST(GeoReference, ShiftAndScale) {
  TGeoReference ref{1000, 2000, 2, 3, 31, true};
  ShiftGeoReference(ref, 10, 20);
  EXPECT_EQ(ref.BaseX, 1020);
  EXPECT_EQ(ref.BaseY, 1940);
  const TGeoReference half = ScaleGeoReference(ref, 100, 60, 50, 30);
  EXPECT_EQ(half.ScaleX, 4);
  EXPECT_EQ(half.ScaleY, 6);
  EXPECT_EQ(half.BaseX, 1020);
  ResetGeoReference(ref);
  EXPECT_EQ(ref, (TGeoReference{0, 0, 1, 1, 31, true}));
}

}  // namespace
}  // namespace quorvane
