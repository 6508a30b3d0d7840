#include "geo/geokey_set.h"

#include <algorithm>

namespace quorvane {

const TGeoKeyEntry* TGeoKeySet::Find(uint16_t id) const {
  // The last of several keys with one number wins, as in the georeference.
  for (auto key = Keys.rbegin(); key != Keys.rend(); ++key) {
    if (key->KeyID == id) return &*key;
  }
  return nullptr;
}

std::optional<uint16_t> TGeoKeySet::Short(uint16_t id) const {
  const TGeoKeyEntry* key = Find(id);
  if (!key || key->TIFFTagLocation != 0) return std::nullopt;
  return key->Value_Offset;
}

std::optional<uint16_t> TGeoKeySet::Code(uint16_t id) const {
  const std::optional<uint16_t> value = Short(id);
  if (!value || *value == 0 || *value == kUserDefined) return std::nullopt;
  return value;
}

std::optional<double> TGeoKeySet::Double(uint16_t id) const {
  const TGeoKeyEntry* key = Find(id);
  if (!key || key->TIFFTagLocation != kTagGeoDoubleParams) return std::nullopt;
  if (key->Value_Offset >= Doubles.size()) return std::nullopt;
  return Doubles[key->Value_Offset];
}

std::optional<std::string> TGeoKeySet::Text(uint16_t id) const {
  const TGeoKeyEntry* key = Find(id);
  if (!key || key->TIFFTagLocation != kTagGeoAsciiParams) return std::nullopt;
  if (key->Value_Offset >= Ascii.size()) return std::nullopt;
  std::string text = Ascii.substr(key->Value_Offset, key->Count);
  while (!text.empty() && (text.back() == '|' || text.back() == '\0')) text.pop_back();
  return text;
}

TGeoKeySet GeoKeysOf(const TGeoTiffTags& tags) {
  TGeoKeySet set;
  set.Version = tags.KeyDirectoryVersion;
  set.Revision = tags.KeyRevision;
  set.MinorRevision = tags.MinorRevision;
  const std::span<const TGeoKeyEntry> keys = HeldGeoKeys(tags);
  set.Keys.assign(keys.begin(), keys.end());
  const int doubles = std::clamp<int>(tags.DoubleCount, 0, kGeoTiffListCapacity);
  set.Doubles.assign(tags.DoubleParams.begin(), tags.DoubleParams.begin() + doubles);
  // The payload's own closing NUL comes back from the writer.
  set.Ascii = tags.AsciiParams;
  if (!set.Ascii.empty() && set.Ascii.back() == '\0') set.Ascii.pop_back();
  return set;
}

void PutGeoKeys(const TGeoKeySet& set, TGeoTiffTags& tags) {
  tags.KeyDirectoryVersion = set.Version;
  tags.KeyRevision = set.Revision;
  tags.MinorRevision = set.MinorRevision;
  const size_t keys = std::min<size_t>(set.Keys.size(), kGeoTiffListCapacity);
  std::copy_n(set.Keys.begin(), keys, tags.Keys.begin());
  tags.KeyEntryCount = int32_t(keys);
  tags.NumberOfKeys = uint16_t(keys);
  const size_t doubles = std::min<size_t>(set.Doubles.size(), kGeoTiffListCapacity);
  std::copy_n(set.Doubles.begin(), doubles, tags.DoubleParams.begin());
  tags.DoubleCount = int32_t(doubles);
  tags.AsciiParams = set.Ascii;
}

}  // namespace quorvane
