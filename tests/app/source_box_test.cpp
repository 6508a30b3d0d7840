// The selection box on a picture in a scroll area, outside the window:
// dragging beyond the visible part scrolls towards the pointer, and a drag
// step repaints the thin bands the box changed, not the area it encloses.
#include <QLabel>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "app/image_view.h"
#include "app/source_box.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"

using namespace quorvane;

namespace {

// Collects the regions the view is asked to paint.
class TPaintLog : public QObject {
 public:
  QRegion Painted;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(event)->region();
    return QObject::eventFilter(watched, event);
  }
};

// A 24-bit picture of 1000 x 800 in a 300 x 200 scroll area.
struct TShownBox {
  TShownBox() : view(new TImageEx), box(view, &scroll, &readout) {
    picture.Reset(TPixelFormat::Bit24, 1000, 800);
    view->SetPicture(&picture);
    scroll.setWidget(view);
    scroll.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll.setFrameShape(QFrame::NoFrame);
    scroll.resize(300, 200);
    scroll.show();
    if (!QTest::qWaitForWindowExposed(&scroll)) qWarning("scroll area not exposed");
    box.SetPicture(&picture);
    box.ShowBox();
  }
  TRasterBitmap picture;
  QScrollArea scroll;
  TImageEx* view;
  QLabel readout;
  TSourceBox box;
};

}  // namespace

class TestSourceBox : public QObject {
  Q_OBJECT
 private slots:
  void draggingPastTheVisibleAreaScrollsTowardsThePointer() {
    TShownBox shown;
    const int client_width = shown.scroll.viewport()->width();
    const int client_height = shown.scroll.viewport()->height();
    shown.box.BoxMouseDown(20, 20);
    shown.box.BoxMouseMove(client_width + 30, 50);
    QCOMPARE(shown.scroll.horizontalScrollBar()->value(), 30);
    QCOMPARE(shown.scroll.verticalScrollBar()->value(), 0);
    // Positions are the picture's: the visible part now starts at 30.
    shown.box.BoxMouseMove(client_width + 30 + 10, client_height + 5);
    QCOMPARE(shown.scroll.horizontalScrollBar()->value(), 40);
    QCOMPARE(shown.scroll.verticalScrollBar()->value(), 5);
    shown.box.BoxMouseMove(35, 3);
    QCOMPARE(shown.scroll.horizontalScrollBar()->value(), 35);
    QCOMPARE(shown.scroll.verticalScrollBar()->value(), 3);
    shown.box.BoxMouseUp();
    shown.box.ShowBoxReadout();
    QCOMPARE(shown.readout.text(), QString("X1: 20 Y1: 3  X2: 35 Y2: 20  W: 15 H: 17"));
  }

  void aDragStepRepaintsOnlyTheBandsThatChanged() {
    TShownBox shown;
    shown.box.BoxMouseDown(10, 10);
    shown.box.BoxMouseMove(200, 150);
    QCoreApplication::processEvents();
    TPaintLog log;
    shown.view->installEventFilter(&log);
    shown.box.BoxMouseMove(210, 160);
    QCoreApplication::processEvents();
    shown.view->removeEventFilter(&log);
    QVERIFY(log.Painted.contains(QPoint(210, 100)));   // the new right edge
    QVERIFY(log.Painted.contains(QPoint(200, 100)));   // the old one
    QVERIFY(log.Painted.contains(QPoint(100, 10)));    // the top edge, longer now
    QVERIFY(!log.Painted.contains(QPoint(100, 100)));  // inside, untouched
  }
};

QUORVANE_QTEST_MAIN(TestSourceBox)
#include "source_box_test.moc"
