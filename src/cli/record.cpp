#include "cli/record.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace quorvane::cli {

namespace {

// Length of the well-formed UTF-8 sequence of two to four bytes at `i`, or 0.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

// Calls `keep(piece)` for runs of printable text and well-formed UTF-8, and
// `odd(byte)` for control characters and stray bytes.
template <typename TKeep, typename TOdd>
void WalkBytes(std::string_view text, TKeep keep, TOdd odd) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x80) {
      keep(text.substr(i, 1));
    } else if (const size_t length = c >= 0x80 ? Utf8SequenceLength(text, i) : 0; length > 0) {
      keep(text.substr(i, length));
      i += length - 1;
    } else {
      odd(c);
    }
  }
}

std::string TextValue(std::string_view text) {
  std::string out;
  WalkBytes(
      text, [&](std::string_view piece) { out += piece; },
      [&](unsigned char c) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
        out += escaped;
      });
  return out;
}

// Stray bytes become the UTF-8 of the character with their number; control
// characters stay for the JSON writer to escape.
std::string Utf8Value(std::string_view text) {
  std::string out;
  WalkBytes(
      text, [&](std::string_view piece) { out += piece; },
      [&](unsigned char c) {
        if (c < 0x80) {
          out += char(c);
        } else {
          out += char(0xC0 | (c >> 6));
          out += char(0x80 | (c & 0x3F));
        }
      });
  return out;
}

std::string ScalarText(const TRecord& value) {
  if (value.is_null()) return "none";
  if (value.is_string()) return TextValue(value.get_ref<const std::string&>());
  if (value.is_number_float()) return ShortestDouble(value.get<double>());
  return value.dump();  // integers and booleans
}

bool IsNumberList(const TRecord& value) {
  if (!value.is_array()) return false;
  for (const TRecord& item : value) {
    if (!item.is_number()) return false;
  }
  return true;
}

std::string NumberListText(const TRecord& list) {
  std::string text;
  for (const TRecord& item : list) {
    if (!text.empty()) text += ' ';
    text += ScalarText(item);
  }
  return text;
}

void AppendLines(const std::string& name, const TRecord& value, std::string& out);

void AppendObject(const std::string& prefix, const TRecord& object, std::string& out) {
  for (const auto& [key, value] : object.items()) AppendLines(prefix + key, value, out);
}

void AppendLines(const std::string& name, const TRecord& value, std::string& out) {
  if (value.is_object()) {
    AppendObject(name + ".", value, out);
  } else if (value.is_array() && !value.empty() && IsNumberList(value)) {
    out += name + ": " + NumberListText(value) + "\n";
  } else if (value.is_array()) {
    for (const TRecord& item : value) {
      if (item.is_array() && IsNumberList(item)) {
        out += name + ": " + NumberListText(item) + "\n";
      } else {
        AppendLines(name, item, out);
      }
    }
  } else {
    out += name + ": " + ScalarText(value) + "\n";
  }
}

TRecord WithUtf8Strings(const TRecord& value) {
  if (value.is_string()) return Utf8Value(value.get_ref<const std::string&>());
  if (!value.is_structured()) return value;
  TRecord copy = value;
  for (auto& item : copy) item = WithUtf8Strings(item);
  return copy;
}

}  // namespace

std::string ShortestDouble(double value) {
  // Plain digits for the magnitudes map coordinates have (500000, not 5e+05);
  // exponent notation only where plain digits would run long.
  char buffer[400];
  const double magnitude = std::fabs(value);
  const bool plain = magnitude == 0 || (magnitude >= 1e-5 && magnitude < 1e17);
  const auto result =
      plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
            : std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string RenderText(const TRecord& record) {
  std::string out;
  AppendObject("", record, out);
  return out;
}

std::string RenderJson(const TRecord& record) {
  return WithUtf8Strings(record).dump();
}

void PrintRecord(const TRecord& record, bool as_json) {
  const std::string text = as_json ? RenderJson(record) + "\n" : RenderText(record);
  std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace quorvane::cli
