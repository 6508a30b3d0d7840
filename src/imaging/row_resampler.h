#pragma once
// The resampler of ResampledBitmap fed the source a row at a time, top row
// first: rows are resampled horizontally as they come into a ring of work
// rows, and each destination row is made as soon as the rows its vertical
// list names have come. Every byte is the one ResampledBitmap gives; memory
// is a few rows of either width.
#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/contributors.h"
#include "imaging/pseudo_bitmap.h"
#include "imaging/resample_kernels.h"

namespace quorvane {

class TRowResampler {
 public:
  // 24-bit rows of src_width pixels in, 24-bit rows of new_width out.
  TRowResampler(int src_width, int src_height, int new_width, int new_height,
                TResampleFilter filter, TKernelLevel kernel = TKernelLevel::Auto);

  // False when some destination row reads a source row that has left the
  // ring by the time it is made (far reflections of tiny sources); such
  // resizes need the whole picture.
  bool Streams() const { return streams_; }

  using TRowOut = std::function<void(const uint8_t* row)>;
  // The next source row; destination rows that become ready go to `out`,
  // in order.
  void Push(const uint8_t* row, const TRowOut& out);
  // After the last source row: the destination rows still owed.
  void Finish(const TRowOut& out);

 private:
  void Flush();
  void Emit(const TRowOut& out);

  int src_width_, src_height_, new_width_, new_height_;
  TKernelLevel level_;
  TContributorTable horizontal_, vertical_;
  std::vector<int> high_;
  bool streams_ = true;
  int capacity_ = 1;
  std::vector<uint8_t> pending_;  // source rows waiting for a block
  int pending_rows_ = 0;
  int produced_ = 0;  // source rows resampled horizontally
  int next_out_ = 0;  // the next destination row
  TPseudoBitmap ring_;
  std::vector<uint8_t> scratch_, out_;
  std::vector<TContributor> mapped_;
};

}  // namespace quorvane
