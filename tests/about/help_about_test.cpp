#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <fstream>
#include <set>

#include "about/about_texts.h"
#include "about/help_commands.h"
#include "support/temp_dir.h"

namespace quorvane {
namespace {

using TCommand = THelpViewerCommand;

TEST(HelpCommands, ClassicCommandsBecomeViewerCommands) {
  EXPECT_EQ(TranslateHelpCommand(1, 2, ""), (THelpViewerRequest{TCommand::HelpContext, 2}));
  EXPECT_EQ(TranslateHelpCommand(8, 3, ""), (THelpViewerRequest{TCommand::HelpContext, 3}));
  EXPECT_EQ(TranslateHelpCommand(2, 9, "x"), (THelpViewerRequest{TCommand::CloseAll}));
  EXPECT_EQ(TranslateHelpCommand(3, 9, "x"), (THelpViewerRequest{TCommand::DisplayToc}));
  EXPECT_EQ(TranslateHelpCommand(11, 9, "/printing.html"),
            (THelpViewerRequest{TCommand::DisplayTopic, 0, "/printing.html"}));
  EXPECT_EQ(TranslateHelpCommand(257, 9, "datum"),
            (THelpViewerRequest{TCommand::DisplayIndex, 0, "datum"}));
  // Everything else, a partial key and help on help included, opens the
  // default topic.
  for (int other : {4, 261, 0, 999})
    EXPECT_EQ(TranslateHelpCommand(other, 9, "x"), THelpViewerRequest{}) << other;
}

TEST(HelpCommands, MenuItemsAndHelpButtonsOpenTheirPages) {
  EXPECT_EQ(HelpPageFor(ContentsMnuRequest()),
            (THelpPage{.Page = "index.html", .ShowContents = true}));
  EXPECT_EQ(HelpPageFor(SearchHelpMnuRequest()), THelpPage{.Page = "index.html"});
  EXPECT_EQ(HelpPageFor(HowtoUseMnuRequest()), THelpPage{.Page = "index.html"});
  EXPECT_EQ(HelpPageFor(ContextHelpRequest(kHelpContextPrintOptions)).Page, "printing.html");
  EXPECT_EQ(HelpPageFor(ContextHelpRequest(kHelpContextPreciseSizing)).Page, "precise-sizing.html");
  EXPECT_EQ(HelpPageFor(ContextHelpRequest(kHelpContextGeoTiffInfo)).Page, "geotiff-info.html");
}

TEST(HelpCommands, UnknownContextsAndTopicsShowTheDefaultPage) {
  EXPECT_EQ(HelpPageFor(ContextHelpRequest(0)).Page, "index.html");
  EXPECT_EQ(HelpPageFor(ContextHelpRequest(77)).Page, "index.html");
  EXPECT_EQ(HelpPageFor({TCommand::DisplayTopic, 0, "../../etc/passwd"}).Page, "index.html");
  EXPECT_EQ(HelpPageFor({TCommand::DisplayTopic, 0, "/tone.html#gamma"}).Page, "tone.html#gamma");
  EXPECT_EQ(HelpPageFor({TCommand::DisplayIndex, 0, "datum"}),
            (THelpPage{.Page = "index.html", .ShowContents = true, .SearchText = "datum"}));
  EXPECT_EQ(HelpPageFor({TCommand::CloseAll}).Show, THelpPage::TShow::Close);
}

TEST(HelpCommands, TopicsAreDistinctAndEveryContextHasOne) {
  std::set<std::string> pages;
  std::set<int64_t> contexts;
  for (const THelpTopic& topic : HelpTopics()) {
    EXPECT_TRUE(pages.insert(topic.Page).second) << topic.Page;
    if (topic.Context != 0) {
      EXPECT_TRUE(contexts.insert(topic.Context).second) << topic.Page;
    }
  }
  EXPECT_EQ(HelpTopics().front().Page, std::string(kDefaultHelpPage));
  EXPECT_EQ(contexts, (std::set<int64_t>{1, 2, 3}));
}

TEST(AboutTexts, VersionFromTheFileDateAndFileVersion) {
  EXPECT_EQ(AboutVersionText({2001, 3, 5}), "Version 1.01.3.5.7");
  EXPECT_EQ(AboutVersionText({2025, 12, 31}, "1.1.0.7"), "Version 1.25.12.31.7");
  EXPECT_EQ(AboutVersionText({2025, 1, 2}, "2.0.0.143"), "Version 1.25.1.2.143");
  EXPECT_EQ(AboutVersionText({2025, 1, 2}, ""), "Version 1.25.1.2.");
  EXPECT_EQ(VersionBuild("12"), "12");
  EXPECT_EQ(AboutCopyrightText({2001, 3, 5}), "Copyright \u00A9 2001");
}

TEST(AboutTexts, FileDateIsTheLocalModificationDay) {
  test_support::TTempDir dir;
  const auto path = dir / "program";
  std::ofstream(path) << "x";
  std::tm noon{};
  noon.tm_year = 2001 - 1900;
  noon.tm_mon = 2;
  noon.tm_mday = 5;
  noon.tm_hour = 12;
  noon.tm_isdst = -1;
  const time_t when = std::mktime(&noon);
  const struct timespec times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  const auto date = FileModificationDate(path.string());
  ASSERT_TRUE(date);
  EXPECT_EQ(*date, (TFileDate{2001, 3, 5}));
  EXPECT_EQ(AboutVersionText(*date), "Version 1.01.3.5.7");
  EXPECT_EQ(FileModificationDate((dir / "missing").string()), std::nullopt);
  EXPECT_EQ(ProgramVersionLine(path.string()), "Quorvane Version 1.01.3.5.7");
  // A program file that cannot be examined shows today, as the About box does.
  EXPECT_EQ(ProgramVersionLine((dir / "missing").string()),
            "Quorvane " + AboutVersionText(TodayDate()));
}

}  // namespace
}  // namespace quorvane
