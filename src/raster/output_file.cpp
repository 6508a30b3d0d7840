#include "raster/output_file.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "raster/error.h"

namespace quorvane {

namespace {

namespace fs = std::filesystem;

// Appends are gathered into blocks of this size before they reach the file.
constexpr size_t kBufferSize = size_t(1) << 20;
// Room left in a temporary file's name for the target's name: names may
// have at most 255 bytes.
constexpr size_t kLongestNameKept = 180;

// The file a chain of symbolic links ends at (which need not exist yet), so
// that a save replaces the file a link points to and keeps the link.
fs::path FinalTarget(const std::string& path) {
  fs::path at(path);
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(at, error))) return at;
    const fs::path link = fs::read_symlink(at, error);
    if (error) return at;
    at = link.is_absolute() ? link : at.parent_path() / link;
  }
  errno = ELOOP;
  throw EQuorvaneError(SystemErrorText("Cannot create file", path), TErrorKind::Io);
}

// ".NAME.quorvane-unfinished-save-XXXXXXXX" in the target's folder.
std::string TemporaryName(const fs::path& target, uint32_t random) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "%08x", unsigned(random));
  std::string name = ".";
  name += target.filename().string().substr(0, kLongestNameKept);
  name += ".quorvane-unfinished-save-";
  name += suffix;
  return (folder / name).string();
}

// Copies the extended attributes (access control lists, security labels,
// user attributes) of the file replaced; what cannot be copied is left out.
void CopyExtendedAttributes(const std::string& from, int to) {
  const ssize_t listed = ::listxattr(from.c_str(), nullptr, 0);
  if (listed <= 0) return;
  std::vector<char> names(static_cast<size_t>(listed));
  const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size());
  if (got <= 0) return;
  std::vector<char> value;
  for (size_t at = 0; at < size_t(got); at += std::strlen(names.data() + at) + 1) {
    const char* name = names.data() + at;
    const ssize_t size = ::getxattr(from.c_str(), name, nullptr, 0);
    if (size < 0) continue;
    value.resize(static_cast<size_t>(size));
    const ssize_t read = ::getxattr(from.c_str(), name, value.data(), value.size());
    if (read >= 0) (void)::fsetxattr(to, name, value.data(), size_t(read), 0);
  }
}

}  // namespace

TOutputFile::TOutputFile(const std::string& path) : path_(path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT)
      throw EQuorvaneError(SystemErrorText("Cannot write file", path), TErrorKind::Io);
    OpenTemporary(FinalTarget(path).string(), nullptr);
  } else if (S_ISREG(info.st_mode)) {
    const std::string target = FinalTarget(path).string();
    // Writing into the file would be refused: so is replacing it.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
      throw EQuorvaneError(SystemErrorText("Cannot write file", path), TErrorKind::Io);
    OpenTemporary(target, &info);
  } else if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
    OpenDirect(info);
  } else if (S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    throw EQuorvaneError(SystemErrorText("Cannot write file", path), TErrorKind::Io);
  } else {
    throw EQuorvaneError("Cannot write file \"" + path + "\": not a regular file", TErrorKind::Io);
  }
}

void TOutputFile::OpenTemporary(const std::string& target, const struct stat* replaced) {
  target_ = target;
  if (replaced) replaced_ = *replaced;
  std::random_device random;
  // Readable by the owner alone until the file replaced lends its mode; a
  // new file takes the usual mode less the umask.
  const mode_t mode = replaced ? 0600 : 0666;
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    temporary_ = TemporaryName(target, random());
    // Recorded before it exists, so that no moment passes in which an
    // interrupt would leave it behind.
    record_.emplace(temporary_);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd_ < 0) {
      const int error = errno;
      record_.reset();
      errno = error;
      if (error != EEXIST) break;
    }
  }
  if (fd_ < 0) {
    temporary_.clear();
    throw EQuorvaneError(SystemErrorText("Cannot create file", path_), TErrorKind::Io);
  }
}

void TOutputFile::OpenDirect(const struct stat& info) {
  target_ = path_;
  if (S_ISFIFO(info.st_mode)) {
    // Without a reader, opening a FIFO for writing would wait for one.
    fd_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0 && errno == ENXIO)
      throw EQuorvaneError("Cannot write file \"" + path_ + "\": no program reads from this pipe",
                           TErrorKind::Io);
    if (fd_ >= 0) ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  } else {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  }
  if (fd_ < 0) throw EQuorvaneError(SystemErrorText("Cannot write file", path_), TErrorKind::Io);
  if (::lseek(fd_, 0, SEEK_CUR) < 0) spool_ = std::make_unique<TMemorySink>();
}

TOutputFile::~TOutputFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void TOutputFile::Fail() const {
  throw EQuorvaneError(SystemErrorText("Cannot write file", path_), TErrorKind::Io);
}

void TOutputFile::PutAt(uint64_t offset, const uint8_t* data, size_t n) {
  while (n > 0) {
    const ssize_t put = ::pwrite(fd_, data, n, off_t(offset));
    if (put < 0) {
      if (errno == EINTR) continue;
      Fail();
    }
    data += put;
    n -= size_t(put);
    offset += uint64_t(put);
  }
}

void TOutputFile::PutAll(const uint8_t* data, size_t n) {
  while (n > 0) {
    const ssize_t put = ::write(fd_, data, n);
    if (put < 0) {
      if (errno == EINTR) continue;
      Fail();
    }
    data += put;
    n -= size_t(put);
  }
}

void TOutputFile::Flush() {
  if (buffer_.empty()) return;
  PutAt(buffer_start_, buffer_.data(), buffer_.size());
  buffer_.clear();
}

void TOutputFile::Write(const void* data, size_t n) {
  if (spool_) return spool_->Write(data, n);
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (buffer_.size() + n > kBufferSize || buffer_start_ + buffer_.size() != end_) Flush();
  if (buffer_.empty()) buffer_start_ = end_;
  if (n >= kBufferSize) {
    PutAt(end_, bytes, n);
  } else {
    if (buffer_.capacity() < kBufferSize) buffer_.reserve(kBufferSize);
    buffer_.insert(buffer_.end(), bytes, bytes + n);
  }
  end_ += n;
}

void TOutputFile::WriteAt(uint64_t offset, const void* data, size_t n) {
  if (spool_) return spool_->WriteAt(offset, data, n);
  Flush();
  PutAt(offset, static_cast<const uint8_t*>(data), n);
  end_ = std::max(end_, offset + n);
}

uint64_t TOutputFile::End() const {
  return spool_ ? spool_->End() : end_;
}

void TOutputFile::KeepAttributes() const {
  if (!replaced_) return;
  const struct stat& old = *replaced_;
  struct stat own {};
  if (::fstat(fd_, &own) == 0 && (own.st_uid != old.st_uid || own.st_gid != old.st_gid)) {
    // Only root may give a file away; anyone may pick one of their groups.
    if (::fchown(fd_, old.st_uid, old.st_gid) != 0) (void)::fchown(fd_, uid_t(-1), old.st_gid);
  }
  CopyExtendedAttributes(target_, fd_);
  // After the owner: changing the owner clears the set-user-ID bits.
  (void)::fchmod(fd_, old.st_mode & 07777);
}

void TOutputFile::Commit() {
  if (spool_) {
    const std::vector<uint8_t>& bytes = spool_->Bytes();
    PutAll(bytes.data(), bytes.size());
  }
  Flush();
  if (temporary_.empty()) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) Fail();
    committed_ = true;
    return;
  }
  KeepAttributes();
  if (::fsync(fd_) != 0) Fail();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail();
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) Fail();
  committed_ = true;
  record_.reset();
}

}  // namespace quorvane
