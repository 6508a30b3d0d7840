#pragma once
// Finding the window's widgets by their object names in the QtTest suites,
// and driving the mouse through the window system so that events reach the
// widget under the pointer as they would on a screen.
#include <QCoreApplication>
#include <QObject>
#include <QPoint>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <stdexcept>
#include <string>

namespace quorvane::test_support {

// The one descendant of `root` named `name`; throws so a test stops at
// once when a name is missing or ambiguous.
template <class T>
T* Child(const QObject* root, const char* name) {
  const QList<T*> found = root->findChildren<T*>(name);
  if (found.size() != 1)
    throw std::runtime_error(std::string("expected one widget named ") + name + ", found " +
                             std::to_string(found.size()));
  return found.first();
}

// `point` of `widget` in the coordinates of its top-level window.
inline QPoint InWindow(const QWidget* widget, QPoint point) {
  return widget->mapTo(widget->window(), point);
}

// Mouse events sent to the top-level window, which hands them to the child
// under the pointer.
inline void MoveOver(QWidget* widget, QPoint point) {
  QTest::mouseMove(widget->window()->windowHandle(), InWindow(widget, point));
}
inline void PressOn(QWidget* widget, QPoint point, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers keys = {}) {
  QTest::mousePress(widget->window()->windowHandle(), button, keys, InWindow(widget, point));
}
inline void ReleaseOn(QWidget* widget, QPoint point, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers keys = {}) {
  QTest::mouseRelease(widget->window()->windowHandle(), button, keys, InWindow(widget, point));
}

// Runs what already waits in the event queue (zero-delay timers included)
// and what that posts in turn, so that a check that something did not happen
// comes after everything that could have made it happen.
inline void DrainEvents() {
  for (int round = 0; round < 3; ++round) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

}  // namespace quorvane::test_support
