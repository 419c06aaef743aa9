// The one record of the user's choices and of what later steps need. The application
// object owns it for the life of the wizard window; everybody reaches it through
// theApp.m_pContext and reads or writes its fields in place.
#pragma once

#include <cstdint>

#include "app/AnswerFile.h"
#include "engine/HalvexRecords.h"
#include "framework/CString.h"

struct WizardContext {
    std::uint32_t projectId = 0;           // chosen backup project; also the restore's task id
    std::uint64_t archiveId = 0;           // chosen backup: its time stamp (FILETIME)
    std::int32_t restoreType = 3;          // 0 entire computer, 1 hard drive, 2 partition, 3 none yet
    _ProjectRestoreInfo restoreInfo{};     // engine-owned layouts of the chosen backup
    CString stepTexts[4];                  // choice made at step i+1; [3] stays empty
    bool testMode = false;                 // from the command line
    bool oemOnlyFeature = false;           // from the product configuration file
    std::int32_t programDiskNumber = -1;   // disk of the program's own volume, -1 = unknown
    std::int32_t programPartitionNumber = -1;
    palto::AnswerFileRead answerFile;      // named on the command line, read at start-up; empty path: none
    bool restoreChosenByAnswers = false;   // the answer file's walk started the restore
};
