// Reading the engine's records without trusting them further than needed. The engine
// is closed code: a count outside its range, a text without its terminating zero or a
// null pointer must give a shorter list or an empty text, never a read outside a record.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "engine/HalvexRecords.h"

namespace palto {

// The valid disks of a layout: the first diskCount, with diskCount clamped to 0..26.
std::span<const tagDiskInf> Disks(const tagEntireComputerInf& layout);
std::span<tagDiskInf> Disks(tagEntireComputerInf& layout);

// The valid partitions of a disk: the first partitionCount, clamped to 0..26.
std::span<const tagPartitionInf> Partitions(const tagDiskInf& disk);
std::span<tagPartitionInf> Partitions(tagDiskInf& disk);

// The volume label, up to its zero or to the end of the field.
std::wstring LabelText(const tagPartitionInf& partition);

// The texts of a description; an empty text for a null description or text pointer.
// Engine texts are read up to their zero, and never further than a length no sound
// engine reaches (kMaxEngineText, or 259 characters for the EncryptString form): the
// size of an engine allocation cannot be known from outside.
constexpr std::size_t kMaxEngineText = 32767;
std::wstring LocationText(const _ProjectDesc* desc);
std::wstring DescriptionText(const _ProjectDesc* desc);
std::wstring EncryptedPasswordText(const _ProjectDesc* desc);

// The drive letter of a backup's location (its first character), 0 when it has none.
wchar_t LocationDrive(const _ProjectDesc* desc);

// The layouts a restore info leads to; null where the engine gave none.
const tagEntireComputerInf* BackedUpLayout(const _ProjectRestoreInfo& info);
tagEntireComputerInf* BackedUpLayout(_ProjectRestoreInfo& info);
const tagEntireComputerInf* ThisComputerLayout(const _ProjectRestoreInfo& info);
tagEntireComputerInf* ThisComputerLayout(_ProjectRestoreInfo& info);

// The entries of a history list: none for a null list or a negative count. A positive
// count is taken as given: how much the engine allocated cannot be known, so no upper
// bound would make a wrong count safe, and any fixed one could cut a real history short.
std::span<const _ProjectHistoryEntry> HistoryEntries(const _ProjectHistoryList* list);
std::span<_ProjectHistoryEntry> HistoryEntries(_ProjectHistoryList* list);

// A byte count in gigabytes (2^30 bytes): counts of 2^63 and above stay positive.
double BytesToGigabytes(std::uint64_t bytes);

}  // namespace palto
