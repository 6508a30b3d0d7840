#pragma once
// Whole-file reading and writing. Codecs never touch files directly: they
// decode from bytes and encode into bytes, and these two calls sit at the edge.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quorvane {

// The whole file, or throws EQuorvaneError naming the file.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// The whole file in memory that is not cleared before the read fills it (a
// vector would write every byte twice), for the loaders, whose files may be
// hundreds of megabytes. Converts to the byte span the decoders take.
class TFileBytes {
 public:
  TFileBytes() = default;
  // Room for `capacity` bytes, not cleared.
  explicit TFileBytes(size_t capacity);
  ~TFileBytes();
  TFileBytes(TFileBytes&& other) noexcept;
  TFileBytes& operator=(TFileBytes&& other) noexcept;
  TFileBytes(const TFileBytes&) = delete;
  TFileBytes& operator=(const TFileBytes&) = delete;

  uint8_t* Data() { return data_; }
  void SetSize(size_t size) { size_ = size; }
  std::span<const uint8_t> Bytes() const { return {data_, size_}; }
  operator std::span<const uint8_t>() const { return Bytes(); }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  bool mapped_ = false;
};
TFileBytes ReadFileBytes(const std::string& path);
// The bytes of a file already open for reading whose size was taken as
// `size`: fewer when another program has cut the file since. `path` names
// the file in messages; the descriptor stays open.
TFileBytes ReadOpenFile(int fd, size_t size, const std::string& path);

// Writes the bytes as TOutputFile does (output_file.h): to a temporary file
// beside the target that replaces it only when every byte is on disk, so a
// failed save never destroys or truncates an existing file.
void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace quorvane
