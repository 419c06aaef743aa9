#include "pages/AnswerMatch.h"

#include "engine/RecordReaders.h"

namespace palto {

int FindListed(const std::vector<std::wstring>& entries, std::wstring_view wanted)
{
    int found = kNotListed;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] != wanted) continue;
        if (found != kNotListed) return kListedTwice;
        found = static_cast<int>(i);
    }
    return found;
}

int FindByNumbers(const std::vector<ListEntry>& entries, const tagEntireComputerInf& layout, const DiskRef& ref)
{
    const auto disks = Disks(layout);
    int found = kNotListed;
    for (size_t i = 0; i < entries.size(); ++i) {
        const ListEntry& entry = entries[i];
        if (entry.disk < 0 || static_cast<size_t>(entry.disk) >= disks.size()) continue;
        const tagDiskInf& disk = disks[static_cast<size_t>(entry.disk)];
        if (disk.diskNumber != ref.disk) continue;
        const auto partitions = Partitions(disk);
        const bool wholeDisk = entry.partition < 0;
        if (wholeDisk != !ref.partition.has_value()) continue;
        if (!wholeDisk && (static_cast<size_t>(entry.partition) >= partitions.size() ||
                           partitions[static_cast<size_t>(entry.partition)].partitionNumber != *ref.partition))
            continue;
        if (found != kNotListed) return kListedTwice;
        found = static_cast<int>(i);
    }
    return found;
}

std::wstring TargetLabel(const ListEntry& target, const tagEntireComputerInf& layout)
{
    const auto disks = Disks(layout);
    if (target.disk < 0 || static_cast<size_t>(target.disk) >= disks.size()) return {};
    const auto partitions = Partitions(disks[static_cast<size_t>(target.disk)]);
    if (target.partition >= 0) {
        return static_cast<size_t>(target.partition) < partitions.size()
                   ? LabelText(partitions[static_cast<size_t>(target.partition)])
                   : std::wstring();
    }
    std::wstring labels;
    for (size_t i = 0; i < partitions.size(); ++i) labels += (i ? L", " : L"") + LabelText(partitions[i]);
    return labels;
}

std::optional<AnswerDifference> ListDifference(const Answers& answers, std::wstring_view key, int found,
                                               const std::vector<std::wstring>& entries)
{
    if (found >= 0) return std::nullopt;
    if (found == kListedTwice) return Differs(answers, key, AnswerFinding::ListedTwice);
    if (entries.empty()) return Differs(answers, key, AnswerFinding::NothingOffered);
    std::wstring offered;
    for (const std::wstring& entry : entries) offered += (offered.empty() ? L"" : L"\n") + entry;
    return Differs(answers, key, AnswerFinding::NotOffered, offered);
}

std::vector<std::wstring> EntryTexts(const std::vector<ListEntry>& entries)
{
    std::vector<std::wstring> texts;
    for (const ListEntry& entry : entries) texts.push_back(entry.text);
    return texts;
}

}  // namespace palto
