#include "raster/unfinished_saves.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace quorvane {

namespace {

constexpr int kSlots = 32;
constexpr size_t kPathRoom = 4096;

enum TSlotState : int { kFree = 0, kClaimed = 1, kRecorded = 2 };
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler reads the slot states");

struct TSlot {
  std::atomic<int> State{kFree};
  char Path[kPathRoom] = {};
};

// The one piece of process-wide state here: a signal handler can reach
// nothing else. Slots are claimed and released with atomic operations, and a
// path is complete before its slot reads as recorded.
constinit TSlot g_slots[kSlots];

void RemoveAndDie(int signal) {
  const int saved = errno;
  for (TSlot& slot : g_slots)
    if (slot.State.load(std::memory_order_acquire) == kRecorded) ::unlink(slot.Path);
  errno = saved;
  // SA_RESETHAND put the default action back; the signal, blocked while this
  // handler runs, ends the program as soon as the handler returns.
  ::raise(signal);
}

}  // namespace

void RemoveUnfinishedSavesOnSignals() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0) continue;
    if ((current.sa_flags & SA_SIGINFO) || current.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = RemoveAndDie;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(signal, &action, nullptr);
  }
}

TUnfinishedSave::TUnfinishedSave(const std::string& path) {
  std::error_code error;
  std::string absolute = std::filesystem::absolute(path, error).string();
  if (error) absolute = path;
  if (absolute.size() >= kPathRoom) return;
  for (int i = 0; i < kSlots; ++i) {
    int free = kFree;
    if (!g_slots[i].State.compare_exchange_strong(free, kClaimed, std::memory_order_acquire))
      continue;
    std::memcpy(g_slots[i].Path, absolute.c_str(), absolute.size() + 1);
    g_slots[i].State.store(kRecorded, std::memory_order_release);
    slot_ = i;
    return;
  }
}

void TUnfinishedSave::Forget() {
  if (slot_ < 0) return;
  g_slots[slot_].State.store(kFree, std::memory_order_release);
  slot_ = -1;
}

}  // namespace quorvane
