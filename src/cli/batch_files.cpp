#include "cli/batch_files.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "cli/value_parsing.h"

namespace quorvane::cli {

namespace {

namespace fs = std::filesystem;

bool IsBatch(const TArgs& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--output-dir" || arg.starts_with("--output-dir=")) return true;
  }
  return false;
}

struct TBatchArgs {
  std::vector<std::string> Inputs;
  std::string OutputDir;
  std::optional<std::string> Format, Jobs;
};

std::string OutputName(const std::string& input, const TBatchArgs& batch) {
  const fs::path in(input);
  std::string ext = in.extension().string();
  if (batch.Format) ext = batch.Format->starts_with(".") ? *batch.Format : "." + *batch.Format;
  return (fs::path(batch.OutputDir) / in.stem()).string() + ext;
}

// The progress line (files done, the file being worked on, percent) and the
// messages of failed files, one writer at a time on stderr.
class TBatchReport {
 public:
  explicit TBatchReport(size_t total) : total_(total), terminal_(::isatty(STDERR_FILENO) == 1) {}

  void Started(const std::string& input) {
    std::lock_guard lock(mutex_);
    current_ = input;
    Draw();
  }
  void Ended(const std::string& input, const std::optional<std::string>& failure) {
    std::lock_guard lock(mutex_);
    ++done_;
    if (failure) {
      Clear();
      std::fprintf(stderr, "%s: %s\n", input.c_str(), failure->c_str());
    }
    Draw();
  }
  void Finish() {
    std::lock_guard lock(mutex_);
    Clear();
  }

 private:
  void Draw() {
    if (!terminal_) return;
    std::fprintf(stderr, "\r\033[K[%zu/%zu] %3zu%% %s", done_, total_, done_ * 100 / total_,
                 current_.c_str());
    std::fflush(stderr);
  }
  void Clear() {
    if (terminal_) std::fputs("\r\033[K", stderr);
  }

  std::mutex mutex_;
  const size_t total_;
  const bool terminal_;
  size_t done_ = 0;
  std::string current_;
};

// The file's failure, in the words the single form prints.
std::optional<std::string> RunOne(const TFileRunner& run, const TFileJob& job) {
  try {
    if (run(job) == 0) return std::nullopt;
    return "failed";
  } catch (const std::bad_alloc&) {
    return "not enough memory";
  } catch (const std::exception& error) {
    return error.what();
  }
}

int RunBatch(const TBatchArgs& batch, const TFileRunner& run) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const size_t jobs = std::min<size_t>(
      batch.Jobs ? size_t(ParseInteger(*batch.Jobs, "-j", 1, 1024)) : cores, batch.Inputs.size());
  std::error_code error;
  fs::create_directories(batch.OutputDir, error);
  if (error) {
    std::fprintf(stderr, "Cannot make folder %s: %s\n", batch.OutputDir.c_str(),
                 error.message().c_str());
    return 1;
  }
  TBatchReport report(batch.Inputs.size());
  std::atomic<size_t> next = 0;
  std::atomic<bool> any_failed = false;
  auto worker = [&] {
    for (size_t i = next++; i < batch.Inputs.size(); i = next++) {
      const std::string& input = batch.Inputs[i];
      report.Started(input);
      // The cores are shared between the files at work and their resamplers.
      const TFileJob job{input, OutputName(input, batch), true,
                         int(std::max<size_t>(1, cores / jobs))};
      const std::optional<std::string> failure = RunOne(run, job);
      if (failure) any_failed = true;
      report.Ended(input, failure);
    }
  };
  std::vector<std::thread> threads;
  for (size_t t = 1; t < jobs; ++t) threads.emplace_back(worker);
  worker();
  for (std::thread& thread : threads) thread.join();
  report.Finish();
  return any_failed ? 1 : 0;
}

}  // namespace

int RunFileCommand(TCommandLine& line, const TArgs& args, const TFileRunner& run) {
  if (!IsBatch(args)) {
    TFileJob job;
    line.Positional("IN", job.Input).Positional("OUT", job.Output).Parse(args);
    return run(job);
  }
  TBatchArgs batch;
  line.Positionals("IN", batch.Inputs).Required("--output-dir", batch.OutputDir);
  line.Option("--format", batch.Format).Option("-j,--jobs", batch.Jobs).Parse(args);
  return RunBatch(batch, run);
}

}  // namespace quorvane::cli
