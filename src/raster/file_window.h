#pragma once
// A file read front to back by a decoder that wants all its bytes at their
// places: the bytes are fetched a little ahead of the reader and let go a
// little behind it, so a picture of gigabytes costs a few megabytes. The
// calls made from a C library's callbacks never throw; a failed read is kept
// for the caller to rethrow once the library has returned.
#include <cstdint>
#include <exception>
#include <span>
#include <string>

#include "raster/file_ranges.h"

namespace quorvane {

class TFileWindow {
 public:
  // Throws the messages a whole-file read gives for a file it cannot open.
  explicit TFileWindow(const std::string& path) : file_(path) {}

  uint64_t Size() const { return file_.Size(); }
  // The whole file's span; only what Reach made readable holds its bytes.
  std::span<const uint8_t> Bytes() const { return file_.Bytes(); }
  // Makes the bytes before `end` readable (from where the last let go on);
  // false when the read failed.
  bool Reach(uint64_t end) noexcept;
  // Where the readable bytes end (from where the last let go on).
  uint64_t Reached() const { return fetched_; }
  // Lets go of the bytes well before `position`, which are not read again.
  void Forget(uint64_t position) noexcept;
  // Throws the failed read, if there was one.
  void Rethrow() const;
  // For readers that also jump about, fetching and dropping ranges
  // themselves.
  TFileRanges& Ranges() { return file_; }

 private:
  TFileRanges file_;
  uint64_t fetched_ = 0;
  uint64_t dropped_ = 0;
  std::exception_ptr failure_;
};

}  // namespace quorvane
