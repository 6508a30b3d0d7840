#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "raster/error.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::TTempDir;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(IniFile, ReadsKeysOfTheNamedSectionIgnoringCaseAndBlanks) {
  const TIniFile file = TIniFile::Parse(
      "top=1\r\n[Options]\r\nAnyTiff = 1\r\n; Count=9\r\n[FileHistory]\r\n  count=2\r\n"
      "Path0=/a/b.tif\r\nPath0=/second/copy.tif\r\n");
  EXPECT_EQ(file.Read("options", "anytiff"), "1");
  EXPECT_EQ(file.Read("FILEHISTORY", "Count"), "2");
  // The first of two equal keys counts, as profile readers do.
  EXPECT_EQ(file.Read("FileHistory", "Path0"), "/a/b.tif");
  // Comments and lines before the first header are no keys of any section.
  EXPECT_EQ(file.Read("Options", "Count"), std::nullopt);
  EXPECT_EQ(file.Read("", "top"), std::nullopt);
  EXPECT_EQ(file.Read("Missing", "Count"), std::nullopt);
}

TEST(IniFile, ChangesOneSectionAndKeepsEveryOtherLine) {
  const std::string original =
      "; written by hand\n[Options]\nAnyTiff=1\n\n[FileHistory]\nCount=1\nPath0=/old.tif\n\n"
      "[Later]\nx=y\n";
  TIniFile file = TIniFile::Parse(original);
  file.EraseSection("filehistory");
  file.Write("FileHistory", "Count", "1");
  file.Write("FileHistory", "Path0", "/new.tif");
  file.Write("Options", "AnyTiff", "0");
  file.Write("Options", "Extra", "yes");
  EXPECT_EQ(file.Text(),
            "; written by hand\n[Options]\nAnyTiff=0\nExtra=yes\n\n[Later]\nx=y\n"
            "[FileHistory]\nCount=1\nPath0=/new.tif\n");
  // Unchanged, a file reads back as it was.
  EXPECT_EQ(TIniFile::Parse(original).Text(), original);
}

TEST(IniFile, ErasingASectionRemovesEveryCopyOfIt) {
  // A hand-edited file may hold a section twice; a stale copy must not
  // come back as the list read next time.
  TIniFile file = TIniFile::Parse(
      "[FileHistory]\nCount=1\n[Options]\nAnyTiff=1\n"
      "[filehistory]\nPath0=/stale.tif\n");
  file.EraseSection("FileHistory");
  EXPECT_EQ(file.Text(), "[Options]\nAnyTiff=1\n");
}

TEST(IniFile, ValuesWithOuterBlanksOrQuotesReadBackAsWritten) {
  TIniFile file;
  for (const std::string value : {" lead", "trail ", "\"quoted\"", "a=b", ""}) {
    file.Write("S", "Key", value);
    EXPECT_EQ(TIniFile::Parse(file.Text()).Read("S", "Key"), value) << value;
  }
}

TEST(IniFile, RefusesWhatALineBasedFileCannotHold) {
  TIniFile file;
  // A path with a line break would otherwise start a section of its own.
  EXPECT_THROW(file.Write("S", "Path0", "/a\n[Options]"), EQuorvaneError);
  EXPECT_THROW(file.Write("S", "Key=", "v"), EQuorvaneError);
  EXPECT_THROW(file.Write("S]", "Key", "v"), EQuorvaneError);
  EXPECT_THROW(file.Write("S", "", "v"), EQuorvaneError);
  EXPECT_FALSE(file.HasSection("S"));
}

TEST(IniFile, MissingFileIsEmptyAndSavingCreatesItsFolders) {
  TTempDir dir;
  const auto path = dir / "config/quorvane/quorvane.ini";
  TIniFile file = TIniFile::Load(path.string());
  EXPECT_EQ(file.Text(), "");
  file.Write("FileHistory", "Count", "0");
  file.Save(path.string());
  EXPECT_EQ(ReadText(path), "[FileHistory]\nCount=0\n");
}

TEST(IniFile, UnreadableOrOversizedFilesAreErrors) {
  TTempDir dir;
  EXPECT_THROW(TIniFile::Load(dir.Path().string()), EQuorvaneError);  // a folder
  const auto big = dir / "big.ini";
  WriteText(big, std::string(kMaxIniFileBytes + 1, 'x'));
  EXPECT_THROW(TIniFile::Load(big.string()), EQuorvaneError);
  if (::geteuid() != 0) {  // root reads anything
    const auto locked = dir / "locked.ini";
    WriteText(locked, "[S]\nk=v\n");
    ::chmod(locked.c_str(), 0);
    EXPECT_THROW(TIniFile::Load(locked.string()), EQuorvaneError);
  }
}

TEST(IniFile, SavingThroughALinkKeepsTheLink) {
  TTempDir dir;
  const auto real = dir / "real.ini";
  const auto link = dir / "link.ini";
  WriteText(real, "[Options]\nAnyTiff=1\n");
  std::filesystem::create_symlink(real, link);
  TIniFile file = TIniFile::Load(link.string());
  file.Write("FileHistory", "Count", "0");
  file.Save(link.string());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadText(real), "[Options]\nAnyTiff=1\n[FileHistory]\nCount=0\n");
}

}  // namespace
}  // namespace quorvane
