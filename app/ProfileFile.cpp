#include "app/ProfileFile.h"

#include <windows.h>

#include <functional>

namespace {

// Longest list the reader takes in, in characters: far beyond any answer file.
constexpr DWORD kMaxList = 1u << 20;

// A list of zero-terminated strings ended by an empty one, as the profile functions
// fill it, grown until it fits; nothing when it does not fit in kMaxList.
std::optional<std::vector<std::wstring>> ReadList(const std::function<DWORD(wchar_t*, DWORD)>& fill)
{
    for (DWORD size = 4096; size <= kMaxList; size *= 2) {
        std::wstring buffer(size, L'\0');
        const DWORD filled = fill(buffer.data(), size);
        if (filled >= size - 2) continue;   // cut: the list did not fit
        std::vector<std::wstring> list;
        for (size_t at = 0; at < filled && buffer[at];) {
            const size_t end = buffer.find(L'\0', at);
            list.emplace_back(buffer, at, end - at);
            at = end + 1;
        }
        return list;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::wstring>> ProfileFile::SectionNames() const
{
    const DWORD attributes = ::GetFileAttributesW(m_path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    const HANDLE file = ::CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    ::CloseHandle(file);
    return ReadList([this](wchar_t* buffer, DWORD size) {
        return ::GetPrivateProfileSectionNamesW(buffer, size, m_path.c_str());
    });
}

std::optional<std::vector<std::wstring>> ProfileFile::SectionLines(const std::wstring& section) const
{
    return ReadList([&](wchar_t* buffer, DWORD size) {
        return ::GetPrivateProfileSectionW(section.c_str(), buffer, size, m_path.c_str());
    });
}

palto::AnswerFileRead ReadAnswerFile(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = path.empty() ? 0 : ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    if (full.empty()) {
        palto::AnswerFileRead read;
        read.path = path;
        read.error = palto::AnswerFileError{palto::AnswerProblem::Unreadable};
        return read;
    }
    return palto::ReadAnswers(ProfileFile(full), full);
}
