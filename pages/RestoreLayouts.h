// The layouts of a restore, fetched from the engine each time a destination page is
// entered: the chosen backup's computer and this one, both reached through the
// wizard context's restore info.
#pragma once

#include "engine/HalvexRecords.h"

struct WizardContext;

namespace palto {

// Asks the engine for the chosen backup's restore info and this computer's layout, into
// a record of its own, and hands both to the context only when both answers came. The
// context's earlier answer is given back first either way, so that it never holds
// half-filled layouts nor those of another backup. Returns 0 or the engine's code.
int QueryRestoreLayouts(WizardContext& context);

// Gives the engine back what `info` holds, if anything, and clears it.
void ReleaseRestoreLayouts(_ProjectRestoreInfo& info);

}  // namespace palto
