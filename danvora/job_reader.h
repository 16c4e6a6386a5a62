// Reading the records of the stored DC job into the job model.
#ifndef DANVORA_JOB_READER_H_
#define DANVORA_JOB_READER_H_

#include <string>
#include <string_view>

namespace danvora {

// Decodes line `index` of `line_table` into `job_state` and returns its
// record code (-79 or -139 for a skipped record 79 or D9 of flags "M2"; 78
// for a record D4). With `flags` given it receives columns 2-3, and the
// follow-up records of points and observations are taken in at once (B6
// after 08, 09, 69, 70, 79, D9; B6, 62, C6 after 66 and 67). A record 64 of
// a transverse Mercator projection without an ellipsoid yet reads ahead to
// the next record 65 before it decides the coordinate system. The own turn
// of a follow-up record taken in so is not decoded again (a read without
// `flags` in between ends that); callers do nothing at these records.
int read_record(size_t index, std::string* flags);

// The attribute of a record 88 to 92 (name and value), without touching the
// job model; false for any other record.
struct Attribute {
  std::string name, value;
};
bool decode_attribute(std::string_view line, Attribute* attribute);

// The group name of a record 87.
std::string decode_attribute_group(std::string_view line);

// Whether a job's coordinate system was fitted in the field (a horizontal
// or vertical fit with values).
enum class FieldFit { kNone, kFound };

struct PrescanResult {
  FieldFit field_fit = FieldFit::kNone;
  bool keyed_point = false;
  bool gps = false;
  bool calibration_point = false;
};

// Reads the whole job once: decides the coordinate system (left in
// `job_state`) and finds the keyed-point, GPS and calibration-point flags
// and the field-fit result.
PrescanResult prescan_job();

}  // namespace danvora

#endif  // DANVORA_JOB_READER_H_
