// The reader of the product configuration file: scrambled text of sections and
// key/value lines, read once when the object is made and never written.
//
// After unscrambling: a CR ends a line and the byte after it goes with it (an LF alone
// does not end a line); lines are trimmed of spaces and tabs; ';' starts a comment; a
// line that is blank before its comment is cut ends the current section; "[name]"
// starts or continues a section and "[]" ends it; "key=value" is an entry, "key" alone
// one with an empty value; a later entry replaces an earlier one. Names of sections and
// keys are compared without regard to letter case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "app/ConfigScrambling.h"

namespace palto {

// Orders names as _stricmp does: byte by byte, ASCII letters folded to lower case.
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

enum class ConfigLoad { Loaded, CannotOpen, Unreadable, TooLarge, OutOfMemory };

// Reads the file at `path` and returns its plain text (at most 32768 bytes), or why not.
// On Windows a wide path reaches every folder name, also those the ANSI code page
// cannot spell.
ConfigLoad ReadConfigText(const std::string& path, std::uint8_t factor, std::string& text);
#ifdef _WIN32
ConfigLoad ReadConfigText(const std::wstring& path, std::uint8_t factor, std::string& text);
#endif

// Reads and unscrambles blocks of an open file whose size was found to be `size`. A file
// that has grown or shrunk since is read no further than `size`: a block that would run
// past it is dropped and ends the reading.
ConfigLoad ReadConfigBlocks(std::FILE* file, std::size_t size, std::uint8_t factor, std::string& text);

class ConfigFile {
public:
    explicit ConfigFile(const std::string& path);
#ifdef _WIN32
    explicit ConfigFile(const std::wstring& path);
#endif

    // The stored value, or an empty text when there is none or either name is empty.
    // The reference lives as long as the object.
    const std::string& GetValue(const std::string& section, const std::string& key) const;

    bool IsLoaded() const { return m_load == ConfigLoad::Loaded; }
    ConfigLoad load() const { return m_load; }

private:
    using Entries = std::map<std::string, std::string, NoCaseLess>;

    template <typename Path>
    void Load(const Path& path);
    void Parse(const std::string& text);

    ConfigLoad m_load = ConfigLoad::CannotOpen;
    ConfigKey m_key;
    const std::string m_emptyValue;
    std::map<std::string, Entries, NoCaseLess> m_sections;
};

}  // namespace palto
