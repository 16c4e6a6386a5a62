#include "pelixo/core/dc_reader.h"

#include "text/ascii.h"
#include "text/numbers.h"

namespace pelixo {

namespace {

// The field of `width` characters at `start`; what remains of it where the
// line ends inside it.
std::string_view Column(std::string_view line, size_t start, size_t width) {
  if (start >= line.size()) return std::string_view();
  return line.substr(start, width);
}

std::string_view From(std::string_view line, size_t start) {
  if (start >= line.size()) return std::string_view();
  return line.substr(start);
}

bool IsRecord(std::string_view line, std::string_view code) {
  return line.substr(0, 2) == code;
}

bool IsPointRecord(std::string_view line) {
  return IsRecord(line, "66") || IsRecord(line, "69");
}

// An optional number: empty keeps null, a number is taken, anything else
// is reported as false. `*text` gets the trimmed field.
bool OptionalReal(std::string_view field, double* value, std::string_view* text) {
  *text = text::Trim(field);
  *value = kNullReal;
  if (text->empty()) return true;
  return ParseReal(*text, value);
}

double RealOrNull(std::string_view field) {
  double value;
  std::string_view text;
  if (!OptionalReal(field, &value, &text)) return kNullReal;
  return value;
}

}  // namespace

DCPointReader::DCPointReader(std::string_view text, const TTICPointhandler* points)
    : lines_(text), points_(points) {
  has_line_ = lines_.Next(&line_);
  empty_ = !has_line_;
  if (has_line_ && line_.size() >= 45) exchanged_ = line_[44] != '1';
}

bool DCPointReader::Advance() {
  has_line_ = lines_.Next(&line_);
  return has_line_;
}

void DCPointReader::ReadFollowers(bool measured, DCPointValues* point,
                                  std::vector<std::string_view>* attributes) {
  // The code (and for a measured point the satellites and PDOP) come from
  // the records right after the point, as long as they are of these kinds.
  bool leading = true;
  bool marked = false;
  while (Advance() && !IsPointRecord(line_)) {
    const std::string_view next = line_;
    if (leading) {
      if (measured && IsRecord(next, "C6")) {
        int32_t satellites;
        point->satellites =
            text::ParseInt32(text::Trim(Column(next, 4, 2)), &satellites) ? satellites : kNullInteger;
        point->pdop = RealOrNull(Column(next, 7, 16));
      } else if (IsRecord(next, "B6")) {
        point->code = text::Trim(From(next, 4));
      } else if (!IsRecord(next, "13")) {
        leading = false;
      }
    }
    if (IsRecord(next, "87")) {
      marked = true;
    } else if (IsRecord(next, "92")) {
      attributes->push_back(text::Trim(Column(next, 4, 40)));
    } else if (IsRecord(next, "88") || IsRecord(next, "89") || IsRecord(next, "90") ||
               IsRecord(next, "91") || IsRecord(next, "96")) {
      attributes->push_back(text::Trim(From(next, 4)));
    }
  }
  if (!marked) attributes->clear();
}

bool DCPointReader::Next(DCPointValues* point, std::vector<std::string_view>* attributes) {
  while (has_line_) {
    const std::string_view line = line_;
    *point = DCPointValues();
    attributes->clear();
    if (IsRecord(line, "69")) {
      point->name = text::Trim(Column(line, 4, 16));
      double first, second, third;
      std::string_view first_text, second_text, third_text;
      const bool readable = OptionalReal(Column(line, 20, 16), &first, &first_text) &&
                            OptionalReal(Column(line, 36, 16), &second, &second_text) &&
                            OptionalReal(Column(line, 52, 16), &third, &third_text);
      point->code = text::Trim(Column(line, 68, 16));
      ReadFollowers(/*measured=*/false, point, attributes);
      if (!readable) continue;
      if (exchanged_) {
        std::swap(first, second);
        std::swap(first_text, second_text);
      }
      point->northing = first;
      point->easting = second;
      point->elevation = third;
      point->northing_text = first_text;
      point->easting_text = second_text;
      point->elevation_text = third_text;
      return true;
    }
    if (IsRecord(line, "66")) {
      point->name = text::Trim(Column(line, 4, 16));
      point->hz_precision = RealOrNull(Column(line, 86, 16));
      point->vt_precision = RealOrNull(Column(line, 102, 16));
      ReadFollowers(/*measured=*/true, point, attributes);
      const PointRecord* found = points_ != nullptr ? points_->Find(point->name) : nullptr;
      if (found == nullptr) {
        ++measured_without_coordinates_;
        continue;
      }
      point->code = found->Code;
      point->northing = found->North;
      point->easting = found->East;
      point->elevation = found->Height;
      return true;
    }
    Advance();
  }
  return false;
}

std::string_view AttributeName(std::string_view attribute) {
  return text::Trim(attribute.substr(0, 20));
}

std::string_view AttributeValue(std::string_view attribute) {
  if (attribute.size() <= 20) return std::string_view();
  return text::Trim(attribute.substr(20));
}

}  // namespace pelixo
