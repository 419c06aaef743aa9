#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "app/ConfigFile.h"
#include "app/StdioFile.h"

using namespace palto;

namespace {

std::string Scrambled(const std::string& plain) { return ScrambleText(plain, ScrambleFactor(DeriveConfigKey())); }

struct LookupCase {
    const char* name;
    std::string plain;
    const char* section;
    const char* key;
    const char* value;
};

class ConfigLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(ConfigLookup, FindsWhatTheFileSays)
{
    test::TempFolder folder;
    const ConfigFile config(folder.Write("pconfig.dcf", Scrambled(GetParam().plain)));
    EXPECT_TRUE(config.IsLoaded());
    EXPECT_EQ(config.GetValue(GetParam().section, GetParam().key), GetParam().value);
}

const std::string kFeature = "[All]\r\nZAVOnlyFeature=1\r\n";

INSTANTIATE_TEST_SUITE_P(Cases, ConfigLookup, testing::Values(
    LookupCase{"Entry", kFeature, "All", "ZAVOnlyFeature", "1"},
    LookupCase{"NamesInAnyCase", kFeature, "all", "zavonlyfeature", "1"},
    LookupCase{"BlankLineEndsTheSection", "[All]\r\n\r\nZAVOnlyFeature=1\r\n", "All", "ZAVOnlyFeature", ""},
    LookupCase{"BlanksOnlyLineEndsTheSection", "[All]\r\n \t \r\nZAVOnlyFeature=1\r\n", "All", "ZAVOnlyFeature", ""},
    LookupCase{"CommentLineKeepsTheSection", "[All]\r\n; the OEM switch\r\nZAVOnlyFeature=1\r\n", "All", "ZAVOnlyFeature", "1"},
    LookupCase{"BlanksAndTrailingComment", "[All]\r\n \t Key \t = \t 0 ; off for now\r\n", "All", "Key", "0"},
    LookupCase{"ValueHoldsFurtherEquals", "[All]\r\nKey=a=b\r\n", "All", "Key", "a=b"},
    LookupCase{"KeyAloneHasAnEmptyValue", "[All]\r\nKey\r\nOther=x\r\n", "All", "Other", "x"},
    LookupCase{"LaterEntryReplaces", "[All]\r\nKey=1\r\nKEY=2\r\n", "All", "key", "2"},
    LookupCase{"HeadersInOtherCaseMergeEarlierEntry", "[All]\r\nA=1\r\n[Other]\r\nB=2\r\n[ALL]\r\nC=3\r\n", "All", "A", "1"},
    LookupCase{"HeadersInOtherCaseMergeLaterEntry", "[All]\r\nA=1\r\n[Other]\r\nB=2\r\n[ALL]\r\nC=3\r\n", "all", "C", "3"},
    LookupCase{"HeaderNameTrimmedAndTailIgnored", "[  All \t] tail\r\nKey=1\r\n", "All", "Key", "1"},
    LookupCase{"EmptyHeaderEndsTheSection", "[All]\r\n[]\r\nKey=1\r\n", "All", "Key", ""},
    LookupCase{"HeaderWithoutBracketIsIgnored", "[All]\r\n[Other\r\nKey=1\r\n", "All", "Key", "1"},
    LookupCase{"LinesBeforeTheFirstHeaderAreIgnored", "Key=1\r\n[All]\r\n", "All", "Key", ""},
    LookupCase{"CommentedBracketIsNoHeader", "[All]\r\n[;Other]\r\nKey=1\r\n", "All", "Key", "1"},
    LookupCase{"LfOnlyIsOneLine", "[All]\nZAVOnlyFeature=1\n", "All", "ZAVOnlyFeature", ""},
    LookupCase{"CrTakesTheNextByteAlong", "[All]\rXKey=1\r\n", "All", "Key", "1"},
    LookupCase{"LastLineNeedsNoLineEnd", "[All]\r\nKey=1", "All", "Key", "1"},
    LookupCase{"ZeroByteEndsTheLineText", std::string("[All]\r\nKey=ab\0cd\r\n", 19), "All", "Key", "ab"},
    LookupCase{"EmptySectionName", "[All]\r\n=1\r\n", "", "Key", ""},
    LookupCase{"EmptyKeyName", "[All]\r\n=1\r\n", "All", "", ""},
    LookupCase{"MissingSection", kFeature, "Other", "ZAVOnlyFeature", ""},
    LookupCase{"MissingKey", kFeature, "All", "Other", ""},
    LookupCase{"SectionWithoutEntries", "[All]\r\n", "All", "Key", ""},
    LookupCase{"EmptyFile", "", "All", "Key", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A file of `size` bytes holding one entry, padded with a comment.
std::string FileOfSize(size_t size)
{
    std::string plain = "[All]\r\nKey=1\r\n;";
    plain.resize(size, 'x');
    return Scrambled(plain);
}

TEST(ConfigFile, ReadsFilesUpTo32768Bytes)
{
    test::TempFolder folder;
    const ConfigFile largest(folder.Write("largest.dcf", FileOfSize(32768)));
    EXPECT_TRUE(largest.IsLoaded());
    EXPECT_EQ(largest.GetValue("All", "Key"), "1");

    const ConfigFile tooLarge(folder.Write("too-large.dcf", FileOfSize(32769)));
    EXPECT_FALSE(tooLarge.IsLoaded());
    EXPECT_EQ(tooLarge.load(), ConfigLoad::TooLarge);
    EXPECT_EQ(tooLarge.GetValue("All", "Key"), "");
}

TEST(ConfigFile, AMissingFileGivesEmptyValues)
{
    test::TempFolder folder;
    const ConfigFile config(folder.Path("absent.dcf"));
    EXPECT_EQ(config.load(), ConfigLoad::CannotOpen);
    EXPECT_EQ(config.GetValue("All", "ZAVOnlyFeature"), "");
}

TEST(ConfigFile, AFolderIsNoFile)
{
    test::TempFolder folder;
    std::filesystem::create_directory(folder.Path("pconfig.dcf"));
    const ConfigFile config(folder.Path("pconfig.dcf"));
    EXPECT_FALSE(config.IsLoaded());
    EXPECT_EQ(config.GetValue("All", "ZAVOnlyFeature"), "");
}

TEST(ConfigFile, FileOfAnotherKeyReadsAsOtherText)
{
    test::TempFolder folder;
    const ConfigFile config(folder.Write("other.dcf", ScrambleText(kFeature, ScrambleFactor(DeriveConfigKey("Other key")))));
    EXPECT_EQ(config.GetValue("All", "ZAVOnlyFeature"), "");
}

TEST(ConfigFile, EmptyValuesAreOneSharedEmptyText)
{
    test::TempFolder folder;
    const ConfigFile config(folder.Write("pconfig.dcf", Scrambled(kFeature)));
    const std::string& missing = config.GetValue("All", "Other");
    EXPECT_EQ(&missing, &config.GetValue("", "ZAVOnlyFeature"));
    EXPECT_EQ(&config.GetValue("All", "ZAVOnlyFeature"), &config.GetValue("ALL", "zavonlyfeature"));
}

struct ResizedCase {
    size_t actual;    // bytes in the file when it is read
    size_t expected;  // the size found before
    size_t read;
};

class ResizedFile : public testing::TestWithParam<ResizedCase> {};

TEST_P(ResizedFile, IsReadNoFurtherThanTheSizeFoundBefore)
{
    test::TempFolder folder;
    const std::string path = folder.Write("resized.dcf", Scrambled(std::string(GetParam().actual, 'a')));
    StdioFile file(std::fopen(path.c_str(), "rb"));
    ASSERT_TRUE(file);
    std::string text;
    EXPECT_EQ(ReadConfigBlocks(file.get(), GetParam().expected, ScrambleFactor(DeriveConfigKey()), text), ConfigLoad::Loaded);
    EXPECT_EQ(text, std::string(GetParam().read, 'a'));
}

INSTANTIATE_TEST_SUITE_P(Cases, ResizedFile, testing::Values(
    ResizedCase{300, 300, 300},
    ResizedCase{600, 300, 256},   // grown: the block that runs past 300 is dropped
    ResizedCase{301, 300, 256},
    ResizedCase{600, 0, 0},
    ResizedCase{100, 300, 100},   // shrunk: what is there
    ResizedCase{0, 300, 0}));

}  // namespace
