#pragma once
// Where an encoder's bytes go: a file being written (see output_file.h) or a
// block of memory. Encoders mostly append; a few formats put a size or an
// offset back into bytes written earlier, or lay out rows in an order other
// than the one they arrive in, and write those at an offset.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

namespace quorvane {

class TByteSink {
 public:
  virtual ~TByteSink() = default;
  // Appends at the end. Throws EQuorvaneError when the bytes cannot be put.
  virtual void Write(const void* data, size_t n) = 0;
  // Puts bytes at `offset`, over earlier ones or past the end (the bytes
  // between the old end and `offset` are then zero until written).
  virtual void WriteAt(uint64_t offset, const void* data, size_t n) = 0;
  // Where the next Write goes: the end of what was written.
  virtual uint64_t End() const = 0;
};

// The bytes in memory, for callers that want the whole file as bytes.
class TMemorySink final : public TByteSink {
 public:
  void Write(const void* data, size_t n) override;
  void WriteAt(uint64_t offset, const void* data, size_t n) override;
  uint64_t End() const override { return bytes_.size(); }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::vector<uint8_t> TakeBytes() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Writes into a sink from callbacks of a C library, through whose frames no
// exception may pass: the first failure is kept and the call answers false,
// for the library to stop with its own error; the caller rethrows the kept
// failure once the library has returned.
class TSinkFailure {
 public:
  bool Write(TByteSink& sink, const void* data, size_t n) noexcept;
  // Throws the kept failure, if there is one.
  void Rethrow() const;

 private:
  std::exception_ptr failure_;
};

}  // namespace quorvane
