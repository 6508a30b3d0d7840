#pragma once
// The "Measure" page's behaviour: the mouse feeds the measuring tool of the
// pane the page's "Image" choice names (moves over either pane update the
// cursor readouts), the tool's drawing is repainted, and the page's fields
// show the readouts; "Reset Measurements" and the choices of pane and units.
#include <QObject>
#include <optional>

#include "app/page_controller.h"
#include "document/coordinates_line.h"

class QWidget;

namespace quorvane {

class TDocument;
class TMeasurePage;

struct TMeasureControllerParts {
  TDocument* Document = nullptr;
  TMeasurePage* Page = nullptr;
  TImageEx* InputImage = nullptr;
  TImageEx* OutputImage = nullptr;
};

class TMeasureController : public QObject, public TPageController {
  Q_OBJECT
 public:
  // `window` owns the controller and carries its message boxes.
  TMeasureController(const TMeasureControllerParts& parts, QWidget* window);

  // Both panes' polylines are drawn back.
  void PageShown() override;
  void MouseDown(TPaneChoice pane, const TImageMouse& mouse) override;
  void MouseMove(TPaneChoice pane, const TImageMouse& mouse) override;
  void MouseUp(TPaneChoice pane, const TImageMouse& mouse) override;

  void ResetMeasureBtnClick();
  void LengthRadioClick();
  // After a georeference changed by hand: the measurements, and the cursor
  // readout at the pixel it was last taken, in the new map units, without
  // waiting for the next mouse event.
  void ShowGeoReadouts();

  // The last cursor readout, when there was one.
  const std::optional<TCursorReadout>& LastReadout() const { return last_readout_; }

 private:
  TImageEx* ViewOf(TPaneChoice pane) const;
  TPaneChoice ChosenImage() const;
  void ShowMeasurements(TPaneChoice pane);

  TMeasureControllerParts parts_;
  QWidget* window_;
  std::optional<TCursorReadout> last_readout_;
  // The pane the last cursor readout was taken over.
  TPaneChoice last_readout_pane_ = TPaneChoice::Input;
};

}  // namespace quorvane
