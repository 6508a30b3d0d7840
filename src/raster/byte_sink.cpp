#include "raster/byte_sink.h"

#include <cstring>
#include <limits>

#include "raster/error.h"

namespace quorvane {

void TMemorySink::Write(const void* data, size_t n) {
  if (n == 0) return;
  const auto* bytes = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), bytes, bytes + n);
}

void TMemorySink::WriteAt(uint64_t offset, const void* data, size_t n) {
  if (offset > std::numeric_limits<size_t>::max() - n)
    throw EQuorvaneError("A file this large cannot be held in memory", TErrorKind::TooLarge);
  const size_t end = size_t(offset) + n;
  if (end > bytes_.size()) bytes_.resize(end);
  if (n > 0) std::memcpy(bytes_.data() + offset, data, n);
}

bool TSinkFailure::Write(TByteSink& sink, const void* data, size_t n) noexcept {
  if (failure_) return false;
  try {
    sink.Write(data, n);
    return true;
  } catch (...) {
    failure_ = std::current_exception();
    return false;
  }
}

void TSinkFailure::Rethrow() const {
  if (failure_) std::rethrow_exception(failure_);
}

}  // namespace quorvane
