#pragma once
// The program's window (Form1): the tool pages on the left, the source and
// destination panes on the right, the menus. It shows and forwards: what a
// command does to the pictures lives in the document it holds.
//
// The handlers are spread over files by subject: main_window.cpp (start-up,
// pages, splitters, tone), main_window_files.cpp (File and Edit commands),
// main_window_mouse.cpp (the mouse on both panes and the Measure page),
// main_window_resize.cpp (the Resize page: its readouts and selection box).
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "app/dialogs.h"
#include "app/image_panes.h"
#include "app/image_view.h"
#include "app/main_menu.h"
#include "document/coordinates_line.h"
#include "document/document.h"
#include "document/measure_page.h"
#include "io/format_registry.h"

class QSplitter;
class QTabWidget;

namespace quorvane {

class TMeasurePage;
class TRecentFilesMenu;
class TResizePage;
class TResizeWorkflow;
class TSourceBox;
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
  // The last cursor readout of the Measure page, when there was one.
  const std::optional<TCursorReadout>& LastReadout() const { return last_readout_; }

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
  void ResetMeasureBtnClick();
  void LengthRadioClick();
  void BrightnessBarChange();
  void ResetBCGBtnClick();
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

  // Each pane's picture as shown (overlays included) and its measuring
  // tool, which holds its georeference.
  const TRasterBitmap& SourcePicture() const { return document_.Source.Picture; }
  const TRasterBitmap& DestinationPicture() const { return document_.Destination.Picture; }
  TMeasureTool& SourceMeasure() { return document_.Source.Measure; }
  TMeasureTool& DestMeasure() { return document_.Destination.Measure; }

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
  void ConnectAnyTiff();
  TLoadOptions LoadOptions() const;
  // "Datum From File": read and saved as "Open Any TIFF" is; after an
  // open it selects the file's datum in the Datum list when the list has it
  // (main_window_datum.cpp).
  void ConnectDatumFromFile();
  void SelectDatumFromFile();
  void SourceChanged();
  void SetUpDialogMenus();
  void ShowSourceTexts(const TSourceTexts& texts);

  // The Resize page: its size readouts, the selection box on the source
  // picture and the page's commands (main_window_resize.cpp).
  void BuildResizeWorkflow();
  void ShowNewSize(const TNewSizeTexts& texts);
  void ResizePageMouseDown(const TImageMouse& mouse);
  void ResizePageMouseMove(const TImageMouse& mouse);
  void ResizePageMouseUp(const TImageMouse& mouse);
  void ShowSelection();
  void HideSelection();
  void SetSelection(const TRect& rect);
  TRect SelectionRect() const;
  // The box is shown only while the Resize page is.
  void ShowSelectionOnResizePage();

  // The measuring tool of one pane fed with a mouse event, its drawing
  // repainted and the Measure page's readouts written.
  TImageEx* ViewOf(TPaneChoice pane) const;
  void MeasureMouseDown(TPaneChoice pane, const TImageMouse& mouse);
  void MeasureMouseMove(TPaneChoice pane, const TImageMouse& mouse);
  void MeasureMouseUp(TPaneChoice pane);
  void ShowMeasurements(TPaneChoice pane);
  void ShowGeoReadouts();
  void RedrawOverlays();

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
  std::optional<TCursorReadout> last_readout_;
  // The pane the last cursor readout was taken over.
  TPaneChoice last_readout_pane_ = TPaneChoice::Input;
  TRecentFilesMenu* reopen_menu_ = nullptr;
  bool first_activation_ = true;
  QString command_line_file_;
};

}  // namespace quorvane
