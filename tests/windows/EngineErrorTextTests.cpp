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
    ErrorCase{-1000003, L"The backup engine could not read the list of backups. Connect the drive or insert the medium that holds your backups, then try again. If this keeps happening, restart the computer from the recovery medium."},
    ErrorCase{-1000004, L"The backup engine ran out of memory. Restart the computer from the recovery medium and try again."},
    ErrorCase{-1000005, L"The backup engine received a request it cannot carry out. Go back one step and try again. If this keeps happening, restart the computer from the recovery medium."},
    ErrorCase{-1000008, L"The backup could not be found. Check that the drive or medium that holds it is connected, or choose another backup."},
    ErrorCase{-1000100, L"The place where the backup is stored cannot be reached. Check that the drive, the medium or the network connection is available, then try again."},
    ErrorCase{-1000103, L"The medium of this backup, or of a backup it is based on, is not available. Insert the medium or connect the drive that holds it, then try again."},
    ErrorCase{-1000104, L"The chosen backup version could not be found. Choose another backup version, or check that the medium that holds it is inserted."},
    ErrorCase{-1000105, L"The operation was cancelled. If a restore was under way, its destination is incomplete: restore it again before you use it."},
    ErrorCase{-1000112, L"Another restore is already running. Wait until it has ended, then try again."},
    ErrorCase{-1000312, L"The destination could not be prepared for the restore. Check that the destination disk is connected and working, or choose another destination."},
    ErrorCase{-1000350, L"The chosen backup cannot be read. Check that the drive or medium that holds it is connected, or choose another backup."},
    ErrorCase{-1000351, L"The backup is damaged. Choose another backup version to restore."},
    ErrorCase{-1000352, L"A part of the backup is missing. Insert or connect every medium of this backup, or choose another backup version."},
    ErrorCase{-1000353, L"The destination disk could not be written. Check the disk and its connection, or choose another destination."},
    ErrorCase{-1000354, L"The destination is too small for the backup. Choose a larger destination."},
    ErrorCase{-1000355, L"Some data of the backup could not be read. Do you want to continue the restore?"},
    ErrorCase{-1000356, L"Some data of the backup could not be read. The restore goes on, but the restored data may be incomplete."},
    ErrorCase{-1000357, L"The destination is in use by another program. Restart the computer from the recovery medium and try again."},
    ErrorCase{-1000358, L"A disk of this computer reported an error. Check the disk and its connection; the disk may need to be replaced."},
    ErrorCase{-1000359, L"The backup was made by a newer version of the program. Restore it with the recovery medium of that version."},
    ErrorCase{-1000360, L"The format of the backup is not supported. Restore it with the recovery medium of the program version that made it."},
    ErrorCase{-1000513, L"The medium of this backup, or of a backup it is based on, is not available. Insert the medium or connect the drive that holds it, then try again."}));

INSTANTIATE_TEST_SUITE_P(OtherCodes, EngineErrorText, testing::Values(
    ErrorCase{-1000006, L"The backup engine reported an error. Try again; if this keeps happening, restart the computer from the recovery medium. Error code:  -1000006"}));

}  // namespace
}  // namespace palto::test
