// An INI file read with the Windows profile functions, for the answer-file reader.
#pragma once

#include <string>

#include "app/AnswerFile.h"

class ProfileFile : public palto::IProfileSource {
public:
    // `path` as the profile functions take it: a full path (a bare name would be looked
    // for in the Windows folder).
    explicit ProfileFile(std::wstring path) : m_path(std::move(path)) {}

    std::optional<std::vector<std::wstring>> SectionNames() const override;
    std::optional<std::vector<std::wstring>> SectionLines(const std::wstring& section) const override;

private:
    std::wstring m_path;
};

// The answer file `path` (relative to the current folder), read at start-up.
palto::AnswerFileRead ReadAnswerFile(const std::wstring& path);
