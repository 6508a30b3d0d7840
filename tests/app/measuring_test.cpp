// The mouse on both panes as each page routes it, the Measure page's
// readouts at known pixels of a GeoTIFF made here, the polyline drawn into
// the shown picture pixel for pixel, and page switches that take overlays
// away and bring them back.
#include <QAccessible>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/dialogs.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/source_box.h"
#include "document/measure_drawing.h"
#include "imaging/canvas.h"
#include "raster/pixel_convert.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"
#include "support/window_files.h"

using namespace quorvane;
using test_support::Child;

namespace {

constexpr TColor kGrey{128, 128, 128};

TColor ColorAt(const TRasterBitmap& picture, int x, int y) {
  uint8_t bgr[3];
  ReadRowAs24(picture, y, x, 1, bgr);
  return {bgr[2], bgr[1], bgr[0]};
}

QString Field(const QWidget* root, const char* name) {
  return Child<QLineEdit>(root, name)->text();
}

// Clicks the item of a radio group of the Measure page by its text. Looked
// up on the page: the scale dialog, also the window's child, has an
// "ImageRadio" of its own.
void Choose(QWidget* window, const char* group, const QString& item) {
  QWidget* page = Child<QWidget>(window, "MeasurePage");
  for (QRadioButton* radio : Child<QGroupBox>(page, group)->findChildren<QRadioButton*>())
    if (radio->text() == item) return radio->click();
  QFAIL(qPrintable("no item " + item));
}

bool Same(const TRasterBitmap& a, const TRasterBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (!(ColorAt(a, x, y) == ColorAt(b, x, y))) return false;
  return true;
}

}  // namespace

class TestMeasuring : public QObject {
  Q_OBJECT
 private:
  QTemporaryDir dir_;
  TMainWindow* window_ = nullptr;
  TImageEx* input_ = nullptr;
  TImageEx* output_ = nullptr;

  TPane& Source() { return window_->Document().Source; }
  TPane& Destination() { return window_->Document().Destination; }
  void Page(TPage page) { Child<QTabWidget>(window_, "PageControl")->setCurrentIndex(int(page)); }
  void Click(TImageEx* view, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    test_support::MoveOver(view, at);
    test_support::PressOn(view, at, button);
    test_support::ReleaseOn(view, at, button);
  }

 private slots:
  void init() {
    window_ = new TMainWindow;
    window_->UseDialogs(CreateDialogs(window_));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    const QString file = dir_.filePath("map.tif");
    test_support::WriteGeoPicture(file.toStdString(), test_support::GreyPicture(120, 90));
    window_->OpenImageFile(file);
    // A destination of its own size and georeference, made the way the tone
    // sliders make it: from the tone base.
    window_->Document().ToneBase = test_support::GreyPicture(100, 80);
    Destination().GeoReference() = {1000, 2000, 2, 2, 33, false};
    Child<QPushButton>(window_, "ResetBCGBtn")->click();
    input_ = Child<TImageEx>(window_, "InputImage");
    output_ = Child<TImageEx>(window_, "OutputImage");
    QCOMPARE(input_->size(), QSize(120, 90));
    QCOMPARE(output_->size(), QSize(100, 80));
  }
  void cleanup() {
    delete window_;
    QDir::setCurrent(QDir::tempPath());
  }

  void resizePageMeasuresNothingAndReadsOnlyTheMouse() {
    Click(input_, {10, 20});
    Click(output_, {30, 40});
    QVERIFY(Source().Measure.Points.empty());
    QVERIFY(Destination().Measure.Points.empty());
    QCOMPARE(Child<QLabel>(window_, "Mouse1Dis")->text(), QString("10,20"));
    QCOMPARE(Child<QLabel>(window_, "Mouse2Dis")->text(), QString("30,40"));
    QCOMPARE(Field(window_, "EastDis"), QString());
    QCOMPARE(Field(window_, "LastEastDis"), QString());
  }

  void measurePageFeedsThePaneTheImageChoiceNames() {
    Page(TPage::Measure);
    Click(input_, {10, 20});
    Click(output_, {5, 5});
    QCOMPARE(Source().Measure.Points.size(), size_t(1));
    QVERIFY(Destination().Measure.Points.empty());
    QCOMPARE(Field(window_, "LastEastDis"), QString("500,300.0"));
    QCOMPARE(Field(window_, "LastNorthDis"), QString("4,649,176.0"));

    Choose(window_, "ImageRadio", "Output");
    Click(input_, {30, 20});
    Click(output_, {5, 5});
    QCOMPARE(Source().Measure.Points.size(), size_t(1));
    QCOMPARE(Destination().Measure.Points.size(), size_t(1));
    QCOMPARE(Field(window_, "LastEastDis"), QString("1,010.0"));
    QCOMPARE(Field(window_, "LastNorthDis"), QString("1,990.0"));
    // Moves over either pane read out that pane's position.
    test_support::MoveOver(input_, {40, 10});
    QCOMPARE(Field(window_, "EastDis"), QString("501,200.0"));
    QCOMPARE(Field(window_, "ZoneDis"), QString("18"));
    test_support::MoveOver(output_, {50, 10});
    QCOMPARE(Field(window_, "EastDis"), QString("1,100.0"));
    QCOMPARE(Field(window_, "NorthDis"), QString("1,980.0"));
    QCOMPARE(Field(window_, "ZoneDis"), QString("33"));
  }

  void toolsPageMeasuresTheSourceOnly() {
    Page(TPage::Tools);
    Click(input_, {10, 20});
    Click(output_, {5, 5});
    QCOMPARE(Source().Measure.Points.size(), size_t(1));
    QVERIFY(Destination().Measure.Points.empty());
    test_support::MoveOver(output_, {50, 10});
    QCOMPARE(Child<QLabel>(window_, "Mouse2Dis")->text(), QString("50,10"));
    // the last source readout
    QCOMPARE(Field(window_, "EastDis"), QString("500,300.0"));
    // With "Output" chosen the source takes no points on any page.
    Choose(window_, "ImageRadio", "Output");
    Click(input_, {60, 20});
    QCOMPARE(Source().Measure.Points.size(), size_t(1));
  }

  void cursorReadoutsOnTheChosenDatum() {
    Page(TPage::Measure);
    test_support::MoveOver(input_, {10, 20});
    QCOMPARE(Field(window_, "EastDis"), QString("500,300.0"));
    QCOMPARE(Field(window_, "NorthDis"), QString("4,649,176.0"));
    QCOMPARE(Field(window_, "ZoneDis"), QString("18"));
    const QString nad27 = Field(window_, "LongDIs");
    const QString nad27_latitude = Field(window_, "LatDis");
    QVERIFY2(nad27.startsWith("-74.99"), qPrintable(nad27));
    QVERIFY2(Field(window_, "LatDis").startsWith("41.99"), qPrintable(Field(window_, "LatDis")));
    QVERIFY(Field(window_, "Long2Dis").contains(QChar(0xB0)));
    QVERIFY(Field(window_, "Lat2Dis").contains("'"));
    auto* datum = Child<QComboBox>(window_, "DatumCombo");
    QCOMPARE(datum->currentText(), QString("North American 1927"));
    datum->setCurrentIndex(0);
    test_support::MoveOver(input_, {11, 20});
    test_support::MoveOver(input_, {10, 20});
    QVERIFY(Field(window_, "LatDis") != nad27_latitude);
    // Copy Coordinates takes the last readout, on the datum it was made on.
    window_->Menu().CopyCoordinatesMnu->trigger();
    const QString line = QGuiApplication::clipboard()->text();
    QVERIFY2(line.startsWith("Pixel 10,20; East 500,300.0; North 4,649,176.0; Zone 18;"),
             qPrintable(line));
    QVERIFY2(line.endsWith("; Datum " + datum->currentText()), qPrintable(line));
  }

  void lengthAreaAndAzimuthInTheChosenUnits() {
    Page(TPage::Measure);
    Click(input_, {10, 10});
    Click(input_, {40, 10});
    Click(input_, {40, 50});
    QCOMPARE(Field(window_, "LengthDis"), QString("70.0Px"));
    QCOMPARE(Field(window_, "AreaDis"), QString("600.0Px^2"));
    QCOMPARE(Field(window_, "AzmEdit"), QString("180.0") + QChar(0xB0));
    Choose(window_, "LengthRadio", "Meters");
    QCOMPARE(Field(window_, "LengthDis"), QString("2100.0M"));
    Choose(window_, "AreaRadio", "Hectres");
    QCOMPARE(Field(window_, "AreaDis"), QString("54.0Hectare"));
    // The choice of pane refreshes the readouts from the other tool.
    Choose(window_, "ImageRadio", "Output");
    QCOMPARE(Field(window_, "LengthDis"), QString("0.0M"));
    Choose(window_, "ImageRadio", "Input");
    QCOMPARE(Field(window_, "LengthDis"), QString("2100.0M"));
    // A right click takes the last point away.
    Click(input_, {5, 80}, Qt::RightButton);
    QCOMPARE(Field(window_, "LengthDis"), QString("900.0M"));
  }

  // The readouts follow a choice however it is made: the arrow keys and an
  // accessibility action check an item without clicking it.
  void unitChosenByKeyboardOrAccessibilityRefreshesTheReadouts() {
    Page(TPage::Measure);
    Click(input_, {10, 10});
    Click(input_, {40, 10});
    QCOMPARE(Field(window_, "LengthDis"), QString("30.0Px"));
    auto radio = [&](const char* text) {
      QWidget* group = Child<QGroupBox>(Child<QWidget>(window_, "MeasurePage"), "LengthRadio");
      for (QRadioButton* r : group->findChildren<QRadioButton*>())
        if (r->text() == text) return r;
      return static_cast<QRadioButton*>(nullptr);
    };
    radio("Pixles")->setFocus();
    QTest::keyClick(radio("Pixles"), Qt::Key_Right);
    QVERIFY(radio("Meters")->isChecked());
    QCOMPARE(Field(window_, "LengthDis"), QString("900.0M"));
    QAccessibleInterface* feet = QAccessible::queryAccessibleInterface(radio("Feet"));
    feet->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(radio("Feet")->isChecked());
    QCOMPARE(Field(window_, "LengthDis"), QString("2952.8Ft"));
  }

  void markersAndSegmentsArePaintedIntoTheShownPicture() {
    Page(TPage::Measure);
    test_support::MoveOver(input_, {20, 40});
    test_support::PressOn(input_, {20, 40});
    // The point being dragged is cyan inside a white outline.
    QCOMPARE(ColorAt(Source().Picture, 16, 36), kColorWhite);
    QCOMPARE(ColorAt(Source().Picture, 23, 43), kColorWhite);
    QCOMPARE(ColorAt(Source().Picture, 20, 40), kColorCyan);
    // right and bottom edges excluded
    QCOMPARE(ColorAt(Source().Picture, 24, 44), kGrey);
    test_support::ReleaseOn(input_, {20, 40});
    QCOMPARE(ColorAt(Source().Picture, 20, 40), kColorRed);
    // A flat segment: black centre, red flank above, nothing below.
    Click(input_, {80, 44});
    QCOMPARE(ColorAt(Source().Picture, 50, 42), kColorBlack);
    QCOMPARE(ColorAt(Source().Picture, 50, 41), kColorRed);
    QCOMPARE(ColorAt(Source().Picture, 50, 43), kGrey);
    // A steep one: the red flank on the left.
    Click(input_, {84, 84});
    QCOMPARE(ColorAt(Source().Picture, 82, 64), kColorBlack);
    QCOMPARE(ColorAt(Source().Picture, 81, 64), kColorRed);
    QCOMPARE(ColorAt(Source().Picture, 83, 64), kGrey);
  }

  void draggingMovesThePointAndErasesItsOldPlace() {
    Page(TPage::Measure);
    Click(input_, {20, 20});
    Click(input_, {60, 20});
    test_support::PressOn(input_, {60, 20});
    for (int x = 61; x <= 90; x += 3) test_support::MoveOver(input_, {x, 50});
    test_support::ReleaseOn(input_, {88, 50});
    QCOMPARE(Source().Measure.Points.back(), (TPixelPoint{88, 50}));
    QCOMPARE(ColorAt(Source().Picture, 60, 20), kGrey);
    QCOMPARE(ColorAt(Source().Picture, 88, 50), kColorRed);
    TRasterBitmap expected = test_support::GreyPicture(120, 90);
    TMeasureTool tool = Source().Measure;
    quorvane::Draw(tool, expected);
    QVERIFY(Same(Source().Picture, expected));
  }

  void pageSwitchesTakeOverlaysAwayAndBringThemBack() {
    const TRasterBitmap clean = test_support::GreyPicture(120, 90);
    Page(TPage::Measure);
    Click(input_, {20, 20});
    Click(input_, {60, 30});
    Choose(window_, "ImageRadio", "Output");
    Click(output_, {10, 10});
    const TRasterBitmap measured = Source().Picture;
    QVERIFY(!Same(measured, clean));
    Page(TPage::Tools);
    QVERIFY(Same(Source().Picture, clean));
    QVERIFY(Same(Destination().Picture, test_support::GreyPicture(100, 80)));
    Page(TPage::Measure);
    QVERIFY(Same(Source().Picture, measured));
    QCOMPARE(ColorAt(Destination().Picture, 10, 10), kColorRed);
    Page(TPage::Resize);
    // The Resize page draws only the selection box, which puts back what
    // was under it when hidden.
    QVERIFY(!Same(Source().Picture, clean));
    window_->SourceBox().HideBox();
    QVERIFY(Same(Source().Picture, clean));
    // points outlive the page
    QCOMPARE(Source().Measure.Points.size(), size_t(2));
  }

  void resetMeasurementsEmptiesTheChosenPane() {
    Page(TPage::Measure);
    Click(input_, {20, 20});
    Click(input_, {60, 30});
    Choose(window_, "ImageRadio", "Output");
    Click(output_, {10, 10});
    Child<QPushButton>(window_, "ResetMeasureBtn")->click();
    QVERIFY(Destination().Measure.Points.empty());
    QCOMPARE(ColorAt(Destination().Picture, 10, 10), kGrey);
    QCOMPARE(Field(window_, "LengthDis"), QString("0.0Px"));
    QCOMPARE(Source().Measure.Points.size(), size_t(2));
    QCOMPARE(ColorAt(Source().Picture, 17, 22), kColorRed);
  }

  void toneSlidersRebuildTheDestinationFromTheToneBase() {
    auto* brightness = Child<QSlider>(window_, "BrightnessBar");
    window_->Document().ToneBase = test_support::GreyPicture(30, 20, 25);
    brightness->setValue(100);
    QCOMPARE(output_->size(), QSize(30, 20));
    QCOMPARE(ColorAt(Destination().Picture, 5, 5), (TColor{250, 250, 250}));
    brightness->setValue(60);
    // never accumulated
    QCOMPARE(ColorAt(Destination().Picture, 5, 5), (TColor{39, 39, 39}));
    QCOMPARE(Child<QLabel>(window_, "BrightDis")->text(), QString("0.6"));
    // Centring alone does not adjust: the panels keep their texts.
    window_->ResetToneSliders(false);
    QCOMPARE(brightness->value(), 50);
    QCOMPARE(Child<QLabel>(window_, "BrightDis")->text(), QString("0.6"));
    QCOMPARE(ColorAt(Destination().Picture, 5, 5), (TColor{39, 39, 39}));
  }
};

QUORVANE_QTEST_MAIN(TestMeasuring)
#include "measuring_test.moc"
