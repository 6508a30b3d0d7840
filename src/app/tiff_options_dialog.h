#pragma once
// "Tiff Options": whether saved TIFFs carry the georeference as GeoTIFF tags
// and whether their rows are PackBits-compressed. The dialog lives for the
// whole run, so the choices last until the program ends; the save commands
// read them at the moment of saving.
#include <QDialog>

class QCheckBox;
class QPushButton;

namespace quorvane {

class TTiffOptionsDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TTiffOptionsDlg(QWidget* parent = nullptr);

  bool SaveGeoTiff() const;
  bool UsePackbits() const;

 private:
  QCheckBox* geotiff_chk_;
  QCheckBox* compress_chk_;
  QPushButton* cancel_btn_;
};

}  // namespace quorvane
