#include "raster/file_io.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "raster/error.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("quorvane-file-io-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_F(FileIo, WriteThenReadGivesTheSameBytesAndLeavesNoTemporaryFile) {
  const std::vector<uint8_t> bytes{1, 2, 3, 0, 255};
  const std::string path = (folder_ / "a.bin").string();
  WriteFileAtomically(path, bytes);
  EXPECT_EQ(ReadWholeFile(path), bytes);
  WriteFileAtomically(path, std::vector<uint8_t>{9});
  EXPECT_EQ(ReadWholeFile(path), std::vector<uint8_t>{9});
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(FileIo, AFailedWriteLeavesTheTargetAsItWas) {
  // A folder in the target's place cannot be replaced by a file.
  const fs::path target = folder_ / "taken";
  fs::create_directories(target / "inside");
  EXPECT_THROW(WriteFileAtomically(target.string(), std::vector<uint8_t>{1}), EQuorvaneError);
  EXPECT_TRUE(fs::is_directory(target / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

  EXPECT_THROW(
      WriteFileAtomically((folder_ / "missing" / "x.bin").string(), std::vector<uint8_t>{1}),
      EQuorvaneError);
}

TEST_F(FileIo, ReadingAMissingFileOrAFolderFailsWithItsName) {
  try {
    ReadWholeFile((folder_ / "nothing.tif").string());
    FAIL();
  } catch (const EQuorvaneError& e) {
    EXPECT_NE(std::string(e.what()).find("nothing.tif"), std::string::npos);
  }
  EXPECT_THROW(ReadWholeFile(folder_.string()), EQuorvaneError);
}

TEST_F(FileIo, TheLoadersBufferHoldsTheSameBytesAndFailsAlike) {
  std::vector<uint8_t> bytes(100000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7);
  const std::string path = (folder_ / "big.bin").string();
  WriteFileAtomically(path, bytes);
  const TFileBytes loaded = ReadFileBytes(path);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), loaded.Bytes().begin(), loaded.Bytes().end()));
  WriteFileAtomically(path, std::vector<uint8_t>{});
  EXPECT_TRUE(ReadFileBytes(path).Bytes().empty());
  EXPECT_THROW(ReadFileBytes((folder_ / "nothing.bin").string()), EQuorvaneError);
  EXPECT_THROW(ReadFileBytes(folder_.string()), EQuorvaneError);
}

TEST_F(FileIo, SavingThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
  fs::create_directories(folder_ / "pictures");
  const fs::path target = folder_ / "pictures" / "real.bin";
  WriteFileAtomically(target.string(), std::vector<uint8_t>{1});
  // A relative link, and a link to that link.
  fs::create_symlink("pictures/real.bin", folder_ / "link.bin");
  fs::create_symlink("link.bin", folder_ / "link2.bin");

  WriteFileAtomically((folder_ / "link.bin").string(), std::vector<uint8_t>{2, 3});
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_ / "link.bin")));
  EXPECT_EQ(ReadWholeFile(target.string()), (std::vector<uint8_t>{2, 3}));

  WriteFileAtomically((folder_ / "link2.bin").string(), std::vector<uint8_t>{4});
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_ / "link2.bin")));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_ / "link.bin")));
  EXPECT_EQ(ReadWholeFile(target.string()), (std::vector<uint8_t>{4}));
  // The temporary file lived beside the target and is gone.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "pictures"), fs::directory_iterator()),
            1);
}

TEST_F(FileIo, SavingThroughADanglingLinkCreatesItsTarget) {
  fs::create_symlink("made.bin", folder_ / "dangling.bin");
  WriteFileAtomically((folder_ / "dangling.bin").string(), std::vector<uint8_t>{7});
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_ / "dangling.bin")));
  EXPECT_EQ(ReadWholeFile((folder_ / "made.bin").string()), std::vector<uint8_t>{7});
}

TEST_F(FileIo, AHardLinkedTargetGetsANewFileAndTheOtherNamesKeepTheOld) {
  const fs::path first = folder_ / "first.bin", second = folder_ / "second.bin";
  WriteFileAtomically(first.string(), std::vector<uint8_t>{1});
  fs::create_hard_link(first, second);
  WriteFileAtomically(first.string(), std::vector<uint8_t>{2});
  EXPECT_EQ(ReadWholeFile(first.string()), std::vector<uint8_t>{2});
  EXPECT_EQ(ReadWholeFile(second.string()), std::vector<uint8_t>{1});
}

TEST_F(FileIo, ALoopOfLinksFailsWithoutWriting) {
  fs::create_symlink("b.bin", folder_ / "a.bin");
  fs::create_symlink("a.bin", folder_ / "b.bin");
  EXPECT_THROW(WriteFileAtomically((folder_ / "a.bin").string(), std::vector<uint8_t>{1}),
               EQuorvaneError);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace quorvane
