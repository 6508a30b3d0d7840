#include "app/measure_controller.h"

#include "app/measure_page.h"
#include "app/messages.h"
#include "app/number_format.h"
#include "document/document.h"
#include "document/readouts.h"

namespace quorvane {

namespace {

void Repaint(TImageEx* view, const TRepaintArea& area) {
  for (const TRect& rect : area.Rects) view->UpdateRect(rect);
}

}  // namespace

TMeasureController::TMeasureController(const TMeasureControllerParts& parts, QWidget* window)
    : QObject(window), parts_(parts), window_(window) {
  connect(parts_.Page, &TMeasurePage::ResetClicked, this,
          &TMeasureController::ResetMeasureBtnClick);
  connect(parts_.Page, &TMeasurePage::ChoiceClicked, this, &TMeasureController::LengthRadioClick);
}

TImageEx* TMeasureController::ViewOf(TPaneChoice pane) const {
  return pane == TPaneChoice::Output ? parts_.OutputImage : parts_.InputImage;
}

TPaneChoice TMeasureController::ChosenImage() const {
  return parts_.Page->Image() == TMeasureImage::Output ? TPaneChoice::Output : TPaneChoice::Input;
}

void TMeasureController::PageShown() {
  RunCommand(window_, [this] {
    parts_.InputImage->UpdateRect(parts_.Document->Source.DrawMeasure());
    parts_.OutputImage->UpdateRect(parts_.Document->Destination.DrawMeasure());
  });
}

// Only the pane the "Image" choice names is measured on. The first drawing
// into a pane takes its clean copy, which can fail for want of memory on a
// large picture: that ends in a message like any other failure, never in an
// exception escaping the event loop.
void TMeasureController::MouseDown(TPaneChoice pane, const TImageMouse& mouse) {
  if (pane != ChosenImage()) return;
  RunCommand(window_, [&] {
    TDocument& document = *parts_.Document;
    parts_.Page->ShowLastPoint(
        LastPointTexts(document, pane, mouse.X, mouse.Y, LocaleNumberFormat()));
    TPane& chosen = ChosenPane(document, pane);
    Repaint(ViewOf(pane), chosen.Repaint(chosen.Measure.MouseDown(mouse.X, mouse.Y, mouse.Shift)));
    ShowMeasurements(pane);
  });
}

void TMeasureController::MouseMove(TPaneChoice pane, const TImageMouse& mouse) {
  RunCommand(window_, [&] {
    TDocument& document = *parts_.Document;
    TPane& chosen = ChosenPane(document, pane);
    // Nothing is asked of the pane unless a point is being dragged.
    const TRepaintRequest request = chosen.Measure.MouseMove(mouse.X, mouse.Y, mouse.Shift);
    if (request.Redraw || request.RestoreAll || request.RestoreRect)
      Repaint(ViewOf(pane), chosen.Repaint(request));
    TCursorReadout readout{mouse.X, mouse.Y,
                           CursorReadouts(document, pane, mouse.X, mouse.Y, parts_.Page->Datum(),
                                          LocaleNumberFormat()),
                           parts_.Page->DatumName().toStdString()};
    parts_.Page->ShowCursorCoordinates(readout.Texts);
    last_readout_ = std::move(readout);
    last_readout_pane_ = pane;
    ShowMeasurements(pane);
  });
}

void TMeasureController::MouseUp(TPaneChoice pane, const TImageMouse& mouse) {
  Q_UNUSED(mouse);
  RunCommand(window_, [&] {
    TPane& chosen = ChosenPane(*parts_.Document, pane);
    const TRepaintRequest request = chosen.Measure.MouseUp();
    if (request.Redraw || request.RestoreAll) Repaint(ViewOf(pane), chosen.Repaint(request));
  });
}

void TMeasureController::ShowMeasurements(TPaneChoice pane) {
  TMeasurePage& page = *parts_.Page;
  page.ShowMeasurements(MeasurementTexts(*parts_.Document, pane,
                                         TLengthUnitChoice(page.LengthUnit()),
                                         TAreaUnitChoice(page.AreaUnit()), LocaleNumberFormat()));
}

void TMeasureController::ShowGeoReadouts() {
  RunCommand(window_, [&] {
    ShowMeasurements(ChosenImage());
    if (!last_readout_) return;
    TCursorReadout& readout = *last_readout_;
    readout.Texts = CursorReadouts(*parts_.Document, last_readout_pane_, readout.X, readout.Y,
                                   parts_.Page->Datum(), LocaleNumberFormat());
    readout.Datum = parts_.Page->DatumName().toStdString();
    parts_.Page->ShowCursorCoordinates(readout.Texts);
  });
}

void TMeasureController::ResetMeasureBtnClick() {
  const TPaneChoice pane = ChosenImage();
  TMeasurePage& page = *parts_.Page;
  const TMeasureReset reset =
      ResetMeasurements(*parts_.Document, pane, TLengthUnitChoice(page.LengthUnit()),
                        TAreaUnitChoice(page.AreaUnit()), LocaleNumberFormat());
  ViewOf(pane)->UpdateRect(reset.Repaint);
  page.ShowMeasurements(reset.Texts);
}

void TMeasureController::LengthRadioClick() {
  ShowMeasurements(ChosenImage());
}

}  // namespace quorvane
