#include "about/about_texts.h"

#include <sys/stat.h>

#include <ctime>

namespace quorvane {

std::string VersionBuild(const std::string& file_version) {
  const size_t dot = file_version.rfind('.');
  return dot == std::string::npos ? file_version : file_version.substr(dot + 1);
}

std::string AboutVersionText(const TFileDate& date, const std::string& file_version) {
  const std::string year = std::to_string(date.Year);
  // 2001 shows as "01"; a year of fewer digits has none left to show.
  const std::string short_year = year.size() > 2 ? year.substr(2) : "";
  return "Version 1." + short_year + "." + std::to_string(date.Month) + "." +
         std::to_string(date.Day) + "." + VersionBuild(file_version);
}

std::string AboutCopyrightText(const TFileDate& date) {
  return "Copyright \u00A9 " + std::to_string(date.Year);
}

namespace {

std::optional<TFileDate> LocalDate(time_t when) {
  std::tm local{};
  if (!::localtime_r(&when, &local)) return std::nullopt;
  return TFileDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace

std::optional<TFileDate> FileModificationDate(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return LocalDate(info.st_mtime);
}

TFileDate TodayDate() {
  return LocalDate(std::time(nullptr)).value_or(TFileDate{1970, 1, 1});
}

std::string ProgramVersionLine(const std::string& program_file) {
  const TFileDate date = FileModificationDate(program_file).value_or(TodayDate());
  return std::string(kAboutProductName) + " " + AboutVersionText(date);
}

}  // namespace quorvane
