#include "geo/scale_dialog.h"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {
constexpr std::array<TScaleUnit, kScaleUnitCount> kScaleUnits = {{
    {"Meters", 1.0, "M"},
    {"kMeters", 0.001, "kM"},
    {"Feet", kFootUnits.FeetPerMetre, "Ft"},
    {"Yards", 1.09361329834, "Yd"},
    {"Miles", 0.000621375053282911, "Mi"},
}};
}  // namespace

const std::array<TScaleUnit, kScaleUnitCount>& ScaleUnits() {
  return kScaleUnits;
}

void TScaleDialogModel::Open(const TMeasureTool& tool, const TGeoReference& reference) {
  unit_factor_ = kScaleUnits[unit_].Factor;
  Load(tool, reference);
  LineSpinChange(LineLength);
}

void TScaleDialogModel::Load(const TMeasureTool& tool, const TGeoReference& reference) {
  const TGeoReference& r = reference;
  BaseX = r.BaseX * unit_factor_;
  BaseY = r.BaseY * unit_factor_;
  ScaleX = r.ScaleX * unit_factor_;
  ScaleY = r.ScaleY * unit_factor_;
  LineLength = real_length_ * unit_factor_;
  line_pixels_ = tool.PathLength();
  SetZone(r.Zone);
  North = r.North;
}

namespace {
// Equal but for the rounding of a trip through the display unit.
bool Near(double a, double b) {
  return std::fabs(a - b) <= 1e-12 * std::max(std::fabs(a), std::fabs(b));
}
}  // namespace

void TScaleDialogModel::Store(TGeoReference& reference) {
  TGeoReference& r = reference;
  const TGeoReference before = r;
  r.BaseX = BaseX / unit_factor_;
  r.BaseY = BaseY / unit_factor_;
  r.ScaleX = ScaleX / unit_factor_;
  r.ScaleY = ScaleY / unit_factor_;
  real_length_ = LineLength / unit_factor_;
  r.Zone = Zone;
  r.North = North;
  // A grid typed by hand replaces what the file said about its raster; a
  // zone or hemisphere chosen by hand replaces the file's system by that
  // WGS 84 UTM zone.
  if (!Near(r.BaseX, before.BaseX) || !Near(r.BaseY, before.BaseY) ||
      !Near(r.ScaleX, before.ScaleX) || !Near(r.ScaleY, before.ScaleY)) {
    r.Matrix.reset();
    r.ControlPoints.clear();
    r.BaseI = r.BaseJ = 0.0;
  }
  if (r.Zone != before.Zone || r.North != before.North) r.System.reset();
}

void TScaleDialogModel::ImageRadioClick(const TMeasureTool& tool, const TGeoReference& reference) {
  Load(tool, reference);
  // The other image has its own line: the scale follows it even when the
  // real length stays the same.
  LineSpinChange(LineLength);
}

void TScaleDialogModel::UnitsRadioClick(int unit) {
  if (unit < 0 || unit >= kScaleUnitCount) return;
  const double back_to_metres = 1 / unit_factor_;
  unit_ = unit;
  unit_factor_ = kScaleUnits[unit].Factor;
  for (double* field : {&BaseX, &BaseY, &ScaleX, &ScaleY, &LineLength}) {
    *field = *field * back_to_metres;
    *field = *field * unit_factor_;
  }
  LineSpinChange(LineLength);
}

void TScaleDialogModel::LineSpinChange(double line_length) {
  LineLength = line_length;
  // Without a measured line there is nothing to divide by.
  line_scale_ = line_pixels_ != 0 ? LineLength / line_pixels_ : 1.0;
}

void TScaleDialogModel::SetZone(int64_t zone) {
  Zone = int32_t(std::clamp<int64_t>(zone, kMinZone, kMaxZone));
}

std::string TScaleDialogModel::PixelsText(const TNumberFormat& format) const {
  return FormatFixed(line_pixels_, 0, format);
}

std::string TScaleDialogModel::LineScaleText(const TNumberFormat& format) const {
  return FormatFixed(line_scale_, 3, format);
}

std::string TScaleDialogModel::FieldText(double value, const TNumberFormat& format) {
  return FormatGeneral(value, format);
}

}  // namespace quorvane
