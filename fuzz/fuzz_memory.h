#pragma once
// Counts the bytes a piece of work holds through malloc at its peak, through
// the sanitizer's allocation hooks, so that a target can hold a reader's or
// writer's working memory against the picture it deals with. The count is
// of bytes asked for, not of pages touched: a picture allocated and never
// written counts in full.
#include <sanitizer/allocator_interface.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace quorvane::fuzz {

namespace memory_detail {
inline std::atomic<int64_t> g_held{0};
inline std::atomic<int64_t> g_peak{0};

inline void OnMalloc(const volatile void*, size_t size) {
  const int64_t held = g_held.fetch_add(int64_t(size)) + int64_t(size);
  int64_t peak = g_peak.load();
  while (held > peak && !g_peak.compare_exchange_weak(peak, held)) {
  }
}
inline void OnFree(const volatile void* p) {
  if (p) g_held.fetch_sub(int64_t(__sanitizer_get_allocated_size(const_cast<const void*>(p))));
}
}  // namespace memory_detail

// Measures from its construction on; the hooks are installed once.
class TMemoryWatch {
 public:
  TMemoryWatch() {
    static const bool installed =
        __sanitizer_install_malloc_and_free_hooks(memory_detail::OnMalloc, memory_detail::OnFree);
    (void)installed;
    start_ = memory_detail::g_held.load();
    memory_detail::g_peak.store(start_);
  }
  // The most bytes held at once since the start, beyond what was held then.
  uint64_t Peak() const {
    const int64_t peak = memory_detail::g_peak.load() - start_;
    return peak > 0 ? uint64_t(peak) : 0;
  }

 private:
  int64_t start_ = 0;
};

// Fails the input when `peak` exceeds `bound`, and says so whenever an input
// comes nearer to its bound than any before, so a run reports how close the
// worst input came.
inline void CheckPeak(const char* what, uint64_t peak, uint64_t bound, uint64_t picture) {
  static double closest = 0;
  const double share = double(peak) / double(bound);
  if (share > closest) {
    closest = share;
    std::fprintf(
        stderr,
        "memory: %s peaked at %llu bytes for a picture of %llu bytes (%.0f%% of its bound)\n", what,
        static_cast<unsigned long long>(peak), static_cast<unsigned long long>(picture),
        share * 100);
  }
  if (peak > bound) {
    std::fprintf(stderr, "memory: %s took %llu bytes, more than its bound of %llu bytes\n", what,
                 static_cast<unsigned long long>(peak), static_cast<unsigned long long>(bound));
    std::abort();
  }
}

}  // namespace quorvane::fuzz
