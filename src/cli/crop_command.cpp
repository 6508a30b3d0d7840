// quorvane-cli crop IN OUT --rect L,T,R,B: the Crop command in batch. The
// rectangle may be given in either orientation and reach beyond the picture;
// the georeference origin moves to its clamped upper-left corner.
#include <climits>
#include <cstdio>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/picture_io.h"
#include "imaging/bitmap_utils.h"

namespace quorvane::cli {

int RunCrop(const TArgs& args) {
  const TParsedArgs parsed = ParseArgs(args, {{"rect", true}});
  parsed.ExpectPositional(2);
  const std::string& text = parsed.Required("rect");
  const auto parts = SplitText(text, ',', false);
  if (parts.size() != 4) throw EUsage("--rect: expected L,T,R,B: \"" + text + "\"");
  int values[4];
  for (int i = 0; i < 4; ++i)
    values[i] = int(ParseInteger(parts[size_t(i)], "--rect", INT_MIN, INT_MAX));
  const TRect rect{values[0], values[1], values[2], values[3]};

  TLoadedPicture picture = LoadPictureWithGeoReference(parsed.Positional[0]);
  TRect clamped;
  if (!CropBitmap(*picture.Bitmap, rect, &clamped)) {
    std::fprintf(stderr, "crop: the rectangle %s cuts nothing from the %d x %d picture\n",
                 text.c_str(), picture.Bitmap->Width(), picture.Bitmap->Height());
    return 1;
  }
  ShiftGeoReference(picture.GeoReference, clamped.Left, clamped.Top);
  SavePictureWithGeoReference(*picture.Bitmap, parsed.Positional[1], picture.GeoReference);
  return 0;
}

}  // namespace quorvane::cli
