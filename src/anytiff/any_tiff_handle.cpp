#include "anytiff/any_tiff_handle.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "raster/error.h"

namespace quorvane {

namespace {

constexpr size_t kMostWarnings = 32;

TLibTiffReports& ReportsOf(thandle_t client) {
  return *static_cast<TLibTiffReports*>(client);
}

tmsize_t ReadProc(thandle_t client, void* buffer, tmsize_t size) noexcept {
  TLibTiffReports& r = ReportsOf(client);
  if (size <= 0) return 0;
  const int64_t got = r.Source->ReadAt(r.Position, buffer, size_t(size));
  if (got < 0) return -1;
  r.Position += uint64_t(got);
  return tmsize_t(got);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) noexcept {
  return -1;
}

toff_t SeekProc(thandle_t client, toff_t offset, int whence) noexcept {
  TLibTiffReports& r = ReportsOf(client);
  uint64_t base = 0;
  if (whence == SEEK_CUR) base = r.Position;
  if (whence == SEEK_END) base = r.Source->Size();
  // libtiff passes negative moves as huge unsigned values; wrap-around is
  // what it means.
  r.Position = base + offset;
  return r.Position;
}

int CloseProc(thandle_t) noexcept {
  return 0;
}
toff_t SizeProc(thandle_t client) noexcept {
  return ReportsOf(client).Source->Size();
}
int MapProc(thandle_t, void**, toff_t*) noexcept {
  return 0;
}
void UnmapProc(thandle_t, void*, toff_t) noexcept {}

std::string Format(const char* module, const char* format, va_list args) {
  char text[1024];
  std::vsnprintf(text, sizeof text, format ? format : "", args);
  std::string message;
  if (module && *module) {
    message = module;
    message += ": ";
  }
  // Some texts begin with the file's name, which this handle leaves empty.
  message += std::strncmp(text, ": ", 2) == 0 ? text + 2 : text;
  return message;
}

// Unknown tags are what GeoTIFF files are made of; saying so helps nobody.
bool IsNoise(const std::string& message) {
  return message.find("Unknown field with tag") != std::string::npos;
}

void AddWarning(TLibTiffReports& r, std::string message) {
  if (r.Warnings.size() < kMostWarnings && !IsNoise(message))
    r.Warnings.push_back(std::move(message));
}

int ErrorHandler(TIFF*, void* user, const char* module, const char* format, va_list args) noexcept {
  try {
    TLibTiffReports& r = *static_cast<TLibTiffReports*>(user);
    std::string message = Format(module, format, args);
    if (!r.HasError) {
      r.HasError = true;
      r.FirstError = std::move(message);
    } else {
      AddWarning(r, std::move(message));
    }
  } catch (...) {
    // Out of memory for the text: the failure still shows in the call's result.
  }
  return 1;  // handled: libtiff's process-wide handlers stay silent
}

int WarningHandler(TIFF*, void* user, const char* module, const char* format,
                   va_list args) noexcept {
  try {
    AddWarning(*static_cast<TLibTiffReports*>(user), Format(module, format, args));
  } catch (...) {
  }
  return 1;
}

// Frees the options whatever happens to the open.
struct TOpenOptions {
  TIFFOpenOptions* Options = TIFFOpenOptionsAlloc();
  ~TOpenOptions() { TIFFOpenOptionsFree(Options); }
};

}  // namespace

TLibTiffHandle::TLibTiffHandle(TAnyTiffSource& source, uint64_t max_single_allocation)
    : reports_(std::make_unique<TLibTiffReports>()) {
  reports_->Source = &source;
  TOpenOptions options;
  if (!options.Options) throw ENotEnoughMemory("open the TIFF file");
  TIFFOpenOptionsSetErrorHandlerExtR(options.Options, ErrorHandler, reports_.get());
  TIFFOpenOptionsSetWarningHandlerExtR(options.Options, WarningHandler, reports_.get());
  const uint64_t largest = std::min<uint64_t>(max_single_allocation, uint64_t(INT64_MAX));
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.Options, tmsize_t(largest));
  // "r": read only; "m": never map the file; "D": load the offsets of a
  // directory's tiles only when they are first needed, so the directories of
  // images not decoded cost nothing.
  tiff_ = TIFFClientOpenExt("", "rmD", reports_.get(), ReadProc, WriteProc, SeekProc, CloseProc,
                            SizeProc, MapProc, UnmapProc, options.Options);
  if (!tiff_) Fail("Invalid TIF File");
}

TLibTiffHandle::~TLibTiffHandle() {
  if (tiff_) TIFFClose(tiff_);
}

void TLibTiffHandle::BeginCall() {
  if (reports_->HasError) AddWarning(*reports_, std::move(reports_->FirstError));
  reports_->HasError = false;
  reports_->FirstError.clear();
}

bool TLibTiffHandle::DataEndedEarly() const {
  return reports_->HasError && reports_->FirstError.find("Not enough data") != std::string::npos;
}

void TLibTiffHandle::Fail(const std::string& what) const {
  if (reports_->HasError) throw EQuorvaneError(what + ": " + reports_->FirstError);
  throw EQuorvaneError(what);
}

}  // namespace quorvane
