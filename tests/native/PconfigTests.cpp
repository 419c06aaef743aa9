#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
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

struct SameFileCase {
    const char* name;
    std::string (*output)(const test::TempFolder& folder, const std::string& in);  // OUT, made as needed
};

void PrintTo(const SameFileCase& c, std::ostream* out) { *out << c.name; }

class EncodeOverItsInput : public testing::TestWithParam<SameFileCase> {};

TEST_P(EncodeOverItsInput, IsRefusedAndTheInputStays)
{
    test::TempFolder folder;
    const std::string in = folder.Write("plain.txt", "[All]\nKey=1\n");
    const std::string out = GetParam().output(folder, in);
    const Result result = RunTool({"encode", in, out});
    ExpectOneComplaint(result, pconfig::kFileFailed);
    EXPECT_NE(result.err.find("input"), std::string::npos) << result.err;
    EXPECT_EQ(folder.Read("plain.txt"), "[All]\nKey=1\n");
    EXPECT_FALSE(std::filesystem::exists(out + ".pconfig-new"));
}

INSTANTIATE_TEST_SUITE_P(Cases, EncodeOverItsInput, testing::Values(
    SameFileCase{"SamePath", [](const test::TempFolder&, const std::string& in) { return in; }},
    SameFileCase{"ThroughDot", [](const test::TempFolder& folder, const std::string&) { return folder.Path("./plain.txt"); }},
    SameFileCase{"HardLink", [](const test::TempFolder& folder, const std::string& in) {
        std::filesystem::create_hard_link(in, folder.Path("pconfig.dcf"));
        return folder.Path("pconfig.dcf");
    }},
    SameFileCase{"SymbolicLink", [](const test::TempFolder& folder, const std::string& in) {
        std::filesystem::create_symlink(in, folder.Path("pconfig.dcf"));
        return folder.Path("pconfig.dcf");
    }}),
    [](const auto& info) { return std::string(info.param.name); });

struct EncodingCase {
    const char* name;
    std::string plain;
    const char* warning;  // nullptr: none
};

void PrintTo(const EncodingCase& c, std::ostream* out) { *out << c.name; }

class EncodingOfThePlainText : public testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingOfThePlainText, IsWarnedAboutWhenTheWizardWouldMisreadIt)
{
    test::TempFolder folder;
    const std::string in = folder.Write("plain.txt", GetParam().plain);
    const Result result = RunTool({"encode", in, folder.Path("pconfig.dcf")});
    EXPECT_EQ(result.code, pconfig::kSuccess);
    EXPECT_TRUE(std::filesystem::exists(folder.Path("pconfig.dcf")));
    if (!GetParam().warning) {
        EXPECT_EQ(result.err, "");
        return;
    }
    EXPECT_EQ(result.err.find("pconfig: warning: " + in), 0u) << result.err;
    EXPECT_NE(result.err.find(GetParam().warning), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
}

INSTANTIATE_TEST_SUITE_P(Cases, EncodingOfThePlainText, testing::Values(
    EncodingCase{"Plain", "[All]\nZAVOnlyFeature=1\n", nullptr},
    EncodingCase{"PlainWithUmlauts", "; F\xC3\xBCr OEM-Medien\n[All]\nZAVOnlyFeature=1\n", nullptr},
    EncodingCase{"Utf8ByteOrderMark", "\xEF\xBB\xBF[All]\nZAVOnlyFeature=1\n", "UTF-8 byte-order mark"},
    EncodingCase{"Utf16LittleEndian", std::string("\xFF\xFE[\0A\0]\0", 8), "UTF-16"},
    EncodingCase{"Utf16BigEndian", std::string("\xFE\xFF\0[\0A\0]", 8), "UTF-16"},
    EncodingCase{"Utf16WithoutMark", std::string("[\0A\0l\0l\0]\0", 10), "UTF-16"}),
    [](const auto& info) { return std::string(info.param.name); });

// Runs the tool on a path where a FIFO lies. A tool that opened the FIFO would wait for
// its other end: that end is opened after a few seconds, so that the test fails instead
// of hanging, and `blocked` tells. A reading end stays open until the tool is done, so
// that a tool writing into the FIFO is not killed by SIGPIPE.
Result RunToolBesideFifo(const std::string& fifo, std::vector<std::string> args, bool& blocked)
{
    std::atomic<bool> done = false;
    std::atomic<bool> released = false;
    std::thread watchdog([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        int reader = -1;
        while (!done) {
            if (reader < 0 && (reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK)) >= 0) released = true;
            const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);  // a waiting reader sees the end
            if (writer >= 0) ::close(writer);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (reader >= 0) ::close(reader);
    });
    Result result = RunTool(std::move(args));
    done = true;
    watchdog.join();
    blocked = released;
    return result;
}

struct NotAFileCase {
    const char* name;
    std::vector<std::string> args;  // "FIFO" and "DIR" stand for such paths, "TEXT" for a plain text
};

void PrintTo(const NotAFileCase& c, std::ostream* out) { *out << c.name; }

class NotARegularFile : public testing::TestWithParam<NotAFileCase> {};

TEST_P(NotARegularFile, IsRefusedWithoutWaiting)
{
    test::TempFolder folder;
    const std::string fifo = folder.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(folder.Path("dir"));
    std::vector<std::string> args = GetParam().args;
    for (std::string& arg : args) {
        if (arg == "FIFO") arg = fifo;
        if (arg == "DIR") arg = folder.Path("dir");
        if (arg == "TEXT") arg = folder.Write("plain.txt", "[All]\nKey=1\n");
    }
    bool blocked = false;
    const Result result = RunToolBesideFifo(fifo, args, blocked);
    EXPECT_FALSE(blocked) << "the tool waited for the other end of the FIFO";
    ExpectOneComplaint(result, pconfig::kFileFailed);
    EXPECT_NE(result.err.find("not a regular file"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("dir")));
}

INSTANTIATE_TEST_SUITE_P(Cases, NotARegularFile, testing::Values(
    NotAFileCase{"EncodeFromFifo", {"encode", "FIFO", "DIR/out.dcf"}},
    NotAFileCase{"EncodeFromDirectory", {"encode", "DIR", "out.dcf"}},
    NotAFileCase{"EncodeIntoFifo", {"encode", "TEXT", "FIFO"}},
    NotAFileCase{"EncodeIntoDirectory", {"encode", "TEXT", "DIR"}},
    NotAFileCase{"DecodeFifo", {"decode", "FIFO"}},
    NotAFileCase{"DecodeDirectory", {"decode", "DIR"}},
    NotAFileCase{"GetFromFifo", {"get", "FIFO", "All", "Key"}},
    NotAFileCase{"GetFromDirectory", {"get", "DIR", "All", "Key"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Pconfig, EncodeReplacesWhateverLiesAtItsTemporaryName)
{
    test::TempFolder folder;
    const std::string out = folder.Path("pconfig.dcf");
    ASSERT_EQ(::mkfifo((out + ".pconfig-new").c_str(), 0600), 0);
    bool blocked = false;
    const Result result = RunToolBesideFifo(out + ".pconfig-new", {"encode", folder.Write("plain.txt", "[All]\nKey=1\n"), out}, blocked);
    EXPECT_FALSE(blocked) << "the tool waited for the other end of the FIFO";
    EXPECT_EQ(result.code, pconfig::kSuccess) << result.err;
    ASSERT_TRUE(std::filesystem::is_regular_file(out));
    EXPECT_EQ(RunTool({"get", out, "All", "Key"}).out, "1\n");
    EXPECT_FALSE(std::filesystem::exists(out + ".pconfig-new"));
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
