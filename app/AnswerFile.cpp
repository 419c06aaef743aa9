#include "app/AnswerFile.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <limits>

namespace palto {

namespace {

constexpr wchar_t kSection[] = L"Restore";

// Letters A to Z folded, as the profile functions compare names.
wchar_t Fold(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool SameWord(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return Fold(x) == Fold(y); });
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring_view Trim(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// One pair of double quotes around a value is not part of it.
std::wstring_view Unquote(std::wstring_view value)
{
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') return value.substr(1, value.size() - 2);
    return value;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

template <class Number>
std::optional<Number> ParseNumber(std::wstring_view text)
{
    if (text.empty()) return std::nullopt;
    Number value = 0;
    for (const wchar_t c : text) {
        if (!IsDigit(c)) return std::nullopt;
        const auto digit = static_cast<Number>(c - L'0');
        if (value > (std::numeric_limits<Number>::max() - digit) / 10) return std::nullopt;
        value = static_cast<Number>(value * 10 + digit);
    }
    return value;
}

std::optional<DiskRef> ParseDiskRef(std::wstring_view text)
{
    const size_t colon = text.find(L':');
    const auto disk = ParseNumber<std::uint32_t>(text.substr(0, colon));
    if (!disk) return std::nullopt;
    if (colon == std::wstring_view::npos) return DiskRef{*disk, std::nullopt};
    const auto partition = ParseNumber<std::uint32_t>(text.substr(colon + 1));
    if (!partition) return std::nullopt;
    return DiskRef{*disk, *partition};
}

// "YYYY-MM-DD hh:mm:ss", the form every date of the wizard takes.
bool IsDateShape(std::wstring_view text)
{
    constexpr std::wstring_view shape = L"0000-00-00 00:00:00";
    if (text.size() != shape.size()) return false;
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == L'0' ? !IsDigit(text[i]) : text[i] != shape[i]) return false;
    }
    return true;
}

enum class Key { Type, Backup, Date, Source, Target, TargetSize, TargetLabel, Start };

struct KeyName {
    Key key;
    const wchar_t* name;
};
constexpr std::array<KeyName, 8> kKeys{{{Key::Type, L"Type"},
                                        {Key::Backup, L"Backup"},
                                        {Key::Date, L"Date"},
                                        {Key::Source, L"Source"},
                                        {Key::Target, L"Target"},
                                        {Key::TargetSize, L"TargetSize"},
                                        {Key::TargetLabel, L"TargetLabel"},
                                        {Key::Start, L"Start"}}};

const KeyName* FindKey(std::wstring_view name)
{
    for (const KeyName& key : kKeys)
        if (SameWord(key.name, name)) return &key;
    return nullptr;
}

constexpr wchar_t kDiskForm[] = L"N";
constexpr wchar_t kPartitionForm[] = L"N:M";
constexpr wchar_t kDiskOrPartitionForm[] = L"N | N:M";

// The forms a key's value takes, in the file's own notation.
const wchar_t* ExpectedForm(Key key)
{
    switch (key) {
    case Key::Type: return L"entire | disk | partition";
    case Key::Backup: return L"<name>";
    case Key::Date: return L"latest | YYYY-MM-DD hh:mm:ss";
    case Key::Source:
    case Key::Target: return kDiskOrPartitionForm;
    case Key::TargetSize: return L"N";
    case Key::TargetLabel: return L"<label>";
    case Key::Start: return L"ask | now";
    }
    return L"";
}

// Stores one value; false when it cannot be read.
bool Store(Answers& answers, Key key, std::wstring_view value)
{
    switch (key) {
    case Key::Type:
        if (SameWord(value, L"entire")) answers.type = AnswerType::Entire;
        else if (SameWord(value, L"disk")) answers.type = AnswerType::Disk;
        else if (SameWord(value, L"partition")) answers.type = AnswerType::Partition;
        else return false;
        return true;
    case Key::Backup:
        answers.backup = value;
        return !value.empty();
    case Key::Date:
        if (SameWord(value, L"latest")) answers.date.reset();
        else if (IsDateShape(value)) answers.date = std::wstring(value);
        else return false;
        return true;
    case Key::Source:
        answers.source = ParseDiskRef(value);
        return answers.source.has_value();
    case Key::Target:
        answers.target = ParseDiskRef(value);
        return answers.target.has_value();
    case Key::TargetSize:
        answers.targetSize = ParseNumber<std::uint64_t>(value);
        return answers.targetSize.has_value();
    case Key::TargetLabel:
        answers.targetLabel = std::wstring(value);
        return true;
    case Key::Start:
        if (SameWord(value, L"ask")) answers.start = AnswerStart::Ask;
        else if (SameWord(value, L"now")) answers.start = AnswerStart::Now;
        else return false;
        return true;
    }
    return false;
}

AnswerFileRead Failed(const std::wstring& path, AnswerFileError error)
{
    AnswerFileRead read;
    read.path = path;
    read.error = std::move(error);
    return read;
}

// What the restore type asks of the keys once every line is read: the first problem.
std::optional<AnswerFileError> CheckAgainstType(const Answers& answers, const std::vector<Key>& seen)
{
    const auto given = [&](Key key) { return std::find(seen.begin(), seen.end(), key) != seen.end(); };
    for (const Key required : {Key::Type, Key::Backup}) {
        if (!given(required)) return AnswerFileError{AnswerProblem::MissingKey, kKeys[static_cast<size_t>(required)].name};
    }
    const std::wstring type(AnswerTypeWord(answers.type));
    if (answers.type == AnswerType::Entire) {
        for (const Key unused : {Key::Source, Key::Target, Key::TargetLabel}) {
            if (given(unused))
                return AnswerFileError{AnswerProblem::NotForType, kKeys[static_cast<size_t>(unused)].name, type};
        }
        return std::nullopt;
    }
    for (const Key required : {Key::Source, Key::Target}) {
        if (!given(required)) return AnswerFileError{AnswerProblem::MissingKey, kKeys[static_cast<size_t>(required)].name};
    }
    // A disk restore names whole disks; a partition restore takes a partition from the
    // backup, onto a partition or a disk without partitions.
    const bool disk = answers.type == AnswerType::Disk;
    if (disk ? answers.source->partition.has_value() : !answers.source->partition.has_value())
        return AnswerFileError{AnswerProblem::BadValue, L"Source", answers.ValueOf(L"Source"), disk ? kDiskForm : kPartitionForm};
    if (disk && answers.target->partition)
        return AnswerFileError{AnswerProblem::BadValue, L"Target", answers.ValueOf(L"Target"), kDiskForm};
    return std::nullopt;
}

}  // namespace

std::wstring_view AnswerTypeWord(AnswerType type)
{
    switch (type) {
    case AnswerType::Entire: return L"entire";
    case AnswerType::Disk: return L"disk";
    case AnswerType::Partition: return L"partition";
    }
    return L"";
}

std::wstring Answers::ValueOf(std::wstring_view key) const
{
    for (const auto& [name, value] : given)
        if (SameWord(name, key)) return value;
    return {};
}

std::optional<std::wstring> Answers::MissingForStartNow() const
{
    if (!targetSize) return std::wstring(L"TargetSize");
    if (type != AnswerType::Entire && !targetLabel) return std::wstring(L"TargetLabel");
    return std::nullopt;
}

AnswerDifference Differs(const Answers& answers, std::wstring_view key, AnswerFinding finding, std::wstring found)
{
    std::wstring value = answers.ValueOf(key);
    if (value.empty() && SameWord(key, L"Date")) value = L"latest";
    return {std::wstring(key), std::move(value), finding, std::move(found)};
}

AnswerFileRead ReadAnswers(const IProfileSource& file, const std::wstring& path)
{
    const auto sections = file.SectionNames();
    if (!sections) return Failed(path, {AnswerProblem::Unreadable});
    int restoreSections = 0;
    for (const std::wstring& name : *sections) {
        if (!SameWord(name, kSection)) return Failed(path, {AnswerProblem::UnknownSection, name});
        if (++restoreSections > 1) return Failed(path, {AnswerProblem::KeyTwice, L"[" + name + L"]"});
    }
    if (restoreSections == 0) return Failed(path, {AnswerProblem::NoSection});
    const auto lines = file.SectionLines(kSection);
    if (!lines) return Failed(path, {AnswerProblem::Unreadable});

    Answers answers;
    answers.path = path;
    std::vector<Key> seen;
    for (const std::wstring& line : *lines) {
        const std::wstring_view text = Trim(line);
        // Comments: ';' as the profile functions know them (some hand them on), '#' as
        // many technicians write them.
        if (text.empty() || text.front() == L';' || text.front() == L'#') continue;
        const size_t equals = text.find(L'=');
        const std::wstring key(Trim(text.substr(0, equals)));
        const std::wstring value(equals == std::wstring_view::npos ? std::wstring_view() : Unquote(Trim(text.substr(equals + 1))));
        const KeyName* known = FindKey(key);
        if (!known) return Failed(path, {AnswerProblem::UnknownKey, key});
        if (std::find(seen.begin(), seen.end(), known->key) != seen.end()) return Failed(path, {AnswerProblem::KeyTwice, key});
        seen.push_back(known->key);
        answers.given.emplace_back(key, value);
        if (equals == std::wstring_view::npos || !Store(answers, known->key, value))
            return Failed(path, {AnswerProblem::BadValue, key, value, ExpectedForm(known->key)});
    }
    if (auto error = CheckAgainstType(answers, seen)) return Failed(path, std::move(*error));

    AnswerFileRead read;
    read.path = path;
    read.answers = std::move(answers);
    return read;
}

std::optional<std::wstring> AnswerFileArgument(std::wstring_view commandLine)
{
    // Arguments as the C runtime splits them: blanks separate, double quotes group, and
    // backslashes are literal except before a double quote (2n give n and a quote that
    // groups, 2n+1 give n and a literal quote).
    std::vector<std::wstring> arguments;
    size_t at = 0;
    while (true) {
        while (at < commandLine.size() && (commandLine[at] == L' ' || commandLine[at] == L'\t')) ++at;
        if (at >= commandLine.size()) break;
        std::wstring argument;
        bool quoted = false;
        while (at < commandLine.size() && (quoted || (commandLine[at] != L' ' && commandLine[at] != L'\t'))) {
            size_t backslashes = 0;
            while (at < commandLine.size() && commandLine[at] == L'\\') ++backslashes, ++at;
            if (at < commandLine.size() && commandLine[at] == L'"') {
                argument.append(backslashes / 2, L'\\');
                if (backslashes % 2) argument += L'"';
                else quoted = !quoted;
                ++at;
            } else {
                argument.append(backslashes, L'\\');
                if (at < commandLine.size() && (quoted || (commandLine[at] != L' ' && commandLine[at] != L'\t')))
                    argument += commandLine[at++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    constexpr std::wstring_view word = L"answers=";
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::wstring_view argument = arguments[i];
        if (argument.size() > word.size() && (argument[0] == L'-' || argument[0] == L'/') &&
            SameWord(argument.substr(1, word.size()), word))
            return std::wstring(argument.substr(1 + word.size()));
    }
    return std::nullopt;
}

}  // namespace palto
