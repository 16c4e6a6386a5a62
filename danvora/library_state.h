// The Danvora library's process-wide state: everything that lives from the
// loading of the library to its unloading. The library is plain functions
// over this one instance; its exports are called one at a time.
#ifndef DANVORA_LIBRARY_STATE_H_
#define DANVORA_LIBRARY_STATE_H_

#include <string>

#include "danvora/export_state.h"
#include "danvora/job_reader.h"
#include "danvora/job_state.h"
#include "danvora/known_points.h"
#include "danvora/line_table.h"

namespace danvora {

struct LibraryState {
  LineTable line_table;
  JobState job_state;
  KnownPointTable known_point_table;
  ExportState export_state;

  // Settings of the current translation.
  std::string ini_path;          // at most 255 characters
  std::string code_separators;   // at most 15 characters

  // Whether a job since the loading had a field fit.
  FieldFit earlier_field_fit = FieldFit::kNone;
};

// The one instance.
LibraryState& library_state();

// Hands the library's switches to its platform layer: the library has no
// main of its own, so each export does this before its work.
void use_library_switches();

// Puts the instance back to its state at loading (tests: a fresh process).
void reset_library_state();

}  // namespace danvora

#endif  // DANVORA_LIBRARY_STATE_H_
