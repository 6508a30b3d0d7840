#include "settings/option_settings.h"

#include <gtest/gtest.h>

#include "settings/ini_file.h"
#include "settings/reopen_menu.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::TTempDir;

TEST(AnyTiffSetting, OffUntilSavedOnAndKeptBesideTheRecentFiles) {
  TTempDir dir;
  const std::string ini = (dir / "quorvane" / "quorvane.ini").string();
  EXPECT_FALSE(ReadAnyTiffSetting(ini)) << "no file yet";
  EXPECT_FALSE(ReadAnyTiffSetting(""));

  TReopenMenu recent(ProgramReopenMenuOptions(ini));
  recent.AddFile("/pictures/a.tif");
  recent.SaveHistory();
  SaveAnyTiffSetting(ini, true);
  EXPECT_TRUE(ReadAnyTiffSetting(ini));
  EXPECT_EQ(TIniFile::Load(ini).Read("Options", "AnyTiff"), "1");

  // Each keeps the other's lines when it writes.
  recent.AddFile("/pictures/b.tif");
  recent.SaveHistory();
  EXPECT_TRUE(ReadAnyTiffSetting(ini));
  TReopenMenu reread(ProgramReopenMenuOptions(ini));
  reread.LoadHistory();
  EXPECT_EQ(reread.Count(), 2u);

  SaveAnyTiffSetting(ini, false);
  EXPECT_FALSE(ReadAnyTiffSetting(ini));
}

TEST(AnyTiffSetting, AnythingButOneIsOffAndAnUnwritableFileIsIgnored) {
  TTempDir dir;
  const std::string ini = (dir / "quorvane.ini").string();
  test_support::WriteFileBytes(ini, {'[', 'O', 'p', 't', 'i', 'o', 'n', 's', ']', '\n', 'A',
                                     'n', 'y', 'T', 'i', 'f', 'f', '=', 'y', 'e', 's',  '\n'});
  EXPECT_FALSE(ReadAnyTiffSetting(ini));
  // A folder where the file should be: reading and writing fail quietly.
  EXPECT_NO_THROW(SaveAnyTiffSetting(dir.Path().string(), true));
  EXPECT_FALSE(ReadAnyTiffSetting(dir.Path().string()));
}

}  // namespace
}  // namespace quorvane
