// The pictures backed by the program's PCX, TGA and IFF codecs.
#include "formats/iff.h"
#include "formats/pcx.h"
#include "formats/tga.h"
#include "io/picture_adapters.h"
#include "raster/file_io.h"

namespace quorvane {

namespace {
// Decodes into a fresh bitmap so a failure leaves the picture as it was.
template <typename Read>
void LoadInto(TRasterBitmap& picture, const std::string& path, Read read) {
  TByteStream stream(ReadWholeFile(path));
  TRasterBitmap decoded;
  read(stream, decoded);
  picture = std::move(decoded);
}
}  // namespace

void TTGABitmap::LoadFromFile(const std::string& path) {
  LoadInto(*this, path, [](TByteStream& s, TRasterBitmap& b) { ReadTga(s, b); });
}

void TTGABitmap::SaveToFile(const std::string& path) const {
  TByteStream stream;
  WriteTga(stream, *this);
  WriteFileAtomically(path, stream.Bytes());
}

void TPCXBitmap::LoadFromFile(const std::string& path) {
  LoadInto(*this, path, [](TByteStream& s, TRasterBitmap& b) { ReadPcx(s, b); });
}

void TPCXBitmap::SaveToFile(const std::string& path) const {
  TByteStream stream;
  WritePcx(stream, *this);  // converts a picture that is not 24-bit on a copy
  WriteFileAtomically(path, stream.Bytes());
}

void TLBMBitmap::LoadFromFile(const std::string& path) {
  LoadInto(*this, path, [](TByteStream& s, TRasterBitmap& b) { ReadLbm(s, b); });
}

void TLBMBitmap::SaveToFile(const std::string& path) const {
  TByteStream stream;
  WriteLbm(stream, *this, true);
  WriteFileAtomically(path, stream.Bytes());
}

}  // namespace quorvane
