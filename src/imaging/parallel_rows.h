#pragma once
// Runs independent pieces of work on several threads, the calling thread
// included, and lets the calling thread alone report progress: callbacks that
// repaint a window must not run on a worker.
#include <functional>

namespace quorvane {

// The number of threads to use for `requested` (0: one per hardware thread).
int ResolveThreadCount(int requested);

// Calls body(begin, end, worker) for consecutive ranges of [0, count) of at
// most `chunk` items, on up to `threads` threads; `worker` is 0 .. threads-1
// and identifies the caller's scratch buffers. done(n) runs on the calling
// thread only, with the number of items finished since its previous call;
// the counts add up to `count`. The first exception thrown by a body is
// rethrown after every thread has stopped.
void ParallelRanges(int count, int chunk, int threads,
                    const std::function<void(int begin, int end, int worker)>& body,
                    const std::function<void(int finished)>& done);

}  // namespace quorvane
