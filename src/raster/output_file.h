#pragma once
// The file a save writes, as the encoders produce it.
//
// A regular file (or a name not taken yet) is written to a temporary file
// beside it, ".NAME.quorvane-unfinished-save-XXXXXXXX", which replaces the
// target only once every byte is on disk: a failed or interrupted save never
// destroys or truncates what was there, and removes its temporary file (also
// on SIGINT, SIGTERM and SIGHUP once RemoveUnfinishedSavesOnSignals was
// called). The file replaced keeps its owner, group, mode and extended
// attributes where the system lets us set them. A file we may not write is
// refused as writing into it would be ("Permission denied"), even though
// its folder would let us replace it.
//
// A symbolic link (or a chain of them) names its final target: that file is
// replaced and the link stays. A file with several hard links is replaced by
// a new file under the name saved to; its other names keep the old content.
//
// Anything else is never replaced: a FIFO or a character device (/dev/null,
// a terminal) is written into directly, and a FIFO nothing reads from is
// refused rather than waited on; a folder, a block device or a socket is
// refused. What a FIFO or terminal receives is gathered in memory first,
// since some formats go back to fill in earlier bytes.
#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "raster/byte_sink.h"
#include "raster/unfinished_saves.h"

namespace quorvane {

class TOutputFile final : public TByteSink {
 public:
  // Opens the output. Throws EQuorvaneError ("Cannot write file "PATH":
  // Permission denied", ...) before anything is written when the target must
  // not or cannot be written.
  explicit TOutputFile(const std::string& path);
  // Without Commit, the temporary file is removed and the target left as it
  // was.
  ~TOutputFile() override;
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  void Write(const void* data, size_t n) override;
  void WriteAt(uint64_t offset, const void* data, size_t n) override;
  uint64_t End() const override;

  // Puts the complete file in place. Throws EQuorvaneError when that fails,
  // and then the target is as it was.
  void Commit();

 private:
  void OpenTemporary(const std::string& target, const struct stat* replaced);
  void OpenDirect(const struct stat& info);
  void Flush();
  void PutAt(uint64_t offset, const uint8_t* data, size_t n);
  void PutAll(const uint8_t* data, size_t n);
  [[noreturn]] void Fail() const;
  void KeepAttributes() const;

  std::string path_;       // as the caller named it, for messages
  std::string target_;     // the file a commit replaces
  std::string temporary_;  // empty when writing into the target
  std::optional<struct stat> replaced_;
  std::optional<TUnfinishedSave> record_;
  int fd_ = -1;
  bool committed_ = false;
  uint64_t end_ = 0;
  std::vector<uint8_t> buffer_;
  uint64_t buffer_start_ = 0;
  std::unique_ptr<TMemorySink> spool_;  // for outputs that cannot seek
};

}  // namespace quorvane
