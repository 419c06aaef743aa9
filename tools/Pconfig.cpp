#include "tools/Pconfig.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/ConfigFile.h"
#include "app/ConfigScrambling.h"
#include "app/StdioFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace palto::pconfig {

namespace {

constexpr char kUsage[] = "usage: pconfig encode IN OUT | decode IN | get FILE SECTION KEY | --help";

constexpr char kHelp[] =
    "pconfig: makes and reads pconfig.dcf, the scrambled product configuration file\n"
    "that the restore wizard reads from its own folder.\n"
    "\n"
    "  pconfig encode IN OUT        scramble the plain text file IN into OUT\n"
    "                               (line breaks are written as CR LF; at most 32768 bytes)\n"
    "  pconfig decode IN            write the plain text of the scrambled file IN\n"
    "  pconfig get FILE SECTION KEY print the value the wizard finds (an empty line if none)\n"
    "  pconfig --help               show this text\n"
    "\n"
    "Exit codes: 0 done, 1 wrong usage, 2 a file could not be read, loaded or written.\n";

std::string Reason() { return std::strerror(errno); }

// What a path names. Only a regular file is read or replaced: opening a FIFO would wait
// for a writer, and a directory or a device is no configuration file.
enum class PathKind { Missing, RegularFile, Other };

PathKind KindOf(const std::string& path)
{
#ifdef _WIN32
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE) ? PathKind::Other : PathKind::RegularFile;
#else
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return PathKind::Missing;
    return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
#endif
}

// Whether two paths name one existing file, also by different names (links).
bool SameFile(const std::string& a, const std::string& b)
{
#ifdef _WIN32
    const auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE file = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        const bool known = ::GetFileInformationByHandle(file, &info);
        ::CloseHandle(file);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return identity(a, x) && identity(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
#else
    struct stat x{}, y{};
    return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
#endif
}

// Plain text the wizard would misread: it takes 8-bit text as it stands.
void WarnAboutEncoding(const std::string& path, std::string_view plain, std::ostream& err)
{
    const bool utf16 = plain.starts_with("\xFF\xFE") || plain.starts_with("\xFE\xFF") ||
                       (plain.size() >= 2 && (plain[0] == '\0' || plain[1] == '\0'));
    if (plain.starts_with("\xEF\xBB\xBF")) {
        err << "pconfig: warning: " << path << " starts with a UTF-8 byte-order mark, which the wizard reads as "
            << "part of the first line; save it without one\n";
    } else if (utf16) {
        err << "pconfig: warning: " << path << " is UTF-16 text, in which the wizard finds no section and no key; "
            << "save it as 8-bit text\n";
    }
}

// Reads at most `limit` bytes of the file; false with `reason` when it cannot be read.
bool ReadFile(const std::string& path, size_t limit, std::string& data, std::string& reason)
{
    StdioFile file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        reason = Reason();
        return false;
    }
    data.resize(limit);
    data.resize(std::fread(data.data(), 1, limit, file.get()));
    if (std::ferror(file.get())) {
        reason = Reason();
        return false;
    }
    return true;
}

bool ReplaceFile(const std::string& from, const std::string& to, std::string& reason)
{
#ifdef _WIN32
    if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    reason = "error " + std::to_string(::GetLastError());
    return false;
#else
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    reason = Reason();
    return false;
#endif
}

// Writes the whole file or nothing: the data goes to a temporary file beside it, which
// then takes its name.
bool WriteFileWhole(const std::string& path, const std::string& data, std::string& reason)
{
    const std::string temporary = path + ".pconfig-new";
    std::remove(temporary.c_str());  // whatever was left there, a FIFO even, is not opened
    StdioFile file(std::fopen(temporary.c_str(), "wb"));
    if (!file) {
        reason = Reason();
        return false;
    }
    const bool written = std::fwrite(data.data(), 1, data.size(), file.get()) == data.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) reason = Reason();
    else if (ReplaceFile(temporary, path, reason)) return true;
    std::remove(temporary.c_str());
    return false;
}

int Fail(std::ostream& err, const std::string& message)
{
    err << "pconfig: " << message << '\n';
    return kFileFailed;
}

std::uint8_t Factor() { return ScrambleFactor(DeriveConfigKey()); }

int Encode(const std::string& in, const std::string& out, std::ostream& err)
{
    if (KindOf(in) == PathKind::Other) return Fail(err, in + " is not a regular file");
    if (KindOf(out) == PathKind::Other) return Fail(err, out + " is not a regular file; nothing written");
    if (in == out || SameFile(in, out)) return Fail(err, out + " is the input file itself; nothing written");
    std::string plain, reason;
    if (!ReadFile(in, kConfigMaxFileSize + 1, plain, reason)) return Fail(err, "cannot read " + in + ": " + reason);
    WarnAboutEncoding(in, plain, err);
    const std::string text = WithCrLf(plain);
    if (text.size() > kConfigMaxFileSize) {
        return Fail(err, in + " makes more than " + std::to_string(kConfigMaxFileSize) +
                             " bytes, more than the wizard reads; nothing written");
    }
    if (!WriteFileWhole(out, ScrambleText(text, Factor()), reason)) return Fail(err, "cannot write " + out + ": " + reason);
    return kSuccess;
}

std::string LoadFailure(const std::string& path, ConfigLoad load)
{
    switch (load) {
    case ConfigLoad::TooLarge: return path + " is larger than " + std::to_string(kConfigMaxFileSize) + " bytes; the wizard ignores it";
    case ConfigLoad::OutOfMemory: return "not enough memory for " + path;
    case ConfigLoad::Unreadable: return "cannot read " + path;
    default: return "cannot open " + path;
    }
}

int Decode(const std::string& in, std::ostream& out, std::ostream& err)
{
    if (KindOf(in) == PathKind::Other) return Fail(err, in + " is not a regular file");
    std::string text;
    const ConfigLoad load = ReadConfigText(in, Factor(), text);
    if (load != ConfigLoad::Loaded) return Fail(err, LoadFailure(in, load));
    out << text;
    return kSuccess;
}

int Get(const std::string& file, const std::string& section, const std::string& key, std::ostream& out,
        std::ostream& err)
{
    if (KindOf(file) == PathKind::Other) return Fail(err, file + " is not a regular file");
    const ConfigFile config(file);
    if (!config.IsLoaded()) return Fail(err, LoadFailure(file, config.load()));
    out << config.GetValue(section, key) << '\n';
    return kSuccess;
}

}  // namespace

std::string WithCrLf(std::string_view plain)
{
    std::string text;
    text.reserve(plain.size() + plain.size() / 8);
    for (size_t i = 0; i < plain.size(); ++i) {
        const char c = plain[i];
        if (c == '\n' && (i == 0 || plain[i - 1] != '\r')) text += '\r';
        text += c;
        if (c == '\r' && (i + 1 == plain.size() || plain[i + 1] != '\n')) text += '\n';
    }
    return text;
}

int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err)
{
    const std::string command = args.empty() ? std::string() : args[0];
    if (command == "--help" && args.size() == 1) {
        out << kHelp;
        return kSuccess;
    }
    if (command == "encode" && args.size() == 3) return Encode(args[1], args[2], err);
    if (command == "decode" && args.size() == 2) return Decode(args[1], out, err);
    if (command == "get" && args.size() == 4) return Get(args[1], args[2], args[3], out, err);
    err << kUsage << '\n';
    return kWrongUsage;
}

}  // namespace palto::pconfig
