// The engine error texts as the wizard shows them, from the English resource module.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace palto::test {
namespace {

struct ErrorCase {
    int code;
    const wchar_t* text;
};

void PrintTo(const ErrorCase& c, std::ostream* out)
{
    *out << c.code;
}

class EngineErrorText : public testing::TestWithParam<ErrorCase> {
protected:
    static void SetUpTestSuite() { LoadEnglishResources(); }

    static std::wstring Shown(int code)
    {
        CString text = L"left over";
        theApp.GetEngineErrorText(code, text);
        return text.str();
    }
};

TEST_P(EngineErrorText, IsTheEnglishTextOfTheCode)
{
    EXPECT_EQ(Shown(GetParam().code), GetParam().text) << "code " << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(EveryCodeOfTheTable, EngineErrorText, testing::Values(
    ErrorCase{-1000003, L"The backup engine could not read the list of backups."},
    ErrorCase{-1000004, L"The backup engine ran out of memory."},
    ErrorCase{-1000005, L"The backup engine received a request it cannot carry out."},
    ErrorCase{-1000008, L"The backup could not be found."},
    ErrorCase{-1000100, L"The place where the backup is stored cannot be reached."},
    ErrorCase{-1000103, L"The medium of this backup, or a backup it is based on, is not available."},
    ErrorCase{-1000104, L"The chosen backup version could not be found."},
    ErrorCase{-1000105, L"The operation was cancelled."},
    ErrorCase{-1000112, L"Another restore is already running."},
    ErrorCase{-1000312, L"The destination could not be prepared for the restore."},
    ErrorCase{-1000350, L"The chosen backup cannot be read."},
    ErrorCase{-1000351, L"The backup is damaged."},
    ErrorCase{-1000352, L"A part of the backup is missing."},
    ErrorCase{-1000353, L"The destination disk could not be written."},
    ErrorCase{-1000354, L"The destination is too small for the backup."},
    ErrorCase{-1000355, L"Some data of the backup could not be read. Do you want to continue the restore?"},
    ErrorCase{-1000356, L"Some data of the backup could not be read. Do you want to continue the restore?"},
    ErrorCase{-1000357, L"The destination is in use by another program."},
    ErrorCase{-1000358, L"A disk of this computer reported an error."},
    ErrorCase{-1000359, L"The backup was made by a newer version of the program."},
    ErrorCase{-1000360, L"The format of the backup is not supported."},
    ErrorCase{-1000513, L"The medium of this backup, or a backup it is based on, is not available."}));

INSTANTIATE_TEST_SUITE_P(OtherCodes, EngineErrorText, testing::Values(
    ErrorCase{-1000006, L"The backup engine reported an error. Error code:  -1000006"}));

}  // namespace
}  // namespace palto::test
