// Decoding a few bands ahead on a second thread hands the consumer every
// band in order, stops the decoder when the consumer has enough, and brings
// either side's failure back to the caller with the decoder thread ended.
#include "raster/band_read_ahead.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace quorvane {
namespace {

// Ten bands of one row, each row filled with its band's number.
class TCountingRows final : public TPictureRows {
 public:
  explicit TCountingRows(int fail_at) : fail_at_(fail_at) { picture_ = {4, 10}; }
  void Stream(const TBandHandler& rows) override {
    TRasterBitmap band;
    band.Reset(TPixelFormat::Bit8, 4, 1);
    for (int i = 0; i < 10; ++i) {
      if (i == fail_at_) throw std::runtime_error("decoder");
      band.Scanline(0)[0] = uint8_t(i);
      ++decoded;
      if (!rows(band, 1)) return;
    }
  }
  int decoded = 0;

 private:
  int fail_at_;
};

TEST(BandReadAhead, HandsOnBandsInOrderAndBringsFailuresBack) {
  struct TCase {
    int DecoderFailsAt, ConsumerFailsAt, ConsumerStopsAt;
    std::vector<int> Seen;
    const char* Failure;
  };
  const TCase cases[] = {
      {-1, -1, -1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, nullptr},
      {4, -1, -1, {0, 1, 2, 3}, "decoder"},
      {-1, 3, -1, {0, 1, 2}, "consumer"},
      {-1, -1, 2, {0, 1, 2}, nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Failure ? c.Failure : "none");
    TCountingRows rows(c.DecoderFailsAt);
    std::vector<int> seen;
    std::string failure;
    try {
      StreamAhead(rows, [&](const TRasterBitmap& band, int count) {
        EXPECT_EQ(count, 1);
        const int i = band.Scanline(0)[0];
        if (i == c.ConsumerFailsAt) throw std::runtime_error("consumer");
        seen.push_back(i);
        return i != c.ConsumerStopsAt;
      });
    } catch (const std::runtime_error& e) {
      failure = e.what();
    }
    EXPECT_EQ(seen, c.Seen);
    EXPECT_EQ(failure, c.Failure ? c.Failure : "");
    // The decoder stopped soon after the consumer: at most the bands that
    // wait, the one being copied and the one the consumer had.
    if (c.ConsumerStopsAt >= 0) EXPECT_LE(rows.decoded, c.ConsumerStopsAt + 4);
  }
}

}  // namespace
}  // namespace quorvane
