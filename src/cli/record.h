#pragma once
// The one record a command prints, rendered either as "name: value" lines or
// as one JSON object, both from the same values so the two cannot drift.
#include <nlohmann/json.hpp>
#include <string>

namespace quorvane::cli {

// Named values in the order they were added; objects and lists nest.
// Integers are added as integers, measurements as doubles.
using TRecord = nlohmann::ordered_json;

// One line per value, "name: value"; the names of nested objects joined
// with ".". A list of numbers stays on one line, blank-separated; any other
// list gives one line per item (an item that is a list of numbers on one
// line, an object flattened). Empty lists give no line, null gives "none".
// Doubles print as ShortestDouble; strings as they are, except that control
// characters and bytes that are not UTF-8 print as \u00XX.
std::string RenderText(const TRecord& record);

// One JSON object on one line. Doubles print as the shortest text that reads
// back to the same value, plain digits for map magnitudes; NaN and
// infinities, which JSON cannot carry, as null. Bytes that are not UTF-8 (a
// file's ASCII parameters may hold any) stand for the character of the same
// number.
std::string RenderJson(const TRecord& record);

// Prints the record's rendering and a newline after the JSON object.
void PrintRecord(const TRecord& record, bool as_json);

// Shortest round-trip text of a double: "30", "0.1", "4649776.5", plain
// digits from 1e-5 up to 1e17, exponent notation beyond.
std::string ShortestDouble(double value);

}  // namespace quorvane::cli
