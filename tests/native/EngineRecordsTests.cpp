// The records the wizard makes itself start as the engine expects them, and the
// readers stay inside a record whatever the engine wrote into it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/RecordReaders.h"

namespace {

// The non-zero bytes of an object: offset and value.
using Bytes = std::vector<std::pair<std::size_t, unsigned>>;

template <class T>
Bytes NonZeroBytesOfNew()
{
    const auto object = std::make_unique<T>();
    const auto* bytes = reinterpret_cast<const unsigned char*>(object.get());
    Bytes found;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        if (bytes[i] != 0) found.emplace_back(i, bytes[i]);
    return found;
}

struct NewRecordCase {
    const char* name;
    Bytes (*nonZeroBytes)();
    Bytes expected;
};

void PrintTo(const NewRecordCase& c, std::ostream* out)
{
    *out << c.name;
}

class NewRecords : public testing::TestWithParam<NewRecordCase> {};

TEST_P(NewRecords, AreZeroButForTheLayoutsPresetOne)
{
    EXPECT_EQ(GetParam().nonZeroBytes(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Records, NewRecords, testing::Values(
    NewRecordCase{"Description", &NonZeroBytesOfNew<_ProjectDesc>, {{1400 + 739552, 1}}},
    NewRecordCase{"RestoreOrder", &NonZeroBytesOfNew<_ProjectRestoreData>, {{16 + 739552, 1}}},
    NewRecordCase{"Progress", &NonZeroBytesOfNew<_ProgressInfo>, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A layout filled with garbage, as a faulty engine might leave it.
std::unique_ptr<tagEntireComputerInf> GarbageLayout()
{
    auto layout = std::make_unique<tagEntireComputerInf>();
    std::memset(static_cast<void*>(layout.get()), 0x5A, sizeof(*layout));
    return layout;
}

struct CountCase {
    std::int32_t count;
    std::size_t valid;
};

void PrintTo(const CountCase& c, std::ostream* out)
{
    *out << "count " << c.count;
}

class EngineCounts : public testing::TestWithParam<CountCase> {};

// The read-only readers are the ones the pages use, the others the ones that mark.
TEST_P(EngineCounts, DiskAndPartitionCountsAreClamped)
{
    auto layout = GarbageLayout();
    layout->diskCount = GetParam().count;
    layout->disks[0].partitionCount = GetParam().count;
    const tagEntireComputerInf& readOnly = *layout;
    EXPECT_EQ(palto::Disks(readOnly).size(), GetParam().valid) << "read-only disks";
    EXPECT_EQ(palto::Partitions(readOnly.disks[0]).size(), GetParam().valid) << "read-only partitions";
    EXPECT_EQ(palto::Disks(*layout).size(), GetParam().valid) << "writable disks";
    EXPECT_EQ(palto::Partitions(layout->disks[0]).size(), GetParam().valid) << "writable partitions";
}

INSTANTIATE_TEST_SUITE_P(Counts, EngineCounts, testing::Values(
    CountCase{0, 0}, CountCase{1, 1}, CountCase{26, 26}, CountCase{27, 26},
    CountCase{INT_MAX, 26}, CountCase{-1, 0}, CountCase{INT_MIN, 0}));

TEST(EngineTexts, LabelIsReadUpToItsZero)
{
    auto layout = GarbageLayout();
    tagPartitionInf& partition = layout->disks[0].partitions[0];
    std::memcpy(partition.label, u"Data", sizeof(u"Data"));
    EXPECT_EQ(palto::LabelText(partition), L"Data");
    partition.label[0] = 0;
    EXPECT_EQ(palto::LabelText(partition), L"");
}

TEST(EngineTexts, LabelWithoutZeroEndsWithTheField)
{
    auto layout = GarbageLayout();   // the bytes after the label are not zero either
    tagPartitionInf& partition = layout->disks[0].partitions[0];
    for (char16_t& ch : partition.label) ch = u'L';
    EXPECT_EQ(palto::LabelText(partition), std::wstring(260, L'L'));
}

TEST(EngineTexts, NullDescriptionAndNullTextsAreEmpty)
{
    EXPECT_EQ(palto::LocationText(nullptr), L"");
    EXPECT_EQ(palto::DescriptionText(nullptr), L"");
    EXPECT_EQ(palto::EncryptedPasswordText(nullptr), L"");
    EXPECT_EQ(palto::LocationDrive(nullptr), L'\0');

    auto desc = std::make_unique<_ProjectDesc>();
    EXPECT_EQ(palto::LocationText(desc.get()), L"");
    EXPECT_EQ(palto::DescriptionText(desc.get()), L"");
    EXPECT_EQ(palto::EncryptedPasswordText(desc.get()), L"");
    EXPECT_EQ(palto::LocationDrive(desc.get()), L'\0');
}

TEST(EngineTexts, DescriptionTextsAreCopied)
{
    char16_t location[] = u"E:\\Backups";
    char16_t description[] = u"Office PC";
    char16_t password[] = u"HX1-0123";
    auto desc = std::make_unique<_ProjectDesc>();
    desc->location = location;
    desc->description = description;
    desc->encryptedPassword = password;
    EXPECT_EQ(palto::LocationText(desc.get()), L"E:\\Backups");
    EXPECT_EQ(palto::LocationDrive(desc.get()), L'E');
    EXPECT_EQ(palto::DescriptionText(desc.get()), L"Office PC");
    EXPECT_EQ(palto::EncryptedPasswordText(desc.get()), L"HX1-0123");
}

// A stored protected form as long as the dialog's buffer takes is read whole; a longer
// one is read one character past that bound, so no typed form can equal it.
struct StoredFormCase {
    std::size_t length;
    std::size_t read;
};

class StoredProtectedForm : public testing::TestWithParam<StoredFormCase> {};

TEST_P(StoredProtectedForm, IsReadUpToTheBoundTheDialogTypesTo)
{
    std::vector<char16_t> password(GetParam().length + 1, u'p');
    password.back() = 0;
    auto desc = std::make_unique<_ProjectDesc>();
    desc->encryptedPassword = password.data();
    EXPECT_EQ(palto::EncryptedPasswordText(desc.get()), std::wstring(GetParam().read, L'p'));
}

INSTANTIATE_TEST_SUITE_P(Lengths, StoredProtectedForm, testing::Values(
    StoredFormCase{259, 259}, StoredFormCase{260, 260}, StoredFormCase{399, 399}, StoredFormCase{520, 520},
    StoredFormCase{521, 521}, StoredFormCase{4000, 521}));

TEST(EngineLayouts, RestoreInfoWithoutPointersHasNoLayouts)
{
    _ProjectRestoreInfo info{};
    EXPECT_EQ(palto::BackedUpLayout(info), nullptr);
    EXPECT_EQ(palto::ThisComputerLayout(info), nullptr);

    auto desc = std::make_unique<_ProjectDesc>();
    auto here = std::make_unique<tagEntireComputerInf>();
    info.projectDesc = desc.get();
    info.thisComputer = here.get();
    EXPECT_EQ(palto::BackedUpLayout(info), &desc->layout);
    EXPECT_EQ(palto::ThisComputerLayout(info), here.get());
}

// A history list allocated exactly as large as its count says, so that ASan sees
// any read past its last entry.
struct HistoryBlock {
    explicit HistoryBlock(std::int32_t count, std::size_t entries)
        : list(static_cast<_ProjectHistoryList*>(std::calloc(1, 4 + entries * sizeof(_ProjectHistoryEntry))))
    {
        list->count = count;
    }
    ~HistoryBlock() { std::free(list); }
    _ProjectHistoryList* list;
};

TEST(EngineHistory, EntriesAreReadInPlaceThoughUnaligned)
{
    HistoryBlock block(2, 2);
    block.list->entries[0].backupTime = 0x01DB0123456789ABull;
    block.list->entries[1].backupTime = 0x01DB0223456789ABull;
    block.list->entries[1].notBase = 1;
    const auto entries = palto::HistoryEntries(static_cast<const _ProjectHistoryList*>(block.list));
    ASSERT_EQ(entries.size(), 2u);
    // Copied out first: binding a reference to a packed field is itself undefined.
    const std::uint64_t first = entries[0].backupTime, second = entries[1].backupTime;
    EXPECT_EQ(first, 0x01DB0123456789ABull);
    EXPECT_EQ(entries[0].notBase, 0);
    EXPECT_EQ(second, 0x01DB0223456789ABull);
    EXPECT_EQ(entries[1].notBase, 1);
}

TEST(EngineHistory, NullListAndNegativeCountGiveNoEntries)
{
    EXPECT_TRUE(palto::HistoryEntries(static_cast<const _ProjectHistoryList*>(nullptr)).empty());
    for (std::int32_t count : {0, -1, INT_MIN}) {
        HistoryBlock block(count, 0);
        EXPECT_TRUE(palto::HistoryEntries(block.list).empty()) << count;
    }
}

// Blocks of exactly the size asked for, with the readable extent of each as the
// platform would give it: ASan sees any read past a block, and the readers are told
// where each one ends.
class ExactBlocks {
public:
    ~ExactBlocks()
    {
        for (const auto& block : m_blocks) std::free(block.first);
    }

    void* Allocate(std::size_t bytes)
    {
        void* block = std::malloc(bytes ? bytes : 1);
        m_blocks.emplace_back(block, bytes);
        return block;
    }

    // A text without its zero.
    char16_t* Unterminated(std::u16string_view text)
    {
        auto* copy = static_cast<char16_t*>(Allocate(text.size() * sizeof(char16_t)));
        std::copy(text.begin(), text.end(), copy);
        return copy;
    }

    palto::ReadableExtent Extent() const
    {
        return [this](const void* address, std::size_t wanted) -> std::size_t {
            const auto at = reinterpret_cast<std::uintptr_t>(address);
            for (const auto& [block, bytes] : m_blocks) {
                const auto start = reinterpret_cast<std::uintptr_t>(block);
                if (at >= start && at < start + bytes) return std::min<std::size_t>(wanted, start + bytes - at);
            }
            return 0;
        };
    }

private:
    std::vector<std::pair<void*, std::size_t>> m_blocks;
};

enum class DescText { Location, Description, Password };

struct UnterminatedCase {
    const char* name;
    DescText field;
    std::u16string text;
    std::wstring read;
    wchar_t drive;   // LocationDrive
};

void PrintTo(const UnterminatedCase& c, std::ostream* out)
{
    *out << c.name;
}

class UnterminatedTexts : public testing::TestWithParam<UnterminatedCase> {};

TEST_P(UnterminatedTexts, EndWithTheirBlock)
{
    ExactBlocks blocks;
    auto desc = std::make_unique<_ProjectDesc>();
    char16_t* text = blocks.Unterminated(GetParam().text);
    switch (GetParam().field) {
    case DescText::Location: desc->location = text; break;
    case DescText::Description: desc->description = text; break;
    case DescText::Password: desc->encryptedPassword = text; break;
    }
    const std::wstring read = GetParam().field == DescText::Location ? palto::LocationText(desc.get(), blocks.Extent())
                            : GetParam().field == DescText::Description ? palto::DescriptionText(desc.get(), blocks.Extent())
                                                                        : palto::EncryptedPasswordText(desc.get(), blocks.Extent());
    EXPECT_EQ(read, GetParam().read);
    EXPECT_EQ(palto::LocationDrive(desc.get(), blocks.Extent()), GetParam().drive);
}

INSTANTIATE_TEST_SUITE_P(Texts, UnterminatedTexts, testing::Values(
    UnterminatedCase{"Location", DescText::Location, u"E:\\Backups", L"E:\\Backups", L'E'},
    UnterminatedCase{"EmptyLocation", DescText::Location, u"", L"", L'\0'},
    UnterminatedCase{"Description", DescText::Description, u"Office PC", L"Office PC", L'\0'},
    UnterminatedCase{"Password", DescText::Password, u"HX1-0123", L"HX1-0123", L'\0'}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EngineTexts, ATextInUnreadableMemoryIsEmpty)
{
    char16_t description[] = u"Office PC";
    auto desc = std::make_unique<_ProjectDesc>();
    desc->location = description;
    desc->description = description;
    const auto nothingReadable = [](const void*, std::size_t) { return std::size_t{0}; };
    EXPECT_EQ(palto::DescriptionText(desc.get(), nothingReadable), L"");
    EXPECT_EQ(palto::LocationDrive(desc.get(), nothingReadable), L'\0');
    EXPECT_EQ(palto::DescriptionText(desc.get()), L"Office PC");   // where the platform can tell no more
}

constexpr std::uint64_t kT1 = 0x01DB0123456789ABull, kT2 = 0x01DB0223456789ABull, kT3 = 0x01DB0323456789ABull;

struct HostileHistoryCase {
    const char* name;
    std::int32_t count;
    std::vector<std::uint64_t> times;   // the entries the block holds
    std::size_t extraBytes;             // a part of one more entry
    std::vector<std::uint64_t> read;
};

void PrintTo(const HostileHistoryCase& c, std::ostream* out)
{
    *out << c.name;
}

class HostileHistory : public testing::TestWithParam<HostileHistoryCase> {};

TEST_P(HostileHistory, EndsWithTheBlockOrTheFirstEntryOutOfOrder)
{
    const HostileHistoryCase& c = GetParam();
    ExactBlocks blocks;
    const std::size_t bytes = offsetof(_ProjectHistoryList, entries) + c.times.size() * sizeof(_ProjectHistoryEntry) + c.extraBytes;
    auto* list = static_cast<_ProjectHistoryList*>(blocks.Allocate(bytes));
    std::memset(static_cast<void*>(list), 0x5A, bytes);
    list->count = c.count;
    for (std::size_t i = 0; i < c.times.size(); ++i) list->entries[i].backupTime = c.times[i];

    std::vector<std::uint64_t> read;
    for (const _ProjectHistoryEntry& entry : palto::HistoryEntries(static_cast<const _ProjectHistoryList*>(list), blocks.Extent())) {
        const std::uint64_t time = entry.backupTime;   // copied out: the field is unaligned
        read.push_back(time);
    }
    EXPECT_EQ(read, c.read);
    EXPECT_EQ(palto::HistoryEntries(list, blocks.Extent()).size(), c.read.size()) << "writable";
}

INSTANTIATE_TEST_SUITE_P(Lists, HostileHistory, testing::Values(
    HostileHistoryCase{"Sound", 3, {kT1, kT2, kT3}, 0, {kT1, kT2, kT3}},
    HostileHistoryCase{"OneAboveTheBlock", 4, {kT1, kT2, kT3}, 0, {kT1, kT2, kT3}},
    HostileHistoryCase{"LargestCount", INT_MAX, {kT1, kT2, kT3}, 0, {kT1, kT2, kT3}},
    HostileHistoryCase{"PartOfAnEntryAfterTheList", 3, {kT1, kT2}, 100, {kT1, kT2}},
    HostileHistoryCase{"CountMinusOne", -1, {kT1}, 0, {}},
    HostileHistoryCase{"LowestCount", INT_MIN, {kT1}, 0, {}},
    HostileHistoryCase{"BlockShorterThanItsCount", 1, {}, 2, {}},
    HostileHistoryCase{"DescendingEntry", 3, {kT1, kT3, kT2}, 0, {kT1, kT3}},
    HostileHistoryCase{"ZerosAfterTheBackups", 4, {kT1, kT2, 0, 0}, 0, {kT1, kT2, 0, 0}},
    HostileHistoryCase{"Garbage", 3, {0x5A5A5A5A5A5A5A5Aull, 0xFFFFFFFFFFFFFFFFull, 0x0123456789ABCDEFull}, 0,
                       {0x5A5A5A5A5A5A5A5Aull, 0xFFFFFFFFFFFFFFFFull}},
    HostileHistoryCase{"EqualAndUndatedEntriesAreInOrder", 4, {0, 0, kT1, kT1}, 0, {0, 0, kT1, kT1}},
    // Entries not offered (time 0) between dated ones end nothing: the dated ones after
    // them are read, and are still held to the order of the dated ones before.
    HostileHistoryCase{"UndatedBetweenDated", 3, {kT1, 0, kT2}, 0, {kT1, 0, kT2}},
    HostileHistoryCase{"SeveralUndatedBetweenDated", 6, {0, kT1, 0, 0, kT2, kT3}, 0, {0, kT1, 0, 0, kT2, kT3}},
    HostileHistoryCase{"DescendingAcrossAnUndatedEntry", 4, {kT2, 0, kT1, kT3}, 0, {kT2, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct SizeCase {
    std::uint64_t bytes;
    double gigabytes;
};

class Gigabytes : public testing::TestWithParam<SizeCase> {};

TEST_P(Gigabytes, AreBytesTimesTwoToTheMinusThirty)
{
    EXPECT_EQ(palto::BytesToGigabytes(GetParam().bytes), GetParam().gigabytes);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Gigabytes, testing::Values(
    SizeCase{0, 0.0},
    SizeCase{1ull << 30, 1.0},
    SizeCase{3ull << 29, 1.5},
    SizeCase{500107862016ull, 500107862016.0 / 1073741824.0},
    SizeCase{1ull << 63, 8589934592.0},                       // 2^33: stays positive
    SizeCase{UINT64_MAX, 17179869184.0}));                      // rounds to 2^64 bytes

}  // namespace
