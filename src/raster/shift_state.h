#pragma once
// The pressed mouse buttons and modifier keys of a pointer event, as the
// views report them and the tools that follow the mouse read them.

namespace quorvane {

struct TShiftState {
  bool Left = false;
  bool Right = false;
  bool Middle = false;
  bool Ctrl = false;
  bool Shift = false;
  bool Alt = false;
};

}  // namespace quorvane
