#include "imaging/parallel_bands.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace quorvane {

int ResolveThreadCount(int requested) {
  const int hardware = std::max(1, int(std::thread::hardware_concurrency()));
  return requested <= 0 ? hardware : std::min(requested, hardware);
}

void ParallelBands(int bands, int threads, const std::function<void(int, int, const TTick&)>& body,
                   const std::function<void(long long)>& done) {
  if (bands <= 0) return;
  threads = std::clamp(threads, 1, bands);
  if (threads == 1) {
    const TTick tick = [&](long long count) {
      if (done) done(count);
    };
    for (int band = 0; band < bands; ++band) body(band, 0, tick);
    return;
  }

  std::atomic<int> next_band{0};
  std::mutex mutex;
  std::condition_variable changed;
  long long finished = 0;  // items ticked so far, under `mutex`
  int running = threads;   // threads still working, under `mutex`
  bool failed = false;
  std::exception_ptr error;

  const TTick worker_tick = [&](long long count) {
    {
      std::lock_guard lock(mutex);
      finished += count;
    }
    changed.notify_all();
  };
  auto work = [&](int worker, const TTick& tick) {
    for (;;) {
      {
        std::lock_guard lock(mutex);
        if (failed) break;
      }
      const int band = next_band.fetch_add(1);
      if (band >= bands) break;
      try {
        body(band, worker, tick);
      } catch (...) {
        std::lock_guard lock(mutex);
        if (!error) error = std::current_exception();
        failed = true;
        break;
      }
    }
    {
      std::lock_guard lock(mutex);
      --running;
    }
    changed.notify_all();
  };

  long long reported = 0;
  auto report = [&] {
    long long now;
    {
      std::lock_guard lock(mutex);
      if (failed) return;
      now = finished;
    }
    if (done && now > reported) done(now - reported);
    reported = now;
  };
  const TTick caller_tick = [&](long long count) {
    worker_tick(count);
    report();
  };

  std::vector<std::thread> workers;
  workers.reserve(size_t(threads - 1));
  for (int w = 1; w < threads; ++w) {
    try {
      workers.emplace_back(work, w, std::cref(worker_tick));
    } catch (...) {
      // A thread that cannot be started leaves its bands to the others.
      std::lock_guard lock(mutex);
      --running;
    }
  }
  work(0, caller_tick);
  // Wait for the others, passing on what they finish meanwhile.
  for (;;) {
    bool all_stopped;
    {
      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return running == 0 || failed || finished > reported; });
      all_stopped = running == 0;
    }
    report();
    if (all_stopped) break;
    std::unique_lock lock(mutex);
    if (failed) {
      changed.wait(lock, [&] { return running == 0; });
      break;
    }
  }
  for (auto& worker : workers) worker.join();
  if (error) std::rethrow_exception(error);
}

}  // namespace quorvane
