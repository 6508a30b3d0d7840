// Prints the keys of the formats fuzz_format can run, one a line: the
// format table is the fuzzers' list (scripts/fuzz.sh reads it).
#include <cstdio>

#include "io/format_table.h"

int main() {
  for (const quorvane::TImageFormat& format : quorvane::ImageFormats())
    if (format.Reads()) std::printf("%s\n", format.Key);
}
