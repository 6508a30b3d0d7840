// The window as a user sees it, at its start size and at 1300 x 960: every
// page tab visible without scroll arrows, every page showing all its
// controls and each readout's whole text in the compact dialog font,
// controls keeping their natural height, and window titles that are exactly
// the windows' own captions.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/tiff_options_dialog.h"
#include "controls/page_control.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"
#include "support/window_files.h"

using namespace quorvane;
using testing::Child;

namespace {

// Readouts as long as they get in use (a longitude in degrees, minutes and
// seconds, the longest datum name, areas and map coordinates).
const std::pair<const char*, const char*> kLongReadouts[] = {{"Long2Dis",
                                                              "-178\xC2\xB0"
                                                              "39'20\""},
                                                             {"Lat2Dis",
                                                              "-78\xC2\xB0"
                                                              "39'20\""},
                                                             {"LongDIs", "-178.65556"},
                                                             {"LatDis", "-78.65556"},
                                                             {"EastDis", "10,000,000.0"},
                                                             {"NorthDis", "10,000,000.0"},
                                                             {"LastEastDis", "10,000,000.0"},
                                                             {"LastNorthDis", "10,000,000.0"},
                                                             {"AzmEdit", "359.9\xC2\xB0"},
                                                             {"ZoneDis", "60"},
                                                             {"LengthDis", "123456.7Px"},
                                                             {"AreaDis", "4000000.0Px^2"}};

// Whether the field shows all of `text` between its frame and margins.
bool ShowsWhole(QLineEdit* field, const QString& text) {
  field->setText(text);
  field->setCursorPosition(0);
  const QRect room = field->contentsRect() - field->textMargins();
  // The style's own padding inside the frame.
  return field->fontMetrics().horizontalAdvance(text) + 4 <= room.width();
}

QScrollArea* PageScroll(QWidget* page) {
  return page->findChild<QScrollArea*>();
}

}  // namespace

class TestWindowLayout : public QObject {
  Q_OBJECT
 private:
  TMainWindow* window_ = nullptr;
  QTabWidget* pages_ = nullptr;

  static void Sizes() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("start size") << QSize(621, 545);
    QTest::newRow("1300 x 960") << QSize(1300, 960);
  }
  void ShowAt(QSize size) {
    window_->resize(size);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QTest::qWait(20);
  }

 private slots:
  void init() {
    window_ = new TMainWindow;
    window_->UseDialogs(CreateDialogs(window_));
    pages_ = Child<QTabWidget>(window_, "PageControl");
  }
  void cleanup() { delete window_; }

  void tabsAreAllVisibleWithoutScrollArrows_data() { Sizes(); }
  void tabsAreAllVisibleWithoutScrollArrows() {
    QFETCH(QSize, size);
    ShowAt(size);
    auto* bar = qobject_cast<TPageTabBar*>(pages_->tabBar());
    QVERIFY(bar);
    for (int width : {pages_->width(), kToolPaneCap, 90}) {
      Child<QSplitter>(window_, "Splitter1")->setSizes({width, size.width() - width});
      QTest::qWait(10);
      for (int i = 0; i < 3; ++i) QVERIFY(bar->rect().contains(bar->RowTabRect(i)));
      for (QToolButton* arrow : bar->findChildren<QToolButton*>()) QVERIFY(!arrow->isVisible());
    }
    // A click on the tab in its row chooses the page.
    testing::PressOn(bar, bar->RowTabRect(2).center());
    testing::ReleaseOn(bar, bar->RowTabRect(2).center());
    QCOMPARE(window_->ActivePage(), TPage::Tools);
  }

  // At the start size nothing needs scrolling, with room on the Measure
  // page for one more readout row; each readout shows its whole text.
  void pagesFitAtTheStartSize() {
    ShowAt({621, 545});
    QCOMPARE(window_->font().pointSize(), 8);
    QLineEdit* row = Child<QLineEdit>(window_, "EastDis");
    for (int i = 0; i < pages_->count(); ++i) {
      pages_->setCurrentIndex(i);
      QTest::qWait(10);
      QScrollArea* scroll = PageScroll(pages_->widget(i));
      const int spare = i == int(TPage::Measure) ? row->height() + 2 : 0;
      QVERIFY2(scroll->widget()->minimumSizeHint().height() + spare <= scroll->viewport()->height(),
               qPrintable(pages_->tabText(i)));
    }
    for (const auto& [name, text] : kLongReadouts)
      QVERIFY2(ShowsWhole(Child<QLineEdit>(window_, name), QString::fromUtf8(text)), name);
    auto* datum = Child<QComboBox>(window_, "DatumCombo");
    datum->setCurrentText("North American 1927");
    QVERIFY(datum->fontMetrics().horizontalAdvance("North American 1927") + 24 <= datum->width());
    // Lower than the start size, a page scrolls.
    window_->resize(621, 300);
    pages_->setCurrentIndex(int(TPage::Measure));
    QTRY_VERIFY(PageScroll(pages_->widget(1))->verticalScrollBar()->isVisible());
  }

  // Spare height stays below the controls (captions beside a field may
  // take the field's height).
  void controlsKeepTheirNaturalHeight() {
    ShowAt({1300, 960});
    for (int i = 0; i < pages_->count(); ++i) {
      pages_->setCurrentIndex(i);
      QTest::qWait(10);
      for (QWidget* control : pages_->widget(i)->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(control);
        if (!(label && label->frameShape() != QFrame::NoFrame) &&
            !qobject_cast<QLineEdit*>(control) && !qobject_cast<QGroupBox*>(control) &&
            !qobject_cast<QPushButton*>(control) && !qobject_cast<QSlider*>(control))
          continue;
        QVERIFY2(control->height() <= control->sizeHint().height(),
                 qPrintable(control->objectName() + " " + QString::number(control->height())));
      }
    }
  }

  // Titles are the windows' own: the display name is never set from a
  // caption, which would make Qt append it to every later title.
  void titlesAreTheWindowsOwnCaptions() {
    QTemporaryDir dir;
    const QString display_name = QGuiApplication::applicationDisplayName();
    for (const char* name : {"first.tif", "second.lbm"}) {
      const QString file = dir.filePath(name);
      testing::WriteGeoPicture(file.toStdString(), testing::GreyPicture(20, 10));
      window_->OpenImageFile(file);
      QCOMPARE(window_->windowTitle(), QString(name) + " - Quorvane");
    }
    QCOMPARE(QGuiApplication::applicationDisplayName(), display_name);
    QCOMPARE(Child<TTiffOptionsDlg>(window_, "TiffOptionsDlg")->windowTitle(),
             QString("Tiff Options"));
  }
};

QUORVANE_QTEST_MAIN(TestWindowLayout)
#include "window_layout_test.moc"
