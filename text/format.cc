#include "text/format.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <system_error>

#include "text/ascii.h"
#include "text/numbers.h"

namespace text {

int64_t FormatArg::integer() const {
  if (kind_ == kReal) return TruncateToInt64(real_);
  return integer_;  // 0 unless an integer
}

double FormatArg::real() const {
  if (kind_ == kReal) return real_;
  return static_cast<double>(integer_);  // 0 unless an integer
}

int64_t TruncateToInt64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9.2e18) return INT64_MAX;
  if (value <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(value);
}

namespace {

struct Conversion {
  bool left = false, zero = false, space = false, plus = false;
  int width = 0;
  int precision = -1;
};

// Gathers the pieces of one formatting in a small buffer of its own and
// hands them to the string in one piece: most texts are a line or less.
class Output {
 public:
  explicit Output(std::string& out) : out_(out) {}
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  ~Output() { Flush(); }

  Output& operator+=(std::string_view text) {
    if (text.empty()) return *this;
    if (text.size() > sizeof buffer_ - used_) {
      Flush();
      if (text.size() > sizeof buffer_) {
        out_ += text;
        return *this;
      }
    }
    std::memcpy(buffer_ + used_, text.data(), text.size());
    used_ += text.size();
    return *this;
  }
  Output& operator+=(char c) { return *this += std::string_view(&c, 1); }
  void append(size_t count, char c) {
    while (count > 0) {
      if (used_ == sizeof buffer_) Flush();
      const size_t n = std::min(count, sizeof buffer_ - used_);
      std::memset(buffer_ + used_, c, n);
      used_ += n;
      count -= n;
    }
  }

 private:
  void Flush() {
    out_.append(buffer_, used_);
    used_ = 0;
  }

  std::string& out_;
  char buffer_[256];
  size_t used_ = 0;
};

void Pad(Output& out, std::string_view body, const Conversion& conv,
         bool zero_pad_allowed) {
  const size_t width = static_cast<size_t>(conv.width);
  if (body.size() >= width) {
    out += body;
    return;
  }
  const size_t fill = width - body.size();
  if (conv.left) {
    out += body;
    out.append(fill, ' ');
  } else if (conv.zero && zero_pad_allowed) {
    // Zeros go between the sign and the digits.
    const size_t sign = body.starts_with('-') || body.starts_with('+') ||
                        body.starts_with(' ');
    out += body.substr(0, sign);
    out.append(fill, '0');
    out += body.substr(sign);
  } else {
    out.append(fill, ' ');
    out += body;
  }
}

// The sign character of a number, or '\0' for none.
char SignOf(bool negative, const Conversion& conv) {
  if (negative) return '-';
  if (conv.plus) return '+';
  if (conv.space) return ' ';
  return '\0';
}

// `conversion` 'd' writes decimals; 'x' and 'X' the bits in hexadecimal,
// without a sign (an int's negative value as its 32 bits, as C does).
void FormatInteger(Output& out, int64_t value, const Conversion& conv,
                   char conversion = 'd') {
  const bool hex = conversion == 'x' || conversion == 'X';
  const bool negative = value < 0 && !hex;
  uint64_t magnitude = negative ? uint64_t{0} - static_cast<uint64_t>(value)
                                : static_cast<uint64_t>(value);
  if (hex && value < 0 && value >= INT32_MIN) magnitude = static_cast<uint32_t>(value);
  char digits[32];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, magnitude, hex ? 16 : 10);
  if (conversion == 'X') std::transform(digits, end, digits, [](char c) { return UpperAscii(c); });
  std::string_view text(digits, static_cast<size_t>(end - digits));
  if (conv.precision == 0 && magnitude == 0) text = {};
  const size_t zeros =
      conv.precision > 0 && text.size() < static_cast<size_t>(conv.precision)
          ? static_cast<size_t>(conv.precision) - text.size()
          : 0;
  std::string body;
  body.reserve(1 + zeros + text.size());
  if (const char sign = hex ? '\0' : SignOf(negative, conv)) body += sign;
  body.append(zeros, '0');
  body += text;
  Pad(out, body, conv, conv.precision < 0);
}

// Room for a sign, the 309 integer digits of the largest double and the
// decimals.
constexpr size_t kRealBodySize = 1 + 400;

// The sign and digits of `value` as "%f" writes them, into `body`
// (kRealBodySize); its length. `*finite` tells whether zeros may pad it.
size_t RealBody(double value, const Conversion& conv, char* body,
                bool* finite) {
  const int precision = conv.precision < 0 ? 6 : conv.precision;
  size_t size = 0;
  if (const char sign = SignOf(std::signbit(value), conv)) body[size++] = sign;
  *finite = !std::isnan(value) && !std::isinf(value);
  if (!*finite) {
    std::copy_n(std::isnan(value) ? "nan" : "inf", 3, body + size);  // no terminating NUL
    return size + 3;
  }
  // Beyond 60 decimals the digits stop: as the library always wrote them.
  return static_cast<size_t>(WriteFixed(body + size, std::fabs(value), std::min(precision, 60)) - body);
}

void FormatReal(Output& out, double value, const Conversion& conv) {
  char body[kRealBodySize];
  bool finite = false;
  const size_t size = RealBody(value, conv, body, &finite);
  Pad(out, std::string_view(body, size), conv, finite);
}

}  // namespace

void AppendReal(std::string* out, double value, int width, int precision) {
  Conversion conv;
  conv.width = width;
  conv.precision = precision;
  // The number after room for its blanks: one piece to append.
  constexpr size_t kRoom = 64;
  char line[kRoom + kRealBodySize];
  char* const body = line + kRoom;
  bool finite = false;
  const size_t size = RealBody(value, conv, body, &finite);
  const size_t fill =
      static_cast<size_t>(width) > size ? static_cast<size_t>(width) - size : 0;
  if (fill > kRoom) {
    Output output(*out);
    Pad(output, std::string_view(body, size), conv, finite);
    return;
  }
  std::memset(body - fill, ' ', fill);
  out->append(body - fill, fill + size);
}

void AppendText(std::string* out, std::string_view text, int width, bool left) {
  text = text.substr(0, static_cast<size_t>(width));
  const size_t fill = static_cast<size_t>(width) - text.size();
  if (!left) out->append(fill, ' ');
  out->append(text.data(), text.size());
  if (left) out->append(fill, ' ');
}

void AppendInteger(std::string* out, int64_t value, int width) {
  Conversion conv;
  conv.width = width;
  Output output(*out);
  FormatInteger(output, value, conv);
}

namespace {

// A width or precision: its digits, at most kMaxCount (a longer number of a
// format written by mistake pads no more than that). Moves *i past them.
constexpr int kMaxCount = 4096;
int ReadCount(std::string_view format, size_t* i) {
  int count = 0;
  for (; *i < format.size() && format[*i] >= '0' && format[*i] <= '9'; ++*i) {
    count = std::min(kMaxCount, count * 10 + (format[*i] - '0'));
  }
  return count;
}

}  // namespace

void AppendFormatList(std::string* destination, std::string_view format,
                      std::initializer_list<FormatArg> args) {
  Output out(*destination);
  const FormatArg* arg = args.begin();
  const FormatArg* const args_end = args.end();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      // The text up to the next conversion, at once.
      size_t next = i + 1;
      while (next < format.size() && format[next] != '%') ++next;
      out += format.substr(i, next - i);
      i = next - 1;
      continue;
    }
    if (++i >= format.size()) break;
    if (format[i] == '%') {
      out += '%';
      continue;
    }
    Conversion conv;
    for (; i < format.size(); ++i) {
      const char f = format[i];
      if (f == '-') conv.left = true;
      else if (f == '0') conv.zero = true;
      else if (f == ' ') conv.space = true;
      else if (f == '+') conv.plus = true;
      else break;
    }
    conv.width = ReadCount(format, &i);
    if (i < format.size() && format[i] == '.') {
      ++i;
      conv.precision = ReadCount(format, &i);
    }
    while (i < format.size() && (format[i] == 'l' || format[i] == 'h')) ++i;
    if (i >= format.size()) break;
    const char conversion = format[i];
    const FormatArg* value = arg != args_end ? arg++ : nullptr;
    switch (conversion) {
      case 's': {
        std::string_view text;
        if (value && value->kind() == FormatArg::kText) text = value->text();
        if (conv.precision >= 0 &&
            text.size() > static_cast<size_t>(conv.precision)) {
          text = text.substr(0, static_cast<size_t>(conv.precision));
        }
        Pad(out, text, conv, false);
        break;
      }
      case 'c': {
        const char ch = value ? static_cast<char>(value->integer()) : '\0';
        Pad(out, std::string_view(&ch, 1), conv, false);
        break;
      }
      case 'd':
      case 'i':
      case 'x':
      case 'X':
        FormatInteger(out, value ? value->integer() : 0, conv, conversion);
        break;
      case 'f':
        FormatReal(out, value ? value->real() : 0.0, conv);
        break;
      default:
        break;
    }
  }
}

}  // namespace text
