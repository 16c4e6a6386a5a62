#include "danvora/job_reader.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "text/ascii.h"
#include "text/format.h"
#include "danvora/library_state.h"
#include "dc/fields.h"
#include "dc/record_code.h"

namespace danvora {
namespace {

using dc::Code;

// A Text field into `*text`, the same as dc::DecodeText gives, in the
// string's own storage: the decoder sets the same fields record after
// record, and most texts have no escapes.
void AssignText(std::string* text, std::string_view line, size_t column,
                size_t width) {
  const std::string_view field = dc::FieldSlice(line, column, width);
  // Trailing, then leading blanks off.
  const char* const end =
      text::TrimTrailingBlanks(field.data(), field.data() + field.size());
  const char* const begin = text::SkipBlanks(field.data(), end);
  if (begin == end) {
    text->clear();
    return;
  }
  const std::string_view trimmed(begin, static_cast<size_t>(end - begin));
  if (trimmed.find('*') != std::string_view::npos) {
    *text = dc::Unescape(trimmed);
  } else {
    text->assign(trimmed.data(), trimmed.size());
  }
}

constexpr int kSkippedObservation = -79;
constexpr int kSkippedObservationNewer = -139;

// Decodes one record of the job into `job`. `flags` are the record's flags
// when the caller gave a flags buffer, else empty (so that no flag test
// succeeds). A record 64 reads ahead unless `in_read_ahead`.
class RecordDecoder {
 public:
  RecordDecoder(LineTable& table, JobState& job) : table_(table), job_(job) {}

  int Decode(size_t index, std::string_view flags, bool in_read_ahead);

 private:
  std::string_view Line(size_t index) const { return table_.lines[index]; }

  double Distance(std::string_view line, size_t column) const {
    return dc::DecodeDistance(line, column, job_.units.distance);
  }
  double Angle(std::string_view line, size_t column) const {
    return dc::DecodeAngle(line, column, job_.units.angle);
  }
  Triple ReadTriple(std::string_view line, size_t column) const {
    return dc::DecodeTriple(line, column, job_.units);
  }

  // The records 75, 61 and 62 and their newer forms E4, E2 and C6 differ
  // in columns only; the second number of each pair follows the first
  // after 16 columns.
  void Instrument(std::string_view line, size_t serial_width,
                  size_t constants_column);
  void Receiver(std::string_view line, size_t serial_width,
                size_t antenna_column);
  void Satellites(std::string_view line, size_t dops_column);
  // The names, angles and code of an observation (09, 79, D9); returns its
  // slope distance as read.
  double Observation(std::string_view line);
  // The name, position and code of a point record (08, 69).
  void PointByCoordinates(std::string_view line);
  // The method and class digits from `column` on.
  void MethodAndClass(std::string_view line, size_t column);
  // Whether a projection with a negative sign mirrors the co-ordinates of
  // axis convention `convention`.
  bool Mirrored(int convention) const {
    return job_.projection_sign == -1 && job_.axis_convention == convention;
  }
  void GpsPointCode(std::string_view line, std::string_view flags);
  void ReadAhead(size_t index);
  void DecideTransverseMercator();
  void DecideLocalGrid();
  void DecideDanishSystem(std::string_view line);
  void SetSystem(int type, std::string_view name) {
    job_.coord_system_type = type;
    job_.coord_system_name = std::string(name);
  }

  LineTable& table_;
  JobState& job_;
};

void RecordDecoder::Instrument(std::string_view line, size_t serial_width,
                               size_t constants_column) {
  AssignText(&job_.instrument_model, line, 4, 16);
  job_.instrument_serial = dc::DecodeInteger(line, 20, serial_width);
  job_.k1 = dc::DecodeNumber(line, constants_column);
  job_.k2 = dc::DecodeNumber(line, constants_column + 16);
}

void RecordDecoder::Receiver(std::string_view line, size_t serial_width,
                             size_t antenna_column) {
  AssignText(&job_.receiver_model, line, 4, 8);
  AssignText(&job_.receiver_serial, line, 12, serial_width);
  AssignText(&job_.antenna_type, line, 23, 30);
  job_.antenna_radius = Distance(line, antenna_column);
  job_.antenna_offset = Distance(line, antenna_column + 16);
}

void RecordDecoder::Satellites(std::string_view line, size_t dops_column) {
  job_.satellites = dc::DecodeInteger(line, 4, 2);
  job_.hdop = Distance(line, dops_column);
  job_.vdop = Distance(line, dops_column + 16);
}

double RecordDecoder::Observation(std::string_view line) {
  AssignText(&job_.station_name, line, 4, 16);
  AssignText(&job_.point_name, line, 20, 16);
  job_.zenith_distance = Angle(line, 52);
  job_.horizontal_direction = Angle(line, 68);
  AssignText(&job_.point_code, line, 84, 16);
  return Distance(line, 36);
}

void RecordDecoder::PointByCoordinates(std::string_view line) {
  AssignText(&job_.point_name, line, 4, 16);
  job_.point = ReadTriple(line, 20);
  AssignText(&job_.point_code, line, 68, 16);
}

void RecordDecoder::MethodAndClass(std::string_view line, size_t column) {
  job_.method = dc::DecodeDigit(line, column);
  job_.point_class = dc::DecodeDigit(line, column + 1);
}

void RecordDecoder::GpsPointCode(std::string_view line,
                                 std::string_view flags) {
  AssignText(&job_.point_name, line, 4, 16);
  AssignText(&job_.point_code, line, 68, 16);
  MethodAndClass(line, 84);
  job_.horizontal_precision = Distance(line, 86);
  job_.vertical_precision = Distance(line, 102);
  job_.ClearQualityFigures();
  if (flags == "SO") {
    job_.point_code = text::Format("Pnr.%-12.12s", dc::FieldSlice(line, 68, 12));
  }
}

void RecordDecoder::ReadAhead(size_t index) {
  if (job_.semi_major_axis >= 0) return;
  const size_t count = table_.lines.size();
  if (index + 1 >= count) return;
  if (table_.next_axis_line.size() != count) {
    table_.next_axis_line.assign(count, static_cast<uint32_t>(count));
    size_t next = count;
    for (size_t i = count; i-- > 0;) {
      table_.next_axis_line[i] = static_cast<uint32_t>(next);
      const std::string_view line = table_.lines[i];
      if (table_.code(i) == 65 && dc::DecodeNumber(line, 4) >= 0) {
        next = i;
      }
    }
  }
  // The read-ahead ends at the first record 65 that gives the semi-major
  // axis. Lines an earlier read-ahead of the same pass decoded are not
  // decoded again, so the pass stays linear in the number of lines.
  const size_t stop = table_.next_axis_line[index];
  const size_t last = std::min(stop, count - 1);
  const size_t from = std::max(index + 1, table_.read_ahead_end);
  for (size_t i = from; i <= last; ++i) Decode(i, {}, true);
  if (stop < count && stop < from) Decode(stop, {}, true);
  table_.read_ahead_end = std::max(table_.read_ahead_end, last + 1);
}

void RecordDecoder::DecideTransverseMercator() {
  const double meridian = job_.central_meridian;
  const double axis = job_.semi_major_axis;
  if (meridian == 9) {
    if (axis == 6378388) {
      SetSystem(5, "Utm zone 32 (Ed50)");
    } else if (axis == 6378137) {
      SetSystem(13, "Utm zone 32 (Euref89)");
    } else {
      job_.coord_system_type = kNoCoordSystem;
    }
  } else if (meridian == 9.5) {
    SetSystem(16, "Kp2000 Jylland/Fyn");
  } else if (meridian == 12) {
    SetSystem(15, "Kp2000 Sj\xE6lland");
  } else if (meridian == 15) {
    if (axis == 6378388) {
      SetSystem(6, "Utm zone 33 (Ed50)");
    } else if (axis == 6378137 && job_.scale_factor == 0.9996) {
      SetSystem(14, "Utm zone 33 (Euref89)");
    } else if (axis == 6378137 && job_.scale_factor == 0.99995) {
      SetSystem(17, "Kp2000 Bornholm");
    } else {
      job_.coord_system_type = kNoCoordSystem;
    }
  }
}

void RecordDecoder::DecideLocalGrid() {
  if (job_.axis_convention == 1) {
    SetSystem(kLocalNorthEast, "NE koordinatsystem");
  } else if (job_.axis_convention == 3) {
    SetSystem(kLocalYX, "YX koordinatsystem");
  }
}

void RecordDecoder::DecideDanishSystem(std::string_view line) {
  const int kind = dc::DecodeDigit(line, 4);
  const double parameter = dc::DecodeNumber(line, 21);
  const double sign_value = dc::DecodeNumber(line, 69);
  const int zone = dc::DecodeDigit(line, 152);
  if (kind == 'E' - '0') {
    job_.projection_sign = 2;
    if (zone == 2) {
      SetSystem(1, "System 34 Sj\xE6lland");
    } else if (zone == 3) {
      SetSystem(2, "System 34 Jylland/Fyn");
    } else if (zone == 4) {
      SetSystem(3, "System 45 Bornholm");
    }
  } else if (kind == 'n' - '0') {
    DecideLocalGrid();
  } else if (kind == '?' - '0') {
    job_.central_meridian = parameter;
    job_.projection_sign = sign_value < 0 ? -1 : 1;
    if (parameter > 9 && parameter < 10) {
      SetSystem(2, "System 34 Jylland/Fyn");
    } else if (parameter > 11 && parameter < 12) {
      SetSystem(1, "System 34 Sj\xE6lland");
    } else if (parameter > 14 && parameter < 15) {
      SetSystem(3, "System 45 Bornholm");
    } else {
      job_.coord_system_type = kNoCoordSystem;
      job_.projection_sign = 0;
    }
  }
}

int RecordDecoder::Decode(size_t index, std::string_view flags,
                          bool in_read_ahead) {
  const std::string_view line = Line(index);
  const int code = table_.code(index);
  switch (code) {
    case Code("00"):
      AssignText(&job_.version_text, line, 4, 16);
      AssignText(&job_.measurement_start, line, 24, 16);
      job_.units.angle = dc::DecodeDigit(line, 40);
      job_.units.distance = dc::DecodeDigit(line, 41);
      job_.units.pressure = dc::DecodeDigit(line, 42);
      job_.units.temperature = dc::DecodeDigit(line, 43);
      job_.units.coord_order = dc::DecodeDigit(line, 44);
      job_.semi_major_axis = -1.0;
      job_.projection_sign = 0;
      job_.datum_grid = false;
      job_.geoid_kind = GeoidKind::kNone;
      break;
    case Code("10"):
      AssignText(&job_.job_name, line, 4, 16);
      break;
    case Code("13"):
      AssignText(&job_.note, line, 4, 60);
      break;

    // Coordinate system and calibration.
    case Code("64"): {
      const int projection = dc::DecodeDigit(line, 4);
      job_.central_meridian = dc::DecodeNumber(line, 21);
      job_.scale_factor = dc::DecodeNumber(line, 101);
      if (projection == 3 && !in_read_ahead) ReadAhead(index);
      job_.projection_sign = 0;
      if (projection == 3) {
        DecideTransverseMercator();
      } else if (projection == '>' - '0') {
        DecideLocalGrid();
      }
      break;
    }
    case Code("65"):
      job_.semi_major_axis = dc::DecodeNumber(line, 4);
      break;
    case Code("D4"):
      // Column 6 holds a distance the library does not use.
      job_.axis_convention = dc::DecodeDigit(line, 5);
      return 78;
    case Code("78"):
      job_.axis_convention = dc::DecodeDigit(line, 5);
      break;
    case Code("C8"):
      AssignText(&job_.coord_system_name, line, 37, 32);
      break;
    case Code("D0"):
      DecideDanishSystem(line);
      break;
    case Code("74"):
      job_.datum_grid = true;
      break;
    case Code("50"): {
      HorizontalFit& fit = job_.horizontal_fit;
      fit.centre_second = Distance(line, 4);
      fit.centre_first = Distance(line, 20);
      fit.translation_second = Distance(line, 36);
      fit.translation_first = Distance(line, 52);
      fit.rotation = Angle(line, 68);
      fit.scale = dc::DecodeNumber(line, 84);
      break;
    }
    case Code("81"): {
      VerticalFit& fit = job_.vertical_fit;
      fit.kind = dc::DecodeDigit(line, 4);
      fit.centre_second = Distance(line, 5);
      fit.centre_first = Distance(line, 21);
      fit.translation = Distance(line, 37);
      fit.inclination_second = dc::DecodeNumber(line, 53);
      fit.inclination_first = dc::DecodeNumber(line, 69);
      AssignText(&job_.geoid_name, line, 85, 32);
      if (job_.geoid_name.find("98") != std::string::npos) {
        job_.geoid_kind = GeoidKind::kDnn;
      } else if (job_.geoid_name.find("DVR90") != std::string::npos) {
        job_.geoid_kind = GeoidKind::kDvr90;
      }
      break;
    }
    case Code("B1"):
      AssignText(&job_.point_name, line, 4, 16);
      AssignText(&job_.second_point_name, line, 20, 16);
      job_.horizontal_residual = Distance(line, 37);
      job_.vertical_residual = Distance(line, 53);
      job_.residual_3d = Distance(line, 69);
      break;
    case Code("B2"): {
      AssignText(&job_.point_name, line, 4, 16);
      Triple residual = ReadTriple(line, 22);
      std::swap(residual.x, residual.y);
      job_.residual = residual;
      job_.residual_angle_1 = Angle(line, 69);
      job_.residual_angle_2 = Angle(line, 85);
      job_.residual_3d = Distance(line, 101);
      break;
    }

    // Instrument and conventional survey.
    case Code("75"):
      Instrument(line, 6, 43);
      break;
    case Code("E4"):
      Instrument(line, 10, 63);
      break;
    case Code("77"):
      job_.target_height = Distance(line, 4);
      job_.prism_constant = dc::DecodeNumber(line, 20);
      break;
    case Code("05"):
      job_.pressure = dc::DecodeNumber(line, 4);
      job_.temperature = dc::DecodeNumber(line, 20);
      break;
    case Code("D2"):
      job_.pressure =
          dc::PressureToMillibar(dc::DecodeNumber(line, 4), job_.units.pressure);
      job_.temperature =
          dc::TemperatureToCelsius(dc::DecodeNumber(line, 20), job_.units.temperature);
      if (job_.pressure > 0) {
        job_.ppm = job_.k1 - job_.k2 * 0.75 * job_.pressure /
                             (job_.temperature + 273.16);
      } else {
        job_.ppm = dc::DecodeNumber(line, 52);
      }
      break;
    case Code("02"):
      AssignText(&job_.station_name, line, 4, 16);
      job_.station = ReadTriple(line, 20);
      job_.instrument_height = Distance(line, 68);
      if (Mirrored(3)) job_.station.x = -job_.station.x;
      break;
    case Code("E0"):
      AssignText(&job_.station_name, line, 4, 16);
      job_.instrument_height = Distance(line, 20);
      if (Mirrored(3)) job_.station.x = -job_.station.x;
      break;
    case Code("07"):
    case Code("E1"):
      AssignText(&job_.station_name, line, 4, 16);
      AssignText(&job_.point_name, line, 20, 16);
      job_.backsight_azimuth = Angle(line, 36);
      job_.circle_reading = Angle(line, 52);
      if (code == Code("E1") && job_.circle_reading == dc::kMissing) {
        job_.circle_reading = Angle(line, 68);
      }
      job_.slope_distance = 0;
      break;
    case Code("09"):
      job_.slope_distance = Observation(line);
      break;
    case Code("79"):
    case Code("D9"): {
      if (flags == "M2") {
        return code == Code("79") ? kSkippedObservation
                                  : kSkippedObservationNewer;
      }
      const double raw = Observation(line);
      job_.slope_distance =
          raw * (1 + job_.ppm * 0.000001) + job_.prism_constant * 0.001;
      job_.point_class = dc::DecodeDigit(line, 100);
      job_.method = 0;
      break;
    }
    case Code("70"):
      AssignText(&job_.point_name, line, 4, 16);
      AssignText(&job_.station_name, line, 20, 16);
      job_.azimuth = Angle(line, 36);
      job_.horizontal_distance = Distance(line, 52);
      job_.height_difference = Distance(line, 68);
      AssignText(&job_.point_code, line, 84, 16);
      MethodAndClass(line, 100);
      if (job_.coord_system_type >= 1 && job_.coord_system_type <= 3) {
        job_.azimuth += 100;
      }
      break;
    case Code("A0"):
      AssignText(&job_.check_point_name, line, 4, 16);
      break;
    case Code("A6"):
      job_.direction_offset = dc::DecodeNumber(line, 4);
      job_.horizontal_residual = Distance(line, 20);
      job_.vertical_residual = Distance(line, 36);
      break;

    // Points and GPS.
    case Code("08"):
      PointByCoordinates(line);
      break;
    case Code("69"):
      PointByCoordinates(line);
      MethodAndClass(line, 84);
      if (Mirrored(1)) job_.point.x = -job_.point.x;
      // A keyed-in or computed point has no precisions of its own.
      job_.horizontal_precision = 0;
      job_.vertical_precision = 0;
      job_.ClearQualityFigures();
      break;
    case Code("66"):
    case Code("67"):
      GpsPointCode(line, flags);
      break;
    case Code("62"):
      Satellites(line, 22);
      break;
    case Code("C6"):
      Satellites(line, 23);
      job_.rms = Distance(line, 55);
      break;
    case Code("B6"):
      AssignText(&job_.point_code, line, 4, 100);
      break;
    case Code("73"):
      AssignText(&job_.station_name, line, 4, 16);
      break;
    case Code("61"):
      Receiver(line, 8, 77);
      break;
    case Code("E2"):
      Receiver(line, 10, 82);
      break;
    case Code("57"):
      job_.antenna_height = Distance(line, 4);
      job_.antenna_method = dc::DecodeDigit(line, 20);
      break;
    case Code("71"):
      job_.initialisation_result = dc::DecodeDigit(line, 4);
      job_.initialisation_method = dc::DecodeDigit(line, 25);
      break;

    // Attributes.
    case Code("87"):
      job_.attribute_group = decode_attribute_group(line);
      break;
    case Code("88"):
    case Code("89"):
    case Code("90"):
    case Code("91"):
    case Code("92"): {
      Attribute attribute;
      decode_attribute(line, &attribute);
      job_.attribute_name = std::move(attribute.name);
      job_.attribute_value = std::move(attribute.value);
      break;
    }
    default:
      break;  // not a record the library reads (04, 54, 49, ...)
  }
  return code;
}

bool IsPointWithCodeFollowUp(int code) {
  return code == Code("08") || code == Code("09") || code == Code("69") ||
         code == Code("70") || code == Code("79") || code == Code("D9");
}

// Whether line `index` starts with "B6" (or with "62" or "C6" as well when
// `gps`). Such a line has the code B6, C6, 62 or a number whose digits start
// with 62 (from 620 up): the codes rule out most lines without their text.
bool StartsFollowUp(const LineTable& table, size_t index, bool gps) {
  const int code = table.code(index);
  const std::string_view line = table.lines[index];
  if (code == Code("B6")) return dc::StartsWithRecord(line, "B6");
  if (!gps) return false;
  if (code == Code("C6")) return dc::StartsWithRecord(line, "C6");
  return (code == 62 || code >= 620) && dc::StartsWithRecord(line, "62");
}

// One past the last follow-up record that a record of `code` (as Decode
// returned it) at `index` takes in at once: B6 after a point or
// observation; B6, 62 and C6 after a GPS point.
size_t FollowUpEnd(const LineTable& table, size_t index, int code) {
  const size_t count = table.lines.size();
  size_t next = index + 1;
  if (IsPointWithCodeFollowUp(code)) {
    if (next < count && StartsFollowUp(table, next, false)) ++next;
  } else if (code == Code("66") || code == Code("67")) {
    while (next < count && StartsFollowUp(table, next, true)) ++next;
  }
  return next;
}

// The job-model fields the points and observations write, for the
// prescan's look at which records it can pass over (see DeadRecords).
enum FieldBit : uint32_t {
  kStationNameBit = 1u << 0,
  kStationBit = 1u << 1,
  kInstrumentHeightBit = 1u << 2,
  kPointNameBit = 1u << 3,
  kPointBit = 1u << 4,
  kPointCodeBit = 1u << 5,
  kMethodBit = 1u << 6,
  kPointClassBit = 1u << 7,
  kPrecisionsBit = 1u << 8,          // horizontal and vertical
  kRmsBit = 1u << 9,
  kSatellitesBit = 1u << 10,         // satellites, HDOP and VDOP
  kSlopeDistanceBit = 1u << 11,
  kAnglesBit = 1u << 12,             // zenith distance and direction
  kBacksightBit = 1u << 13,          // backsight azimuth and circle
  kPolarBit = 1u << 14,              // azimuth, distance, height difference
};
constexpr uint32_t kAllFields = (1u << 15) - 1;
// Not one of the records below: treated as reading every field.
constexpr uint32_t kNotListed = UINT32_MAX;

// The fields Decode of a record of `code` with `flags` sets, all of them
// whatever the field values; kNotListed for every other record. Only
// records 79 and D9 look at the flags. None of
// these records reads any of the fields (their other inputs, the units and
// the coordinate-system values, only the other records set). Keep in step
// with Decode.
uint32_t FieldsWritten(int code, std::string_view flags) {
  switch (code) {
    case Code("08"):
      return kPointNameBit | kPointBit | kPointCodeBit;
    case Code("69"):
      return kPointNameBit | kPointBit | kPointCodeBit | kMethodBit |
             kPointClassBit | kPrecisionsBit | kRmsBit | kSatellitesBit;
    case Code("66"):
    case Code("67"):
      return kPointNameBit | kPointCodeBit | kMethodBit | kPointClassBit |
             kPrecisionsBit | kRmsBit | kSatellitesBit;
    case Code("09"):
      return kStationNameBit | kPointNameBit | kSlopeDistanceBit |
             kAnglesBit | kPointCodeBit;
    case Code("02"):
      return kStationNameBit | kStationBit | kInstrumentHeightBit;
    case Code("07"):
    case Code("E1"):
      return kStationNameBit | kPointNameBit | kBacksightBit |
             kSlopeDistanceBit;
    case Code("79"):
    case Code("D9"):
      if (flags == "M2") return 0;
      return kStationNameBit | kPointNameBit | kSlopeDistanceBit |
             kAnglesBit | kPointCodeBit | kPointClassBit | kMethodBit;
    case Code("70"):
      return kPointNameBit | kStationNameBit | kPolarBit | kPointCodeBit |
             kMethodBit | kPointClassBit;
    case Code("B6"):
      return kPointCodeBit;
    case Code("62"):
      return kSatellitesBit;
    case Code("C6"):
      return kSatellitesBit | kRmsBit;
    default:
      return kNotListed;
  }
}

// The lines whose read_record the prescan may leave out because it changes
// nothing anyone sees: every field it writes (follow-up records included)
// is written again by later records before any record, or the field report
// after the prescan, could read it. Found backwards from the end, where
// every field is seen; any record not listed in FieldsWritten counts as
// reading all of them and is always read.
std::vector<bool> DeadRecords(const LineTable& table) {
  const size_t count = table.lines.size();
  std::vector<bool> dead(count, false);
  uint32_t live = kAllFields;
  for (size_t i = count; i-- > 0;) {
    int code = table.code(i);
    const std::string_view flags = code == Code("79") || code == Code("D9")
                                       ? dc::RecordFlags(table.lines[i])
                                       : std::string_view();
    uint32_t writes = FieldsWritten(code, flags);
    if (writes != kNotListed) {
      if (writes == 0) code = -code;  // a skipped observation: no follow-up
      const size_t end = FollowUpEnd(table, i, code);
      for (size_t next = i + 1; next < end && writes != kNotListed; ++next) {
        const uint32_t more = FieldsWritten(table.code(next), {});
        writes = more == kNotListed ? kNotListed : writes | more;
      }
    }
    if (writes == kNotListed) {
      live = kAllFields;
    } else if ((writes & live) == 0) {
      dead[i] = true;
    } else {
      live &= ~writes;
    }
  }
  return dead;
}

// The code read_record returns for line `index`, without decoding it.
int RecordCodeOf(const LineTable& table, size_t index) {
  const int code = table.code(index);
  if ((code == Code("79") || code == Code("D9")) &&
      dc::RecordFlags(table.lines[index]) == "M2") {
    return code == Code("79") ? kSkippedObservation : kSkippedObservationNewer;
  }
  return code == Code("D4") ? 78 : code;
}

}  // namespace

bool decode_attribute(std::string_view line, Attribute* attribute) {
  const int code = dc::RecordCode(line);
  if (code < Code("88") || code > Code("92")) return false;
  // Value widths of records 88, 89, 90, 91 and 92.
  static constexpr size_t kValueWidth[] = {16, 100, 10, 8, 20};
  AssignText(&attribute->name, line, 4, 20);
  AssignText(&attribute->value, line, 24,
             kValueWidth[static_cast<size_t>(code - Code("88"))]);
  return true;
}

std::string decode_attribute_group(std::string_view line) {
  return dc::DecodeText(line, 4, 20);
}

int read_record(size_t index, std::string* flags) {
  LibraryState& state = library_state();
  LineTable& table = state.line_table;
  if (index >= table.lines.size()) return dc::kUnlistedCode;
  RecordDecoder decoder(table, state.job_state);
  if (!flags) {
    table.taken_in_end = 0;  // the values may no longer be the records'
    return decoder.Decode(index, {}, false);
  }

  // A pass over the job calls in line order; a step back starts a new one.
  const bool forward = static_cast<int64_t>(index) > table.last_pass_index;
  if (!forward) {
    table.read_ahead_end = 0;
  }
  table.last_pass_index = static_cast<int64_t>(index);

  const std::string_view record_flags = dc::RecordFlags(table.lines[index]);
  flags->assign(record_flags.data(), record_flags.size());
  // A follow-up record its point took in is not decoded again: the point's
  // turn set the values of all its follow-ups in order, and only their own
  // turns come between, so after the last of them the job model is what
  // decoding each again would leave. (On the way a later follow-up's values
  // may already stand; nothing acts on these records.)
  if (forward && index >= table.taken_in_begin &&
      index < table.taken_in_end) {
    return table.code(index);
  }
  const int code = decoder.Decode(index, record_flags, false);

  const size_t end = FollowUpEnd(table, index, code);
  for (size_t next = index + 1; next < end; ++next) {
    decoder.Decode(next, {}, false);
  }
  table.taken_in_begin = index + 1;
  table.taken_in_end = end;
  return code;
}

PrescanResult prescan_job() {
  LibraryState& state = library_state();
  JobState& job = state.job_state;
  job.coord_system_type = kNoCoordSystem;
  job.geoid_kind = GeoidKind::kNone;
  PrescanResult result;
  std::string flags;
  const LineTable& table = state.line_table;
  // Most points and observations are written over by the next ones before
  // anything reads them; only their record codes count here.
  const std::vector<bool> dead = DeadRecords(table);
  const size_t count = table.lines.size();
  for (size_t i = 0; i < count; ++i) {
    const int code = dead[i] ? RecordCodeOf(table, i) : read_record(i, &flags);
    switch (code) {
      case Code("69"):
        result.keyed_point = true;
        break;
      case Code("66"):
      case Code("67"):
      case Code("54"):
        result.gps = true;
        break;
      case Code("50"): {
        if (flags == "KI") result.calibration_point = false;
        const HorizontalFit& fit = job.horizontal_fit;
        if (fit.rotation > dc::kPresentAbove && fit.scale > 0.9) {
          result.field_fit = FieldFit::kFound;
        } else if (fit.rotation < dc::kPresentAbove &&
                   result.field_fit == FieldFit::kFound) {
          result.field_fit = FieldFit::kNone;
        }
        break;
      }
      case Code("81"): {
        if (flags == "KI") result.calibration_point = false;
        const VerticalFit& fit = job.vertical_fit;
        const double sum = fit.inclination_second + fit.inclination_first +
                           fit.translation + fit.centre_second +
                           fit.centre_first;
        if (fit.translation > dc::kPresentAbove &&
            (fit.kind == 1 || fit.kind == 3) && sum != 0) {
          result.field_fit = FieldFit::kFound;
        } else if (fit.translation < dc::kPresentAbove &&
                   result.field_fit == FieldFit::kFound) {
          result.field_fit = FieldFit::kNone;
        }
        break;
      }
      case Code("B1"):
        result.calibration_point = true;
        break;
      default:
        break;
    }
  }
  return result;
}

}  // namespace danvora
