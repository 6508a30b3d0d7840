#include "imaging/resample_filters.h"

#include <cmath>
#include <numbers>

namespace quorvane {

namespace {

// Box is open at -0.5 and closed at +0.5, so a sample exactly halfway between
// two pixels takes the one with the lower index.
float BoxFilter(float x) {
  return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f;
}

float TriangleFilter(float x) {
  const double t = std::fabs(double(x));
  return t < 1.0 ? float(1.0 - t) : 0.0f;
}

float HermiteFilter(float x) {
  const double t = std::fabs(double(x));
  return t < 1.0 ? float((2.0 * t - 3.0) * t * t + 1.0) : 0.0f;
}

float BellFilter(float x) {
  const double t = std::fabs(double(x));
  if (t < 0.5) return float(0.75 - t * t);
  if (t < 1.5) return float(0.5 * (t - 1.5) * (t - 1.5));
  return 0.0f;
}

float BSplineFilter(float x) {
  const double t = std::fabs(double(x));
  if (t < 1.0) return float(0.5 * t * t * t - t * t + 2.0 / 3.0);
  if (t < 2.0) {
    const double u = 2.0 - t;
    return float(u * u * u / 6.0);
  }
  return 0.0f;
}

// The Mitchell-Netravali cubic with B = C = 1/3, coefficients as exact
// fractions.
float MitchellFilter(float x) {
  const double t = std::fabs(double(x));
  const double t2 = t * t;
  if (t < 1.0) return float((7.0 * t2 * t - 12.0 * t2 + 16.0 / 3.0) / 6.0);
  if (t < 2.0) return float((-(7.0 / 3.0) * t2 * t + 12.0 * t2 - 20.0 * t + 32.0 / 3.0) / 6.0);
  return 0.0f;
}

float Lanczos3Filter(float x) {
  const float t = std::fabs(x);
  if (t < 3.0f) return Sinc(t) * Sinc(t / 3.0f);
  return 0.0f;
}

}  // namespace

float Sinc(float x) {
  if (x == 0.0f) return 1.0f;
  const float u = float(std::numbers::pi * double(x));
  return float(std::sin(double(u)) / double(u));
}

const std::array<TFilterFunction, kResampleFilterCount> ResampleFilters = {{
    {"Box", BoxFilter, 0.5f},
    {"Triangle", TriangleFilter, 1.0f},
    {"Hermite", HermiteFilter, 1.0f},
    {"Bell", BellFilter, 1.5f},
    {"B-Spline", BSplineFilter, 2.0f},
    {"Mitchell", MitchellFilter, 2.0f},
    {"Lanczos3", Lanczos3Filter, 3.0f},
}};

}  // namespace quorvane
