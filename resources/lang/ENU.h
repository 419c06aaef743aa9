// English texts of the resource module MainrENU.dll. Plain "..." strings: the resource
// compiler reads them as UTF-8 (see lang/DEU.h).

// Strings
#define S_APP_TITLE          "Tolvane Restore"
#define S_APP_TITLE_OEM      "Restore Wizard"
#define S_HEADING            "Restore your computer from a backup"
#define S_STEP1_TITLE        "Restore type"
#define S_STEP2_TITLE        "Backup"
#define S_STEP3_TITLE        "Destination"
#define S_STEP4_TITLE        "Summary"
#define S_STEP_CAPTION       "Step %1 of 4"
#define S_NEXT               "&Next >"
#define S_BACK               "< &Back"
#define S_CANCEL             "Cancel"
#define S_START_RESTORE      "&Restore"
#define S_CONFIRM_CANCEL     "Do you really want to cancel?"

// Source page and media prompts (5204: %1 part number, %2 date, %3 drive letter; 5197:
// printf, the date, then the drive letter)
#define S_DRIVES_FIXED         "Fixed disks"
#define S_DRIVES_CDROM         "CD/DVD drives"
#define S_NO_PROJECT_SELECTED  "Choose a backup and one of its backup dates first."
#define S_MEDIA_PROMPT_LAST    "Insert the last disc of the backup made on %s into drive %c: and click OK."
#define S_CDROM_HINT           "Insert the disc that holds your backup into the CD/DVD drive. If the backup spans several discs, insert the last one. Then click OK."
#define S_MEDIA_PROMPT_PART    "Insert disc %1 of the backup made on %2 into drive %3: and click OK."

// Engine error texts
#define S_ENGINE_ERROR_1000003       "The backup engine could not read the list of backups."
#define S_ENGINE_ERROR_1000004       "The backup engine ran out of memory."
#define S_ENGINE_ERROR_1000005       "The backup engine received a request it cannot carry out."
#define S_ENGINE_ERROR_1000008       "The backup could not be found."
#define S_ENGINE_ERROR_1000100       "The place where the backup is stored cannot be reached."
#define S_ENGINE_ERROR_1000103       "The medium of this backup, or a backup it is based on, is not available."
#define S_ENGINE_ERROR_1000104       "The chosen backup version could not be found."
#define S_ENGINE_ERROR_1000105       "The operation was cancelled."
#define S_ENGINE_ERROR_1000112       "Another restore is already running."
#define S_ENGINE_ERROR_1000312       "The destination could not be prepared for the restore."
#define S_ENGINE_ERROR_OTHER         "The backup engine reported an error. Error code:"
#define S_ENGINE_ERROR_1000350       "The chosen backup cannot be read."
#define S_ENGINE_ERROR_1000351       "The backup is damaged."
#define S_ENGINE_ERROR_1000352       "A part of the backup is missing."
#define S_ENGINE_ERROR_1000353       "The destination disk could not be written."
#define S_ENGINE_ERROR_1000354       "The destination is too small for the backup."
#define S_ENGINE_QUESTION_1000355    "Some data of the backup could not be read. Do you want to continue the restore?"
#define S_ENGINE_ERROR_1000357       "The destination is in use by another program."
#define S_ENGINE_ERROR_1000358       "A disk of this computer reported an error."
#define S_ENGINE_ERROR_1000359       "The backup was made by a newer version of the program."
#define S_ENGINE_ERROR_1000360       "The format of the backup is not supported."

// Dialog texts
#define T_TYPE_QUESTION        "What do you want to restore?"
#define T_TYPE_ENTIRE          "Entire computer"
#define T_TYPE_ENTIRE_NOTE     "Every disk of the backed-up computer is restored onto the disks of this computer."
#define T_TYPE_DISK            "Hard drive"
#define T_TYPE_DISK_NOTE       "One backed-up hard drive is restored onto one disk of this computer."
#define T_TYPE_PARTITION       "Partition"
#define T_TYPE_PARTITION_NOTE  "One backed-up partition is restored onto a partition or an empty disk of this computer."
#define T_TYPE_OVERWRITE_NOTE  "Everything on the destination you choose later is replaced by the backup."
#define T_SOURCE_QUESTION      "Which backup do you want to restore?"
#define T_SOURCE_LATEST        "Restore the &latest backup"
#define T_SOURCE_CHOOSE        "&Choose a backup"
#define T_SOURCE_DRIVE_TYPE    "&Stored on:"
#define T_SOURCE_PROJECT       "B&ackup:"
#define T_SOURCE_ARCHIVE       "Backup &date:"
#define T_SOURCE_NO_PROJECTS   "No backup for this kind of restore was found. Connect the drive or insert the disc that holds your backup, then choose one of the options above to look again."
#define T_DESTINATION_QUESTION "Where on this computer do you want to restore it?"
#define T_SUMMARY_QUESTION     "Check your choices before the restore starts."

// Destination pages
#define S_TARGET_HOLDS_BACKUP        "The backup itself is stored on this destination. Choose another destination."

// Restore progress (5202: printf, elapsed hours, minutes, seconds, then remaining ones)
#define S_STAGE_FIRST_PHASE6   "Preparing the restore..."
#define S_STAGE_FIRST          "Restoring your data..."
#define S_STAGE_PHASE7         "Checking the restored data..."
#define S_STAGE_LAST           "Finishing the restore..."
#define S_TIME_TEXT            "Time elapsed: %d:%02d:%02d      Time remaining: %d:%02d:%02d"
#define S_RESTORE_DONE         "The restore has finished successfully. The program closes when you click OK."
#define S_RESTORE_NOT_FINISHED "The restore did not finish. The destination may be incomplete: restore it again before you use it."
#define T_PROGRESS_CANCEL      "Cancel"

// Password dialog
#define S_WRONG_PASSWORD             "The password is not correct. Type it again, paying attention to upper and lower case."
#define T_PASSWORD_PROMPT            "This backup is protected by a password. Type the password to restore it:"
#define T_PASSWORD_LABEL             "&Password:"
