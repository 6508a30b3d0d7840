#pragma once
// A file seen as all its bytes while only the ranges asked for are read:
// the rest reads as zero and takes no memory (the room for it is reserved,
// never touched). Header readers walk a file's structure through it, so a
// report on a picture of gigabytes reads a few kilobytes, and a reader that
// checks positions against the file's size sees the true size.
#include <cstdint>
#include <span>
#include <string>

namespace quorvane {

class TFileRanges {
 public:
  // Throws the messages a whole-file read gives for a file it cannot open.
  explicit TFileRanges(const std::string& path);
  ~TFileRanges();
  TFileRanges(const TFileRanges&) = delete;
  TFileRanges& operator=(const TFileRanges&) = delete;

  uint64_t Size() const { return size_; }
  // Reads [offset, offset + n) clipped to the file; a range read before is
  // read again (the cost is small and the bookkeeping none).
  void Fetch(uint64_t offset, uint64_t n);
  // Lets the memory of the pages holding [offset, offset + n) go: they
  // read as zero until fetched again.
  void Drop(uint64_t offset, uint64_t n);
  // The bytes fetched so far, at their places in a span of the file's size.
  std::span<const uint8_t> Bytes() const { return {data_, size_}; }

 private:
  std::string path_;
  int fd_ = -1;
  uint8_t* data_ = nullptr;
  uint64_t size_ = 0;
};

// Fetches the first `n` bytes and the last `tail` bytes.
void FetchEnds(TFileRanges& file, uint64_t n, uint64_t tail = 0);

}  // namespace quorvane
