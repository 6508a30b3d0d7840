#include "app/geotiff_info_dialog.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

TGeoTiffInfoDlg::TGeoTiffInfoDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("GeoTiffInfoDlg");
  setWindowTitle("GeoTiff Info");
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("GeoTiffMemo");
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setMinimumSize(265, 145);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("CancelBtn");
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* help = new QPushButton("Help", this);
  help->setObjectName("BitBtn1");
  connect(help, &QPushButton::clicked, this,
          [this] { emit HelpRequested(kGeoTiffInfoHelpContext); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(memo_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TGeoTiffInfoDlg::SetReport(const std::vector<std::string>& lines) {
  QString text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    // The ASCII parameters come from the file: show them byte for byte.
    text += QString::fromLatin1(lines[i].data(), qsizetype(lines[i].size()));
  }
  memo_->setPlainText(text);
}

QString TGeoTiffInfoDlg::Report() const {
  return memo_->toPlainText();
}

}  // namespace quorvane
