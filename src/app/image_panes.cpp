#include "app/image_panes.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/image_view.h"

namespace quorvane {

namespace {

constexpr int kPaneBorder = 4;
const char kCursorHint[] = "Cursor Position";

QFrame* Pane(QWidget* parent, const char* name) {
  auto* pane = new QFrame(parent);
  pane->setObjectName(name);
  pane->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(kPaneBorder, kPaneBorder, kPaneBorder, kPaneBorder);
  layout->setSpacing(2);
  return pane;
}

// A scroll box on a grey ground holding an image control at its top-left
// corner, which keeps the size of its picture.
QScrollArea* ScrollBox(QFrame* pane, const char* name, TImageEx* image) {
  auto* box = new QScrollArea(pane);
  box->setObjectName(name);
  box->setBackgroundRole(QPalette::Dark);
  box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  box->setWidgetResizable(false);
  box->setWidget(image);
  pane->layout()->addWidget(box);
  static_cast<QVBoxLayout*>(pane->layout())->setStretchFactor(box, 1);
  return box;
}

QFont StatusFont() {
  QFont font("Arial");
  font.setBold(true);
  return font;
}

// A readout: bold Arial in navy, right-aligned, "0" until the first event.
QLabel* Readout(QWidget* parent, const char* name) {
  auto* label = new QLabel("0", parent);
  label->setObjectName(name);
  label->setFont(StatusFont());
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
  label->setPalette(palette);
  return label;
}

// One panel of a status strip: its caption and the readout beside it.
QLabel* StatusPanel(QFrame* strip, const char* name, const char* caption, const char* readout) {
  auto* panel = new QFrame(strip);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setToolTip(kCursorHint);
  auto* label = new QLabel(caption, panel);
  label->setFont(StatusFont());
  QLabel* value = Readout(panel, readout);
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(2, 1, 2, 1);
  layout->addWidget(label);
  layout->addWidget(value, 1);
  strip->layout()->addWidget(panel);
  return value;
}

// The zoom readout, "100%" at 1:1, without a caption: the percentage says
// what it is.
QLabel* ZoomPanel(QFrame* strip, const char* name, const char* readout) {
  auto* panel = new QFrame(strip);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  QLabel* value = Readout(panel, readout);
  value->setText("100%");
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(2, 1, 2, 1);
  layout->addWidget(value);
  strip->layout()->addWidget(panel);
  return value;
}

QFrame* StatusStrip(QFrame* pane, const char* name) {
  auto* strip = new QFrame(pane);
  strip->setObjectName(name);
  auto* layout = new QHBoxLayout(strip);
  layout->setContentsMargins(0, 0, 0, 0);
  pane->layout()->addWidget(strip);
  return strip;
}

TImageEx* ImageControl(const char* name, const char* accessible_name) {
  auto* image = new TImageEx;
  image->setObjectName(name);
  image->setAccessibleName(accessible_name);
  return image;
}

}  // namespace

TSourcePane BuildSourcePane(QWidget* parent) {
  TSourcePane pane;
  pane.Panel = Pane(parent, "Panel3");
  pane.DimenDis = new QLabel(" Source Image - Size: 20x30", pane.Panel);
  pane.DimenDis->setObjectName("DimenDis");
  pane.Panel->layout()->addWidget(pane.DimenDis);
  pane.InputImage = ImageControl("InputImage", "Source image");
  pane.InScrollBox = ScrollBox(pane.Panel, "InScrollBox", pane.InputImage);
  QFrame* strip = StatusStrip(pane.Panel, "Panel10");
  pane.Mouse1Dis = StatusPanel(strip, "Panel13", " Mouse:", "Mouse1Dis");
  pane.BoxDis = StatusPanel(strip, "Panel7", " Box", "BoxDis");
  pane.Zoom1Dis = ZoomPanel(strip, "ZoomPanel1", "Zoom1Dis");
  static_cast<QHBoxLayout*>(strip->layout())->setStretch(1, 3);
  return pane;
}

TDestinationPane BuildDestinationPane(QWidget* parent) {
  TDestinationPane pane;
  pane.Panel = Pane(parent, "Panel4");
  pane.Label2 = new QLabel("Destination Image", pane.Panel);
  pane.Label2->setObjectName("Label2");
  pane.Panel->layout()->addWidget(pane.Label2);
  pane.OutputImage = ImageControl("OutputImage", "Destination image");
  pane.OutScrollBox = ScrollBox(pane.Panel, "OutScrollBox", pane.OutputImage);
  QFrame* strip = StatusStrip(pane.Panel, "Panel1");
  pane.Mouse2Dis = StatusPanel(strip, "Panel6", " Mouse:", "Mouse2Dis");
  pane.Zoom2Dis = ZoomPanel(strip, "ZoomPanel2", "Zoom2Dis");
  return pane;
}

}  // namespace quorvane
