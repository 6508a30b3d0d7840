#pragma once
// How the extended TIFF reader spreads its work over threads without owning
// any: the caller hands in a band runner (the program's own fits this shape)
// and a thread count. Without one, everything runs on the calling thread.
#include <functional>

namespace quorvane {

// Records that `count` more items are finished.
using TAnyTiffTick = std::function<void(long long count)>;

// Calls body(band, worker, tick) once for every band 0 .. bands-1 on up to
// `threads` threads (worker 0 being the caller) and done(n) on the calling
// thread alone with the items ticked since its last call; rethrows the first
// exception once every thread has stopped.
using TAnyTiffParallel = std::function<void(
    int bands, int threads,
    const std::function<void(int band, int worker, const TAnyTiffTick& tick)>& body,
    const std::function<void(long long finished)>& done)>;

// Runs through `parallel` when there is one and more than one thread is
// asked for, otherwise band after band on the calling thread.
inline void RunBands(
    const TAnyTiffParallel& parallel, int threads, int bands,
    const std::function<void(int band, int worker, const TAnyTiffTick& tick)>& body,
    const std::function<void(long long finished)>& done) {
  if (parallel && threads > 1 && bands > 1) {
    parallel(bands, threads, body, done);
    return;
  }
  const TAnyTiffTick tick = [&](long long count) {
    if (done) done(count);
  };
  for (int band = 0; band < bands; ++band) body(band, 0, tick);
}

}  // namespace quorvane
