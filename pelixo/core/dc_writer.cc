#include "pelixo/core/dc_writer.h"

#include <utility>

#include "pelixo/core/text_file.h"
#include "platform/files.h"
#include "text/format.h"

namespace pelixo {

std::string FormatDCDate(std::string_view date_text) {
  size_t first = date_text.find('-');
  std::string result;
  if (first == std::string_view::npos) {
    result = date_text;
  } else {
    size_t second = date_text.find('-', first + 1);
    std::string_view head = date_text.substr(0, first + 1);
    std::string_view month = date_text.substr(
        first + 1, second == std::string_view::npos ? std::string_view::npos
                                                    : second - first - 1);
    std::string_view tail = second == std::string_view::npos
                                ? std::string_view()
                                : date_text.substr(second);
    result.append(head).append(month.substr(0, 3)).append(tail);
  }
  if (result.size() > 16) result.resize(16);
  return result;
}

std::string DCDateText(const platform::LocalTime& time) {
  return FormatDCDate(text::Format("%02d-%s-%02d %02d:%02d ", time.day % 100,
                                   platform::LocaleShortMonthName(time.month), time.year % 100,
                                   time.hour % 100, time.minute % 100));
}

void WriteJobHeader(LineList& job, int dc_version,
                    const DCJobSettings& settings, std::string_view job_name,
                    const platform::LocalTime& now) {
  job.push_back(PelixoHeaderRecord(dc_version, DCDateText(now),
                                       settings.angle_unit_position,
                                       settings.coordinate_unit_position));
  job.push_back(PelixoJobRecord(job_name));
}

platform::Expected<CoordinateSystemCopy> CopyCoordinateSystemRecords(
    LineList& job, int dc_version,
    const DCJobSettings& settings, const std::string& program_directory) {
  const std::string& name = settings.coordinate_system_file;
  if (name.empty()) return CoordinateSystemCopy::kNotNamed;
  // As named, else in the program's folder. A name that opens as no
  // regular file (missing, unreadable, a folder, FIFO or device) is not
  // found: the job goes without the records.
  platform::Expected<platform::InputFile> input = platform::InputFile::Open(name);
  if (!input) input = platform::InputFile::Open(program_directory + name);
  if (!input) return CoordinateSystemCopy::kNotFound;
  platform::Expected<std::string> text = input->ReadAll();
  if (!text) return text.error();
  const TextFile file = TextFile::FromText(std::move(*text));
  for (std::string_view line : file.lines()) {
    if (IsCoordinateSystemRecord(line, dc_version)) job.push_back(line);
  }
  return CoordinateSystemCopy::kCopied;
}

}  // namespace pelixo
