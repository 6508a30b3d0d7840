#include "document/document.h"

#include <utility>

#include "geo/geo_reference.h"

namespace quorvane {

TDocument::TDocument(TRasterBitmap startup_picture, const TDocumentOptions& options)
    : Source(options.KeepCleanCopies ? TCleanCopyTaking::AtOnce : TCleanCopyTaking::Never),
      Destination(options.KeepCleanCopies ? TCleanCopyTaking::WhenFirstDrawn
                                          : TCleanCopyTaking::Never) {
  Source.Picture = std::move(startup_picture);
  SourceChanged();
  ResetGeoReference(Source.GeoReference());
  ResetGeoReference(Destination.GeoReference());
}

TSourceTexts TDocument::SourceChanged() {
  SourceBands = {};
  Sizing.ResetSizing(Source.Picture.Width(), Source.Picture.Height());
  TSourceTexts texts;
  texts.SourceSize = SourceSizeText(Source.Picture);
  texts.NewSize = Sizing.UpdateNewSize();
  const TRect empty{};
  if (Selection.SetBox) Selection.SetBox(empty);
  Source.Snapshot();
  texts.Box = BoxReadoutText(empty);
  return texts;
}

TNewSizeTexts TDocument::ResetSizing() {
  Sizing.ResetSizing(Source.Picture.Width(), Source.Picture.Height());
  return Sizing.UpdateNewSize();
}

void TDocument::HideBox() const {
  if (Selection.HideBox) Selection.HideBox();
}

}  // namespace quorvane
