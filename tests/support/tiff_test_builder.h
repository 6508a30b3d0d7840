#pragma once
// Builds TIFF files byte by byte for the reader tests: an 8-byte header, a
// data area, then one directory whose entries stay in the order they were
// added (so tests can put tags out of order on purpose). Values that fit the
// 4-byte field go inline, left-justified, as the format prescribes.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvane::test_support {

class TTiffBuilder {
 public:
  explicit TTiffBuilder(bool big_endian) : big_endian_(big_endian) {}
  // Puts the directory right after the header, with room for `entries`
  // entries, so that cutting the file short cuts the image data, not the
  // directory. Values too long for the entry still go after the data.
  TTiffBuilder(bool big_endian, uint16_t entries)
      : big_endian_(big_endian), directory_first_(entries) {}

  bool BigEndian() const { return big_endian_; }

  // Appends bytes to the data area and returns their file offset.
  uint32_t AddData(const std::vector<uint8_t>& bytes, bool word_aligned = true) {
    if (word_aligned && data_.size() % 2 != 0) data_.push_back(0);
    const uint32_t offset = uint32_t(DataStart() + data_.size());
    data_.insert(data_.end(), bytes.begin(), bytes.end());
    return offset;
  }

  TTiffBuilder& Short(uint16_t tag, std::initializer_list<uint16_t> values) {
    return Short(tag, std::vector<uint16_t>(values));
  }
  TTiffBuilder& Short(uint16_t tag, const std::vector<uint16_t>& values) {
    std::vector<uint8_t> bytes;
    for (uint16_t v : values) Put(bytes, v, 2);
    return Entry(tag, 3, uint32_t(values.size()), bytes);
  }
  TTiffBuilder& Long(uint16_t tag, std::initializer_list<uint32_t> values) {
    return Long(tag, std::vector<uint32_t>(values));
  }
  TTiffBuilder& Long(uint16_t tag, const std::vector<uint32_t>& values) {
    std::vector<uint8_t> bytes;
    for (uint32_t v : values) Put(bytes, v, 4);
    return Entry(tag, 4, uint32_t(values.size()), bytes);
  }
  TTiffBuilder& Doubles(uint16_t tag, const std::vector<double>& values) {
    std::vector<uint8_t> bytes;
    for (double v : values) {
      uint64_t bits;
      static_assert(sizeof bits == sizeof v);
      __builtin_memcpy(&bits, &v, 8);
      Put(bytes, bits, 8);
    }
    return Entry(tag, 12, uint32_t(values.size()), bytes);
  }
  TTiffBuilder& Ascii(uint16_t tag, const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return Entry(tag, 2, uint32_t(bytes.size()), bytes);
  }
  // Payload in file byte order; placed inline when it fits.
  TTiffBuilder& Entry(uint16_t tag, uint16_t type, uint32_t count,
                      const std::vector<uint8_t>& payload) {
    entries_.push_back({tag, type, count, payload, false, 0});
    return *this;
  }
  // An entry whose value/offset field is given as it stands (for offsets that
  // point nowhere).
  TTiffBuilder& RawEntry(uint16_t tag, uint16_t type, uint32_t count, uint32_t field) {
    entries_.push_back({tag, type, count, {}, true, field});
    return *this;
  }

  // Values in the builder's byte order, for hand-made payloads.
  std::vector<uint8_t> Words(std::initializer_list<uint16_t> values) const {
    std::vector<uint8_t> bytes;
    for (uint16_t v : values) Put(bytes, v, 2);
    return bytes;
  }

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> file;
    file.push_back(big_endian_ ? 'M' : 'I');
    file.push_back(big_endian_ ? 'M' : 'I');
    Put(file, 42, 2);
    Put(file, 0, 4);  // patched below
    file.resize(DataStart(), 0);
    file.insert(file.end(), data_.begin(), data_.end());
    std::vector<uint32_t> fields;
    for (const auto& e : entries_) {
      if (e.raw) {
        fields.push_back(e.field);
      } else if (e.payload.size() <= 4) {
        fields.push_back(0);
      } else {
        if (file.size() % 2 != 0) file.push_back(0);
        fields.push_back(uint32_t(file.size()));
        file.insert(file.end(), e.payload.begin(), e.payload.end());
      }
    }
    if (file.size() % 2 != 0) file.push_back(0);
    const uint32_t ifd = directory_first_ != 0 ? 8 : uint32_t(file.size());
    std::vector<uint8_t> offset;
    Put(offset, ifd, 4);
    std::copy(offset.begin(), offset.end(), file.begin() + 4);
    std::vector<uint8_t> tail;
    if (directory_first_ != 0) {
      tail.assign(file.begin() + DataStart(), file.end());
      file.resize(8);
    }
    Put(file, uint16_t(entries_.size()), 2);
    for (size_t i = 0; i < entries_.size(); ++i) {
      const auto& e = entries_[i];
      Put(file, e.tag, 2);
      Put(file, e.type, 2);
      Put(file, e.count, 4);
      if (!e.raw && e.payload.size() <= 4) {
        std::vector<uint8_t> inline_bytes = e.payload;
        inline_bytes.resize(4, 0);
        file.insert(file.end(), inline_bytes.begin(), inline_bytes.end());
      } else {
        Put(file, fields[i], 4);
      }
    }
    Put(file, 0, 4);  // no next directory
    if (directory_first_ != 0) {
      if (file.size() > DataStart()) throw std::logic_error("directory larger than reserved");
      file.resize(DataStart(), 0);
      file.insert(file.end(), tail.begin(), tail.end());
    }
    return file;
  }

 private:
  struct TEntry {
    uint16_t tag, type;
    uint32_t count;
    std::vector<uint8_t> payload;
    bool raw;
    uint32_t field;
  };

  void Put(std::vector<uint8_t>& out, uint64_t value, int bytes) const {
    for (int i = 0; i < bytes; ++i) {
      const int shift = big_endian_ ? 8 * (bytes - 1 - i) : 8 * i;
      out.push_back(uint8_t(value >> shift));
    }
  }

  size_t DataStart() const { return directory_first_ ? 8 + 2 + 12 * directory_first_ + 4 : 8; }

  bool big_endian_;
  uint16_t directory_first_ = 0;
  std::vector<uint8_t> data_;
  std::vector<TEntry> entries_;
};

// LZW as TIFF 6.0 defines it: a Clear code first, codes most significant bit
// first, the width growing when the next code would reach 2^width - 1, a Clear
// before the table overflows and an end-of-information code last.
inline std::vector<uint8_t> LzwEncode(const std::vector<uint8_t>& input) {
  std::vector<uint8_t> out;
  uint64_t acc = 0;
  int held = 0;
  int width = 9;
  auto emit = [&](uint32_t code) {
    acc = acc << width | code;
    held += width;
    while (held >= 8) {
      out.push_back(uint8_t(acc >> (held - 8)));
      held -= 8;
    }
  };
  std::map<std::pair<uint32_t, uint8_t>, uint32_t> table;
  uint32_t next = 258;
  emit(256);
  // The encoder runs one entry ahead of the decoder, so it widens one code
  // later than the decoder's "next >= 2^width - 1".
  auto grow = [&] {
    if (next > (1u << width) - 1 && width < 12) ++width;
  };
  if (!input.empty()) {
    uint32_t current = input[0];
    for (size_t i = 1; i < input.size(); ++i) {
      const auto key = std::make_pair(current, input[i]);
      auto it = table.find(key);
      if (it != table.end()) {
        current = it->second;
        continue;
      }
      emit(current);
      table[key] = next++;
      grow();
      if (next >= 4094) {
        emit(256);
        table.clear();
        next = 258;
        width = 9;
      }
      current = input[i];
    }
    emit(current);
    ++next;
    grow();
  }
  emit(257);
  if (held > 0) out.push_back(uint8_t(acc << (8 - held)));
  return out;
}

// PackBits from the format's definition, runs of up to 128 bytes; never
// crosses the end of the given row.
inline std::vector<uint8_t> PackBitsEncode(const std::vector<uint8_t>& row) {
  std::vector<uint8_t> out;
  size_t i = 0;
  while (i < row.size()) {
    size_t run = 1;
    while (i + run < row.size() && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out.push_back(uint8_t(257 - run));
      out.push_back(row[i]);
      i += run;
      continue;
    }
    size_t literal = 1;
    while (i + literal < row.size() && literal < 128 &&
           !(i + literal + 1 < row.size() && row[i + literal] == row[i + literal + 1]))
      ++literal;
    out.push_back(uint8_t(literal - 1));
    out.insert(out.end(), row.begin() + i, row.begin() + i + literal);
    i += literal;
  }
  return out;
}

}  // namespace quorvane::test_support

namespace quorvane::test_support {

// A whole image as raw rows in file order, and how to store it.
struct TTestImage {
  bool big_endian = false;
  uint32_t width = 0, height = 0;
  uint16_t bits_per_sample = 8, samples_per_pixel = 1;
  uint16_t photometric = 1;
  uint16_t compression = 1;
  uint16_t predictor = 0;           // 0: no tag
  uint32_t rows_per_strip = 0;      // 0: one strip, no RowsPerStrip tag
  std::vector<uint8_t> rows;        // height rows of RowBytes, already predicted
  std::vector<uint16_t> color_map;  // red, green, blue runs; empty: no tag
};

inline size_t RowBytesOf(const TTestImage& s) {
  return (size_t(s.width) * s.bits_per_sample * s.samples_per_pixel + 7) / 8;
}

inline std::vector<uint8_t> EncodeStrip(const TTestImage& s, size_t first_row, size_t rows) {
  const size_t row_bytes = RowBytesOf(s);
  std::vector<uint8_t> raw(s.rows.begin() + first_row * row_bytes,
                           s.rows.begin() + (first_row + rows) * row_bytes);
  if (s.compression == 5) return LzwEncode(raw);
  if (s.compression == 32773) {
    std::vector<uint8_t> out;
    for (size_t r = 0; r < rows; ++r) {
      const std::vector<uint8_t> row(raw.begin() + r * row_bytes,
                                     raw.begin() + (r + 1) * row_bytes);
      const std::vector<uint8_t> packed = PackBitsEncode(row);
      out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
  }
  return raw;
}

inline TTiffBuilder BuilderFor(const TTestImage& s) {
  TTiffBuilder b(s.big_endian);
  const uint32_t per_strip = s.rows_per_strip == 0 ? s.height : s.rows_per_strip;
  std::vector<uint32_t> offsets, counts;
  for (uint32_t row = 0; row < s.height; row += per_strip) {
    const uint32_t rows = std::min(per_strip, s.height - row);
    const std::vector<uint8_t> strip = EncodeStrip(s, row, rows);
    offsets.push_back(b.AddData(strip));
    counts.push_back(uint32_t(strip.size()));
  }
  b.Long(256, {s.width}).Long(257, {s.height});
  std::vector<uint16_t> bits(s.samples_per_pixel, s.bits_per_sample);
  b.Short(258, bits).Short(259, {s.compression}).Short(262, {s.photometric});
  b.Long(273, offsets).Short(277, {s.samples_per_pixel});
  if (s.rows_per_strip != 0) b.Long(278, {s.rows_per_strip});
  b.Long(279, counts);
  if (s.predictor != 0) b.Short(317, {s.predictor});
  if (!s.color_map.empty()) b.Short(320, s.color_map);
  return b;
}

inline std::vector<uint8_t> MakeTiff(const TTestImage& s) {
  return BuilderFor(s).Build();
}

}  // namespace quorvane::test_support
