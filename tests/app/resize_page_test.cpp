// The Resize page in the window: its controls, the sizing through them, the
// selection box under the pointer, Stretch, Crop and their effect on the
// box, the pictures and the georeference.
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <random>

#include "app/clipboard_pictures.h"
#include "app/dialogs.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/print_dialog.h"
#include "app/progress_windows.h"
#include "app/resize_page.h"
#include "app/resize_workflow.h"
#include "app/source_box.h"
#include "controls/inc_spin.h"
#include "controls/speed_button.h"
#include "document/measure_drawing.h"
#include "document/resize_driver.h"
#include "geo/geo_reference.h"
#include "imaging/bitmap_utils.h"
#include "support/pixel_probe.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"
#include "support/window_files.h"
#include "support/window_pictures.h"

using namespace quorvane;
using test_support::Child;
using test_support::Pattern;
using test_support::SameBytes;

namespace {

QStringList Items(const QGroupBox* group) {
  QStringList items;
  for (const QRadioButton* radio : group->findChildren<QRadioButton*>()) items << radio->text();
  return items;
}

QString Chosen(const QGroupBox* group) {
  for (const QRadioButton* radio : group->findChildren<QRadioButton*>())
    if (radio->isChecked()) return radio->text();
  return {};
}

// The scale dialog has a group of the same name, so the page is searched
// alone.
void Choose(const QWidget* root, const char* group, const QString& item) {
  const QWidget* page = Child<QWidget>(root, "ResizePage");
  for (QRadioButton* radio : Child<QGroupBox>(page, group)->findChildren<QRadioButton*>())
    if (radio->text() == item) radio->click();
}

}  // namespace

class TestResizePage : public QObject {
  Q_OBJECT
 private:
  TMainWindow* window_ = nullptr;
  TImageEx* input_ = nullptr;

  QString Text(const char* label) const { return Child<QLabel>(window_, label)->text(); }
  TIncSpin* Spin() const { return Child<TIncSpin>(window_, "IncSpin"); }
  void ClickSpin(QToolButton* button) {
    test_support::PressOn(button, button->rect().center());
    test_support::ReleaseOn(button, button->rect().center());
  }
  void Drag(QPoint from, QPoint to) {
    test_support::MoveOver(input_, from);
    test_support::PressOn(input_, from);
    test_support::MoveOver(input_, to);
    test_support::ReleaseOn(input_, to);
  }
  Qt::CursorShape ShapeAt(QPoint point) {
    test_support::MoveOver(input_, point);
    return input_->cursor().shape();
  }
  // The source replaced as a paste would, with the box shown again.
  void UseSource(TRasterBitmap picture) {
    window_->SourceBox().HideBox();
    window_->Document().Source.Picture = std::move(picture);
    window_->Document().SourceChanged();
    input_->PictureChanged();
    window_->SourceBox().ShowBox();
  }
  const TRasterBitmap& Source() const { return window_->Document().Source.Picture; }
  void Page(TPage page) { Child<QTabWidget>(window_, "PageControl")->setCurrentIndex(int(page)); }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    test_support::MoveOver(input_, at);
    test_support::PressOn(input_, at, button);
    test_support::ReleaseOn(input_, at, button);
  }
  // What the print dialog would print of the pane named `item`.
  TRasterBitmap Printed(const char* item) {
    auto* dialog = Child<TPrintDlg>(window_, "PrintDlg");
    TRasterBitmap printed;
    QTimer::singleShot(0, dialog, [&] {
      for (QRadioButton* radio :
           Child<QWidget>(dialog, "SelectRadio")->findChildren<QRadioButton*>())
        if (radio->text() == item) radio->click();
      printed = dialog->ChosenPicture();
      dialog->reject();
    });
    window_->Menu().PrintMnu->trigger();
    return printed;
  }
  TRasterBitmap SavedSource(const QString& file) {
    window_->UseFileChoosers({.SaveName = [file](QWidget*) { return file; }});
    window_->SaveSourceAsMnuClick();
    return test_support::ReadGeoPicture(file.toStdString()).Picture;
  }

 private slots:
  void init() {
    window_ = new TMainWindow;
    window_->UseDialogs(CreateDialogs(window_, QUORVANE_HELP_DIR));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    input_ = Child<TImageEx>(window_, "InputImage");
  }
  void cleanup() { delete window_; }

  void controlsAsThePageTableGivesThem() {
    auto* page = Child<TResizePage>(window_, "ResizePage");
    QCOMPARE(Child<QGroupBox>(page, "GroupBox1")->title(), QString(" Image Size"));
    QCOMPARE(Text("Label6"), QString("New Size"));
    QCOMPARE(Text("ImageSizeDis"), QString(" 150 x 76"));
    QCOMPARE(Text("IncUnitsDis"), QString("Percent"));
    QCOMPARE(Text("PercentDis"), QString(" 0"));
    QCOMPARE(Child<QLabel>(page, "Label6")->buddy(), Child<QLabel>(page, "ImageSizeDis"));
    for (const char* panel : {"ImageSizeDis", "PercentDis"})
      QCOMPARE(Child<QLabel>(page, panel)->frameShadow(), QFrame::Sunken);
    auto* units = Child<QGroupBox>(page, "UnitsRadio");
    QCOMPARE(units->title(), QString("Units"));
    QCOMPARE(Items(units), QStringList({"%", "Pixels"}));
    QCOMPARE(Chosen(units), QString("%"));
    auto* increments = Child<QGroupBox>(page, "IncRadio");
    QCOMPARE(increments->title(), QString("Increment"));
    QCOMPARE(Items(increments), QStringList({"1", "3", "5", "10", "30", "50"}));
    QCOMPARE(Chosen(increments), QString("10"));
    auto* sharpness = Child<QGroupBox>(page, "SharpGroup");
    QCOMPARE(sharpness->title(), QString("Sharpness"));
    QCOMPARE(Items(sharpness), QStringList({"Soft", "Medium", "Sharp"}));
    QCOMPARE(Chosen(sharpness), QString("Sharp"));
    auto* force = Child<QCheckBox>(page, "Force24BitChk");
    QCOMPARE(force->text(), QString("Force To 24-Bit"));
    QVERIFY(!force->isChecked());
    QCOMPARE(Child<QPushButton>(page, "ResetSizeBtn")->text(), QString("Reset"));
  }

  void speedButtonsAndTheSpinButtonInTheirPlaces() {
    auto* strip = Child<QFrame>(window_, "Panel5");
    const std::pair<const char*, const char*> buttons[] = {{"StretchBtn", "Stretch"},
                                                           {"ClipBtn", "Crop Image"}};
    for (const auto& [name, hint] : buttons) {
      auto* button = Child<TSpeedButton>(strip, name);
      QCOMPARE(button->toolTip(), QString(hint));
      QCOMPARE(button->accessibleName(), QString(hint));
      QVERIFY(!button->icon().isNull());
      QVERIFY(button->text().isEmpty() || button->toolButtonStyle() == Qt::ToolButtonIconOnly);
    }
    auto* step = Child<QLabel>(window_, "PercentDis");
    QCOMPARE(Spin()->parentWidget(), step);
    QVERIFY(Spin()->isVisible());
    QCOMPARE(Spin()->geometry().right(), step->contentsRect().right());
  }

  // 150 x 76: three steps of -50 % reach -150 %, a negative size that the
  // stretch refuses with a warning; the box comes back all the same.
  void stepsDownPastZeroAndTheStretchWarns() {
    Choose(window_, "IncRadio", "50");
    for (int i = 0; i < 2; ++i) ClickSpin(Spin()->DownButton());
    QCOMPARE(Text("ImageSizeDis"), QString(" 0 x 0"));
    QCOMPARE(Text("PercentDis"), QString(" -100"));
    test_support::TMessageWatcher messages;
    window_->Menu().StretchMnu->trigger();
    // A size of nothing gets a warning of its own rather than a picture.
    QTRY_COMPARE(messages.Texts(), QStringList({"Zero Image Size"}));
    QCOMPARE(messages.Seen()[0].Icon, QMessageBox::Warning);

    ClickSpin(Spin()->DownButton());
    QCOMPARE(Text("ImageSizeDis"), QString(" -75 x -38"));
    QCOMPARE(Text("PercentDis"), QString(" -150"));
    Child<TSpeedButton>(window_, "StretchBtn")->click();
    QTRY_COMPARE(messages.Texts(), QStringList({"Zero Image Size", "Negative Image Size"}));
    QCOMPARE(messages.Seen()[1].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(messages.Seen()[1].OtherWindows.isEmpty());  // no progress window
    QVERIFY(window_->Document().Destination.Picture.Empty());
    QVERIFY(Child<TProgressDlg>(window_, "ProgressDlg")->isHidden());
    QVERIFY(window_->SourceBox().Box().Showing());
  }

  void switchingUnitsReinterpretsTheStep() {
    Choose(window_, "IncRadio", "30");
    ClickSpin(Spin()->UpButton());
    QCOMPARE(Text("ImageSizeDis"), QString(" 195 x 99"));
    Choose(window_, "UnitsRadio", "Pixels");
    QCOMPARE(Text("ImageSizeDis"), QString(" 180 x 91"));
    QCOMPARE(Text("IncUnitsDis"), QString("Pixels"));
    QCOMPARE(Text("PercentDis"), QString(" 30"));
    Choose(window_, "UnitsRadio", "%");
    QCOMPARE(Text("ImageSizeDis"), QString(" 195 x 99"));
    QCOMPARE(Text("IncUnitsDis"), QString("Percent"));
  }

  void aHeldSpinButtonStepsAgainAfter400ThenEvery100Ms() {
    QToolButton* up = Spin()->UpButton();
    test_support::PressOn(up, up->rect().center());
    QCOMPARE(Text("PercentDis"), QString(" 10"));
    TAutoRepeat& repeat = Spin()->Repeater();
    QCOMPARE(repeat.NextWaitMs(), 400);
    repeat.Expire();
    QCOMPARE(Text("PercentDis"), QString(" 20"));
    QCOMPARE(repeat.NextWaitMs(), 100);
    repeat.Expire();
    test_support::ReleaseOn(up, up->rect().center());
    QCOMPARE(Text("PercentDis"), QString(" 30"));
    QVERIFY(!repeat.Running());
  }

  void aDragDrawsTheBoxAndTheReadoutFollowsEveryEvent() {
    UseSource(Pattern(150, 76));
    test_support::MoveOver(input_, QPoint(10, 20));
    test_support::PressOn(input_, QPoint(10, 20));
    QCOMPARE(Text("BoxDis"), QString("X1: 10 Y1: 20  X2: 10 Y2: 20  W: 0 H: 0"));
    test_support::MoveOver(input_, QPoint(50, 60));
    QCOMPARE(Text("BoxDis"), QString("X1: 10 Y1: 20  X2: 50 Y2: 60  W: 40 H: 40"));
    QCOMPARE(Text("Mouse1Dis"), QString("50,60"));
    test_support::ReleaseOn(input_, QPoint(50, 60));
    QVERIFY(!window_->SourceBox().Box().Dragging());
    QCOMPARE(test_support::PixelColor(Source(), 30, 20), kColorRed);
    QCOMPARE(test_support::PixelColor(Source(), 30, 19), kColorBlack);
    QCOMPARE(test_support::PixelColor(Source(), 50, 60), kColorBlack);  // a handle
  }

  // Handles, edge bands and the inside, with points on Right and Bottom
  // belonging to the edge bands rather than to the inside.
  void pointerShapesFollowTheZones() {
    Drag({10, 20}, {50, 60});
    QCOMPARE(ShapeAt({10, 20}), Qt::SizeFDiagCursor);
    QCOMPARE(ShapeAt({52, 20}), Qt::SizeBDiagCursor);
    QCOMPARE(ShapeAt({8, 62}), Qt::SizeBDiagCursor);
    QCOMPARE(ShapeAt({50, 60}), Qt::SizeFDiagCursor);
    QCOMPARE(ShapeAt({30, 40}), Qt::SizeAllCursor);
    QCOMPARE(ShapeAt({50, 40}), Qt::SizeHorCursor);
    QCOMPARE(ShapeAt({7, 40}), Qt::SizeHorCursor);
    QCOMPARE(ShapeAt({30, 60}), Qt::SizeVerCursor);
    QCOMPARE(ShapeAt({30, 17}), Qt::SizeVerCursor);
    QCOMPARE(ShapeAt({53, 40}), Qt::ArrowCursor);
    QCOMPARE(ShapeAt({30, 63}), Qt::ArrowCursor);
  }

  void theTopLeftHandleDraggedPastTheRightEdgeBecomesTheTopRight() {
    Drag({10, 20}, {50, 60});
    test_support::PressOn(input_, QPoint(10, 20));
    test_support::MoveOver(input_, QPoint(70, 30));
    QCOMPARE(Text("BoxDis"), QString("X1: 50 Y1: 30  X2: 70 Y2: 60  W: 20 H: 30"));
    QCOMPARE(input_->cursor().shape(), Qt::SizeBDiagCursor);
    test_support::MoveOver(input_, QPoint(80, 25));
    test_support::ReleaseOn(input_, QPoint(80, 25));
    QCOMPARE(Text("BoxDis"), QString("X1: 50 Y1: 25  X2: 80 Y2: 60  W: 30 H: 35"));
  }

  // Leaving the page puts back every byte under the box; presses elsewhere
  // do not reach it, and coming back draws it again.
  void otherPagesHideTheBoxWithoutATrace() {
    const TRasterBitmap clean = Pattern(150, 76);
    UseSource(clean);
    Drag({10, 20}, {140, 70});
    QVERIFY(!SameBytes(Source(), clean));
    auto* pages = Child<QTabWidget>(window_, "PageControl");
    pages->setCurrentIndex(int(TPage::Measure));
    QVERIFY(SameBytes(Source(), clean));
    Drag({30, 30}, {60, 60});
    QCOMPARE(Text("BoxDis"), QString("X1: 10 Y1: 20  X2: 140 Y2: 70  W: 130 H: 50"));
    pages->setCurrentIndex(int(TPage::Resize));
    QVERIFY(window_->SourceBox().Box().Showing());
    QCOMPARE(test_support::PixelColor(Source(), 100, 20), kColorRed);
  }

  // Lines of no length leave the corner pixel itself alone; only the black
  // ring beside it shows, and no handles.
  void anEmptyBoxDrawsOnlyItsOutlinesAtTheCorner() {
    const TRasterBitmap clean = Pattern(150, 76);
    UseSource(clean);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool ring = x < 2 && y < 2 && x + y > 0;
        QCOMPARE(test_support::PixelColor(Source(), x, y),
                 ring ? kColorBlack : test_support::PixelColor(clean, x, y));
      }
  }

  // The box drawn on the source by a stretch on the Tools page, then two
  // clicks there: the clean copy is not taken from a picture holding it.
  void theBoxDrawnAfterAStretchNeverReachesTheCleanCopy() {
    const TRasterBitmap clean = Pattern(150, 76);
    UseSource(clean);
    Drag({10, 20}, {50, 60});
    Page(TPage::Tools);
    window_->Menu().StretchMnu->trigger();
    Click({30, 30});
    Click({40, 10});
    Page(TPage::Measure);
    Page(TPage::Tools);
    QVERIFY(SameBytes(window_->Document().Source.CleanCopy(), clean));
    window_->Menu().CopyInputMnu->trigger();
    QVERIFY(test_support::SameColours(PictureFromClipboard(), clean));
  }

  // Random page switches, box drags, clicks, stretches, crops, copies,
  // saves and prints. After every step the source's clean copy holds the
  // pasted pixels as the crops cut them, the destination the stretch of
  // those; a copy, save or print holds them too, with the measuring
  // polyline only while the Measure page shows it; a switch to the Tools
  // page leaves nothing on the picture shown.
  void overlaysNeverEnterAPicture() {
    QTemporaryDir dir;
    TRasterBitmap expected = Pattern(96, 72), destination;
    UseSource(expected);
    bool polyline_shown = false;
    std::mt19937 random(16);
    auto pick = [&](int low, int high) {
      return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int step = 0; step < 300; ++step) {
      const TPage before = window_->ActivePage();
      const TPane& source = window_->Document().Source;
      const QPoint at(pick(0, expected.Width() - 1), pick(0, expected.Height() - 1));
      const int action = pick(0, 9);
      if (action <= 1) Page(TPage(pick(0, 2)));
      if (action <= 1 && window_->ActivePage() != before)
        polyline_shown = window_->ActivePage() == TPage::Measure && !source.Measure.Points.empty();
      if (action == 2) Drag(at, at + QPoint(pick(-30, 30), pick(-30, 30)));
      if (action == 3) Click(at, step % 5 ? Qt::LeftButton : Qt::RightButton);
      if ((action == 2 || action == 3) && before != TPage::Resize) polyline_shown = true;
      if (action == 4) {
        window_->Menu().StretchMnu->trigger();
        const TResizeRequest request{.Width = expected.Width(),
                                     .Height = expected.Height(),
                                     .Filter = SharpnessFilter(TSharpness::Sharp)};
        destination = ResizeOutputImage(expected, {}, request).Destination;
      }
      if (action == 5) {
        const TRect box = window_->SourceBox().Box().Selection();
        window_->Menu().CropMnu->trigger();
        if (auto cut = CroppedCopy(expected, box))
          expected = std::move(*cut), polyline_shown = false;
      }
      if (action == 6 && (expected.Width() < 12 || expected.Height() < 12))
        UseSource(expected = Pattern(96, 72)), polyline_shown = false;
      QVERIFY2(SameBytes(source.CleanCopy(), expected), qPrintable(QString::number(step)));
      if (!destination.Empty())
        QVERIFY(SameBytes(window_->Document().Destination.CleanCopy(), destination));
      TRasterBitmap shown = expected;
      if (window_->ActivePage() == TPage::Measure && polyline_shown) Draw(source.Measure, shown);
      if (action == 7) window_->Menu().CopyInputMnu->trigger();
      if (action == 7) QVERIFY(test_support::SameColours(PictureFromClipboard(), shown));
      if (action == 8)
        QVERIFY(test_support::SameColours(SavedSource(dir.filePath("s.bmp")), shown));
      if (action == 9) QVERIFY(test_support::SameColours(Printed("Source Page"), shown));
      if (action == 9) QVERIFY(test_support::SameColours(Printed("Destination Page"), destination));
      if (window_->ActivePage() == TPage::Tools && before != TPage::Tools)
        QVERIFY(SameBytes(Source(), expected));
    }
  }

  // The box is drawn into the source's pixels, but not resampled with them.
  void stretchLeavesTheBoxOutOfTheDestination() {
    UseSource(Pattern(150, 76));
    Drag({10, 20}, {50, 60});
    const TRasterBitmap with_box = Source();
    window_->SourceBox().HideBox();
    const TRasterBitmap clean = Source();
    window_->SourceBox().ShowBox();
    Child<TSpeedButton>(window_, "StretchBtn")->click();
    const TRasterBitmap& destination = window_->Document().Destination.Picture;
    const TResizeRequest request{
        .Width = 150, .Height = 76, .Filter = SharpnessFilter(TSharpness::Sharp)};
    QVERIFY(SameBytes(ResizeOutputImage(clean, {}, request).Destination, destination));
    QVERIFY(!SameBytes(ResizeOutputImage(with_box, {}, request).Destination, destination));
    QVERIFY(SameBytes(Source(), with_box));
  }

  // Run from another page, the stretch draws the box on the source all the
  // same; the tone sliders are centred, their panels keep their texts, the
  // progress bar moves and the window is gone at the end.
  void stretchFromAnotherPageShowsTheBoxOnTheSource() {
    UseSource(Pattern(150, 76));
    Drag({10, 20}, {50, 60});
    ClickSpin(Spin()->DownButton());
    Child<QSlider>(window_, "BrightnessBar")->setValue(30);
    const QString brightness = Text("BrightDis");
    Child<QTabWidget>(window_, "PageControl")->setCurrentIndex(int(TPage::Tools));
    QVERIFY(!window_->SourceBox().Box().Showing());
    auto* progress = Child<TProgressDlg>(window_, "ProgressDlg");
    QSignalSpy bar(progress->Bar(), &QProgressBar::valueChanged);
    bool shown_while_working = false;
    connect(progress->Bar(), &QProgressBar::valueChanged, this,
            [&] { shown_while_working |= progress->isVisible(); });

    window_->Menu().StretchMnu->trigger();

    const TDocument& document = window_->Document();
    QCOMPARE(document.Destination.Picture.Width(), 135);
    QCOMPARE(document.Destination.Picture.Height(), 68);
    QCOMPARE(Child<TImageEx>(window_, "OutputImage")->size(), QSize(135, 68));
    QVERIFY(SameBytes(document.ToneBase, document.Destination.Picture));
    QCOMPARE(document.Destination.GeoReference(),
             ScaleGeoReference(document.Source.GeoReference(), 150, 76, 135, 68));
    QVERIFY(bar.count() > 10);
    QVERIFY(shown_while_working);
    QCOMPARE(progress->windowTitle(), QString("Resizing Image"));
    QVERIFY(progress->isHidden());
    QCOMPARE(Child<QSlider>(window_, "BrightnessBar")->value(), 50);
    QCOMPARE(Text("BrightDis"), brightness);
    QVERIFY(window_->SourceBox().Box().Showing());
    QCOMPARE(test_support::PixelColor(Source(), 30, 20), kColorRed);
  }

  // A failing stretch shows its error after the progress window is gone,
  // leaves the destination and keeps the box hidden.
  void aFailedStretchShowsItsErrorAndLeavesTheBoxHidden() {
    window_->Document().Sizing.SetNewSize(800000000, 10);
    auto* progress = Child<TProgressDlg>(window_, "ProgressDlg");
    test_support::TMessageWatcher messages;
    window_->ResizeWorkflow().StretchMnuClick();
    QTRY_COMPARE(messages.Texts(), QStringList({"Bitmap too large"}));
    QCOMPARE(messages.Seen()[0].Icon, QMessageBox::Critical);
    QVERIFY(messages.Seen()[0].OtherWindows.isEmpty());
    QVERIFY(progress->isHidden());
    QVERIFY(window_->Document().Destination.Picture.Empty());
    QVERIFY(!window_->SourceBox().Box().Showing());
  }

  void stretchTakesTheChosenSharpnessAndDepth() {
    Choose(window_, "SharpGroup", "Soft");
    Child<QCheckBox>(window_, "Force24BitChk")->setChecked(true);
    Choose(window_, "UnitsRadio", "Pixels");
    ClickSpin(Spin()->UpButton());
    window_->SourceBox().HideBox();
    const TRasterBitmap source = Source();
    window_->ResizeWorkflow().StretchMnuClick();
    const TResizeResult expected = ResizeOutputImage(source, {},
                                                     {.Width = 160,
                                                      .Height = 81,
                                                      .Filter = SharpnessFilter(TSharpness::Soft),
                                                      .Force24Bit = true});
    QCOMPARE(window_->Document().Destination.Picture.PixelFormat(), TPixelFormat::Bit24);
    QVERIFY(SameBytes(expected.Destination, window_->Document().Destination.Picture));
  }

  void cropCutsTheSourceAndResetGoesBackToTheCroppedSize() {
    TGeoReference& reference = window_->Document().Source.GeoReference();
    reference = {.BaseX = 1000, .BaseY = 5000, .ScaleX = 2, .ScaleY = 3, .Zone = 18, .North = true};
    Drag({10, 20}, {60, 50});
    Child<TSpeedButton>(window_, "ClipBtn")->click();
    QCOMPARE(Text("DimenDis"), QString("Source Image - Size: 50 X 30 Pixels: 8-bit"));
    QCOMPARE(input_->size(), QSize(50, 30));
    QCOMPARE(Text("BoxDis"), QString("X1: 0 Y1: 0  X2: 0 Y2: 0  W: 0 H: 0"));
    QCOMPARE(Text("ImageSizeDis"), QString(" 50 x 30"));
    QCOMPARE(reference.BaseX, 1020.0);
    QCOMPARE(reference.BaseY, 4940.0);
    QVERIFY(window_->SourceBox().Box().Showing());
    ClickSpin(Spin()->UpButton());
    QCOMPARE(Text("ImageSizeDis"), QString(" 55 x 33"));
    Child<QPushButton>(window_, "ResetSizeBtn")->click();
    QCOMPARE(Text("ImageSizeDis"), QString(" 50 x 30"));
    QCOMPARE(Text("PercentDis"), QString(" 0"));
  }

  // The Edit menu's crop is the button's; with nothing selected it changes
  // nothing, and off the Resize page the box stays hidden.
  void cropFromTheMenuAndACropOfNothing() {
    window_->SourceBox().HideBox();
    const TRasterBitmap before = Source();
    window_->SourceBox().ShowBox();
    const QString size = Text("DimenDis");
    window_->Menu().CropMnu->trigger();
    window_->SourceBox().HideBox();
    QVERIFY(SameBytes(Source(), before));
    QCOMPARE(Text("DimenDis"), size);
    QCOMPARE(Text("ImageSizeDis"), QString(" 150 x 76"));
    window_->SourceBox().ShowBox();
    Drag({100, 10}, {120, 30});
    Child<QTabWidget>(window_, "PageControl")->setCurrentIndex(int(TPage::Measure));
    window_->Menu().CropMnu->trigger();
    QCOMPARE(Source().Width(), 20);
    QVERIFY(!window_->SourceBox().Box().Showing());
  }

  void aCropReachingLeftOfThePictureShiftsOnlyByThePartInside() {
    TGeoReference& reference = window_->Document().Source.GeoReference();
    reference = {.BaseX = 1000, .BaseY = 5000, .ScaleX = 2, .ScaleY = 3, .Zone = 18, .North = true};
    window_->SourceBox().SetBox({-20, 10, 40, 50});
    window_->ResizeWorkflow().ClipBtnClick();
    QCOMPARE(Source().Width(), 40);
    QCOMPARE(Source().Height(), 40);
    QCOMPARE(reference.BaseX, 1000.0);
    QCOMPARE(reference.BaseY, 4970.0);
  }

  // What a user does with a GeoTIFF: open it, draw a box, crop, step down
  // by half, stretch and save the destination; the saved file carries the
  // corner of the box and the pixel size of the halved picture.
  void openBoxCropStretchAndSaveKeepTheGeoreference() {
    QTemporaryDir dir;
    const QString input = dir.filePath("scene.tif");
    const QString output = dir.filePath("half.tif");
    test_support::WriteGeoPicture(input.toStdString(), test_support::GreyPicture(200, 100));
    window_->UseFileChoosers({[&](QWidget*) { return input; }, [&](QWidget*) { return output; }});
    window_->Menu().OpenMnu->trigger();
    QCOMPARE(Source().Width(), 200);
    Drag({20, 10}, {120, 70});
    window_->Menu().CropMnu->trigger();
    QCOMPARE(Text("DimenDis"), QString("Source Image - Size: 100 X 60 Pixels: 24-bit"));
    Choose(window_, "IncRadio", "50");
    ClickSpin(Spin()->DownButton());
    QCOMPARE(Text("ImageSizeDis"), QString(" 50 x 30"));
    window_->Menu().StretchMnu->trigger();
    window_->Menu().SaveDestinationAs1->trigger();

    const test_support::TReadBack saved = test_support::ReadGeoPicture(output.toStdString());
    QCOMPARE(saved.Picture.Width(), 50);
    QCOMPARE(saved.Picture.Height(), 30);
    const TGeoReference expected{500000 + 20 * 30, 4649776 - 10 * 30, 60, 60, 18, true};
    QCOMPARE(saved.GeoReference, expected);
  }
};

QUORVANE_QTEST_MAIN(TestResizePage)
#include "resize_page_test.moc"
