// Writes small well-formed PCX, TGA and IFF files into <dir>/<target>/ to
// start the fuzzers from: the hand-built files of the tests and the output
// of our own writers.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "formats/pcx.h"
#include "formats/sample_files.h"
#include "formats/tga.h"
#include "raster/byte_stream.h"

using namespace quorvane;
using namespace quorvane::samples;

namespace {

void Put(const std::filesystem::path& dir, const std::string& name, const Bytes& bytes) {
  std::filesystem::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TRasterBitmap Gradient(TPixelFormat format, int width, int height) {
  TRasterBitmap b;
  b.Reset(format, width, height);
  const size_t row_bytes = size_t(RowStride(width, b.BitsPerPixel(), 8));
  for (int y = 0; y < height; ++y)
    for (size_t i = 0; i < row_bytes; ++i)
      b.Scanline(y)[i] = uint8_t(i * 7 + y * 13 + (i / 5) * 60);
  return b;
}

void PcxSeeds(const std::filesystem::path& dir) {
  struct Kind {
    uint8_t planes, bits;
    uint16_t bpl;
  };
  const Kind kinds[] = {{1, 1, 2}, {1, 2, 2}, {3, 1, 2}, {4, 1, 2}, {1, 8, 6}, {3, 8, 6}};
  int n = 0;
  for (const Kind& k : kinds) {
    TPcxFields f;
    f.Planes = k.planes;
    f.Bits = k.bits;
    f.Xmax = 5;
    f.Ymax = 2;
    f.BytesPerLine = k.bpl;
    for (int i = 0; i < 48; ++i) f.Palette[i] = uint8_t(i * 5);
    Bytes b = PcxHeader(f);
    for (int row = 0; row < 3; ++row)
      for (int i = 0; i < k.planes * k.bpl; ++i) Append(b, PcxLiteral({uint8_t(i * 37 + row)}));
    Append(b, {0xC5, 0x21});
    if (k.planes == 1 && k.bits == 8) {
      b.push_back(12);
      for (int i = 0; i < 768; ++i) b.push_back(uint8_t(i));
    }
    Put(dir, "hand_" + std::to_string(n++) + ".pcx", b);
  }
  TByteStream written(EncodePcx(Gradient(TPixelFormat::Bit24, 70, 4)));
  Put(dir, "written.pcx", written.Bytes());
}

void TgaSeeds(const std::filesystem::path& dir) {
  struct Kind {
    uint8_t type, depth, descriptor;
  };
  const Kind kinds[] = {{1, 8, 0},    {2, 16, 0x20}, {2, 24, 0},  {2, 32, 0x20}, {3, 8, 0},
                        {9, 8, 0x20}, {10, 15, 0},   {10, 24, 0}, {10, 32, 0},   {11, 8, 0}};
  int n = 0;
  for (const Kind& k : kinds) {
    const bool mapped = k.type == 1 || k.type == 9;
    Bytes b = TgaHeader(k.type, 4, 3, k.depth, k.descriptor, 2, mapped ? 1 : 0, mapped ? 4 : 0,
                        mapped ? 24 : 0);
    Append(b, {'i', 'd'});
    if (mapped)
      for (int i = 0; i < 12; ++i) b.push_back(uint8_t(i * 20));
    const int unit = (k.depth + 7) / 8;
    if (k.type >= 9) {
      for (int p = 0; p < 3; ++p) {
        b.push_back(0x82);  // a run of three
        for (int u = 0; u < unit; ++u) b.push_back(uint8_t(p + u + 1));
        b.push_back(0x00);  // one literal
        for (int u = 0; u < unit; ++u) b.push_back(uint8_t(p * 9 + u));
      }
    } else {
      for (int i = 0; i < 12 * unit; ++i) b.push_back(uint8_t(i % 4 + i * 3));
    }
    Put(dir, "hand_" + std::to_string(n++) + ".tga", b);
  }
  TByteStream written(EncodeTga(Gradient(TPixelFormat::Bit24, 5, 3)));
  Put(dir, "written.tga", written.Bytes());
}

void IffSeeds(const std::filesystem::path& dir) {
  int n = 0;
  for (uint8_t planes : {1, 4, 8}) {
    for (uint8_t compression : {0, 1}) {
      Bytes body;
      for (int row = 0; row < 3; ++row)
        for (int p = 0; p < planes; ++p) {
          if (compression)
            Append(body, {0xFF, uint8_t(0x5A + p)});  // two equal bytes
          else
            Append(body, {uint8_t(0x5A + p + row), uint8_t(0xC3 ^ p)});
        }
      Put(dir, "ilbm_" + std::to_string(n++) + ".iff",
          IffForm("ILBM", {IffChunk("BMHD", Bmhd(13, 3, planes, compression)),
                           IffChunk("ANNO", {'h', 'i', '!'}), IffChunk("CMAP", Cmap(1 << planes)),
                           IffChunk("BODY", body)}));
    }
  }
  Bytes body;
  for (int i = 0; i < 5 * 3; ++i) body.push_back(uint8_t(i * 3));
  Put(dir, "pbm_plain.iff",
      IffForm("PBM ", {IffChunk("BMHD", Bmhd(5, 3, 8, 0)), IffChunk("CMAP", Cmap(16)),
                       IffChunk("BODY", body)}));
  Put(dir, "pbm_rle.iff",
      IffForm("PBM ",
              {IffChunk("BMHD", Bmhd(5, 3, 8, 1)), IffChunk("CMAP", Cmap(16)),
               IffChunk("BODY", {0xFC, 3, 0x01, 7, 8, 0xFE, 9, 0x80, 0x04, 1, 2, 3, 4, 5})}));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  PcxSeeds(dir / "pcx");
  TgaSeeds(dir / "tga");
  IffSeeds(dir / "iff");
  return 0;
}
