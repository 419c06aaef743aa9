// The resource module checker: compares a module of one language with the English one
// and with what the wizard needs of every module.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace palto::modcheck {

// A module loaded as data: no code of it runs. Empty when the file cannot be loaded.
class DataModule {
public:
    explicit DataModule(const std::wstring& path);
    ~DataModule();
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    HMODULE handle() const { return m_module; }

private:
    HMODULE m_module;
};

// Everything wrong with `module` measured against the English module `english`, one
// line each ("string 5179: ...", "dialog 136: ..."); empty when the module is sound.
std::vector<std::wstring> CheckModule(HMODULE english, HMODULE module);

}  // namespace palto::modcheck
