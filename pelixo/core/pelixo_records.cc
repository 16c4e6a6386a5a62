#include "pelixo/core/pelixo_records.h"

#include <cstring>

namespace pelixo {

size_t PaddingWidth(long long width) {
  if (width < 0) return 0;
  if (width > 255) return 255;
  return static_cast<size_t>(width);
}

namespace {

// The fields of a record are appended in place: a job of a million points
// makes no temporary texts.
void AppendLeftAligned(std::string& out, std::string_view text, size_t n) {
  text = text.substr(0, n);
  out.append(text);
  out.append(n - text.size(), ' ');
}

void AppendRightAligned(std::string& out, std::string_view text, size_t n) {
  text = text.substr(0, n);
  out.append(n - text.size(), ' ');
  out.append(text);
}

}  // namespace

std::string PadLeftAligned(std::string_view text, long long width, char fill) {
  std::string result;
  AppendLeftAligned(result, text, PaddingWidth(width));
  if (fill != ' ') {
    for (size_t i = result.size(); i > 0 && result[i - 1] == ' '; --i) {
      result[i - 1] = fill;
    }
  }
  return result;
}

std::string PadRightAligned(std::string_view text, long long width,
                            char fill) {
  std::string result;
  AppendRightAligned(result, text, PaddingWidth(width));
  if (fill != ' ') {
    for (size_t i = 0; i < result.size() && result[i] == ' '; ++i) {
      result[i] = fill;
    }
  }
  return result;
}

std::string_view PelixoVersionText(int dc_version) {
  if (dc_version <= 769) return "TP V07-50";
  if (dc_version <= 999) return "TP V07-70";
  if (dc_version <= 1069) return "TP V10   ";
  return "TP V10-70";
}

char PelixoUnitDigit(int list_position) {
  if (list_position < 0 || list_position > 2) return '0';
  return static_cast<char>('1' + list_position);
}

std::string PelixoHeaderRecord(int dc_version, std::string_view date_text,
                               int angle_unit_position,
                               int coordinate_unit_position) {
  std::string record;
  record.reserve(kPelixoHeaderLength);
  record += "00NM";
  record += PelixoVersionText(dc_version);
  record += "       0000";
  AppendLeftAligned(record, date_text, 16);
  record += PelixoUnitDigit(angle_unit_position);
  record += PelixoUnitDigit(coordinate_unit_position);
  record += "3111";
  return record;
}

std::string PelixoJobRecord(std::string_view job_name) {
  std::string record = "10NM";
  AppendLeftAligned(record, job_name, kPelixoFieldWidth);
  record += "121221";
  return record;
}

void AppendPelixoPointRecord(std::string& out, const PelixoPointTexts& point) {
  // A blank record first, the fields placed into it where it stands: a
  // million points, one append each.
  static constexpr char kBlankRecord[] =
      "69KI                                                                                11";
  static_assert(sizeof kBlankRecord == kPelixoPointRecordLength + 1);
  const size_t start = out.size();
  out.append(kBlankRecord, kPelixoPointRecordLength);
  char* record = out.data() + start;
  auto place = [record](size_t column, std::string_view text, bool right) {
    text = text.substr(0, kPelixoFieldWidth);
    size_t skip = right ? kPelixoFieldWidth - text.size() : 0;
    std::memcpy(record + column + skip, text.data(), text.size());
  };
  place(4, point.name, true);
  place(20, point.northing, false);
  place(36, point.easting, false);
  place(52, point.elevation, false);
  place(68, point.code, false);
}

bool IsPelixoCoordinateSystemRecord(std::string_view line, int dc_version) {
  if (line.size() < 2) return false;
  std::string_view type = line.substr(0, 2);
  static constexpr std::string_view kAlways[] = {"49", "50", "64", "65", "74",
                                                 "81", "C8", "D0", "D5", "D8"};
  for (std::string_view always : kAlways) {
    if (type == always) return true;
  }
  if (type == "78") return dc_version > 770;
  if (type == "D4") return dc_version < 1000;
  return false;
}

}  // namespace pelixo
