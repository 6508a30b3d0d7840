#pragma once
// The texts of the "About Quorvane" box: the version number built from the
// program file's date and its file version, and the copyright line with the
// year of that date.
#include <optional>
#include <string>

namespace quorvane {

struct TFileDate {
  int Year = 0;
  int Month = 0;  // 1 to 12
  int Day = 0;    // 1 to 31
  bool operator==(const TFileDate&) const = default;
};

// The program's version values.
constexpr const char* kFileVersion = "1.1.0.7";
constexpr const char* kProductVersion = "1.0.0.0";
constexpr const char* kFileDescription = "GeoTiff, TIF and Bitmap Viewer/Editor";

constexpr const char* kAboutCaption = "About Quorvane";
constexpr const char* kAboutProductName = "Quorvane";
constexpr const char* kAboutComments = "GeoTiff Viewer/Editor";
constexpr const char* kAboutPublisher = "The Quorvane Project";
constexpr const char* kAboutWebAddress = "https://quorvane.example.org";

// The last component of a dotted version ("7" of "1.1.0.7"); a version
// without a dot is its own build.
std::string VersionBuild(const std::string& file_version);
// "Version 1." + the year without its first two digits + "." + month + "."
// + day + "." + build: "Version 1.01.3.5.7" for 5 March 2001 and "1.1.0.7".
std::string AboutVersionText(const TFileDate& date, const std::string& file_version = kFileVersion);
// "Copyright © " and the four-digit year.
std::string AboutCopyrightText(const TFileDate& date);

// The local date of the file's last modification; nothing when the file
// cannot be examined.
std::optional<TFileDate> FileModificationDate(const std::string& path);
// Today's local date, which stands in for a program file that cannot be
// examined.
TFileDate TodayDate();

// What "--version" prints: the product name and the version the About box
// shows for the program file at `program_file`, "Quorvane Version 1.01.3.5.7".
std::string ProgramVersionLine(const std::string& program_file);

}  // namespace quorvane
