#include "settings/reopen_menu.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>

#include "settings/ini_file.h"

namespace quorvane {

namespace {

constexpr const char* kCountKey = "Count";
constexpr const char* kPathKey = "Path";

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

bool SamePath(const std::string& a, const std::string& b, TPathCase path_case) {
  if (a == b) return true;
  if (!SameIgnoringCase(a, b)) return false;
  if (path_case == TPathCase::Ignored) return true;
  // Only an existing file can say whether its file system ignores case.
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DoubleAmpersands(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

// A decimal integer with an optional sign and nothing else; the blanks
// around it are already gone.
std::optional<int64_t> ParseCount(const std::string& text) {
  std::string_view digits = text;
  if (digits.starts_with('+')) digits.remove_prefix(1);
  int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
    return std::nullopt;
  return value;
}

}  // namespace

TReopenMenuOptions ProgramReopenMenuOptions(const std::string& settings_file) {
  return {.Limit = 5,
          .INIFile = settings_file,
          .INISection = "FileHistory",
          .PathCase = TPathCase::AsFileSystem};
}

TReopenMenu::TReopenMenu(TReopenMenuOptions options) : options_(std::move(options)) {}

std::string TReopenMenu::Caption(size_t index) const {
  if (index >= paths_.size()) return {};
  const std::string& path = paths_[index];
  std::string caption = DoubleAmpersands(options_.ShowPath ? path : FileNamePart(path));
  if (options_.NumberItems) {
    // Built piece by piece: "&" + number trips a false -Wrestrict in GCC 12.
    std::string numbered(1, '&');
    numbered += std::to_string(index + 1);
    numbered += ' ';
    caption = numbered + caption;
  }
  return caption;
}

std::vector<std::string> TReopenMenu::Captions() const {
  std::vector<std::string> captions;
  for (size_t i = 0; i < paths_.size(); ++i) captions.push_back(Caption(i));
  return captions;
}

void TReopenMenu::Insert(const std::string& path, bool at_top) {
  if (options_.NoDuplicates) {
    // The entry found makes way for the new spelling of the same path.
    const auto found = std::find_if(paths_.begin(), paths_.end(), [&](const std::string& p) {
      return SamePath(p, path, options_.PathCase);
    });
    if (found != paths_.end()) paths_.erase(found);
  }
  paths_.insert(at_top ? paths_.begin() : paths_.end(), path);
}

void TReopenMenu::AddFile(const std::string& path) {
  Insert(path, true);
  const size_t limit = size_t(std::max(options_.Limit, 0));
  if (paths_.size() > limit) paths_.resize(limit);
}

TReopenFileResult TReopenMenu::Failure() const {
  TReopenFileResult result{.Failed = true};
  if (options_.ShowErrors)
    result.Warning = "Unable to access: " + options_.INIFile + "\r\n" +
                     "You may not permission to access the Windows folder";
  return result;
}

TReopenFileResult TReopenMenu::LoadHistory() {
  paths_.clear();
  if (options_.INIFile.empty()) return {};
  try {
    const TIniFile file = TIniFile::Load(options_.INIFile);
    const std::string& section = options_.INISection;
    const int64_t count = std::min<int64_t>(
        ParseCount(file.Read(section, kCountKey).value_or("")).value_or(0), kMaxLoadedHistory);
    for (int64_t i = 0; i < count; ++i)
      Insert(file.Read(section, kPathKey + std::to_string(i)).value_or(""), false);
  } catch (const std::exception&) {
    return Failure();
  }
  return {};
}

TReopenFileResult TReopenMenu::SaveHistory() const {
  if (options_.INIFile.empty()) return {};
  try {
    // Read first: the other sections of the file must survive, and a file
    // that cannot be read is left alone rather than replaced.
    TIniFile file = TIniFile::Load(options_.INIFile);
    const std::string& section = options_.INISection;
    file.EraseSection(section);
    file.Write(section, kCountKey, std::to_string(paths_.size()));
    for (size_t i = 0; i < paths_.size(); ++i)
      file.Write(section, kPathKey + std::to_string(i), paths_[i]);
    file.Save(options_.INIFile);
  } catch (const std::exception&) {
    return Failure();
  }
  return {};
}

void TReopenMenu::Click(size_t index) {
  if (index >= paths_.size()) return;
  // A copy: the handler reopens the file, which reorders the list.
  const std::string path = paths_[index];
  if (OnMenuClick) OnMenuClick(path);
  if (options_.UpdateOnClick) AddFile(path);
}

}  // namespace quorvane
