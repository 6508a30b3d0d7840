#include "anytiff/any_tiff_fields.h"

#include <algorithm>
#include <cstring>

namespace quorvane {

namespace {

// A tag's values as libtiff hands them out: a pointer to `Count` elements of
// the field's storage type.
struct TRawValues {
  // Kept as a number: a damaged file can give a field a type no enumerator
  // names, and such a value must not be held in the enumeration.
  int Type = TIFF_NOTYPE;
  int ElementSize = 0;
  uint64_t Count = 0;
  const void* Data = nullptr;
};

std::optional<TRawValues> RawValues(TIFF* tiff, uint32_t tag) {
  // TIFFFindField, unlike TIFFFieldWithTag, reports nothing for a tag the
  // directory lacks.
  const TIFFField* field = TIFFFindField(tiff, tag, TIFF_ANY);
  if (!field) return std::nullopt;
  TRawValues raw;
  raw.Type = int(TIFFFieldDataType(field));
  raw.ElementSize = TIFFFieldSetGetSize(field);
  void* data = nullptr;
  switch (TIFFFieldSetGetCountSize(field)) {
    case 2: {
      uint16_t count = 0;
      if (!TIFFGetField(tiff, tag, &count, &data)) return std::nullopt;
      raw.Count = count;
      break;
    }
    case 4: {
      uint32_t count = 0;
      if (!TIFFGetField(tiff, tag, &count, &data)) return std::nullopt;
      raw.Count = count;
      break;
    }
    default:
      // Only text fields are fetched without a count here; anything else of
      // fixed count is a tag this reader does not ask for.
      if (raw.Type != TIFF_ASCII) return std::nullopt;
      if (!TIFFGetField(tiff, tag, &data) || !data) return std::nullopt;
      raw.Count = std::strlen(static_cast<const char*>(data)) + 1;
      break;
  }
  if (!data) raw.Count = 0;
  raw.Data = data;
  return raw;
}

template <typename T>
double Element(const void* data, size_t i) {
  T value;
  std::memcpy(&value, static_cast<const uint8_t*>(data) + i * sizeof(T), sizeof(T));
  return double(value);
}

// One element by the field's data type and the width libtiff stores it at
// (rationals are kept as float or double depending on the tag).
std::optional<double> NumericElement(const TRawValues& raw, size_t i) {
  switch (raw.Type) {
    case TIFF_BYTE:
    case TIFF_UNDEFINED:
      return Element<uint8_t>(raw.Data, i);
    case TIFF_SBYTE:
      return Element<int8_t>(raw.Data, i);
    case TIFF_SHORT:
      return Element<uint16_t>(raw.Data, i);
    case TIFF_SSHORT:
      return Element<int16_t>(raw.Data, i);
    case TIFF_LONG:
    case TIFF_IFD:
      return Element<uint32_t>(raw.Data, i);
    case TIFF_SLONG:
      return Element<int32_t>(raw.Data, i);
    case TIFF_LONG8:
    case TIFF_IFD8:
      return Element<uint64_t>(raw.Data, i);
    case TIFF_SLONG8:
      return Element<int64_t>(raw.Data, i);
    case TIFF_FLOAT:
    case TIFF_RATIONAL:
    case TIFF_SRATIONAL:
    case TIFF_DOUBLE:
      if (raw.ElementSize == 8) return Element<double>(raw.Data, i);
      if (raw.ElementSize == 4) return Element<float>(raw.Data, i);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::vector<double> NumericTagValues(TIFF* tiff, uint32_t tag, size_t most) {
  std::vector<double> values;
  const std::optional<TRawValues> raw = RawValues(tiff, tag);
  if (!raw || !raw->Data) return values;
  const size_t count = size_t(std::min<uint64_t>(raw->Count, most));
  values.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const std::optional<double> v = NumericElement(*raw, i);
    if (!v) return {};
    values.push_back(*v);
  }
  return values;
}

std::optional<std::string> TextTagValue(TIFF* tiff, uint32_t tag) {
  const std::optional<TRawValues> raw = RawValues(tiff, tag);
  if (!raw) return std::nullopt;
  if (raw->Type != TIFF_ASCII && raw->Type != TIFF_BYTE && raw->Type != TIFF_UNDEFINED &&
      raw->Type != TIFF_SBYTE)
    return std::nullopt;
  if (!raw->Data || raw->ElementSize > 1) return std::string();
  return std::string(static_cast<const char*>(raw->Data), size_t(raw->Count));
}

}  // namespace quorvane
