// Where an answer file's value lies in what a page offers: an entry of a list by its
// text, a destination entry by its disk and partition numbers, and what a target is
// called. The pages choose what these find the way a click would.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/AnswerFile.h"
#include "engine/HalvexRecords.h"
#include "pages/DestinationChoice.h"

namespace palto {

// The entry that reads exactly as `wanted`: its index, -1 when none does, -2 when more
// than one does (the file cannot say which).
constexpr int kNotListed = -1;
constexpr int kListedTwice = -2;
int FindListed(const std::vector<std::wstring>& entries, std::wstring_view wanted);

// The entry of `entries` (built from `layout`) that stands for disk `ref.disk`, or for
// its partition `ref.partition`, by the numbers the engine gave them: as FindListed.
int FindByNumbers(const std::vector<ListEntry>& entries, const tagEntireComputerInf& layout, const DiskRef& ref);

// A target's label: a partition's own; a whole disk's, the labels of its partitions in
// the engine's order with ", " between them (empty for a disk without partitions).
std::wstring TargetLabel(const ListEntry& target, const tagEntireComputerInf& layout);

// The difference when `wanted` is not (or not once) in `entries`; nothing when it is.
std::optional<AnswerDifference> ListDifference(const Answers& answers, std::wstring_view key, int found,
                                               const std::vector<std::wstring>& entries);

// The texts of destination entries.
std::vector<std::wstring> EntryTexts(const std::vector<ListEntry>& entries);

}  // namespace palto
