#include "app/EngineErrors.h"

#include <algorithm>
#include <array>
#include <utility>

#include "engine/HalvexCodes.h"
#include "resources/ids.h"

namespace palto {

namespace {

constexpr std::array<std::pair<std::int32_t, unsigned>, 22> kTable{{
    {halvex::kEngineNotReady, IDS_ENGINE_ERROR_1000003},
    {halvex::kOutOfMemory, IDS_ENGINE_ERROR_1000004},
    {halvex::kInvalidRequest, IDS_ENGINE_ERROR_1000005},
    {halvex::kProjectNotFound, IDS_ENGINE_ERROR_1000008},
    {halvex::kStorageUnreachable, IDS_ENGINE_ERROR_1000100},
    {halvex::kMediumNotAvailable, IDS_ENGINE_ERROR_1000103},
    {halvex::kArchiveNotFound, IDS_ENGINE_ERROR_1000104},
    {halvex::kCancelled, IDS_ENGINE_ERROR_1000105},
    {halvex::kTaskRunning, IDS_ENGINE_ERROR_1000112},
    {halvex::kTargetNotPrepared, IDS_ENGINE_ERROR_1000312},
    {halvex::kBackupUnreadable, IDS_ENGINE_ERROR_1000350},
    {halvex::kBackupDamaged, IDS_ENGINE_ERROR_1000351},
    {halvex::kBackupPartMissing, IDS_ENGINE_ERROR_1000352},
    {halvex::kTargetWriteFailed, IDS_ENGINE_ERROR_1000353},
    {halvex::kTargetTooSmall, IDS_ENGINE_ERROR_1000354},
    {halvex::kAskGoOn, IDS_ENGINE_QUESTION_1000355},
    {halvex::kWarnReadErrors, IDS_ENGINE_WARNING_1000356},
    {halvex::kTargetInUse, IDS_ENGINE_ERROR_1000357},
    {halvex::kDiskFailure, IDS_ENGINE_ERROR_1000358},
    {halvex::kNewerBackupVersion, IDS_ENGINE_ERROR_1000359},
    {halvex::kUnsupportedFormat, IDS_ENGINE_ERROR_1000360},
    {halvex::kBaseNotAvailable, IDS_ENGINE_ERROR_1000103},
}};

}  // namespace

unsigned EngineErrorStringId(std::int32_t code)
{
    const auto entry = std::find_if(kTable.begin(), kTable.end(), [code](const auto& e) { return e.first == code; });
    return entry == kTable.end() ? 0 : entry->second;
}

std::wstring EngineErrorText(std::int32_t code, const std::function<std::wstring(unsigned id)>& loadText)
{
    if (const unsigned id = EngineErrorStringId(code)) {
        std::wstring text = loadText(id);
        if (!text.empty()) return text;
    }
    return loadText(IDS_ENGINE_ERROR_OTHER) + L"  " + std::to_wstring(code);
}

}  // namespace palto
