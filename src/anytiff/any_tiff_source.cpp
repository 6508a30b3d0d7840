#include "anytiff/any_tiff_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "raster/error.h"

namespace quorvane {

int64_t TMemoryTiffSource::ReadAt(uint64_t offset, void* buffer, size_t n) noexcept {
  if (offset >= bytes_.size()) return 0;
  const size_t count = size_t(std::min<uint64_t>(n, bytes_.size() - offset));
  std::memcpy(buffer, bytes_.data() + offset, count);
  return int64_t(count);
}

TFileTiffSource::TFileTiffSource(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0)
    throw EQuorvaneError("Cannot open file \"" + path + "\": " + std::strerror(errno),
                         TErrorKind::Io);
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd_);
    throw EQuorvaneError("Cannot open file \"" + path + "\": not a file", TErrorKind::Io);
  }
  size_ = uint64_t(info.st_size);
}

TFileTiffSource::~TFileTiffSource() {
  if (fd_ >= 0) ::close(fd_);
}

int64_t TFileTiffSource::ReadAt(uint64_t offset, void* buffer, size_t n) noexcept {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(fd_, out + done, n - done, off_t(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? int64_t(done) : -1;
    }
    if (got == 0) break;  // the end of the file, wherever it is now
    done += size_t(got);
  }
  return int64_t(done);
}

}  // namespace quorvane
