#pragma once
// The two small progress windows of long operations, which run on the
// user-interface thread: each change of the bar is painted at once, since
// no events are processed while the work goes on.
//
// TProgressDlg ("Resizing Image", "Printing Image") lives for the whole run
// and takes whole percentages; TBitmapProgress ("Loading Bitmap") exists for
// one save only and takes the codecs' stage reports. Both stay hidden unless
// an operation runs, and an operation that fails hides its window before the
// error is shown: use the scope classes below.
#include <QDialog>
#include <QPointer>
#include <QString>

#include "raster/progress.h"

class QProgressBar;

namespace quorvane {

class TProgressDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TProgressDlg(QWidget* parent = nullptr);

  // Sets the caption and the bar to 0, shows the window without making it
  // modal and paints it before the caller starts working.
  void ShowProgress(const QString& caption);
  // Moves the bar (clamped to 0..100) and paints it at once.
  void SetProgress(int percent);
  // SetProgress as the percent callback the resampler and printing take.
  TProgressProc Proc();
  QProgressBar* Bar() const { return bar_; }

 private:
  QProgressBar* bar_;
};

// Shows a TProgressDlg for the length of one operation and hides it when
// the operation ends, also by an exception.
class TProgressScope {
 public:
  TProgressScope(TProgressDlg& dialog, const QString& caption);
  ~TProgressScope();
  TProgressScope(const TProgressScope&) = delete;
  TProgressScope& operator=(const TProgressScope&) = delete;

 private:
  TProgressDlg& dialog_;
};

class TBitmapProgress : public QDialog {
  Q_OBJECT
 public:
  explicit TBitmapProgress(QWidget* parent = nullptr);

  // Starting resets the bar, Running moves it to `percent`, Ending leaves
  // it; the bar is painted after each.
  void LoadProgressHandler(TProgressStage stage, int percent);
  QProgressBar* Bar() const { return bar_; }

 private:
  QProgressBar* bar_;
};

// One save's progress window: created and shown with "Loading Bitmap" at
// construction (the begin of a save), hidden and released at destruction.
class TLoadProgress {
 public:
  explicit TLoadProgress(QWidget* parent = nullptr);
  ~TLoadProgress();
  TLoadProgress(const TLoadProgress&) = delete;
  TLoadProgress& operator=(const TLoadProgress&) = delete;

  // The stage hook to hand to the codecs for this save.
  TProgressEvent Hook();
  TBitmapProgress* Window() const { return window_; }

 private:
  // Guarded: the parent window may take the progress window with it first.
  QPointer<TBitmapProgress> window_;
};

}  // namespace quorvane
