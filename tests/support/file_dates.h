#pragma once
// Dates a file as modified at local noon of a given day, for the version
// texts built from a program file's date.
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

namespace quorvane::testing {

// True when the file's modification time was set.
inline bool SetFileDate(const std::filesystem::path& path, int year, int month, int day) {
  std::tm noon{};
  noon.tm_year = year - 1900;
  noon.tm_mon = month - 1;
  noon.tm_mday = day;
  noon.tm_hour = 12;
  noon.tm_isdst = -1;
  const time_t when = std::mktime(&noon);
  const struct timespec times[2] = {{when, 0}, {when, 0}};
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace quorvane::testing
