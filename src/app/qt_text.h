#pragma once
// Texts crossing from the core into the widgets: the core speaks UTF-8
// std::string, Qt speaks QString.
#include <QString>
#include <string>

namespace quorvane {

inline QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace quorvane
