#include "app/main_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace quorvane {

namespace {

QMenu* Menu(QMenuBar* bar, const char* caption, const char* name) {
  QMenu* menu = bar->addMenu(caption);
  menu->setObjectName(name);
  return menu;
}

QAction* Item(QMenu* menu, const char* caption, const char* name,
              const QKeySequence& shortcut = {}) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  return action;
}

void BuildFileMenu(QMenuBar* bar, TMainMenu& m) {
  QMenu* file = Menu(bar, "&File", "FileMnu");
  m.OpenMnu = Item(file, "&Open...", "OpenMnu", QKeySequence::Open);
  m.ReopenMnu = file->addMenu("&Reopen");
  m.ReopenMnu->setObjectName("ReopenMnu");
  m.SaveSourceAsMnu = Item(file, "Save &Source As...", "SaveSourceAsMnu");
  m.SaveDestinationAs1 = Item(file, "Save &Destination As...", "SaveDestinationAs1");
  file->addSeparator();
  m.PrintMnu = Item(file, "Print", "PrintMnu", QKeySequence::Print);
  file->addSeparator();
  m.ExitMnu = Item(file, "E&xit", "ExitMnu", QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void BuildEditMenu(QMenuBar* bar, TMainMenu& m) {
  QMenu* edit = Menu(bar, "&Edit", "EditMnu");
  m.PasteMnu = Item(edit, "&Paste To Input", "PasteMnu", QKeySequence::Paste);
  m.CopyInputMnu = Item(edit, "Copy From &Input", "CopyInputMnu", QKeySequence::Copy);
  m.CopyOutputMnu = Item(edit, "Copy From &Output", "CopyOutputMnu");
  edit->addSeparator();
  m.PreciseMnu = Item(edit, "P&recise Sizing...", "PreciseMnu");
  edit->addSeparator();
  m.StretchMnu = Item(edit, "&Stretch", "StretchMnu");
  m.CropMnu = Item(edit, "Cr&op", "CropMnu");
  m.CopyCoordinatesMnu = Item(edit, "Copy Coordinates", "CopyCoordinatesMnu",
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
}

void BuildOtherMenus(QMenuBar* bar, TMainMenu& m) {
  QMenu* view = Menu(bar, "&View", "ViewMnu");
  m.TiffInfoMnu = Item(view, "&Tiff Info...", "TiffInfoMnu");
  m.BandsMnu = Item(view, "&Bands...", "BandsMnu");
  m.BandsMnu->setEnabled(false);
  view->addSeparator();
  // Ctrl+= as well, where "+" needs the shift key.
  m.ZoomInMnu = Item(view, "Zoom &In", "ZoomInMnu");
  m.ZoomInMnu->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  m.ZoomOutMnu = Item(view, "Zoom &Out", "ZoomOutMnu", QKeySequence(Qt::CTRL | Qt::Key_Minus));
  m.ActualPixelsMnu =
      Item(view, "&Actual Pixels", "ActualPixelsMnu", QKeySequence(Qt::CTRL | Qt::Key_0));
  m.FitViewMnu = Item(view, "&Fit In View", "FitViewMnu", QKeySequence(Qt::CTRL | Qt::Key_9));

  QMenu* options = Menu(bar, "&Options", "OptionsMnu");
  m.ResetPanelsMnu = Item(options, "&Reset Panels", "ResetPanelsMnu");
  m.iffOptions1 = Item(options, "&Tiff Options...", "iffOptions1");
  // Off, TIFFs are read by the program's own reader alone.
  m.AnyTiffMnu = Item(options, "Open &Any TIFF", "AnyTiffMnu");
  m.AnyTiffMnu->setCheckable(true);
  // Off, the Datum list keeps the user's choice across opens.
  m.DatumFromFileMnu = Item(options, "&Datum From File", "DatumFromFileMnu");
  m.DatumFromFileMnu->setCheckable(true);
  // Off, every new picture shows at 1:1.
  m.FitLargeMnu = Item(options, "&Fit Large Pictures", "FitLargeMnu");
  m.FitLargeMnu->setCheckable(true);
  m.SetScaleCoords1 = Item(options, "&Set Scale/Coords...", "SetScaleCoords1");

  QMenu* help = Menu(bar, "&Help", "HelpMnu");
  m.ContentsMnu = Item(help, "&Contents", "ContentsMnu");
  m.SearchHelpMnu = Item(help, "&Search for Help On...", "SearchHelpMnu");
  m.HowtoUseMnu = Item(help, "&How to Use Help", "HowtoUseMnu");
  help->addSeparator();
  m.AboutMnu = Item(help, "&About...", "AboutMnu");
}

}  // namespace

TMainMenu BuildMainMenu(QMenuBar* bar) {
  bar->setObjectName("MainMenu1");
  TMainMenu menu;
  BuildFileMenu(bar, menu);
  BuildEditMenu(bar, menu);
  BuildOtherMenus(bar, menu);
  return menu;
}

}  // namespace quorvane
