#include "controls/page_control.h"

#include <QEvent>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <algorithm>

namespace quorvane {

namespace {

// Room around a tab's caption: compact, as on a multi-line page control,
// rather than the style's wide padding.
constexpr int kTabPadding = 6;
constexpr int kTabVerticalPadding = 4;

// The position of a tab within its row, as the style draws it.
QStyleOptionTab::TabPosition PositionInRow(int index, int first, int last) {
  if (first == last) return QStyleOptionTab::OnlyOneTab;
  if (index == first) return QStyleOptionTab::Beginning;
  if (index == last) return QStyleOptionTab::End;
  return QStyleOptionTab::Middle;
}

}  // namespace

TPageTabBar::TPageTabBar(QWidget* parent) : QTabBar(parent) {
  setUsesScrollButtons(false);
  setElideMode(Qt::ElideNone);
  setExpanding(false);
  setDrawBase(false);
}

QSize TPageTabBar::tabSizeHint(int index) const {
  const QSize hint = QTabBar::tabSizeHint(index);
  return {std::min(hint.width(), fontMetrics().horizontalAdvance(tabText(index)) + 2 * kTabPadding),
          std::min(hint.height(), fontMetrics().height() + 2 * kTabVerticalPadding)};
}

int TPageTabBar::AvailableWidth() const {
  const auto* pages = qobject_cast<const QTabWidget*>(parentWidget());
  if (pages && pages->width() > 0) return pages->width();
  return width();
}

// Tabs fill rows in their order; a tab wider than the whole width gets a
// row of its own.
TPageTabBar::TLayout TPageTabBar::Layout(int width) const {
  TLayout layout;
  const int n = count();
  layout.Tabs.resize(n);
  layout.Row.resize(n);
  if (n == 0) return layout;
  QVector<QVector<int>> rows(1);
  int used = 0, height = 0;
  for (int i = 0; i < n; ++i) {
    const QSize hint = tabSizeHint(i);
    height = std::max(height, hint.height());
    if (!rows.last().isEmpty() && used + hint.width() > width) {
      rows.append(QVector<int>());
      used = 0;
    }
    rows.last().append(i);
    used += hint.width();
    layout.Tabs[i].setSize(hint);
  }
  // The chosen tab's row is the last, next to the page.
  const auto chosen = std::find_if(rows.begin(), rows.end(), [&](const QVector<int>& row) {
    return row.contains(currentIndex());
  });
  if (chosen != rows.end()) std::rotate(chosen, chosen + 1, rows.end());
  layout.Rows = int(rows.size());
  for (int r = 0; r < layout.Rows; ++r) {
    int natural = 0;
    for (int i : rows[r]) natural += layout.Tabs[i].width();
    const int spare = layout.Rows > 1 ? std::max(width - natural, 0) : 0;
    int x = 0, k = 0;
    for (int i : rows[r]) {
      // The spare width is shared out so that the row ends at the edge.
      const int extra = spare * (k + 1) / int(rows[r].size()) - spare * k / int(rows[r].size());
      layout.Tabs[i] = QRect(x, r * height, layout.Tabs[i].width() + extra, height);
      layout.Row[i] = r;
      x += layout.Tabs[i].width();
      ++k;
    }
  }
  return layout;
}

QRect TPageTabBar::RowTabRect(int index) const {
  const TLayout layout = Layout(AvailableWidth());
  return index >= 0 && index < layout.Tabs.size() ? layout.Tabs[index] : QRect();
}

int TPageTabBar::RowCount() const {
  return Layout(AvailableWidth()).Rows;
}

QSize TPageTabBar::sizeHint() const {
  const TLayout layout = Layout(AvailableWidth());
  int height = 0;
  for (const QRect& tab : layout.Tabs) height = std::max(height, tab.bottom() + 1);
  return {AvailableWidth(), height};
}

QSize TPageTabBar::minimumSizeHint() const {
  return {0, sizeHint().height()};
}

int TPageTabBar::TabAtPoint(const QPoint& point) const {
  const TLayout layout = Layout(AvailableWidth());
  for (int i = 0; i < layout.Tabs.size(); ++i)
    if (layout.Tabs[i].contains(point)) return i;
  return -1;
}

bool TPageTabBar::event(QEvent* event) {
  int hover = hover_;
  if (event->type() == QEvent::HoverMove || event->type() == QEvent::HoverEnter)
    hover = TabAtPoint(static_cast<QHoverEvent*>(event)->position().toPoint());
  else if (event->type() == QEvent::HoverLeave)
    hover = -1;
  if (hover != hover_) {
    hover_ = hover;
    update();
  }
  return QTabBar::event(event);
}

// The chosen tab is drawn last: styles draw it a little larger, over its
// neighbours.
void TPageTabBar::paintEvent(QPaintEvent* event) {
  Q_UNUSED(event);
  const TLayout layout = Layout(AvailableWidth());
  QStylePainter painter(this);
  QVector<int> order;
  for (int i = 0; i < count(); ++i)
    if (i != currentIndex()) order.append(i);
  if (currentIndex() >= 0) order.append(currentIndex());
  for (int i : order) {
    QStyleOptionTab option;
    initStyleOption(&option, i);
    option.rect = layout.Tabs[i];
    option.state.setFlag(QStyle::State_MouseOver, i == hover_);
    int first = i, last = i;
    while (first > 0 && layout.Row[first - 1] == layout.Row[i]) --first;
    while (last + 1 < count() && layout.Row[last + 1] == layout.Row[i]) ++last;
    option.position = PositionInRow(i, first, last);
    option.selectedPosition = QStyleOptionTab::NotAdjacent;
    if (i > first && i - 1 == currentIndex())
      option.selectedPosition = QStyleOptionTab::PreviousIsSelected;
    if (i < last && i + 1 == currentIndex())
      option.selectedPosition = QStyleOptionTab::NextIsSelected;
    // The style keeps its own wide padding inside a tab's label; given a
    // label rectangle that much wider, it centres the caption in the
    // compact tab instead of cutting it.
    painter.drawControl(QStyle::CE_TabBarTabShape, option);
    const int widen = std::max(
        style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this) / 2 - kTabPadding, 0);
    option.rect.adjust(-widen, 0, widen, 0);
    painter.drawControl(QStyle::CE_TabBarTabLabel, option);
  }
}

void TPageTabBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QTabBar::mousePressEvent(event);
  const int index = TabAtPoint(event->position().toPoint());
  if (index >= 0 && isTabEnabled(index)) setCurrentIndex(index);
  event->accept();
}

// A tab added, removed or renamed, or another one chosen, may change the
// rows and so the height the page control gives the bar.
void TPageTabBar::tabLayoutChange() {
  QTabBar::tabLayoutChange();
  updateGeometry();
  update();
}

TPageControl::TPageControl(QWidget* parent) : QTabWidget(parent), tab_bar_(new TPageTabBar) {
  setTabBar(tab_bar_);
  // Another chosen row order needs a repaint only; another row count comes
  // with a resize, which lays the control out again.
  connect(tab_bar_, &QTabBar::currentChanged, tab_bar_, qOverload<>(&QWidget::update));
}

}  // namespace quorvane
