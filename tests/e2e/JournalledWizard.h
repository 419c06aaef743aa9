// A fixture for tests that read what the wizard asked of the engine: the wizard started
// with a catalog of the test's own and the engine's journal in a file of this process.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "E2eSupport.h"

namespace palto::e2e {

class JournalledWizard : public testing::Test {
protected:
    // The journal is %TEMP%\<stem>-<process id>.jsonl.
    explicit JournalledWizard(const wchar_t* stem);

    // Starts the wizard afresh, with an empty journal; fails when its window is not shown.
    void Launch(const std::string& catalog, const std::wstring& arguments = L"");
    // Cancels a wizard still running and removes the journal.
    void TearDown() override;

    DWORD id() { return run->process().id(); }
    // The journal's lines of one operation ("op") or notification ("notify"), in order.
    std::vector<nlohmann::json> Journal(const std::string& name) const;

    std::wstring journalPath;
    std::optional<CatalogRun> run;
    HWND wizard = nullptr;
};

}  // namespace palto::e2e
