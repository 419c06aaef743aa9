// Formatting of text templates from the resource module.
//
// Translators write printf-style templates ("%d", "%s", "%.1f", ...) and message-style
// ones ("%1", "%2!d!"). A template comes from a file the program does not control, so
// it is never handed to the C runtime's printf: each conversion is checked against the
// type of the argument it would consume. A conversion with no argument left, or one that
// cannot be filled safely, is kept in the text as it stands; an argument of another kind
// than the conversion asks for is shown in its own natural form. No conversion ever
// reads an argument it was not given, and none writes anything ("%n" is kept as text).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace palto {

// One argument of a template, remembering the type it was given as.
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Real, Char, Text };

    FormatArg(short v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(int v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(long v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(long long v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(unsigned short v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(unsigned v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(unsigned long v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(unsigned long long v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(float v) : m_kind(Kind::Real), m_real(v) {}
    FormatArg(double v) : m_kind(Kind::Real), m_real(v) {}
    FormatArg(wchar_t v) : m_kind(Kind::Char), m_unsigned(static_cast<std::uint64_t>(v)) {}
    FormatArg(char v) : m_kind(Kind::Char), m_unsigned(static_cast<unsigned char>(v)) {}
    FormatArg(const wchar_t* v) : m_kind(Kind::Text), m_text(v ? v : L"") {}
    FormatArg(std::wstring_view v) : m_kind(Kind::Text), m_text(v) {}
    FormatArg(const std::wstring& v) : m_kind(Kind::Text), m_text(v) {}
    FormatArg(bool) = delete;                       // say what it means: a number or a text
    template <class T> FormatArg(T*) = delete;      // no pointers but text

    Kind kind() const { return m_kind; }
    bool IsInteger() const { return m_kind == Kind::Signed || m_kind == Kind::Unsigned || m_kind == Kind::Char; }
    std::int64_t AsInteger() const;   // the value as a 64-bit integer (reals truncated and clamped)
    double AsReal() const;
    std::wstring_view text() const { return m_text; }

private:
    Kind m_kind;
    std::int64_t m_signed = 0;
    std::uint64_t m_unsigned = 0;
    double m_real = 0.0;
    std::wstring_view m_text;
};

// The character between the whole and the decimal part of every real a template
// shows: the resource module in use says which, so it is as process-wide as the module.
// A text that is one character other than a digit or a blank is a separator; with any
// other text the figures keep their point.
bool IsDecimalSeparator(std::wstring_view text);
void UseDecimalSeparator(std::wstring_view text);
wchar_t DecimalSeparator();

// printf-style: %d %i %u %x %X %o %c %s %ls %f %e %g (and their upper-case forms), %%,
// flags "-+ #0", width and precision (digits or '*'), length modifiers h hh l ll L I64 I32 z j t.
// Without a length modifier (or with h, l or I32) an integer conversion works on 32 bits,
// as it does for an int on Windows; ll, I64, z, j and t make it 64 bits.
std::wstring FormatTemplate(std::wstring_view templ, std::span<const FormatArg> args);

// The arguments a printf-style template consumes, in order, by the kind of value each
// needs: a '*' width or precision is an Int of its own before its conversion's value; "%%"
// and text that is no conversion consume nothing. Two templates that list the same
// kinds can be filled with the same arguments.
enum class TemplateArg { Int, Int64, Real, Char, Text };
std::vector<TemplateArg> TemplateArguments(std::wstring_view templ);

// Message-style: %1 to %99 insert argument 1 to 99, in its natural form or, with "%1!fmt!",
// formatted by the printf conversion "%fmt". %0 ends the text; %n and %r break the line
// (CR LF and CR), %t is a tab; "%%", "% ", "%." and "%!" give the character after the '%'.
std::wstring FormatInserts(std::wstring_view templ, std::span<const FormatArg> inserts);

// The arguments of a template, each with the type it was given as.
template <class... Args>
std::array<FormatArg, sizeof...(Args)> FormatArgs(const Args&... args)
{
    return {FormatArg(args)...};
}

template <class... Args>
std::wstring FormatText(std::wstring_view templ, const Args&... args)
{
    return FormatTemplate(templ, FormatArgs(args...));
}

template <class... Args>
std::wstring FormatMessageText(std::wstring_view templ, const Args&... args)
{
    return FormatInserts(templ, FormatArgs(args...));
}

}  // namespace palto
