// One drag step of the selection box on an 8000 x 6000 24-bit picture: the
// bands under the old box put back, the new bands saved and the box drawn.
// The window's target is well under 5 ms per step; the figure to read is the
// median of the repetitions.
#include <benchmark/benchmark.h>

#include "imaging/selection_box.h"

namespace {

using quorvane::TDrawingSurface;
using quorvane::TPixelFormat;
using quorvane::TRasterBitmap;
using quorvane::TSelectionBox;
using quorvane::TSurfaceKind;

constexpr int kWidth = 8000, kHeight = 6000;

TRasterBitmap& Picture() {
  static TRasterBitmap picture = [] {
    TRasterBitmap bitmap;
    bitmap.Reset(TPixelFormat::Bit24, kWidth, kHeight);
    for (size_t i = 0; i < bitmap.Stride() * kHeight; ++i)
      bitmap.Bits()[i] = uint8_t(i * 13 + i / 977);
    return bitmap;
  }();
  return picture;
}

// A shown box from (left, top) to (right, bottom), held by `grip` and
// dragged one pixel back and forth per step.
void DragSteps(benchmark::State& state, quorvane::TRect box, quorvane::TPoint grip) {
  TRasterBitmap& picture = Picture();
  const TDrawingSurface surface{TSurfaceKind::ImageControl, &picture, {0, 0, kWidth, kHeight}};
  TSelectionBox selection;
  selection.SetDrawingSurface(&surface);
  selection.SetBox(box.Left, box.Top, box.Right, box.Bottom);
  selection.ShowBox();
  selection.BoxMouseDown(grip.X, grip.Y);
  int step = 0;
  for (auto _ : state) {
    const int offset = (step++ & 1) ? 0 : 1;
    auto event = selection.BoxMouseMove(grip.X + offset, grip.Y + offset);
    benchmark::DoNotOptimize(event);
  }
  selection.BoxMouseUp();
  selection.HideBox();
}

// The largest box: its edges run along the whole picture.
void BM_ResizeNearlyWholePicture(benchmark::State& state) {
  DragSteps(state, {10, 10, kWidth - 10, kHeight - 10}, {kWidth - 10, kHeight - 10});
}
BENCHMARK(BM_ResizeNearlyWholePicture)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_MoveHalfPictureBox(benchmark::State& state) {
  DragSteps(state, {2000, 1500, 6000, 4500}, {4000, 3000});
}
BENCHMARK(BM_MoveHalfPictureBox)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
