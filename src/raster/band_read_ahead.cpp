#include "raster/band_read_ahead.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace quorvane {

namespace {

struct TBand {
  TRasterBitmap Bitmap;
  int Rows = 0;
};

// Copies a band into one that went round before when their shapes agree,
// which saves the fresh pages of a new allocation each band.
void CopyBand(const TRasterBitmap& from, TRasterBitmap& to) {
  if (to.PixelFormat() != from.PixelFormat() || to.Width() != from.Width() ||
      to.Height() != from.Height() || to.Stride() != from.Stride()) {
    to = from;
    return;
  }
  std::memcpy(to.Bits(), from.Bits(), from.Stride() * size_t(from.Height()));
  std::copy(from.ColorTable().begin(), from.ColorTable().end(), to.ColorTable().begin());
  to.SetPelsPerMeter(from.XPelsPerMeter(), from.YPelsPerMeter());
}

// Bands waiting beyond the first take at most this much memory, so wide
// pictures keep to a band or two of extra memory.
constexpr size_t kWaitingBytes = 16 << 20;

class TBandQueue {
 public:
  explicit TBandQueue(int ahead) : most_(size_t(std::max(ahead, 1))) {}

  // Decoder side: false once no more bands are wanted.
  bool Put(const TRasterBitmap& band, int rows) {
    TBand copy;
    {
      std::lock_guard lock(mutex_);
      if (!spare_.empty()) {
        copy.Bitmap = std::move(spare_.back());
        spare_.pop_back();
      }
    }
    CopyBand(band, copy.Bitmap);
    copy.Rows = rows;
    const size_t bytes = std::max<size_t>(band.Stride() * size_t(band.Height()), 1);
    const size_t ahead = std::clamp<size_t>(kWaitingBytes / bytes, 1, most_);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return ready_.size() < ahead || stop_; });
    if (stop_) return false;
    ready_.push_back(std::move(copy));
    changed_.notify_all();
    return true;
  }
  void End(std::exception_ptr failure) {
    std::lock_guard lock(mutex_);
    failure_ = failure;
    ended_ = true;
    changed_.notify_all();
  }

  // Consumer side: false once the decoder has ended and every band is used.
  bool Take(TBand& band) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !ready_.empty() || ended_; });
    if (ready_.empty()) return false;
    band = std::move(ready_.front());
    ready_.pop_front();
    changed_.notify_all();
    return true;
  }
  void GiveBack(TBand& band) {
    std::lock_guard lock(mutex_);
    spare_.push_back(std::move(band.Bitmap));
  }
  void Stop() {
    std::lock_guard lock(mutex_);
    stop_ = true;
    changed_.notify_all();
  }
  void RethrowFailure() const {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  const size_t most_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<TBand> ready_;
  std::vector<TRasterBitmap> spare_;
  bool stop_ = false, ended_ = false;
  std::exception_ptr failure_;
};

}  // namespace

void StreamAhead(TPictureRows& rows, const TBandHandler& use, int ahead) {
  TBandQueue queue(ahead);
  std::thread decoder([&] {
    try {
      rows.Stream([&](const TRasterBitmap& band, int count) { return queue.Put(band, count); });
      queue.End(nullptr);
    } catch (...) {
      queue.End(std::current_exception());
    }
  });
  try {
    TBand band;
    while (queue.Take(band)) {
      const bool more = use(band.Bitmap, band.Rows);
      queue.GiveBack(band);
      if (!more) break;
    }
  } catch (...) {
    queue.Stop();
    decoder.join();
    throw;
  }
  queue.Stop();
  decoder.join();
  queue.RethrowFailure();
}

}  // namespace quorvane
