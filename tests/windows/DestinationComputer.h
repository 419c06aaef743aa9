// This computer as the destination tests see it: disk 0 with a reserved partition and
// Windows (C:), an empty 50 GB disk 1, disk 2 whose only partition E: holds the backups,
// and disk 3 with an unlabelled partition. The "thisComputer" of their catalogs.
#pragma once

namespace palto::test {

inline constexpr char kDestinationComputer[] = R"({"disks": [
    {"number": 0, "size": 107374182400, "partitions": [
      {"number": 1, "label": "System Reserved", "size": 536870912},
      {"number": 2, "driveLetter": "C", "label": "Windows", "size": 106837311488}]},
    {"number": 1, "size": 53687091200},
    {"number": 2, "size": 48318382080, "partitions": [
      {"number": 1, "driveLetter": "E", "label": "Backup", "size": 48318382080}]},
    {"number": 3, "size": 48318382080, "partitions": [
      {"number": 1, "driveLetter": "D", "size": 48318382080}]}]})";

}  // namespace palto::test
