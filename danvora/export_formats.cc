#include "danvora/export_formats.h"

#include "text/format.h"
#include "danvora/job_reader.h"
#include "danvora/library_state.h"
#include "dc/code_tables.h"
#include "dc/fields.h"
#include "dc/record_code.h"
#include "platform/path.h"
#include "platform/profile.h"

namespace danvora {
namespace {

// Below these a plan position or a height is missing.
constexpr double kPlanMissingBelow = -900000000.0;
constexpr double kHeightMissingAtOrBelow = -9000.0;

constexpr std::string_view kGeocadFixed =
    "         0 20000    50 20000    50     0     0          0          0 ";
static_assert(kGeocadFixed.size() == 69);

constexpr std::string_view kBlanks = "                                ";
static_assert(kBlanks.size() == 32);

ExportState& writer() { return library_state().export_state; }

std::string TrimTrailingBlanks(std::string_view text) {
  const size_t last = text.find_last_not_of(' ');
  return std::string(last == std::string_view::npos ? std::string_view()
                                                    : text.substr(0, last + 1));
}

// The start of a comment line of `format`; none for the formats without
// comment lines.
std::optional<std::string_view> CommentMarker(ExportFormat format) {
  switch (format) {
    case ExportFormat::kKx77:
      return "/* ";
    case ExportFormat::kSdl:
      return " 8 ";
    case ExportFormat::kLandcad:
    case ExportFormat::kCowi:
      return "C ";
    case ExportFormat::kGeocad:
      return "    ";
    default:
      return std::nullopt;
  }
}

// One line of `marker` and `text`.
void WriteMarkedLine(std::string_view marker, std::string_view text,
                     TextOutput* file) {
  file->Write(text::Format("%s%s\n", marker, text));
}

// The column-header line of KX77, SDL and LANDCAD, without the line end.
std::string_view ColumnHeader(ExportFormat format, CoordFamily family) {
  static constexpr std::string_view kKx77Headers[] = {
      "' Pkt.nr.    ,   Y meter    ,   X meter   ,   Kote   , Type     ",
      "' Pkt.nr.    ,   N meter    ,   E meter   ,   Kote   , Type     ",
      "' Pkt.nr. ,   Latitude    ,   Longitude   , Ellipso H, Type     , "
      "GeoideSep   ",
      "' Pkt.nr. ,   Latitude    ,   Longitude   ,   Kote   , Type     , "
      "GeoideSep   ",
  };
  static constexpr std::string_view kSdlHeaders[] = {
      " 8 PKT.NR      KODE       Y-KOORD.        X-KOORD.        Z-KOORD. ",
      " 8 PKT.NR      KODE       N-KOORD.        E-KOORD.        Z-KOORD. ",
      " 8 PKT.NR      KODE        LATITUDE        LOGITUDE      ELLIPSOIDE H",
      " 8 PKT.NR      KODE        LATITUDE        LOGITUDE         KOTE     ",
  };
  static constexpr std::string_view kLandcadHeaders[] = {"C", "C", "", ""};
  const size_t i = static_cast<size_t>(family);
  if (format == ExportFormat::kKx77) return kKx77Headers[i];
  if (format == ExportFormat::kSdl) return kSdlHeaders[i];
  return kLandcadHeaders[i];
}

// The code KX77 writes: a leading number below 0.05 keeps the text after
// the last "_"; above 0.95 the code is cut at its first "_", keeping a
// decimal part that follows it ("3_GEL.1" is written "3.1").
void AppendKx77Code(std::string* line, std::string_view code) {
  const double value = dc::ParseNumber(code);
  if (value < 0.05) {
    const size_t last = code.rfind('_');
    *line += last == std::string_view::npos ? code : code.substr(last + 1);
    return;
  }
  const size_t first = code.find('_');
  if (value > 0.95 && first != std::string_view::npos) {
    *line += code.substr(0, first);
    const std::string_view after = code.substr(first + 1);
    const size_t point = after.find('.');
    if (point != std::string_view::npos) *line += after.substr(point);
    return;
  }
  *line += code;
}

// "%10.10s %15.3lf %15.3lf" of the name and the plan position.
void AppendNameAndPlan(std::string* line, std::string_view name,
                       const Triple& t) {
  text::AppendText(line, name, 10);
  *line += ' ';
  text::AppendReal(line, t.y, 15, 3);
  *line += ' ';
  text::AppendReal(line, t.x, 15, 3);
}

// "%<width>.3lf" of the height, after a blank when `blank_first`, or
// `missing` in its place.
void AppendHeight(std::string* line, const Triple& t, int width,
                  std::string_view missing, bool blank_first = true) {
  if (t.z > kHeightMissingAtOrBelow) {
    if (blank_first) *line += ' ';
    text::AppendReal(line, t.z, width, 3);
  } else {
    *line += missing;
  }
}

// The code head and one-character sub-code of LANDCAD and GEOCAD.
// Both are parts of the code (or "9").
struct CodeSplit {
  std::string_view head;
  std::string_view sub;
};

CodeSplit SplitCode(std::string_view code) {
  size_t separator = code.find('-');
  if (separator == std::string_view::npos) separator = code.find('.');
  if (separator == std::string_view::npos) return {code, "9"};
  return {code.substr(0, separator), code.substr(separator + 1, 1)};
}

int64_t Millimetres(double value) { return text::TruncateToInt64(value * 1000); }

std::string OutletText(char outlet) {
  return outlet == '\0' ? std::string() : std::string(1, outlet);
}

// A date "2004-06-23" is written "23-06-04"; any other as it stands.
std::string DasDate(const std::string& date) {
  if (date.size() < 5 || date[4] != '-') return date;
  auto part = [&](size_t pos) {
    return pos < date.size() ? date.substr(pos, 2) : std::string();
  };
  return part(8) + "-" + part(5) + "-" + part(2);
}

void WriteSvkWell(const WellRecord& w, TextOutput* file) {
  const std::string bottom =
      w.depth > 0 ? text::Format("%6.2lf", w.z - w.depth) : std::string(6, ' ');
  const std::string diameter =
      w.diameter > 0 ? text::Format("%5.2lf", w.diameter) : std::string(5, ' ');
  file->Write(text::Format("%-7.7s %9.2lf %9.2lf %6.6s %6.2lf %1.1s %5.5s\n",
                     w.name, w.x, w.y, bottom, w.z, OutletText(w.outlet_form),
                     diameter));
  file->Write(text::Format("                         %3d %3.3s %3d %3.3s\n",
                     w.measure_kind, w.depth > 0 ? "8  " : "0  ",
                     w.measure_kind, w.diameter > 0 ? "11 " : "0  "));
}

void WriteDasWell(const WellRecord& w, int gps_method, TextOutput* file) {
  const int k = w.measure_kind == 8 ? gps_method : w.measure_kind;
  const std::string date = DasDate(w.date);
  std::string out = text::Format("1100 %-7.7s\n", w.name);
  // Lines 1 to 13 of the well: the line number in five columns, then its
  // value, if any.
  auto line = [&](int number) -> std::string& {
    text::AppendFormat(&out, "%-5d", number);
    return out;
  };
  // A measured value is followed by how and when it was measured.
  auto measured = [&](int number, int width, bool present, double value) {
    line(number);
    if (present) {
      text::AppendReal(&out, value, width, 2);
      text::AppendFormat(&out, "  %1.1d  %8.8s", k, date);
    }
    out += '\n';
  };
  line(1) += '\n';
  line(2) += text::Format("%-20.20s\n", w.street);
  line(3) += w.diameter > 0
                 ? text::Format("%6.2lf                    11\n", w.diameter)
                 : std::string("\n");
  measured(4, 10, true, w.x);
  measured(5, 10, true, w.y);
  measured(6, 6, w.depth > 0, w.z - w.depth);
  line(7) += '\n';
  measured(8, 6, true, w.z);
  measured(9, 6, w.terrain > -100.0, w.terrain);
  line(10) += '\n';
  line(11) += '\n';
  line(12) +=
      text::Format("                  %1.1s\n", OutletText(w.outlet_form));
  line(13) += '\n';
  out += ".\n.\n.\n";
  file->Write(out);
}

void WritePendingWell(ExportFormat format, TextOutput* file) {
  WellRecord& well = writer().well;
  if (!well.pending) return;
  if (format == ExportFormat::kSvk) {
    WriteSvkWell(well, file);
  } else {
    WriteDasWell(well, writer().gps_method, file);
  }
  well.pending = false;
}

void StartWell(std::string_view name, const Triple& t, int measure_kind) {
  WellRecord& well = writer().well;
  well.pending = true;
  well.name = std::string(name);
  well.x = t.x;
  well.y = t.y;
  well.z = t.z;
  well.measure_kind = measure_kind;
  well.depth = 0;
  well.terrain = -1000.0;
  well.diameter = 0;
  well.outlet_form = ' ';
}

// An attribute or info text of a well point fills the pending well.
void ParseWellAttribute(std::string_view text) {
  WellRecord& well = writer().well;
  auto value_after = [&](std::string_view prefix, std::string_view* value) {
    if (!text.starts_with(prefix)) return false;
    *value = text.substr(prefix.size());
    return true;
  };
  std::string_view v;
  if (value_after("Brond.Nedstik=", &v) ||
      value_after("Brond.Nedstik_Bund=", &v) || value_after("N:", &v)) {
    well.depth = dc::ParseNumber(v);
  } else if (value_after("Brond.Nedstik_Terren=", &v) ||
             value_after("T:", &v)) {
    well.terrain = well.z - dc::ParseNumber(v);
  } else if (value_after("Brond.Diameter=", &v) || value_after("D:", &v)) {
    well.diameter = dc::ParseNumber(v);
  } else if (value_after("Brond.Udlobsform=", &v)) {
    const char c = v.empty() ? ' ' : v[0];
    well.outlet_form = (c == '0' || c == '?') ? ' ' : c;
  } else if (value_after("U:", &v)) {
    const int32_t n = dc::ParseInteger(v);
    well.outlet_form = static_cast<char>(
        static_cast<unsigned char>(('0' + static_cast<int64_t>(n)) & 0xFF));
  } else if (value_after("Brond.Dato=", &v)) {
    well.date = TrimTrailingBlanks(v).substr(0, 11);
  } else if (value_after("Brond.Vejnavn=", &v)) {
    if (!v.starts_with("-")) well.street = TrimTrailingBlanks(v).substr(0, 31);
  }
}

// The attribute lines of `code`: the records after the point record, as
// long as they are attribute groups (87), attributes (88 to 92) or records
// passed over (13, 59, 60, B6, C6).
void WriteAttributeLines(ExportFormat format, size_t record_index,
                         std::string_view code, TextOutput* info_file) {
  if (code.empty()) return;
  const LineTable& table = library_state().line_table;
  std::string_view group = library_state().job_state.attribute_group;
  std::string group_storage;  // the group of a record 87 met on the way
  for (size_t i = record_index + 1; i < table.lines.size(); ++i) {
    const std::string_view line = table.lines[i];
    const int record = table.code(i);
    if (record == dc::Code("87")) {
      group_storage = decode_attribute_group(line);
      group = group_storage;
      continue;
    }
    Attribute attribute;
    if (record >= dc::Code("88") && record <= dc::Code("92") &&
        decode_attribute(line, &attribute)) {
      if (code.starts_with(group)) {
        write_info_line(
            format,
            text::Format("%s.%s=%s", group, attribute.name, attribute.value),
            info_file);
      }
      continue;
    }
    if (record == dc::Code("13") || record == dc::Code("59") ||
        record == dc::Code("60") || record == dc::Code("B6") ||
        record == dc::Code("C6")) {
      continue;
    }
    break;
  }
}

// The text of an info token ("&R", "&S:200+mm", "&N:1.25").
std::string InfoText(std::string_view token) {
  std::string text;
  if (token == "&R") {
    text = "Retningspkt";
  } else if (token.starts_with("&S:")) {
    text = "St\xF8rrelse: " + std::string(token.substr(3));
  } else {
    text = std::string(token.substr(1));
  }
  for (char& c : text) {
    if (c == '+') c = ' ';
  }
  return text;
}

// Whether `format` writes its attribute lines to a ".info" file.
bool UsesInfoFile(ExportFormat format) {
  using enum ExportFormat;
  return format == kGeocad || format == kAlt || format == kArgus ||
         format == kKomma || format == kSvk;
}

}  // namespace

CoordFamily coord_family(int coord_system) {
  switch (coord_system) {
    case 1:
    case 2:
    case 3:
    case kLocalYX:
      return CoordFamily::kYX;
    case 8:
    case 11:
      return CoordFamily::kGeographicEllipsoidal;
    case 7:
    case 12:
      return CoordFamily::kGeographicKote;
    default:
      return CoordFamily::kNorthEast;
  }
}

bool is_geographic_system(int coord_system) {
  return coord_system == 7 || coord_system == 11 || coord_system == 12;
}

std::string export_system_name(int coord_system) {
  if (coord_system == kLocalNorthEast) return "NE koordinatsystem";
  if (coord_system == kLocalYX) return "YX koordinatsystem";
  return std::string(coord_system_name(coord_system));
}

std::string info_file_path(const std::string& export_path) {
  return platform::ReplaceExtension(export_path, ".info",
                                    platform::ExtensionRule::kSlashes);
}

void begin_export_run() {
  ExportState& state = writer();
  auto clock = state.clock;
  state = ExportState();
  state.clock = clock;
}

std::optional<TextOutput> open_info_file(ExportFormat format,
                                         const std::string& export_path) {
  writer().comment_counter = 0;
  if (!UsesInfoFile(format)) return std::nullopt;
  auto file = TextOutput::Create(info_file_path(export_path));
  if (!file) return std::nullopt;
  return std::move(*file);
}

void write_comment_line(ExportFormat format, std::string_view text,
                        TextOutput* file) {
  const std::optional<std::string_view> marker = CommentMarker(format);
  if (!file || !marker) return;
  if (format == ExportFormat::kGeocad) {
    // The head lines are counted: write_file_header fills them up to 16.
    if (writer().comment_counter == 0) {
      file->Write("ascii  version 1\n");
      ++writer().comment_counter;
    }
    ++writer().comment_counter;
  }
  WriteMarkedLine(*marker, text, file);
}

void write_title_line(ExportFormat format, std::string_view text,
                      TextOutput* file) {
  if (!file) return;
  if (format == ExportFormat::kKx77) {
    WriteMarkedLine("", text, file);
  } else {
    write_comment_line(format, text, file);
  }
}

void write_info_line(ExportFormat format, std::string_view text,
                     TextOutput* file) {
  if (format == ExportFormat::kSvk || format == ExportFormat::kDas) {
    ParseWellAttribute(text);
    return;
  }
  if (!file) return;
  switch (format) {
    case ExportFormat::kKx77:
      WriteMarkedLine("&_", text, file);
      break;
    case ExportFormat::kSdl:
    case ExportFormat::kLandcad:
      WriteMarkedLine(*CommentMarker(format), text, file);
      break;
    case ExportFormat::kGeocad:
    case ExportFormat::kAlt:
    case ExportFormat::kArgus:
    case ExportFormat::kKomma:
      file->Write(text::Format("%s, %s\n", writer().current_point_name, text));
      break;
    case ExportFormat::kCowi:
      WriteMarkedLine("", text, file);
      break;
    case ExportFormat::kDdh: {
      const size_t point = text.find('.');
      file->Write(text::Format(", %s", point == std::string_view::npos
                                     ? text
                                     : text.substr(point + 1)));
      break;
    }
    default:
      break;
  }
}

void write_file_header(ExportFormat format, int coord_system,
                       TextOutput* file) {
  ExportState& state = writer();
  state.current_point_name = "Start";
  if (!file) return;
  switch (format) {
    case ExportFormat::kAlt:
      file->Write("1000\n");
      break;
    case ExportFormat::kGeocad:
      while (state.comment_counter < 16) {
        file->Write("  \n");
        ++state.comment_counter;
      }
      break;
    case ExportFormat::kSvk:
      file->Write("ANTAL CIRKUL\xC6RE BR\xD8NDE SKEMA KG1\n");
      file->Write("9999\n");
      file->Write("KNPKT   X-KOOR     Y-KOOR   BUNDK   TOPK UDF DIAM\n");
      state.well.pending = false;
      break;
    case ExportFormat::kDas: {
      // Read once for all its keys; a file that cannot be read gives the
      // defaults.
      const platform::Profile ini =
          platform::Profile::Load(library_state().ini_path);
      file->Write("DAS INTERFACE VERSION 4.0\n");
      const platform::LocalTime now = state.clock();
      file->Write(text::Format("%02d-%02d-%02d %02d:%02d:%02d\n", now.day,
                         now.month, now.year % 100, now.hour, now.minute,
                         now.second));
      for (const char* key : {"Firma1", "Firma2", "Firma3", "Firma4"}) {
        file->Write(text::Format("%.79s\n", ini.String("DAS4", key, "-")));
      }
      file->Write("\n\n\n\n\n");
      state.well.pending = false;
      state.gps_method = ini.Int("DAS4", "GpsMetode", 8);
      break;
    }
    case ExportFormat::kKx77:
    case ExportFormat::kSdl:
    case ExportFormat::kLandcad: {
      write_title_line(format,
                       "Koordinatsystem: " + export_system_name(coord_system),
                       file);
      std::string line(ColumnHeader(format, coord_family(coord_system)));
      if (format == ExportFormat::kKx77) {
        line += "," + std::string(20, ' ') + "'";
      } else {
        line += std::string(20, ' ');
      }
      file->Write(line + "\n");
      break;
    }
    default:
      break;  // ARGUS, COWI, Komma, DDH: no header
  }
}

void append_report_listing(std::string* line, std::string_view name,
                           const Triple& t, std::string_view code) {
  writer().current_point_name.assign(name.data(), name.size());
  if (t.y < kPlanMissingBelow) {
    text::AppendText(line, name, 10);
    *line += kBlanks;
  } else {
    AppendNameAndPlan(line, name, t);
  }
  AppendHeight(line, t, 10, kBlanks.substr(0, 11));
  *line += ' ';
  text::AppendText(line, code, 10, /*left=*/true);
}

std::string_view write_point_line(ExportFormat format, std::string_view name,
                                  const Triple& t, std::string_view code,
                                  std::string_view remark, int measure_kind,
                                  TextOutput* file) {
  if (!file) return code;
  std::string_view effective_code = code;
  ExportState& state = writer();
  state.current_point_name.assign(name.data(), name.size());
  if (format != ExportFormat::kReportListing && t.y < kPlanMissingBelow) {
    return effective_code;
  }
  // Each point line is built whole, in storage kept from line to line, and
  // written at once.
  std::string& line = state.line;
  line.clear();
  switch (format) {
    case ExportFormat::kKx77:
      AppendNameAndPlan(&line, name, t);
      AppendHeight(&line, t, 10, kBlanks.substr(0, 11));
      line += ' ';
      AppendKx77Code(&line, code);
      line += '\n';
      break;
    case ExportFormat::kSdl:
      text::AppendFormat(&line, " 6 %10.10s %10.10s %15.3lf %15.3lf", name,
                   code.empty() ? std::string_view(" - ") : code, t.y, t.x);
      AppendHeight(&line, t, 10, "      -    ");
      text::AppendFormat(&line, " %s\n", remark);
      break;
    case ExportFormat::kLandcad:
    case ExportFormat::kGeocad: {
      const CodeSplit split = SplitCode(code);
      effective_code = split.head;
      if (format == ExportFormat::kLandcad) {
        text::AppendFormat(&line, "%4.4s%1.1s%11.3lf %11.3lf%11.11s",
                           split.head, split.sub, t.y, t.x, name);
        AppendHeight(&line, t, 7, kBlanks.substr(0, 7), /*blank_first=*/false);
        text::AppendFormat(&line, "%15.15s\n", remark);
      } else {
        text::AppendFormat(&line, "%4.4s%2.2s%10d%10d", split.head, split.sub,
                           Millimetres(t.y), Millimetres(t.x));
        if (t.z > kHeightMissingAtOrBelow) {
          text::AppendFormat(&line, "%7d", Millimetres(t.z));
        } else {
          line += "   -500";
        }
        line += kGeocadFixed;
        text::AppendFormat(&line, "%-12.12s\n", name);
      }
      break;
    }
    case ExportFormat::kAlt:
    case ExportFormat::kKomma:
      // "%s,%0.3lf,%0.3lf,%0.3lf,%s\n"
      line += name;
      for (const double value : {t.y, t.x, t.z}) {
        line += ',';
        text::AppendReal(&line, value, 0, 3);
      }
      line += ',';
      line += code;
      line += '\n';
      break;
    case ExportFormat::kArgus:
      text::AppendFormat(&line, " %10.10s %-8.8s          %11.3lf %11.3lf", name,
                   code, t.y, t.x);
      AppendHeight(&line, t, 7, "        ");
      line += '\n';
      break;
    case ExportFormat::kCowi:
      text::AppendFormat(&line, "%0.3lf, %0.3lf, %0.3lf, %s, %s,\n", t.y, t.x, t.z,
                   name, code);
      break;
    case ExportFormat::kSvk:
      WritePendingWell(format, file);
      StartWell(name, t, measure_kind);
      break;
    case ExportFormat::kDas:
      if (state.well.pending) {
        // A terrain point directly after its well gives the terrain level.
        if (code.starts_with("T")) state.well.terrain = t.z;
        WritePendingWell(format, file);
      }
      if (code.starts_with("B")) StartWell(name, t, measure_kind);
      break;
    case ExportFormat::kDdh:
      if (state.comment_counter > 0) line += '\n';
      ++state.comment_counter;
      AppendNameAndPlan(&line, name, t);
      AppendHeight(&line, t, 10, " ----------");
      line += ' ';
      line += code;
      break;
    case ExportFormat::kReportListing:
      append_report_listing(&line, name, t, code);
      break;
    default:
      break;
  }
  if (!line.empty()) file->Write(line);
  return effective_code;
}

void finish_export_file(ExportFormat format, const std::string& export_name,
                        TextOutput* file) {
  if (!file) return;
  switch (format) {
    case ExportFormat::kSvk:
      WritePendingWell(format, file);
      break;
    case ExportFormat::kDas:
      WritePendingWell(format, file);
      file->Write(text::Format("SLUT DAS INTERFACE FIL %s\n", export_name));
      break;
    case ExportFormat::kCowi:
      file->Write("E\n");
      break;
    default:
      break;
  }
}

void export_point(ExportFormat format, const ExportPoint& point,
                  std::string_view delimiters, int coord_system,
                  TextOutput* export_file, TextOutput* info_file,
                  TextOutput* report) {
  if (point.method == dc::kMethodCopied || dc::IsDeletedClass(point.point_class)) {
    return;
  }
  // A point without a plan position is not written, and neither are its
  // attribute and info lines: they would stand under the previous point
  // (or fill its well). The report keeps its own lines for it.
  const bool written = point.triple.y >= kPlanMissingBelow;
  if (delimiters.empty()) {
    const std::string_view code =
        write_point_line(format, point.name, point.triple, point.code, "",
                         point.measure_kind, export_file);
    if (written) {
      WriteAttributeLines(format, point.record_index, code, info_file);
    }
    return;
  }
  // Geographic systems get no point lines in token mode.
  const bool point_lines = !is_geographic_system(coord_system);
  // " ." joins a decimal part to its code.
  std::string_view code = point.code;
  std::string joined;
  if (code.find(" .") != std::string_view::npos) {
    joined = point.code;
    for (size_t gap; (gap = joined.find(" .")) != std::string::npos;) {
      joined.erase(gap, 1);
    }
    code = joined;
  }
  bool any_token = false;
  size_t pos = 0;
  while (true) {
    pos = code.find_first_not_of(delimiters, pos);
    if (pos == std::string_view::npos) break;
    size_t end = code.find_first_of(delimiters, pos);
    if (end == std::string_view::npos) end = code.size();
    const std::string_view token = code.substr(pos, end - pos);
    pos = end;
    any_token = true;
    std::string_view token_code = token;
    if (token[0] == '&') {
      const std::string text = InfoText(token);
      if (written) write_info_line(format, text, info_file);
      if (report) report->Write(text::Format("\nINFO: %s", text));
    } else if (point_lines) {
      token_code = write_point_line(format, point.name, point.triple, token,
                                    "", point.measure_kind, export_file);
    }
    if (written) {
      WriteAttributeLines(format, point.record_index, token_code, info_file);
    }
  }
  if (!any_token && point_lines) {
    write_point_line(format, point.name, point.triple, "   ",
                     point.method_text, point.measure_kind, export_file);
  }
}

}  // namespace danvora
