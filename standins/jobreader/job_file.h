// Our own layout of a Terrapad job file, as the stand-in job readers read it
// and the job maker writes it.
//
//   signed job file:  "Corvane Terrapad Job" (20 bytes), 16 reserved bytes
//                     (zero), major version, minor version, payload
//   older job file:   "TJ", major version, minor version, payload
//
// The payload is 8-bit text, one point a line (CR LF or LF; blank lines and
// lines beginning with "#" are passed over), items separated by commas:
//
//   NEZ,name,code,north,east,height
//   STN,name,code,instrument height,north,east,height    (also "PLR STN")
//   BASE,name,code,latitude,longitude,ellipsoid height,north,east,height
//   RTK,name,code,latitude,longitude,ellipsoid height,north,east,height
//
// Names and codes hold neither commas nor double quotation marks; the
// numbers travel as the text they are written in.
#ifndef STANDINS_JOBREADER_JOB_FILE_H_
#define STANDINS_JOBREADER_JOB_FILE_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"

namespace standins {

inline constexpr char kJobSignature[] = "Corvane Terrapad Job";
inline constexpr int kJobSignatureLength = 20;
inline constexpr int kJobReservedLength = 16;

struct JobPoint {
  std::string kind;  // NEZ, STN, PLR STN, BASE or RTK
  std::string name;
  std::string code;
  std::vector<std::string> values;  // the numbers after the code, as written
};

struct JobFile {
  bool is_signed = true;
  int major = 10;
  int minor = 70;
  std::vector<JobPoint> points;
};

// Number of values a point of `kind` carries after its code; 0 for an
// unknown kind.
int JobPointValueCount(std::string_view kind);

// Parses payload lines; the error names `source` and the line.
platform::Expected<std::vector<JobPoint>> ParseJobPoints(std::string_view text,
                                                         const std::string& source);

// The bytes of a job file.
std::string EncodeJobFile(const JobFile& job);
// Reads the bytes of a job file; the error names `source`.
platform::Expected<JobFile> DecodeJobFile(std::string_view bytes, const std::string& source);

// The points file of a job: a header line naming the job, then one line per
// point, each going on after its third co-ordinate. CR LF after every line.
std::string TicFileText(const JobFile& job, const std::string& job_name,
                        const std::string& geodata_directory,
                        const std::string& language_file);

}  // namespace standins

#endif  // STANDINS_JOBREADER_JOB_FILE_H_
