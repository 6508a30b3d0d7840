#include "document/clipboard.h"

#include "raster/error.h"

namespace quorvane {

TSourceTexts PasteSource(TDocument& document, const TRasterBitmap* clipboard) {
  document.HideBox();
  if (clipboard == nullptr)
    throw EQuorvaneError(kUnsupportedClipboardFormat, TErrorKind::Unsupported);
  document.Source.Picture = *clipboard;
  // The grid stays for the new picture, but what a file said about its own
  // pixels does not describe a pasted one.
  ForgetFileGeoreference(document.Source.GeoReference());
  return document.SourceChanged();
}

TRasterBitmap CopySource(const TDocument& document) {
  document.HideBox();
  return document.OutputPicture(document.Source).Get();
}

TRasterBitmap CopyDestination(const TDocument& document) {
  return document.OutputPicture(document.Destination).Get();
}

}  // namespace quorvane
