#pragma once
// Runs quorvane-cli as a user would and captures what it prints.
#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quorvane::test_support {

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

struct TMeasuredRun : TCliResult {
  long PeakResidentKb = 0;
  int Signal = 0;  // the signal that ended the run, 0 when it exited
};

#if defined(__SANITIZE_ADDRESS__)
// LeakSanitizer will not run under a tracer, and a sanitized tool's memory
// says nothing of ours: there the peak is only ru_maxrss.
constexpr bool kTracePeak = false;
#else
constexpr bool kTracePeak = true;
#endif

// The peak resident memory (VmHWM) of a traced child that is stopping at its
// exit, in kB.
inline long PeakOfExitingChild(pid_t child) {
  std::ifstream status("/proc/" + std::to_string(child) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.starts_with("VmHWM:")) return std::atol(line.c_str() + 6);
  return 0;
}

// Waits for a child that asked to be traced before its exec and returns its
// wait status. The child's peak is read at its exit from its own memory:
// ru_maxrss would also count the pages it shared with this process between
// fork and exec, which in one large test process dwarf the tool's own.
inline int WaitCountingPeak(pid_t child, long& peak_kb) {
  int status = 0;
  bool options_set = false;
  while (::waitpid(child, &status, 0) == child && WIFSTOPPED(status)) {
    int deliver = 0;
    if (!options_set && WSTOPSIG(status) == SIGTRAP) {  // stopped at its exec
      ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACEEXIT | PTRACE_O_EXITKILL);
      options_set = true;
    } else if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
      peak_kb = PeakOfExitingChild(child);
    } else {
      deliver = WSTOPSIG(status);  // its own signals go through
    }
    ::ptrace(PTRACE_CONT, child, nullptr, deliver);
  }
  return status;
}

// Runs quorvane-cli in a child process of its own, its address space limited
// to `max_address_bytes` unless 0, and tells the most resident memory the
// child ever held.
inline TMeasuredRun RunCliMeasured(const std::vector<std::string>& args,
                                   uint64_t max_address_bytes = 0) {
  namespace fs = std::filesystem;
  const fs::path folder =
      fs::temp_directory_path() / ("quorvane-cli-measured-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string out = (folder / "out").string(), err = (folder / "err").string();
  std::vector<std::string> words{QUORVANE_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
    if (max_address_bytes) {
      const rlimit limit{max_address_bytes, max_address_bytes};
      ::setrlimit(RLIMIT_AS, &limit);
    }
    if (kTracePeak) ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  TMeasuredRun run;
  int status = 0;
  if (kTracePeak) {
    status = WaitCountingPeak(child, run.PeakResidentKb);
  } else {
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    run.PeakResidentKb = usage.ru_maxrss;
  }
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.Signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  run.Out = ReadText(out);
  run.Err = ReadText(err);
  fs::remove_all(folder);
  return run;
}

// The one JSON value a --json command prints; values, not spelling, are what
// the tests compare.
inline nlohmann::json ParseJson(const std::string& out) {
  return nlohmann::json::parse(out);
}

inline std::string SamplePath(const std::string& name) {
  return std::string(QUORVANE_SOURCE_DIR) + "/samples/" + name;
}

}  // namespace quorvane::test_support
