#pragma once
// Decoding on a thread of its own, a few bands ahead of the work on the
// rows: reading and decoding overlap with resampling and writing.
#include "raster/picture_rows.h"

namespace quorvane {

// Streams `rows` on a second thread while `use` takes the same bands, in
// the same order, on the calling thread; at most `ahead` decoded bands
// wait, fewer for bands of several megabytes. Once `use` returns false the decoder stops at its
// next band. Throws what either side throws (the consumer's failure first); the decoder thread has
// ended by then.
void StreamAhead(TPictureRows& rows, const TBandHandler& use, int ahead = 2);

}  // namespace quorvane
