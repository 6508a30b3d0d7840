#pragma once
// The "Resize" page: where the destination's size is chosen and the source
// is cropped and stretched. Its controls (size steps, units, increment,
// sharpness, the stretch and crop buttons) are added with the sizing
// workflow; the page already holds its place as the first page.
#include <QWidget>

namespace quorvane {

class TResizePage : public QWidget {
  Q_OBJECT
 public:
  explicit TResizePage(QWidget* parent = nullptr);
};

}  // namespace quorvane
