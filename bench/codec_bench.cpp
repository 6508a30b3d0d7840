// Writing and reading an 8000 x 6000 RGB picture through our TIFF codec and
// the PNG and JPEG codecs, each beside the reference library used on its own
// with the same settings, all from and to memory.
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include <cstring>
#include <memory>
#include <vector>

#include "formats/jpeg_codec.h"
#include "formats/png_codec.h"
#include "geo/geotiff_georef.h"
#include "raster/byte_stream.h"
#include "tiff/tiff_reader.h"
#include "tiff/tiff_writer.h"

namespace {

using namespace quorvane;

constexpr int kWidth = 8000, kHeight = 6000;

// A photograph-like picture: smooth gradients with mild noise, so run-length
// and deflate coding see realistic data, not a constant or pure noise.
const TRasterBitmap& Picture() {
  static const TRasterBitmap picture = [] {
    TRasterBitmap b;
    b.Reset(TPixelFormat::Bit24, kWidth, kHeight);
    uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* p = b.Scanline(y);
      for (int x = 0; x < kWidth; ++x, p += 3) {
        seed = seed * 1664525u + 1013904223u;
        const int noise = int(seed >> 29);  // 0..7
        p[0] = uint8_t((x / 32 + noise) & 255);
        p[1] = uint8_t((y / 24 + noise) & 255);
        p[2] = uint8_t(((x + y) / 56) & 255);
        if ((x / 200 + y / 150) % 5 == 0) p[0] = p[1] = p[2] = 200;  // flat areas
      }
    }
    return b;
  }();
  return picture;
}

// Top-down red, green, blue rows, as the libraries want them.
const std::vector<uint8_t>& RgbRows() {
  static const std::vector<uint8_t> rows = [] {
    std::vector<uint8_t> out(size_t(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
      const uint8_t* in = Picture().Scanline(y);
      uint8_t* o = out.data() + size_t(y) * kWidth * 3;
      for (int x = 0; x < kWidth; ++x) {
        o[3 * x] = in[3 * x + 2];
        o[3 * x + 1] = in[3 * x + 1];
        o[3 * x + 2] = in[3 * x];
      }
    }
    return out;
  }();
  return rows;
}

// The output of one decode: new, untouched memory, as each of our decoders
// produces a new picture (page faults included on both sides).
struct FreshRows {
  std::unique_ptr<uint8_t[]> memory{new uint8_t[size_t(kWidth) * kHeight * 3]};
  uint8_t* data() { return memory.get(); }
};

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
}

// ---- TIFF ---------------------------------------------------------------

std::vector<uint8_t> OurTiff(bool packbits) {
  TByteStream stream(EncodeTiff(Picture(), {.PackBits = packbits}));
  return stream.TakeBytes();
}

void BM_TiffWrite_Ours(benchmark::State& state) {
  const bool packbits = state.range(0) != 0;
  for (auto _ : state) benchmark::DoNotOptimize(OurTiff(packbits));
  SetBytes(state);
}
BENCHMARK(BM_TiffWrite_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// libtiff on a memory "file".
struct TMemoryFile {
  std::vector<uint8_t> bytes;
  toff_t position = 0;
};
tsize_t MemRead(thandle_t h, tdata_t buf, tsize_t n) {
  auto* f = static_cast<TMemoryFile*>(h);
  const tsize_t available = std::min<tsize_t>(n, tsize_t(f->bytes.size()) - tsize_t(f->position));
  if (available <= 0) return 0;
  std::memcpy(buf, f->bytes.data() + f->position, size_t(available));
  f->position += toff_t(available);
  return available;
}
tsize_t MemWrite(thandle_t h, tdata_t buf, tsize_t n) {
  auto* f = static_cast<TMemoryFile*>(h);
  if (f->position + toff_t(n) > f->bytes.size()) f->bytes.resize(f->position + toff_t(n));
  std::memcpy(f->bytes.data() + f->position, buf, size_t(n));
  f->position += toff_t(n);
  return n;
}
toff_t MemSeek(thandle_t h, toff_t off, int whence) {
  auto* f = static_cast<TMemoryFile*>(h);
  if (whence == SEEK_SET) f->position = off;
  if (whence == SEEK_CUR) f->position += off;
  if (whence == SEEK_END) f->position = f->bytes.size() + off;
  return f->position;
}
int MemClose(thandle_t) {
  return 0;
}
toff_t MemSize(thandle_t h) {
  return static_cast<TMemoryFile*>(h)->bytes.size();
}
int MemMap(thandle_t, tdata_t*, toff_t*) {
  return 0;
}
void MemUnmap(thandle_t, tdata_t, toff_t) {}

std::vector<uint8_t> LibtiffWrite(bool packbits) {
  TMemoryFile file;
  TIFF* tif = TIFFClientOpen("mem", "w", &file, MemRead, MemWrite, MemSeek, MemClose, MemSize,
                             MemMap, MemUnmap);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kHeight);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, packbits ? COMPRESSION_PACKBITS : COMPRESSION_NONE);
  const auto& rows = RgbRows();
  for (int y = 0; y < kHeight; ++y)
    TIFFWriteScanline(tif, const_cast<uint8_t*>(rows.data()) + size_t(y) * kWidth * 3, uint32_t(y),
                      0);
  TIFFClose(tif);
  return std::move(file.bytes);
}

void BM_TiffWrite_Libtiff(benchmark::State& state) {
  const bool packbits = state.range(0) != 0;
  for (auto _ : state) benchmark::DoNotOptimize(LibtiffWrite(packbits));
  SetBytes(state);
}
BENCHMARK(BM_TiffWrite_Libtiff)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_TiffRead_Ours(benchmark::State& state) {
  const std::vector<uint8_t> file = OurTiff(state.range(0) != 0);
  for (auto _ : state) {
    TByteStream stream = TByteStream::CopyOf(file);
    TRasterBitmap bitmap;
    TGeoTiffTags tags;
    DecodeTiff(stream.Bytes(), bitmap, tags);
    benchmark::DoNotOptimize(bitmap.Bits());
  }
  SetBytes(state);
}
BENCHMARK(BM_TiffRead_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_TiffRead_Libtiff(benchmark::State& state) {
  const std::vector<uint8_t> bytes = OurTiff(state.range(0) != 0);
  for (auto _ : state) {
    FreshRows rows;
    TMemoryFile file{bytes, 0};  // a copy, as ours reads from its own copy
    TIFF* tif = TIFFClientOpen("mem", "r", &file, MemRead, MemWrite, MemSeek, MemClose, MemSize,
                               MemMap, MemUnmap);
    TIFFSetWarningHandler(nullptr);
    for (int y = 0; y < kHeight; ++y)
      TIFFReadScanline(tif, rows.data() + size_t(y) * kWidth * 3, uint32_t(y), 0);
    TIFFClose(tif);
    benchmark::DoNotOptimize(rows.data());
  }
  SetBytes(state);
}
BENCHMARK(BM_TiffRead_Libtiff)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- PNG ----------------------------------------------------------------

void BM_PngEncode_Ours(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(EncodePng(Picture()));
  SetBytes(state);
}
BENCHMARK(BM_PngEncode_Ours)->Unit(benchmark::kMillisecond);

void PngWrite(png_structp png, png_bytep data, size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
void PngFlush(png_structp) {}

std::vector<uint8_t> LibpngEncode() {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, PngWrite, PngFlush);
  png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_set_compression_level(png, 7);
  png_set_compression_buffer_size(png, 65535);
  png_write_info(png, info);
  const auto& rows = RgbRows();
  for (int y = 0; y < kHeight; ++y) png_write_row(png, rows.data() + size_t(y) * kWidth * 3);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

void BM_PngEncode_Libpng(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LibpngEncode());
  SetBytes(state);
}
BENCHMARK(BM_PngEncode_Libpng)->Unit(benchmark::kMillisecond);

void BM_PngDecode_Ours(benchmark::State& state) {
  const auto png = EncodePng(Picture());
  for (auto _ : state) {
    TRasterBitmap b;
    DecodePng(png, b);
    benchmark::DoNotOptimize(b.Bits());
  }
  SetBytes(state);
}
BENCHMARK(BM_PngDecode_Ours)->Unit(benchmark::kMillisecond);

struct TPngInput {
  const std::vector<uint8_t>* bytes;
  size_t position;
};
void PngRead(png_structp png, png_bytep out, size_t n) {
  auto* in = static_cast<TPngInput*>(png_get_io_ptr(png));
  std::memcpy(out, in->bytes->data() + in->position, n);
  in->position += n;
}

void BM_PngDecode_Libpng(benchmark::State& state) {
  const auto bytes = EncodePng(Picture());
  for (auto _ : state) {
    FreshRows rows;
    TPngInput input{&bytes, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &input, PngRead);
    png_read_info(png, info);
    png_read_update_info(png, info);
    for (int y = 0; y < kHeight; ++y)
      png_read_row(png, rows.data() + size_t(y) * kWidth * 3, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(rows.data());
  }
  SetBytes(state);
}
BENCHMARK(BM_PngDecode_Libpng)->Unit(benchmark::kMillisecond);

// ---- JPEG ---------------------------------------------------------------

void BM_JpegEncode_Ours(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(EncodeJpeg(Picture(), {.Quality = kDefaultJpegQuality}));
  SetBytes(state);
}
BENCHMARK(BM_JpegEncode_Ours)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> LibjpegEncode() {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  const auto& rows = RgbRows();
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rows.data() + size_t(info.next_scanline) * kWidth * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  free(buffer);
  return out;
}

void BM_JpegEncode_Libjpeg(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LibjpegEncode());
  SetBytes(state);
}
BENCHMARK(BM_JpegEncode_Libjpeg)->Unit(benchmark::kMillisecond);

void BM_JpegDecode_Ours(benchmark::State& state) {
  const auto jpeg = EncodeJpeg(Picture(), {.Quality = kDefaultJpegQuality});
  for (auto _ : state) {
    TRasterBitmap b;
    DecodeJpeg(jpeg, b);
    benchmark::DoNotOptimize(b.Bits());
  }
  SetBytes(state);
}
BENCHMARK(BM_JpegDecode_Ours)->Unit(benchmark::kMillisecond);

void BM_JpegDecode_Libjpeg(benchmark::State& state) {
  const auto jpeg = EncodeJpeg(Picture(), {.Quality = kDefaultJpegQuality});
  for (auto _ : state) {
    FreshRows rows;
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), jpeg.size());
    jpeg_read_header(&info, TRUE);
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = rows.data() + size_t(info.output_scanline) * kWidth * 3;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(rows.data());
  }
  SetBytes(state);
}
BENCHMARK(BM_JpegDecode_Libjpeg)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
