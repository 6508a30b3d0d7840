// quorvane-cli tone IN OUT [--brightness B] [--contrast C] [--gamma G]: the
// Tools page's sliders (positions 0 .. 100, 50 neutral) in batch; the output
// is 24-bit.
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/picture_io.h"
#include "imaging/tone.h"

namespace quorvane::cli {

int RunTone(const TArgs& args) {
  const TParsedArgs parsed =
      ParseArgs(args, {{"brightness", true}, {"contrast", true}, {"gamma", true}});
  parsed.ExpectPositional(2);
  auto position = [&](const char* name) {
    const auto text = parsed.Value(name);
    return text ? int(ParseInteger(*text, std::string("--") + name, 0, 100)) : 50;
  };
  const TToneValues values =
      ReadToneSliders(position("brightness"), position("contrast"), position("gamma"));
  TLoadedPicture source = LoadPictureWithGeoReference(parsed.Positional[0]);
  TRasterBitmap destination;
  AdjustToneBitmap(*source.Bitmap, destination, values);
  SavePictureWithGeoReference(destination, parsed.Positional[1], source.GeoReference);
  return 0;
}

}  // namespace quorvane::cli
