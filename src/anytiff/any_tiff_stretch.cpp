#include "anytiff/any_tiff_stretch.h"

#include <charconv>
#include <cstring>

namespace quorvane {

namespace {

std::optional<double> ParseNumber(const std::string& text) {
  size_t begin = 0, end = text.size();
  // Trailing NULs and spaces, a leading plus: from_chars takes neither.
  while (end > begin && (text[end - 1] == '\0' || std::strchr(" \t\r\n", text[end - 1]))) --end;
  while (begin < end && std::strchr(" \t\r\n", text[begin])) ++begin;
  if (begin < end && text[begin] == '+') ++begin;
  if (begin == end) return std::nullopt;
  double value = 0;
  const auto [stop, error] = std::from_chars(text.data() + begin, text.data() + end, value);
  if (error != std::errc() || stop != text.data() + end) return std::nullopt;
  return value;
}

// Integer types hold only whole values within their width.
bool FitsInteger(double value, TSampleType type) {
  if (value != std::floor(value)) return false;
  if (type.Bits >= 64) return true;
  if (type.Kind == TSampleKind::Unsigned)
    return value >= 0 && value <= std::ldexp(1.0, type.Bits) - 1;
  const double half = std::ldexp(1.0, type.Bits - 1);
  return value >= -half && value <= half - 1;
}

}  // namespace

TNoData ParseNoData(const std::optional<std::string>& text, TSampleType type) {
  TNoData nodata;
  if (!text) return nodata;
  const std::optional<double> value = ParseNumber(*text);
  // NaN and infinities are never valid anyway.
  if (!value || !std::isfinite(*value)) return nodata;
  if (type.Kind == TSampleKind::Float) {
    // The file stores the value at the samples' precision.
    nodata.Value = type.Bits == 64 ? *value : double(float(*value));
    nodata.Set = true;
  } else if (FitsInteger(*value, type)) {
    nodata.Value = *value;
    nodata.Set = true;
  }
  return nodata;
}

TStretch::TStretch(const TBandRange& range) {
  if (range.Empty()) return;
  min_ = range.Min();
  if (range.Max() == range.Min()) return;
  span_ = range.Max() - range.Min();
  if (!std::isfinite(span_)) {
    form_ = TForm::Halved;
    scale_ = 255.0 / (range.Max() * 0.5 - range.Min() * 0.5);
    return;
  }
  scale_ = 255.0 / span_;
  form_ = std::isfinite(scale_) ? TForm::Scaled : TForm::Divided;
}

}  // namespace quorvane
