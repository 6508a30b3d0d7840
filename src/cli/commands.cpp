#include "cli/commands.h"

namespace quorvane::cli {

int RunInfo(const TArgs& args);
int RunConvert(const TArgs& args);
int RunResize(const TArgs& args);
int RunTone(const TArgs& args);
int RunCrop(const TArgs& args);
int RunUtm(const TArgs& args);
int RunMeasure(const TArgs& args);
int RunGeoref(const TArgs& args);
int RunLocate(const TArgs& args);

std::span<const TCommand> Commands() {
  static const TCommand kCommands[] = {
      {"info", "info FILE [--json] [--any-tiff]", RunInfo},
      {"convert",
       "convert IN OUT [--packbits] [--no-geotiff] [--any-tiff [--bands R,G,B|B] [--stretch "
       "cut|minmax|none]]",
       RunConvert},
      {"resize",
       "resize IN OUT (--size WxH | --percent P) [--filter N|NAME] [--force-24bit] "
       "[--threads N] [--any-tiff [--bands R,G,B|B] [--stretch cut|minmax|none]]",
       RunResize},
      {"tone",
       "tone IN OUT [--brightness B] [--contrast C] [--gamma G] [--any-tiff [--bands R,G,B|B] "
       "[--stretch cut|minmax|none]]",
       RunTone},
      {"crop",
       "crop IN OUT --rect L,T,R,B [--any-tiff [--bands R,G,B|B] [--stretch cut|minmax|none]]",
       RunCrop},
      {"utm", "utm --zone Z [--south] --east E --north N [--datum NAME|INDEX] [--json]", RunUtm},
      {"measure",
       "measure FILE --points \"x1,y1 x2,y2 ...\" [--length-units N] [--area-units N] [--json] "
       "[--any-tiff]",
       RunMeasure},
      {"georef",
       "georef IN OUT --base X,Y --scale SX,SY --zone Z [--south] [--packbits] "
       "[--any-tiff]",
       RunGeoref},
      {"locate", "locate FILE --pixel X,Y [--datum NAME|INDEX] [--json] [--any-tiff]", RunLocate},
  };
  return kCommands;
}

}  // namespace quorvane::cli
