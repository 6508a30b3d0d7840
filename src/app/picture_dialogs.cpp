#include "app/picture_dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/picture_rows.h"
#include "app/qt_text.h"

namespace quorvane {

namespace {

constexpr int kPreviewSide = 150;

QStringList Split(const std::string& text, char separator) {
  return FromStd(text).split(QChar(separator));
}

}  // namespace

QStringList NameFilters(const std::string& type_filter) {
  const QStringList parts = Split(type_filter, '|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    const qsizetype bracket = description.lastIndexOf(" (");
    if (bracket >= 0) description.truncate(bracket);
    filters << description + " (" + parts[i + 1].split(';').join(' ') + ")";
  }
  return filters;
}

TPicturePreview::TPicturePreview(TPreviewLoader loader, QWidget* parent)
    : QWidget(parent), loader_(std::move(loader)) {
  setObjectName("PicturePreview");
  picture_ = new QLabel(this);
  picture_->setFixedSize(kPreviewSide, kPreviewSide);
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  size_text_ = new QLabel("(None)", this);
  size_text_->setObjectName("PreviewSize");
  size_text_->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(picture_);
  layout->addWidget(size_text_);
  layout->addStretch();
}

void TPicturePreview::ShowFile(const QString& file_name) {
  picture_->clear();
  size_text_->setText("(None)");
  if (file_name.isEmpty() || !QFileInfo(file_name).isFile() || !loader_) return;
  std::unique_ptr<TRasterBitmap> loaded;
  try {
    loaded = loader_(file_name.toStdString());
  } catch (...) {
    return;  // whatever stops the load, the preview shows nothing
  }
  if (!loaded) return;
  picture_->setPixmap(QPixmap::fromImage(
      PictureThumbnail(*loaded, QSize(kPreviewSide, kPreviewSide) - QSize(4, 4))));
  size_text_->setText(QString("%1 x %2").arg(loaded->Width()).arg(loaded->Height()));
}

QString TPicturePreview::SizeText() const {
  return size_text_->text();
}

const QPixmap TPicturePreview::Picture() const {
  return picture_->pixmap();
}

TOpenPictureDialog::TOpenPictureDialog(const std::string& type_filter, TPreviewLoader loader,
                                       QWidget* parent)
    : QFileDialog(parent) {
  setObjectName("OpenPictureDialog");
  // Qt's own dialog, so the preview can sit beside the file list.
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(QFileDialog::AcceptOpen);
  setFileMode(QFileDialog::ExistingFile);
  const QStringList filters = NameFilters(type_filter);
  setNameFilters(filters);
  if (!filters.isEmpty()) selectNameFilter(filters.first());
  preview_ = new TPicturePreview(std::move(loader), this);
  if (auto* grid = qobject_cast<QGridLayout*>(layout()))
    grid->addWidget(preview_, 0, grid->columnCount(), grid->rowCount(), 1);
  connect(this, &QFileDialog::currentChanged, preview_, &TPicturePreview::ShowFile);
}

QString TOpenPictureDialog::Run() {
  if (exec() != QDialog::Accepted || selectedFiles().isEmpty()) return {};
  return selectedFiles().first();
}

TSavePictureDialog::TSavePictureDialog(const std::string& type_filter, QWidget* parent)
    : QFileDialog(parent) {
  setObjectName("SavePictureDialog1");
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  setOption(QFileDialog::DontConfirmOverwrite);
  setDefaultSuffix({});
  const QStringList filters = NameFilters(type_filter);
  setNameFilters(filters);
  if (!filters.isEmpty()) selectNameFilter(filters.first());
}

QString TSavePictureDialog::Run() {
  setDirectory(QDir::currentPath());
  if (exec() != QDialog::Accepted || selectedFiles().isEmpty()) return {};
  return selectedFiles().first();
}

}  // namespace quorvane
