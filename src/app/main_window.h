#pragma once
// The program's window (Form1): the tool pages on the left, the source and
// destination panes on the right, the menus. It shows and forwards: what a
// command does to the pictures lives below the window.
#include <QMainWindow>

#include "app/dialogs.h"
#include "app/image_panes.h"
#include "app/image_view.h"
#include "app/main_menu.h"
#include "raster/bitmap.h"

class QSplitter;
class QTabWidget;

namespace quorvane {

class TMeasurePage;
class TResizePage;
class TToolsPage;

// Pages of the tool pane, in tab order.
enum class TPage { Resize = 0, Measure = 1, Tools = 2 };

// The tool pane never grows wider than this by dragging its splitter.
constexpr int kToolPaneCap = 144;

class TMainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainWindow(QWidget* parent = nullptr);

  void UseDialogs(const TDialogs& dialogs) { dialogs_ = dialogs; }
  // The file named on the command line, opened at the first activation
  // when it exists.
  void SetCommandLineFile(const QString& file_name) { command_line_file_ = file_name; }

  const TMainMenu& Menu() const { return menu_; }
  TPage ActivePage() const;

  // Loads a file into the source pane.
  void OpenImageFile(const QString& file_name);
  void ShowSourceSize();
  void ShowBoxReadout();

  // Handlers, named after the control and the event they serve.
  void FormActivate();
  void PageControlChange(int index);
  void Splitter1Moved(int pos, int index);
  void ResetPanelsMnuClick();
  void InputImageMouseDown(const TImageMouse& mouse);
  void InputImageMouseMove(const TImageMouse& mouse);
  void InputImageMouseUp(const TImageMouse& mouse);
  void OutputImageMouseDown(const TImageMouse& mouse);
  void OutputImageMouseMove(const TImageMouse& mouse);
  void OutputImageMouseUp(const TImageMouse& mouse);
  void ResetMeasureBtnClick();
  void LengthRadioClick();
  void BrightnessBarChange();
  void ResetBCGBtnClick();
  void TiffInfoMnuClick();
  void iffOptions1Click();
  void ExitMnuClick();

 protected:
  bool event(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildLayout();
  void ConnectMenu();
  void ConnectPanes();
  void FormCreate();
  void SourceChanged();

  TMainMenu menu_;
  QSplitter* splitter1_ = nullptr;
  QTabWidget* page_control_ = nullptr;
  TResizePage* resize_page_ = nullptr;
  TMeasurePage* measure_page_ = nullptr;
  TToolsPage* tools_page_ = nullptr;
  QWidget* panel2_ = nullptr;
  QSplitter* splitter2_ = nullptr;
  TSourcePane source_;
  TDestinationPane destination_;
  TDialogs dialogs_;

  // The pictures the panes show until the window's state layer holds them.
  TRasterBitmap source_picture_;
  TRasterBitmap destination_picture_;

  bool first_activation_ = true;
  QString command_line_file_;
};

}  // namespace quorvane
