#pragma once
// A save writes a temporary file beside its target and renames it over the
// target once the file is complete. When the program is told to stop while a
// save runs (Ctrl+C, kill, the terminal closing), the temporary file must not
// stay behind. A signal handler may do very little, so every save in progress
// keeps the path of its temporary file in a slot of a fixed table, and the
// handler removes those files and then ends the program by the same signal.
#include <string>

namespace quorvane {

// Installs the handlers for SIGINT, SIGTERM and SIGHUP. A signal that is
// ignored (a program started with nohup keeps ignoring SIGHUP) or already
// has a handler of its own is left alone. Called once at start-up by the
// command-line tool and the window.
void RemoveUnfinishedSavesOnSignals();

// Holds the record of one temporary file while it exists.
class TUnfinishedSave {
 public:
  // Records the path (made absolute). A path too long for a slot, or a table
  // already full, goes unrecorded: the save still works, only an interrupt
  // would leave its file behind.
  explicit TUnfinishedSave(const std::string& path);
  ~TUnfinishedSave() { Forget(); }
  TUnfinishedSave(const TUnfinishedSave&) = delete;
  TUnfinishedSave& operator=(const TUnfinishedSave&) = delete;

  // The file was renamed or removed: nothing left to clean up.
  void Forget();

 private:
  int slot_ = -1;
};

}  // namespace quorvane
