#pragma once
// One libtiff handle over a byte source. libtiff reports through callbacks;
// here they belong to the handle alone (never libtiff's process-wide
// handlers), record the first error and collect warnings, and never let a
// C++ exception cross libtiff's C frames. The caller checks after each libtiff
// call and throws then.
#include <tiffio.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "anytiff/any_tiff_source.h"

namespace quorvane {

// What libtiff told one handle. Filled from C callbacks, so nothing here
// throws out of them.
struct TLibTiffReports {
  TAnyTiffSource* Source = nullptr;
  uint64_t Position = 0;
  std::string FirstError;
  bool HasError = false;
  std::vector<std::string> Warnings;
};

class TLibTiffHandle {
 public:
  // Opens the first directory. `max_single_allocation` bounds every block
  // libtiff allocates for itself. Throws EQuorvaneError with libtiff's message
  // when the bytes are no TIFF it can read.
  TLibTiffHandle(TAnyTiffSource& source, uint64_t max_single_allocation);
  ~TLibTiffHandle();
  TLibTiffHandle(const TLibTiffHandle&) = delete;
  TLibTiffHandle& operator=(const TLibTiffHandle&) = delete;

  TIFF* Tiff() const { return tiff_; }
  TAnyTiffSource& Source() const { return *reports_->Source; }

  // Starts a libtiff call afresh: errors recorded before it are kept as
  // warnings, since the calls that raised them carried on.
  void BeginCall();
  bool HasError() const { return reports_->HasError; }
  // The first error says the compressed data ran out before the chunk was
  // complete (libtiff's codecs word it the same way): input that ends early,
  // rather than data that makes no sense.
  bool DataEndedEarly() const;
  // Throws EQuorvaneError: `what`, then libtiff's first error since
  // BeginCall when there was one.
  [[noreturn]] void Fail(const std::string& what) const;
  // Warnings and tolerated errors so far, at most a few dozen.
  const std::vector<std::string>& Warnings() const { return reports_->Warnings; }

 private:
  std::unique_ptr<TLibTiffReports> reports_;  // a stable address for the callbacks
  TIFF* tiff_ = nullptr;
};

}  // namespace quorvane
