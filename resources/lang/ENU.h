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
