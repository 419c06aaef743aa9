#include "framework/CString.h"

#include "framework/Afx.h"

CString CString::Left(int count) const
{
    return CString(m_text.substr(0, count > 0 ? static_cast<size_t>(count) : 0));
}

CString CString::Mid(int first, int count) const
{
    const size_t from = first > 0 ? static_cast<size_t>(first) : 0;
    if (from >= m_text.size()) return {};
    return CString(m_text.substr(from, count < 0 ? std::wstring::npos : static_cast<size_t>(count)));
}

int CString::Find(const wchar_t* part, int start) const
{
    if (!part || start < 0) return -1;
    const size_t at = m_text.find(part, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0) return -1;
    const size_t at = m_text.find(ch, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(const wchar_t* from, const wchar_t* to)
{
    const std::wstring_view old(from ? from : L"");
    const std::wstring_view replacement(to ? to : L"");
    if (old.empty()) return 0;
    int count = 0;
    for (size_t at = m_text.find(old); at != std::wstring::npos; at = m_text.find(old, at + replacement.size())) {
        m_text.replace(at, old.size(), replacement);
        ++count;
    }
    return count;
}

CString& CString::MakeLower()
{
    if (!m_text.empty()) ::CharLowerBuffW(m_text.data(), static_cast<DWORD>(m_text.size()));
    return *this;
}

BOOL CString::LoadString(UINT id)
{
    // With a length of 0, LoadStringW hands out the text in the module itself, whatever its length.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    m_text.assign(text && length > 0 ? text : L"", length > 0 ? static_cast<size_t>(length) : 0);
    return length > 0;
}
