#pragma once
// The program's help: HTML pages written for it, kept in a folder beside the
// program, shown in a window of its own with the table of contents beside
// the page and a search over the pages' text. Help requests from the menu
// and from the dialogs' Help buttons arrive as the viewer commands of
// document/help_commands.h.
#include <QString>
#include <QWidget>

#include "about/help_commands.h"

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace quorvane {

// The help folder of the running program: "help" beside the program file,
// else "../share/quorvane/help" from it; the first when neither exists, so
// that the message about a missing help names the place looked at first.
QString DefaultHelpFolder();

class THelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit THelpWindow(const QString& folder, QWidget* parent = nullptr);

  // Shows the page the request asks for, or closes the window. A page that
  // cannot be read gives a message naming it, and false.
  bool Request(const THelpViewerRequest& request);
  // What a dialog's Help button does: the topic of that context number.
  bool ShowHelpContext(int context);

  const QString& Folder() const { return folder_; }
  // The page shown, a file name within the folder; empty before the first.
  QString CurrentPage() const { return current_page_; }

 private:
  bool ShowPage(const std::string& page);
  void StandOverModalDialog();
  void ContentsClicked(int row);
  void SearchChanged(const QString& text);

  QString folder_;
  QString current_page_;
  QListWidget* contents_ = nullptr;
  QLineEdit* search_ = nullptr;
  QTextBrowser* browser_ = nullptr;
};

}  // namespace quorvane
