#include "simengine/Catalog.h"

#include <algorithm>
#include <array>
#include <limits>
#include <set>
#include <stdexcept>

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using nlohmann::json;

constexpr std::size_t kMaxLayoutEntries = 26;
constexpr std::size_t kMaxLabel = 259;
constexpr std::size_t kMaxText = 4096;
constexpr std::size_t kMaxHistory = 10000;
constexpr std::uint32_t kMaxStageMs = 10 * 60 * 1000;

constexpr std::array<std::string_view, 15> kOperations{
    "QueryProjects", "FreeProjects", "QueryProject", "FreeProject", "QueryProjectHistory",
    "FreeProjectHistory", "QueryArchiveProject", "QueryProjectRestoreInfo", "FreeProjectRestoreInfo",
    "GetDRRestoreVolumesInfo", "ProjectRestoreCtrl", "GetTaskProgInfo", "TaskControl", "SetNotifyFunction",
    "EncryptString"};

[[noreturn]] void Fail(const std::string& path, const std::string& what)
{
    throw std::runtime_error(path + ": " + what);
}

// Every key of an object must be one the format knows ("comment" is allowed anywhere),
// so that a misspelt key is reported instead of silently ignored.
void CheckObject(const json& value, const std::string& path, std::initializer_list<std::string_view> keys)
{
    if (!value.is_object()) Fail(path, "expected an object");
    for (const auto& item : value.items()) {
        if (item.key() == "comment") continue;
        if (std::find(keys.begin(), keys.end(), item.key()) == keys.end()) Fail(path, "unknown key \"" + item.key() + "\"");
    }
}

const json* Find(const json& object, const char* key)
{
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

const json& Require(const json& object, const char* key, const std::string& path)
{
    const json* value = Find(object, key);
    if (!value) Fail(path, std::string("\"") + key + "\" is missing");
    return *value;
}

std::uint64_t Unsigned(const json& value, const std::string& path, std::uint64_t max)
{
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number <= max) return number;
    } else if (value.is_number_integer() && value.get<std::int64_t>() >= 0) {
        const auto number = static_cast<std::uint64_t>(value.get<std::int64_t>());
        if (number <= max) return number;
    }
    Fail(path, "expected a whole number from 0 to " + std::to_string(max));
}

std::int32_t Signed32(const json& value, const std::string& path, std::int32_t min = std::numeric_limits<std::int32_t>::min(),
                      std::int32_t max = std::numeric_limits<std::int32_t>::max())
{
    if (value.is_number_integer()) {
        const bool tooLarge = value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(max);
        const auto number = value.get<std::int64_t>();
        if (!tooLarge && number >= min && number <= max) return static_cast<std::int32_t>(number);
    }
    Fail(path, "expected a whole number from " + std::to_string(min) + " to " + std::to_string(max));
}

bool Flag(const json& object, const char* key, const std::string& path)
{
    const json* value = Find(object, key);
    if (!value) return false;
    if (!value->is_boolean()) Fail(path + "." + key, "expected true or false");
    return value->get<bool>();
}

std::u16string Utf16(const std::string& utf8)
{
    std::u16string text;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) code = code << 6 | (utf8[i + k] & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            text += static_cast<char16_t>(0xD800 + (code >> 10));
            text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            text += static_cast<char16_t>(code);
        }
    }
    return text;
}

std::u16string Text(const json& value, const std::string& path, std::size_t maxLength)
{
    if (!value.is_string()) Fail(path, "expected a text");
    std::u16string text = Utf16(value.get<std::string>());   // the parser has checked the UTF-8
    if (text.size() > maxLength) Fail(path, "longer than " + std::to_string(maxLength) + " characters");
    if (text.find(u'\0') != std::u16string::npos) Fail(path, "holds a zero character");
    return text;
}

bool IsLetter(char16_t ch)
{
    return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z');
}

// One letter, or 0 for an empty text.
char16_t DriveLetter(const json& value, const std::string& path)
{
    const std::u16string text = Text(value, path, 1);
    if (text.empty()) return 0;
    if (!IsLetter(text[0])) Fail(path, "expected a drive letter");
    return text[0];
}

std::uint64_t Time(const json& value, const std::string& path)
{
    if (value.is_string()) {
        if (const auto time = ParseUtcTime(value.get<std::string>())) return *time;
        Fail(path, "expected a time like \"2026-11-02T21:30:00Z\"");
    }
    return Unsigned(value, path, std::numeric_limits<std::uint64_t>::max());
}

template <class T, class ReadItem>
std::vector<T> List(const json& value, const std::string& path, std::size_t max, ReadItem readItem)
{
    if (!value.is_array()) Fail(path, "expected a list");
    if (value.size() > max) Fail(path, "more than " + std::to_string(max) + " entries");
    std::vector<T> items;
    for (std::size_t i = 0; i < value.size(); ++i) items.push_back(readItem(value[i], path + "[" + std::to_string(i) + "]"));
    return items;
}

Partition ReadPartition(const json& value, const std::string& path)
{
    CheckObject(value, path, {"number", "driveLetter", "label", "size", "typeCode", "oemSkip", "selected"});
    Partition partition;
    partition.number = static_cast<std::uint32_t>(Unsigned(Require(value, "number", path), path + ".number", UINT32_MAX));
    if (const json* letter = Find(value, "driveLetter")) partition.driveLetter = DriveLetter(*letter, path + ".driveLetter");
    if (const json* label = Find(value, "label")) partition.label = Text(*label, path + ".label", kMaxLabel);
    partition.size = Unsigned(Require(value, "size", path), path + ".size", UINT64_MAX);
    if (const json* type = Find(value, "typeCode")) partition.typeCode = static_cast<std::uint32_t>(Unsigned(*type, path + ".typeCode", UINT32_MAX));
    partition.oemSkip = Flag(value, "oemSkip", path);
    partition.selected = Flag(value, "selected", path);
    return partition;
}

Disk ReadDisk(const json& value, const std::string& path)
{
    CheckObject(value, path, {"number", "size", "selected", "partitions"});
    Disk disk;
    disk.number = static_cast<std::uint32_t>(Unsigned(Require(value, "number", path), path + ".number", UINT32_MAX));
    disk.size = Unsigned(Require(value, "size", path), path + ".size", UINT64_MAX);
    disk.selected = Flag(value, "selected", path);
    if (const json* partitions = Find(value, "partitions"))
        disk.partitions = List<Partition>(*partitions, path + ".partitions", kMaxLayoutEntries, ReadPartition);
    return disk;
}

Layout ReadLayout(const json& value, const std::string& path)
{
    CheckObject(value, path, {"disks", "entireComputer"});
    Layout layout;
    layout.disks = List<Disk>(Require(value, "disks", path), path + ".disks", kMaxLayoutEntries, ReadDisk);
    layout.entireComputer = Flag(value, "entireComputer", path);
    return layout;
}

MediaRequest ReadMediaRequest(const json& value, const std::string& path, char16_t defaultDrive)
{
    CheckObject(value, path, {"part", "drive"});
    MediaRequest request;
    request.part = Signed32(Require(value, "part", path), path + ".part");
    request.drive = defaultDrive;
    if (const json* drive = Find(value, "drive")) request.drive = DriveLetter(*drive, path + ".drive");
    if (request.drive == 0) Fail(path + ".drive", "a media request needs a drive letter");
    return request;
}

Stage ReadStage(const json& value, const std::string& path)
{
    CheckObject(value, path, {"phase", "firstStage", "ms"});
    Stage stage;
    stage.phase = Signed32(Require(value, "phase", path), path + ".phase");
    stage.firstStage = Flag(value, "firstStage", path);
    stage.durationMs = static_cast<std::uint32_t>(Unsigned(Require(value, "ms", path), path + ".ms", kMaxStageMs));
    return stage;
}

RestoreEvent ReadEvent(const json& value, const std::string& path, std::size_t stageCount)
{
    CheckObject(value, path, {"stage", "percent", "mediaRequest", "message"});
    RestoreEvent event;
    event.stage = Unsigned(Require(value, "stage", path), path + ".stage", stageCount - 1);
    event.percent = Signed32(Require(value, "percent", path), path + ".percent", 0, 100);
    const json* media = Find(value, "mediaRequest");
    const json* message = Find(value, "message");
    if ((media != nullptr) == (message != nullptr)) Fail(path, "expected either \"mediaRequest\" or \"message\"");
    if (media) {
        event.mediaRequest = ReadMediaRequest(*media, path + ".mediaRequest", 0);
    } else {
        CheckObject(*message, path + ".message", {"code", "param"});
        event.code = Signed32(Require(*message, "code", path + ".message"), path + ".message.code");
        if (const json* param = Find(*message, "param"))
            event.param = static_cast<std::uint32_t>(Unsigned(*param, path + ".message.param", UINT32_MAX));
    }
    return event;
}

// A restore that goes through the phases the progress page tells apart.
RestoreScript DefaultRestore()
{
    return {{{6, true, 1500}, {3, true, 6000}, {7, false, 1500}, {9, false, 3000}}, {}, 0};
}

RestoreScript ReadRestore(const json& value, const std::string& path)
{
    CheckObject(value, path, {"stages", "events", "result"});
    RestoreScript script;
    script.stages = DefaultRestore().stages;
    if (const json* stages = Find(value, "stages")) {
        script.stages = List<Stage>(*stages, path + ".stages", 100, ReadStage);
        if (script.stages.empty()) Fail(path + ".stages", "a restore needs at least one stage");
    }
    if (const json* events = Find(value, "events")) {
        const std::size_t stageCount = script.stages.size();
        script.events = List<RestoreEvent>(*events, path + ".events", 1000, [stageCount](const json& item, const std::string& itemPath) {
            return ReadEvent(item, itemPath, stageCount);
        });
    }
    if (const json* result = Find(value, "result")) script.result = Signed32(*result, path + ".result");
    return script;
}

Archive ReadArchive(const json& value, const std::string& path)
{
    CheckObject(value, path, {"time", "notBase"});
    return {Time(Require(value, "time", path), path + ".time"), Flag(value, "notBase", path)};
}

HostileCounts ReadHostileCounts(const json& value, const std::string& path)
{
    CheckObject(value, path, {"diskCount", "partitionCount"});
    HostileCounts counts;
    if (const json* disks = Find(value, "diskCount")) counts.diskCount = Signed32(*disks, path + ".diskCount");
    if (const json* partitions = Find(value, "partitionCount"))
        counts.partitionCount = Signed32(*partitions, path + ".partitionCount");
    return counts;
}

// A list of names from `allowed`, each handed to `take`.
template <class Take>
void ReadNames(const json& value, const std::string& path, std::initializer_list<std::string_view> allowed, Take take)
{
    if (!value.is_array()) Fail(path, "expected a list");
    for (std::size_t i = 0; i < value.size(); ++i) {
        const json& name = value[i];
        const std::string itemPath = path + "[" + std::to_string(i) + "]";
        if (!name.is_string() || std::find(allowed.begin(), allowed.end(), name.get<std::string>()) == allowed.end()) {
            std::string names;
            for (std::string_view known : allowed) names += (names.empty() ? "" : ", ") + std::string(known);
            Fail(itemPath, "expected one of " + names);
        }
        take(name.get<std::string>());
    }
}

Hostile ReadHostile(const json& value, const std::string& path)
{
    CheckObject(value, path, {"backedUp", "thisComputer", "historyCount", "historyAsListed", "unterminated",
                              "encryptedPassword", "nullPointers"});
    Hostile hostile;
    if (const json* counts = Find(value, "backedUp")) hostile.backedUp = ReadHostileCounts(*counts, path + ".backedUp");
    if (const json* counts = Find(value, "thisComputer"))
        hostile.thisComputer = ReadHostileCounts(*counts, path + ".thisComputer");
    if (const json* count = Find(value, "historyCount")) hostile.historyCount = Signed32(*count, path + ".historyCount");
    hostile.historyAsListed = Flag(value, "historyAsListed", path);
    if (const json* texts = Find(value, "unterminated")) {
        ReadNames(*texts, path + ".unterminated", {"label", "description", "location"}, [&](const std::string& name) {
            (name == "label" ? hostile.unterminatedLabels
                             : name == "description" ? hostile.unterminatedDescription : hostile.unterminatedLocation) = true;
        });
    }
    if (const json* password = Find(value, "encryptedPassword")) {
        if (password->is_null()) hostile.password = Hostile::Password::Null;
        else if (password->is_string() && password->get<std::string>().empty()) hostile.password = Hostile::Password::Empty;
        else Fail(path + ".encryptedPassword", "expected null or \"\"");
    }
    if (const json* pointers = Find(value, "nullPointers")) {
        ReadNames(*pointers, path + ".nullPointers", {"projectDesc", "thisComputer", "historyList"}, [&](const std::string& name) {
            (name == "projectDesc" ? hostile.nullProjectDesc
                                   : name == "thisComputer" ? hostile.nullThisComputer : hostile.nullHistoryList) = true;
        });
    }
    return hostile;
}

Project ReadProject(const json& value, const std::string& path)
{
    CheckObject(value, path,
                {"id", "description", "location", "password", "layout", "history", "archiveMedia", "restore", "hostile"});
    Project project;
    project.id = static_cast<std::uint32_t>(Unsigned(Require(value, "id", path), path + ".id", UINT32_MAX));
    project.description = Text(Require(value, "description", path), path + ".description", kMaxText);
    project.location = Text(Require(value, "location", path), path + ".location", kMaxText);
    if (project.location.empty() || !IsLetter(project.location[0])) Fail(path + ".location", "must start with a drive letter");
    if (const json* password = Find(value, "password")) project.password = Text(*password, path + ".password", 255);
    project.layout = ReadLayout(Require(value, "layout", path), path + ".layout");
    if (const json* history = Find(value, "history"))
        project.history = List<Archive>(*history, path + ".history", kMaxHistory, ReadArchive);
    if (const json* media = Find(value, "archiveMedia"))
        project.archiveMedia = ReadMediaRequest(*media, path + ".archiveMedia", project.location[0]);
    if (const json* restore = Find(value, "restore")) project.restore = ReadRestore(*restore, path + ".restore");
    if (const json* hostile = Find(value, "hostile")) project.hostile = ReadHostile(*hostile, path + ".hostile");
    if (!project.hostile.historyAsListed) {
        std::stable_sort(project.history.begin(), project.history.end(),
                         [](const Archive& a, const Archive& b) { return a.time < b.time; });
    }
    return project;
}

Fault ReadFault(const json& value, const std::string& path)
{
    CheckObject(value, path, {"operation", "call", "code"});
    Fault fault;
    const json& operation = Require(value, "operation", path);
    if (!operation.is_string() || !IsOperationName(operation.get<std::string>()))
        Fail(path + ".operation", "expected the name of an engine operation");
    fault.operation = operation.get<std::string>();
    fault.call = static_cast<std::uint32_t>(Unsigned(Require(value, "call", path), path + ".call", UINT32_MAX));
    fault.code = Signed32(Require(value, "code", path), path + ".code");
    return fault;
}

}  // namespace

const Project* Catalog::FindProject(std::uint32_t id) const
{
    const auto it = std::find_if(projects.begin(), projects.end(), [id](const Project& p) { return p.id == id; });
    return it == projects.end() ? nullptr : &*it;
}

Catalog ParseCatalog(std::string_view text)
{
    json root;
    try {
        root = json::parse(text.begin(), text.end());
    } catch (const json::exception& error) {
        Fail("catalog", std::string("not valid JSON: ") + error.what());
    }
    CheckObject(root, "catalog", {"projects", "thisComputer", "restore", "faults", "protectedFormLength"});
    Catalog catalog;
    catalog.projects = List<Project>(Require(root, "projects", "catalog"), "projects", 10000, ReadProject);
    std::set<std::uint32_t> ids;
    for (const Project& project : catalog.projects)
        if (!ids.insert(project.id).second) Fail("projects", "project id " + std::to_string(project.id) + " is used twice");
    catalog.thisComputer = ReadLayout(Require(root, "thisComputer", "catalog"), "thisComputer");
    catalog.restore = DefaultRestore();
    if (const json* restore = Find(root, "restore")) catalog.restore = ReadRestore(*restore, "restore");
    if (const json* faults = Find(root, "faults")) catalog.faults = List<Fault>(*faults, "faults", 1000, ReadFault);
    if (const json* length = Find(root, "protectedFormLength"))
        catalog.protectedFormLength = Unsigned(*length, "protectedFormLength", 4096);
    return catalog;
}

bool IsOperationName(std::string_view name)
{
    return std::find(kOperations.begin(), kOperations.end(), name) != kOperations.end();
}

std::optional<std::uint64_t> ParseUtcTime(std::string_view text)
{
    // YYYY-MM-DDThh:mm:ssZ
    constexpr std::string_view shape = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != shape.size()) return std::nullopt;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == 'd' ? !digit : text[i] != shape[i]) return std::nullopt;
    }
    auto number = [text](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i) value = value * 10 + (text[i] - '0');
        return value;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
    constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1601 || month < 1 || month > 12 || day < 1 || day > kDaysInMonth[month - 1] || hour > 23 ||
        minute > 59 || second > 59)
        return std::nullopt;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap) return std::nullopt;
    // Days since 1970-01-01 from the civil date (proleptic Gregorian calendar), then
    // since 1601-01-01, the start of FILETIME, 134,774 days earlier.
    const int y = month <= 2 ? year - 1 : year;
    const int era = y / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468 + 134774;
    const std::int64_t seconds = days * 86400 + hour * 3600 + minute * 60 + second;
    return static_cast<std::uint64_t>(seconds) * 10000000u;
}

}  // namespace sim
