#include "settings/ini_file.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "raster/error.h"
#include "raster/file_io.h"

namespace quorvane {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Blanks around a value are not part of it when read back, and neither are
// surrounding double quotes; such values are written quoted so they read
// back as given.
std::string QuoteIfNeeded(std::string_view value) {
  if (value.empty()) return {};
  const bool needs = IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '"' ||
                     value.back() == '"';
  std::string out;
  if (needs) out += '"';
  out += value;
  if (needs) out += '"';
  return out;
}

std::string Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

// The key of a "key=value" line; empty for comments, headers and lines
// without "=".
std::string_view KeyOf(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return {};
  const size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return {};
  return Trim(trimmed.substr(0, equals));
}

std::string_view ValueOf(std::string_view line) {
  return Trim(line.substr(line.find('=') + 1));
}

// The name of a "[name]" header line, or nothing.
std::optional<std::string_view> HeaderName(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  const size_t close = trimmed.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(trimmed.substr(1, close - 1));
}

}  // namespace

TIniFile TIniFile::Load(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return TIniFile{};
  const std::string too_large = "Settings file too large: \"" + path + "\"";
  if (fs::is_regular_file(status)) {
    const uintmax_t size = fs::file_size(path, error);
    if (!error && size > kMaxIniFileBytes) throw EQuorvaneError(too_large, TErrorKind::TooLarge);
  }
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  // The file may have grown since it was measured.
  if (bytes.size() > kMaxIniFileBytes) throw EQuorvaneError(too_large, TErrorKind::TooLarge);
  return Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

TIniFile TIniFile::Parse(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  TIniFile file;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (const auto name = HeaderName(line)) {
      file.sections_.push_back({std::string(*name), std::string(line), {}});
      continue;
    }
    file.sections_.back().Lines.push_back({std::string(line), std::string(KeyOf(line))});
  }
  return file;
}

TIniFile::TSection* TIniFile::Find(std::string_view section) {
  return const_cast<TSection*>(std::as_const(*this).Find(section));
}

const TIniFile::TSection* TIniFile::Find(std::string_view section) const {
  // The lines before the first header belong to no section anyone can name.
  for (size_t i = 1; i < sections_.size(); ++i)
    if (SameName(sections_[i].Name, section)) return &sections_[i];
  return nullptr;
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
  const TSection* found = Find(section);
  if (!found) return std::nullopt;
  for (const TLine& line : found->Lines)
    if (!line.Key.empty() && SameName(line.Key, key)) return Unquote(ValueOf(line.Raw));
  return std::nullopt;
}

void TIniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  const auto bad_name = [](std::string_view name) {
    return Trim(name).empty() || Trim(name) != name || HasLineBreakOrNul(name) ||
           name.find_first_of("=[]") != std::string_view::npos;
  };
  if (bad_name(section) || bad_name(key) || key.front() == ';' || key.front() == '#')
    throw EQuorvaneError("settings name cannot be stored: " + std::string(key), TErrorKind::Usage);
  if (HasLineBreakOrNul(value))
    throw EQuorvaneError("settings value with a line break cannot be stored", TErrorKind::Usage);

  TSection* target = Find(section);
  if (!target) {
    // Built piece by piece: "[" + name trips a false -Wrestrict in GCC 12.
    std::string header(1, '[');
    header += section;
    header += ']';
    sections_.push_back({std::string(section), std::move(header), {}});
    target = &sections_.back();
  }
  std::string raw = std::string(key) + "=" + QuoteIfNeeded(value);
  for (TLine& line : target->Lines) {
    if (!line.Key.empty() && SameName(line.Key, key)) {
      line.Raw = std::move(raw);
      return;
    }
  }
  // After the section's last key, so that comments and blank lines which
  // separate it from the next section stay where they are.
  auto after_last_key = target->Lines.begin();
  for (auto it = target->Lines.begin(); it != target->Lines.end(); ++it)
    if (!it->Key.empty()) after_last_key = it + 1;
  target->Lines.insert(after_last_key, TLine{std::move(raw), std::string(key)});
}

void TIniFile::EraseSection(std::string_view section) {
  // The unnamed lines before the first header always stay.
  const auto named = std::remove_if(sections_.begin() + 1, sections_.end(),
                                    [&](const TSection& s) { return SameName(s.Name, section); });
  sections_.erase(named, sections_.end());
}

bool TIniFile::HasSection(std::string_view section) const {
  return Find(section) != nullptr;
}

std::string TIniFile::Text() const {
  std::string text;
  for (const TSection& section : sections_) {
    if (&section != &sections_.front()) text += section.Header + "\n";
    for (const TLine& line : section.Lines) text += line.Raw + "\n";
  }
  return text;
}

void TIniFile::Save(const std::string& path) const {
  namespace fs = std::filesystem;
  fs::path target(path);
  std::error_code error;
  // Replacing a link with a plain file would cut it from the file it names.
  if (fs::is_symlink(fs::symlink_status(target, error))) {
    const fs::path resolved = fs::canonical(target, error);
    if (!error) target = resolved;
  }
  if (target.has_parent_path()) {
    fs::create_directories(target.parent_path(), error);
    if (error)
      throw EQuorvaneError(
          "Cannot create folder \"" + target.parent_path().string() + "\": " + error.message(),
          TErrorKind::Io);
  }
  const std::string text = Text();
  WriteFileAtomically(target.string(),
                      std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace quorvane
