#include "app/screenshot.h"

#include <QCoreApplication>
#include <QDebug>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace quorvane {

namespace {

// Long enough for a virtual display to map the window and for the
// command-line file to be opened at the first activation.
constexpr int kSettleMs = 1500;

}  // namespace

void ScheduleScreenshot(QWidget& window, const QString& file) {
  QTimer::singleShot(kSettleMs, &window, [&window, file] {
    const bool saved = window.grab().save(file, "PNG");
    if (!saved) qWarning("Cannot save the screenshot to %s", qPrintable(file));
    QCoreApplication::exit(saved ? 0 : 1);
  });
}

}  // namespace quorvane
