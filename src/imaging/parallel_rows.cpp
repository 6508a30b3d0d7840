#include "imaging/parallel_rows.h"

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

void ParallelRanges(int count, int chunk, int threads,
                    const std::function<void(int, int, int)>& body,
                    const std::function<void(int)>& done) {
  if (count <= 0) return;
  chunk = std::max(chunk, 1);
  const int chunks = int((int64_t(count) + chunk - 1) / chunk);
  threads = std::clamp(threads, 1, chunks);
  if (threads == 1) {
    for (int begin = 0; begin < count; begin += chunk) {
      const int end = std::min(count, begin + chunk);
      body(begin, end, 0);
      if (done) done(end - begin);
      if (end == count) break;
    }
    return;
  }

  std::atomic<int> next{0};
  std::mutex mutex;
  std::condition_variable changed;
  int finished = 0;
  bool failed = false;
  std::exception_ptr error;

  // Takes one chunk and runs it; false when there is nothing left to do.
  auto run_one = [&](int worker) {
    {
      std::lock_guard lock(mutex);
      if (failed) return false;
    }
    const int index = next.fetch_add(1);
    if (index >= chunks) return false;
    const int begin = index * chunk;
    const int end = std::min(count, begin + chunk);
    try {
      body(begin, end, worker);
    } catch (...) {
      std::lock_guard lock(mutex);
      if (!error) error = std::current_exception();
      failed = true;
      changed.notify_all();
      return false;
    }
    {
      std::lock_guard lock(mutex);
      finished += end - begin;
    }
    changed.notify_all();
    return true;
  };

  std::vector<std::thread> workers;
  workers.reserve(size_t(threads - 1));
  try {
    for (int w = 1; w < threads; ++w) {
      workers.emplace_back([&run_one, w] {
        while (run_one(w)) {
        }
      });
    }
  } catch (...) {
    // A thread that cannot be started leaves its share to the others.
  }

  int reported = 0;
  auto report = [&] {
    int now;
    {
      std::lock_guard lock(mutex);
      if (failed) return;
      now = finished;
    }
    if (done && now > reported) done(now - reported);
    reported = now;
  };
  while (run_one(0)) report();
  while (reported < count) {
    {
      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return failed || finished > reported; });
      if (failed) break;
    }
    report();
  }
  for (auto& worker : workers) worker.join();
  if (error) std::rethrow_exception(error);
}

}  // namespace quorvane
