#pragma once
// What the source's file offers to the choice of bands and stretch (see
// band_choice.h): the extended reader's report with the file it keeps open,
// and what each band held once shown.
#include <optional>
#include <vector>

#include "anytiff/any_tiff_display.h"
#include "io/extended_tiff_route.h"

namespace quorvane {

// What the source's file offers to choose from.
struct TSourceBands {
  TReaderReport Reader;  // of the open that read it, holding the open file
  // Each band's summary once it has been shown (a band's range does not
  // depend on the stretch), nothing for bands not shown yet.
  std::vector<std::optional<TBandSummary>> Known;
  void Learn(const TReaderReport& reader);
};

}  // namespace quorvane
