// The "Scale/Coordinates" dialog driven as a user would: its fields, the
// unit switch, the scale from a measured line, which image OK stores into,
// and the hemisphere reaching the next TIFF save.
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/scale_dialog.h"
#include "controls/integer_spin.h"
#include "controls/real_spin.h"
#include "document/document.h"
#include "document/save_pane.h"
#include "io/format_registry.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"

using namespace quorvane;
using test_support::Child;

namespace {

const TGeoReference kUtm18North30m{500000, 4649776, 30, 30, 18, true};

// Opens the dialog on the two panes and, from inside its event loop, does
// `step` and presses `button`.
void OpenAndPress(TScaleDlg& dialog, TPane& input, TPane& output, const char* button,
                  const std::function<void()>& step) {
  QTimer::singleShot(0, &dialog, [&dialog, button, step] {
    step();
    Child<QPushButton>(&dialog, button)->click();
  });
  dialog.OpenScaleDialog(input, output);
}

QRadioButton* Choice(TScaleDlg& dialog, const char* group, const char* item) {
  for (QRadioButton* radio : Child<QWidget>(&dialog, group)->findChildren<QRadioButton*>())
    if (radio->text() == item) return radio;
  throw std::runtime_error(std::string("no choice ") + item);
}

// Types `text` into a spin edit as a user would, replacing what it shows.
void TypeInto(TSpinEdit* spin, const QString& text) {
  spin->setFocus();
  spin->selectAll();
  QTest::keyClick(spin, Qt::Key_Delete);
  QTest::keyClicks(spin, text);
}

QString FieldText(TScaleDlg& dialog, const char* name) {
  return Child<TRealSpin>(&dialog, name)->Text();
}

TPane PaneWith(const TGeoReference& reference) {
  TPane pane;
  pane.GeoReference() = reference;
  return pane;
}

}  // namespace

class TestScaleDialog : public QObject {
  Q_OBJECT
 private slots:
  void pagesFieldsAndCaptions() {
    TScaleDlg dialog;
    QCOMPARE(dialog.windowTitle(), QString("Scale/Coordinates"));
    auto* pages = Child<QTabWidget>(&dialog, "PageControl1");
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->tabText(0), QString("Scale/Coordinates"));
    QCOMPARE(pages->tabText(1), QString("Scale-By-Line"));
    QCOMPARE(pages->tabText(2), QString("Settings"));
    QCOMPARE(pages->currentIndex(), 0);
    for (const char* name : {"BaseXSpin", "BaseYSpin", "ScaleXSpin", "ScaleYSpin", "LineSpin"})
      QCOMPARE(Child<TRealSpin>(&dialog, name)->UnitText(), QString("M"));
    QCOMPARE(Child<TIntegerSpin>(&dialog, "ZoneSpin")->Value(), 31);
    QVERIFY(Child<QPushButton>(&dialog, "NorthSouthBtn")->isCheckable());
    QCOMPARE(Child<QPushButton>(&dialog, "UseEastBtn")->text(), QString("Use As East Scale"));
    QCOMPARE(Child<QPushButton>(&dialog, "UseNorthBtn")->text(), QString("Use As North Scale"));
    QCOMPARE(Child<QPushButton>(&dialog, "UseBothBtn")->text(), QString("Use As Both"));
    QVERIFY(Child<QPushButton>(&dialog, "OKBtn")->isDefault());
    QVERIFY(Choice(dialog, "ImageRadio", "Input")->isChecked());
    QVERIFY(Choice(dialog, "UnitsRadio", "Meters")->isChecked());
    QVERIFY(Child<QLineEdit>(&dialog, "LineScaleDis")->isReadOnly());
  }

  void feetShowTheScaleInFeetAndOkLeavesItInMetres() {
    TScaleDlg dialog;
    TPane input = PaneWith(kUtm18North30m), output;
    QString shown;
    OpenAndPress(dialog, input, output, "OKBtn", [&] {
      Choice(dialog, "UnitsRadio", "Feet")->click();
      shown = FieldText(dialog, "ScaleXSpin");
    });
    QVERIFY2(shown.startsWith("98.425196850393"), qPrintable(shown));
    QVERIFY(qAbs(input.GeoReference().ScaleX - 30) < 1e-9);
    QVERIFY(qAbs(input.GeoReference().BaseX - 500000) < 1e-6);
    // The unit stays chosen for the next opening.
    OpenAndPress(dialog, input, output, "CancelBtn",
                 [&] { shown = Child<TRealSpin>(&dialog, "ScaleYSpin")->UnitText(); });
    QCOMPARE(shown, QString("Ft"));
  }

  void measuredLineGivesTheScaleAndUseAsBothSetsBoth() {
    TScaleDlg dialog;
    TPane input = PaneWith(kUtm18North30m), output;
    input.Measure.Points = {{10, 10}, {130, 170}};  // 200 pixels long
    QString pixels, scale;
    OpenAndPress(dialog, input, output, "OKBtn", [&] {
      TypeInto(Child<TRealSpin>(&dialog, "LineSpin"), "1000");
      pixels = Child<QLineEdit>(&dialog, "PixelsDis")->text();
      scale = Child<QLineEdit>(&dialog, "LineScaleDis")->text();
      Child<QPushButton>(&dialog, "UseBothBtn")->click();
    });
    QCOMPARE(pixels, QString("200"));
    QCOMPARE(scale, QString("5.000"));
    QCOMPARE(input.GeoReference().ScaleX, 5.0);
    QCOMPARE(input.GeoReference().ScaleY, 5.0);
    QCOMPARE(dialog.Model().RealLength(), 1000.0);
  }

  void useEastAndUseNorthSetOneScaleEach() {
    TScaleDlg dialog;
    TPane input = PaneWith(kUtm18North30m), output;
    input.Measure.Points = {{0, 0}, {0, 40}};
    OpenAndPress(dialog, input, output, "OKBtn", [&] {
      TypeInto(Child<TRealSpin>(&dialog, "LineSpin"), "100");
      Child<QPushButton>(&dialog, "UseNorthBtn")->click();
    });
    QCOMPARE(input.GeoReference().ScaleX, 30.0);
    QCOMPARE(input.GeoReference().ScaleY, 2.5);
  }

  void kMetersTurns1500IntoOnePointFiveInEveryField() {
    TScaleDlg dialog;
    TPane input = PaneWith({1500, 1500, 1500, 1500, 18, true}), output;
    QStringList texts;
    OpenAndPress(dialog, input, output, "CancelBtn", [&] {
      TypeInto(Child<TRealSpin>(&dialog, "LineSpin"), "1500");
      Choice(dialog, "UnitsRadio", "kMeters")->click();
      for (const char* name : {"BaseXSpin", "BaseYSpin", "ScaleXSpin", "ScaleYSpin", "LineSpin"})
        texts << FieldText(dialog, name) + " " + Child<TRealSpin>(&dialog, name)->UnitText();
    });
    QCOMPARE(texts, QStringList(5, "1.5 kM"));
    QCOMPARE(input.GeoReference().BaseX, 1500.0);  // Cancel stores nothing
  }

  void outputShowsAndEditsTheDestination() {
    TScaleDlg dialog;
    TPane input = PaneWith(kUtm18North30m);
    TPane output = PaneWith({1000, 2000, 60, 60, 33, true});
    QString shown;
    OpenAndPress(dialog, input, output, "OKBtn", [&] {
      Choice(dialog, "ImageRadio", "Output")->click();
      shown = FieldText(dialog, "BaseYSpin");
      TypeInto(Child<TRealSpin>(&dialog, "BaseXSpin"), "1234.5");
    });
    QCOMPARE(shown, QString("2000"));
    QCOMPARE(output.GeoReference().BaseX, 1234.5);
    QCOMPARE(output.GeoReference().Zone, 33);
    QCOMPARE(input.GeoReference(), kUtm18North30m);
    // The choice persists: the next opening shows the destination at once.
    OpenAndPress(dialog, input, output, "CancelBtn",
                 [&] { shown = FieldText(dialog, "BaseXSpin"); });
    QCOMPARE(shown, QString("1234.5"));
  }

  void zoneStaysWithinOneToSixty() {
    TScaleDlg dialog;
    TPane input = PaneWith(kUtm18North30m), output;
    OpenAndPress(dialog, input, output, "OKBtn",
                 [&] { TypeInto(Child<TIntegerSpin>(&dialog, "ZoneSpin"), "75"); });
    QCOMPARE(input.GeoReference().Zone, 60);
    TPane never_set;  // zone 0 from a plain picture
    int shown = 0;
    OpenAndPress(dialog, never_set, output, "CancelBtn",
                 [&] { shown = Child<TIntegerSpin>(&dialog, "ZoneSpin")->Value(); });
    QCOMPARE(shown, 1);
  }

  void southButtonDownThenOkMakesTheNextTiffSaveASouthernZone() {
    TDocument document;
    document.Source.Picture.Reset(TPixelFormat::Bit24, 8, 6);
    document.SourceChanged();
    document.Source.GeoReference() = kUtm18North30m;
    TScaleDlg dialog;
    bool was_down = true;
    OpenAndPress(dialog, document.Source, document.Destination, "OKBtn", [&] {
      auto* button = Child<QPushButton>(&dialog, "NorthSouthBtn");
      was_down = button->isChecked();
      button->click();
    });
    QVERIFY(!was_down);
    QVERIFY(!document.Source.GeoReference().North);

    QTemporaryDir folder;
    const std::string path = folder.filePath("south.tif").toStdString();
    SaveSource(document, path, {});
    TGeoTiffTags tags;
    LoadPicture(path, tags);
    int code = 0;
    for (int i = 0; i < tags.KeyEntryCount; ++i)
      if (tags.Keys[size_t(i)].KeyID == 3072) code = tags.Keys[size_t(i)].Value_Offset;
    QCOMPARE(code, 32718);  // WGS 84 / UTM zone 18 south
  }
};

QUORVANE_QTEST_MAIN(TestScaleDialog)
#include "scale_dialog_test.moc"
