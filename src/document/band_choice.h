#pragma once
// The View menu's "&Bands...": which bands of a measurement file (an
// elevation model, a multiband scene) the extended reader shows as red, green
// and blue or as one grey, and the stretch that brings them to 8 bits. The
// choice lasts for the session and applies to every later open; a new choice
// re-reads the samples of the source file through the reader that opened it,
// without opening the file again. The source's georeference and the file's
// tags stay as they are.
#include <cstdint>
#include <string>
#include <vector>

#include "anytiff/any_tiff_display.h"
#include "document/document.h"

namespace quorvane {

// Whether the source pane holds a picture of the file it was read from that
// the choice applies to.
bool CanChooseBands(const TDocument& document);

// One line of the dialog's band table.
struct TBandRowTexts {
  std::string Name;  // "Band 1"
  std::string Min;   // "393.25", "" not known yet, "none" no valid sample
  std::string Max;
  std::string NoData;  // "-9999", "none"
};
std::vector<TBandRowTexts> BandRowTexts(const TDocument& document);

// The choice the source is shown with: its bands and stretch.
TAnyTiffDisplay ShownChoice(const TDocument& document);

// Shows the source again with `display` and remembers the choice for the
// session. Throws what the reader throws; the source then stays as it was.
TSourceTexts ApplyBandChoice(TDocument& document, const TAnyTiffDisplay& display,
                             uint64_t max_picture_bytes = 0);

}  // namespace quorvane
