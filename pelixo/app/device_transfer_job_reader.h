// The binding to the job-reader libraries of Syncrona's Terrapad converter:
// the entry converter_TranslatePlus (standard, callee-cleans convention), its
// three progress callbacks (C convention) and the two 297-byte parameter
// records, byte-packed, integers little-endian. Header only: the stand-in
// job readers implement the same declarations.
#ifndef PELIXO_APP_DEVICE_TRANSFER_JOB_READER_H_
#define PELIXO_APP_DEVICE_TRANSFER_JOB_READER_H_

#include <array>
#include <cstdint>

#include "platform/calling_convention.h"

namespace pelixo {

inline constexpr char kTranslatePlusEntry[] = "converter_TranslatePlus";

inline constexpr int kJobReaderRecordSize = 297;
using JobReaderRecord = std::array<uint8_t, kJobReaderRecordSize>;

// Offsets of the fields of a parameter record.
inline constexpr int kRecordSizeOffset = 0;      // 2 bytes: 297
inline constexpr int kRecordKindOffset = 2;      // 2 bytes: 7 input, 23 output
inline constexpr int kRecordVersionOffset = 4;   // 2 bytes
inline constexpr int kRecordRoleOffset = 6;      // 2 bytes: 1 input, 2 output
inline constexpr int kRecordReserved1Offset = 8;   // 13 bytes, zero
inline constexpr int kRecordReserved2Offset = 21;  // 16 bytes, zero
inline constexpr int kRecordGeoDataOffset = 37;  // 260 bytes, zero-terminated
inline constexpr int kRecordGeoDataSize = 260;

inline constexpr uint16_t kInputRecordKind = 7;
inline constexpr uint16_t kOutputRecordKind = 23;
inline constexpr uint16_t kInputRecordRole = 1;
inline constexpr uint16_t kOutputRecordRole = 2;

inline uint16_t RecordWord(const uint8_t* record, int offset) {
  return static_cast<uint16_t>(record[offset] | (record[offset + 1] << 8));
}
inline void SetRecordWord(JobReaderRecord& record, int offset, uint16_t value) {
  record[offset] = static_cast<uint8_t>(value & 0xFF);
  record[offset + 1] = static_cast<uint8_t>(value >> 8);
}

// The callbacks: the reader asks the first whether to stop (0: go on) and
// reports progress through the other two.
using JobReaderQueryFunction = int32_t(PLATFORM_CDECL*)(int32_t value);
using JobReaderProgressFunction = void(PLATFORM_CDECL*)(int32_t value);
using JobReaderMessageFunction = void(PLATFORM_CDECL*)(const char* text);

// Non-zero on success.
using TranslatePlusFunction = int32_t(PLATFORM_STDCALL*)(
    const char* language_file, const char* job_path, const uint8_t* input_record,
    const char* points_path, const uint8_t* output_record,
    JobReaderQueryFunction query, JobReaderProgressFunction progress,
    JobReaderMessageFunction message, int32_t reserved);

}  // namespace pelixo

#endif  // PELIXO_APP_DEVICE_TRANSFER_JOB_READER_H_
