#include "danvora/dctrans.h"

#include <array>
#include <optional>
#include <string>

#include "danvora/alert.h"
#include "danvora/export_formats.h"
#include "danvora/interface.h"
#include "danvora/job_reader.h"
#include "danvora/known_points.h"
#include "danvora/library_state.h"
#include "danvora/line_table.h"
#include "danvora/report.h"
#include "danvora/text_file.h"
#include "text/format.h"

namespace danvora {
namespace {

// The tables are emptied at the end of every translation, whatever the
// outcome.
class TranslationTables {
 public:
  ~TranslationTables() {
    clear_line_table();
    clear_known_points();
  }
};

// A warning about the whole job: shown to the user, and written into the
// point file (as comment lines) and the report in a frame of asterisks, 101
// columns wide in the point file and `report_width` in the report.
void Warn(const std::string& message, ExportFormat format, TextOutput* output,
          TextOutput* report, size_t report_width) {
  alert_user(platform::OwnWords(message));
  auto box = [&](size_t width) {
    const std::string stars(width, '*');
    std::string blank(width, ' ');
    blank.front() = '*';
    blank.back() = '*';
    return std::array<std::string, 5>{stars, blank, message, blank, stars};
  };
  for (const std::string& line : box(101)) {
    write_comment_line(format, line, output);
  }
  if (report) {
    for (const std::string& line : box(report_width)) {
      report->Write(line + "\n");
    }
  }
}

// A new output at `path`; none, the user told which file, when it cannot be
// made.
std::optional<TextOutput> CreateOutput(const std::string& path) {
  auto created = TextOutput::Create(path);
  if (!created) {
    alert_cannot_open(path);
    return std::nullopt;
  }
  return std::move(*created);
}

}  // namespace

int16_t Dctrans(const std::string& dc_path, const std::string& out_path,
                const std::string& report_path, ExportFormat format,
                const std::string& separators, const std::string& ini_path) {
  LibraryState& state = library_state();
  state.ini_path = ini_path.substr(0, 255);
  state.code_separators = separators.substr(0, 15);
  const size_t b = state.code_separators.find('b');
  if (b != std::string::npos) state.code_separators[b] = ' ';

  const int number = FormatNumber(format);
  if (number < FormatNumber(ExportFormat::kNone) || number >= kFormatCount) {
    alert_user(platform::OwnWords(text::Format("Format %s kan ikke benyttes i resultatfil",
                                         export_format_name(format))));
    return kRefused;
  }

  TranslationTables tables;
  if (load_known_points(out_path) != KnownPointsLoad::kLoaded) {
    return kRefused;
  }
  if (!load_line_table(dc_path)) {
    // Missing, a folder, unreadable: the user is told which file, and
    // nothing is written or changed.
    alert_cannot_open(dc_path);
    return kRefused;
  }

  const PrescanResult prescan = prescan_job();
  JobState& job = state.job_state;
  const int coord_system = job.coord_system_type;
  if (coord_system == kNoCoordSystem) {
    alert_user(platform::OwnWords("DC filen indeholder ikke et brugbart koordinatsystem!"));
    return kRefused;
  }
  if (prescan.gps &&
      (coord_system == kLocalNorthEast || coord_system == kLocalYX)) {
    alert_user(platform::OwnWords("Der er m\xE5lt GPS p\xE5 et ikke-jordisk koordinatsystem.\n"
                                  "V\xE6lg et jordisk koordinatsystem ved udl\xE6sningen"));
    return kRefused;
  }
  if (prescan.keyed_point && state.earlier_field_fit == FieldFit::kFound) {
    alert_user(platform::OwnWords("Forvalgt KoordinatSystemsTilpasning kan ikke anvendes, da "
                                  "der er anvendt koordinatsystem i marken!"));
    return kRefused;
  }
  if (prescan.field_fit == FieldFit::kFound) {
    state.earlier_field_fit = FieldFit::kFound;
  }

  begin_export_run();
  std::optional<TextOutput> output;
  std::optional<TextOutput> info;
  if (format != ExportFormat::kNone) {
    output = CreateOutput(out_path);
    if (!output) return kRefused;
    info = open_info_file(format, out_path);
  }
  TextOutput* output_file = output ? &*output : nullptr;
  TextOutput* side_file = info ? &*info : output_file;

  std::optional<TextOutput> report;
  if (report_path.size() > 2) {
    report = CreateOutput(report_path);
    if (!report) return kRefused;  // the outputs are discarded unwritten
  }
  TextOutput* report_out = report ? &*report : nullptr;

  if (coord_system >= 1 && coord_system <= 3 && !job.datum_grid) {
    Warn("* Der er valgt System 34 men der er ingen Datum Grid fil. "
         "Koordinaterne er sandsynligvis ubrugelige *",
         format, output_file, report_out, 101);
  }
  if (prescan.gps && job.geoid_kind == GeoidKind::kNone) {
    Warn("* Der er valgt ingen Geoidefil avendt ved GPS m\xE5ling. Koterne er "
         "sandsynligvis ubrugelige *",
         format, output_file, report_out, 99);
  }

  write_field_report(output_file, report_out, side_file, coord_system,
                     format, prescan.calibration_point, job.geoid_kind,
                     state.code_separators);
  finish_export_file(format, out_path, output_file);

  // Only a translation written whole replaces the files on disk, and all of
  // them or none.
  if (const TextOutput* failed = CommitTogether(
          {output_file, info ? &*info : nullptr, report_out})) {
    alert_cannot_write(failed->path());
    return kRefused;
  }
  return prescan.calibration_point ? kTranslatedWithCalibration : kTranslated;
}

}  // namespace danvora
