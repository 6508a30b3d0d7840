#include "app/resize_page.h"

#include <QVBoxLayout>

namespace quorvane {

TResizePage::TResizePage(QWidget* parent) : QWidget(parent) {
  setObjectName("ResizePage");
  auto* layout = new QVBoxLayout(this);
  layout->addStretch();
}

}  // namespace quorvane
