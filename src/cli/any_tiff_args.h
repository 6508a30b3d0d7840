#pragma once
// --any-tiff and how it shows measurements: --bands R,G,B (or one band as
// grey, counted from 1) and --stretch cut|minmax|none (cut by default), for
// the commands that make pictures.
#include <optional>
#include <string>

#include "anytiff/any_tiff_display.h"
#include "cli/command_line.h"
#include "document/document.h"

namespace quorvane::cli {

struct TAnyTiffArgs {
  bool AnyTiff = false;
  std::optional<std::string> Bands, Stretch;

  void AddTo(TCommandLine& line);
  // Throws EUsage for a malformed value, or for either option without
  // --any-tiff.
  TAnyTiffDisplay Display() const;
};

// Opens as OpenForBatch does, with the display the arguments ask for; a
// band the file lacks is an error.
void OpenForBatch(TDocument& document, const std::string& path, const TAnyTiffArgs& args);

}  // namespace quorvane::cli
