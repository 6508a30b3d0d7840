#include "raster/file_io.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <new>
#include <optional>
#include <utility>

#include "raster/error.h"
#include "raster/output_file.h"

namespace quorvane {

namespace {
class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd) : fd_(fd) {}
  ~TFileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(TFileDescriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  int Get() const { return fd_; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};
}  // namespace

namespace {
// Reads the open file into `out` (room for `size` bytes); returns the bytes
// that arrived, fewer when the file shrank while it was read.
size_t ReadAll(int fd, uint8_t* out, size_t size, const std::string& path) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, out + done, size - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw EQuorvaneError(SystemErrorText("Cannot read file", path), TErrorKind::Io);
    }
    if (got == 0) break;  // the file shrank while we read it
    done += size_t(got);
  }
  return done;
}

// Opens a regular file for reading; returns its size at that moment.
size_t OpenRegularFile(const std::string& path, TFileDescriptor& file) {
  file = TFileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0)
    throw EQuorvaneError(SystemErrorText("Cannot open file", path), TErrorKind::Io);
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0)
    throw EQuorvaneError(SystemErrorText("Cannot read file", path), TErrorKind::Io);
  if (!S_ISREG(info.st_mode))
    throw EQuorvaneError("Cannot open file \"" + path + "\": not a file", TErrorKind::Io);
  return size_t(info.st_size);
}
}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  TFileDescriptor file(-1);
  std::vector<uint8_t> bytes(OpenRegularFile(path, file));
  bytes.resize(ReadAll(file.Get(), bytes.data(), bytes.size(), path));
  return bytes;
}

// Large files get memory mapped with all its pages present from the start:
// one call instead of a page fault per 4 KB while the read fills it.
constexpr size_t kPopulatedFrom = size_t(1) << 20;

TFileBytes::TFileBytes(size_t capacity) : capacity_(capacity) {
  if (capacity == 0) return;
  if (capacity >= kPopulatedFrom) {
    void* p = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (p != MAP_FAILED) {
      data_ = static_cast<uint8_t*>(p);
      mapped_ = true;
      return;
    }
  }
  data_ = static_cast<uint8_t*>(std::malloc(capacity));
  if (!data_) throw std::bad_alloc();
}

TFileBytes::~TFileBytes() {
  if (mapped_) {
    ::munmap(data_, capacity_);
  } else {
    std::free(data_);
  }
}

TFileBytes::TFileBytes(TFileBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      mapped_(std::exchange(other.mapped_, false)) {}

TFileBytes& TFileBytes::operator=(TFileBytes&& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  std::swap(capacity_, other.capacity_);
  std::swap(mapped_, other.mapped_);
  return *this;
}

TFileBytes ReadFileBytes(const std::string& path) {
  TFileDescriptor file(-1);
  const size_t size = OpenRegularFile(path, file);
  return ReadOpenFile(file.Get(), size, path);
}

TFileBytes ReadOpenFile(int fd, size_t size, const std::string& path) {
  std::optional<TFileBytes> bytes;
  try {
    bytes.emplace(size);
  } catch (const std::bad_alloc&) {
    throw ENotEnoughMemory("read file \"" + path + "\"", size);
  }
  bytes->SetSize(ReadAll(fd, bytes->Data(), size, path));
  return std::move(*bytes);
}

void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
  TOutputFile file(path);
  file.Write(bytes.data(), bytes.size());
  file.Commit();
}

}  // namespace quorvane
