// The answer file: a restore that a technician writes down once, as an INI file named on
// the command line with -answers=PATH, and that the wizard then fills into its own pages.
//
// Section [Restore], keys compared without regard to letter case:
//   Type         entire | disk | partition
//   Backup       the backup's name as the source page lists it
//   Date         latest (the default) | the date as the wizard shows it (YYYY-MM-DD hh:mm:ss)
//   Source       disk (N) or disk:partition (N:M) numbers; disk and partition restores only
//   Target       the same, on this computer
//   TargetSize   the target's size in bytes
//   TargetLabel  the target's label; empty for none
//   Start        ask (the default) | now
// A value may be written in double quotes ("Data " keeps its blank); lines that start
// with ';' or '#' are comments. The reader works on
// the file as the Windows profile functions present it (IProfileSource), so that its rules
// run the same natively and in the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace palto {

// An INI file as the profile functions give it.
class IProfileSource {
public:
    virtual ~IProfileSource() = default;
    // The names of the sections in file order; nothing when the file cannot be read.
    virtual std::optional<std::vector<std::wstring>> SectionNames() const = 0;
    // The lines of the first section of that name, in file order ("key=value", or the key
    // alone), trimmed; nothing when the file cannot be read.
    virtual std::optional<std::vector<std::wstring>> SectionLines(const std::wstring& section) const = 0;
};

enum class AnswerType { Entire, Disk, Partition };
enum class AnswerStart { Ask, Now };

// A disk, or a partition of it, by the numbers the wizard shows.
struct DiskRef {
    std::uint32_t disk = 0;
    std::optional<std::uint32_t> partition;
    bool operator==(const DiskRef&) const = default;
};

// The one record of answers.
struct Answers {
    std::wstring path;                                            // the file, as opened
    std::vector<std::pair<std::wstring, std::wstring>> given;     // every key (its own spelling) and value, in file order
    AnswerType type = AnswerType::Entire;
    std::wstring backup;
    std::optional<std::wstring> date;                             // nothing: the latest
    std::optional<DiskRef> source;
    std::optional<DiskRef> target;
    std::optional<std::uint64_t> targetSize;
    std::optional<std::wstring> targetLabel;                      // empty: the target has none
    AnswerStart start = AnswerStart::Ask;

    // The value as the file gives it, for a key of the list above; empty when not given.
    std::wstring ValueOf(std::wstring_view key) const;
    // Whether everything Start=now needs is given: the target's size, and its label for
    // a disk or partition restore.
    std::optional<std::wstring> MissingForStartNow() const;
};

// Why an answer file cannot be used, naming the line's key.
enum class AnswerProblem {
    Unreadable,       // the file does not exist or cannot be read
    NoSection,        // no [Restore]
    UnknownSection,   // key: the section's name
    UnknownKey,
    KeyTwice,         // also a second [Restore] (key "[Restore]")
    MissingKey,
    BadValue,         // value: as given; expected: the forms the key takes
    NotForType,       // value: the restore type that does not use the key
};

struct AnswerFileError {
    AnswerFileError(AnswerProblem problem_ = AnswerProblem::Unreadable, std::wstring key_ = {}, std::wstring value_ = {},
                    std::wstring expected_ = {})
        : problem(problem_), key(std::move(key_)), value(std::move(value_)), expected(std::move(expected_))
    {
    }
    AnswerProblem problem;
    std::wstring key;
    std::wstring value;      // BadValue: as given; NotForType: the restore type
    std::wstring expected;   // BadValue: the forms the key takes
    bool operator==(const AnswerFileError&) const = default;
};

// What start-up read: the answers, or why there are none.
struct AnswerFileRead {
    std::wstring path;
    std::optional<Answers> answers;
    std::optional<AnswerFileError> error;
};

// What a page found where the answer file asked for something else.
enum class AnswerFinding {
    NotOffered,       // found: the entries the page offers, one a line
    NothingOffered,
    ListedTwice,      // more than one entry reads as the value
    Size,             // found: the target's size in bytes
    Label,            // found: the target's label
    NoLabel,
    Blocked,          // the page keeps Next disabled; found: its warning, if it shows one
};

struct AnswerDifference {
    std::wstring key;
    std::wstring value;   // as the file gives it ("latest" for a Date not given)
    AnswerFinding finding = AnswerFinding::NotOffered;
    std::wstring found;
    bool operator==(const AnswerDifference&) const = default;
};

// The difference for `key` of these answers.
AnswerDifference Differs(const Answers& answers, std::wstring_view key, AnswerFinding finding, std::wstring found = {});

// Reads the [Restore] section of `file` (`path` is only recorded). The first problem, in
// the order of the sections and then of the lines, ends the reading.
AnswerFileRead ReadAnswers(const IProfileSource& file, const std::wstring& path);

// The PATH of the first argument "-answers=PATH" or "/answers=PATH" (the word in any
// letter case) after the program's own, split as the C runtime splits arguments (blanks
// separate, double quotes group); nothing when there is none. An empty path is given as such.
std::optional<std::wstring> AnswerFileArgument(std::wstring_view commandLine);

// The restore type's word in the file.
std::wstring_view AnswerTypeWord(AnswerType type);

}  // namespace palto
