// Zoom and pan of both panes (TPaneZoom), the Options menu's "Fit Large
// Pictures", and what each view needs to paint zoomed out: the picture
// without overlays and the overlays' figures.
#include <QAction>

#include "app/main_window.h"
#include "app/pane_zoom.h"
#include "app/source_box.h"
#include "settings/option_settings.h"
#include "settings/settings_path.h"

namespace quorvane {

void TMainWindow::BuildZoom() {
  zoom_ = new TPaneZoom(
      {source_.InputImage, source_.InScrollBox, source_.Zoom1Dis},
      {destination_.OutputImage, destination_.OutScrollBox, destination_.Zoom2Dis}, this);
  source_.InputImage->SetCleanPicture([this] { return &document_.Source.CleanCopy(); });
  destination_.OutputImage->SetCleanPicture([this] { return &document_.Destination.CleanCopy(); });
  source_.InputImage->SetFigures([this] { return Figures(TPaneChoice::Input); });
  destination_.OutputImage->SetFigures([this] { return Figures(TPaneChoice::Output); });
  const bool fit_large = ReadOptionSetting(SettingsFilePath(), kFitLargeKey);
  menu_.FitLargeMnu->setChecked(fit_large);
  zoom_->SetFitLarge(fit_large);
}

void TMainWindow::FitLargeMnuClick(bool checked) {
  zoom_->SetFitLarge(checked);
  SaveOptionSetting(SettingsFilePath(), kFitLargeKey, checked);
}

TViewFigures TMainWindow::Figures(TPaneChoice pane) const {
  TViewFigures figures;
  const TPane& shown = pane == TPaneChoice::Input ? document_.Source : document_.Destination;
  if (shown.MeasureShown()) {
    for (const TPixelPoint& point : shown.Measure.Points)
      figures.Polyline.emplace_back(point.X, point.Y);
    figures.Selected = shown.Measure.Selected;
  }
  const TSelectionBox& box = source_box_->Box();
  if (pane == TPaneChoice::Input && box.Showing()) {
    const TRect& rect = box.Selection();
    figures.Box = QRect(QPoint(rect.Left, rect.Top), QPoint(rect.Right, rect.Bottom));
    figures.BoxHandles = box.UserSizeable();
  }
  return figures;
}

}  // namespace quorvane
