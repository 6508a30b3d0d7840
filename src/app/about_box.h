#pragma once
// "About Quorvane": the product name, a one-line description, the version
// built from the program file's date and its file version, and the
// copyright year. The texts are computed once, when the box is created at
// start-up.
#include <QDialog>
#include <optional>

#include "about/about_texts.h"

namespace quorvane {

// The date of the running program file, or nothing when it cannot be read.
std::optional<TFileDate> ProgramFileDate();

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  // `date`: the program file's date; nothing shows today's.
  explicit TAboutBox(QWidget* parent = nullptr,
                     const std::optional<TFileDate>& date = ProgramFileDate());
};

}  // namespace quorvane
