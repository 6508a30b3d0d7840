#pragma once
// Length units shared by the codecs (resolutions in dots per inch) and the
// georeference readouts.
namespace quorvane {

// The international inch, exactly 0.0254 m.
constexpr double kMetresPerInch = 0.0254;
constexpr double kInchesPerMetre = 1.0 / kMetresPerInch;

}  // namespace quorvane
