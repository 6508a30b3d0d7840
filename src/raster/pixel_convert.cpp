// Moving pixels between pixel formats.
//
// Reading as 24-bit: palette indices look up their colour table entry
// (indices past the table read as black); 15- and 16-bit components are
// widened by repeating their high bits (5 bits v -> v<<3 | v>>2, 6 bits
// v -> v<<2 | v>>4), so 0 and full scale map to 0 and 255; 32-bit (and the
// 32-bit storage of device and custom pixels) drops the fourth byte.
//
// Writing from 24-bit: 15- and 16-bit take, per component, the value whose
// widened form is nearest (so 15/16 -> 24 -> 15/16 is the identity); 32-bit
// sets the fourth byte to 0; palette formats take the nearest colour of the
// bitmap's own colour table (squared distance in RGB, ties to the lowest
// index). The nearest-colour search is exact: the RGB cube is cut into
// 16 x 16 x 16 boxes, each box keeps (built on first use) the few palette
// entries that can be nearest to some colour inside it, and a direct-mapped
// cache remembers recent answers. A few palettes' search structures are kept
// per thread, so writing an image row by row pays for them once.
//
// SetPixelFormat:
//   - to 24-bit keeps every colour; to 15/16/32-bit goes through 24-bit;
//   - between 32-bit, device and custom (all held as 32-bit blue, green, red,
//     fourth byte) the bytes are copied unchanged;
//   - from a palette format to a palette format at least as large: indices
//     and colours are kept, the new entries are black;
//   - otherwise to 1-bit: black and white; to 4-bit: the 16 standard VGA
//     colours; to 8-bit: the image's own colours when it has at most 256
//     (sorted by red, green, blue; exact), else 256 colours chosen by a
//     variance-minimising median cut over the image's colour histogram; then
//     every pixel becomes the nearest palette colour (no dithering).
//   Resolution is kept.
#include "raster/pixel_convert.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "raster/byte_stream.h"
#include "raster/error.h"

namespace quorvane {

namespace {

// ------------------------------------------------------------ components

struct TComponentTables {
  uint8_t expand5[32];
  uint8_t expand6[64];
  uint8_t reduce5[256];
  uint8_t reduce6[256];
  TComponentTables() {
    for (int v = 0; v < 32; ++v) expand5[v] = uint8_t((v << 3) | (v >> 2));
    for (int v = 0; v < 64; ++v) expand6[v] = uint8_t((v << 2) | (v >> 4));
    for (int c = 0; c < 256; ++c) {
      int best = 0;
      for (int v = 1; v < 32; ++v)
        if (std::abs(expand5[v] - c) < std::abs(expand5[best] - c)) best = v;
      reduce5[c] = uint8_t(best);
      best = 0;
      for (int v = 1; v < 64; ++v)
        if (std::abs(expand6[v] - c) < std::abs(expand6[best] - c)) best = v;
      reduce6[c] = uint8_t(best);
    }
  }
};

const TComponentTables& Tables() {
  static const TComponentTables tables;
  return tables;
}

bool Is32BitStorage(TPixelFormat f) {
  return f == TPixelFormat::Bit32 || f == TPixelFormat::Device || f == TPixelFormat::Custom;
}

void CheckSpan(const TRasterBitmap& bitmap, int row, int x, int count) {
  if (row < 0 || row >= bitmap.Height())
    throw EQuorvaneError("Scan line index out of range", TErrorKind::Usage);
  if (count < 0 || x < 0 || int64_t(x) + count > bitmap.Width())
    throw EQuorvaneError("Pixel range out of range", TErrorKind::Usage);
}

// ------------------------------------------------------------ nearest colour

class TNearestColor {
 public:
  explicit TNearestColor(std::span<const TRGBQuad> palette)
      : palette_(palette.begin(), palette.end()),
        boxes_(kBoxes),
        built_(kBoxes, false),
        cache_(kCacheSize, TCacheEntry{kEmpty, 0}) {}

  bool Matches(std::span<const TRGBQuad> palette) const {
    return palette.size() == palette_.size() &&
           std::equal(palette.begin(), palette.end(), palette_.begin());
  }

  uint8_t Find(uint8_t blue, uint8_t green, uint8_t red) {
    const uint32_t key = (uint32_t(red) << 16) | (uint32_t(green) << 8) | blue;
    TCacheEntry& slot = cache_[((key * 0x9E3779B1u) >> 18) & (kCacheSize - 1)];
    if (slot.key == key) return slot.index;
    const int box = ((red >> 4) << 8) | ((green >> 4) << 4) | (blue >> 4);
    if (!built_[box]) Build(box);
    int best = -1;
    int best_distance = 0;
    for (const uint8_t i : boxes_[box]) {
      const TRGBQuad& p = palette_[i];
      const int dr = int(p.Red) - red, dg = int(p.Green) - green, db = int(p.Blue) - blue;
      const int d = dr * dr + dg * dg + db * db;
      if (best < 0 || d < best_distance) {
        best = i;
        best_distance = d;
      }
    }
    slot = {key, uint8_t(best < 0 ? 0 : best)};
    return slot.index;
  }

 private:
  static constexpr int kBoxes = 16 * 16 * 16;
  static constexpr size_t kCacheSize = 1 << 14;
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
  struct TCacheEntry {
    uint32_t key;
    uint8_t index;
  };

  void Build(int box) {
    const int lo[3] = {(box >> 8) << 4, ((box >> 4) & 15) << 4, (box & 15) << 4};  // r, g, b
    const int n = int(std::min<size_t>(palette_.size(), 256));
    std::vector<int> min_distance(n);
    int min_of_max = -1;
    for (int i = 0; i < n; ++i) {
      const int c[3] = {palette_[i].Red, palette_[i].Green, palette_[i].Blue};
      int near = 0, far = 0;
      for (int k = 0; k < 3; ++k) {
        const int a = lo[k], b = lo[k] + 15;
        const int dn = c[k] < a ? a - c[k] : c[k] > b ? c[k] - b : 0;
        const int df = std::max(std::abs(c[k] - a), std::abs(c[k] - b));
        near += dn * dn;
        far += df * df;
      }
      min_distance[i] = near;
      if (min_of_max < 0 || far < min_of_max) min_of_max = far;
    }
    auto& list = boxes_[box];
    for (int i = 0; i < n; ++i)
      if (min_distance[i] <= min_of_max) list.push_back(uint8_t(i));
    built_[box] = true;
  }

  std::vector<TRGBQuad> palette_;
  std::vector<std::vector<uint8_t>> boxes_;
  std::vector<bool> built_;
  std::vector<TCacheEntry> cache_;
};

TNearestColor& NearestFor(std::span<const TRGBQuad> palette) {
  constexpr int kSlots = 4;
  thread_local std::array<std::unique_ptr<TNearestColor>, kSlots> slots;
  thread_local int next = 0;
  for (auto& slot : slots)
    if (slot && slot->Matches(palette)) return *slot;
  auto& slot = slots[next];
  next = (next + 1) % kSlots;
  slot = std::make_unique<TNearestColor>(palette);
  return *slot;
}

// ------------------------------------------------------------ indices

inline uint8_t IndexAt(const uint8_t* row, int bits, int x) {
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? (row[x >> 1] & 15) : (row[x >> 1] >> 4);
    default:
      return row[x];
  }
}

inline void SetIndexAt(uint8_t* row, int bits, int x, uint8_t v) {
  switch (bits) {
    case 1: {
      const uint8_t bit = uint8_t(0x80 >> (x & 7));
      row[x >> 3] = (v & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
      break;
    }
    case 4:
      row[x >> 1] = (x & 1) ? uint8_t((row[x >> 1] & 0xF0) | (v & 15))
                            : uint8_t((row[x >> 1] & 0x0F) | (v << 4));
      break;
    default:
      row[x] = v;
  }
}

// ------------------------------------------------------------ palettes

std::vector<TRGBQuad> BlackWhitePalette() {
  return {{0, 0, 0, 0}, {255, 255, 255, 0}};
}

std::vector<TRGBQuad> VgaPalette() {
  // red, green, blue of the 16 standard VGA colours in the Windows order.
  static const uint8_t rgb[16][3] = {
      {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
      {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
      {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  std::vector<TRGBQuad> table(16);
  for (int i = 0; i < 16; ++i) table[i] = {rgb[i][2], rgb[i][1], rgb[i][0], 0};
  return table;
}

// One cell of the colour histogram: its pixels' count and component sums
// (red, green, blue). A cell holds one exact colour, or, for pictures with
// very many colours, all colours that agree in their top 6 bits.
struct TBin {
  double count = 0;
  double sum[3] = {0, 0, 0};
  double Mean(int k) const { return sum[k] / count; }
};

constexpr size_t kExactColourLimit = 1 << 16;

// Distinct colours with their counts, or an empty list when there are more
// than kExactColourLimit of them.
std::vector<TBin> ExactHistogram(const TRasterBitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  constexpr size_t kSlots = kExactColourLimit * 2;  // open addressing, half full at most
  constexpr uint32_t kFree = 0xFFFFFFFFu;
  std::vector<uint32_t> keys(kSlots, kFree);
  std::vector<uint32_t> counts(kSlots, 0);
  size_t distinct = 0;
  std::vector<uint8_t> row(size_t(w) * 3);
  for (int y = 0; y < h; ++y) {
    ReadRowAs24(bitmap, y, 0, w, row.data());
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &row[3 * size_t(x)];
      const uint32_t key = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
      size_t slot = ((key * 0x9E3779B1u) >> 15) & (kSlots - 1);
      while (keys[slot] != kFree && keys[slot] != key) slot = (slot + 1) & (kSlots - 1);
      if (keys[slot] == kFree) {
        if (++distinct > kExactColourLimit) return {};
        keys[slot] = key;
      }
      ++counts[slot];
    }
  }
  std::vector<std::pair<uint32_t, uint32_t>> colours;
  for (size_t i = 0; i < kSlots; ++i)
    if (keys[i] != kFree) colours.push_back({keys[i], counts[i]});
  std::sort(colours.begin(), colours.end());
  std::vector<TBin> bins;
  for (const auto& [key, count] : colours) {
    TBin bin;
    bin.count = count;
    for (int k = 0; k < 3; ++k) bin.sum[k] = double((key >> (16 - 8 * k)) & 255) * count;
    bins.push_back(bin);
  }
  return bins;
}

// Colours gathered in 64 x 64 x 64 cells.
std::vector<TBin> CellHistogram(const TRasterBitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  std::vector<TBin> cells(size_t(1) << 18);
  std::vector<uint8_t> row(size_t(w) * 3);
  for (int y = 0; y < h; ++y) {
    ReadRowAs24(bitmap, y, 0, w, row.data());
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &row[3 * size_t(x)];
      TBin& cell = cells[(size_t(p[2] >> 2) << 12) | (size_t(p[1] >> 2) << 6) | (p[0] >> 2)];
      cell.count += 1;
      cell.sum[0] += p[2];
      cell.sum[1] += p[1];
      cell.sum[2] += p[0];
    }
  }
  std::erase_if(cells, [](const TBin& c) { return c.count == 0; });
  return cells;
}

// Counts and sums of a run of bins, each bin standing at its mean colour.
struct TSums {
  double n = 0, s[3] = {0, 0, 0}, q[3] = {0, 0, 0};
  void Add(const TBin& b) {
    n += b.count;
    for (int k = 0; k < 3; ++k) {
      s[k] += b.sum[k];
      q[k] += b.sum[k] * b.sum[k] / b.count;
    }
  }
  double Variance(int k) const { return n == 0 ? 0 : std::max(q[k] - s[k] * s[k] / n, 0.0); }
  double Error() const { return Variance(0) + Variance(1) + Variance(2); }
};

TSums SumsOf(const std::vector<TBin>& bins, size_t begin, size_t end) {
  TSums s;
  for (size_t i = begin; i < end; ++i) s.Add(bins[i]);
  return s;
}

struct TBox {
  size_t begin, end;
  double error;  // summed squared distance of its pixels from their mean
};

// Splits the bins into at most `wanted` boxes, each time the box with the
// largest squared error, along its axis of largest variance, at the point
// that leaves the two halves the smallest summed error. Each box becomes
// the mean colour of its pixels.
std::vector<TRGBQuad> MedianCut(std::vector<TBin> bins, size_t wanted) {
  std::vector<TBox> boxes;
  if (bins.empty()) return {};
  boxes.push_back({0, bins.size(), SumsOf(bins, 0, bins.size()).Error()});
  while (boxes.size() < wanted) {
    size_t pick = boxes.size();
    for (size_t i = 0; i < boxes.size(); ++i)
      if (boxes[i].end - boxes[i].begin > 1 && boxes[i].error > 0 &&
          (pick == boxes.size() || boxes[i].error > boxes[pick].error))
        pick = i;
    if (pick == boxes.size()) break;
    const TBox box = boxes[pick];
    const TSums total = SumsOf(bins, box.begin, box.end);
    int axis = 0;
    for (int k = 1; k < 3; ++k)
      if (total.Variance(k) > total.Variance(axis)) axis = k;
    std::stable_sort(bins.begin() + box.begin, bins.begin() + box.end,
                     [axis](const TBin& a, const TBin& b) { return a.Mean(axis) < b.Mean(axis); });
    TSums left;
    size_t best = box.begin + 1;
    double best_error = -1;
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
      left.Add(bins[i]);
      TSums right;
      right.n = total.n - left.n;
      for (int k = 0; k < 3; ++k) {
        right.s[k] = total.s[k] - left.s[k];
        right.q[k] = total.q[k] - left.q[k];
      }
      const double e = left.Error() + right.Error();
      if (best_error < 0 || e < best_error) {
        best_error = e;
        best = i + 1;
      }
    }
    boxes[pick] = {box.begin, best, SumsOf(bins, box.begin, best).Error()};
    boxes.push_back({best, box.end, SumsOf(bins, best, box.end).Error()});
  }
  std::vector<TRGBQuad> palette;
  for (const TBox& box : boxes) {
    const TSums s = SumsOf(bins, box.begin, box.end);
    uint8_t c[3];
    for (int k = 0; k < 3; ++k) c[k] = uint8_t(std::clamp(int(s.s[k] / s.n + 0.5), 0, 255));
    palette.push_back({c[2], c[1], c[0], 0});
  }
  return palette;
}

// A palette of at most 256 colours for the picture: its own colours when
// they fit (sorted by red, green, blue), else a median cut over its exact
// colours or, past 65536 of them, over 6-bit cells.
std::vector<TRGBQuad> ChoosePalette8(const TRasterBitmap& bitmap) {
  std::vector<TBin> bins = ExactHistogram(bitmap);
  if (bins.empty() && !bitmap.Empty()) bins = CellHistogram(bitmap);
  if (bins.size() <= 256) {
    std::vector<TRGBQuad> palette;
    for (const TBin& b : bins)
      palette.push_back(
          {uint8_t(b.Mean(2) + 0.5), uint8_t(b.Mean(1) + 0.5), uint8_t(b.Mean(0) + 0.5), 0});
    return palette;
  }
  return MedianCut(std::move(bins), 256);
}

}  // namespace

// ------------------------------------------------------------ rows

void ReadRowAs24(const TRasterBitmap& bitmap, int row, int x, int count, uint8_t* out) {
  if (count <= 0) return;  // an empty bitmap has no pixel memory to address
  CheckSpan(bitmap, row, x, count);
  const uint8_t* in = bitmap.Scanline(row);
  const TPixelFormat format = bitmap.PixelFormat();
  switch (format) {
    case TPixelFormat::Bit1:
    case TPixelFormat::Bit4:
    case TPixelFormat::Bit8: {
      const int bits = bitmap.BitsPerPixel();
      const auto table = bitmap.ColorTable();
      const size_t n = table.size();
      for (int i = 0; i < count; ++i) {
        const uint8_t index = IndexAt(in, bits, x + i);
        const TRGBQuad q = index < n ? table[index] : TRGBQuad{};
        out[3 * i] = q.Blue;
        out[3 * i + 1] = q.Green;
        out[3 * i + 2] = q.Red;
      }
      break;
    }
    case TPixelFormat::Bit15: {
      const auto& t = Tables();
      const uint8_t* p = in + 2 * size_t(x);
      for (int i = 0; i < count; ++i, p += 2) {
        const unsigned v = unsigned(p[0]) | (unsigned(p[1]) << 8);
        out[3 * i] = t.expand5[v & 31];
        out[3 * i + 1] = t.expand5[(v >> 5) & 31];
        out[3 * i + 2] = t.expand5[(v >> 10) & 31];
      }
      break;
    }
    case TPixelFormat::Bit16: {
      const auto& t = Tables();
      const uint8_t* p = in + 2 * size_t(x);
      for (int i = 0; i < count; ++i, p += 2) {
        const unsigned v = unsigned(p[0]) | (unsigned(p[1]) << 8);
        out[3 * i] = t.expand5[v & 31];
        out[3 * i + 1] = t.expand6[(v >> 5) & 63];
        out[3 * i + 2] = t.expand5[(v >> 11) & 31];
      }
      break;
    }
    case TPixelFormat::Bit24:
      std::memcpy(out, in + 3 * size_t(x), 3 * size_t(count));
      break;
    case TPixelFormat::Bit32:
    case TPixelFormat::Device:
    case TPixelFormat::Custom: {
      const uint8_t* p = in + 4 * size_t(x);
      for (int i = 0; i < count; ++i, p += 4) {
        out[3 * i] = p[0];
        out[3 * i + 1] = p[1];
        out[3 * i + 2] = p[2];
      }
      break;
    }
  }
}

namespace {

// `count` pixels given as blue, green, red into pixels x .. x+count-1 of a
// row of `format`; palette formats take the nearest colour of `palette`.
void PixelsFrom24(TPixelFormat format, std::span<const TRGBQuad> palette, uint8_t* out, int x,
                  int count, const uint8_t* in) {
  switch (format) {
    case TPixelFormat::Bit1:
    case TPixelFormat::Bit4:
    case TPixelFormat::Bit8: {
      const int bits = BitsPerPixelOf(format);
      TNearestColor& nearest = NearestFor(palette);
      if (bits == 8) {
        for (int i = 0; i < count; ++i)
          out[x + i] = nearest.Find(in[3 * i], in[3 * i + 1], in[3 * i + 2]);
      } else {
        for (int i = 0; i < count; ++i)
          SetIndexAt(out, bits, x + i, nearest.Find(in[3 * i], in[3 * i + 1], in[3 * i + 2]));
      }
      break;
    }
    case TPixelFormat::Bit15: {
      const auto& t = Tables();
      uint8_t* p = out + 2 * size_t(x);
      for (int i = 0; i < count; ++i, p += 2) {
        const unsigned v = unsigned(t.reduce5[in[3 * i]]) |
                           (unsigned(t.reduce5[in[3 * i + 1]]) << 5) |
                           (unsigned(t.reduce5[in[3 * i + 2]]) << 10);
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
      }
      break;
    }
    case TPixelFormat::Bit16: {
      const auto& t = Tables();
      uint8_t* p = out + 2 * size_t(x);
      for (int i = 0; i < count; ++i, p += 2) {
        const unsigned v = unsigned(t.reduce5[in[3 * i]]) |
                           (unsigned(t.reduce6[in[3 * i + 1]]) << 5) |
                           (unsigned(t.reduce5[in[3 * i + 2]]) << 11);
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
      }
      break;
    }
    case TPixelFormat::Bit24:
      std::memcpy(out + 3 * size_t(x), in, 3 * size_t(count));
      break;
    case TPixelFormat::Bit32:
    case TPixelFormat::Device:
    case TPixelFormat::Custom: {
      uint8_t* p = out + 4 * size_t(x);
      for (int i = 0; i < count; ++i, p += 4) {
        p[0] = in[3 * i];
        p[1] = in[3 * i + 1];
        p[2] = in[3 * i + 2];
        p[3] = 0;
      }
      break;
    }
  }
}

}  // namespace

void WriteRowFrom24(TRasterBitmap& bitmap, int row, int x, int count, const uint8_t* in) {
  if (count <= 0) return;  // an empty bitmap has no pixel memory to address
  CheckSpan(bitmap, row, x, count);
  PixelsFrom24(bitmap.PixelFormat(), bitmap.ColorTable(), bitmap.Scanline(row), x, count, in);
}

// ------------------------------------------------------------ block copy

void CopyRect(const TRasterBitmap& source, int sx, int sy, int width, int height,
              TRasterBitmap& destination, int dx, int dy) {
  // Clip against both bitmaps in 64-bit arithmetic.
  int64_t x0 = sx, y0 = sy, x1 = dx, y1 = dy, w = width, h = height;
  if (x0 < 0) {
    w += x0;
    x1 -= x0;
    x0 = 0;
  }
  if (y0 < 0) {
    h += y0;
    y1 -= y0;
    y0 = 0;
  }
  if (x1 < 0) {
    w += x1;
    x0 -= x1;
    x1 = 0;
  }
  if (y1 < 0) {
    h += y1;
    y0 -= y1;
    y1 = 0;
  }
  w = std::min({w, int64_t(source.Width()) - x0, int64_t(destination.Width()) - x1});
  h = std::min({h, int64_t(source.Height()) - y0, int64_t(destination.Height()) - y1});
  if (w <= 0 || h <= 0) return;

  const TPixelFormat sf = source.PixelFormat(), df = destination.PixelFormat();
  const bool same_palette =
      !IsPaletteFormat(sf) || (source.ColorTable().size() == destination.ColorTable().size() &&
                               std::equal(source.ColorTable().begin(), source.ColorTable().end(),
                                          destination.ColorTable().begin()));
  const bool raw = sf == df && same_palette;
  const int bits = source.BitsPerPixel();
  // Overlap inside one bitmap: copy rows away from the direction of the move.
  const bool backwards = &source == &destination && y1 > y0;
  std::vector<uint8_t> buffer(raw && bits < 8 ? size_t(w) : size_t(w) * 3);

  for (int64_t i = 0; i < h; ++i) {
    const int64_t r = backwards ? h - 1 - i : i;
    const int srow = int(y0 + r), drow = int(y1 + r);
    if (raw && bits >= 8) {
      const size_t bpp = size_t(bits) / 8;
      std::memmove(destination.Scanline(drow) + size_t(x1) * bpp,
                   source.Scanline(srow) + size_t(x0) * bpp, size_t(w) * bpp);
    } else if (raw) {
      const uint8_t* in = source.Scanline(srow);
      for (int64_t x = 0; x < w; ++x) buffer[size_t(x)] = IndexAt(in, bits, int(x0 + x));
      uint8_t* out = destination.Scanline(drow);
      for (int64_t x = 0; x < w; ++x) SetIndexAt(out, bits, int(x1 + x), buffer[size_t(x)]);
    } else {
      ReadRowAs24(source, srow, int(x0), int(w), buffer.data());
      WriteRowFrom24(destination, drow, int(x1), int(w), buffer.data());
    }
  }
}

// ------------------------------------------------------------ format change

std::vector<TRGBQuad> ConvertedPalette(const TRasterBitmap& bitmap, TPixelFormat format) {
  if (!IsPaletteFormat(format)) return {};
  if (format == bitmap.PixelFormat()) {
    const auto own = bitmap.ColorTable();
    return std::vector<TRGBQuad>(own.begin(), own.end());
  }
  std::vector<TRGBQuad> table(size_t(1) << BitsPerPixelOf(format));
  std::vector<TRGBQuad> palette;
  if (IsPaletteFormat(bitmap.PixelFormat()) && bitmap.BitsPerPixel() <= BitsPerPixelOf(format)) {
    // A larger palette: the same colours, the new entries black.
    const auto own = bitmap.ColorTable();
    palette.assign(own.begin(), own.end());
  } else {
    palette = format == TPixelFormat::Bit1   ? BlackWhitePalette()
              : format == TPixelFormat::Bit4 ? VgaPalette()
                                             : ChoosePalette8(bitmap);
  }
  std::copy_n(palette.begin(), std::min(palette.size(), table.size()), table.begin());
  return table;
}

void ConvertRow(const TRasterBitmap& bitmap, int row, TPixelFormat format,
                std::span<const TRGBQuad> palette, uint8_t* out, std::vector<uint8_t>& scratch) {
  const int w = bitmap.Width();
  if (w <= 0) return;  // a row of no pixels has no memory to address
  const int to_bits = BitsPerPixelOf(format);
  const TPixelFormat from = bitmap.PixelFormat();
  // Padding and the bits of packed pixels start as zeros, as in new pixel memory.
  std::memset(out, 0, size_t(RowStride(w, to_bits, 32)));
  const uint8_t* in = bitmap.Scanline(row);
  if (Is32BitStorage(from) && Is32BitStorage(format)) {
    std::memcpy(out, in, bitmap.Stride());
  } else if (IsPaletteFormat(format) && IsPaletteFormat(from) && bitmap.BitsPerPixel() <= to_bits) {
    const int from_bits = bitmap.BitsPerPixel();
    for (int x = 0; x < w; ++x) SetIndexAt(out, to_bits, x, IndexAt(in, from_bits, x));
  } else {
    scratch.resize(size_t(w) * 3);
    ReadRowAs24(bitmap, row, 0, w, scratch.data());
    PixelsFrom24(format, palette, out, 0, w, scratch.data());
  }
}

void TRasterBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  TRasterBitmap result;
  result.Reset(format, width_, height_);
  result.SetPelsPerMeter(x_pels_per_meter_, y_pels_per_meter_);
  const std::vector<TRGBQuad> palette = ConvertedPalette(*this, format);
  auto table = result.ColorTable();
  std::copy_n(palette.begin(), std::min(palette.size(), table.size()), table.begin());
  std::vector<uint8_t> scratch;
  for (int y = 0; y < height_; ++y)
    ConvertRow(*this, y, format, palette, result.Scanline(y), scratch);
  *this = std::move(result);
}

const TRasterBitmap& InPixelFormat(const TRasterBitmap& bitmap, TPixelFormat format,
                                   std::optional<TRasterBitmap>& copy) {
  if (bitmap.PixelFormat() == format) return bitmap;
  copy.emplace(bitmap);
  copy->SetPixelFormat(format);
  return *copy;
}

uint8_t NearestPaletteIndex(std::span<const TRGBQuad> palette, uint8_t red, uint8_t green,
                            uint8_t blue) {
  int best = 0, best_distance = -1;
  const int n = int(std::min<size_t>(palette.size(), 256));
  for (int i = 0; i < n; ++i) {
    const TRGBQuad& p = palette[size_t(i)];
    const int dr = int(p.Red) - red, dg = int(p.Green) - green, db = int(p.Blue) - blue;
    const int d = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || d < best_distance) best = i, best_distance = d;
  }
  return uint8_t(best);
}

}  // namespace quorvane
