#include "JournalledWizard.h"

#include <fstream>

namespace palto::e2e {

JournalledWizard::JournalledWizard(const wchar_t* stem)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    journalPath = std::wstring(temp) + stem + L"-" + std::to_wstring(::GetCurrentProcessId()) + L".jsonl";
}

void JournalledWizard::Launch(const std::string& catalog, const std::wstring& arguments)
{
    ::DeleteFileW(journalPath.c_str());
    ::SetEnvironmentVariableW(L"HALVEX_SIM_JOURNAL", journalPath.c_str());
    run.emplace(catalog, arguments);
    ::SetEnvironmentVariableW(L"HALVEX_SIM_JOURNAL", nullptr);
    wizard = run->wizard();
    ASSERT_TRUE(wizard) << "the wizard was not shown";
}

void JournalledWizard::TearDown()
{
    if (wizard && run->process().WaitForExit(0) == STILL_ACTIVE) {
        EXPECT_EQ(run->Cancel(), 0u);
    }
    run.reset();
    ::DeleteFileW(journalPath.c_str());
}

std::vector<nlohmann::json> JournalledWizard::Journal(const std::string& name) const
{
    std::vector<nlohmann::json> lines;
    std::ifstream file(journalPath.c_str(), std::ios::binary);
    for (std::string line; std::getline(file, line);) {
        auto entry = nlohmann::json::parse(line);
        if (entry.value("op", "") == name || entry.value("notify", "") == name) lines.push_back(std::move(entry));
    }
    return lines;
}

}  // namespace palto::e2e
