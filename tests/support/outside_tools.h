#pragma once
// Checks against outside programs (netpbm, libtiff's tools, GDAL, PROJ,
// pdftoppm) and the corpus are the strongest the suite has, so they must not
// vanish quietly: where one is missing the test skips visibly, and where
// QUORVANE_REQUIRE_CORPUS=1 (CI) it fails instead. Free of GoogleTest and Qt
// so that both kinds of suites share it; each has its macro below.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace quorvane::test_support {

// True where the environment sets QUORVANE_REQUIRE_CORPUS=1: the corpus and
// every outside program the tests compare with must then be there.
inline bool CorpusRequired() {
  const char* value = std::getenv("QUORVANE_REQUIRE_CORPUS");
  return value && std::string_view(value) == "1";
}

// Whether an executable of that name is on the PATH.
inline bool ToolInstalled(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::filesystem::path folder(std::string(rest.substr(0, colon)));
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    const std::filesystem::path file = folder / name;
    std::error_code error;
    if (std::filesystem::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0)
      return true;
  }
  return false;
}

inline std::string ToolMissingText(std::string_view name) {
  return std::string(name) + " is not installed" +
         (CorpusRequired() ? " but QUORVANE_REQUIRE_CORPUS=1 requires it" : "");
}

}  // namespace quorvane::test_support

// GoogleTest: ends the test unless the program is installed.
#define QUORVANE_TOOL_OR_SKIP(name)                                      \
  do {                                                                   \
    if (!::quorvane::test_support::ToolInstalled(name)) {                \
      if (::quorvane::test_support::CorpusRequired())                    \
        GTEST_FAIL() << ::quorvane::test_support::ToolMissingText(name); \
      GTEST_SKIP() << ::quorvane::test_support::ToolMissingText(name);   \
    }                                                                    \
  } while (0)

// QtTest: the same for a test function of a window suite.
#define QUORVANE_QT_TOOL_OR_SKIP(name)                                  \
  do {                                                                  \
    if (!::quorvane::test_support::ToolInstalled(name)) {               \
      if (::quorvane::test_support::CorpusRequired())                   \
        QFAIL(::quorvane::test_support::ToolMissingText(name).c_str()); \
      QSKIP(::quorvane::test_support::ToolMissingText(name).c_str());   \
    }                                                                   \
  } while (0)
