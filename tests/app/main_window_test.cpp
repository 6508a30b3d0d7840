// The main window: menus, controls and their captions, the start-up state,
// the splitters, the readouts after mouse moves and the tone panel texts.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/dialogs.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/tiff_options_dialog.h"
#include "controls/page_control.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"
#include "support/window_files.h"

using namespace quorvane;
using test_support::Child;

namespace {

// A menu as text: item captions in order, "-" for a separator, a submenu's
// caption followed by ">".
QStringList MenuItems(const QMenu* menu) {
  QStringList items;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      items << "-";
    } else {
      items << action->text() + (action->menu() ? ">" : "");
    }
  }
  return items;
}

QString Text(const QWidget* root, const char* label) {
  return Child<QLabel>(root, label)->text();
}

// The page's scroll area, which scrolls it when the window is too low.
QScrollArea* PageScroll(QWidget* page) {
  return page->findChild<QScrollArea*>();
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT
 private:
  TMainWindow* window_ = nullptr;

 private slots:
  void init() {
    window_ = new TMainWindow;
    window_->UseDialogs(CreateDialogs(window_));
  }
  void cleanup() { delete window_; }

  void opensAtItsSizeWithItsCaption() {
    QCOMPARE(window_->objectName(), QString("Form1"));
    QCOMPARE(window_->windowTitle(), QString("Quorvane"));
    QCOMPARE(window_->size(), QSize(621, 545));
  }

  void menusHoldEveryItemAndSeparator() {
    const QList<QMenu*> menus =
        window_->menuBar()->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    QStringList titles;
    for (QAction* action : window_->menuBar()->actions()) titles << action->text();
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&View", "&Options", "&Help"}));
    auto items = [&](const char* name) { return MenuItems(Child<QMenu>(window_, name)); };
    QCOMPARE(items("FileMnu"),
             QStringList({"&Open...", "&Reopen>", "Save &Source As...", "Save &Destination As...",
                          "-", "Print", "-", "E&xit"}));
    QCOMPARE(items("EditMnu"),
             QStringList({"&Paste To Input", "Copy From &Input", "Copy From &Output", "-",
                          "P&recise Sizing...", "-", "&Stretch", "Cr&op", "Copy Coordinates"}));
    QCOMPARE(items("ViewMnu"), QStringList({"&Tiff Info...", "&Bands...", "-", "Zoom &In",
                                            "Zoom &Out", "&Actual Pixels", "&Fit In View"}));
    QCOMPARE(items("OptionsMnu"),
             QStringList({"&Reset Panels", "&Tiff Options...", "Open &Any TIFF", "&Datum From File",
                          "&Fit Large Pictures", "&Set Scale/Coords..."}));
    QCOMPARE(items("HelpMnu"), QStringList({"&Contents", "&Search for Help On...",
                                            "&How to Use Help", "-", "&About..."}));
    QCOMPARE(window_->menuBar()->objectName(), QString("MainMenu1"));
  }

  void menuItemsCarryTheirComponentNames() {
    const TMainMenu& m = window_->Menu();
    const std::pair<QAction*, const char*> named[] = {
        {m.OpenMnu, "OpenMnu"},
        {m.SaveSourceAsMnu, "SaveSourceAsMnu"},
        {m.SaveDestinationAs1, "SaveDestinationAs1"},
        {m.PrintMnu, "PrintMnu"},
        {m.ExitMnu, "ExitMnu"},
        {m.PasteMnu, "PasteMnu"},
        {m.CopyInputMnu, "CopyInputMnu"},
        {m.CopyOutputMnu, "CopyOutputMnu"},
        {m.PreciseMnu, "PreciseMnu"},
        {m.StretchMnu, "StretchMnu"},
        {m.CropMnu, "CropMnu"},
        {m.TiffInfoMnu, "TiffInfoMnu"},
        {m.ZoomInMnu, "ZoomInMnu"},
        {m.ZoomOutMnu, "ZoomOutMnu"},
        {m.ActualPixelsMnu, "ActualPixelsMnu"},
        {m.FitViewMnu, "FitViewMnu"},
        {m.FitLargeMnu, "FitLargeMnu"},
        {m.ResetPanelsMnu, "ResetPanelsMnu"},
        {m.iffOptions1, "iffOptions1"},
        {m.SetScaleCoords1, "SetScaleCoords1"},
        {m.ContentsMnu, "ContentsMnu"},
        {m.SearchHelpMnu, "SearchHelpMnu"},
        {m.HowtoUseMnu, "HowtoUseMnu"},
        {m.AboutMnu, "AboutMnu"},
    };
    for (const auto& [action, name] : named) QCOMPARE(action->objectName(), QString(name));
    QCOMPARE(m.ReopenMnu->objectName(), QString("ReopenMnu"));
    QVERIFY(m.ReopenMnu->actions().isEmpty());
  }

  void standardShortcuts() {
    const TMainMenu& m = window_->Menu();
    QCOMPARE(m.OpenMnu->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(m.ExitMnu->shortcut(), QKeySequence("Ctrl+Q"));
    QCOMPARE(m.PasteMnu->shortcut(), QKeySequence(QKeySequence::Paste));
    QCOMPARE(m.CopyInputMnu->shortcut(), QKeySequence(QKeySequence::Copy));
    QCOMPARE(m.PrintMnu->shortcut(), QKeySequence(QKeySequence::Print));
    QCOMPARE(m.CopyCoordinatesMnu->shortcut(), QKeySequence("Ctrl+Shift+C"));
    QVERIFY(m.CopyOutputMnu->shortcut().isEmpty());
  }

  void pagesWithResizeActive() {
    auto* pages = Child<QTabWidget>(window_, "PageControl");
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->tabText(0), QString("Resize"));
    QCOMPARE(pages->tabText(1), QString("Measure"));
    QCOMPARE(pages->tabText(2), QString("Tools"));
    QCOMPARE(pages->widget(0)->objectName(), QString("ResizePage"));
    QCOMPARE(pages->widget(1)->objectName(), QString("MeasurePage"));
    QCOMPARE(pages->widget(2)->objectName(), QString("TabSheet1"));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(window_->ActivePage(), TPage::Resize);
  }

  void panesAndReadoutsAtStart() {
    QCOMPARE(Text(window_, "DimenDis"), QString("Source Image - Size: 150 X 76 Pixels: 8-bit"));
    // The precise sizing dialog, also the window's, has a Label2 of its own.
    QCOMPARE(Text(Child<QFrame>(window_, "Panel4"), "Label2"), QString("Destination Image"));
    QCOMPARE(Text(window_, "Mouse1Dis"), QString("0"));
    QCOMPARE(Text(window_, "Mouse2Dis"), QString("0"));
    QCOMPARE(Text(window_, "BoxDis"), QString("X1: 0 Y1: 0  X2: 0 Y2: 0  W: 0 H: 0"));
    for (const char* panel : {"Panel13", "Panel7", "Panel6"})
      QCOMPARE(Child<QFrame>(window_, panel)->toolTip(), QString("Cursor Position"));
    auto captions = [&](const char* panel) {
      QStringList texts;
      for (QLabel* label : Child<QFrame>(window_, panel)->findChildren<QLabel*>())
        texts << label->text();
      return texts;
    };
    QCOMPARE(captions("Panel13"), QStringList({" Mouse:", "0"}));
    QCOMPARE(captions("Panel7").first(), QString(" Box"));
    QCOMPARE(captions("Panel6"), QStringList({" Mouse:", "0"}));
    auto* input = Child<TImageEx>(window_, "InputImage");
    auto* output = Child<TImageEx>(window_, "OutputImage");
    QCOMPARE(input->accessibleName(), QString("Source image"));
    QCOMPARE(output->accessibleName(), QString("Destination image"));
    QCOMPARE(input->size(), QSize(150, 76));
    QCOMPARE(output->size(), QSize(0, 0));
    QCOMPARE(input->parentWidget()->parentWidget(), Child<QScrollArea>(window_, "InScrollBox"));
    QCOMPARE(output->parentWidget()->parentWidget(), Child<QScrollArea>(window_, "OutScrollBox"));
  }

  void splitterCapsTheToolPane() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    auto* splitter = Child<QSplitter>(window_, "Splitter1");
    auto* pages = Child<QTabWidget>(window_, "PageControl");
    QCOMPARE(pages->width(), 161);
    QSplitterHandle* handle = splitter->handle(1);
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(2, 50));
    QTest::mouseMove(handle, QPoint(2 + 200 - 161, 50));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(2 + 200 - 161, 50));
    QCOMPARE(pages->width(), 144);
    // Narrower is allowed.
    window_->Splitter1Moved(100, 1);
    splitter->setSizes({100, 500});
    window_->Splitter1Moved(100, 1);
    QCOMPARE(pages->width(), 100);
  }

  void resetPanelsRestoresTheLayout() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    Child<QSplitter>(window_, "Splitter1")->setSizes({60, 600});
    Child<QSplitter>(window_, "Splitter2")->setSizes({50, 400});
    window_->Menu().ResetPanelsMnu->trigger();
    QCOMPARE(Child<QTabWidget>(window_, "PageControl")->width(), 144);
    const int panel2 = Child<QWidget>(window_, "Panel2")->height();
    QCOMPARE(Child<QFrame>(window_, "Panel3")->height(), panel2 / 2);
  }

  void mouseReadoutsFollowThePointerInPicturePixels() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    auto* input = Child<TImageEx>(window_, "InputImage");
    test_support::MoveOver(input, QPoint(17, 42));
    QTRY_COMPARE(Text(window_, "Mouse1Dis"), QString("17,42"));
    test_support::MoveOver(input, QPoint(149, 0));
    QTRY_COMPARE(Text(window_, "Mouse1Dis"), QString("149,0"));
    QCOMPARE(Text(window_, "Mouse2Dis"), QString("0"));
  }

  void toneSlidersWriteTheirPanels() {
    auto* brightness = Child<QSlider>(window_, "BrightnessBar");
    auto* gamma = Child<QSlider>(window_, "GammaBar");
    brightness->setValue(37);
    QCOMPARE(Text(window_, "BrightDis"), QString("0.37"));
    QCOMPARE(Text(window_, "ContrastDis"), QString("0.5"));
    QCOMPARE(Text(window_, "GammaDis"), QString("0.5"));
    gamma->setValue(37);
    QCOMPARE(Text(window_, "GammaDis"), QString("0.4"));
    gamma->setValue(100);
    brightness->setValue(100);
    QCOMPARE(Text(window_, "GammaDis"), QString("1.0"));
    QCOMPARE(Text(window_, "BrightDis"), QString("1"));
    brightness->setValue(0);
    QCOMPARE(Text(window_, "BrightDis"), QString("0"));
    Child<QPushButton>(window_, "ResetBCGBtn")->click();
    QCOMPARE(brightness->value(), 50);
    QCOMPARE(gamma->value(), 50);
    QCOMPARE(Text(window_, "BrightDis"), QString("0.5"));
    QCOMPARE(Text(window_, "GammaDis"), QString("0.5"));
  }

  void tiffOptionsOpenFromTheMenuAndKeepTheirStates() {
    auto* dialog = Child<TTiffOptionsDlg>(window_, "TiffOptionsDlg");
    QTimer::singleShot(0, dialog, [dialog] {
      Child<QCheckBox>(dialog, "CompressChk")->click();
      Child<QPushButton>(dialog, "CancelBtn")->click();
    });
    window_->Menu().iffOptions1->trigger();
    QVERIFY(dialog->isHidden());
    QVERIFY(dialog->UsePackbits());
    QVERIFY(dialog->SaveGeoTiff());
  }

  void droppedFilesAreAccepted() {
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/tmp/picture.tif")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window_, &enter);
    QVERIFY(enter.isAccepted());
    QMimeData text;
    text.setText("not a file");
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, {});
    refused.setAccepted(false);
    QCoreApplication::sendEvent(window_, &refused);
    QVERIFY(!refused.isAccepted());
  }

  // All three tabs in view, wrapped onto rows rather than behind scroll
  // arrows, at the start size, at 1300 x 960 and in narrower tool panes.
  void pageTabsStayVisible() {
    for (QSize size : {QSize(621, 545), QSize(1300, 960)}) {
      window_->resize(size);
      window_->show();
      QVERIFY(QTest::qWaitForWindowExposed(window_));
      auto* bar = qobject_cast<TPageTabBar*>(Child<QTabWidget>(window_, "PageControl")->tabBar());
      for (int width : {161, kToolPaneCap, 90}) {
        Child<QSplitter>(window_, "Splitter1")->setSizes({width, size.width() - width});
        QTest::qWait(10);
        for (int i = 0; i < 3; ++i) QVERIFY(bar->rect().contains(bar->RowTabRect(i)));
        for (QToolButton* arrow : bar->findChildren<QToolButton*>()) QVERIFY(!arrow->isVisible());
      }
      test_support::PressOn(bar, bar->RowTabRect(2).center());
      test_support::ReleaseOn(bar, bar->RowTabRect(2).center());
      QCOMPARE(window_->ActivePage(), TPage::Tools);
      Child<QTabWidget>(window_, "PageControl")->setCurrentIndex(0);
    }
  }

  // In the 8-point dialog font every page fits the start size, the Measure
  // page with its coordinate-system row included, and readouts as long as they
  // get show their whole text; a lower window scrolls; at 1300 x 960
  // controls keep their natural height.
  void pagesFitAndKeepTheirControlsSizes() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QCOMPARE(window_->font().pointSize(), 8);
    auto* pages = Child<QTabWidget>(window_, "PageControl");
    for (int i = 0; i < 3; ++i) {
      pages->setCurrentIndex(i);
      QTest::qWait(10);
      QScrollArea* scroll = PageScroll(pages->widget(i));
      const QSize needed = scroll->widget()->minimumSizeHint();
      QVERIFY2(needed.height() <= scroll->viewport()->height() &&
                   needed.width() <= scroll->viewport()->width(),
               qPrintable(pages->tabText(i)));
    }
    const char* readouts[][2] = {{"Long2Dis",
                                  "-178\xC2\xB0"
                                  "59'59\""},
                                 {"LongDIs", "-178.65556"},
                                 {"EastDis", "10,000,000.0"},
                                 {"AzmEdit", "359.9\xC2\xB0"},
                                 {"ZoneDis", "60"},
                                 {"AreaDis", "4000000.0Px^2"}};
    for (const auto& [name, text] : readouts) {
      auto* field = Child<QLineEdit>(window_, name);
      const QRect room = field->contentsRect() - field->textMargins();
      QVERIFY2(field->fontMetrics().horizontalAdvance(QString::fromUtf8(text)) + 4 <= room.width(),
               name);
    }
    auto* datum = Child<QComboBox>(window_, "DatumCombo");
    QVERIFY(datum->fontMetrics().horizontalAdvance("North American 1927") + 24 <= datum->width());
    pages->setCurrentIndex(1);
    window_->resize(621, 300);
    QTRY_VERIFY(PageScroll(pages->widget(1))->verticalScrollBar()->isVisible());
    window_->resize(1300, 960);
    for (int i = 0; i < 3; ++i) {
      pages->setCurrentIndex(i);
      QTest::qWait(10);
      for (QWidget* control : pages->widget(i)->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(control);  // captions may take a row's height
        if ((label && label->frameShape() != QFrame::NoFrame) ||
            qobject_cast<QLineEdit*>(control) || qobject_cast<QGroupBox*>(control) ||
            qobject_cast<QPushButton*>(control))
          QVERIFY2(control->height() <= control->sizeHint().height(),
                   qPrintable(control->objectName()));
      }
    }
  }

  // Titles are the windows' own: the display name, which Qt appends to
  // every later title on X11, is never set from a caption.
  void titlesAreTheWindowsOwnCaptions() {
    QTemporaryDir dir;
    const QString display_name = QGuiApplication::applicationDisplayName();
    for (const char* name : {"first.tif", "second.lbm"}) {
      test_support::WriteGeoPicture(dir.filePath(name).toStdString(),
                                    test_support::GreyPicture(20, 10));
      window_->OpenImageFile(dir.filePath(name));
      QCOMPARE(window_->windowTitle(), QString(name) + " - Quorvane");
    }
    QCOMPARE(QGuiApplication::applicationDisplayName(), display_name);
  }
};

QUORVANE_QTEST_MAIN(TestMainWindow)
#include "main_window_test.moc"
