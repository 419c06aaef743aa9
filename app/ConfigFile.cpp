#include "app/ConfigFile.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string_view>

#include "app/StdioFile.h"

namespace palto {

namespace {

unsigned char LowerAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

std::string_view Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The size of an open file, or -1 when it cannot be told.
long SizeOf(std::FILE* file)
{
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

ConfigLoad ReadOpenedConfig(StdioFile file, std::uint8_t factor, std::string& text)
{
    text.clear();
    if (!file) return ConfigLoad::CannotOpen;
    const long size = SizeOf(file.get());
    if (size < 0) return ConfigLoad::Unreadable;
    if (static_cast<unsigned long>(size) > kConfigMaxFileSize) return ConfigLoad::TooLarge;
    return ReadConfigBlocks(file.get(), static_cast<std::size_t>(size), factor, text);
}

}  // namespace

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = LowerAscii(static_cast<unsigned char>(a[i]));
        const unsigned char y = LowerAscii(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

ConfigLoad ReadConfigText(const std::string& path, std::uint8_t factor, std::string& text)
{
    return ReadOpenedConfig(StdioFile(std::fopen(path.c_str(), "rb")), factor, text);
}

#ifdef _WIN32
ConfigLoad ReadConfigText(const std::wstring& path, std::uint8_t factor, std::string& text)
{
    return ReadOpenedConfig(StdioFile(::_wfopen(path.c_str(), L"rb")), factor, text);
}
#endif

ConfigLoad ReadConfigBlocks(std::FILE* file, std::size_t size, std::uint8_t factor, std::string& text)
{
    text.clear();
    try {
        text.reserve(size);
    } catch (const std::bad_alloc&) {
        return ConfigLoad::OutOfMemory;
    }
    std::uint8_t block[kConfigBlockSize];
    for (;;) {
        const std::size_t got = std::fread(block, 1, sizeof block, file);
        if (got == 0 || got > size - text.size()) break;
        UnscrambleBlock(block, got, factor);
        text.append(reinterpret_cast<const char*>(block), got);
    }
    return std::ferror(file) ? ConfigLoad::Unreadable : ConfigLoad::Loaded;
}

ConfigFile::ConfigFile(const std::string& path) : m_key(DeriveConfigKey())
{
    Load(path);
}

#ifdef _WIN32
ConfigFile::ConfigFile(const std::wstring& path) : m_key(DeriveConfigKey())
{
    Load(path);
}
#endif

template <typename Path>
void ConfigFile::Load(const Path& path)
{
    std::string text;
    m_load = ReadConfigText(path, ScrambleFactor(m_key), text);
    if (IsLoaded()) Parse(text);
}

const std::string& ConfigFile::GetValue(const std::string& section, const std::string& key) const
{
    if (section.empty() || key.empty()) return m_emptyValue;
    const auto entries = m_sections.find(section);
    if (entries == m_sections.end()) return m_emptyValue;
    const auto value = entries->second.find(key);
    return value == entries->second.end() ? m_emptyValue : value->second;
}

void ConfigFile::Parse(const std::string& text)
{
    Entries* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        // A CR ends the line and takes the byte after it along; a zero byte ends the
        // line's text, as the rest of it could not be seen in a zero-terminated line.
        size_t end = text.find('\r', start);
        if (end == std::string::npos) end = text.size();
        std::string_view raw(text.data() + start, end - start);
        raw = raw.substr(0, raw.find('\0'));
        start = end + 2;

        std::string_view line = Trim(raw);
        if (line.empty()) {
            current = nullptr;
            continue;
        }
        line = Trim(line.substr(0, line.find(';')));
        if (line.empty()) continue;

        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos) continue;
            const std::string name(Trim(line.substr(1, close - 1)));
            current = name.empty() ? nullptr : &m_sections[name];
            continue;
        }
        if (!current) continue;
        const size_t equals = line.find('=');
        const std::string key(Trim(line.substr(0, equals)));
        (*current)[key] = equals == std::string_view::npos ? std::string() : std::string(Trim(line.substr(equals + 1)));
    }
}

}  // namespace palto
