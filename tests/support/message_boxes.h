#pragma once
// Closing the message box a command is about to show, and keeping what it
// said, so a QtTest suite never waits for a person.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace quorvane::testing {

struct TSeenBox {
  QString Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons Buttons;
  bool Seen = false;
};

// Arms a one-shot check: the next modal message box is read and closed.
inline void CloseNextMessageBox(TSeenBox& seen) {
  QTimer::singleShot(0, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = {box->text(), box->icon(), box->standardButtons(), true};
    box->accept();
  });
}

}  // namespace quorvane::testing
