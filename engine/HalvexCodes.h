// Result codes of the backup engine: 0 is success, every other value an engine error
// code. The wizard shows each code's text (app/EngineErrors.h); two codes also steer
// it: kMediumNotAvailable (retry with media requests, or no base backup for a restore)
// and kAskGoOn (the one code asked as a Yes/No question during a restore).
#pragma once

#include <cstdint>

namespace halvex {

constexpr std::int32_t kOk = 0;

constexpr std::int32_t kEngineNotReady = -1000003;        // the engine could not read its backups
constexpr std::int32_t kOutOfMemory = -1000004;
constexpr std::int32_t kInvalidRequest = -1000005;        // arguments or records the engine refuses
constexpr std::int32_t kProjectNotFound = -1000008;
constexpr std::int32_t kStorageUnreachable = -1000100;
constexpr std::int32_t kMediumNotAvailable = -1000103;    // medium or base backup not available
constexpr std::int32_t kArchiveNotFound = -1000104;
constexpr std::int32_t kCancelled = -1000105;             // a task stopped on request
constexpr std::int32_t kTaskRunning = -1000112;
constexpr std::int32_t kTargetNotPrepared = -1000312;
constexpr std::int32_t kBackupUnreadable = -1000350;
constexpr std::int32_t kBackupDamaged = -1000351;
constexpr std::int32_t kBackupPartMissing = -1000352;
constexpr std::int32_t kTargetWriteFailed = -1000353;
constexpr std::int32_t kTargetTooSmall = -1000354;
constexpr std::int32_t kAskGoOn = -1000355;               // read errors: go on? (a question)
constexpr std::int32_t kWarnReadErrors = -1000356;        // the same text, as a warning
constexpr std::int32_t kTargetInUse = -1000357;
constexpr std::int32_t kDiskFailure = -1000358;
constexpr std::int32_t kNewerBackupVersion = -1000359;
constexpr std::int32_t kUnsupportedFormat = -1000360;
constexpr std::int32_t kBaseNotAvailable = -1000513;      // shares the text of kMediumNotAvailable

}  // namespace halvex
