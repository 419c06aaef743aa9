#include "pages/RestoreLayouts.h"

#include "app/EngineClient.h"
#include "app/WizardContext.h"

namespace palto {

int QueryRestoreLayouts(WizardContext& context)
{
    Caller& engine = GetEngineClient();
    _ProjectRestoreInfo fresh{};
    int code = engine.QueryProjectRestoreInfo(context.projectId, context.archiveId, fresh, kAnyDrive);
    // A success without both layouts is an answer the wizard cannot use.
    if (code == halvex::kOk && (!fresh.projectDesc || !fresh.thisComputer)) code = halvex::kInvalidRequest;
    if (code == halvex::kOk) code = engine.GetDRRestoreVolumesInfo(*fresh.thisComputer);

    ReleaseRestoreLayouts(context.restoreInfo);
    if (code != halvex::kOk) {
        ReleaseRestoreLayouts(fresh);
        return code;
    }
    context.restoreInfo = fresh;
    return halvex::kOk;
}

void ReleaseRestoreLayouts(_ProjectRestoreInfo& info)
{
    if (!info.projectDesc && !info.thisComputer && !info.reserved && !info.historyList) return;
    GetEngineClient().FreeProjectRestoreInfo(info);
    info = {};
}

}  // namespace palto
