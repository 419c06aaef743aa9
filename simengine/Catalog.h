// What the stand-in engine serves: backup projects, this computer's disks, how a
// restore runs and which calls fail. Read from JSON (docs/catalog.md).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct Partition {
    std::uint32_t number = 0;
    char16_t driveLetter = 0;
    std::u16string label;            // at most 259 characters
    std::uint64_t size = 0;
    std::uint32_t typeCode = 0;
    bool oemSkip = false;
    bool selected = false;           // in a backup: it holds this partition
};

struct Disk {
    std::uint32_t number = 0;
    std::uint64_t size = 0;
    bool selected = false;           // in a backup: it holds this disk whole
    std::vector<Partition> partitions;   // at most 26
};

struct Layout {
    std::vector<Disk> disks;         // at most 26
    bool entireComputer = false;     // in a backup: it holds the entire computer
};

struct Archive {
    std::uint64_t time = 0;          // FILETIME, the archive id
    bool notBase = false;
};

struct MediaRequest {
    std::int32_t part = 0;
    char16_t drive = 0;
};

// One stretch of a restore: its phase code, whether it belongs to the first stage, and
// how long its percent takes to go from 0 to 100.
struct Stage {
    std::int32_t phase = 0;
    bool firstStage = false;
    std::uint32_t durationMs = 0;
};

// A notification the restore sends when it reaches a stage and percent.
struct RestoreEvent {
    std::size_t stage = 0;
    std::int32_t percent = 0;
    std::optional<MediaRequest> mediaRequest;   // else an engine message
    std::int32_t code = 0;
    std::uint32_t param = 0;
};

struct RestoreScript {
    std::vector<Stage> stages;
    std::vector<RestoreEvent> events;
    std::int32_t result = 0;         // the task's result when it runs to its end
};

// Counts a faulty engine writes into a layout in place of the true ones.
struct HostileCounts {
    std::optional<std::int32_t> diskCount;
    std::optional<std::int32_t> partitionCount;   // of every disk
};

// What a faulty engine gets wrong in the records of one project. Every block stays the
// engine's and is released by its Free operation as usual.
struct Hostile {
    enum class Password { AsStored, Null, Empty };

    HostileCounts backedUp;          // the layout of its descriptions and restore infos
    HostileCounts thisComputer;      // this computer's layout, filled into its restore info
    std::optional<std::int32_t> historyCount;   // its lists hold the true entries only
    bool historyAsListed = false;               // its history served in the catalog's order
    bool unterminatedLabels = false;            // in both layouts
    bool unterminatedDescription = false;
    bool unterminatedLocation = false;
    Password password = Password::AsStored;     // encryptedPassword although it has a password
    bool nullProjectDesc = false;               // pointers its restore info leaves null
    bool nullThisComputer = false;
    bool nullHistoryList = false;
};

struct Project {
    std::uint32_t id = 0;
    std::u16string description;
    std::u16string location;         // starts with a drive letter
    std::optional<std::u16string> password;
    Layout layout;
    std::vector<Archive> history;    // ascending time, unless hostile.historyAsListed
    std::optional<MediaRequest> archiveMedia;   // asked for before a backup opens
    std::optional<RestoreScript> restore;       // else the catalog's
    Hostile hostile;
};

// Operation `operation` returns `code` on its `call`-th call (every call when 0).
struct Fault {
    std::string operation;
    std::uint32_t call = 0;
    std::int32_t code = 0;
};

struct Catalog {
    std::vector<Project> projects;
    Layout thisComputer;
    RestoreScript restore;
    std::vector<Fault> faults;
    // The length of every protected form (0: the short one); an engine with such forms
    // reads the size EncryptString is told as characters.
    std::size_t protectedFormLength = 0;

    const Project* FindProject(std::uint32_t id) const;
};

// The catalog a JSON text describes; throws std::runtime_error naming the faulty item.
Catalog ParseCatalog(std::string_view json);

// The built-in sample: every page of the wizard at its best.
std::string_view SampleCatalogJson();

// The names of the engine operations, as faults and the journal name them.
bool IsOperationName(std::string_view name);

// "2026-11-02T21:30:00Z" as a FILETIME value; nullopt when it is not such a time.
std::optional<std::uint64_t> ParseUtcTime(std::string_view text);

}  // namespace sim
