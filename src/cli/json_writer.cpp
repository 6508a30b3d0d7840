#include "cli/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quorvane::cli {

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
}  // namespace

std::string JsonEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (const size_t length = c >= 0x80 ? Utf8SequenceLength(text, i) : 0; length > 0) {
          // Well-formed UTF-8 (the degree sign of the readouts) passes as it is.
          out += text.substr(i, length);
          i += length - 1;
        } else if (c < 0x20 || c >= 0x80) {
          // Bytes from files are not guaranteed UTF-8; keep each one visible.
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += ch;
        }
    }
  }
  return out;
}

void TJsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!first_in_scope_.empty()) {
    if (!first_in_scope_.back()) text_ += ", ";
    first_in_scope_.back() = false;
  }
}

TJsonWriter& TJsonWriter::BeginObject() {
  BeforeValue();
  text_ += '{';
  first_in_scope_.push_back(true);
  return *this;
}

TJsonWriter& TJsonWriter::EndObject() {
  first_in_scope_.pop_back();
  text_ += '}';
  return *this;
}

TJsonWriter& TJsonWriter::BeginArray() {
  BeforeValue();
  text_ += '[';
  first_in_scope_.push_back(true);
  return *this;
}

TJsonWriter& TJsonWriter::EndArray() {
  first_in_scope_.pop_back();
  text_ += ']';
  return *this;
}

TJsonWriter& TJsonWriter::Key(std::string_view name) {
  BeforeValue();
  text_ += '"';
  text_ += JsonEscape(name);
  text_ += "\": ";
  after_key_ = true;
  return *this;
}

TJsonWriter& TJsonWriter::String(std::string_view value) {
  BeforeValue();
  text_ += '"';
  text_ += JsonEscape(value);
  text_ += '"';
  return *this;
}

TJsonWriter& TJsonWriter::Number(double value) {
  if (!std::isfinite(value)) return Null();
  BeforeValue();
  text_ += ShortestDouble(value);
  return *this;
}

TJsonWriter& TJsonWriter::Integer(int64_t value) {
  BeforeValue();
  text_ += std::to_string(value);
  return *this;
}

TJsonWriter& TJsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
  return *this;
}

TJsonWriter& TJsonWriter::Null() {
  BeforeValue();
  text_ += "null";
  return *this;
}

}  // namespace quorvane::cli
