// The Resize page in the window, on Qt's offscreen platform, with an
// 8000 x 6000 24-bit source:
//  - one drag step of the selection box as the window runs it: the bands
//    put back, the box drawn, the changed rectangles repainted (goal: at
//    most 5 ms median);
//  - Stretch to 50 % with "Sharp" as the window runs it (copy, progress
//    window, resampling, tone base, repaint) against the document's
//    resampling alone on the same picture (goal: at most 1.1 times).
// Read the medians of the repetitions.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "app/dialogs.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/resize_workflow.h"
#include "app/source_box.h"
#include "document/resize_driver.h"
#include "document/stretch.h"

namespace {

using namespace quorvane;

constexpr int kWidth = 8000, kHeight = 6000;

TRasterBitmap MakePicture() {
  TRasterBitmap bitmap;
  bitmap.Reset(TPixelFormat::Bit24, kWidth, kHeight);
  for (size_t i = 0; i < bitmap.Stride() * kHeight; ++i)
    bitmap.Bits()[i] = uint8_t(i * 13 + i / 977);
  return bitmap;
}

const TRasterBitmap& Picture() {
  static const TRasterBitmap picture = MakePicture();
  return picture;
}

// A picture in a scroll area the size of a large window's source pane,
// scrolled so that `grip` is in view, with a shown box held at `grip` and
// dragged one pixel back and forth per step.
void DragSteps(benchmark::State& state, TRect box, TPoint grip) {
  TRasterBitmap picture = Picture();
  QScrollArea scroll;
  auto* view = new TImageEx;
  view->SetPicture(&picture);
  scroll.setWidget(view);
  scroll.resize(1200, 800);
  scroll.show();
  if (!QTest::qWaitForWindowExposed(&scroll)) state.SkipWithError("no offscreen window");
  scroll.horizontalScrollBar()->setValue(grip.X - 600);
  scroll.verticalScrollBar()->setValue(grip.Y - 400);
  QLabel readout;
  TSourceBox selection(view, &scroll, &readout);
  selection.SetPicture(&picture);
  selection.SetBox(box);
  selection.ShowBox();
  selection.BoxMouseDown(grip.X, grip.Y);
  QCoreApplication::processEvents();
  int step = 0;
  for (auto _ : state) {
    const int offset = (step++ & 1) ? 0 : 1;
    selection.BoxMouseMove(grip.X + offset, grip.Y + offset);
    selection.ShowBoxReadout();
    QCoreApplication::processEvents();  // the repaint
  }
  selection.BoxMouseUp();
}

void BM_WindowDragNearlyWholePicture(benchmark::State& state) {
  DragSteps(state, {10, 10, kWidth - 10, kHeight - 10}, {kWidth - 10, kHeight - 10});
}
BENCHMARK(BM_WindowDragNearlyWholePicture)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_WindowDragBoxInView(benchmark::State& state) {
  DragSteps(state, {3000, 2000, 3900, 2700}, {3900, 2700});
}
BENCHMARK(BM_WindowDragBoxInView)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// The resampling the stretch is built on, from the same source picture.
void BM_DocumentResampleHalfSharp(benchmark::State& state) {
  for (auto _ : state) {
    TRasterBitmap half =
        ResampledBitmap(Picture(), kWidth / 2, kHeight / 2, SharpnessFilter(TSharpness::Sharp));
    benchmark::DoNotOptimize(half.Bits());
  }
}
BENCHMARK(BM_DocumentResampleHalfSharp)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime()
    ->ReportAggregatesOnly(true);

// The document's stretch: the resampling, the tone base and the
// destination's clean copy, without a window. A first stretch runs before
// the time, as in a window that has stretched before.
void BM_DocumentStretchHalfSharp(benchmark::State& state) {
  TDocument document(Picture());
  document.Sizing.StepDown(50);
  Stretch(document);
  for (auto _ : state) {
    Stretch(document, {.Progress = [](int) {}});
    benchmark::DoNotOptimize(document.Destination.Picture.Bits());
  }
}
BENCHMARK(BM_DocumentStretchHalfSharp)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime()
    ->ReportAggregatesOnly(true);

// Stretch from the window: the step of -50 % set, "Sharp" as at start. The
// first stretch of a window also finds the memory of its tone base and
// clean copy; later ones of the same size reuse it.
void WindowStretches(benchmark::State& state, bool first) {
  TMainWindow window;
  window.UseDialogs(CreateDialogs(&window));
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) state.SkipWithError("no offscreen window");
  window.SourceBox().HideBox();
  window.Document().Source.Picture = Picture();
  window.Document().SourceChanged();
  window.Document().Sizing.StepDown(50);
  window.SourceBox().ShowBox();
  if (!first) window.ResizeWorkflow().StretchMnuClick();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    window.ResizeWorkflow().StretchMnuClick();
    QCoreApplication::processEvents();  // the repaint of both panes
  }
  if (window.Document().Destination.Picture.Width() != kWidth / 2)
    state.SkipWithError("the stretch did not run");
}

void BM_WindowStretchHalfSharp(benchmark::State& state) {
  WindowStretches(state, false);
}
BENCHMARK(BM_WindowStretchHalfSharp)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime()
    ->ReportAggregatesOnly(true);

void BM_WindowFirstStretchHalfSharp(benchmark::State& state) {
  WindowStretches(state, true);
}
BENCHMARK(BM_WindowFirstStretchHalfSharp)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime()
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
