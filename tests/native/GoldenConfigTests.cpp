// The committed pconfig.dcf of tests/data, made once by pconfig from the committed
// pconfig.txt beside it and never made again: the file's format cannot change unnoticed,
// in the wizard's reader nor in the tool, even when both change alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "app/ConfigFile.h"
#include "tools/Pconfig.h"

using namespace palto;

namespace {

std::string DataPath(const char* file) { return std::string(PALTO_TEST_DATA) + "/" + file; }

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The offset of the first byte where two texts differ, or -1.
long FirstDifference(const std::string& a, const std::string& b)
{
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (i >= a.size() || i >= b.size() || a[i] != b[i]) return static_cast<long>(i);
    }
    return -1;
}

TEST(GoldenConfig, ReadsAsItsPlainText)
{
    const std::string plain = Bytes(DataPath("pconfig.txt"));
    ASSERT_GT(plain.size(), 512u) << "tests/data/pconfig.txt is missing or cut";
    std::string text;
    ASSERT_EQ(ReadConfigText(DataPath("pconfig.dcf"), ScrambleFactor(DeriveConfigKey()), text), ConfigLoad::Loaded);
    EXPECT_EQ(FirstDifference(text, plain), -1);
}

struct GoldenValue {
    const char* section;
    const char* key;
    const char* value;
};

void PrintTo(const GoldenValue& c, std::ostream* out) { *out << "[" << c.section << "] " << c.key; }

class GoldenConfigValue : public testing::TestWithParam<GoldenValue> {};

TEST_P(GoldenConfigValue, IsWhatThePlainTextSays)
{
    const ConfigFile config(DataPath("pconfig.dcf"));
    ASSERT_TRUE(config.IsLoaded());
    EXPECT_EQ(config.GetValue(GetParam().section, GetParam().key), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenConfigValue, testing::Values(
    GoldenValue{"All", "ZAVOnlyFeature", "1"},
    GoldenValue{"all", "mediumname", "OEM recovery medium"},
    GoldenValue{"All", "Vendor", "Tolvane"},
    GoldenValue{"All", "Options", "a=b"},
    GoldenValue{"All", "Ignored", ""},
    GoldenValue{"Medium", "Label", "RECOVERY"},
    GoldenValue{"Medium", "Note", "that every byte position of a block is scrambled at least twice"}),
    [](const auto& info) { return std::string(info.param.section) + "_" + info.param.key; });

TEST(GoldenConfig, EncodeOfThePlainTextGivesTheFileByteForByte)
{
    test::TempFolder folder;
    std::ostringstream out, err;
    ASSERT_EQ(pconfig::Run(std::vector<std::string>{"encode", DataPath("pconfig.txt"), folder.Path("pconfig.dcf")}, out, err),
              pconfig::kSuccess) << err.str();
    const std::string golden = Bytes(DataPath("pconfig.dcf"));
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(FirstDifference(folder.Read("pconfig.dcf"), golden), -1);
}

}  // namespace
