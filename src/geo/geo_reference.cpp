#include "geo/geo_reference.h"

namespace quorvane {

void ResetGeoReference(TGeoReference& reference) {
  reference.BaseX = 0.0;
  reference.BaseY = 0.0;
  reference.ScaleX = 1.0;
  reference.ScaleY = 1.0;
  ForgetFileGeoreference(reference);
}

void ForgetFileGeoreference(TGeoReference& reference) {
  reference.System.reset();
  reference.Matrix.reset();
  reference.BaseI = reference.BaseJ = 0.0;
  reference.ControlPoints.clear();
  reference.PixelIsPoint = false;
}

TMapPoint PixelToMap(const TGeoReference& reference, double x, double y) {
  if (const std::optional<TAffine>& m = reference.Matrix) {
    return {m->A * x + m->B * y + m->C, m->D * x + m->E * y + m->F};
  }
  return {x * reference.ScaleX + reference.BaseX, reference.BaseY - y * reference.ScaleY};
}

void ShiftGeoReference(TGeoReference& reference, int left, int top) {
  reference.BaseX = reference.BaseX + left * reference.ScaleX;
  reference.BaseY = reference.BaseY - top * reference.ScaleY;
  if (std::optional<TAffine>& m = reference.Matrix) {
    m->C += m->A * left + m->B * top;
    m->F += m->D * left + m->E * top;
  }
  for (TTiePoint& point : reference.ControlPoints) {
    point.I -= left;
    point.J -= top;
  }
}

TGeoReference ScaleGeoReference(const TGeoReference& source, int source_width, int source_height,
                                int destination_width, int destination_height) {
  TGeoReference destination = source;
  destination.ScaleX = source.ScaleX / (double(destination_width) / double(source_width));
  destination.ScaleY = source.ScaleY / (double(destination_height) / double(source_height));
  // A destination position x stands for source position x * rx (+ ox when
  // positions name pixel centres, whose grid shifts as the pixels grow).
  const double rx = double(source_width) / double(destination_width);
  const double ry = double(source_height) / double(destination_height);
  const double ox = source.PixelIsPoint ? 0.5 * (rx - 1) : 0.0;
  const double oy = source.PixelIsPoint ? 0.5 * (ry - 1) : 0.0;
  if (source.PixelIsPoint) {
    destination.BaseX = source.BaseX + source.ScaleX * ox;
    destination.BaseY = source.BaseY - source.ScaleY * oy;
  }
  if (const std::optional<TAffine>& m = source.Matrix) {
    destination.Matrix = TAffine{m->A * rx, m->B * ry, m->C + m->A * ox + m->B * oy,
                                 m->D * rx, m->E * ry, m->F + m->D * ox + m->E * oy};
  }
  if (source.BaseI != 0 || source.BaseJ != 0) {
    destination.BaseI = source.BaseI / rx;
    destination.BaseJ = source.BaseJ / ry;
  }
  for (TTiePoint& point : destination.ControlPoints) {
    point.I = (point.I - ox) / rx;
    point.J = (point.J - oy) / ry;
  }
  return destination;
}

int32_t ProjectedCSCode(int32_t zone, bool north) {
  if (zone <= 0) return -1;
  return (north ? 32600 : 32700) + zone;
}

}  // namespace quorvane
