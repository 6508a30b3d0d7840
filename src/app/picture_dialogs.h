#pragma once
// The file dialogs of the window: opening a picture (with a preview of the
// selected file) and saving one. Both list the registered formats, "All"
// first and preselected.
#include <QFileDialog>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "raster/bitmap.h"

class QLabel;

namespace quorvane {

// Loads a picture for the preview; throws when the file cannot be read.
using TPreviewLoader = std::function<std::unique_ptr<TRasterBitmap>(const std::string& file_name)>;

// The registry's type filter ("All (*.tif;*.bmp)|*.tif;*.bmp|...") as the
// name filters of a Qt file dialog ("All (*.tif *.bmp)", ...).
QStringList NameFilters(const std::string& type_filter);

// The picture of the selected file with its width and height, or "(None)"
// when there is no file or it cannot be loaded.
class TPicturePreview : public QWidget {
  Q_OBJECT
 public:
  TPicturePreview(TPreviewLoader loader, QWidget* parent = nullptr);
  void ShowFile(const QString& file_name);
  QString SizeText() const;
  const QPixmap Picture() const;

 private:
  TPreviewLoader loader_;
  QLabel* picture_;
  QLabel* size_text_;
};

class TOpenPictureDialog : public QFileDialog {
  Q_OBJECT
 public:
  TOpenPictureDialog(const std::string& type_filter, TPreviewLoader loader,
                     QWidget* parent = nullptr);
  // The chosen file, or an empty text when the user cancelled.
  QString Run();
  TPicturePreview* Preview() const { return preview_; }

 private:
  TPicturePreview* preview_;
};

class TSavePictureDialog : public QFileDialog {
  Q_OBJECT
 public:
  explicit TSavePictureDialog(const std::string& type_filter, QWidget* parent = nullptr);
  // Starts in the process's current folder ("."), which follows the last
  // opened file; appends no extension and replaces an existing file without
  // asking. The chosen name, or an empty text when cancelled.
  QString Run();
};

}  // namespace quorvane
