#pragma once
// A batch save that never holds a whole picture: the input's rows go a band
// at a time through the edits (crop, tone) and the conversion to the
// writer's pixel format into the output file. The bytes written are those
// of opening the input, editing it and saving it whole.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "imaging/resample_filters.h"
#include "io/format_registry.h"
#include "raster/rect.h"

namespace quorvane {

// A resize of the whole picture, as the Stretch command makes it.
struct TStreamedResize {
  // The new size for a picture of the given size; may throw.
  std::function<std::pair<int64_t, int64_t>(int64_t width, int64_t height)> NewSize;
  TResampleFilter Filter = TResampleFilter::Box;
  bool Force24Bit = false;
};

struct TStreamedJob {
  std::string Input, Output;
  TLoadOptions Load;
  // The rectangle to cut, as the Crop command takes it.
  std::optional<TRect> Crop;
  // A tone table applied to every byte of the 24-bit rows.
  std::optional<std::array<uint8_t, 256>> Tone;
  // Not together with Crop or Tone.
  std::optional<TStreamedResize> Resize;
  bool Compress = false;
  bool GeoTiff = true;
};

enum class TStreamOutcome {
  Saved,
  // Input or output format needs the whole picture; nothing was written.
  NotStreamable,
  // The crop rectangle keeps nothing of the picture; nothing was written.
  CutsNothing,
};

// Throws what opening and saving throw; the output is then left as it was.
TStreamOutcome RunStreamedJob(const TStreamedJob& job);

}  // namespace quorvane
