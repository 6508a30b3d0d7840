#include "app/recent_files_menu.h"

#include <QAction>
#include <QMenu>

#include "app/qt_text.h"

namespace quorvane {

TRecentFilesMenu::TRecentFilesMenu(QMenu* menu, const std::string& settings_file, QObject* parent)
    : QObject(parent), menu_(menu), list_(ProgramReopenMenuOptions(settings_file)) {
  list_.OnMenuClick = [this](const std::string& path) {
    if (OnMenuClick) OnMenuClick(FromStd(path));
  };
}

TRecentFilesMenu::~TRecentFilesMenu() {
  // Each addition was saved at once; writing the same list again at the end
  // would only replace what another running copy of the program saved since.
  if (unsaved_) list_.SaveHistory();
}

void TRecentFilesMenu::LoadHistory() {
  // Failures are ignored: the menu starts with what could be read.
  list_.LoadHistory();
  unsaved_ = false;
  Rebuild();
}

void TRecentFilesMenu::AddFile(const QString& path) {
  list_.AddFile(path.toStdString());
  Rebuild();
  SaveHistory();
}

void TRecentFilesMenu::SaveHistory() {
  unsaved_ = list_.SaveHistory().Failed;
}

void TRecentFilesMenu::Rebuild() {
  if (!menu_) return;
  menu_->clear();
  const std::vector<std::string> captions = list_.Captions();
  for (size_t i = 0; i < captions.size(); ++i) {
    QAction* item = menu_->addAction(FromStd(captions[i]));
    item->setObjectName(QString("ReopenItem%1").arg(i));
    // Delivered after the menu has closed: the open may reorder the list,
    // which rebuilds this menu.
    connect(
        item, &QAction::triggered, this, [this, i] { list_.Click(i); }, Qt::QueuedConnection);
  }
  menu_->setEnabled(!captions.empty());
}

}  // namespace quorvane
