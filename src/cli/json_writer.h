#pragma once
// A small streaming JSON writer for the CLI's --json output. Doubles are
// written as the shortest text that reads back to the same value; values
// JSON cannot carry (NaN, infinities) are written as null.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::cli {

class TJsonWriter {
 public:
  TJsonWriter& BeginObject();
  TJsonWriter& EndObject();
  TJsonWriter& BeginArray();
  TJsonWriter& EndArray();
  TJsonWriter& Key(std::string_view name);
  TJsonWriter& String(std::string_view text);
  TJsonWriter& Number(double value);
  TJsonWriter& Integer(int64_t value);
  TJsonWriter& Bool(bool value);
  TJsonWriter& Null();
  const std::string& Text() const { return text_; }

 private:
  void BeforeValue();
  std::string text_;
  std::vector<bool> first_in_scope_;
  bool after_key_ = false;
};

// Shortest round-trip text of a double ("30", "0.1", "4649776.5").
std::string ShortestDouble(double value);
std::string JsonEscape(std::string_view text);

}  // namespace quorvane::cli
