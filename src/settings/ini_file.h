#pragma once
// A small reader and writer of ini-style settings files. Several parts of
// the program share one settings file, each in its own section, so a writer
// must keep every section, key, comment and blank line it does not change.
// Section and key names compare without regard to ASCII letter case, as
// profile files always have; the spelling found in the file is kept.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Settings files are a few hundred bytes; anything far larger is not ours
// and is refused rather than read into memory.
constexpr size_t kMaxIniFileBytes = size_t(1) << 20;

class TIniFile {
 public:
  // The file's content; a missing file reads as an empty one. Throws
  // EQuorvaneError for a file that exists but cannot be read, or is larger
  // than kMaxIniFileBytes.
  static TIniFile Load(const std::string& path);
  static TIniFile Parse(std::string_view text);

  // The value of `key` in `section`, without the blanks around it; a value
  // written in double quotes loses them. Nothing when the key is missing.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // Replaces the key's value in place, or appends the key to its section,
  // or the section to the file. Throws a usage error for names or
  // values that a line-based file cannot hold (line breaks, NUL, "=" or "]"
  // in names).
  void Write(std::string_view section, std::string_view key, std::string_view value);
  // Removes the section with all its lines.
  void EraseSection(std::string_view section);
  bool HasSection(std::string_view section) const;

  std::string Text() const;
  // Writes the text atomically (the previous file stays whole when writing
  // fails), creating the missing folders first. A settings file that is a
  // symbolic link is written through the link.
  void Save(const std::string& path) const;

 private:
  struct TLine {
    std::string Raw;  // the line as read, or as built for a written key
    std::string Key;  // empty for comments, blank and malformed lines
  };
  struct TSection {
    std::string Name;  // empty for the lines before the first header
    std::string Header;
    std::vector<TLine> Lines;
  };
  TSection* Find(std::string_view section);
  const TSection* Find(std::string_view section) const;

  std::vector<TSection> sections_{TSection{}};
};

}  // namespace quorvane
