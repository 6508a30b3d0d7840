#include "app/messages.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QWidget>
#include <exception>
#include <new>

#include "app/qt_text.h"
#include "raster/error.h"

namespace quorvane {

namespace {

// Captioned like the program's task bar entry: the window's title.
QString Caption(QWidget* parent) {
  return parent ? parent->window()->windowTitle() : QCoreApplication::applicationName();
}

}  // namespace

void ShowErrorMessage(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, Caption(parent), text, QMessageBox::Ok);
}

void ShowWarningMessage(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, Caption(parent), text, QMessageBox::Ok);
}

bool RunCommand(QWidget* parent, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const ENotEnoughMemory& error) {
    ShowErrorMessage(parent, QString::fromUtf8(error.what()));
  } catch (const std::bad_alloc&) {
    ShowErrorMessage(parent, FromStd(NotEnoughMemoryText("finish the command")));
  } catch (const std::exception& error) {
    ShowErrorMessage(parent, QString::fromUtf8(error.what()));
  }
  return false;
}

}  // namespace quorvane
