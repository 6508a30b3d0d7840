#pragma once
// The pictures on the Resize page's speed buttons, drawn by the program
// itself so no image files have to travel with it.
#include <QIcon>

namespace quorvane {

// Four arrows pointing out of a small frame: the picture grows or shrinks.
QIcon StretchIcon();
// Two crossing corner brackets, as on a cutting board.
QIcon CropIcon();

}  // namespace quorvane
