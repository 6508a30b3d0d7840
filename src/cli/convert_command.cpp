// quorvane-cli convert IN OUT.bmp: writes the decoded picture as a Windows
// bitmap, so anyone can look at what we decoded.
#include "cli/commands.h"
#include "cli/load_image.h"
#include "raster/bmp_file.h"
#include "raster/byte_stream.h"
#include "raster/error.h"
#include "raster/file_io.h"

namespace quorvane::cli {

int RunConvert(const TArgs& args) {
  if (args.size() != 2) throw EUsage("convert takes IN and OUT");
  const std::string& out = args[1];
  if (out.size() < 4 ||
      (out.substr(out.size() - 4) != ".bmp" && out.substr(out.size() - 4) != ".BMP"))
    throw EUsage("OUT must name a .bmp file");
  const TCliImage image = LoadImage(args[0]);
  TByteStream stream;
  SaveBitmapToStream(*image.Bitmap, stream);
  WriteFileAtomically(out, stream.Bytes());
  return 0;
}

}  // namespace quorvane::cli
