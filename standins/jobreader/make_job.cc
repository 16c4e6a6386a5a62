// make-job: writes a job file of the stand-in layout from a point list.
//   make-job [--older] [--version MAJOR.MINOR] POINTS OUT.JOB
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "pelixo/app/switches.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/interrupt.h"
#include "platform/switches.h"
#include "standins/jobreader/job_file.h"

namespace {

constexpr char kUsage[] =
    "usage: make-job [--older] [--version MAJOR.MINOR] POINTS OUT.JOB\n"
    "Writes the job file OUT.JOB (signed layout unless --older; version 10.70\n"
    "unless given) holding the points of POINTS, one a line:\n"
    "  NEZ,name,code,north,east,height\n"
    "  STN,name,code,instrument height,north,east,height\n"
    "  BASE|RTK,name,code,latitude,longitude,ellipsoid height,north,east,height\n";

bool ParseVersion(const char* text, int* major, int* minor) {
  char* end = nullptr;
  long a = std::strtol(text, &end, 10);
  if (end == text || *end != '.') return false;
  const char* rest = end + 1;
  long b = std::strtol(rest, &end, 10);
  if (end == rest || *end != '\0' || a < 0 || a > 255 || b < 0 || b > 255) return false;
  *major = static_cast<int>(a);
  *minor = static_cast<int>(b);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  platform::SetSwitches(pelixo::PelixoSwitches());
  platform::RemoveTemporaryFilesOnInterrupt();
  standins::JobFile job;
  const char* points_path = nullptr;
  const char* out_path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--older") == 0) {
      job.is_signed = false;
    } else if (std::strcmp(argv[i], "--version") == 0 && i + 1 < argc) {
      if (!ParseVersion(argv[++i], &job.major, &job.minor)) {
        std::fprintf(stderr, "make-job: bad version \"%s\"\n%s", argv[i], kUsage);
        return 2;
      }
    } else if (points_path == nullptr) {
      points_path = argv[i];
    } else if (out_path == nullptr) {
      out_path = argv[i];
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (out_path == nullptr) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  platform::Expected<std::string> text = platform::ReadWholeFile(points_path);
  if (!text) {
    std::fprintf(stderr, "make-job: %s\n", text.error().message().c_str());
    return 1;
  }
  platform::Expected<std::vector<standins::JobPoint>> points =
      standins::ParseJobPoints(*text, points_path);
  if (!points) {
    std::fprintf(stderr, "make-job: %s\n", points.error().message().c_str());
    return 1;
  }
  job.points = std::move(*points);
  platform::Status written = platform::WriteWholeFile(out_path, standins::EncodeJobFile(job));
  if (!written) {
    std::fprintf(stderr, "make-job: %s\n", written.error().message().c_str());
    return 1;
  }
  return 0;
}
