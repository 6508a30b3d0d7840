#include "app/tools_page.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/qt_text.h"

namespace quorvane {

namespace {

QSlider* AddSlider(QWidget* page, QVBoxLayout* layout, const char* caption, const char* name,
                   const char* display_name, QLabel** display) {
  auto* label = new QLabel(caption, page);
  auto* bar = new QSlider(Qt::Horizontal, page);
  bar->setObjectName(name);
  bar->setRange(0, 100);
  bar->setValue(50);
  bar->setTickInterval(10);
  bar->setTickPosition(QSlider::TicksBelow);
  label->setBuddy(bar);
  *display = new QLabel("0.5", page);
  (*display)->setObjectName(display_name);
  (*display)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  (*display)->setAlignment(Qt::AlignCenter);
  layout->addWidget(label);
  layout->addWidget(bar);
  layout->addWidget(*display);
  return bar;
}

}  // namespace

void CentreTrackBar(QSlider& bar) {
  const QSignalBlocker detached(bar);
  bar.setValue(CentreTrackBarPosition(bar.minimum(), bar.maximum()));
}

// The page scrolls when the window is too low for all of it.
TToolsPage::TToolsPage(QWidget* parent) : QWidget(parent) {
  setObjectName("TabSheet1");
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* content = new QWidget(scroll);
  auto* layout = new QVBoxLayout(content);
  brightness_bar_ =
      AddSlider(content, layout, "Brightness", "BrightnessBar", "BrightDis", &bright_dis_);
  contrast_bar_ =
      AddSlider(content, layout, "Contrast", "ContrastBar", "ContrastDis", &contrast_dis_);
  gamma_bar_ = AddSlider(content, layout, "Gamma", "GammaBar", "GammaDis", &gamma_dis_);
  auto* reset = new QPushButton("Reset", content);
  reset->setObjectName("ResetBCGBtn");
  layout->addWidget(reset);
  layout->addStretch();
  scroll->setWidget(content);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroll);
  // The three bars share one change handler.
  for (QSlider* bar : {brightness_bar_, contrast_bar_, gamma_bar_})
    connect(bar, &QSlider::valueChanged, this, &TToolsPage::ToneChanged);
  connect(reset, &QPushButton::clicked, this, &TToolsPage::ResetClicked);
}

TToneValues TToolsPage::ReadToneSliders() const {
  return quorvane::ReadToneSliders(brightness_bar_->value(), contrast_bar_->value(),
                                   gamma_bar_->value());
}

void TToolsPage::ShowToneValues(const TToneTexts& texts) {
  bright_dis_->setText(FromStd(texts.Brightness));
  contrast_dis_->setText(FromStd(texts.Contrast));
  gamma_dis_->setText(FromStd(texts.Gamma));
}

void TToolsPage::CentreTrackBars() {
  CentreTrackBar(*brightness_bar_);
  CentreTrackBar(*contrast_bar_);
  CentreTrackBar(*gamma_bar_);
}

}  // namespace quorvane
