// German texts of the resource module MainrDEU.dll.
//
// Plain "..." strings, not L"...": the resource compiler reads plain strings as UTF-8
// (the code page the module's .rc sets) but copies the bytes of wide ones one by one,
// which would turn every umlaut into two wrong characters.

// Strings
#define S_APP_TITLE          "Tolvane-Wiederherstellung"
#define S_APP_TITLE_OEM      "Wiederherstellungs-Assistent"
#define S_HEADING            "Computer aus einer Sicherung wiederherstellen"
#define S_STEP1_TITLE        "Umfang"
#define S_STEP2_TITLE        "Sicherung"
#define S_STEP3_TITLE        "Ziel"
#define S_STEP4_TITLE        "Übersicht"
#define S_STEP_CAPTION       "Schritt %1 von 4"
#define S_NEXT               "&Weiter >"
#define S_BACK               "< &Zurück"
#define S_CANCEL             "Abbrechen"
#define S_START_RESTORE      "&Wiederherstellen"
#define S_CONFIRM_CANCEL     "Möchten Sie wirklich abbrechen?"

// Dialog texts
#define T_TYPE_QUESTION        "Was möchten Sie wiederherstellen?"
#define T_TYPE_ENTIRE          "Ganzer Computer"
#define T_TYPE_ENTIRE_NOTE     "Jede Festplatte des gesicherten Computers wird auf die Festplatten dieses Computers wiederhergestellt."
#define T_TYPE_DISK            "Festplatte"
#define T_TYPE_DISK_NOTE       "Eine gesicherte Festplatte wird auf eine Festplatte dieses Computers wiederhergestellt."
#define T_TYPE_PARTITION       "Partition"
#define T_TYPE_PARTITION_NOTE  "Eine gesicherte Partition wird auf eine Partition oder eine leere Festplatte dieses Computers wiederhergestellt."
#define T_TYPE_OVERWRITE_NOTE  "Alles auf dem Ziel, das Sie anschließend wählen, wird durch die Sicherung ersetzt."
#define T_SOURCE_QUESTION      "Welche Sicherung möchten Sie wiederherstellen?"
#define T_SOURCE_LATEST        "&Neueste Sicherung wiederherstellen"
#define T_SOURCE_CHOOSE        "Sicherung a&uswählen"
#define T_SOURCE_DRIVE_TYPE    "&Gespeichert auf:"
#define T_SOURCE_PROJECT       "&Sicherung:"
#define T_SOURCE_ARCHIVE       "Erstellt &am:"
#define T_SOURCE_NO_PROJECTS   "Für diese Art der Wiederherstellung wurde keine Sicherung gefunden. Schließen Sie das Laufwerk mit Ihrer Sicherung an oder legen Sie den Datenträger ein, und wählen Sie dann oben eine der Optionen, um erneut zu suchen."
#define T_DESTINATION_QUESTION "Wohin auf diesem Computer möchten Sie sie wiederherstellen?"
#define T_SUMMARY_QUESTION     "Prüfen Sie Ihre Auswahl, bevor die Wiederherstellung beginnt."
#define T_DST_ENTIRE_HEADING   "Die Sicherung ersetzt die Datenträger dieses Computers"
#define T_DST_ENTIRE_NOTE      "Jeder gesicherte Datenträger wird auf einen mindestens ebenso großen Datenträger dieses Computers wiederhergestellt: der größte auf den größten und so weiter."
#define T_DST_ENTIRE_DISKS     "Datenträger dieses Computers:"
#define T_DST_SOURCE           "&Aus der Sicherung wiederherstellen:"
#define T_DST_TARGET           "A&uf diesem Computer:"
#define T_DST_OVERWRITE_NOTE   "Alles auf dem Ziel wird durch die Sicherung ersetzt."
#define T_SUMMARY_TYPE         "Umfang:"
#define T_SUMMARY_BACKUP       "Sicherung:"
#define T_SUMMARY_DESTINATION  "Ziel:"
#define T_SUMMARY_START_NOTE   "Klicken Sie auf „Wiederherstellen“, um zu beginnen. Alles auf dem Ziel wird durch die Sicherung ersetzt."

// Source page and media prompts (5204: %1 part number, %2 date, %3 drive letter, in the
// order German needs them; 5197: printf, the date, then the drive letter)
#define S_DRIVES_FIXED         "Festplatten"
#define S_DRIVES_CDROM         "CD-/DVD-Laufwerke"
#define S_NO_PROJECT_SELECTED  "Wählen Sie zuerst eine Sicherung und einen ihrer Sicherungszeitpunkte aus."
#define S_MEDIA_PROMPT_LAST    "Legen Sie den letzten Datenträger der Sicherung vom %s in Laufwerk %c: ein, und klicken Sie dann auf OK."
#define S_CDROM_HINT           "Legen Sie die CD oder DVD mit Ihrer Sicherung in das Laufwerk ein. Besteht die Sicherung aus mehreren Datenträgern, legen Sie den letzten ein. Klicken Sie dann auf OK."
#define S_MEDIA_PROMPT_PART    "Legen Sie in Laufwerk %3: den Datenträger %1 der Sicherung vom %2 ein, und klicken Sie dann auf OK."

// Engine error texts
#define S_ENGINE_ERROR_1000003       "Das Sicherungsprogramm konnte die Liste der Sicherungen nicht lesen. Schließen Sie das Laufwerk an oder legen Sie das Medium mit Ihren Sicherungen ein, und versuchen Sie es erneut. Wenn der Fehler wieder auftritt, starten Sie den Computer erneut vom Wiederherstellungsmedium."
#define S_ENGINE_ERROR_1000004       "Dem Sicherungsprogramm steht nicht genug Arbeitsspeicher zur Verfügung. Starten Sie den Computer erneut vom Wiederherstellungsmedium, und versuchen Sie es noch einmal."
#define S_ENGINE_ERROR_1000005       "Das Sicherungsprogramm hat eine Anfrage erhalten, die es nicht ausführen kann. Gehen Sie einen Schritt zurück, und versuchen Sie es erneut. Wenn der Fehler wieder auftritt, starten Sie den Computer erneut vom Wiederherstellungsmedium."
#define S_ENGINE_ERROR_1000008       "Die Sicherung wurde nicht gefunden. Prüfen Sie, ob das Laufwerk oder Medium mit der Sicherung angeschlossen ist, oder wählen Sie eine andere Sicherung."
#define S_ENGINE_ERROR_1000100       "Der Ort, an dem die Sicherung gespeichert ist, ist nicht erreichbar. Prüfen Sie, ob das Laufwerk, das Medium oder die Netzwerkverbindung verfügbar ist, und versuchen Sie es erneut."
#define S_ENGINE_ERROR_1000103       "Das Medium dieser Sicherung oder einer Sicherung, auf der sie aufbaut, ist nicht verfügbar. Legen Sie das Medium ein oder schließen Sie das Laufwerk an, und versuchen Sie es erneut."
#define S_ENGINE_ERROR_1000104       "Die gewählte Version der Sicherung wurde nicht gefunden. Wählen Sie eine andere Version, oder prüfen Sie, ob das Medium mit dieser Version eingelegt ist."
#define S_ENGINE_ERROR_1000105       "Der Vorgang wurde abgebrochen. Wenn eine Wiederherstellung lief, ist ihr Ziel unvollständig: Stellen Sie es erneut wieder her, bevor Sie es verwenden."
#define S_ENGINE_ERROR_1000112       "Es läuft bereits eine andere Wiederherstellung. Warten Sie, bis sie beendet ist, und versuchen Sie es erneut."
#define S_ENGINE_ERROR_1000312       "Das Ziel konnte nicht für die Wiederherstellung vorbereitet werden. Prüfen Sie, ob die Zielfestplatte angeschlossen ist und funktioniert, oder wählen Sie ein anderes Ziel."
#define S_ENGINE_ERROR_OTHER         "Das Sicherungsprogramm hat einen Fehler gemeldet. Versuchen Sie es erneut; wenn der Fehler wieder auftritt, starten Sie den Computer erneut vom Wiederherstellungsmedium. Fehlercode:"
#define S_ENGINE_ERROR_1000350       "Die gewählte Sicherung kann nicht gelesen werden. Prüfen Sie, ob das Laufwerk oder Medium mit der Sicherung angeschlossen ist, oder wählen Sie eine andere Sicherung."
#define S_ENGINE_ERROR_1000351       "Die Sicherung ist beschädigt. Wählen Sie eine andere Version der Sicherung."
#define S_ENGINE_ERROR_1000352       "Ein Teil der Sicherung fehlt. Legen Sie alle Medien dieser Sicherung ein oder schließen Sie sie an, oder wählen Sie eine andere Version der Sicherung."
#define S_ENGINE_ERROR_1000353       "Auf die Zielfestplatte konnte nicht geschrieben werden. Prüfen Sie die Festplatte und ihren Anschluss, oder wählen Sie ein anderes Ziel."
#define S_ENGINE_ERROR_1000354       "Das Ziel ist zu klein für die Sicherung. Wählen Sie ein größeres Ziel."
#define S_ENGINE_QUESTION_1000355    "Einige Daten der Sicherung konnten nicht gelesen werden. Möchten Sie die Wiederherstellung fortsetzen?"
#define S_ENGINE_ERROR_1000357       "Das Ziel wird von einem anderen Programm verwendet. Starten Sie den Computer erneut vom Wiederherstellungsmedium, und versuchen Sie es noch einmal."
#define S_ENGINE_ERROR_1000358       "Eine Festplatte dieses Computers hat einen Fehler gemeldet. Prüfen Sie die Festplatte und ihren Anschluss; möglicherweise muss die Festplatte ersetzt werden."
#define S_ENGINE_ERROR_1000359       "Die Sicherung wurde mit einer neueren Version des Programms erstellt. Stellen Sie sie mit dem Wiederherstellungsmedium dieser Version wieder her."
#define S_ENGINE_ERROR_1000360       "Das Format der Sicherung wird nicht unterstützt. Stellen Sie sie mit dem Wiederherstellungsmedium der Programmversion wieder her, mit der sie erstellt wurde."

// Destination pages
#define S_DISK_WITH_PARTITIONS       "Datenträger %d: %s%.1f GB"
#define S_PARTITION_ENTRY            "Datenträger %d, Partition %d: %s (%.1f GB)"
#define S_DISK_ENTRY                 "Datenträger %d: %.1f GB"
#define S_ENTIRE_DESTINATION         "%.1f GB auf %d Datenträger(n)"
#define S_PARTITION_DESTINATION      "Datenträger %d, Partition %d"
#define S_NO_LABEL                   "(ohne Bezeichnung)"
#define S_OEM_KEYWORD1               "Wiederherstellung"
#define S_OEM_KEYWORD2               "Recovery"
#define S_TARGET_PARTITION_TOO_SMALL "Diese Partition ist kleiner als die gesicherte Partition. Wählen Sie ein größeres Ziel."
#define S_TARGET_DISK_TOO_SMALL      "Dieser Datenträger ist kleiner als das, was Sie wiederherstellen möchten. Wählen Sie ein größeres Ziel."
#define S_DISKS_DO_NOT_FIT           "Die Datenträger dieses Computers sind zu klein: Jeder gesicherte Datenträger braucht hier einen mindestens ebenso großen. Wählen Sie über „Zurück“ eine andere Sicherung oder brechen Sie ab."
#define S_DESTINATION_NOT_USABLE     "Die gewählte Quelle oder das gewählte Ziel kann nicht verwendet werden. Wählen Sie beides erneut."
#define S_TARGET_HOLDS_BACKUP        "Die Sicherung selbst ist auf diesem Ziel gespeichert. Wählen Sie ein anderes Ziel."

// Restore progress (5202: printf, elapsed hours, minutes, seconds, then remaining ones)
#define S_STAGE_FIRST_PHASE6   "Die Wiederherstellung wird vorbereitet..."
#define S_STAGE_FIRST          "Ihre Daten werden wiederhergestellt..."
#define S_STAGE_PHASE7         "Die wiederhergestellten Daten werden geprüft..."
#define S_STAGE_LAST           "Die Wiederherstellung wird abgeschlossen..."
#define S_TIME_TEXT            "Verstrichene Zeit: %d:%02d:%02d      Restzeit: %d:%02d:%02d"
#define S_RESTORE_DONE         "Die Wiederherstellung wurde erfolgreich abgeschlossen. Das Programm wird beendet, wenn Sie auf OK klicken."
#define S_RESTORE_NOT_FINISHED "Die Wiederherstellung wurde nicht abgeschlossen. Das Ziel ist möglicherweise unvollständig: Stellen Sie es erneut wieder her, bevor Sie es verwenden."
#define T_PROGRESS_CANCEL      "Abbrechen"

// Password dialog
#define S_WRONG_PASSWORD             "Das Kennwort ist nicht richtig. Geben Sie es noch einmal ein und achten Sie auf Groß- und Kleinschreibung."
#define T_PASSWORD_PROMPT            "Diese Sicherung ist durch ein Kennwort geschützt. Geben Sie das Kennwort ein, um sie wiederherzustellen:"
#define T_PASSWORD_LABEL             "&Kennwort:"

// Restore launch
#define S_TOO_MANY_DISKS             "Der gesicherte Computer hatte mehr Festplatten, als dieser Computer hat. Schließen Sie so viele Festplatten an, wie die Sicherung enthält, oder stellen Sie die Festplatten einzeln mit der Wiederherstellung einer Festplatte wieder her."
