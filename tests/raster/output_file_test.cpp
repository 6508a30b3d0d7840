// Where a save writes: beside the target under a name that says what it is,
// replacing a regular file only once complete and keeping what described the
// file replaced; never replacing what is not a regular file; leaving nothing
// behind when the program is interrupted.
#include "raster/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

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
  std::string Message(const std::string& path) const {
    try {
      TOutputFile file(path);
    } catch (const EQuorvaneError& e) {
      return e.what();
    }
    return "";
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
  const bool xattrs = ::setxattr(target.c_str(), "user.origin", "survey", 6, 0) == 0;
  const bool root = ::geteuid() == 0;
  if (root) ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);

  WriteFileAtomically(target.string(), std::vector<uint8_t>{2, 3});
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (root) EXPECT_EQ(info.st_uid, 65534u);
  if (root) EXPECT_EQ(info.st_gid, 65534u);
  char value[16] = {};
  if (xattrs) EXPECT_EQ(::getxattr(target.c_str(), "user.origin", value, sizeof value), 6);
  EXPECT_STREQ(xattrs ? value : "survey", "survey");
  EXPECT_EQ(ReadWholeFile(target.string()), (std::vector<uint8_t>{2, 3}));
}

TEST_F(OutputFile, APipeIsWrittenIntoWhenReadAndRefusedWhenNot) {
  const fs::path fifo = folder_ / "pipe.bmp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Message(fifo.string()),
            "Cannot write file \"" + fifo.string() + "\": no program reads from this pipe");

  std::string received;
  std::thread reader([&] {
    std::ifstream in(fifo, std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(in), {});
  });
  // The reader opens the pipe on its own time; a writer finding none yet is
  // told so and tries again.
  for (int attempt = 0;; ++attempt) {
    try {
      TOutputFile file(fifo.string());
      file.Write("head", 4);
      file.WriteAt(0, "H", 1);  // a pipe cannot seek: the bytes are gathered first
      file.Commit();
      break;
    } catch (const EQuorvaneError&) {
      ASSERT_LT(attempt, 500);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  reader.join();
  EXPECT_EQ(received, "Head");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(OutputFile, AFolderIsRefused) {
  fs::create_directories(folder_ / "taken.png");
  EXPECT_EQ(Message((folder_ / "taken.png").string()),
            "Cannot write file \"" + (folder_ / "taken.png").string() + "\": Is a directory");
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
