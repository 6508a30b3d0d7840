#pragma once
// The program's window (Form1): the tool pages on the left, the source and
// destination panes on the right, the menus. It shows and forwards: what a
// command does to the pictures lives in the document it holds.
//
// Each tool page has a controller holding what the page does (Resize:
// TResizeWorkflow, Measure: TMeasureController, Tools: TToolsController);
// the window routes the mouse to the one in front. The window's own
// handlers are spread over files by subject: main_window.cpp (start-up,
// pages, splitters), main_window_layout.cpp (widgets and the wiring of
// every menu item), main_window_files.cpp (File and Edit commands),
// main_window_mouse.cpp (the mouse on both panes), main_window_pages.cpp
// (the page controllers and the selection box), main_window_zoom.cpp (zoom
// and pan).
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "app/dialogs.h"
#include "app/image_panes.h"
#include "app/image_view.h"
#include "app/main_menu.h"
#include "app/page_controller.h"
#include "document/coordinates_line.h"
#include "document/document.h"
#include "document/measure_page.h"
#include "io/format_registry.h"

class QSplitter;
class QTabWidget;

namespace quorvane {

class TMeasureController;
class TPaneZoom;
class TMeasurePage;
class TRecentFilesMenu;
class TResizePage;
class TResizeWorkflow;
class TSourceBox;
class TToolsController;
class TToolsPage;

// How the File commands get their file names: by default the open and save
// dialogs; tests put in names of their own. An empty name is a cancel.
struct TFileChoosers {
  std::function<QString(QWidget* parent)> OpenName;
  std::function<QString(QWidget* parent)> SaveName;
};
TFileChoosers DialogFileChoosers();

// Pages of the tool pane, in tab order.
enum class TPage { Resize = 0, Measure = 1, Tools = 2 };

// The tool pane never grows wider than this by dragging its splitter.
constexpr int kToolPaneCap = 144;

class TMainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainWindow(QWidget* parent = nullptr);
  ~TMainWindow() override;

  void UseDialogs(const TDialogs& dialogs);
  void UseFileChoosers(TFileChoosers choosers) { choosers_ = std::move(choosers); }
  // The file named on the command line, opened at the first activation
  // when it exists.
  void SetCommandLineFile(const QString& file_name) { command_line_file_ = file_name; }

  const TMainMenu& Menu() const { return menu_; }
  TPage ActivePage() const;
  // The pictures, georeferences and measurements the window shows.
  TDocument& Document() { return document_; }
  const TDocument& Document() const { return document_; }
  // The selection box on the source pane and the Resize page's commands.
  TSourceBox& SourceBox() { return *source_box_; }
  TResizeWorkflow& ResizeWorkflow() { return *resize_workflow_; }
  // Zoom and pan of both panes.
  TPaneZoom& PaneZoom() { return *zoom_; }
  // The last cursor readout of the Measure page, when there was one.
  const std::optional<TCursorReadout>& LastReadout() const;

  // Loads a file into the source pane; a failure is shown as a message and
  // the window goes on with the picture it held.
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
  // Centres the tone sliders without adjusting (a new resize result), or
  // with one adjustment (Reset).
  void ResetToneSliders(bool apply);
  void OpenMnuClick();
  void SaveSourceAsMnuClick();
  void SaveDestinationAs1Click();
  void PasteMnuClick();
  void CopyInputMnuClick();
  void CopyOutputMnuClick();
  void CopyCoordinatesMnuClick();
  void TiffInfoMnuClick();
  void iffOptions1Click();
  void AnyTiffMnuClick(bool checked);
  void BandsMnuClick();
  void DatumFromFileMnuClick(bool checked);
  void FitLargeMnuClick(bool checked);
  void ExitMnuClick();

  // The scale dialog, printing, recent files, help and about
  // (main_window_dialogs.cpp).
  void SetScaleCoords1Click();
  void PrintMnuClick();
  void ContentsMnuClick();
  void SearchHelpMnuClick();
  void HowtoUseMnuClick();
  void AboutMnuClick();
  void ReopenMenuMenuClick(const QString& path);
  // The open's first step: the path goes to the top of the recent files,
  // which are saved at once.
  void AddRecentFile(const QString& path);
  const TRecentFilesMenu* RecentFiles() const { return reopen_menu_; }
  // What a dialog's Help button does.
  void ShowHelpContext(int context);

  // Each pane's picture as shown (overlays included).
  const TRasterBitmap& SourcePicture() const { return document_.Source.Picture; }
  const TRasterBitmap& DestinationPicture() const { return document_.Destination.Picture; }

 protected:
  bool event(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildLayout();
  void ConnectMenu();
  void ConnectPanes();
  void FormCreate();
  // The "Open Any TIFF" choice: read from the settings file at start-up,
  // saved when it changes, handed to every open.
  void ReadAnyTiff();
  TLoadOptions LoadOptions() const;
  // "Datum From File": read and saved as "Open Any TIFF" is; after an
  // open it selects the file's datum in the Datum list when the list has it
  // (main_window_datum.cpp).
  void ReadDatumFromFile();
  void SelectDatumFromFile();
  void SourceChanged();
  void SetUpRecentFiles();
  // Zoom and pan of the panes, and what their views draw zoomed out
  // (main_window_zoom.cpp).
  void BuildZoom();
  TViewFigures Figures(TPaneChoice pane) const;
  void ShowSourceTexts(const TSourceTexts& texts);

  // The pages' controllers, the Resize page's size readouts and the
  // selection box on the source picture (main_window_pages.cpp).
  void BuildControllers();
  TPageController& ActiveController() const;
  void ShowNewSize(const TNewSizeTexts& texts);
  void ShowSelection();
  void HideSelection();
  void SetSelection(const TRect& rect);
  TRect SelectionRect() const;
  // The box is shown only while the Resize page is.
  void ShowSelectionOnResizePage();

  // Saves one pane under a name the user chooses, with the TIFF options as
  // they stand.
  void SavePane(TPaneChoice pane);

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
  TFileChoosers choosers_ = DialogFileChoosers();

  TDocument document_;
  std::unique_ptr<TSourceBox> source_box_;
  TResizeWorkflow* resize_workflow_ = nullptr;
  TMeasureController* measure_ = nullptr;
  TToolsController* tools_ = nullptr;
  TPaneZoom* zoom_ = nullptr;
  // Indexed by TPage.
  std::array<TPageController*, 3> controllers_{};
  TRecentFilesMenu* reopen_menu_ = nullptr;
  bool first_activation_ = true;
  QString command_line_file_;
};

}  // namespace quorvane
