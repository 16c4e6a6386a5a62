// A DC job through the Danvora library's record reading: the line table,
// the prescan that decides the coordinate system, and read_record over
// every line as the field report and the export writers walk it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "danvora/job_reader.h"
#include "danvora/library_state.h"
#include "danvora/line_table.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchPath("records.dc");
  fuzz::WriteFile(path, data, size);
  danvora::reset_library_state();
  if (!danvora::load_line_table(path)) return 0;
  danvora::prescan_job();
  const danvora::LineTable& table = danvora::library_state().line_table;
  std::string flags;
  for (size_t i = 0; i < table.size(); ++i) {
    danvora::read_record(i, &flags);
    danvora::Attribute attribute;
    danvora::decode_attribute(table.lines[i], &attribute);
    danvora::decode_attribute_group(table.lines[i]);
  }
  // A second pass without follow-up records, as the export writers read.
  for (size_t i = 0; i < table.size(); ++i) danvora::read_record(i, nullptr);
  return 0;
}
