#pragma once
// The two picture panes on the right of the window: a caption line, the
// picture in a scroll box, and a status strip with the mouse readout (and,
// for the source, the selection box readout) and the zoom readout.
#include <QString>

class QFrame;
class QLabel;
class QScrollArea;
class QWidget;

namespace quorvane {

class TImageEx;

struct TSourcePane {
  QFrame* Panel = nullptr;  // Panel3
  QLabel* DimenDis = nullptr;
  QScrollArea* InScrollBox = nullptr;
  TImageEx* InputImage = nullptr;
  QLabel* Mouse1Dis = nullptr;
  QLabel* BoxDis = nullptr;
  QLabel* Zoom1Dis = nullptr;
};
TSourcePane BuildSourcePane(QWidget* parent);

struct TDestinationPane {
  QFrame* Panel = nullptr;  // Panel4
  QLabel* Label2 = nullptr;
  QScrollArea* OutScrollBox = nullptr;
  TImageEx* OutputImage = nullptr;
  QLabel* Mouse2Dis = nullptr;
  QLabel* Zoom2Dis = nullptr;
};
TDestinationPane BuildDestinationPane(QWidget* parent);

}  // namespace quorvane
