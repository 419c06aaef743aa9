// Writing the catalog into the engine's records, exactly as the wizard reads them.
#pragma once

#include "engine/HalvexRecords.h"
#include "simengine/Allocations.h"
#include "simengine/Catalog.h"

namespace sim {

// The layout as a record: every disk and partition, totalSize the sum of the disks.
// With `withFlags` the selection flags say what a backup holds; without, all are clear.
void FillLayout(tagEntireComputerInf& record, const Layout& layout, bool withFlags);

// What a faulty engine gets wrong in a filled layout: labels that fill their field
// without a zero, then the counts in place of the true ones.
void SpoilLayout(tagEntireComputerInf& record, const HostileCounts& counts, bool unterminatedLabels);

// Sets the texts and the layout of a description, as the project's hostile settings
// spoil them. Texts of the engine that the record
// still holds are released first. False when memory is short (nothing then held).
// `formLength` as the catalog's protectedFormLength.
bool FillDescription(Allocations& allocations, _ProjectDesc& desc, const Project& project, std::size_t formLength);
void ReleaseDescriptionTexts(Allocations& allocations, _ProjectDesc& desc);

// New engine lists; nullptr when memory is short. The history list of a project with a
// hostile count ends where readable memory ends.
_Projects* NewProjectList(Allocations& allocations, const Catalog& catalog);
_ProjectHistoryList* NewHistoryList(Allocations& allocations, const Project& project);

}  // namespace sim
