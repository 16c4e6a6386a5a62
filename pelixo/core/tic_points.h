// The points file (".tic") that a job-reader library writes beside a
// received job: the co-ordinates and codes of the job's points, looked up by
// name when the measured points of the DC file are exported.
#ifndef PELIXO_CORE_TIC_POINTS_H_
#define PELIXO_CORE_TIC_POINTS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"

namespace pelixo {

struct PointRecord {
  std::string Name;  // the item as it stands, double quotation marks removed
  std::string Code;  // likewise
  double North = 1e308;  // 1e308 when missing
  double East = 1e308;
  double Height = 1e308;
  // The first point of its name in the file (the one a lookup finds).
  bool FirstOfName = false;
};

class TTICPointhandler {
 public:
  TTICPointhandler() = default;
  TTICPointhandler(const TTICPointhandler&) = delete;
  TTICPointhandler& operator=(const TTICPointhandler&) = delete;

  // Appends the points of the file, in file order. A file that cannot be
  // read gives "Cannot open file <path>".
  platform::Status LoadFromFile(const std::string& path);
  // Appends the points of a whole file's text.
  void LoadFromText(std::string_view text);

  // The first point, in file order, whose name equals `name` exactly (case
  // counts); null when there is none.
  const PointRecord* Find(std::string_view name) const;
  // The same point's values; the outputs are untouched when there is none.
  bool FindPoint(std::string_view name, std::string* code, double* north, double* east,
                 double* height) const;

  const std::vector<PointRecord>& Points() const { return points_; }

  // One line of a points file; false when it is no point line.
  static bool ParsePointLine(std::string_view line, PointRecord* record);

 private:
  // Rebuilt after every load: its keys are views of the points' names.
  void IndexNames();

  std::vector<PointRecord> points_;
  // Name -> index of its first point, so that a large job is not searched
  // point by point: an open-addressed table of point indexes + 1 (0: free),
  // a power of two in size and never more than half full.
  std::vector<uint32_t> first_index_;
  // Lookups mostly come in the file's order: the point after the last one
  // found is tried first.
  mutable size_t next_guess_ = 0;
};

}  // namespace pelixo

#endif  // PELIXO_CORE_TIC_POINTS_H_
