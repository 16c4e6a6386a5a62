// The state of the export writers during one run (one export file and
// possibly one info file).
#ifndef DANVORA_EXPORT_STATE_H_
#define DANVORA_EXPORT_STATE_H_

#include <string>

#include "platform/locale.h"

namespace danvora {

// The well waiting to be written (SVK and DAS).
struct WellRecord {
  bool pending = false;
  std::string name;
  double x = 0, y = 0, z = 0;  // z is the cover level
  double depth = 0;            // "Nedstik"; 0 = none
  double terrain = -1000.0;    // written only when above -100
  double diameter = 0;         // 0 = none
  char outlet_form = ' ';
  int measure_kind = 0;
  // Carried over from well to well.
  std::string date;    // at most 11 characters, 8 written
  std::string street;  // at most 31 characters, 20 written
};

struct ExportState {
  int comment_counter = 0;
  std::string current_point_name;
  WellRecord well;
  int gps_method = 8;  // "GpsMetode" of section "DAS4"
  std::string line;    // the point line being built (for its storage)
  // The clock of the DAS header; tests set a fixed one.
  platform::LocalTime (*clock)() = &platform::CurrentLocalTime;
};

}  // namespace danvora

#endif  // DANVORA_EXPORT_STATE_H_
