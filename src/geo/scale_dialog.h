#pragma once
// The arithmetic of the scale/coordinates dialog: the fields in display
// units, the unit switch, and the pixel size derived from a measured line of
// known real length. The dialog window shows these values and forwards its
// events here; one model lives as long as the dialog, so the unit choice and
// the real length persist between openings.
#include <array>
#include <cstdint>
#include <string>

#include "geo/geo_format.h"
#include "geo/measure_tool.h"

namespace quorvane {

struct TScaleUnit {
  const char* Item;  // item text of the "Length Units" choice
  double Factor;     // display units per metre
  const char* Text;  // unit text of the fields
};
constexpr int kScaleUnitCount = 5;
const std::array<TScaleUnit, kScaleUnitCount>& ScaleUnits();

constexpr int32_t kMinZone = 1;
constexpr int32_t kMaxZone = 60;

class TScaleDialogModel {
 public:
  // The five real fields, in display units.
  double BaseX = 0.0, BaseY = 0.0;
  double ScaleX = 0.0, ScaleY = 0.0;
  double LineLength = 0.0;  // the real length of the measured line
  int32_t Zone = 31;
  // The hemisphere as the georeference holds it; the hemisphere button is
  // down when this is false.
  bool North = true;

  // Opening: fields from the image's georeference in the chosen unit, the
  // line from its measuring tool, scale recomputed.
  void Open(const TMeasureTool& tool, const TGeoReference& reference);
  void Load(const TMeasureTool& tool, const TGeoReference& reference);
  // What OK does; Cancel simply does not call it.
  void Store(TGeoReference& reference);

  // The image choice changed: the fields show the other image's record.
  void ImageRadioClick(const TMeasureTool& tool, const TGeoReference& reference);
  // Switches the display unit, converting the five fields.
  void UnitsRadioClick(int unit);
  // The real length changed (typed or set); recomputes the line scale.
  void LineSpinChange(double line_length);
  void UseEastBtnClick() { ScaleX = line_scale_; }
  void UseNorthBtnClick() { ScaleY = line_scale_; }
  void UseBothBtnClick() { ScaleX = ScaleY = line_scale_; }
  // The zone field keeps its value within 1 to 60.
  void SetZone(int64_t zone);

  int Unit() const { return unit_; }
  double UnitFactor() const { return unit_factor_; }
  const char* UnitText() const { return ScaleUnits()[unit_].Text; }
  double RealLength() const { return real_length_; }
  double LinePixels() const { return line_pixels_; }
  double LineScale() const { return line_scale_; }

  std::string PixelsText(const TNumberFormat& format = {}) const;     // 0 decimals
  std::string LineScaleText(const TNumberFormat& format = {}) const;  // 3 decimals
  // A real field's text: its value in general format.
  static std::string FieldText(double value, const TNumberFormat& format = {});

 private:
  int unit_ = 0;
  double unit_factor_ = 1.0;
  double real_length_ = 1.0;  // metres, as last confirmed with OK
  double line_pixels_ = 0.0;
  double line_scale_ = 1.0;
};

}  // namespace quorvane
