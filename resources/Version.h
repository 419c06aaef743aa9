// The program's version, shared by the version resources and the restore report.
#pragma once

#define PALTO_VERSION       1,0,0,0
#define PALTO_VERSION_TEXT  "1.0.0.0"

// The build: the source revision the build was configured from (the build system
// defines it), else "unknown".
#ifndef PALTO_BUILD_TEXT
#define PALTO_BUILD_TEXT    "unknown"
#endif
