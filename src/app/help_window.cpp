#include "app/help_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "app/messages.h"
#include "app/qt_text.h"

namespace quorvane {

namespace {

// The text of a page without its markup, for the search; empty when the
// page cannot be read.
QString PageText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QTextDocument document;
  document.setHtml(QString::fromUtf8(file.readAll()));
  return document.toPlainText();
}

bool ContainsEveryWord(const QString& text, const QString& words) {
  for (const QString& word : words.split(' ', Qt::SkipEmptyParts))
    if (!text.contains(word, Qt::CaseInsensitive)) return false;
  return true;
}

}  // namespace

QString DefaultHelpFolder() {
  const QDir program(QCoreApplication::applicationDirPath());
  const QString beside = program.filePath("help");
  const QString installed = QDir::cleanPath(program.filePath("../share/quorvane/help"));
  if (!QFileInfo(beside).isDir() && QFileInfo(installed).isDir()) return installed;
  return beside;
}

THelpWindow::THelpWindow(const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(folder) {
  setObjectName("HelpWindow");
  setWindowTitle("Quorvane Help");
  resize(820, 560);

  auto* side = new QWidget;
  search_ = new QLineEdit(side);
  search_->setObjectName("SearchEdit");
  search_->setClearButtonEnabled(true);
  auto* search_label = new QLabel("&Search", side);
  search_label->setBuddy(search_);
  contents_ = new QListWidget(side);
  contents_->setObjectName("ContentsList");
  auto* contents_label = new QLabel("&Contents", side);
  contents_label->setBuddy(contents_);
  for (const THelpTopic& topic : HelpTopics()) contents_->addItem(topic.Title);
  auto* side_layout = new QVBoxLayout(side);
  side_layout->setContentsMargins(0, 0, 0, 0);
  side_layout->addWidget(search_label);
  side_layout->addWidget(search_);
  side_layout->addWidget(contents_label);
  side_layout->addWidget(contents_);

  browser_ = new QTextBrowser;
  browser_->setObjectName("HelpBrowser");
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths({folder_});

  auto* splitter = new QSplitter(this);
  splitter->addWidget(side);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({240, 580});
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(splitter);

  connect(contents_, &QListWidget::currentRowChanged, this, &THelpWindow::ContentsClicked);
  connect(search_, &QLineEdit::textChanged, this, &THelpWindow::SearchChanged);
  // Links between the pages keep the contents in step.
  connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    current_page_ = url.fileName();
    const auto& topics = HelpTopics();
    for (size_t i = 0; i < topics.size(); ++i)
      if (current_page_ == topics[i].Page) {
        const QSignalBlocker quiet(contents_);
        contents_->setCurrentRow(int(i));
      }
  });
}

bool THelpWindow::Request(const THelpViewerRequest& request) {
  const THelpPage page = HelpPageFor(request);
  if (page.Show == THelpPage::TShow::Close) {
    hide();
    return true;
  }
  if (!ShowPage(page.Page)) return false;
  if (page.ShowContents) contents_->setFocus();
  if (!page.SearchText.empty()) search_->setText(FromStd(page.SearchText));
  show();
  StandOverModalDialog();
  raise();
  activateWindow();
  return true;
}

bool THelpWindow::ShowHelpContext(int context) {
  return Request(ContextHelpRequest(context));
}

bool THelpWindow::ShowPage(const std::string& page) {
  const QString name = FromStd(page);
  const QString file = name.section('#', 0, 0);
  const QString path = QDir(folder_).filePath(file);
  if (!QFileInfo(path).isReadable()) {
    // Without its pages the help has nothing to show: say where they were
    // looked for rather than opening an empty window.
    ShowErrorMessage(parentWidget() ? parentWidget() : this,
                     FromStd(MissingHelpMessage(path.toStdString())));
    return false;
  }
  QUrl url = QUrl::fromLocalFile(path);
  if (name.contains('#')) url.setFragment(name.section('#', 1));
  browser_->setSource(url);
  current_page_ = file;
  return true;
}

void THelpWindow::ContentsClicked(int row) {
  const auto& topics = HelpTopics();
  if (row < 0 || size_t(row) >= topics.size()) return;
  ShowPage(topics[size_t(row)].Page);
}

void THelpWindow::SearchChanged(const QString& text) {
  const auto& topics = HelpTopics();
  for (size_t i = 0; i < topics.size(); ++i) {
    const QString path = QDir(folder_).filePath(topics[i].Page);
    const bool match = text.trimmed().isEmpty() || ContainsEveryWord(PageText(path), text);
    contents_->item(int(i))->setHidden(!match);
  }
}

// Asked for from a modal dialog, help opens in front of that dialog and
// takes input while it is open: a modal dialog blocks every window but
// those it is a transient parent of. Otherwise the help window belongs to
// the window that owns it. (Showing the window makes its owner its
// transient parent again, so this follows the show.)
void THelpWindow::StandOverModalDialog() {
  QWindow* window = windowHandle();
  if (!window) return;
  const QWidget* modal = QApplication::activeModalWidget();
  const QWidget* owner = modal && modal != this ? modal : parentWidget();
  QWindow* over = owner ? owner->window()->windowHandle() : nullptr;
  if (window->transientParent() != over) window->setTransientParent(over);
}

}  // namespace quorvane
