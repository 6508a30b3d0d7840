// The mouse on the two panes, routed by the active page: the Resize page
// drags the selection box on the source; the Measure page feeds the
// measuring tool of the pane its "Image" choice names (moves over either
// pane update the readouts); the Tools page measures on the source only.
// Also the Measure page's own controls: "Reset Measurements" and the choices
// of pane and units.
#include <QLabel>

#include "app/main_window.h"
#include "app/measure_page.h"
#include "app/messages.h"
#include "app/number_format.h"
#include "document/readouts.h"

namespace quorvane {

namespace {

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

TPaneChoice ChosenImage(const TMeasurePage& page) {
  return page.Image() == TMeasureImage::Output ? TPaneChoice::Output : TPaneChoice::Input;
}

void Repaint(TImageEx* view, const TRepaintArea& area) {
  for (const TRect& rect : area.Rects) view->UpdateRect(rect);
}

}  // namespace

TImageEx* TMainWindow::ViewOf(TPaneChoice pane) const {
  return pane == TPaneChoice::Output ? destination_.OutputImage : source_.InputImage;
}

void TMainWindow::InputImageMouseDown(const TImageMouse& mouse) {
  if (ActivePage() == TPage::Resize) {
    ResizePageMouseDown(mouse);
  } else if (ChosenImage(*measure_page_) == TPaneChoice::Input) {
    MeasureMouseDown(TPaneChoice::Input, mouse);
  }
  ShowBoxReadout();
}

void TMainWindow::InputImageMouseMove(const TImageMouse& mouse) {
  if (ActivePage() == TPage::Resize) {
    ResizePageMouseMove(mouse);
  } else {
    MeasureMouseMove(TPaneChoice::Input, mouse);
  }
  source_.Mouse1Dis->setText(FromStd(MouseReadoutText(mouse.X, mouse.Y)));
  ShowBoxReadout();
}

void TMainWindow::InputImageMouseUp(const TImageMouse& mouse) {
  if (ActivePage() == TPage::Resize) ResizePageMouseUp(mouse);
  // On every page: a drag begun on another page ends at any release.
  MeasureMouseUp(TPaneChoice::Input);
  ShowBoxReadout();
}

void TMainWindow::OutputImageMouseDown(const TImageMouse& mouse) {
  if (ActivePage() == TPage::Measure && ChosenImage(*measure_page_) == TPaneChoice::Output)
    MeasureMouseDown(TPaneChoice::Output, mouse);
}

void TMainWindow::OutputImageMouseMove(const TImageMouse& mouse) {
  destination_.Mouse2Dis->setText(FromStd(MouseReadoutText(mouse.X, mouse.Y)));
  if (ActivePage() == TPage::Measure) MeasureMouseMove(TPaneChoice::Output, mouse);
}

void TMainWindow::OutputImageMouseUp(const TImageMouse& mouse) {
  Q_UNUSED(mouse);
  MeasureMouseUp(TPaneChoice::Output);
}

// The first drawing into a pane takes its clean copy, which can fail for
// want of memory on a large picture: that ends in a message like any other
// failure, never in an exception escaping the event loop.
void TMainWindow::MeasureMouseDown(TPaneChoice pane, const TImageMouse& mouse) {
  RunCommand(this, [&] {
    measure_page_->ShowLastPoint(
        ShowLastPoint(document_, pane, mouse.X, mouse.Y, LocaleNumberFormat()));
    TPane& chosen = ChosenPane(document_, pane);
    Repaint(ViewOf(pane), chosen.Repaint(chosen.Measure.MouseDown(mouse.X, mouse.Y, mouse.Shift)));
    ShowMeasurements(pane);
  });
}

void TMainWindow::MeasureMouseMove(TPaneChoice pane, const TImageMouse& mouse) {
  RunCommand(this, [&] {
    TPane& chosen = ChosenPane(document_, pane);
    // Nothing is asked of the pane unless a point is being dragged.
    const TRepaintRequest request = chosen.Measure.MouseMove(mouse.X, mouse.Y, mouse.Shift);
    if (request.Redraw || request.RestoreAll || request.RestoreRect)
      Repaint(ViewOf(pane), chosen.Repaint(request));
    const int datum = measure_page_->DatumIndex();
    TCursorReadout readout{
        mouse.X, mouse.Y,
        ShowCursorCoordinates(document_, pane, mouse.X, mouse.Y, datum, LocaleNumberFormat()),
        measure_page_->DatumName().toStdString()};
    measure_page_->ShowCursorCoordinates(readout.Texts);
    last_readout_ = std::move(readout);
    ShowMeasurements(pane);
  });
}

void TMainWindow::MeasureMouseUp(TPaneChoice pane) {
  RunCommand(this, [&] {
    TPane& chosen = ChosenPane(document_, pane);
    const TRepaintRequest request = chosen.Measure.MouseUp();
    if (request.Redraw || request.RestoreAll) Repaint(ViewOf(pane), chosen.Repaint(request));
  });
}

void TMainWindow::ShowMeasurements(TPaneChoice pane) {
  measure_page_->ShowMeasurements(
      quorvane::ShowMeasurements(document_, pane, measure_page_->LengthUnit(),
                                 measure_page_->AreaUnit(), LocaleNumberFormat()));
}

void TMainWindow::ResetMeasureBtnClick() {
  const TPaneChoice pane = ChosenImage(*measure_page_);
  const TMeasureReset reset = ResetMeasurements(document_, pane, measure_page_->LengthUnit(),
                                                measure_page_->AreaUnit(), LocaleNumberFormat());
  ViewOf(pane)->UpdateRect(reset.Repaint);
  measure_page_->ShowMeasurements(reset.Texts);
}

void TMainWindow::LengthRadioClick() {
  ShowMeasurements(ChosenImage(*measure_page_));
}

}  // namespace quorvane
