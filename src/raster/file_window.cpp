#include "raster/file_window.h"

#include <algorithm>

namespace quorvane {

namespace {

// Reads of a megabyte keep the calls few; dropping in steps of four keeps
// the madvise calls few while the memory stays a few megabytes.
constexpr uint64_t kReadAhead = 1 << 20;
constexpr uint64_t kKeptBehind = 4 << 20;
constexpr uint64_t kPage = 64 * 1024;  // a multiple of every page size in use

}  // namespace

bool TFileWindow::Reach(uint64_t end) noexcept {
  if (end <= fetched_ || failure_) return !failure_;
  const uint64_t until = std::min(Size(), std::max(end, fetched_ + kReadAhead));
  try {
    file_.Fetch(fetched_, until - fetched_);
  } catch (...) {
    failure_ = std::current_exception();
    return false;
  }
  fetched_ = until;
  return true;
}

void TFileWindow::Forget(uint64_t position) noexcept {
  if (position < dropped_ + 2 * kKeptBehind) return;
  // Whole pages only: a partial one would lose the bytes after the cut.
  const uint64_t until = (position - kKeptBehind) / kPage * kPage;
  file_.Drop(dropped_, until - dropped_);
  dropped_ = until;
}

void TFileWindow::Rethrow() const {
  if (failure_) std::rethrow_exception(failure_);
}

}  // namespace quorvane
