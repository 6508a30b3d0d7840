#include "raster/file_ranges.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "raster/error.h"

namespace quorvane {

TFileRanges::TFileRanges(const std::string& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw EQuorvaneError(SystemErrorText("Cannot open file", path));
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    ::close(fd_);
    throw EQuorvaneError(SystemErrorText("Cannot read file", path));
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd_);
    throw EQuorvaneError("Cannot open file \"" + path + "\": not a file");
  }
  size_ = uint64_t(info.st_size);
  if (size_ == 0) return;
  // Address space only: pages nobody writes stay the shared zero page.
  void* room = ::mmap(nullptr, size_, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (room == MAP_FAILED) {
    ::close(fd_);
    throw EQuorvaneError("Cannot read file \"" + path + "\": not enough memory");
  }
  data_ = static_cast<uint8_t*>(room);
}

TFileRanges::~TFileRanges() {
  if (data_) ::munmap(data_, size_);
  if (fd_ >= 0) ::close(fd_);
}

void TFileRanges::Fetch(uint64_t offset, uint64_t n) {
  if (offset >= size_) return;
  const uint64_t end = offset + std::min(n, size_ - offset);
#ifdef MADV_POPULATE_WRITE
  // One call makes the pages instead of a fault per page during the read;
  // where the kernel cannot, the read faults them in as before.
  const uint64_t page = uint64_t(::sysconf(_SC_PAGESIZE));
  const uint64_t first = offset / page * page;
  ::madvise(data_ + first, size_t(end - first), MADV_POPULATE_WRITE);
#endif
  while (offset < end) {
    const ssize_t got = ::pread(fd_, data_ + offset, size_t(end - offset), off_t(offset));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw EQuorvaneError(SystemErrorText("Cannot read file", path_));
    }
    if (got == 0) return;  // the file shrank: the rest stays zero, as a short read leaves it
    offset += uint64_t(got);
  }
}

void TFileRanges::Drop(uint64_t offset, uint64_t n) {
  if (offset >= size_) return;
  const uint64_t page = uint64_t(::sysconf(_SC_PAGESIZE));
  const uint64_t begin = offset / page * page;
  const uint64_t end = std::min(size_, offset + std::min(n, size_ - offset));
  ::madvise(data_ + begin, size_t(end - begin), MADV_DONTNEED);
}

void FetchEnds(TFileRanges& file, uint64_t n, uint64_t tail) {
  file.Fetch(0, n);
  if (tail > 0) file.Fetch(file.Size() - std::min(tail, file.Size()), tail);
}

}  // namespace quorvane
