// Reading the engine's records without trusting them further than needed. The engine
// is closed code: a count outside its range, a text without its terminating zero or a
// null pointer must give a shorter list or an empty text, never a read outside a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "engine/HalvexRecords.h"

namespace palto {

// How many of the `wanted` bytes from `address` on the process can read. The engine's
// blocks are opaque, so the readers of its texts and lists ask this before they read.
using ReadableExtent = std::function<std::size_t(const void* address, std::size_t wanted)>;

// The platform's answer: on Windows a walk of the committed, readable regions from
// `address` on (VirtualQuery); elsewhere, where only the tests run and give the true
// sizes of their blocks themselves, every wanted byte.
std::size_t ReadableBytes(const void* address, std::size_t wanted);

// The valid disks of a layout: the first diskCount, with diskCount clamped to 0..26.
std::span<const tagDiskInf> Disks(const tagEntireComputerInf& layout);
std::span<tagDiskInf> Disks(tagEntireComputerInf& layout);

// The valid partitions of a disk: the first partitionCount, clamped to 0..26.
std::span<const tagPartitionInf> Partitions(const tagDiskInf& disk);
std::span<tagPartitionInf> Partitions(tagDiskInf& disk);

// The volume label, up to its zero or to the end of the field.
std::wstring LabelText(const tagPartitionInf& partition);

// The texts of a description; an empty text for a null description or text pointer.
// Engine texts are read up to their zero, never past readable memory, and never further
// than a length no sound engine reaches (kMaxEngineText). A text without its zero ends
// where readable memory ends.
constexpr std::size_t kMaxEngineText = 32767;

// The longest protected form of a password, on both sides of the comparison: the
// password dialog's buffer for what EncryptString makes of the typed text, and the
// reading of the stored form. A stored form is read one character further, so that a
// longer one never equals a typed one cut to this bound.
constexpr std::size_t kMaxProtectedPassword = 520;
std::wstring LocationText(const _ProjectDesc* desc, const ReadableExtent& readable = ReadableBytes);
std::wstring DescriptionText(const _ProjectDesc* desc, const ReadableExtent& readable = ReadableBytes);
std::wstring EncryptedPasswordText(const _ProjectDesc* desc, const ReadableExtent& readable = ReadableBytes);

// The drive letter of a backup's location (its first character), 0 when it has none.
wchar_t LocationDrive(const _ProjectDesc* desc, const ReadableExtent& readable = ReadableBytes);

// The layouts a restore info leads to; null where the engine gave none.
const tagEntireComputerInf* BackedUpLayout(const _ProjectRestoreInfo& info);
tagEntireComputerInf* BackedUpLayout(_ProjectRestoreInfo& info);
const tagEntireComputerInf* ThisComputerLayout(const _ProjectRestoreInfo& info);
tagEntireComputerInf* ThisComputerLayout(_ProjectRestoreInfo& info);

// The entries of a history list: none for a null list or a count below 1. A count is
// no proof of what the engine allocated, so the entries end where readable memory ends,
// and at the first dated one that breaks the engine's ascending order of backup times:
// what follows it is not an entry of a sound list. Entries of time 0 (not offered) take
// no part in the order and may stand between dated ones. A wrong count whose extra entries lie in
// readable memory and happen to ascend cannot be told from a sound one.
std::span<const _ProjectHistoryEntry> HistoryEntries(const _ProjectHistoryList* list,
                                                     const ReadableExtent& readable = ReadableBytes);
std::span<_ProjectHistoryEntry> HistoryEntries(_ProjectHistoryList* list, const ReadableExtent& readable = ReadableBytes);

// A byte count in gigabytes (2^30 bytes): counts of 2^63 and above stay positive.
double BytesToGigabytes(std::uint64_t bytes);

}  // namespace palto
