#include "standins/jobreader/job_file.h"

#include <cstring>

namespace standins {

namespace {

constexpr char kOlderMark[] = "TJ";

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitItems(std::string_view line) {
  std::vector<std::string_view> items;
  size_t start = 0;
  while (true) {
    size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) {
      items.push_back(TrimBlanks(line.substr(start)));
      return items;
    }
    items.push_back(TrimBlanks(line.substr(start, comma - start)));
    start = comma + 1;
  }
}

}  // namespace

int JobPointValueCount(std::string_view kind) {
  if (kind == "NEZ") return 3;
  if (kind == "STN" || kind == "PLR STN") return 4;
  if (kind == "BASE" || kind == "RTK") return 6;
  return 0;
}

platform::Expected<std::vector<JobPoint>> ParseJobPoints(std::string_view text,
                                                         const std::string& source) {
  std::vector<JobPoint> points;
  int line_number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    std::vector<std::string_view> items = SplitItems(trimmed);
    int count = JobPointValueCount(items[0]);
    auto fail = [&](const std::string& why) {
      return platform::Error(source + ", line " + std::to_string(line_number) + ": " + why);
    };
    if (count == 0) return fail("unknown point kind \"" + std::string(items[0]) + "\"");
    if (static_cast<int>(items.size()) != 3 + count) {
      return fail("a " + std::string(items[0]) + " point has " + std::to_string(3 + count) +
                  " items");
    }
    if (items[1].empty()) return fail("the point has no name");
    JobPoint point;
    point.kind = items[0];
    point.name = items[1];
    point.code = items[2];
    if (point.name.find('"') != std::string::npos || point.code.find('"') != std::string::npos) {
      return fail("names and codes hold no double quotation marks");
    }
    for (int i = 0; i < count; ++i) point.values.emplace_back(items[3 + i]);
    points.push_back(std::move(point));
  }
  return points;
}

std::string EncodeJobFile(const JobFile& job) {
  std::string bytes;
  if (job.is_signed) {
    bytes.append(kJobSignature, kJobSignatureLength);
    bytes.append(kJobReservedLength, '\0');
  } else {
    bytes.append(kOlderMark, 2);
  }
  bytes.push_back(static_cast<char>(job.major));
  bytes.push_back(static_cast<char>(job.minor));
  for (const JobPoint& point : job.points) {
    bytes += point.kind + "," + point.name + "," + point.code;
    for (const std::string& value : point.values) bytes += "," + value;
    bytes += "\r\n";
  }
  return bytes;
}

platform::Expected<JobFile> DecodeJobFile(std::string_view bytes, const std::string& source) {
  JobFile job;
  size_t offset;
  if (bytes.size() >= static_cast<size_t>(kJobSignatureLength) &&
      std::memcmp(bytes.data(), kJobSignature, kJobSignatureLength) == 0) {
    job.is_signed = true;
    offset = kJobSignatureLength + kJobReservedLength;
  } else {
    job.is_signed = false;
    offset = 2;
  }
  if (bytes.size() < offset + 2) return platform::Error(source + ": the job file is cut short");
  job.major = static_cast<unsigned char>(bytes[offset]);
  job.minor = static_cast<unsigned char>(bytes[offset + 1]);
  platform::Expected<std::vector<JobPoint>> points =
      ParseJobPoints(bytes.substr(offset + 2), source);
  if (!points) return points.error();
  job.points = std::move(*points);
  return job;
}

std::string TicFileText(const JobFile& job, const std::string& job_name,
                        const std::string& geodata_directory,
                        const std::string& language_file) {
  std::string text = "JOB,\"" + job_name + "\"," +
                     std::to_string(job.major * 100 + job.minor) + "\r\n";
  text += "GEODATA," + geodata_directory + "\r\n";
  text += "LANGUAGE," + language_file + "\r\n";
  for (const JobPoint& point : job.points) {
    text += point.kind + ",\"" + point.name + "\",\"" + point.code + "\"";
    for (const std::string& value : point.values) text += "," + value;
    // The reader takes an item not followed by a comma as empty.
    text += ",\r\n";
  }
  return text;
}

}  // namespace standins
