// The text layer: the decimal scanner against the C library's strtod, the
// fixed-decimal writer against snprintf, the integer scanner, each line
// rule (no line reaches past the text) and printf-style formatting.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_util.h"
#include "text/format.h"
#include "text/line_reader.h"
#include "text/numbers.h"

namespace {

template <const text::LineRules& kRules>
void ReadLines(std::string_view text) {
  text::LineReader<kRules> reader(text);
  for (std::string_view line; reader.Next(&line);) {
    if (line.data() < text.data() || line.data() + line.size() > text.data() + text.size() ||
        line.size() > kRules.keep) {
      __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::AsText(data, size);
  ReadLines<text::kPelixoLines>(text);
  ReadLines<text::kLibraryLines>(text);
  ReadLines<text::kCoordinateFileLines>(text);

  // The number at the start, as strtod reads it (hexadecimal and the
  // infinity and NaN words are strtod's alone).
  const std::string number(text.substr(0, text.find_first_of("xXiInN \t\n\v\f\r")));
  char* end = nullptr;
  const double expected = std::strtod(number.c_str(), &end);
  const text::DecimalScan scan = text::ScanDecimal(number);
  if (scan.used != static_cast<size_t>(end - number.c_str())) __builtin_trap();
  // Beyond the range (subnormals included) strtod and the scanner may differ.
  if (scan.used > 0 && !scan.out_of_range &&
      std::memcmp(&scan.value, &expected, sizeof expected) != 0) {
    __builtin_trap();
  }
  text::ScanInteger(text);
  int32_t integer = 0;
  text::ParseInt32(text, &integer);

  // The bytes as a double, written as printf writes it.
  if (size >= 9) {
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    const int decimals = data[8] % 64;
    if (!std::isnan(x)) {
      std::string fixed;
      text::AppendFixed(fixed, x, decimals);
      char buffer[400];
      std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
      if (fixed != buffer) __builtin_trap();
    }
    int32_t whole = 0;  // an int of its own: a double out of range has none
    std::memcpy(&whole, data, sizeof whole);
    text::Format(std::string(text.substr(9)), x, whole, text.substr(0, 4));
  }
  return 0;
}
