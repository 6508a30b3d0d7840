#pragma once
// Which image of the file to decode. The full resolution when its picture
// fits the memory cap; otherwise the largest reduced-resolution image
// (overview) that fits, as cloud-optimised files carry them; otherwise a
// refusal naming the size and the cap.
#include <tiffio.h>

#include <cstdint>
#include <string>

#include "anytiff/any_tiff_handle.h"
#include "anytiff/any_tiff_layout.h"
#include "anytiff/any_tiff_plan.h"

namespace quorvane {

struct TAnyTiffLevel {
  tdir_t Directory = 0;
  int Level = 0;  // 0: full resolution; 1, 2, ...: overviews, largest first
  TAnyTiffLayout Layout;
  TAnyTiffPlan Plan;
  double FactorX = 1.0;  // full width over this width
  double FactorY = 1.0;
};

// Bytes of the picture the level decodes to.
uint64_t PictureBytes(const TAnyTiffLayout& layout, const TAnyTiffPlan& plan);

// "Picture Too Large: ..." with the size in pixels and bytes and the cap.
std::string PictureTooLargeMessage(const TAnyTiffLayout& layout, const TAnyTiffPlan& plan,
                                   uint64_t cap);

// Picks the level for `full` (the first directory, current in `handle`) and
// leaves the handle on the chosen directory.
TAnyTiffLevel ChooseAnyTiffLevel(TLibTiffHandle& handle, const TAnyTiffLevel& full, uint64_t cap);

}  // namespace quorvane
