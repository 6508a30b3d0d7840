#include "app/print_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "app/dialog_parts.h"
#include "app/messages.h"
#include "app/print_surface.h"
#include "app/progress_windows.h"
#include "app/qt_text.h"
#include "app/radio_choice.h"
#include "about/help_commands.h"
#include "printing/print_job.h"

namespace quorvane {

namespace {

bool RunPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setObjectName("PrintDialog1");
  return dialog.exec() == QDialog::Accepted;
}

void RunPageSetupDialog(QPrinter& printer, QWidget* parent) {
  QPageSetupDialog dialog(&printer, parent);
  dialog.setObjectName("PrinterSetupDialog1");
  dialog.exec();  // its result does not matter: the counts are shown again either way
}

const TRasterBitmap& EmptyPicture() {
  static const TRasterBitmap empty;
  return empty;
}

}  // namespace

TPrintDlg::TPrintDlg(TPrintDlgServices services, QWidget* parent)
    : QDialog(parent), services_(std::move(services)) {
  setObjectName("PrintDlg");
  setWindowTitle("Print Options");
  select_radio_ = AddRadioGroup(this, {.Caption = "Print What?",
                                       .Name = "SelectRadio",
                                       .Items = {"Source Page", "Destination Page"},
                                       .Columns = 2});
  method_radio_ =
      AddRadioGroup(this, {.Caption = "Print Method",
                           .Name = "MethodRadio",
                           .Items = {"Shrink To Page", "Fit To Page", "Multipage Print"}});
  auto* pages_box = new QGroupBox("Pages", this);
  pages_box->setObjectName("GroupBox1");
  pages_dis_ = new QLabel(pages_box);
  pages_dis_->setObjectName("PagesDis");
  (new QVBoxLayout(pages_box))->addWidget(pages_dis_);

  auto* print = new QPushButton("Print", this);
  print->setObjectName("PrintBtn");
  print->setDefault(true);
  auto* setup = MakeButton(this, "Print Setup", "SetupBtn");
  auto* close = MakeButton(this, "Close", "CancelBtn");
  auto* help = MakeButton(this, "Help", "BitBtn1");

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {print, setup, close, help}) buttons->addWidget(button);
  buttons->addStretch();
  auto* choices = new QVBoxLayout;
  choices->addWidget(RadioGroupBox(select_radio_));
  choices->addWidget(RadioGroupBox(method_radio_));
  choices->addWidget(pages_box);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(choices);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  OnChoiceChanged(select_radio_, this, [this](int) { SelectRadioClick(); });
  connect(print, &QPushButton::clicked, this, &TPrintDlg::PrintBtnClick);
  connect(setup, &QPushButton::clicked, this, &TPrintDlg::SetupBtnClick);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (services_.ShowHelp) services_.ShowHelp(int(kHelpContextPrintOptions));
  });
}

TPrintPane TPrintDlg::Pane() const {
  return TPrintPane(select_radio_->checkedId());
}

TPrintMethod TPrintDlg::Method() const {
  return TPrintMethod(method_radio_->checkedId());
}

const TRasterBitmap& TPrintDlg::ChosenPicture() const {
  const TRasterBitmap* picture = Pane() == TPrintPane::Destination ? destination_ : source_;
  return picture ? *picture : EmptyPicture();
}

void TPrintDlg::Execute(const TRasterBitmap& source, const TRasterBitmap& destination) {
  source_ = &source;
  destination_ = &destination;
  ShowPageCounts();
  exec();
  source_ = destination_ = nullptr;
}

void TPrintDlg::ShowPageCounts() {
  const TRasterBitmap& picture = ChosenPicture();
  const TPageCounts counts = CountPages(picture.Width(), picture.Height(), PrinterPage(printer_));
  pages_dis_->setText(FromStd(PageCountsText(counts)));
}

void TPrintDlg::SelectRadioClick() {
  ShowPageCounts();
}

void TPrintDlg::SetupBtnClick() {
  if (services_.PageSetup) {
    services_.PageSetup(printer_);
  } else {
    RunPageSetupDialog(printer_, this);
  }
  ShowPageCounts();
}

void TPrintDlg::PrintBtnClick() {
  const TRasterBitmap& picture = ChosenPicture();
  // An empty pane has nothing to put on paper: say so before asking for a
  // printer.
  if (const auto warning = EmptyPrintWarning(picture, Pane() == TPrintPane::Destination)) {
    ShowWarningMessage(this, FromStd(*warning));
    return;
  }
  const bool confirmed =
      services_.ConfirmPrint ? services_.ConfirmPrint(printer_) : RunPrintDialog(printer_, this);
  if (!confirmed) return;
  ShowPageCounts();  // the printer may have changed
  try {
    TPrinterSurface surface(printer_);
    const TTilePrintOptions options = TilePrintOptionsFor(printer_);
    if (services_.Progress) {
      const TProgressScope shown(*services_.Progress, "Printing Image");
      PrintPicture(picture, surface, Method(), services_.Progress->Proc(), options);
    } else {
      PrintPicture(picture, surface, Method(), {}, options);
    }
  } catch (const std::exception& error) {
    // The progress window is gone by now; the dialog stays open.
    ShowErrorMessage(this, QString::fromUtf8(error.what()));
  }
}

}  // namespace quorvane
