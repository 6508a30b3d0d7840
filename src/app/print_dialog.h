#pragma once
// "Print Options": which pane to print and how (shrunk to the page, fitted
// to it, or at full size over several pages), the page counts of a
// multipage print, the printer's setup and the print itself. The dialog
// and its printer live for the whole run, so the choices and the printer
// settings last until the program ends.
#include <QDialog>
#include <QPrinter>
#include <functional>

#include "printing/print_layout.h"
#include "raster/bitmap.h"

class QButtonGroup;
class QLabel;

namespace quorvane {

class TProgressDlg;

// Panes of "Print What?", in their order.
enum class TPrintPane { Source = 0, Destination = 1 };

struct TPrintDlgServices {
  // "Printing Image" progress; none: printing shows no progress.
  TProgressDlg* Progress = nullptr;
  // Opens help at a context number.
  std::function<void(int context)> ShowHelp;
  // Asks for the printer before every print; false: the user cancelled.
  // None: the platform's print dialog.
  std::function<bool(QPrinter& printer)> ConfirmPrint;
  // "Print Setup"; none: the platform's page setup dialog.
  std::function<void(QPrinter& printer)> PageSetup;
};

class TPrintDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TPrintDlg(TPrintDlgServices services = {}, QWidget* parent = nullptr);

  // PrintMnuClick: the page counts of the chosen pane, then the dialog,
  // modally, with these pictures for the two panes.
  void Execute(const TRasterBitmap& source, const TRasterBitmap& destination);

  QPrinter& Printer() { return printer_; }
  TPrintPane Pane() const;
  // The picture "Print" would print now: the chosen pane's, as Execute was
  // given it (empty outside Execute).
  const TRasterBitmap& ChosenPicture() const;
  TPrintMethod Method() const;

  // Handlers, named after the control and the event they serve.
  void SelectRadioClick();
  void SetupBtnClick();
  void PrintBtnClick();
  void ShowPageCounts();

 private:
  TPrintDlgServices services_;
  QPrinter printer_{QPrinter::HighResolution};
  const TRasterBitmap* source_ = nullptr;
  const TRasterBitmap* destination_ = nullptr;
  QButtonGroup* select_radio_ = nullptr;
  QButtonGroup* method_radio_ = nullptr;
  QLabel* pages_dis_ = nullptr;
};

}  // namespace quorvane
