#pragma once
// Message boxes in the QtTest suites: the next one to appear is read and
// closed from inside its own event loop, so a test never waits for a person.
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>

namespace quorvane::test_support {

struct TSeenMessage {
  bool Shown = false;
  QString Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Polls until a message box is the active modal window, records it and
// presses its default button. `seen` must outlive the box.
inline void CloseNextMessageBox(TSeenMessage& seen, int attempts = 200) {
  QTimer::singleShot(10, [&seen, attempts] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      if (attempts > 0) CloseNextMessageBox(seen, attempts - 1);
      return;
    }
    seen = {true, box->text(), box->icon()};
    box->accept();
  });
}

}  // namespace quorvane::test_support
