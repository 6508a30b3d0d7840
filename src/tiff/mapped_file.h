#pragma once
// A whole file mapped read-only into memory, so a large image is decoded
// straight from the page cache without first copying it into a buffer.
#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvane {

class TMappedFile {
 public:
  // Maps a regular, non-empty file. Returns false (and maps nothing) for
  // anything else, so the caller can fall back to reading it.
  bool Map(const std::string& path);
  ~TMappedFile();
  TMappedFile() = default;
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  const uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace quorvane
