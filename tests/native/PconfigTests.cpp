#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "tools/Pconfig.h"

using namespace palto;

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result RunTool(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int code = pconfig::Run(args, out, err);
    return {code, out.str(), err.str()};
}

// One line on standard error, nothing on standard output.
void ExpectOneComplaint(const Result& result, int code)
{
    EXPECT_EQ(result.code, code);
    EXPECT_EQ(result.out, "");
    ASSERT_FALSE(result.err.empty());
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
}

struct GetCase {
    const char* name;
    const char* plain;  // as a text editor on Linux writes it: LF line ends
    const char* section;
    const char* key;
    const char* printed;
};

class EncodeThenGet : public testing::TestWithParam<GetCase> {};

TEST_P(EncodeThenGet, PrintsWhatTheWizardReads)
{
    test::TempFolder folder;
    const std::string in = folder.Write("plain.txt", GetParam().plain);
    const std::string out = folder.Path("pconfig.dcf");
    ASSERT_EQ(RunTool({"encode", in, out}).code, pconfig::kSuccess);
    const Result got = RunTool({"get", out, GetParam().section, GetParam().key});
    EXPECT_EQ(got.code, pconfig::kSuccess);
    EXPECT_EQ(got.out, GetParam().printed);
    EXPECT_EQ(got.err, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, EncodeThenGet, testing::Values(
    GetCase{"Feature", "[All]\nZAVOnlyFeature=1\n", "All", "ZAVOnlyFeature", "1\n"},
    GetCase{"BlankLineBetween", "[All]\n\nZAVOnlyFeature=1\n", "All", "ZAVOnlyFeature", "\n"},
    GetCase{"CommentLineBetween", "[All]\n; switched on for OEM media\nZAVOnlyFeature=1\n", "All", "ZAVOnlyFeature", "1\n"},
    GetCase{"FurtherEquals", "[All]\nKey=a=b\n", "All", "Key", "a=b\n"},
    GetCase{"SectionsMerged", "[All]\nA=1\n[ALL]\nB=2\n", "all", "A", "1\n"},
    GetCase{"SectionsMergedLater", "[All]\nA=1\n[ALL]\nB=2\n", "All", "B", "2\n"},
    GetCase{"WindowsLineEnds", "[All]\r\nKey=x\r\n", "All", "Key", "x\n"},
    GetCase{"OldMacLineEnds", "[All]\rKey=x\r", "All", "Key", "x\n"},
    GetCase{"Missing", "[All]\nKey=x\n", "All", "Other", "\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WithCrLf, EndsEveryLineWithCrLf)
{
    EXPECT_EQ(pconfig::WithCrLf("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(pconfig::WithCrLf("a\r\nb"), "a\r\nb");
    EXPECT_EQ(pconfig::WithCrLf("a\rb\r"), "a\r\nb\r\n");
    EXPECT_EQ(pconfig::WithCrLf("\n\n"), "\r\n\r\n");
    EXPECT_EQ(pconfig::WithCrLf(""), "");
}

TEST(Pconfig, DecodeGivesBackThePlainTextWithCrLf)
{
    test::TempFolder folder;
    const std::string in = folder.Write("plain.txt", "[All]\nZAVOnlyFeature=1\n");
    ASSERT_EQ(RunTool({"encode", in, folder.Path("pconfig.dcf")}).code, pconfig::kSuccess);
    EXPECT_NE(folder.Read("pconfig.dcf"), "[All]\r\nZAVOnlyFeature=1\r\n");
    const Result decoded = RunTool({"decode", folder.Path("pconfig.dcf")});
    EXPECT_EQ(decoded.code, pconfig::kSuccess);
    EXPECT_EQ(decoded.out, "[All]\r\nZAVOnlyFeature=1\r\n");
}

TEST(Pconfig, EncodeReplacesAnEarlierFile)
{
    test::TempFolder folder;
    const std::string out = folder.Write("pconfig.dcf", "old contents");
    ASSERT_EQ(RunTool({"encode", folder.Write("plain.txt", "[All]\nKey=new\n"), out}).code, pconfig::kSuccess);
    EXPECT_EQ(RunTool({"get", out, "All", "Key"}).out, "new\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(out).parent_path()), {}), 2);
}

TEST(Pconfig, EncodeRefusesAResultThatTheWizardWouldNotRead)
{
    test::TempFolder folder;
    std::string plain = "[All]\nKey=1\n;";
    plain.resize(32768 - 2, 'x');  // two LFs become CR LF: 32768 bytes
    ASSERT_EQ(RunTool({"encode", folder.Write("fits.txt", plain), folder.Path("fits.dcf")}).code, pconfig::kSuccess);
    EXPECT_EQ(std::filesystem::file_size(folder.Path("fits.dcf")), 32768u);
    EXPECT_EQ(RunTool({"get", folder.Path("fits.dcf"), "All", "Key"}).out, "1\n");

    const std::string out = folder.Write("pconfig.dcf", "earlier");
    ExpectOneComplaint(RunTool({"encode", folder.Write("big.txt", plain + "x"), out}), pconfig::kFileFailed);
    EXPECT_EQ(folder.Read("pconfig.dcf"), "earlier");
    ExpectOneComplaint(RunTool({"encode", folder.Write("big.txt", plain + "x"), folder.Path("new.dcf")}), pconfig::kFileFailed);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("new.dcf")));
}

TEST(Pconfig, AFileOfMoreThan32768BytesHasNoEntries)
{
    test::TempFolder folder;
    ASSERT_EQ(RunTool({"encode", folder.Write("plain.txt", "[All]\nKey=1\n"), folder.Path("pconfig.dcf")}).code, pconfig::kSuccess);
    std::string data = folder.Read("pconfig.dcf");
    data.resize(32769, 'x');
    const std::string path = folder.Write("pconfig.dcf", data);
    ExpectOneComplaint(RunTool({"get", path, "All", "Key"}), pconfig::kFileFailed);
    ExpectOneComplaint(RunTool({"decode", path}), pconfig::kFileFailed);
}

TEST(Pconfig, FilesThatCannotBeReadOrWrittenAreNamedAndNothingIsLeft)
{
    test::TempFolder folder;
    const std::string plain = folder.Write("plain.txt", "[All]\nKey=1\n");
    ExpectOneComplaint(RunTool({"encode", folder.Path("absent.txt"), folder.Path("out.dcf")}), pconfig::kFileFailed);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.dcf")));
    const Result unwritable = RunTool({"encode", plain, folder.Path("no-such-folder/out.dcf")});
    ExpectOneComplaint(unwritable, pconfig::kFileFailed);
    EXPECT_NE(unwritable.err.find("no-such-folder"), std::string::npos);
    ExpectOneComplaint(RunTool({"decode", folder.Path("absent.dcf")}), pconfig::kFileFailed);
    ExpectOneComplaint(RunTool({"get", folder.Path("absent.dcf"), "All", "Key"}), pconfig::kFileFailed);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(plain).parent_path()), {}), 1);
}

class WrongUsage : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(WrongUsage, IsOneLineAndExitCode1)
{
    ExpectOneComplaint(RunTool(GetParam()), pconfig::kWrongUsage);
}

INSTANTIATE_TEST_SUITE_P(Cases, WrongUsage, testing::Values(
    std::vector<std::string>{}, std::vector<std::string>{"encode", "in"}, std::vector<std::string>{"decode"},
    std::vector<std::string>{"decode", "a", "b"}, std::vector<std::string>{"get", "file", "All"},
    std::vector<std::string>{"put", "file"}, std::vector<std::string>{"--help", "encode"},
    std::vector<std::string>{"-h"}));

TEST(Pconfig, HelpNamesEveryCommand)
{
    const Result help = RunTool({"--help"});
    EXPECT_EQ(help.code, pconfig::kSuccess);
    for (const char* word : {"encode IN OUT", "decode IN", "get FILE SECTION KEY"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(help.err, "");
}

}  // namespace
