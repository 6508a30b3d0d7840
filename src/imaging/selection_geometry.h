#pragma once
// Where a pointer is on the selection box, which pointer shape that calls
// for, how a box dragged inside out is put right, and the four bands the
// drawn box covers. Pure arithmetic: no pictures are touched here.
#include <array>
#include <cstdint>

#include "imaging/points.h"
#include "raster/rect.h"

namespace quorvane {

// The part of the box under a point; the values are the zone numbers the
// box reports.
enum class TBoxZone : uint8_t {
  Outside = 0,
  TopLeft = 1,
  TopRight = 2,
  BottomLeft = 3,
  BottomRight = 4,
  Inside = 5,
  Left = 6,
  Right = 7,
  Top = 8,
  Bottom = 9,
};

// Pointer shapes the window maps to its own cursors.
enum class TBoxCursor : uint8_t {
  Arrow,     // outside the box
  SizeNWSE,  // diagonal resize, north-west to south-east
  SizeNESW,  // diagonal resize, north-east to south-west
  SizeAll,   // move in all directions
  SizeWE,    // horizontal resize
  SizeNS,    // vertical resize
};

// Handles and edge bands reach this far to each side of the box's lines.
constexpr int kHandleReach = 3;

// The zone of `point` on `box`, first match winning: the four handles
// (top-left, top-right, bottom-left, bottom-right), the left, right, top and
// bottom edge bands, then the box itself. Every test excludes the right
// column and bottom row of its rectangle, so a point on Right or Bottom of
// the box lies outside it unless a handle or band covers it.
TBoxZone HitTest(const TRect& box, TPoint point);

TBoxCursor CursorForZone(TBoxZone zone);

// Swaps Left and Right, and Top and Bottom, where they are the wrong way
// round, and renames `zone` so that the drag goes on with the corner or edge
// now under the pointer.
void NormaliseBox(TRect& box, TBoxZone& zone);

// The bands under the box's left, top, right and bottom edges, kHandleReach
// to either side of each line: everything drawing the box writes. Given in
// either orientation; each band comes out normalised. Coordinates beyond the
// integer range are clipped to it.
std::array<TRect, 4> BoxBands(const TRect& box);

// The part of `rect` inside `bounds`; empty (all zero) when they do not meet.
TRect IntersectRects(const TRect& rect, const TRect& bounds);

// Clamps a wide intermediate result back into the integer range.
int32_t ClampToInt(int64_t value);

}  // namespace quorvane
