// printf-style formatting, independent of the process locale: numbers
// always get a period, and "%15.3lf" rounds exactly as the C library does
// (to nearest, ties to even on the exact binary value).
//
// Supported: %s %d %i %x %X %c %f (with the l/h length letters ignored),
// the flags '-', '0', ' ' and '+', a width and a precision. An argument of the wrong
// kind is converted (a double for %d is truncated, an integer for %f
// widened); a missing argument prints as nothing.
#ifndef TEXT_FORMAT_H_
#define TEXT_FORMAT_H_

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace text {

class FormatArg {
 public:
  FormatArg(std::string_view s) : kind_(kText), text_(s) {}  // NOLINT
  FormatArg(const char* s) : kind_(kText), text_(s ? s : "") {}  // NOLINT
  FormatArg(const std::string& s) : kind_(kText), text_(s) {}  // NOLINT
  FormatArg(int v) : kind_(kInteger), integer_(v) {}  // NOLINT
  FormatArg(long v) : kind_(kInteger), integer_(v) {}  // NOLINT
  FormatArg(long long v) : kind_(kInteger), integer_(v) {}  // NOLINT
  FormatArg(unsigned v) : kind_(kInteger), integer_(v) {}  // NOLINT
  FormatArg(unsigned long v)  // NOLINT
      : kind_(kInteger), integer_(static_cast<int64_t>(v)) {}
  FormatArg(unsigned long long v)  // NOLINT
      : kind_(kInteger), integer_(static_cast<int64_t>(v)) {}
  FormatArg(double v) : kind_(kReal), real_(v) {}  // NOLINT

  enum Kind { kText, kInteger, kReal };
  Kind kind() const { return kind_; }
  std::string_view text() const { return text_; }
  int64_t integer() const;
  double real() const;

 private:
  Kind kind_;
  std::string_view text_;
  int64_t integer_ = 0;
  double real_ = 0;
};

// Appends the formatted text to `out` (a line built in place costs no
// allocation).
void AppendFormatList(std::string* out, std::string_view format,
                      std::initializer_list<FormatArg> args);

template <typename... Args>
std::string Format(std::string_view format, const Args&... args) {
  std::string out;
  AppendFormatList(&out, format, {FormatArg(args)...});
  return out;
}

template <typename... Args>
void AppendFormat(std::string* out, std::string_view format,
                  const Args&... args) {
  AppendFormatList(out, format, {FormatArg(args)...});
}

// The conversions of the point lines without a format string: `value` as
// "%<width>.<precision>lf" and `text` as "%<width>.<width>s" (or
// "%-<width>.<width>s" when `left`) give it.
void AppendReal(std::string* out, double value, int width, int precision);
void AppendText(std::string* out, std::string_view text, int width,
                bool left = false);
// `value` as "%<width>d" gives it.
void AppendInteger(std::string* out, int64_t value, int width);

// A double truncated toward zero into 64 bits, held to the range (NaN
// gives 0): millimetre values of large co-ordinates need more than 32 bits.
int64_t TruncateToInt64(double value);

}  // namespace text

#endif  // TEXT_FORMAT_H_
