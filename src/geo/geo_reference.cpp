#include "geo/geo_reference.h"

namespace quorvane {

void ResetGeoReference(TGeoReference& reference) {
  reference.BaseX = 0.0;
  reference.BaseY = 0.0;
  reference.ScaleX = 1.0;
  reference.ScaleY = 1.0;
}

TMapPoint PixelToMap(const TGeoReference& reference, double x, double y) {
  return {x * reference.ScaleX + reference.BaseX, reference.BaseY - y * reference.ScaleY};
}

void ShiftGeoReference(TGeoReference& reference, int left, int top) {
  reference.BaseX = reference.BaseX + left * reference.ScaleX;
  reference.BaseY = reference.BaseY - top * reference.ScaleY;
}

TGeoReference ScaleGeoReference(const TGeoReference& source, int source_width, int source_height,
                                int destination_width, int destination_height) {
  TGeoReference destination = source;
  destination.ScaleX = source.ScaleX / (double(destination_width) / double(source_width));
  destination.ScaleY = source.ScaleY / (double(destination_height) / double(source_height));
  return destination;
}

int32_t ProjectedCSCode(int32_t zone, bool north) {
  if (zone <= 0) return -1;
  return (north ? 32600 : 32700) + zone;
}

}  // namespace quorvane
