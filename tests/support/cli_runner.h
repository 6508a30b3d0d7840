#pragma once
// Runs quorvane-cli as a user would and captures what it prints.
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quorvane::testing {

struct TCliResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline TCliResult RunCli(const std::vector<std::string>& args) {
  namespace fs = std::filesystem;
  static int counter = 0;
  // Built piece by piece: long concatenations trip a false -Wrestrict in GCC 12.
  std::string name = "quorvane-cli-test-";
  name += std::to_string(::getpid());
  name += '-';
  name += std::to_string(counter++);
  const fs::path folder = fs::temp_directory_path() / name;
  fs::create_directories(folder);
  std::string command = ShellQuote(QUORVANE_CLI_PATH);
  for (const auto& a : args) command += " " + ShellQuote(a);
  command += " >";
  command += ShellQuote((folder / "out").string());
  command += " 2>";
  command += ShellQuote((folder / "err").string());
  command += " </dev/null";
  const int status = std::system(command.c_str());
  TCliResult result;
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.Out = ReadText(folder / "out");
  result.Err = ReadText(folder / "err");
  fs::remove_all(folder);
  return result;
}

// The one JSON value a --json command prints; values, not spelling, are what
// the tests compare.
inline nlohmann::json ParseJson(const std::string& out) {
  return nlohmann::json::parse(out);
}

inline std::string SamplePath(const std::string& name) {
  return std::string(QUORVANE_SOURCE_DIR) + "/samples/" + name;
}

}  // namespace quorvane::testing
