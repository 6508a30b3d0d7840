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

std::string JsonEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (const char ch : text) {
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
        if (c < 0x20 || c >= 0x80) {
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
