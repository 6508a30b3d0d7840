// The "Measure" and "Tools" pages on their own: controls, captions and the
// texts they show.
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include "app/measure_page.h"
#include "app/tools_page.h"
#include "controls/speed_button.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"

using namespace quorvane;
using test_support::Child;

namespace {

// The caption label whose buddy is `widget`, or null.
QLabel* CaptionOf(QWidget* page, QWidget* widget) {
  for (QLabel* label : page->findChildren<QLabel*>())
    if (label->buddy() == widget) return label;
  return nullptr;
}

QStringList RadioTexts(QGroupBox* box) {
  QStringList texts;
  for (QRadioButton* radio : box->findChildren<QRadioButton*>()) texts << radio->text();
  return texts;
}

QString Checked(QGroupBox* box) {
  for (QRadioButton* radio : box->findChildren<QRadioButton*>())
    if (radio->isChecked()) return radio->text();
  return {};
}

}  // namespace

class TestPages : public QObject {
  Q_OBJECT
 private slots:
  void measureFieldsAreReadOnlyAndCaptioned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char* fields[][2] = {{"LongDIs", "Longitude"},     {"LatDis", "Latitude"},
                               {"EastDis", "Cursor East"},   {"NorthDis", "Cursor North"},
                               {"LastEastDis", "Last East"}, {"LastNorthDis", "Last North"},
                               {"AzmEdit", "Azimuth"},       {"ZoneDis", "Zone"},
                               {"LengthDis", "Length"},      {"AreaDis", "Area"}};
    for (const auto& f : fields) QTest::newRow(f[0]) << QString(f[0]) << QString(f[1]);
  }
  void measureFieldsAreReadOnlyAndCaptioned() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    TMeasurePage page;
    auto* field = Child<QLineEdit>(&page, name.toLatin1());
    QVERIFY(field->isReadOnly());
    QLabel* label = CaptionOf(&page, field);
    QVERIFY(label);
    QCOMPARE(label->text(), caption);
  }

  void degreeFieldsSitBelowWithoutCaptions() {
    TMeasurePage page;
    for (const char* name : {"Long2Dis", "Lat2Dis"}) {
      auto* field = Child<QLineEdit>(&page, name);
      QVERIFY(field->isReadOnly());
      QVERIFY(!CaptionOf(&page, field));
    }
    QCOMPARE(Child<QLineEdit>(&page, "Long2Dis")->accessibleName(), QString("Longitude"));
    QCOMPARE(Child<QLineEdit>(&page, "Lat2Dis")->accessibleName(), QString("Latitude"));
  }

  void datumListHoldsTheTwentyThreeDatums() {
    TMeasurePage page;
    page.FillDatumList(DatumListEntries());
    auto* combo = Child<QComboBox>(&page, "DatumCombo");
    QCOMPARE(CaptionOf(&page, combo)->text(), QString("Datum"));
    QCOMPARE(combo->count(), 23);
    QCOMPARE(combo->currentText(), QString("North American 1927"));
    QCOMPARE(page.DatumIndex(), 13);
  }

  void measureChoicesAndTheirStarts() {
    TMeasurePage page;
    auto* image = Child<QGroupBox>(&page, "ImageRadio");
    auto* length = Child<QGroupBox>(&page, "LengthRadio");
    auto* area = Child<QGroupBox>(&page, "AreaRadio");
    QCOMPARE(image->title(), QString("Image"));
    QCOMPARE(length->title(), QString("Length Units"));
    QCOMPARE(area->title(), QString("Area Units"));
    QCOMPARE(RadioTexts(image), QStringList({"Input", "Output"}));
    QCOMPARE(RadioTexts(length),
             QStringList({"Pixles", "Meters", "kMeters", "Feet", "Yards", "Miles"}));
    QCOMPARE(RadioTexts(area), QStringList({"Pixels", "Meters", "Hectres", "kMeters", "Feet",
                                            "Yards", "Acres", "Miles"}));
    QCOMPARE(Checked(image), QString("Input"));
    QCOMPARE(Checked(length), QString("Pixles"));
    QCOMPARE(Checked(area), QString("Pixels"));
    QCOMPARE(Child<QPushButton>(&page, "ResetMeasureBtn")->text(), QString("Reset Measurements"));
  }

  void measureChoicesReportClicksAndIndices() {
    TMeasurePage page;
    QSignalSpy clicks(&page, &TMeasurePage::ChoiceClicked);
    QSignalSpy resets(&page, &TMeasurePage::ResetClicked);
    auto radio = [&](const char* group, const char* text) {
      for (QRadioButton* r : Child<QGroupBox>(&page, group)->findChildren<QRadioButton*>())
        if (r->text() == text) return r;
      return static_cast<QRadioButton*>(nullptr);
    };
    radio("ImageRadio", "Output")->click();
    radio("LengthRadio", "Feet")->click();
    radio("AreaRadio", "Acres")->click();
    Child<QPushButton>(&page, "ResetMeasureBtn")->click();
    QCOMPARE(clicks.size(), 3);
    QCOMPARE(resets.size(), 1);
    QCOMPARE(page.Image(), TMeasureImage::Output);
    QCOMPARE(page.LengthUnit(), 3);
    QCOMPARE(page.AreaUnit(), 6);
  }

  void measureTextsLandInTheirFields() {
    TMeasurePage page;
    TCursorTexts cursor;
    cursor.EastText = "500,000.0";
    cursor.NorthText = "4,649,776.2";
    cursor.LongitudeText = "-75.00000";
    cursor.LatitudeText = "42.00000";
    cursor.LongitudeDms =
        "-75\xC2\xB0"
        "0'0\"";
    cursor.LatitudeDms =
        "42\xC2\xB0"
        "0'0\"";
    cursor.ZoneText = "18";
    page.ShowCursorCoordinates(cursor);
    page.ShowLastPoint({0, 0, "1.5", "2.5"});
    TMeasurementTexts measured;
    measured.LengthText = "7.0Px";
    measured.AreaText = "6.0Px^2";
    measured.AzimuthText = "180.0\xC2\xB0";
    page.ShowMeasurements(measured);
    auto text = [&](const char* name) { return Child<QLineEdit>(&page, name)->text(); };
    QCOMPARE(text("EastDis"), QString("500,000.0"));
    QCOMPARE(text("NorthDis"), QString("4,649,776.2"));
    QCOMPARE(text("LongDIs"), QString("-75.00000"));
    QCOMPARE(text("LatDis"), QString("42.00000"));
    QCOMPARE(text("Long2Dis"), QString::fromUtf8("-75°0'0\""));
    QCOMPARE(text("Lat2Dis"), QString::fromUtf8("42°0'0\""));
    QCOMPARE(text("ZoneDis"), QString("18"));
    QCOMPARE(text("LastEastDis"), QString("1.5"));
    QCOMPARE(text("LastNorthDis"), QString("2.5"));
    QCOMPARE(text("LengthDis"), QString("7.0Px"));
    QCOMPARE(text("AreaDis"), QString("6.0Px^2"));
    QCOMPARE(text("AzmEdit"), QString::fromUtf8("180.0°"));
    // Narrow fields show a readout's start, where its sign is.
    for (const char* name : {"LongDIs", "Long2Dis", "AreaDis"})
      QCOMPARE(Child<QLineEdit>(&page, name)->cursorPosition(), 0);
  }

  void toneSlidersStartCentred() {
    TToolsPage page;
    QCOMPARE(page.objectName(), QString("TabSheet1"));
    for (const char* name : {"BrightnessBar", "ContrastBar", "GammaBar"}) {
      auto* bar = Child<QSlider>(&page, name);
      QCOMPARE(bar->minimum(), 0);
      QCOMPARE(bar->maximum(), 100);
      QCOMPARE(bar->value(), 50);
      QCOMPARE(bar->tickInterval(), 10);
    }
    QCOMPARE(CaptionOf(&page, page.BrightnessBar())->text(), QString("Brightness"));
    QCOMPARE(CaptionOf(&page, page.ContrastBar())->text(), QString("Contrast"));
    QCOMPARE(CaptionOf(&page, page.GammaBar())->text(), QString("Gamma"));
    for (const char* name : {"BrightDis", "ContrastDis", "GammaDis"})
      QCOMPARE(Child<QLabel>(&page, name)->text(), QString("0.5"));
    QCOMPARE(Child<QPushButton>(&page, "ResetBCGBtn")->text(), QString("Reset"));
  }

  void centringDoesNotReportAChange() {
    TToolsPage page;
    QSignalSpy changes(&page, &TToolsPage::ToneChanged);
    page.GammaBar()->setValue(80);
    page.BrightnessBar()->setValue(10);
    QCOMPARE(changes.size(), 2);
    page.CentreTrackBars();
    QCOMPARE(changes.size(), 2);
    QCOMPARE(page.GammaBar()->value(), 50);
    QCOMPARE(page.BrightnessBar()->value(), 50);
    const TToneValues values = page.ReadToneSliders();
    QCOMPARE(values.Brightness, 0.5);
    QCOMPARE(values.Gamma, 0.5);
  }

  void speedButtonsNameThemselvesByTheirHint() {
    TSpeedButton repeat({"Stretch", true});
    QCOMPARE(repeat.toolTip(), QString("Stretch"));
    QCOMPARE(repeat.accessibleName(), QString("Stretch"));
    QVERIFY(repeat.autoRepeat());
    QCOMPARE(repeat.autoRepeatDelay(), 400);
    QCOMPARE(repeat.autoRepeatInterval(), 100);
    TSpeedButton single({"Crop Image"});
    QVERIFY(!single.autoRepeat());
  }
};

QUORVANE_QTEST_MAIN(TestPages)
#include "pages_test.moc"
