#include "document/paste_source.h"

#include "raster/error.h"

namespace quorvane {

TSourceTexts PasteSource(TDocument& document, const TRasterBitmap* clipboard) {
  document.HideBox();
  if (clipboard == nullptr) throw EQuorvaneError(kUnsupportedClipboardFormat);
  document.Source.Picture = *clipboard;
  return document.SourceChanged();
}

}  // namespace quorvane
