#pragma once
// The recent-files list behind the "&Reopen" submenu: the paths most
// recently opened, most recent first, with the captions of their menu items,
// kept in a section of the settings file between runs. The window rebuilds
// the submenu from Captions() after every change and hands a clicked item's
// position to Click().
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorvane {

// How NoDuplicates tells two paths apart.
enum class TPathCase : uint8_t {
  // Paths differing only in letter case are the same entry.
  Ignored,
  // As the file system holding them does: paths differing only in case are
  // one entry when they name the same file (a case-insensitive file
  // system), two otherwise ("/x/A.tif" and "/x/a.tif" on most Linux ones).
  AsFileSystem,
};

struct TReopenMenuOptions {
  int Limit = 5;               // most entries kept after an addition
  std::string INIFile;         // settings file; empty: none
  std::string INISection;      // section holding the list
  bool NumberItems = true;     // captions start with "&1 ", "&2 " ...
  bool NoDuplicates = true;    // a path listed already moves instead of repeating
  bool ShowPath = false;       // captions show the full path, not the file name
  bool ShowErrors = false;     // settings-file failures come back as a warning text
  bool UpdateOnClick = false;  // a clicked entry also moves to the top
  TPathCase PathCase = TPathCase::Ignored;
};

// The options this program runs with: limit 5, section "FileHistory" of the
// settings file at `settings_file`, paths compared as their file system
// does.
TReopenMenuOptions ProgramReopenMenuOptions(const std::string& settings_file);

// How a settings-file access went. `Warning` is the text of the warning
// message box to show: set only when the access failed and ShowErrors is on.
struct TReopenFileResult {
  bool Failed = false;
  std::string Warning;
};

class TReopenMenu {
 public:
  using TMenuClickEvent = std::function<void(const std::string& path)>;

  explicit TReopenMenu(TReopenMenuOptions options = {});

  const TReopenMenuOptions& Options() const { return options_; }
  // Called with the path of a clicked entry.
  TMenuClickEvent OnMenuClick;

  const std::vector<std::string>& Paths() const { return paths_; }
  size_t Count() const { return paths_.size(); }
  // The caption of the item at `index`, e.g. "&1 picture.tif". Ampersands of
  // the name are doubled so that the menu shows the name as it is.
  std::string Caption(size_t index) const;
  std::vector<std::string> Captions() const;

  // Puts `path` at the top, then drops entries beyond Limit from the end.
  // The caller saves the history right afterwards.
  void AddFile(const std::string& path);
  // Replaces the list with the one in the settings file: "Count" entries
  // read from "Path0", "Path1" ..., a missing key giving an empty entry,
  // Limit not applied. A missing file or section gives an empty list; on a
  // failure the entries read so far stay.
  TReopenFileResult LoadHistory();
  // Writes the list into its section of the settings file, replacing the
  // section and keeping the rest of the file. Nothing happens without a
  // settings file name.
  TReopenFileResult SaveHistory() const;
  // The item at `index` was clicked: OnMenuClick gets its path, then with
  // UpdateOnClick the entry moves to the top. An index beyond the list is
  // ignored.
  void Click(size_t index);

 private:
  void Insert(const std::string& path, bool at_top);
  TReopenFileResult Failure() const;

  TReopenMenuOptions options_;
  std::vector<std::string> paths_;
};

// "Count" values beyond this are read as this many: a damaged settings file
// must not fill the menu, or memory, with millions of empty entries.
constexpr int kMaxLoadedHistory = 100;

}  // namespace quorvane
