#pragma once
// The main window's menu bar, built in one place: every item with its
// caption, mnemonic, shortcut and separator. Handlers are connected by the
// window.
class QAction;
class QMenu;
class QMenuBar;

namespace quorvane {

struct TMainMenu {
  // "&File"
  QAction* OpenMnu = nullptr;
  QMenu* ReopenMnu = nullptr;  // filled by the recent-files list
  QAction* SaveSourceAsMnu = nullptr;
  QAction* SaveDestinationAs1 = nullptr;
  QAction* PrintMnu = nullptr;
  QAction* ExitMnu = nullptr;
  // "&Edit"
  QAction* PasteMnu = nullptr;
  QAction* CopyInputMnu = nullptr;
  QAction* CopyOutputMnu = nullptr;
  QAction* PreciseMnu = nullptr;
  QAction* StretchMnu = nullptr;
  QAction* CropMnu = nullptr;
  QAction* CopyCoordinatesMnu = nullptr;
  // "&View"
  QAction* TiffInfoMnu = nullptr;
  QAction* BandsMnu = nullptr;  // enabled while the source is a measurement file
  QAction* ZoomInMnu = nullptr;
  QAction* ZoomOutMnu = nullptr;
  QAction* ActualPixelsMnu = nullptr;
  QAction* FitViewMnu = nullptr;
  // "&Options"
  QAction* ResetPanelsMnu = nullptr;
  QAction* iffOptions1 = nullptr;
  QAction* AnyTiffMnu = nullptr;        // checkable
  QAction* DatumFromFileMnu = nullptr;  // checkable
  QAction* FitLargeMnu = nullptr;       // checkable
  QAction* SetScaleCoords1 = nullptr;
  // "&Help"
  QAction* ContentsMnu = nullptr;
  QAction* SearchHelpMnu = nullptr;
  QAction* HowtoUseMnu = nullptr;
  QAction* AboutMnu = nullptr;
};

TMainMenu BuildMainMenu(QMenuBar* bar);

}  // namespace quorvane
