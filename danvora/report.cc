#include "danvora/report.h"

#include <cmath>
#include <string>

#include "danvora/export_formats.h"
#include "text/format.h"
#include "danvora/job_reader.h"
#include "danvora/known_points.h"
#include "danvora/kx77.h"
#include "danvora/library_state.h"
#include "dc/code_tables.h"
#include "dc/fields.h"
#include "dc/record_code.h"
#include "dc/units.h"

namespace danvora {
namespace {

using dc::Code;

constexpr double kPi = 3.14159265358979323846;
constexpr Triple kNoPosition{dc::kMissing, dc::kMissing, dc::kMissing};

constexpr std::string_view kObservationTail =
    "        Hz       Zd     dist     sh Klasse";
constexpr std::string_view kGpsTail = "    RMS   HDOP   VDOP  Nsat Klasse";

// What a record makes of the point it names, for the report and the export.
enum class PointKind {
  kNone,         // no point
  kCoordinates,  // given by co-ordinates: GPS, keyed in, copied
  kPolar,        // measured by direction and distance
  kExportOnly,   // exported, not listed in the report ("RS")
  kReference,    // a polar observation of a reference point: listed only
};

std::string_view ReportColumnHeader(CoordFamily family) {
  switch (family) {
    case CoordFamily::kYX:
      return "Metode        Pkt.nr.         Y meter         X meter       "
             "Kote Type     ";
    case CoordFamily::kNorthEast:
      return "Metode        Pkt.nr.         N meter         E meter       "
             "Kote Type     ";
    case CoordFamily::kGeographicEllipsoidal:
      return "Metode        Pkt.nr.     Latitude        Longitude     "
             "Ellipso H  Type       GeoideSep   ";
    case CoordFamily::kGeographicKote:
      return "Metode        Pkt.nr.     Latitude        Longitude       "
             "Kote     Type       GeoideSep   ";
  }
  return {};
}

// "%d-%b-%y %H:%M" with English month names, whatever the locale.
std::string ConversionTime(const platform::LocalTime& t) {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr",
                                            "May", "Jun", "Jul", "Aug",
                                            "Sep", "Oct", "Nov", "Dec"};
  const char* month = t.month >= 1 && t.month <= 12 ? kMonths[t.month - 1] : "";
  return text::Format("%02d-%s-%02d %02d:%02d", t.day, month, t.year % 100, t.hour,
                t.minute);
}

// " %<width>.<precision>lf" of `value`, or as many blanks when it is absent.
void AppendField(std::string* out, bool present, double value, int width,
                 int precision) {
  *out += ' ';
  if (present) {
    text::AppendReal(out, value, width, precision);
  } else {
    out->append(static_cast<size_t>(width), ' ');
  }
}

// What a keyed-in, copied or field-computed point (record 69) is, by its
// flags; other flags leave the record without a point.
struct KeyedPointFlags {
  std::string_view flags;
  std::string_view method_text;
  PointKind kind;
  int measure_kind;
};
constexpr KeyedPointFlags kKeyedPoints[] = {
    {"KI", "Indtastet/Beregnet i marken", PointKind::kCoordinates, 8},
    {"CC", "Kopieret", PointKind::kCoordinates, 8},
    {"RS", " ", PointKind::kExportOnly, 8},
    {"F1", "Pol\xE6rt", PointKind::kPolar, 1},
    {"IX", "Markberegnet", PointKind::kPolar, 1},
};

std::string Part(std::string_view text, size_t pos, size_t count) {
  if (pos >= text.size()) return {};
  return std::string(text.substr(pos, count));
}

class ReportWalk {
 public:
  ReportWalk(TextOutput* export_file, TextOutput* report, TextOutput* info,
             int coord_system, ExportFormat format, bool calibration_point,
             GeoidKind geoid_kind, std::string_view delimiters)
      : export_(export_file),
        report_(report),
        info_(info),
        coord_system_(coord_system),
        format_(format),
        calibration_point_(calibration_point),
        geoid_kind_(geoid_kind),
        delimiters_(delimiters),
        job_(library_state().job_state),
        header_(ReportColumnHeader(coord_family(coord_system))) {}

  void Run();

 private:
  void Report(std::string_view text) {
    if (report_) report_->Write(text);
  }
  // Report(text::Format(...)), built in the walk's own buffer.
  template <typename... Args>
  void ReportFormat(std::string_view format, const Args&... args) {
    if (!report_) return;
    text_.clear();
    text::AppendFormat(&text_, format, args...);
    report_->Write(text_);
  }
  // Starts a listing line in `text_`: "\n%-10.10s " of `label` and the
  // listing of the point; false (nothing done) without a report. The
  // caller adds the rest of the line and writes it (WriteText).
  bool StartListing(std::string_view label, std::string_view name,
                    const Triple& t, std::string_view code) {
    if (!report_) return false;
    text_.assign(1, '\n');
    text::AppendText(&text_, label, 10, /*left=*/true);
    text_ += ' ';
    append_report_listing(&text_, name, t, code);
    return true;
  }
  void WriteText() { report_->Write(text_); }
  // The table header with `tail`, then StartListing of a station (or base)
  // without a code.
  bool StartStationListing(std::string_view tail, std::string_view label,
                           const Triple& t) {
    TableHeader(tail);
    return StartListing(label, job_.station_name, t, "");
  }
  void TableHeader(std::string_view tail) {
    if (report_) {
      text_.assign("\n\n");
      text_ += header_;
      text_ += tail;
      report_->Write(text_);
    }
    table_header_written_ = true;
  }
  // The forward search for a point record moves the lookup position.
  void LookUpPoint() {
    lookup_position_ = find_known_point(job_.point_name, &job_.point,
                                        lookup_position_);
  }
  // A point whose co-ordinates only the known points give (GPS points and
  // observed points): a name not among them leaves it without a position,
  // so it is listed without one and not exported at the previous point's.
  void LookUpPointWithoutOwnPosition() {
    job_.point = kNoPosition;
    LookUpPoint();
  }
  // A GPS point (records 66 and 67): a co-ordinate point of measure kind 8.
  void GpsPoint() {
    LookUpPointWithoutOwnPosition();
    point_text_.clear();
    point_kind_ = PointKind::kCoordinates;
    measure_kind_ = 8;
  }

  void Record(int code, const std::string& flags);
  void Note(const std::string& flags);
  void Antenna();
  void VerticalFitAndGeoid();
  void BacksightCheck();
  void Point(size_t index);

  TextOutput* export_;
  TextOutput* report_;
  TextOutput* info_;
  const int coord_system_;
  const ExportFormat format_;
  const bool calibration_point_;
  const GeoidKind geoid_kind_;
  const std::string_view delimiters_;
  JobState& job_;
  const std::string_view header_;

  bool table_header_written_ = false;
  bool export_started_ = false;
  bool version_flag_ = false;
  double antenna_height_ = 0;
  int last_receiver_serial_ = 0;
  int last_instrument_serial_ = -1;
  int lookup_position_ = 0;
  int measure_kind_ = 0;
  PointKind point_kind_ = PointKind::kNone;
  std::string point_text_;
  std::string method_text_;
  std::string text_;  // the text being reported
  ExportPoint export_point_;
};

void ReportWalk::Run() {
  job_.ClearQualityFigures();
  const size_t count = library_state().line_table.size();
  std::string flags;
  for (size_t i = 0; i < count; ++i) {
    const int code = read_record(i, &flags);
    point_kind_ = PointKind::kNone;
    Record(code, flags);
    if (point_kind_ != PointKind::kNone) Point(i);
  }
}

void ReportWalk::Record(int code, const std::string& flags) {
  switch (code) {
    case Code("00"): {
      const std::string now = ConversionTime(library_state().export_state.clock());
      ReportFormat("M\xE5ling start   : %s\nKonvertering   : %s",
                   job_.measurement_start, now);
      const std::string name = export_system_name(coord_system_);
      if (calibration_point_) {
        ReportFormat(
            "\nKoordinatsystem: %s Koordinat Systems Tilpasning "
            "udf\xF8rt i marken",
            name);
      } else {
        ReportFormat("\nKoordinatsystem: %s", name);
      }
      if (geoid_kind_ == GeoidKind::kDnn) {
        ReportFormat("\nKotesystem DNN. Anvendt geoide: %s\n", "DK98geoide");
      } else if (geoid_kind_ == GeoidKind::kDvr90) {
        ReportFormat("\nKotesystem DVR90. Anvendt geoide: %s\n", "DVR90g2002");
      }
      break;
    }
    case Code("10"): {
      const std::string text = text::Format("Job            : %s", job_.job_name);
      write_comment_line(format_, text, export_);
      Report("\n" + text);
      break;
    }
    case Code("13"):
      Note(flags);
      break;
    case Code("50"): {
      const HorizontalFit& f = job_.horizontal_fit;
      if (f.rotation > dc::kPresentAbove && f.scale > 0.9) {
        ReportFormat(
            "\nHorizontal indpasning:\nRotation: %9.5lf\nSkala: "
            "%8.6lf\nFlytning: ( %.3lf, %.3lf)\nCentrum: (%.3lf, "
            "%.3lf)\n",
            f.rotation, f.scale, f.translation_first, f.translation_second,
            f.centre_first, f.centre_second);
      }
      break;
    }
    case Code("57"):
      Antenna();
      break;
    case Code("61"):
    case Code("E2"): {
      const int serial = dc::ParseInteger(job_.receiver_serial);
      if (serial != last_receiver_serial_) {
        ReportFormat("\n\nCorvane %-7.7s: Serienr. %s", job_.receiver_model,
                     job_.receiver_serial);
        last_receiver_serial_ = serial;
      }
      break;
    }
    case Code("66"):
      GpsPoint();
      if (flags != "KI") job_.point.z -= antenna_height_;
      if (flags == "FD") {
        point_kind_ = PointKind::kNone;
      } else if (flags == "OS") {
        job_.method = 0;
      } else if (flags == "CC") {
        method_text_ = "Kopieret";
      }
      break;
    case Code("67"):
      GpsPoint();
      break;
    case Code("69"):
      LookUpPoint();
      point_text_.clear();
      measure_kind_ = 8;
      for (const KeyedPointFlags& keyed : kKeyedPoints) {
        if (flags != keyed.flags) continue;
        method_text_ = keyed.method_text;
        point_kind_ = keyed.kind;
        measure_kind_ = keyed.measure_kind;
        break;
      }
      break;
    case Code("70"):
      if (job_.horizontal_distance < 0) {
        job_.horizontal_distance = 100.0;
        point_kind_ = PointKind::kNone;
      } else {
        point_kind_ = PointKind::kPolar;
      }
      LookUpPointWithoutOwnPosition();
      point_text_ = text::Format(
          "Fra pkt %-16.16s   %-10.10s (Az=%8.4lf af=%6.3lf dh=%6.3lf)",
          job_.station_name, dc::PointClassName(job_.point_class), job_.azimuth,
          job_.horizontal_distance, job_.height_difference);
      break;
    case Code("71"):
      ReportFormat("\nInitialisering %s %s",
                   dc::InitialisationMethodName(job_.initialisation_method),
                   dc::InitialisationResultName(job_.initialisation_result));
      break;
    case Code("73"):
      // The base may stand anywhere among the known points: behind the
      // lookup position first, then after it; the position stays. A base
      // that is in none has no position, not the last GPS point's.
      job_.point = kNoPosition;
      if (find_known_point(job_.station_name, &job_.point, -lookup_position_) <
          0) {
        find_known_point(job_.station_name, &job_.point, lookup_position_ + 1);
      }
      if (StartStationListing(kGpsTail, "Ref.base", job_.point)) {
        text::AppendFormat(&text_, "   Base Antenneh\xF8jde = %6.3lf",
                     antenna_height_);
        WriteText();
      }
      measure_kind_ = 8;
      break;
    case Code("75"):
    case Code("E4"):
      if (job_.instrument_serial != last_instrument_serial_) {
        std::string text = text::Format("\n\n%-15.15s", job_.instrument_model);
        if (job_.instrument_serial > 0) {
          text += text::Format(" Serienr: %d", job_.instrument_serial);
        }
        Report(text);
        last_instrument_serial_ = job_.instrument_serial;
      }
      measure_kind_ = 1;
      break;
    case Code("79"):
    case Code("D9"): {
      if (job_.horizontal_direction < 0) break;
      point_text_.clear();
      AppendField(&point_text_, true, job_.horizontal_direction, 8, 4);
      AppendField(&point_text_, true, job_.zenith_distance, 8, 4);
      AppendField(&point_text_, job_.slope_distance > 0, job_.slope_distance,
                  8, 3);
      method_text_.clear();
      AppendField(&method_text_, job_.target_height > -10.0,
                  job_.target_height, 6, 3);
      method_text_ += ' ';
      text::AppendText(&method_text_, dc::PointClassName(job_.point_class), 20,
                       /*left=*/true);
      point_text_ += method_text_;
      measure_kind_ = 1;
      point_kind_ = job_.point_class == dc::kClassReference
                        ? PointKind::kReference
                        : PointKind::kPolar;
      LookUpPointWithoutOwnPosition();
      break;
    }
    case Code("81"):
      VerticalFitAndGeoid();
      break;
    case Code("88"):
    case Code("89"):
    case Code("90"):
    case Code("91"):
    case Code("92"):
      ReportFormat("\n%s", text::Format("%s.%s=%s", job_.attribute_group,
                                  job_.attribute_name, job_.attribute_value));
      break;
    case Code("A6"):
      BacksightCheck();
      break;
    case Code("B1"): {
      const double p = job_.horizontal_residual;
      const double h = job_.vertical_residual;
      const bool has_p = p > dc::kPresentAbove, has_h = h > dc::kPresentAbove;
      if (!has_p && !has_h) break;
      ReportFormat("\nKalibreringspunkt: %s - %s\n", job_.point_name,
                   job_.second_point_name);
      if (has_p) ReportFormat("Planafv: %7.3lf", p);
      if (has_p && has_h) Report(" ");
      if (has_h) ReportFormat("H\xF8jdeafv: %6.3lf 3Dafv: %7.3lf", h, job_.residual_3d);
      break;
    }
    case Code("B2"):
      if (job_.residual_angle_1 > -400.0 &&
          StartListing("Restfejl", job_.point_name, job_.residual, "")) {
        const bool second_angle = job_.residual_angle_2 > -400.0;
        AppendField(&text_, true, job_.residual_angle_1, 8, 4);
        AppendField(&text_, second_angle, job_.residual_angle_2, 8, 4);
        AppendField(&text_, second_angle && job_.residual_3d > -9000.0,
                    job_.residual_3d, 8, 3);
        WriteText();
      }
      break;
    case Code("C8"):
      if (!job_.coord_system_name.empty()) {
        ReportFormat("\nKoordinatsystem: %s anvendt i marken",
                     job_.coord_system_name);
      }
      break;
    case Code("02"):
    case Code("E0"):
      // A station does not move the lookup position.
      find_known_point(job_.station_name, &job_.station, lookup_position_);
      if (StartStationListing(kObservationTail, "STATION", job_.station)) {
        if (job_.instrument_height > -10.0) {
          // "                          %8.3lf"
          text_.append(26, ' ');
          text::AppendReal(&text_, job_.instrument_height, 8, 3);
        }
        WriteText();
      }
      measure_kind_ = 1;
      break;
    case Code("07"):
    case Code("E1"):
      measure_kind_ = 1;
      break;
    default:
      break;
  }
}

void ReportWalk::Note(const std::string& flags) {
  std::string note = job_.note;
  if (flags == "NM") {
    if (note.find("Receiver firmware version") != std::string::npos) return;
    if (note.starts_with("VRS")) {
      // Same width: a degree sign and four blanks.
      for (size_t at; (at = note.find("u+00b")) != std::string::npos;) {
        note.replace(at, 5, "\xB0    ");
      }
      TableHeader(kGpsTail);
      ReportFormat("\n%s ", note);
    } else if (note.starts_with("New base ") || note.starts_with("TP Exchange")) {
      ReportFormat("\n%s", note);
    } else if (note.starts_with(":")) {
      ReportFormat("\n%s", note.substr(1));
    } else {
      write_info_line(format_, note, info_);
      ReportFormat("\nINFO: %s", note);
    }
  } else if (flags == "TS") {
    // A deleted item's note has its date and text eight columns further.
    const bool item = note.starts_with("Item");
    if (item || note.starts_with("Time")) {
      const size_t at = item ? 18 : 10;  // the month
      ReportFormat(item ? "\nSlettet %4.4s-%2.2s-%2.2s %s" : "\n%4.4s-%2.2s-%2.2s %s",
                   Part(note, at + 6, 4), Part(note, at, 2), Part(note, at + 3, 2),
                   Part(note, at + 16, std::string::npos));
    }
  } else if (flags == "CT") {
    ReportFormat("\nContinuous Topography: %s", note);
  }
}

void ReportWalk::Antenna() {
  const double h = job_.antenna_height;
  if (h <= -100.0) return;
  if (job_.antenna_method == 1) {
    antenna_height_ = h;
    ReportFormat("\nAntennetype    : %s\nAntenneh\xF8jde   : %6.3lf",
                 job_.antenna_type, h);
    return;
  }
  const double r = job_.antenna_radius;
  const double square = h * h - r * r;
  antenna_height_ = square >= 0 ? std::sqrt(square) + job_.antenna_offset : 0;
  // The second number is the height now in use.
  ReportFormat(square >= 0 ? "\nAntennetype    : %s\nAntenneh\xF8jde   : %6.3lf "
                             "korrigeret til: %6.3lf"
                           : "\nAntennetype    : %s\nAntenneh\xF8jde   : %6.3lf kan "
                             "ikke korrigeres: sat til 0.00: %6.3lf",
               job_.antenna_type, h, antenna_height_);
}

void ReportWalk::VerticalFitAndGeoid() {
  const VerticalFit& f = job_.vertical_fit;
  if (f.kind > 1) ReportFormat("\nAnvendt Geoide : %s", job_.geoid_name);
  const double sum = f.centre_second + f.centre_first + f.translation +
                     f.inclination_second + f.inclination_first;
  if (f.translation > dc::kPresentAbove && (f.kind == 1 || f.kind == 3) &&
      sum != 0) {
    ReportFormat(
        "\nVertikal indpasning:\nFlytning: %.3lf\nH\xE6ldning ( "
        "%.6lf, %.6lf)\nCentrum: (%.3lf, %.3lf)\n",
        f.translation, f.inclination_first, f.inclination_second,
        f.centre_first, f.centre_second);
  }
}

void ReportWalk::BacksightCheck() {
  const double station[3] = {job_.station.x, job_.station.y, job_.station.z};
  const double point[3] = {job_.point.x, job_.point.y, job_.point.z};
  const double direction = kx77_direction(station, point);
  const double a =
      kx77_normalize_angle(direction + job_.direction_offset) * kPi / 200.0;
  const double distance = job_.horizontal_residual;
  const double height = job_.vertical_residual;
  if (StartListing(
          "AfsKontrol", job_.check_point_name,
          Triple{-distance * std::sin(a), distance * std::cos(a), height},
          "")) {
    text::AppendFormat(&text_, " %8.4lf            %6.3lf %6.3lf",
                 job_.direction_offset, distance, height);
    WriteText();
  }
}

void ReportWalk::Point(size_t index) {
  if (!export_started_) {
    version_flag_ = job_.version_text.find("V03") == std::string::npos;
    write_title_line(format_, "Corvane DC data udl\xE6st med Danvora", export_);
    if (geoid_kind_ == GeoidKind::kDnn) {
      write_title_line(format_, "Koter i DNN (GM/GI) udfra Dk98Geoide",
                       export_);
    } else if (geoid_kind_ == GeoidKind::kDvr90) {
      write_title_line(format_, "Koter i DVR90 udfra DVR90g2002", export_);
    }
    write_file_header(format_, coord_system_, export_);
    export_started_ = true;
    method_text_.clear();
    if (!table_header_written_) {
      Report("\n\n" + std::string(header_) + " ");
      table_header_written_ = true;
    }
  }
  if (point_kind_ == PointKind::kCoordinates && method_text_.empty()) {
    if (!version_flag_ &&
        job_.horizontal_precision + job_.vertical_precision > 0.001) {
      // " %5.3lf %5.3lf"
      point_text_.assign(1, ' ');
      text::AppendReal(&point_text_, job_.horizontal_precision, 5, 3);
      point_text_ += ' ';
      text::AppendReal(&point_text_, job_.vertical_precision, 5, 3);
    } else if (job_.hdop > 0) {
      // "%6.1lf %6.2lf %6.2lf  %4d %-10.10s" of the RMS, the DOPs, the
      // satellites and the class; blanks for an RMS of 0.
      point_text_.clear();
      if (job_.rms > 0) {
        text::AppendReal(&point_text_, job_.rms, 6, 1);
      } else {
        point_text_.append(6, ' ');
      }
      point_text_ += ' ';
      text::AppendReal(&point_text_, job_.hdop, 6, 2);
      point_text_ += ' ';
      text::AppendReal(&point_text_, job_.vdop, 6, 2);
      point_text_ += "  ";
      text::AppendInteger(&point_text_, job_.satellites, 4);
      point_text_ += ' ';
      text::AppendText(&point_text_, dc::PointClassName(job_.point_class), 10,
                 /*left=*/true);
    }
  }
  if (report_ && point_kind_ != PointKind::kExportOnly &&
      !(point_kind_ == PointKind::kCoordinates &&
        is_geographic_system(coord_system_))) {
    std::string_view label;
    if (point_kind_ == PointKind::kPolar ||
        point_kind_ == PointKind::kReference) {
      label = "Pol\xE6r";
    } else if (dc::IsDeletedClass(job_.point_class)) {
      label = dc::PointClassName(job_.point_class);
    } else {
      label = dc::MethodName(job_.method);
    }
    StartListing(label, job_.point_name, job_.point, job_.point_code);
    text_ += point_text_;
    WriteText();
  }
  if (point_kind_ != PointKind::kReference) {
    // Kept from point to point for the storage of its texts.
    ExportPoint& point = export_point_;
    point.record_index = index;
    point.name = job_.point_name;
    point.triple = job_.point;
    point.code = job_.point_code;
    point.method_text = method_text_;
    point.method = job_.method;
    point.point_class = job_.point_class;
    point.measure_kind = measure_kind_;
    export_point(format_, point, delimiters_, coord_system_, export_, info_,
                 report_);
  }
  method_text_.clear();
}

}  // namespace

void write_field_report(TextOutput* export_file, TextOutput* report_file,
                        TextOutput* info_file, int coord_system,
                        ExportFormat format, bool calibration_point,
                        GeoidKind geoid_kind, std::string_view delimiters) {
  if (library_state().line_table.size() == 0) return;
  ReportWalk walk(export_file, report_file, info_file, coord_system, format,
                  calibration_point, geoid_kind, delimiters);
  walk.Run();
}

}  // namespace danvora
