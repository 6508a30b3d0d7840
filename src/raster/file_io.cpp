#include "raster/file_io.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <random>
#include <utility>

#include "raster/error.h"

namespace quorvane {

namespace {
std::string SystemMessage(const std::string& action, const std::string& path) {
  return action + " \"" + path + "\": " + std::strerror(errno);
}

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
      throw EQuorvaneError(SystemMessage("Cannot read file", path));
    }
    if (got == 0) break;  // the file shrank while we read it
    done += size_t(got);
  }
  return done;
}

// Opens a regular file for reading; returns its size at that moment.
size_t OpenRegularFile(const std::string& path, TFileDescriptor& file) {
  file = TFileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) throw EQuorvaneError(SystemMessage("Cannot open file", path));
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0)
    throw EQuorvaneError(SystemMessage("Cannot read file", path));
  if (!S_ISREG(info.st_mode)) throw EQuorvaneError("Cannot open file \"" + path + "\": not a file");
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
  std::optional<TFileBytes> bytes;
  try {
    bytes.emplace(size);
  } catch (const std::bad_alloc&) {
    throw EQuorvaneError("Cannot read file \"" + path + "\": not enough memory");
  }
  bytes->SetSize(ReadAll(file.Get(), bytes->Data(), size, path));
  return std::move(*bytes);
}

namespace {
// The file a chain of symbolic links ends at (which need not exist yet), so
// that a save replaces the file a link points to and keeps the link.
std::filesystem::path FinalTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path at(path);
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(at, error))) return at;
    const fs::path link = fs::read_symlink(at, error);
    if (error) return at;
    at = link.is_absolute() ? link : at.parent_path() / link;
  }
  errno = ELOOP;
  throw EQuorvaneError(SystemMessage("Cannot create file", path));
}
}  // namespace

void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
  namespace fs = std::filesystem;
  const fs::path target = FinalTarget(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::random_device random;
  std::string temp_name;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    // Built piece by piece: one long concatenation trips a false -Wrestrict in GCC 12.
    std::string name = ".";
    name += target.filename().string();
    name += ".tmp";
    name += std::to_string(random());
    temp_name = (folder / name).string();
    fd = ::open(temp_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw EQuorvaneError(SystemMessage("Cannot create file", path));
  TFileDescriptor file(fd);
  auto fail = [&](const char* action) {
    const std::string message = SystemMessage(action, path);
    ::close(file.Release());
    ::unlink(temp_name.c_str());
    throw EQuorvaneError(message);
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(file.Get(), bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      fail("Cannot write file");
    }
    done += size_t(put);
  }
  // Keep the permissions an existing file had.
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) ::fchmod(file.Get(), existing.st_mode & 07777);
  if (::fsync(file.Get()) != 0) fail("Cannot write file");
  if (::close(file.Release()) != 0) {
    const std::string message = SystemMessage("Cannot write file", path);
    ::unlink(temp_name.c_str());
    throw EQuorvaneError(message);
  }
  if (::rename(temp_name.c_str(), target.c_str()) != 0) {
    const std::string message = SystemMessage("Cannot write file", path);
    ::unlink(temp_name.c_str());
    throw EQuorvaneError(message);
  }
}

}  // namespace quorvane
