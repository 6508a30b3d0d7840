#include "app/tools_controller.h"

#include <QSlider>

#include "app/messages.h"
#include "app/number_format.h"
#include "app/tools_page.h"
#include "document/tone_page.h"

namespace quorvane {

TToolsController::TToolsController(const TToolsControllerParts& parts, QWidget* window)
    : QObject(window), parts_(parts), window_(window) {
  connect(parts_.Page, &TToolsPage::ToneChanged, this, &TToolsController::BrightnessBarChange);
  connect(parts_.Page, &TToolsPage::ResetClicked, this, &TToolsController::ResetBCGBtnClick);
}

void TToolsController::MouseDown(TPaneChoice pane, const TImageMouse& mouse) {
  if (pane == TPaneChoice::Input) parts_.Measure->MouseDown(pane, mouse);
}

void TToolsController::MouseMove(TPaneChoice pane, const TImageMouse& mouse) {
  if (pane == TPaneChoice::Input) parts_.Measure->MouseMove(pane, mouse);
}

// The destination is rebuilt from the tone base, never from itself, so
// adjustments do not accumulate.
void TToolsController::BrightnessBarChange() {
  TToolsPage& page = *parts_.Page;
  const TToneValues values = page.ReadToneSliders();
  const TToneSliders sliders{page.BrightnessBar()->value(), page.ContrastBar()->value(),
                             page.GammaBar()->value()};
  page.ShowToneValues(ToneTexts(values, LocaleDecimalSeparator()));
  RunCommand(window_, [&] {
    AdjustTone(*parts_.Document, sliders, LocaleDecimalSeparator());
    parts_.OutputImage->PictureChanged();
  });
}

void TToolsController::ResetToneSliders(bool apply) {
  parts_.Page->CentreTrackBars();
  if (apply) BrightnessBarChange();
}

void TToolsController::ResetBCGBtnClick() {
  ResetToneSliders(true);
}

}  // namespace quorvane
