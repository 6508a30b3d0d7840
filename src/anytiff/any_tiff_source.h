#pragma once
// Where the extended TIFF reader takes its bytes from: a block of memory
// (tests, fuzzing, a file already read) or a file on disk read piece by piece
// with pread, so that a large tiled file costs only the tiles it needs. Files
// are never mapped: a file cut short while it is read must give a short read,
// not a bus error.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quorvane {

class TAnyTiffSource {
 public:
  virtual ~TAnyTiffSource() = default;
  // The size the bytes had when the source was opened.
  virtual uint64_t Size() const = 0;
  // Copies up to `n` bytes from `offset` and returns how many arrived (fewer
  // at the end); -1 when the system refused the read. Never throws: libtiff
  // calls it from C.
  virtual int64_t ReadAt(uint64_t offset, void* buffer, size_t n) noexcept = 0;
};

class TMemoryTiffSource final : public TAnyTiffSource {
 public:
  explicit TMemoryTiffSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t Size() const override { return bytes_.size(); }
  int64_t ReadAt(uint64_t offset, void* buffer, size_t n) noexcept override;

 private:
  std::span<const uint8_t> bytes_;
};

class TFileTiffSource final : public TAnyTiffSource {
 public:
  // Throws EQuorvaneError naming the file when it cannot be opened.
  explicit TFileTiffSource(const std::string& path);
  ~TFileTiffSource() override;
  TFileTiffSource(const TFileTiffSource&) = delete;
  TFileTiffSource& operator=(const TFileTiffSource&) = delete;

  uint64_t Size() const override { return size_; }
  int64_t ReadAt(uint64_t offset, void* buffer, size_t n) noexcept override;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

}  // namespace quorvane
