// The built-in sample, served when no catalog file is given: an entire-computer backup
// with a password on an external drive (G:, no drive of this computer), a whole-disk backup whose incremental backups cannot serve as a
// base, a partition backup on a DVD that asks for its media, a partition backup with a
// long description, and this computer with disks of three sizes, one of them new and
// without partitions, an unlabelled partition and a "System Reserved" partition.
#include "simengine/Catalog.h"

namespace sim {

std::string_view SampleCatalogJson()
{
    return R"json({
  "thisComputer": {
    "disks": [
      {"number": 0, "size": 512110190592, "partitions": [
        {"number": 1, "label": "System Reserved", "size": 104857600, "typeCode": 7},
        {"number": 2, "driveLetter": "C", "label": "Windows", "size": 322122547200, "typeCode": 7},
        {"number": 3, "label": "Recovery", "size": 524288000, "typeCode": 39},
        {"number": 4, "driveLetter": "D", "size": 189358497792, "typeCode": 7}
      ]},
      {"number": 1, "size": 1000204886016, "partitions": [
        {"number": 1, "driveLetter": "E", "label": "Backups", "size": 1000202788864, "typeCode": 7}
      ]},
      {"number": 2, "size": 256060514304}
    ]
  },
  "projects": [
    {
      "id": 101,
      "description": "Office PC",
      "location": "G:\\Backups\\Office PC",
      "password": "harbour7",
      "layout": {
        "entireComputer": true,
        "disks": [
          {"number": 0, "size": 512110190592, "selected": true, "partitions": [
            {"number": 1, "label": "System Reserved", "size": 104857600, "typeCode": 7, "selected": true},
            {"number": 2, "driveLetter": "C", "label": "Windows", "size": 429496729600, "typeCode": 7, "selected": true},
            {"number": 3, "label": "Recovery", "size": 524288000, "typeCode": 39, "oemSkip": true, "selected": true}
          ]},
          {"number": 1, "size": 500107862016, "selected": true, "partitions": [
            {"number": 1, "driveLetter": "D", "label": "Projects", "size": 500105764864, "typeCode": 7, "selected": true}
          ]}
        ]
      },
      "history": [
        {"time": "2026-10-05T19:00:00Z"},
        {"time": "2026-10-19T19:00:00Z"},
        {"time": "2026-11-02T20:00:00Z"},
        {"time": "2026-11-16T20:00:00Z"}
      ]
    },
    {
      "id": 102,
      "description": "System disk",
      "location": "E:\\Backups\\System disk",
      "layout": {
        "disks": [
          {"number": 0, "size": 256060514304, "selected": true, "partitions": [
            {"number": 1, "label": "System Reserved", "size": 104857600, "typeCode": 7},
            {"number": 2, "driveLetter": "C", "label": "Windows", "size": 255955656704, "typeCode": 7}
          ]}
        ]
      },
      "history": [
        {"time": "2026-11-01T07:30:00Z"},
        {"time": "2026-11-08T07:30:00Z", "notBase": true},
        {"time": "2026-11-15T07:30:00Z", "notBase": true},
        {"time": "2026-11-22T07:30:00Z"},
        {"time": "2026-11-29T07:30:00Z", "notBase": true}
      ]
    },
    {
      "id": 103,
      "description": "Documents on DVD",
      "location": "F:\\Documents",
      "archiveMedia": {"part": -1},
      "layout": {
        "disks": [
          {"number": 0, "size": 512110190592, "partitions": [
            {"number": 2, "driveLetter": "C", "label": "Windows", "size": 322122547200, "typeCode": 7},
            {"number": 4, "driveLetter": "D", "size": 189358497792, "typeCode": 7, "selected": true}
          ]}
        ]
      },
      "history": [
        {"time": "2026-09-30T16:45:00Z"},
        {"time": "2026-10-31T17:10:00Z"}
      ],
      "restore": {
        "events": [{"stage": 1, "percent": 50, "mediaRequest": {"part": 2, "drive": "F"}}]
      }
    },
    {
      "id": 104,
      "description": "Photos and music from the family laptop",
      "location": "E:\\Backups\\Family laptop",
      "layout": {
        "disks": [
          {"number": 0, "size": 1000204886016, "partitions": [
            {"number": 1, "driveLetter": "P", "label": "Photos", "size": 429496729600, "typeCode": 7, "selected": true},
            {"number": 2, "driveLetter": "M", "label": "Music", "size": 214748364800, "typeCode": 7, "selected": true},
            {"number": 3, "driveLetter": "V", "label": "Videos", "size": 355958743040, "typeCode": 7}
          ]}
        ]
      },
      "history": [
        {"time": "2026-08-14T10:00:00Z"},
        {"time": "2026-09-14T10:00:00Z"},
        {"time": "2026-10-14T10:00:00Z"}
      ]
    }
  ]
})json";
}

}  // namespace sim
