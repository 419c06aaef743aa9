// English texts of the resource module MainrENU.dll.

// Strings
#define S_APP_TITLE          L"Tolvane Restore"
#define S_APP_TITLE_OEM      L"Restore Wizard"
#define S_HEADING            L"Restore your computer from a backup"
#define S_STEP1_TITLE        L"Restore type"
#define S_STEP2_TITLE        L"Backup"
#define S_STEP3_TITLE        L"Destination"
#define S_STEP4_TITLE        L"Summary"
#define S_STEP_CAPTION       L"Step %1 of 4"
#define S_NEXT               L"&Next >"
#define S_BACK               L"< &Back"
#define S_CANCEL             L"Cancel"
#define S_START_RESTORE      L"&Restore"
#define S_CONFIRM_CANCEL     L"Do you really want to cancel?"

// Dialog texts
#define T_TYPE_QUESTION        L"What do you want to restore?"
#define T_TYPE_ENTIRE          L"Entire computer"
#define T_TYPE_ENTIRE_NOTE     L"Every disk of the backed-up computer is restored onto the disks of this computer."
#define T_TYPE_DISK            L"Hard drive"
#define T_TYPE_DISK_NOTE       L"One backed-up hard drive is restored onto one disk of this computer."
#define T_TYPE_PARTITION       L"Partition"
#define T_TYPE_PARTITION_NOTE  L"One backed-up partition is restored onto a partition or an empty disk of this computer."
#define T_TYPE_OVERWRITE_NOTE  L"Everything on the destination you choose later is replaced by the backup."
#define T_SOURCE_QUESTION      L"Which backup do you want to restore?"
#define T_DESTINATION_QUESTION L"Where on this computer do you want to restore it?"
#define T_SUMMARY_QUESTION     L"Check your choices before the restore starts."
