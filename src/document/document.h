#pragma once
// What the main window owns for a whole run, without its widgets: the two
// panes with their pictures and georeferences, the base copy of the last
// resize for tone adjustment, the sizing state, the GeoTIFF tags last read
// and their report, and the caption. The window's commands are operations
// on it (open_image.h, save_pane.h, clipboard.h, stretch.h, crop.h,
// tone_page.h, measure_page.h); each returns the texts the window shows, and
// none shows anything itself.
#include <functional>
#include <string>
#include <vector>

#include "document/pane.h"
#include "document/readouts.h"
#include "document/sizing_state.h"
#include "document/source_bands.h"
#include "raster/bitmap.h"
#include "raster/geotiff_tags.h"
#include "raster/rect.h"

namespace quorvane {

// What the document asks of the selection box that the window draws into
// the source picture. Either may be left empty (batch use has no box).
struct TSelectionHooks {
  // Erases the box from the source picture before the picture is read or
  // replaced.
  std::function<void()> HideBox;
  // The box takes this rectangle; a new source picture gets the empty one.
  std::function<void(const TRect&)> SetBox;
};

// The readouts that follow the source picture.
struct TSourceTexts {
  std::string SourceSize;  // DimenDis
  TNewSizeTexts NewSize;   // ImageSizeDis, IncUnitsDis, PercentDis
  std::string Box;         // BoxDis
};

struct TDocumentOptions {
  // Panes keep clean copies to erase overlays from; batch use draws none.
  bool KeepCleanCopies = true;
};

class TDocument {
 public:
  // The source pane starts with `startup_picture` and SourceChanged has run
  // for it; both georeferences are reset (origin 0, 0, scale 1, 1, zone 0,
  // south). A window calls SourceChanged once more after attaching its
  // selection hooks, for the start-up readouts.
  explicit TDocument(TRasterBitmap startup_picture = {}, const TDocumentOptions& options = {});

  TPane Source;
  TPane Destination;
  // The last resize result before tone adjustment; empty until the first.
  TRasterBitmap ToneBase;
  TSizingState Sizing;
  // The tags of the file last opened and the information text built from
  // them; saving does not change either.
  TGeoTiffTags GeoTiffTags;
  std::vector<std::string> Report;
  // "Quorvane" until the first successful open.
  std::string Caption = kProgramTitle;
  TSelectionHooks Selection;
  // How the extended reader shows measurements, for every open of the
  // session (the window's "&Bands..." changes it), and what the source's
  // file offers to that choice: nothing once the source is pasted, cropped
  // or read by another reader.
  TAnyTiffDisplay Display{.BandsRequired = false};
  TSourceBands SourceBands;
  // The Measure page is the active page: the measuring polylines shown
  // there are part of the pictures saved, copied and printed. Elsewhere a
  // polyline (clicked on the Tools page) is a tool only.
  bool MeasurePageActive = false;

  // Everything that depends on the source picture after a load, a paste or
  // a crop: sizing restarted from its size, the selection emptied, a new
  // clean copy taken at once. Callers hide the box before they replace the
  // picture, so the copy never holds it.
  TSourceTexts SourceChanged();
  // What saving, copying and printing take from a pane: its clean picture,
  // with the polyline where it is part of the picture; never the box.
  TOutputPicture OutputPicture(const TPane& pane) const {
    return pane.OutputPicture(MeasurePageActive);
  }
  // "Reset" of the Resize page: sizing from the source picture again.
  TNewSizeTexts ResetSizing();

  void HideBox() const;
};

}  // namespace quorvane
