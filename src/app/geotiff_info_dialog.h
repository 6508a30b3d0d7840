#pragma once
// "GeoTiff Info": the report of the GeoTIFF tags of the file last opened.
// The text is replaced after every load and shown on request; what the user
// types into it is never read back.
#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace quorvane {

// The help topic of this dialog's Help button.
constexpr int kGeoTiffInfoHelpContext = 3;

class TGeoTiffInfoDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TGeoTiffInfoDlg(QWidget* parent = nullptr);

  // Clears the memo and adds one line per entry.
  void SetReport(const std::vector<std::string>& lines);
  QString Report() const;

 signals:
  void HelpRequested(int context);

 private:
  QPlainTextEdit* memo_;
};

}  // namespace quorvane
