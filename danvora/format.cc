#include "danvora/format.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace danvora {

int64_t FormatArg::integer() const {
  switch (kind_) {
    case kInteger: return integer_;
    case kReal: return TruncateToInt64(real_);
    case kText: break;
  }
  return 0;
}

double FormatArg::real() const {
  switch (kind_) {
    case kReal: return real_;
    case kInteger: return static_cast<double>(integer_);
    case kText: break;
  }
  return 0.0;
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

void Pad(std::string& out, std::string_view body, const Conversion& conv,
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
    size_t sign = (!body.empty() && (body[0] == '-' || body[0] == '+' ||
                                     body[0] == ' '))
                      ? 1
                      : 0;
    out += body.substr(0, sign);
    out.append(fill, '0');
    out += body.substr(sign);
  } else {
    out.append(fill, ' ');
    out += body;
  }
}

std::string SignPrefix(bool negative, const Conversion& conv) {
  if (negative) return "-";
  if (conv.plus) return "+";
  if (conv.space) return " ";
  return "";
}

void FormatInteger(std::string& out, int64_t value, const Conversion& conv) {
  const bool negative = value < 0;
  const uint64_t magnitude =
      negative ? uint64_t{0} - static_cast<uint64_t>(value)
               : static_cast<uint64_t>(value);
  char digits[32];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, magnitude);
  std::string_view text(digits, static_cast<size_t>(end - digits));
  std::string body = SignPrefix(negative, conv);
  if (conv.precision >= 0) {
    if (conv.precision == 0 && magnitude == 0) text = {};
    if (text.size() < static_cast<size_t>(conv.precision)) {
      body.append(static_cast<size_t>(conv.precision) - text.size(), '0');
    }
  }
  body += text;
  Pad(out, body, conv, conv.precision < 0);
}

void FormatReal(std::string& out, double value, const Conversion& conv) {
  const int precision = conv.precision < 0 ? 6 : conv.precision;
  if (std::isnan(value) || std::isinf(value)) {
    std::string body = SignPrefix(std::signbit(value), conv);
    body += std::isnan(value) ? "nan" : "inf";
    Pad(out, body, conv, false);
    return;
  }
  // Room for the 309 integer digits of the largest double and the decimals.
  char digits[400];
  const double magnitude = std::fabs(value);
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, magnitude,
                                 std::chars_format::fixed,
                                 precision > 60 ? 60 : precision);
  std::string body = SignPrefix(std::signbit(value), conv);
  if (ec == std::errc()) {
    body.append(digits, static_cast<size_t>(end - digits));
  }
  Pad(out, body, conv, true);
}

}  // namespace

std::string FormatList(std::string_view format,
                       std::initializer_list<FormatArg> args) {
  std::string out;
  const FormatArg* arg = args.begin();
  const FormatArg* const args_end = args.end();
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%') {
      out += c;
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
    for (; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i) {
      conv.width = conv.width * 10 + (format[i] - '0');
    }
    if (i < format.size() && format[i] == '.') {
      conv.precision = 0;
      for (++i; i < format.size() && format[i] >= '0' && format[i] <= '9';
           ++i) {
        conv.precision = conv.precision * 10 + (format[i] - '0');
      }
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
        FormatInteger(out, value ? value->integer() : 0, conv);
        break;
      case 'f':
        FormatReal(out, value ? value->real() : 0.0, conv);
        break;
      default:
        break;
    }
  }
  return out;
}

}  // namespace danvora
