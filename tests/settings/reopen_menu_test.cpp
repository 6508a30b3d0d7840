#include "settings/reopen_menu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "settings/ini_file.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::TTempDir;
using TStrings = std::vector<std::string>;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The list as the window uses it: every opened file added, then saved.
struct TProgramHistory {
  explicit TProgramHistory(const std::filesystem::path& ini)
      : menu(ProgramReopenMenuOptions(ini.string())) {}
  void Open(const std::string& path) {
    menu.AddFile(path);
    EXPECT_FALSE(menu.SaveHistory().Failed);
  }
  TReopenMenu menu;
};

TEST(ReopenMenu, SixFilesLeaveTheFiveMostRecentNumberedFromOne) {
  TTempDir dir;
  TProgramHistory history(dir / "quorvane.ini");
  for (int i = 1; i <= 6; ++i) history.Open("/pictures/p" + std::to_string(i) + ".tif");
  EXPECT_EQ(history.menu.Captions(),
            (TStrings{"&1 p6.tif", "&2 p5.tif", "&3 p4.tif", "&4 p3.tif", "&5 p2.tif"}));
  EXPECT_EQ(ReadText(dir / "quorvane.ini"),
            "[FileHistory]\nCount=5\nPath0=/pictures/p6.tif\nPath1=/pictures/p5.tif\n"
            "Path2=/pictures/p4.tif\nPath3=/pictures/p3.tif\nPath4=/pictures/p2.tif\n");
}

TEST(ReopenMenu, SamePathInOtherCaseMovesToTheTopWithTheNewSpelling) {
  TReopenMenu menu({.INISection = "FileHistory", .PathCase = TPathCase::Ignored});
  menu.AddFile("/maps/Area.tif");
  menu.AddFile("/maps/other.tif");
  menu.AddFile("/MAPS/area.TIF");
  EXPECT_EQ(menu.Paths(), (TStrings{"/MAPS/area.TIF", "/maps/other.tif"}));
  EXPECT_EQ(menu.Captions(), (TStrings{"&1 area.TIF", "&2 other.tif"}));
}

// The program's list asks the file system: on one that tells letter case
// apart, A.tif and a.tif are two files and two entries.
TEST(ReopenMenu, TheProgramsListComparesPathsAsTheFileSystemDoes) {
  TTempDir dir;
  WriteText(dir / "A.tif", "upper");
  WriteText(dir / "a.tif", "lower");
  if (std::filesystem::equivalent(dir / "A.tif", dir / "a.tif"))
    GTEST_SKIP() << "this file system ignores letter case";
  TProgramHistory history(dir / "quorvane.ini");
  const std::string upper = (dir / "A.tif").string(), lower = (dir / "a.tif").string();
  history.Open(upper);
  history.Open(lower);
  history.Open(lower);
  EXPECT_EQ(history.menu.Paths(), (TStrings{lower, upper}));
  history.Open("/no/such/Map.tif");
  history.Open("/no/such/map.tif");
  EXPECT_EQ(history.menu.Count(), 4u) << "missing files: nothing says they are one";
}

TEST(ReopenMenu, AnOverlongStoredListLoadsWholeAndTheNextFileTrimsIt) {
  TTempDir dir;
  std::string ini = "[Options]\nAnyTiff=1\n[FileHistory]\nCount=8\n";
  for (int i = 0; i < 8; ++i) ini += "Path" + std::to_string(i) + "=/p/" + std::to_string(i) + "\n";
  WriteText(dir / "quorvane.ini", ini);
  TProgramHistory history(dir / "quorvane.ini");
  EXPECT_FALSE(history.menu.LoadHistory().Failed);
  EXPECT_EQ(history.menu.Count(), 8u);
  EXPECT_EQ(history.menu.Caption(7), "&8 7");
  history.Open("/p/new");
  EXPECT_EQ(history.menu.Paths(), (TStrings{"/p/new", "/p/0", "/p/1", "/p/2", "/p/3"}));
  // The other section of the shared file survives the save.
  EXPECT_EQ(TIniFile::Load((dir / "quorvane.ini").string()).Read("Options", "AnyTiff"), "1");
}

TEST(ReopenMenu, MissingPathKeysBecomeEntriesCaptionedOnlyByTheirNumber) {
  TTempDir dir;
  WriteText(dir / "quorvane.ini", "[FileHistory]\nCount=2\nPath0=/a/one.tif\n");
  TProgramHistory history(dir / "quorvane.ini");
  history.menu.LoadHistory();
  EXPECT_EQ(history.menu.Captions(), (TStrings{"&1 one.tif", "&2 "}));
}

TEST(ReopenMenu, WithoutASettingsFileTheListStartsEmptyAndTheFirstOpenCreatesIt) {
  TTempDir dir;
  const auto ini = dir / "config/quorvane/quorvane.ini";
  TProgramHistory history(ini);
  const TReopenFileResult loaded = history.menu.LoadHistory();
  EXPECT_FALSE(loaded.Failed);
  EXPECT_EQ(history.menu.Count(), 0u);
  EXPECT_FALSE(std::filesystem::exists(ini));
  history.Open("/a/first.tif");
  EXPECT_EQ(ReadText(ini), "[FileHistory]\nCount=1\nPath0=/a/first.tif\n");
}

TEST(ReopenMenu, CountThatIsNoNumberOrHugeIsBounded) {
  TTempDir dir;
  const auto ini = dir / "quorvane.ini";
  TProgramHistory history(ini);
  for (const char* count : {"many", "", "-3", "2x"}) {
    WriteText(ini, std::string("[FileHistory]\nCount=") + count + "\nPath0=/a\n");
    history.menu.LoadHistory();
    EXPECT_EQ(history.menu.Count(), 0u) << count;
  }
  // Distinct stored paths up to the bound load; the rest is not read.
  std::string many = "[FileHistory]\nCount=2000000000\n";
  for (int i = 0; i < kMaxLoadedHistory + 10; ++i)
    many += "Path" + std::to_string(i) + "=/p" + std::to_string(i) + "\n";
  WriteText(ini, many);
  history.menu.LoadHistory();
  EXPECT_EQ(history.menu.Count(), size_t(kMaxLoadedHistory));
}

TEST(ReopenMenu, FailuresAreIgnoredUnlessErrorsAreShown) {
  TTempDir dir;
  // The settings "file" is a folder: it can be neither read nor written.
  std::filesystem::create_directories(dir / "quorvane.ini");
  TReopenMenuOptions options = ProgramReopenMenuOptions((dir / "quorvane.ini").string());
  TReopenMenu quiet(options);
  quiet.AddFile("/a.tif");
  const TReopenFileResult saved = quiet.SaveHistory();
  EXPECT_TRUE(saved.Failed);
  EXPECT_EQ(saved.Warning, "");
  EXPECT_EQ(quiet.Count(), 1u);  // the list stays usable

  options.ShowErrors = true;
  TReopenMenu loud(options);
  EXPECT_EQ(loud.LoadHistory().Warning, "Unable to access: " + options.INIFile +
                                            "\r\nYou may not permission to access the Windows "
                                            "folder");
}

TEST(ReopenMenu, APathWithALineBreakIsNotSavedAndTheFileStaysIntact) {
  TTempDir dir;
  TProgramHistory history(dir / "quorvane.ini");
  history.Open("/a/good.tif");
  history.menu.AddFile("/a/bad\n[Options]\nAnyTiff=0");
  EXPECT_TRUE(history.menu.SaveHistory().Failed);
  EXPECT_EQ(ReadText(dir / "quorvane.ini"), "[FileHistory]\nCount=1\nPath0=/a/good.tif\n");
}

TEST(ReopenMenu, CaptionOptions) {
  TReopenMenu menu({.NumberItems = false, .ShowPath = true});
  menu.AddFile("/maps/R&D.tif");
  menu.AddFile("plain.tif");
  EXPECT_EQ(menu.Captions(), (TStrings{"plain.tif", "/maps/R&&D.tif"}));
  TReopenMenu numbered;
  numbered.AddFile("/maps/R&D.tif");
  EXPECT_EQ(numbered.Caption(0), "&1 R&&D.tif");
  EXPECT_EQ(numbered.Caption(1), "");
}

TEST(ReopenMenu, DuplicatesStayWhenAllowed) {
  TReopenMenu menu({.NoDuplicates = false});
  menu.AddFile("/a");
  menu.AddFile("/A");
  menu.AddFile("/a");
  EXPECT_EQ(menu.Paths(), (TStrings{"/a", "/A", "/a"}));
}

TEST(ReopenMenu, ClickHandsOverThePathAndMovesItOnlyWithUpdateOnClick) {
  std::vector<std::string> opened;
  TReopenMenu menu;
  menu.OnMenuClick = [&](const std::string& path) { opened.push_back(path); };
  menu.AddFile("/old");
  menu.AddFile("/new");
  menu.Click(1);
  menu.Click(7);  // no such item
  EXPECT_EQ(opened, TStrings{"/old"});
  EXPECT_EQ(menu.Paths(), (TStrings{"/new", "/old"}));

  TReopenMenu updating({.UpdateOnClick = true});
  updating.AddFile("/old");
  updating.AddFile("/new");
  updating.Click(1);
  EXPECT_EQ(updating.Paths(), (TStrings{"/old", "/new"}));
}

TEST(ReopenMenu, NoSettingsFileNameMeansNothingIsReadOrWritten) {
  TReopenMenu menu;
  menu.AddFile("/a");
  EXPECT_FALSE(menu.SaveHistory().Failed);
  EXPECT_FALSE(menu.LoadHistory().Failed);
  EXPECT_EQ(menu.Count(), 0u);
}

}  // namespace
}  // namespace quorvane
