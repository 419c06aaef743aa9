#include "framework/Format.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cwctype>
#include <limits>

namespace palto {

namespace {

std::atomic<wchar_t> g_decimalSeparator{L'.'};

}  // namespace

bool IsDecimalSeparator(std::wstring_view text)
{
    return text.size() == 1 && !std::iswdigit(text[0]) && !std::iswspace(text[0]) && text[0] != L'\0';
}

void UseDecimalSeparator(std::wstring_view text)
{
    g_decimalSeparator = IsDecimalSeparator(text) ? text[0] : L'.';
}

wchar_t DecimalSeparator()
{
    return g_decimalSeparator;
}

std::int64_t FormatArg::AsInteger() const
{
    switch (m_kind) {
    case Kind::Signed:
        return m_signed;
    case Kind::Unsigned:
    case Kind::Char:
        return static_cast<std::int64_t>(m_unsigned);
    case Kind::Real:
        if (std::isnan(m_real)) return 0;
        if (m_real >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
        if (m_real <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
        return static_cast<std::int64_t>(m_real);
    case Kind::Text:
        break;
    }
    return 0;
}

double FormatArg::AsReal() const
{
    switch (m_kind) {
    case Kind::Signed:
        return static_cast<double>(m_signed);
    case Kind::Unsigned:
    case Kind::Char:
        return static_cast<double>(m_unsigned);
    case Kind::Real:
        return m_real;
    case Kind::Text:
        break;
    }
    return 0.0;
}

namespace {

// Widths and precisions beyond this are taken as this: a template cannot make the
// program build a text of gigabytes.
constexpr int kMaxWidth = 1024;

struct Conversion {
    std::string flags;       // any of "-+ #0"
    int width = -1;          // -1: none
    int precision = -1;      // -1: none
    bool wide = false;       // ll, I64, z, j, t: 64-bit integers
    bool narrowShort = false;  // h: 16 bits
    bool narrowChar = false;   // hh: 8 bits
    wchar_t type = 0;
};

bool IsFlag(wchar_t c) { return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int ReadNumber(std::wstring_view s, size_t& i)
{
    long long n = 0;
    while (i < s.size() && IsDigit(s[i])) {
        if (n <= kMaxWidth) n = n * 10 + (s[i] - L'0');
        ++i;
    }
    return static_cast<int>(n > kMaxWidth ? kMaxWidth : n);
}

void ReadLength(std::wstring_view s, size_t& i, Conversion& c)
{
    auto next = [&](std::wstring_view token) {
        if (s.substr(i, token.size()) != token) return false;
        i += token.size();
        return true;
    };
    if (next(L"I64") || next(L"ll") || next(L"j") || next(L"z") || next(L"t")) c.wide = true;
    else if (next(L"I32") || next(L"l") || next(L"L") || next(L"w")) {}
    else if (next(L"hh")) c.narrowChar = true;
    else if (next(L"h")) c.narrowShort = true;
}

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::wstring Pad(std::wstring text, const Conversion& c)
{
    if (c.width > 0 && text.size() < static_cast<size_t>(c.width)) {
        const size_t fill = c.width - text.size();
        if (c.flags.find('-') != std::string::npos) text.append(fill, L' ');
        else text.insert(0, fill, L' ');
    }
    return text;
}

// The printf directive for snprintf, built only from parsed, known-safe parts.
std::string Directive(const Conversion& c, const char* length, char type)
{
    std::string directive = "%" + c.flags;
    if (c.width >= 0) directive += std::to_string(c.width);
    if (c.precision >= 0) directive += "." + std::to_string(c.precision);
    return directive + length + type;
}

template <class T>
std::wstring Snprintf(const std::string& directive, T value)
{
    char buffer[kMaxWidth + 400];  // a double of %.1024f needs 309 digits before the point
    const int n = std::snprintf(buffer, sizeof buffer, directive.c_str(), value);
    if (n < 0) return {};
    return Widen(std::string(buffer, std::min<size_t>(static_cast<size_t>(n), sizeof buffer - 1)));
}

std::wstring FormatInteger(const Conversion& c, std::int64_t value)
{
    const bool isSigned = c.type == L'd' || c.type == L'i';
    const char type = static_cast<char>(c.type == L'i' ? L'd' : c.type);
    const std::string directive = Directive(c, "ll", type);
    if (c.wide) {
        return isSigned ? Snprintf(directive, static_cast<long long>(value))
                        : Snprintf(directive, static_cast<unsigned long long>(value));
    }
    if (c.narrowChar) {
        return isSigned ? Snprintf(directive, static_cast<long long>(static_cast<std::int8_t>(value)))
                        : Snprintf(directive, static_cast<unsigned long long>(static_cast<std::uint8_t>(value)));
    }
    if (c.narrowShort) {
        return isSigned ? Snprintf(directive, static_cast<long long>(static_cast<std::int16_t>(value)))
                        : Snprintf(directive, static_cast<unsigned long long>(static_cast<std::uint16_t>(value)));
    }
    return isSigned ? Snprintf(directive, static_cast<long long>(static_cast<std::int32_t>(value)))
                    : Snprintf(directive, static_cast<unsigned long long>(static_cast<std::uint32_t>(value)));
}

// snprintf runs in the "C" locale: its point becomes the module's separator.
std::wstring WithDecimalSeparator(std::wstring figure)
{
    std::ranges::replace(figure, L'.', DecimalSeparator());
    return figure;
}

std::wstring FormatReal(const Conversion& c, double value)
{
    return WithDecimalSeparator(Snprintf(Directive(c, "", static_cast<char>(c.type)), value));
}

std::wstring FormatString(const Conversion& c, std::wstring_view text)
{
    if (c.precision >= 0 && text.size() > static_cast<size_t>(c.precision)) text = text.substr(0, c.precision);
    return Pad(std::wstring(text), c);
}

// An argument shown as a text conversion, or given to a conversion of another kind
// that cannot take it: its own natural form.
std::wstring Natural(const FormatArg& arg)
{
    switch (arg.kind()) {
    case FormatArg::Kind::Signed:
        return std::to_wstring(arg.AsInteger());
    case FormatArg::Kind::Unsigned:
        return std::to_wstring(static_cast<std::uint64_t>(arg.AsInteger()));
    case FormatArg::Kind::Real:
        return WithDecimalSeparator(Snprintf("%g", arg.AsReal()));
    case FormatArg::Kind::Char: {
        const auto ch = static_cast<wchar_t>(arg.AsInteger());
        return ch ? std::wstring(1, ch) : std::wstring();
    }
    case FormatArg::Kind::Text:
        return std::wstring(arg.text());
    }
    return {};
}

std::wstring Render(const Conversion& c, const FormatArg& arg)
{
    switch (c.type) {
    case L'd': case L'i': case L'u': case L'x': case L'X': case L'o':
        if (arg.kind() == FormatArg::Kind::Text) return Pad(Natural(arg), c);
        return FormatInteger(c, arg.AsInteger());
    case L'f': case L'F': case L'e': case L'E': case L'g': case L'G': case L'a': case L'A':
        if (arg.kind() == FormatArg::Kind::Text) return Pad(Natural(arg), c);
        return FormatReal(c, arg.AsReal());
    case L'c': {
        if (!arg.IsInteger()) return Pad(Natural(arg), c);
        const auto ch = static_cast<wchar_t>(arg.AsInteger());
        return Pad(ch ? std::wstring(1, ch) : std::wstring(), c);
    }
    case L's': case L'S':
        if (arg.kind() == FormatArg::Kind::Text) return FormatString(c, arg.text());
        return FormatString(c, Natural(arg));
    }
    return {};
}

bool IsConversion(wchar_t t)
{
    return std::wstring_view(L"diuxXocsSfFeEgGaA").find(t) != std::wstring_view::npos;
}

// Reads a '*' width or precision from the arguments; false when there is no integer for it.
bool TakeStar(std::span<const FormatArg> args, size_t& next, int& value)
{
    if (next >= args.size() || !args[next].IsInteger()) return false;
    const std::int64_t v = args[next++].AsInteger();
    value = static_cast<int>(v > kMaxWidth ? kMaxWidth : (v < -kMaxWidth ? -kMaxWidth : v));
    return true;
}

// One '%' directive of a template as written: "%%", or a conversion whose '*' width and
// precision are still to be taken from the arguments.
struct ParsedDirective {
    bool percent = false;
    bool starWidth = false;
    bool starPrecision = false;
    Conversion conversion;
};

// Reads the directive at templ[i] == '%' and moves i past it; false when the template
// ends inside it.
bool ReadDirective(std::wstring_view templ, size_t& i, ParsedDirective& d)
{
    ++i;
    if (i < templ.size() && templ[i] == L'%') {
        d.percent = true;
        ++i;
        return true;
    }
    Conversion& c = d.conversion;
    while (i < templ.size() && IsFlag(templ[i])) {
        if (c.flags.find(static_cast<char>(templ[i])) == std::string::npos) c.flags += static_cast<char>(templ[i]);
        ++i;
    }
    if (i < templ.size() && templ[i] == L'*') {
        ++i;
        d.starWidth = true;
    } else if (i < templ.size() && IsDigit(templ[i])) {
        c.width = ReadNumber(templ, i);
    }
    if (i < templ.size() && templ[i] == L'.') {
        ++i;
        if (i < templ.size() && templ[i] == L'*') {
            ++i;
            d.starPrecision = true;
        } else {
            c.precision = ReadNumber(templ, i);
        }
    }
    ReadLength(templ, i, c);
    if (i >= templ.size()) return false;
    c.type = templ[i++];
    return true;
}

TemplateArg KindOf(const Conversion& c)
{
    switch (c.type) {
    case L'c':
        return TemplateArg::Char;
    case L's': case L'S':
        return TemplateArg::Text;
    case L'f': case L'F': case L'e': case L'E': case L'g': case L'G': case L'a': case L'A':
        return TemplateArg::Real;
    }
    return c.wide ? TemplateArg::Int64 : TemplateArg::Int;
}

}  // namespace

std::wstring FormatTemplate(std::wstring_view templ, std::span<const FormatArg> args)
{
    std::wstring out;
    size_t next = 0;  // next argument
    size_t i = 0;
    while (i < templ.size()) {
        if (templ[i] != L'%') {
            out += templ[i++];
            continue;
        }
        const size_t start = i;
        ParsedDirective d;
        if (!ReadDirective(templ, i, d)) {  // the template ends inside the conversion
            out.append(templ.substr(start));
            break;
        }
        if (d.percent) {
            out += L'%';
            continue;
        }
        Conversion& c = d.conversion;
        bool fillable = true;
        if (d.starWidth) {
            fillable = TakeStar(args, next, c.width);
            if (fillable && c.width < 0) {
                c.width = -c.width;
                if (c.flags.find('-') == std::string::npos) c.flags += '-';
            }
        }
        if (d.starPrecision) {
            fillable = fillable && TakeStar(args, next, c.precision);
            if (c.precision < 0) c.precision = -1;  // a negative precision means none
        }
        if (!fillable || !IsConversion(c.type) || next >= args.size()) {
            out.append(templ.substr(start, i - start));
            continue;
        }
        out += Render(c, args[next++]);
    }
    return out;
}

std::vector<TemplateArg> TemplateArguments(std::wstring_view templ)
{
    std::vector<TemplateArg> kinds;
    size_t i = 0;
    while (i < templ.size()) {
        if (templ[i] != L'%') {
            ++i;
            continue;
        }
        ParsedDirective d;
        if (!ReadDirective(templ, i, d)) break;
        if (d.percent || !IsConversion(d.conversion.type)) continue;
        if (d.starWidth) kinds.push_back(TemplateArg::Int);
        if (d.starPrecision) kinds.push_back(TemplateArg::Int);
        kinds.push_back(KindOf(d.conversion));
    }
    return kinds;
}

std::wstring FormatInserts(std::wstring_view templ, std::span<const FormatArg> inserts)
{
    std::wstring out;
    size_t i = 0;
    while (i < templ.size()) {
        if (templ[i] != L'%' || i + 1 >= templ.size()) {
            out += templ[i++];
            continue;
        }
        const size_t start = i++;
        const wchar_t c = templ[i];
        if (c == L'0') break;
        if (c == L'n' || c == L'r' || c == L't' || c == L'%' || c == L' ' || c == L'.' || c == L'!') {
            out += c == L'n' ? L"\r\n" : c == L'r' ? L"\r" : c == L't' ? L"\t" : std::wstring(1, c);
            ++i;
            continue;
        }
        if (!IsDigit(c)) {
            out += L'%';
            continue;
        }
        size_t number = c - L'0';
        ++i;
        if (i < templ.size() && IsDigit(templ[i])) number = number * 10 + (templ[i++] - L'0');
        std::wstring directive = L"%s";
        if (i < templ.size() && templ[i] == L'!') {
            const size_t close = templ.find(L'!', i + 1);
            if (close == std::wstring_view::npos) {  // unfinished "!directive": keep the rest as it is
                out.append(templ.substr(start));
                break;
            }
            directive = L"%" + std::wstring(templ.substr(i + 1, close - i - 1));
            i = close + 1;
        }
        if (number == 0 || number > inserts.size()) {
            out.append(templ.substr(start, i - start));
            continue;
        }
        // The directive must be exactly one conversion: anything else is shown as written.
        const std::wstring filled = FormatTemplate(directive, inserts.subspan(number - 1, 1));
        out += filled;
    }
    return out;
}

}  // namespace palto
