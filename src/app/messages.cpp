#include "app/messages.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QWidget>

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

}  // namespace quorvane
