// converter_TranslatePlus of the stand-in job readers: one source, built
// once per job version (STANDIN_JOB_VERSION). It checks the two parameter
// records as the host must fill them, reads a job file of our own layout
// (job_file.h) and writes the points file. Returns 0 for anything it cannot
// do, leaving no points file behind.
#include <cstdint>
#include <cstring>
#include <string>

#include "pelixo/app/device_transfer_job_reader.h"
#include "pelixo/app/switches.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/switches.h"
#include "standins/jobreader/job_file.h"

#ifndef STANDIN_JOB_VERSION
#error "STANDIN_JOB_VERSION names the job version this reader handles"
#endif

#if defined(_WIN32)
#define STANDIN_EXPORT extern "C" __declspec(dllexport)
#else
#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

using pelixo::RecordWord;

bool AllZero(const uint8_t* bytes, int count) {
  for (int i = 0; i < count; ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

// The record as the host must fill it; the geodata field, when `geodata`
// is given, must be zero-terminated within its 260 bytes.
bool RecordIsSound(const uint8_t* record, uint16_t kind, uint16_t version, uint16_t role,
                   std::string* geodata) {
  if (record == nullptr) return false;
  if (RecordWord(record, pelixo::kRecordSizeOffset) != pelixo::kJobReaderRecordSize ||
      RecordWord(record, pelixo::kRecordKindOffset) != kind ||
      RecordWord(record, pelixo::kRecordVersionOffset) != version ||
      RecordWord(record, pelixo::kRecordRoleOffset) != role) {
    return false;
  }
  if (!AllZero(record + pelixo::kRecordReserved1Offset, 13) ||
      !AllZero(record + pelixo::kRecordReserved2Offset, 16)) {
    return false;
  }
  const uint8_t* field = record + pelixo::kRecordGeoDataOffset;
  const void* end = std::memchr(field, 0, pelixo::kRecordGeoDataSize);
  if (end == nullptr) return false;
  if (geodata != nullptr) {
    geodata->assign(reinterpret_cast<const char*>(field),
                    static_cast<const uint8_t*>(end) - field);
  } else if (!AllZero(field, pelixo::kRecordGeoDataSize)) {
    return false;
  }
  return true;
}

std::string BaseName(const std::string& path) {
  // Both slashes end the folder on every build; the name runs to its last ".".
  const std::string name = path.substr(path.find_last_of("\\/") + 1);
  return platform::ReplaceExtension(name, "", platform::ExtensionRule::kSlashes);
}

}  // namespace

STANDIN_EXPORT int32_t PLATFORM_STDCALL converter_TranslatePlus(
    const char* language_file, const char* job_path, const uint8_t* input_record,
    const char* points_path, const uint8_t* output_record,
    pelixo::JobReaderQueryFunction query, pelixo::JobReaderProgressFunction progress,
    pelixo::JobReaderMessageFunction message, int32_t reserved) {
  platform::SetSwitches(pelixo::PelixoSwitches());
  constexpr uint16_t kVersion = STANDIN_JOB_VERSION;
  constexpr uint16_t kOutputVersion = kVersion > 1050 ? 3 : 2;
  if (language_file == nullptr || job_path == nullptr || points_path == nullptr ||
      query == nullptr || progress == nullptr || message == nullptr || reserved != 0) {
    return 0;
  }
  std::string geodata;
  if (!RecordIsSound(input_record, pelixo::kInputRecordKind, kVersion,
                     pelixo::kInputRecordRole, &geodata) ||
      !RecordIsSound(output_record, pelixo::kOutputRecordKind, kOutputVersion,
                     pelixo::kOutputRecordRole, nullptr)) {
    return 0;
  }
  if (query(0) != 0) return 0;
  platform::Expected<std::string> bytes = platform::ReadWholeFile(job_path);
  if (!bytes) return 0;
  platform::Expected<standins::JobFile> job = standins::DecodeJobFile(*bytes, job_path);
  if (!job || job->major * 100 + job->minor != kVersion) return 0;
  message(job_path);
  progress(50);
  platform::Status written = platform::WriteWholeFile(
      points_path, standins::TicFileText(*job, BaseName(job_path), geodata, language_file));
  progress(100);
  return written ? 1 : 0;
}
