#pragma once
// The "Tools" page: brightness, contrast and gamma sliders with their value
// panels and a Reset button. The page shows and forwards: any slider change
// is reported as ToneChanged (the window rebuilds the destination and writes
// the panel texts back), Reset as ResetClicked.
#include <QWidget>

#include "imaging/tone.h"

class QLabel;
class QPushButton;
class QSlider;

namespace quorvane {

class TToolsPage : public QWidget {
  Q_OBJECT
 public:
  explicit TToolsPage(QWidget* parent = nullptr);

  // The three slider positions as values 0 .. 1.
  TToneValues ReadToneSliders() const;
  void ShowToneValues(const TToneTexts& texts);
  // Puts all three sliders in the middle without reporting a change.
  void CentreTrackBars();

  QSlider* BrightnessBar() const { return brightness_bar_; }
  QSlider* ContrastBar() const { return contrast_bar_; }
  QSlider* GammaBar() const { return gamma_bar_; }

 signals:
  void ToneChanged();
  void ResetClicked();

 private:
  QSlider* brightness_bar_;
  QSlider* contrast_bar_;
  QSlider* gamma_bar_;
  QLabel* bright_dis_;
  QLabel* contrast_dis_;
  QLabel* gamma_dis_;
};

// Sets the bar to the middle of its range with its change report detached,
// reattached whatever happens.
void CentreTrackBar(QSlider& bar);

}  // namespace quorvane
