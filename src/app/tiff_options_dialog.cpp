#include "app/tiff_options_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

TTiffOptionsDlg::TTiffOptionsDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("TiffOptionsDlg");
  setWindowTitle("Tiff Options");
  geotiff_chk_ = new QCheckBox("Save GeoTiff Information", this);
  geotiff_chk_->setObjectName("GeoTiffChk");
  geotiff_chk_->setChecked(true);
  compress_chk_ = new QCheckBox("Use Packbits Compression", this);
  compress_chk_->setObjectName("CompressChk");
  cancel_btn_ = new QPushButton("Close", this);
  cancel_btn_->setObjectName("CancelBtn");
  connect(cancel_btn_, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_btn_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(geotiff_chk_);
  layout->addWidget(compress_chk_);
  layout->addLayout(buttons);
  // A fixed dialog border: the dialog keeps the size its content needs.
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TTiffOptionsDlg::SaveGeoTiff() const {
  return geotiff_chk_->isChecked();
}

bool TTiffOptionsDlg::UsePackbits() const {
  return compress_chk_->isChecked();
}

}  // namespace quorvane
