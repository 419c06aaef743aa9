// The catalog of the walks through the whole wizard that tests make with failing engine
// calls, in-process and from outside.
#pragma once

#include <string>

namespace palto::test {

// This computer: disk 0 with C:, disk 1 with E:. Project 1, "Office PC" on G: (no
// drive of this computer), is an entire computer protected by "harbour7"; project 2 is one partition on a DVD (F:) that
// asks for its disc when it is opened. A restore takes 300 ms and then `lastStageMs`;
// `faults` is the catalog's list of faults (JSON).
inline std::string WalkCatalog(const std::string& faults, int lastStageMs = 1200)
{
    return R"({
  "thisComputer": {"disks": [
    {"number": 0, "size": 107374182400, "partitions": [
      {"number": 1, "driveLetter": "C", "label": "Windows", "size": 107374182400}]},
    {"number": 1, "size": 53687091200, "partitions": [
      {"number": 1, "driveLetter": "E", "label": "Backup", "size": 53687091200}]}]},
  "projects": [
    {"id": 1, "description": "Office PC", "location": "G:\\Office", "password": "harbour7",
     "layout": {"entireComputer": true, "disks": [{"number": 0, "size": 42949672960, "partitions": [
       {"number": 1, "driveLetter": "C", "label": "System", "size": 42949672960}]}]},
     "history": [{"time": "2026-10-01T18:00:00Z"}, {"time": "2026-10-05T19:00:00Z"}]},
    {"id": 2, "description": "Documents on DVD", "location": "F:\\Documents", "archiveMedia": {"part": -1},
     "layout": {"disks": [{"number": 0, "size": 64424509440, "partitions": [
       {"number": 1, "label": "Data", "size": 21474836480, "selected": true}]}]},
     "history": [{"time": "2026-10-05T19:00:00Z"}]}],
  "restore": {"stages": [{"phase": 6, "firstStage": true, "ms": 300}, {"phase": 9, "ms": )" +
           std::to_string(lastStageMs) + R"(}]},
  "faults": )" + faults + "\n}";
}

}  // namespace palto::test
