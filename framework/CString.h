// The text type of the user interface: a value type over std::wstring with the
// operations the wizard uses, and Format that fills templates safely (Format.h).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

#include "framework/Format.h"

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text ? text : L"") {}
    CString(const wchar_t* text, int length) : m_text(text ? std::wstring(text, length > 0 ? length : 0) : L"") {}
    CString(std::wstring text) : m_text(std::move(text)) {}
    CString(std::wstring_view text) : m_text(text) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    // Empties the text after overwriting its characters, so that a secret (a password)
    // leaves no copy behind in memory that is given back.
    void Wipe()
    {
        ::SecureZeroMemory(m_text.data(), m_text.size() * sizeof(wchar_t));
        m_text.clear();
    }
    const wchar_t* GetString() const { return m_text.c_str(); }
    operator const wchar_t*() const { return m_text.c_str(); }
    const std::wstring& str() const { return m_text; }
    wchar_t GetAt(int index) const { return m_text.at(static_cast<size_t>(index)); }

    CString& operator+=(const CString& more) { m_text += more.m_text; return *this; }
    CString& operator+=(const wchar_t* more) { if (more) m_text += more; return *this; }
    CString& operator+=(wchar_t ch) { m_text += ch; return *this; }
    friend CString operator+(CString left, const CString& right) { return left += right; }
    friend CString operator+(CString left, const wchar_t* right) { return left += right; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_text == (b ? b : L""); }

    // Parts of the text; counts beyond the text are cut to it.
    CString Left(int count) const;
    CString Mid(int first, int count = -1) const;
    int Find(const wchar_t* part, int start = 0) const;
    int Find(wchar_t ch, int start = 0) const;
    int Replace(const wchar_t* from, const wchar_t* to);
    CString& MakeLower();

    // The text of a string of the resource module; FALSE (and empty) when it has none.
    BOOL LoadString(UINT id);

    template <class... Args>
    void Format(const wchar_t* templ, const Args&... args)
    {
        m_text = palto::FormatText(templ ? templ : L"", Arg(args)...);
    }

private:
    template <class T> static const T& Arg(const T& value) { return value; }
    static std::wstring_view Arg(const CString& value) { return value.m_text; }

    std::wstring m_text;
};
