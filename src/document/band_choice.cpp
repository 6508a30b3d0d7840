#include "document/band_choice.h"

#include <memory>

#include "raster/error.h"
#include "raster/number_text.h"

namespace quorvane {

bool CanChooseBands(const TDocument& document) {
  return document.SourceBands.Reader.BandChoice && document.SourceBands.Reader.Source;
}

std::vector<TBandRowTexts> BandRowTexts(const TDocument& document) {
  const TSourceBands& bands = document.SourceBands;
  const std::optional<double>& nodata = bands.Reader.NoData;
  std::vector<TBandRowTexts> rows;
  for (size_t b = 0; b < bands.Known.size(); ++b) {
    TBandRowTexts row;
    row.Name = "Band " + std::to_string(b + 1);
    if (const std::optional<TBandSummary>& known = bands.Known[b]) {
      row.Min = known->Empty ? "none" : FormatGeneral(known->Min);
      row.Max = known->Empty ? "none" : FormatGeneral(known->Max);
    }
    row.NoData = nodata ? FormatGeneral(*nodata) : "none";
    rows.push_back(row);
  }
  return rows;
}

TAnyTiffDisplay ShownChoice(const TDocument& document) {
  const TReaderReport& reader = document.SourceBands.Reader;
  return {.Stretch = reader.Display.Stretch, .Bands = reader.ShownBands};
}

TSourceTexts ApplyBandChoice(TDocument& document, const TAnyTiffDisplay& display,
                             uint64_t max_picture_bytes) {
  if (!CanChooseBands(document)) throw EQuorvaneError("No Bands To Choose");
  TReaderReport reader = document.SourceBands.Reader;
  std::unique_ptr<TRasterBitmap> picture = RenderAnyTiff(reader, display, max_picture_bytes);
  TSourceBands bands = document.SourceBands;
  bands.Learn(reader);
  document.HideBox();
  document.Source.Picture = std::move(*picture);
  TSourceTexts texts = document.SourceChanged();
  document.SourceBands = std::move(bands);
  document.Display = display;
  document.Display.BandsRequired = false;
  return texts;
}

}  // namespace quorvane
