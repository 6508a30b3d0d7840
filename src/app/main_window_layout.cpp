// Building the main window's widgets and wiring their signals, the menu
// bar's included, to the handlers.
#include <QAction>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/measure_page.h"
#include "app/pane_zoom.h"
#include "app/resize_page.h"
#include "app/resize_workflow.h"
#include "app/tools_page.h"
#include "controls/page_control.h"

namespace quorvane {

namespace {

constexpr int kWindowWidth = 621;
constexpr int kWindowHeight = 545;
constexpr int kToolPaneWidth = 161;  // at start; dragging caps it at kToolPaneCap
constexpr int kSourcePaneHeight = 215;
constexpr int kSplitterWidth = 5;
constexpr int kMinimumPaneSize = 10;
// The compact dialog font the window's layout was designed for.
constexpr int kDialogFontPointSize = 8;

QSplitter* Splitter(Qt::Orientation orientation, const char* name, QWidget* parent) {
  auto* splitter = new QSplitter(orientation, parent);
  splitter->setObjectName(name);
  splitter->setHandleWidth(kSplitterWidth);
  splitter->setChildrenCollapsible(false);
  return splitter;
}

}  // namespace

void TMainWindow::BuildLayout() {
  setObjectName("Form1");
  setWindowTitle("Quorvane");
  QFont dialog_font = font();
  dialog_font.setPointSize(kDialogFontPointSize);
  setFont(dialog_font);
  resize(kWindowWidth, kWindowHeight);
  setAcceptDrops(true);
  menu_ = BuildMainMenu(menuBar());

  splitter1_ = Splitter(Qt::Horizontal, "Splitter1", this);
  // Multi-line tabs: all three stay visible, wrapped onto a second row when
  // the pane is too narrow for one.
  page_control_ = new TPageControl(splitter1_);
  page_control_->setObjectName("PageControl");
  resize_page_ = new TResizePage;
  measure_page_ = new TMeasurePage;
  tools_page_ = new TToolsPage;
  page_control_->addTab(resize_page_, "Resize");
  page_control_->addTab(measure_page_, "Measure");
  page_control_->addTab(tools_page_, "Tools");
  // The pages' own minimum widths must not stop the splitter.
  page_control_->setMinimumWidth(kMinimumPaneSize);

  panel2_ = new QWidget(splitter1_);
  panel2_->setObjectName("Panel2");
  panel2_->setMinimumWidth(kMinimumPaneSize);
  auto* panel2_layout = new QVBoxLayout(panel2_);
  panel2_layout->setContentsMargins(0, 0, 0, 0);
  splitter2_ = Splitter(Qt::Vertical, "Splitter2", panel2_);
  panel2_layout->addWidget(splitter2_);
  source_ = BuildSourcePane(splitter2_);
  destination_ = BuildDestinationPane(splitter2_);
  for (QWidget* pane :
       {static_cast<QWidget*>(source_.Panel), static_cast<QWidget*>(destination_.Panel)})
    pane->setMinimumHeight(kMinimumPaneSize);

  // Extra room goes to the pictures: the tool pane and the source pane keep
  // their sizes when the window grows.
  splitter1_->setStretchFactor(0, 0);
  splitter1_->setStretchFactor(1, 1);
  splitter2_->setStretchFactor(0, 0);
  splitter2_->setStretchFactor(1, 1);
  splitter1_->setSizes({kToolPaneWidth, kWindowWidth - kToolPaneWidth - kSplitterWidth});
  splitter2_->setSizes({kSourcePaneHeight, kWindowHeight});
  setCentralWidget(splitter1_);
}

// Every item of the menu bar meets its handler here. The checkable
// Options items are connected after their settings were read, so reading
// them saves nothing.
void TMainWindow::ConnectMenu() {
  const auto on = [this](QAction* item, void (TMainWindow::*handler)()) {
    connect(item, &QAction::triggered, this, handler);
  };
  on(menu_.OpenMnu, &TMainWindow::OpenMnuClick);
  on(menu_.SaveSourceAsMnu, &TMainWindow::SaveSourceAsMnuClick);
  on(menu_.SaveDestinationAs1, &TMainWindow::SaveDestinationAs1Click);
  on(menu_.PrintMnu, &TMainWindow::PrintMnuClick);
  on(menu_.ExitMnu, &TMainWindow::ExitMnuClick);

  on(menu_.PasteMnu, &TMainWindow::PasteMnuClick);
  on(menu_.CopyInputMnu, &TMainWindow::CopyInputMnuClick);
  on(menu_.CopyOutputMnu, &TMainWindow::CopyOutputMnuClick);
  connect(menu_.PreciseMnu, &QAction::triggered, resize_workflow_,
          &TResizeWorkflow::PreciseMnuClick);
  connect(menu_.StretchMnu, &QAction::triggered, resize_workflow_,
          &TResizeWorkflow::StretchMnuClick);
  // The same crop as the Resize page's button.
  connect(menu_.CropMnu, &QAction::triggered, resize_workflow_, &TResizeWorkflow::ClipBtnClick);
  on(menu_.CopyCoordinatesMnu, &TMainWindow::CopyCoordinatesMnuClick);

  on(menu_.TiffInfoMnu, &TMainWindow::TiffInfoMnuClick);
  on(menu_.BandsMnu, &TMainWindow::BandsMnuClick);
  connect(menu_.ZoomInMnu, &QAction::triggered, zoom_, &TPaneZoom::ZoomInMnuClick);
  connect(menu_.ZoomOutMnu, &QAction::triggered, zoom_, &TPaneZoom::ZoomOutMnuClick);
  connect(menu_.ActualPixelsMnu, &QAction::triggered, zoom_, &TPaneZoom::ActualPixelsMnuClick);
  connect(menu_.FitViewMnu, &QAction::triggered, zoom_, &TPaneZoom::FitViewMnuClick);

  on(menu_.ResetPanelsMnu, &TMainWindow::ResetPanelsMnuClick);
  on(menu_.iffOptions1, &TMainWindow::iffOptions1Click);
  connect(menu_.AnyTiffMnu, &QAction::toggled, this, &TMainWindow::AnyTiffMnuClick);
  connect(menu_.DatumFromFileMnu, &QAction::toggled, this, &TMainWindow::DatumFromFileMnuClick);
  connect(menu_.FitLargeMnu, &QAction::toggled, this, &TMainWindow::FitLargeMnuClick);
  on(menu_.SetScaleCoords1, &TMainWindow::SetScaleCoords1Click);

  on(menu_.ContentsMnu, &TMainWindow::ContentsMnuClick);
  on(menu_.SearchHelpMnu, &TMainWindow::SearchHelpMnuClick);
  on(menu_.HowtoUseMnu, &TMainWindow::HowtoUseMnuClick);
  on(menu_.AboutMnu, &TMainWindow::AboutMnuClick);
}

void TMainWindow::ConnectPanes() {
  connect(page_control_, &QTabWidget::currentChanged, this, &TMainWindow::PageControlChange);
  connect(splitter1_, &QSplitter::splitterMoved, this, &TMainWindow::Splitter1Moved);
  TImageEx* input = source_.InputImage;
  connect(input, &TImageEx::MouseDown, this, &TMainWindow::InputImageMouseDown);
  connect(input, &TImageEx::MouseMove, this, &TMainWindow::InputImageMouseMove);
  connect(input, &TImageEx::MouseUp, this, &TMainWindow::InputImageMouseUp);
  TImageEx* output = destination_.OutputImage;
  connect(output, &TImageEx::MouseDown, this, &TMainWindow::OutputImageMouseDown);
  connect(output, &TImageEx::MouseMove, this, &TMainWindow::OutputImageMouseMove);
  connect(output, &TImageEx::MouseUp, this, &TMainWindow::OutputImageMouseUp);
}

}  // namespace quorvane
