#include "app/dialogs.h"

#include "app/geotiff_info_dialog.h"
#include "app/progress_windows.h"
#include "app/tiff_options_dialog.h"

namespace quorvane {

TDialogs CreateDialogs(QWidget* owner) {
  TDialogs dialogs;
  dialogs.ProgressDlg = new TProgressDlg(owner);
  dialogs.GeoTiffInfoDlg = new TGeoTiffInfoDlg(owner);
  dialogs.TiffOptionsDlg = new TTiffOptionsDlg(owner);
  return dialogs;
}

}  // namespace quorvane
