#include "about/help_commands.h"

#include <algorithm>

namespace quorvane {

namespace {

THelpViewerRequest Request(THelpViewerCommand command, int64_t context = 0, std::string text = {}) {
  return {.Command = command, .Context = context, .Text = std::move(text)};
}

const THelpTopic* TopicOfPage(const std::string& page) {
  const std::string file = page.substr(0, page.find('#'));
  for (const THelpTopic& topic : HelpTopics())
    if (file == topic.Page) return &topic;
  return nullptr;
}

THelpPage DefaultPage() {
  return {.Page = kDefaultHelpPage};
}

}  // namespace

THelpViewerRequest TranslateHelpCommand(int command, int64_t context, const std::string& text) {
  switch (THelpCommand(command)) {
    case THelpCommand::Context:
    case THelpCommand::ContextPopup:
      return Request(THelpViewerCommand::HelpContext, context);
    case THelpCommand::Quit:
      return Request(THelpViewerCommand::CloseAll);
    case THelpCommand::Contents:
      return Request(THelpViewerCommand::DisplayToc);
    case THelpCommand::Finder:
      return Request(THelpViewerCommand::DisplayTopic, 0, text);
    case THelpCommand::Key:
      return Request(THelpViewerCommand::DisplayIndex, 0, text);
    default:
      return Request(THelpViewerCommand::DisplayTopic);
  }
}

THelpViewerRequest ContentsMnuRequest() {
  return TranslateHelpCommand(int(THelpCommand::Contents), 0, {});
}

THelpViewerRequest SearchHelpMnuRequest() {
  return TranslateHelpCommand(int(THelpCommand::PartialKey), 0, "");
}

THelpViewerRequest HowtoUseMnuRequest() {
  return TranslateHelpCommand(int(THelpCommand::HelpOnHelp), 0, {});
}

THelpViewerRequest ContextHelpRequest(int64_t context) {
  return TranslateHelpCommand(int(THelpCommand::Context), context, {});
}

const std::vector<THelpTopic>& HelpTopics() {
  static const std::vector<THelpTopic> topics = {
      {"Quorvane Help", kDefaultHelpPage},
      {"Opening Files", "opening.html"},
      {"Readouts and Datums", "readouts.html"},
      {"Measuring and Units", "measuring.html"},
      {"The Resize Page", "resize.html"},
      {"Precise Sizing", "precise-sizing.html", kHelpContextPreciseSizing},
      {"Crop and Stretch", "crop-stretch.html"},
      {"Brightness, Contrast and Gamma", "tone.html"},
      {"Saving and the TIFF Options", "saving.html"},
      {"GeoTIFF Information", "geotiff-info.html", kHelpContextGeoTiffInfo},
      {"Setting Scale and Coordinates", "scale-coordinates.html"},
      {"Printing", "printing.html", kHelpContextPrintOptions},
  };
  return topics;
}

THelpPage HelpPageFor(const THelpViewerRequest& request) {
  switch (request.Command) {
    case THelpViewerCommand::CloseAll:
      return {.Show = THelpPage::TShow::Close};
    case THelpViewerCommand::DisplayToc:
      return {.Page = kDefaultHelpPage, .ShowContents = true};
    case THelpViewerCommand::DisplayIndex:
      return {.Page = kDefaultHelpPage, .ShowContents = true, .SearchText = request.Text};
    case THelpViewerCommand::HelpContext: {
      const auto& topics = HelpTopics();
      const auto found = std::find_if(topics.begin(), topics.end(), [&](const THelpTopic& t) {
        return t.Context != 0 && t.Context == request.Context;
      });
      return found == topics.end() ? DefaultPage() : THelpPage{.Page = found->Page};
    }
    case THelpViewerCommand::DisplayTopic: {
      // Topics are named from the help's root, with or without the slash.
      std::string page = request.Text;
      if (page.starts_with('/')) page.erase(0, 1);
      return TopicOfPage(page) ? THelpPage{.Page = page} : DefaultPage();
    }
  }
  return DefaultPage();
}

std::string MissingHelpMessage(const std::string& path) {
  return "Cannot open the help file \"" + path + "\"";
}

}  // namespace quorvane
