#include "restore/RestoreRun.h"

#include "app/CallbackTargets.h"
#include "app/EngineClient.h"

RestoreRun::RestoreRun(std::uint32_t projectId, std::uint64_t archiveId, const _ProjectRestoreInfo& restoreInfo,
                       std::shared_ptr<RestoreReport> report)
    : projectId(projectId), archiveId(archiveId), report(std::move(report)), m_restoreInfo(restoreInfo),
      m_token(NewCallbackToken())
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
