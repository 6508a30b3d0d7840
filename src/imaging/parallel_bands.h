#pragma once
// Runs independent bands of work on several threads, the calling thread
// included, and lets the calling thread alone report progress: callbacks that
// repaint a window must not run on a worker.
#include <functional>

namespace quorvane {

// The number of threads to use for `requested` (0: one per hardware thread).
int ResolveThreadCount(int requested);

// Records that `count` more items are finished.
using TTick = std::function<void(long long count)>;

// Calls body(band, worker, tick) once for every band 0 .. bands-1 on up to
// `threads` threads; bands are handed out in order as threads become free,
// and `worker` (0 .. threads-1, 0 being the caller) identifies the thread's
// scratch buffers. done(n) runs on the calling thread only, with the number
// of items ticked since its previous call. The first exception thrown by a
// body is rethrown once every thread has stopped; bands not yet started are
// then skipped.
void ParallelBands(int bands, int threads,
                   const std::function<void(int band, int worker, const TTick& tick)>& body,
                   const std::function<void(long long finished)>& done);

}  // namespace quorvane
