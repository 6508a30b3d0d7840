// Where a save writes: beside the target under a name that says what it is,
// replacing a regular file only once complete and keeping what described the
// file replaced; never replacing what is not a regular file; leaving nothing
// behind when the program is interrupted.
#include "raster/output_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <regex>

#include "raster/error.h"
#include "raster/file_io.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

class OutputFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("quorvane-output-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().string());
    return names;
  }
  fs::path folder_;
};

TEST_F(OutputFile, AnUnfinishedSaveIsNamedSoAndLeavesNothingWhenAbandoned) {
  const std::string target = (folder_ / "out.png").string();
  {
    TOutputFile file(target);
    file.Write("abc", 3);
    ASSERT_EQ(Names().size(), 1u);
    EXPECT_TRUE(std::regex_match(Names()[0],
                                 std::regex(R"(\.out\.png\.quorvane-unfinished-save-[0-9a-f]{8})")))
        << Names()[0];
  }
  EXPECT_TRUE(Names().empty());
}

TEST_F(OutputFile, TheFileReplacedKeepsItsModeOwnerAndExtendedAttributes) {
  const fs::path target = folder_ / "kept.tif";
  WriteFileAtomically(target.string(), std::vector<uint8_t>{1});
  ::chmod(target.c_str(), 0640);
  // Where the file system has no user attributes, they are not checked.
  const bool xattrs = ::setxattr(target.c_str(), "user.origin", "survey", 6, 0) == 0;
  const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();  // only root can give a file away
  ASSERT_EQ(::chown(target.c_str(), owner, owner == 65534 ? 65534 : gid_t(-1)), 0);
  struct stat before {
  }, after{};
  ::stat(target.c_str(), &before);

  WriteFileAtomically(target.string(), std::vector<uint8_t>{2, 3});
  ASSERT_EQ(::stat(target.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  char value[8] = {};
  if (xattrs) EXPECT_EQ(::getxattr(target.c_str(), "user.origin", value, sizeof value), 6);
}

TEST_F(OutputFile, APipeIsWrittenIntoWhenReadAndRefusedWhenNot) {
  const fs::path fifo = folder_ / "pipe.bmp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_THROW(TOutputFile{fifo.string()}, EQuorvaneError);  // nothing reads: refused at once

  // A reader that does not wait for a writer, then the save, then what it got.
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  TOutputFile file(fifo.string());
  file.Write("head", 4);
  file.WriteAt(0, "H", 1);  // a pipe cannot seek: the bytes are gathered first
  file.Commit();
  char received[8] = {};
  EXPECT_EQ(::read(reader, received, sizeof received), 4);
  ::close(reader);
  EXPECT_STREQ(received, "Head");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// SIGINT, SIGTERM and SIGHUP during a save remove its temporary file and
// still end the program by the signal.
TEST_F(OutputFile, AnInterruptedSaveLeavesNoTemporaryFile) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    const pid_t child = ::fork();
    if (child == 0) {
      RemoveUnfinishedSavesOnSignals();
      TOutputFile file((folder_ / "big.bmp").string());
      file.Write("rows", 4);
      ::raise(signal);
      ::_exit(0);  // not reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_TRUE(Names().empty());
  }
}

}  // namespace
}  // namespace quorvane
