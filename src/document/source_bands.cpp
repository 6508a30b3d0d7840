#include "document/source_bands.h"

#include <algorithm>

namespace quorvane {

void TSourceBands::Learn(const TReaderReport& reader) {
  Known.resize(size_t(std::max(reader.SamplesPerPixel, 0)));
  for (const TBandSummary& band : reader.Bands)
    if (band.Band >= 0 && size_t(band.Band) < Known.size()) Known[size_t(band.Band)] = band;
  Reader = reader;
}

}  // namespace quorvane
