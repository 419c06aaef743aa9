// German texts of the resource module MainrDEU.dll.
//
// Plain "..." strings, not L"...": the resource compiler reads plain strings as UTF-8
// (the code page the module's .rc sets) but copies the bytes of wide ones one by one,
// which would turn every umlaut into two wrong characters.

// Strings
#define S_APP_TITLE          "Tolvane-Wiederherstellung"
#define S_APP_TITLE_OEM      "Wiederherstellungs-Assistent"
#define S_HEADING            "Computer aus einer Sicherung wiederherstellen"
#define S_STEP1_TITLE        "Art der Wiederherstellung"
#define S_STEP2_TITLE        "Sicherung"
#define S_STEP3_TITLE        "Ziel"
#define S_STEP4_TITLE        "Zusammenfassung"
#define S_STEP_CAPTION       "Schritt %1 von 4"
#define S_NEXT               "&Weiter >"
#define S_BACK               "< &Zurück"
#define S_CANCEL             "Abbrechen"
#define S_START_RESTORE      "&Wiederherstellen"
#define S_CONFIRM_CANCEL     "Möchten Sie wirklich abbrechen?"

// Dialog texts
#define T_TYPE_QUESTION        "Was möchten Sie wiederherstellen?"
#define T_TYPE_ENTIRE          "Gesamter Computer"
#define T_TYPE_ENTIRE_NOTE     "Jede Festplatte des gesicherten Computers wird auf die Festplatten dieses Computers wiederhergestellt."
#define T_TYPE_DISK            "Festplatte"
#define T_TYPE_DISK_NOTE       "Eine gesicherte Festplatte wird auf eine Festplatte dieses Computers wiederhergestellt."
#define T_TYPE_PARTITION       "Partition"
#define T_TYPE_PARTITION_NOTE  "Eine gesicherte Partition wird auf eine Partition oder eine leere Festplatte dieses Computers wiederhergestellt."
#define T_TYPE_OVERWRITE_NOTE  "Alles auf dem Ziel, das Sie anschließend wählen, wird durch die Sicherung ersetzt."
#define T_SOURCE_QUESTION      "Welche Sicherung möchten Sie wiederherstellen?"
#define T_DESTINATION_QUESTION "Wohin auf diesem Computer möchten Sie sie wiederherstellen?"
#define T_SUMMARY_QUESTION     "Prüfen Sie Ihre Auswahl, bevor die Wiederherstellung beginnt."
