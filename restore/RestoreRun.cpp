#include "restore/RestoreRun.h"

#include "app/EngineClient.h"

namespace {

// Tokens are never reused, so a callback still on its way for a run that has gone can
// never reach a later one.
std::uintptr_t NextToken()
{
    static std::atomic<std::uintptr_t> last{0};
    return ++last;
}

}  // namespace

RestoreRun::RestoreRun(std::uint32_t projectId, std::uint64_t archiveId, const _ProjectRestoreInfo& restoreInfo,
                       std::shared_ptr<RestoreReport> report)
    : projectId(projectId), archiveId(archiveId), report(std::move(report)), m_restoreInfo(restoreInfo),
      m_token(NextToken())
{
}

RestoreRun::~RestoreRun()
{
    ReleaseRestoreInfo();
}

void RestoreRun::ReleaseRestoreInfo()
{
    const _ProjectRestoreInfo none{};
    if (m_restoreInfo.projectDesc || m_restoreInfo.thisComputer || m_restoreInfo.historyList || m_restoreInfo.reserved)
        GetEngineClient().FreeProjectRestoreInfo(m_restoreInfo);
    m_restoreInfo = none;
}
