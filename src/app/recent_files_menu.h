#pragma once
// The "&Reopen" submenu over the recent-files list: the items rebuilt from
// the list after every change, a click handed back as the entry's path, the
// settings file read at start-up and written right after each addition.
#include <QObject>
#include <QString>
#include <functional>

#include "settings/reopen_menu.h"

class QMenu;

namespace quorvane {

class TRecentFilesMenu : public QObject {
  Q_OBJECT
 public:
  // `settings_file` empty: the list lives for this run only.
  TRecentFilesMenu(QMenu* menu, const std::string& settings_file, QObject* parent = nullptr);
  // Writes the list back if a change is still unsaved (a save that failed).
  ~TRecentFilesMenu() override;

  // Called with the path of a clicked entry.
  std::function<void(const QString& path)> OnMenuClick;

  // LoadHistory: the list from the settings file.
  void LoadHistory();
  // AddFile followed at once by SaveHistory.
  void AddFile(const QString& path);

  const TReopenMenu& List() const { return list_; }
  QMenu* Menu() const { return menu_; }

 private:
  void SaveHistory();
  void Rebuild();

  QMenu* menu_;
  TReopenMenu list_;
  bool unsaved_ = false;
};

}  // namespace quorvane
