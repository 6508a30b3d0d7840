#pragma once
// A rectangle in pixels; Right and Bottom are exclusive.
namespace quorvane {

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TRect&) const = default;
};

}  // namespace quorvane
