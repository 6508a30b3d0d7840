#pragma once
// Help requests and what the help window shows for them. The menu items and
// the dialogs' Help buttons send the classic help commands; each is
// translated into a help viewer command, and that into the page to show in
// the program's own help window.
#include <cstdint>
#include <string>
#include <vector>

namespace quorvane {

// The classic help commands the program sends.
enum class THelpCommand : int {
  Context = 1,
  Quit = 2,
  Contents = 3,
  HelpOnHelp = 4,
  ContextPopup = 8,
  Finder = 11,
  Key = 257,
  PartialKey = 261,
};

// The help viewer's commands they become.
enum class THelpViewerCommand : int {
  DisplayTopic = 0,
  DisplayToc = 1,
  DisplayIndex = 2,
  HelpContext = 15,
  CloseAll = 18,
};

struct THelpViewerRequest {
  THelpViewerCommand Command = THelpViewerCommand::DisplayTopic;
  int64_t Context = 0;  // the context number of HelpContext
  std::string Text;     // the topic of DisplayTopic, the keyword of DisplayIndex
  bool operator==(const THelpViewerRequest&) const = default;
};

// Context: its number; Quit: close all; Contents: the table of contents;
// Finder: the topic named by `text`; Key: the index at the keyword `text`;
// any other command, "Search for Help On..." and "How to Use Help"
// included: the default topic.
THelpViewerRequest TranslateHelpCommand(int command, int64_t context, const std::string& text);

// The requests of the Help menu items and the dialogs' Help buttons.
THelpViewerRequest ContentsMnuRequest();
THelpViewerRequest SearchHelpMnuRequest();
THelpViewerRequest HowtoUseMnuRequest();
THelpViewerRequest ContextHelpRequest(int64_t context);

// Context numbers of the dialogs with a Help button.
constexpr int64_t kHelpContextPrintOptions = 1;
constexpr int64_t kHelpContextPreciseSizing = 2;
constexpr int64_t kHelpContextGeoTiffInfo = 3;

// The help's pages, in the order of its table of contents.
struct THelpTopic {
  const char* Title;
  const char* Page;     // file name within the help folder
  int64_t Context = 0;  // the context number that opens it; 0 for none
};
const std::vector<THelpTopic>& HelpTopics();
constexpr const char* kDefaultHelpPage = "index.html";

// What the help window does for a request.
struct THelpPage {
  enum class TShow : uint8_t { Page, Close };
  TShow Show = TShow::Page;
  std::string Page;           // the page to show, possibly with "#anchor"
  bool ShowContents = false;  // bring the table of contents to the front
  std::string SearchText;     // a keyword to look up in the pages
  bool operator==(const THelpPage&) const = default;
};
// Context numbers without a page of their own, and topics that are not the
// help's own pages, show the default page.
THelpPage HelpPageFor(const THelpViewerRequest& request);

// The message shown when the help's folder or a page is missing.
std::string MissingHelpMessage(const std::string& path);

}  // namespace quorvane
