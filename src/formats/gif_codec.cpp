// giflib reports errors by return codes, so no jump is needed here; every
// handle is closed by a guard, and callbacks never let an exception escape
// into the library.
#include "formats/gif_codec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "raster/byte_sink.h"
#include "raster/error.h"
#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

struct TGifSource {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t position = 0;
  bool ended_early = false;
};

int ReadData(GifFileType* gif, GifByteType* out, int n) {
  auto* source = static_cast<TGifSource*>(gif->UserData);
  const size_t available =
      std::min<size_t>(size_t(std::max(n, 0)), source->size - source->position);
  if (available < size_t(n)) source->ended_early = true;
  if (available > 0) std::memcpy(out, source->data + source->position, available);
  source->position += available;
  return int(available);
}

// Where giflib's writes go; no exception may cross giflib's frames, so a
// failed write is kept for the caller and giflib reports a write error.
struct TGifOutput {
  TByteSink* Sink;
  TSinkFailure Failure;
};

int WriteData(GifFileType* gif, const GifByteType* data, int n) {
  auto* output = static_cast<TGifOutput*>(gif->UserData);
  if (n < 0 || !output->Failure.Write(*output->Sink, data, size_t(n))) return 0;
  return n;
}

std::string GifText(int code) {
  const char* text = GifErrorString(code);
  return text ? text : "unknown error";
}
std::string GifMessage(int code) {
  return "Invalid GIF file: " + GifText(code);
}
std::string GifWriteMessage(int code) {
  return "GIF: " + GifText(code);
}

struct TGifReader {
  GifFileType* gif = nullptr;
  ~TGifReader() {
    int ignored;
    if (gif) DGifCloseFile(gif, &ignored);
  }
  [[noreturn]] void Fail() const {
    throw EQuorvaneError(GifMessage(gif->Error), TErrorKind::Corrupt);
  }
};

void SetColorTable(TRasterBitmap& bitmap, const ColorMapObject* map) {
  if (!map || !map->Colors) return;  // keep the grey ramp
  auto table = bitmap.ColorTable();
  for (auto& entry : table) entry = {};
  const int count = std::min<int>(map->ColorCount, int(table.size()));
  for (int i = 0; i < count; ++i)
    table[i] = {map->Colors[i].Blue, map->Colors[i].Green, map->Colors[i].Red, 0};
}

// Where each local index lands in the screen's palette: the nearest colour.
std::vector<uint8_t> MapToPalette(const ColorMapObject* from, std::span<const TRGBQuad> to) {
  std::vector<uint8_t> map(256);
  for (int i = 0; i < 256; ++i) map[i] = uint8_t(i);
  if (!from || !from->Colors) return map;
  for (int i = 0; i < from->ColorCount && i < 256; ++i) {
    const GifColorType c = from->Colors[i];
    map[i] = NearestPaletteIndex(to, c.Red, c.Green, c.Blue);
  }
  return map;
}

// The image rows of a frame in the order they are stored.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(size_t(height));
  if (interlaced) {
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int r = starts[pass]; r < height; r += steps[pass]) order.push_back(r);
  } else {
    for (int r = 0; r < height; ++r) order.push_back(r);
  }
  return order;
}

// Opens the file and reads up to the first frame's descriptor: the frame,
// the logical screen it lands on and the transparent index of its graphic
// control block.
struct TGifFirstFrame {
  GifImageDesc Frame;
  int ScreenWidth = 0, ScreenHeight = 0;
  int Transparent = -1;
};

TGifFirstFrame ReadFirstFrame(TGifReader& reader, const TDecodeLimits& limits) {
  GifFileType* gif = reader.gif;
  TGifFirstFrame first;
  for (;;) {
    GifRecordType record;
    if (DGifGetRecordType(gif, &record) == GIF_ERROR) reader.Fail();
    if (record == TERMINATE_RECORD_TYPE)
      throw EQuorvaneError("Invalid GIF file: no image in file", TErrorKind::Corrupt);
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) reader.Fail();
      // The graphic control block of the first frame says which index is
      // transparent; it matters only when the frame is drawn onto the screen.
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4 && (block[1] & 1))
        first.Transparent = block[4];
      while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) reader.Fail();
      }
      continue;
    }
    if (record == IMAGE_DESC_RECORD_TYPE) break;
  }
  if (DGifGetImageDesc(gif) == GIF_ERROR) reader.Fail();
  first.Frame = gif->Image;
  first.ScreenWidth = gif->SWidth;
  first.ScreenHeight = gif->SHeight;
  // A screen of no size is taken to be the frame's own extent.
  if (first.ScreenWidth <= 0 || first.ScreenHeight <= 0) {
    first.ScreenWidth = first.Frame.Left + first.Frame.Width;
    first.ScreenHeight = first.Frame.Top + first.Frame.Height;
  }
  if (first.ScreenWidth <= 0 || first.ScreenHeight <= 0)
    throw EQuorvaneError("GIF: image has no pixels", TErrorKind::Corrupt);
  limits.CheckPicture(first.ScreenWidth, first.ScreenHeight, 8);
  return first;
}

void OpenGif(TGifReader& reader, TGifSource& source) {
  int error = 0;
  reader.gif = DGifOpen(&source, ReadData, &error);
  if (!reader.gif) throw EQuorvaneError(GifMessage(error), TErrorKind::Corrupt);
}

}  // namespace

TPictureInfo ReadGifHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits) {
  TGifSource source{bytes.data(), bytes.size(), 0, false};
  TGifReader reader;
  OpenGif(reader, source);
  const TGifFirstFrame first = ReadFirstFrame(reader, limits);
  return {first.ScreenWidth, first.ScreenHeight, TPixelFormat::Bit8};
}

void DecodeGif(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options) {
  TGifSource source{bytes.data(), bytes.size(), 0, false};
  TGifReader reader;
  OpenGif(reader, source);
  GifFileType* gif = reader.gif;
  const TGifFirstFrame first = ReadFirstFrame(reader, options.Limits);
  const GifImageDesc& frame = first.Frame;
  const int screen_width = first.ScreenWidth, screen_height = first.ScreenHeight;
  const int transparent = first.Transparent;
  // Without any colour table the indices are shown as grey levels.
  const ColorMapObject* frame_map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;

  // The picture is the screen; only when the frame covers it exactly are the
  // frame's own indices and palette the picture.
  const bool whole_screen = frame.Left == 0 && frame.Top == 0 && frame.Width == screen_width &&
                            frame.Height == screen_height;
  TRasterBitmap decoded;
  decoded.Reset(TPixelFormat::Bit8, screen_width, screen_height);
  std::vector<uint8_t> map;
  if (whole_screen) {
    SetColorTable(decoded, frame_map);
  } else {
    const ColorMapObject* screen_map = gif->SColorMap ? gif->SColorMap : frame_map;
    SetColorTable(decoded, screen_map);
    const uint8_t background = gif->SColorMap && gif->SBackGroundColor < gif->SColorMap->ColorCount
                                   ? uint8_t(gif->SBackGroundColor)
                                   : 0;
    for (int r = 0; r < screen_height; ++r)
      std::memset(decoded.Scanline(r), background, size_t(screen_width));
    map = MapToPalette(frame_map, decoded.ColorTable());
  }

  // Only the part of the frame that lies on the screen is drawn, but the
  // rows before it must still be decoded to get there.
  const int x0 = std::clamp(frame.Left, 0, screen_width);
  const int x1 = std::clamp(frame.Left + frame.Width, x0, screen_width);
  const std::vector<int> order = RowOrder(std::max(frame.Height, 0), frame.Interlace);
  std::vector<GifPixelType> line(size_t(std::max(frame.Width, 0)));
  TRowProgress row_progress(options.Progress, order.size());
  for (size_t i = 0; i < order.size() && frame.Width > 0; ++i) {
    const int y = frame.Top + order[i];
    if (!frame.Interlace && y >= screen_height) break;  // nothing further can show
    if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
      if (source.ended_early && i > 0) break;  // keep the rows that arrived
      reader.Fail();
    }
    row_progress.RowsDone(i + 1);
    if (y < 0 || y >= screen_height) continue;
    uint8_t* out = decoded.Scanline(y);
    if (whole_screen) {
      std::memcpy(out, line.data(), line.size());
      continue;
    }
    for (int x = x0; x < x1; ++x) {
      const uint8_t index = line[size_t(x - frame.Left)];
      if (index != transparent) out[x] = map[index];
    }
  }
  row_progress.End();
  bitmap = std::move(decoded);
}

struct TGifWriter::TState {
  TGifOutput Output;
  GifFileType* Gif = nullptr;
  ~TState() {
    int ignored;
    if (Gif) EGifCloseFile(Gif, &ignored);
  }
};

TGifWriter::TGifWriter(TByteSink& sink, const TPictureFrame& frame, TStageReporter* progress)
    : state_(std::make_unique<TState>()), frame_(frame) {
  if (!IsPaletteFormat(frame.PixelFormat))
    throw EQuorvaneError("GIF: only palette pictures can be written", TErrorKind::Unsupported);
  if (frame.Width <= 0 || frame.Height <= 0)
    throw EQuorvaneError("GIF: cannot write an empty picture");
  if (frame.Width > 65535 || frame.Height > 65535)
    throw EQuorvaneError("GIF: image too large (at most 65535 x 65535 pixels)",
                         TErrorKind::TooLarge);
  const int bits = BitsPerPixelOf(frame.PixelFormat);
  const int colors = 1 << bits;
  state_->Output.Sink = &sink;
  int error = 0;
  state_->Gif = EGifOpen(&state_->Output, WriteData, &error);
  if (!state_->Gif) throw EQuorvaneError(GifWriteMessage(error));

  std::vector<GifColorType> palette(static_cast<size_t>(colors));
  for (int i = 0; i < colors && i < int(frame.Palette.size()); ++i)
    palette[i] = {frame.Palette[i].Red, frame.Palette[i].Green, frame.Palette[i].Blue};
  ColorMapObject* map = GifMakeMapObject(colors, palette.data());
  if (!map) throw ENotEnoughMemory("write the GIF file");
  // EGifPutScreenDesc copies the map, so ours is freed right after.
  const int status = EGifPutScreenDesc(state_->Gif, frame.Width, frame.Height, bits, 0, map);
  GifFreeMapObject(map);
  if (status == GIF_ERROR) Fail(state_->Gif->Error);
  if (EGifPutImageDesc(state_->Gif, 0, 0, frame.Width, frame.Height, false, nullptr) == GIF_ERROR)
    Fail(state_->Gif->Error);
  line_.resize(size_t(frame.Width));
  rows_.emplace(progress, uint64_t(frame.Height));
}

TGifWriter::~TGifWriter() = default;

void TGifWriter::Fail(int code) const {
  state_->Output.Failure.Rethrow();
  throw EQuorvaneError(GifWriteMessage(code));
}

void TGifWriter::WriteRow(const uint8_t* in) {
  const int bits = BitsPerPixelOf(frame_.PixelFormat);
  if (bits == 8) {
    std::memcpy(line_.data(), in, line_.size());
  } else {
    // Unpack 1- and 4-bit indices, leftmost pixel in the high bits.
    const int per_byte = 8 / bits, mask = (1 << bits) - 1;
    for (int x = 0; x < frame_.Width; ++x)
      line_[x] = GifPixelType((in[x / per_byte] >> (8 - bits * (x % per_byte + 1))) & mask);
  }
  if (EGifPutLine(state_->Gif, line_.data(), frame_.Width) == GIF_ERROR) Fail(state_->Gif->Error);
  rows_->RowsDone(++rows_done_);
}

void TGifWriter::Finish() {
  GifFileType* gif = state_->Gif;
  state_->Gif = nullptr;
  int error = 0;
  if (EGifCloseFile(gif, &error) == GIF_ERROR) Fail(error);
  rows_->End();
}

std::vector<uint8_t> EncodeGif(const TRasterBitmap& bitmap, TStageReporter* progress) {
  TMemorySink sink;
  TGifWriter writer(sink, FrameOf(bitmap), progress);
  WriteRows(bitmap, writer);
  return sink.TakeBytes();
}

}  // namespace quorvane
