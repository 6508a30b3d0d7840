#pragma once
// The program's own option for the smoke test on a virtual display:
// "--screenshot FILE" saves a picture of the window once it has opened (and
// opened its command-line file), then ends the program.
#include <QString>

class QWidget;

namespace quorvane {

// Saves `window` to `file` after the start-up work has settled and quits
// the event loop; the exit code is 0 when the file was written, else 1.
void ScheduleScreenshot(QWidget& window, const QString& file);

}  // namespace quorvane
