#pragma once
// A tabbed page control whose tabs wrap onto further rows instead of
// hiding behind scroll arrows, so every page's tab stays visible however
// narrow the control is made. As on a multi-line page control, each row is
// stretched to the full width when there are several, and the row holding
// the chosen page's tab sits next to the page.
#include <QTabBar>
#include <QTabWidget>
#include <QVector>

namespace quorvane {

class TPageTabBar : public QTabBar {
  Q_OBJECT
 public:
  explicit TPageTabBar(QWidget* parent = nullptr);

  // Where tab `index` is drawn and clicked; empty for no such tab.
  QRect RowTabRect(int index) const;
  int RowCount() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  QSize tabSizeHint(int index) const override;
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void tabLayoutChange() override;

 private:
  struct TLayout {
    QVector<QRect> Tabs;
    QVector<int> Row;  // of each tab, counted from the top
    int Rows = 0;
  };
  // The width the rows fill: the page control's, once it has one.
  int AvailableWidth() const;
  TLayout Layout(int width) const;
  int TabAtPoint(const QPoint& point) const;

  int hover_ = -1;
};

class TPageControl : public QTabWidget {
  Q_OBJECT
 public:
  explicit TPageControl(QWidget* parent = nullptr);
  TPageTabBar* PageTabBar() const { return tab_bar_; }

 private:
  TPageTabBar* tab_bar_;
};

}  // namespace quorvane
