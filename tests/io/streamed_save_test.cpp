// Saves convert the picture a row at a time and write as they encode; the
// file is byte for byte what encoding a converted copy of the whole picture
// gives, and a write that fails ends the save with its own message.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "formats/gif_codec.h"
#include "formats/iff.h"
#include "formats/jpeg_codec.h"
#include "formats/pcx.h"
#include "formats/png_codec.h"
#include "io/format_registry.h"
#include "raster/error.h"
#include "support/test_pictures.h"
#include "tiff/tiff_writer.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// What the save wrote before it streamed: the writer's whole-picture encoder
// over a converted copy.
std::vector<uint8_t> EncodedCopy(const TRasterBitmap& picture, const std::string& ext) {
  TRasterBitmap copy = picture;
  if (ext == ".gif") {
    copy.SetPixelFormat(TPixelFormat::Bit8);
    return EncodeGif(copy);
  }
  if (ext == ".lbm") return EncodeLbm(picture, {.Compress = true});
  copy.SetPixelFormat(TPixelFormat::Bit24);
  if (ext == ".png") return EncodePng(copy);
  if (ext == ".jpg") return EncodeJpeg(copy);
  if (ext == ".pcx") return EncodePcx(copy);
  return EncodeTiff(copy, {.PackBits = true});
}

TEST(StreamedSave, WritesWhatEncodingAConvertedCopyGives) {
  const fs::path folder =
      fs::temp_directory_path() / ("quorvane-stream-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  for (TPixelFormat format : {TPixelFormat::Bit1, TPixelFormat::Bit4, TPixelFormat::Bit8,
                              TPixelFormat::Bit16, TPixelFormat::Bit24, TPixelFormat::Bit32}) {
    // An odd width, so rows carry padding; noise, so an 8-bit palette must be chosen.
    const TRasterBitmap picture = test_support::NoisePicture(format, 37, 23);
    for (const std::string ext : {".png", ".jpg", ".gif", ".pcx", ".lbm", ".tif"}) {
      SCOPED_TRACE(std::to_string(picture.BitsPerPixel()) + " bits to " + ext);
      const fs::path path = folder / ("out" + ext);
      SaveBitmapFile(picture, path.string(), {.Compress = true});
      EXPECT_EQ(test_support::ReadFileBytes(path), EncodedCopy(picture, ext));
    }
  }
  fs::remove_all(folder);
}

// Fails once `allowed` bytes have been written.
class TFullDisk final : public TByteSink {
 public:
  explicit TFullDisk(uint64_t allowed) : allowed_(allowed) {}
  void Write(const void*, size_t n) override {
    if (end_ + n > allowed_) throw EQuorvaneError("disk full");
    end_ += n;
  }
  void WriteAt(uint64_t, const void*, size_t) override {}
  uint64_t End() const override { return end_; }

 private:
  uint64_t allowed_, end_ = 0;
};

// The libraries' writers call back from C; the sink's failure still reaches
// the caller, whatever the library makes of it.
template <typename TWriter>
std::string FailedSave(const TRasterBitmap& picture, uint64_t allowed) {
  TFullDisk sink(allowed);
  try {
    TWriter writer(sink, FrameOf(picture));
    WriteRows(picture, writer);
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "no error";
}

TEST(StreamedSave, AFailingWriteEndsTheSaveWithItsOwnMessage) {
  const TRasterBitmap picture = test_support::Noise24(300, 200);
  TRasterBitmap indexed = picture;
  indexed.SetPixelFormat(TPixelFormat::Bit8);
  for (uint64_t allowed : {0, 10, 5000}) {
    EXPECT_EQ(FailedSave<TPngWriter>(picture, allowed), "disk full");
    EXPECT_EQ(FailedSave<TJpegWriter>(picture, allowed), "disk full");
    EXPECT_EQ(FailedSave<TGifWriter>(indexed, allowed), "disk full");
  }
}

}  // namespace
}  // namespace quorvane
