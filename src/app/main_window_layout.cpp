// Building the main window's widgets and wiring their signals to the
// window's handlers.
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/measure_page.h"
#include "app/resize_page.h"
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

void TMainWindow::ConnectMenu() {
  connect(menu_.OpenMnu, &QAction::triggered, this, &TMainWindow::OpenMnuClick);
  connect(menu_.SaveSourceAsMnu, &QAction::triggered, this, &TMainWindow::SaveSourceAsMnuClick);
  connect(menu_.SaveDestinationAs1, &QAction::triggered, this,
          &TMainWindow::SaveDestinationAs1Click);
  connect(menu_.ExitMnu, &QAction::triggered, this, &TMainWindow::ExitMnuClick);
  connect(menu_.PasteMnu, &QAction::triggered, this, &TMainWindow::PasteMnuClick);
  connect(menu_.CopyInputMnu, &QAction::triggered, this, &TMainWindow::CopyInputMnuClick);
  connect(menu_.CopyOutputMnu, &QAction::triggered, this, &TMainWindow::CopyOutputMnuClick);
  connect(menu_.CopyCoordinatesMnu, &QAction::triggered, this,
          &TMainWindow::CopyCoordinatesMnuClick);
  connect(menu_.TiffInfoMnu, &QAction::triggered, this, &TMainWindow::TiffInfoMnuClick);
  connect(menu_.ResetPanelsMnu, &QAction::triggered, this, &TMainWindow::ResetPanelsMnuClick);
  connect(menu_.iffOptions1, &QAction::triggered, this, &TMainWindow::iffOptions1Click);
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
  connect(measure_page_, &TMeasurePage::ResetClicked, this, &TMainWindow::ResetMeasureBtnClick);
  connect(measure_page_, &TMeasurePage::ChoiceClicked, this, &TMainWindow::LengthRadioClick);
  connect(tools_page_, &TToolsPage::ToneChanged, this, &TMainWindow::BrightnessBarChange);
  connect(tools_page_, &TToolsPage::ResetClicked, this, &TMainWindow::ResetBCGBtnClick);
}

}  // namespace quorvane
