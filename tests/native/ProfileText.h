// An INI text presented as the Windows profile functions present a file: sections in
// file order ("[name]", trimmed; lines before the first one belong to none), and each
// section's lines trimmed, without blank lines and comments (';'), a key and its value
// trimmed on either side of the first '='. What the native tests and the fuzz target
// hand the answer-file reader.
#pragma once

#include <cwctype>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/AnswerFile.h"

namespace palto::test {

class ProfileText : public IProfileSource {
public:
    explicit ProfileText(const std::wstring& text, bool readable = true) : m_readable(readable)
    {
        std::vector<std::wstring>* lines = nullptr;
        size_t at = 0;
        while (at <= text.size()) {
            size_t end = text.find_first_of(L"\r\n", at);
            if (end == std::wstring::npos) end = text.size();
            const std::wstring line = Trim(text.substr(at, end - at));
            at = end + 1;
            if (line.empty() || line[0] == L';') continue;
            if (line[0] == L'[') {
                const size_t close = line.find(L']');
                m_sections.emplace_back(Trim(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1)),
                                        std::vector<std::wstring>{});
                lines = &m_sections.back().second;
                continue;
            }
            if (!lines) continue;
            const size_t equals = line.find(L'=');
            lines->push_back(equals == std::wstring::npos
                                 ? line
                                 : Trim(line.substr(0, equals)) + L"=" + Trim(line.substr(equals + 1)));
        }
    }

    std::optional<std::vector<std::wstring>> SectionNames() const override
    {
        if (!m_readable) return std::nullopt;
        std::vector<std::wstring> names;
        for (const auto& section : m_sections)
            if (!section.first.empty()) names.push_back(section.first);
        return names;
    }

    std::optional<std::vector<std::wstring>> SectionLines(const std::wstring& name) const override
    {
        if (!m_readable) return std::nullopt;
        for (const auto& section : m_sections)
            if (SameName(section.first, name)) return section.second;
        return std::vector<std::wstring>{};
    }

private:
    static std::wstring Trim(const std::wstring& text)
    {
        const size_t first = text.find_first_not_of(L" \t");
        if (first == std::wstring::npos) return {};
        return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
    }
    static bool SameName(const std::wstring& a, const std::wstring& b)
    {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (std::towlower(a[i]) != std::towlower(b[i])) return false;
        return true;
    }

    bool m_readable;
    std::vector<std::pair<std::wstring, std::vector<std::wstring>>> m_sections;
};

}  // namespace palto::test
