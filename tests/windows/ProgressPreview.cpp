// progress_preview: the restore progress page on its own, for the screenshot tour (the
// wizard shows it only once a restore has been launched). Runs a long restore of the
// stand-in engine, from a catalog of its own, under the real page in the language given.
//
//   progress_preview [ENU|DEU]
//
// Ends when the page ends (Cancel, answered Yes) or when it is killed.
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "HalvexTestSupport.h"
#include "TestSupport.h"
#include "app/ResourceModule.h"
#include "restore/RestoreProgress.h"

using namespace palto::test;

int main(int argc, char** argv)
{
    const std::string code = argc > 1 ? argv[1] : "ENU";
    if (!TryLoadResourceModule(ProgramFolder().c_str(), std::wstring(code.begin(), code.end()).c_str(), theApp.m_langId))
        return 1;
    ::InitCommonControls();

    const std::wstring catalog = ProgramFolder() + L"\\progress-preview-catalog.json";
    std::ofstream(std::filesystem::path(catalog), std::ios::binary)
        << RestoreCatalog(R"([{"phase": 6, "firstStage": true, "ms": 500}, {"phase": 3, "firstStage": true, "ms": 60000},
                             {"phase": 7, "ms": 10000}, {"phase": 9, "ms": 30000}])");
    ::SetEnvironmentVariableW(L"HALVEX_SIM_CATALOG", catalog.c_str());

    ScopedContext context;
    const bool chosen = ChooseRestore(*context);
    ::DeleteFileW(catalog.c_str());
    if (!chosen) return 1;

    CRestoreProgress page(*context);
    page.DoModal();
    return 0;
}
