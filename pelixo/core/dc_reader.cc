#include "pelixo/core/dc_reader.h"

#include "pelixo/core/text.h"

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
// is reported as false.
bool OptionalReal(std::string_view field, double* value) {
  std::string_view text = Trim(field);
  *value = kNullReal;
  if (text.empty()) return true;
  return ParseReal(text, value);
}

double RealOrNull(std::string_view field) {
  double value;
  if (!OptionalReal(field, &value)) return kNullReal;
  return value;
}

}  // namespace

bool CoordinatesExchanged(const DCLines& lines) {
  if (lines.empty() || lines[0].size() < 45) return true;
  return lines[0][44] != '1';
}

bool ReadPointAt(const DCLines& lines, size_t index, bool exchanged,
                 const TTICPointhandler* points, DCPointValues* point,
                 bool* measured_without_coordinates) {
  *point = DCPointValues();
  if (index >= lines.size()) return false;
  std::string_view line = lines[index];
  if (IsRecord(line, "69")) {
    point->name = std::string(Trim(Column(line, 4, 16)));
    double first, second, third;
    if (!OptionalReal(Column(line, 20, 16), &first) ||
        !OptionalReal(Column(line, 36, 16), &second) ||
        !OptionalReal(Column(line, 52, 16), &third)) {
      return false;
    }
    point->code = std::string(Trim(Column(line, 68, 16)));
    if (exchanged) std::swap(first, second);
    point->northing = first;
    point->easting = second;
    point->elevation = third;
    for (size_t k = index + 1; k < lines.size(); ++k) {
      if (IsRecord(lines[k], "B6")) {
        point->code = std::string(Trim(From(lines[k], 4)));
      } else if (!IsRecord(lines[k], "13")) {
        break;
      }
    }
    return true;
  }
  if (IsRecord(line, "66")) {
    point->name = std::string(Trim(Column(line, 4, 16)));
    point->hz_precision = RealOrNull(Column(line, 86, 16));
    point->vt_precision = RealOrNull(Column(line, 102, 16));
    for (size_t k = index + 1; k < lines.size(); ++k) {
      std::string_view next = lines[k];
      if (IsRecord(next, "C6")) {
        int32_t satellites;
        point->satellites =
            ParseInt32(Trim(Column(next, 4, 2)), &satellites) ? satellites : kNullInteger;
        point->pdop = RealOrNull(Column(next, 7, 16));
      } else if (IsRecord(next, "B6")) {
        point->code = std::string(Trim(From(next, 4)));
      } else if (!IsRecord(next, "13")) {
        break;
      }
    }
    if (points != nullptr &&
        points->FindPoint(point->name, &point->code, &point->northing, &point->easting,
                          &point->elevation)) {
      return true;
    }
    if (measured_without_coordinates != nullptr) *measured_without_coordinates = true;
    return false;
  }
  return false;
}

bool HasAttributeMarker(const DCLines& lines, size_t index) {
  for (size_t k = index + 1; k < lines.size(); ++k) {
    if (IsPointRecord(lines[k])) return false;
    if (IsRecord(lines[k], "87")) return true;
  }
  return false;
}

std::vector<std::string> CollectAttributes(const DCLines& lines, size_t index) {
  std::vector<std::string> attributes;
  for (size_t k = index + 1; k < lines.size(); ++k) {
    std::string_view line = lines[k];
    if (IsPointRecord(line)) break;
    if (IsRecord(line, "92")) {
      attributes.emplace_back(Trim(Column(line, 4, 40)));
    } else if (IsRecord(line, "88") || IsRecord(line, "89") || IsRecord(line, "90") ||
               IsRecord(line, "91") || IsRecord(line, "96")) {
      attributes.emplace_back(Trim(From(line, 4)));
    }
  }
  return attributes;
}

std::string_view AttributeName(std::string_view attribute) {
  return Trim(attribute.substr(0, 20));
}

std::string_view AttributeValue(std::string_view attribute) {
  if (attribute.size() <= 20) return std::string_view();
  return Trim(attribute.substr(20));
}

}  // namespace pelixo
