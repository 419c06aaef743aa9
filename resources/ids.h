// Every string, dialog, icon and control id shared by the program and its resource
// modules. A resource module of any language holds the same ids; only texts and
// layouts differ. Plain #defines: the resource compiler reads this file too.
#pragma once

// Icon
#define IDI_MAIN                        128

// Dialog templates
#define IDD_MAIN                        102
#define IDD_STEP_PANEL                  129
#define IDD_TYPE_PAGE                   135
#define IDD_SOURCE_PAGE                 136
#define IDD_DST_ENTIRE_PAGE             137
#define IDD_SUMMARY_PAGE                138
#define IDD_DST_DISK_PAGE               140
#define IDD_PROGRESS                    5102
#define IDD_PASSWORD                    5103

// Main wizard window (IDD_MAIN)
#define IDC_WIZARD_CANCEL               1002
#define IDC_NEXT                        1003
#define IDC_BACK                        1004
#define IDC_STEP_CAPTION                1024
#define IDC_HEADING                     1079

// Step panel (IDD_STEP_PANEL): per step a title, the choice made, and two markers
#define IDC_STEP1_TITLE                 1005
#define IDC_STEP1_PASSED                1006
#define IDC_STEP1_CURRENT               1007
#define IDC_STEP1_CHOICE                1009
#define IDC_STEP2_TITLE                 1011
#define IDC_STEP2_PASSED                1012
#define IDC_STEP2_CURRENT               1014
#define IDC_STEP2_CHOICE                1016
#define IDC_STEP3_TITLE                 1018
#define IDC_STEP3_PASSED                1019
#define IDC_STEP3_CURRENT               1021
#define IDC_STEP3_CHOICE                1022
#define IDC_STEP4_TITLE                 1023
#define IDC_STEP4_PASSED                1025
#define IDC_STEP4_CURRENT               1026
#define IDC_STEP4_CHOICE                1028

// Restore type page (IDD_TYPE_PAGE)
#define IDC_TYPE_ENTIRE                 1008
#define IDC_TYPE_DISK                   1010
#define IDC_TYPE_PARTITION              1013

// Source page (IDD_SOURCE_PAGE)
#define IDC_SRC_LATEST                  1027
#define IDC_SRC_CHOOSE                  1029
#define IDC_SRC_DRIVE_TYPE              1030
#define IDC_SRC_PROJECT                 1031
#define IDC_SRC_NO_PROJECTS             1046
#define IDC_SRC_ARCHIVE                 1081

// Entire-computer destination page (IDD_DST_ENTIRE_PAGE)
#define IDC_DST_ENTIRE_HEADING          1041
#define IDC_DST_DISKS                   1083
#define IDC_DST_DISKS_DO_NOT_FIT        1090

// Disk/partition destination page (IDD_DST_DISK_PAGE)
#define IDC_DST_TARGET                  1015
#define IDC_DST_SOURCE                  1017
#define IDC_DST_SIZE_WARNING            1089

// Summary page (IDD_SUMMARY_PAGE)
#define IDC_SUMMARY_HEADING             1054
#define IDC_SUMMARY_TYPE                1082
#define IDC_SUMMARY_BACKUP              1083
#define IDC_SUMMARY_DESTINATION         1084

// Restore progress (IDD_PROGRESS)
#define IDC_PROGRESS_BAR                1081
#define IDC_PROGRESS_STAGE              1082
#define IDC_PROGRESS_PERCENT            1087
#define IDC_PROGRESS_TIME               1088

// Password dialog (IDD_PASSWORD)
#define IDC_PASSWORD                    1085

// Strings: the wizard frame
#define IDS_APP_TITLE                   5101
#define IDS_HEADING                     5102
#define IDS_STEP1_TITLE                 5103
#define IDS_STEP2_TITLE                 5104
#define IDS_STEP3_TITLE                 5105
#define IDS_STEP4_TITLE                 5106
#define IDS_STEP_CAPTION                5107    // message-style: %1 = step number
#define IDS_NEXT                        5108
#define IDS_BACK                        5109
#define IDS_CANCEL                      5110
#define IDS_START_RESTORE               5111    // label of Next on the last step
#define IDS_CONFIRM_CANCEL              5200
#define IDS_APP_TITLE_OEM               5203

// Strings: engine error texts (by the engine code they explain)
#define IDS_ENGINE_ERROR_1000312        5138
#define IDS_ENGINE_ERROR_1000003        5168
#define IDS_ENGINE_ERROR_1000004        5169
#define IDS_ENGINE_ERROR_1000005        5170
#define IDS_ENGINE_ERROR_1000008        5171
#define IDS_ENGINE_ERROR_1000100        5173
#define IDS_ENGINE_ERROR_1000104        5175
#define IDS_ENGINE_ERROR_1000105        5176
#define IDS_ENGINE_ERROR_1000112        5177
#define IDS_ENGINE_ERROR_OTHER          5178    // followed by two blanks and the code
#define IDS_ENGINE_ERROR_1000350        5186    // also: the chosen backup cannot be read
#define IDS_ENGINE_ERROR_1000351        5187
#define IDS_ENGINE_ERROR_1000352        5188
#define IDS_ENGINE_ERROR_1000353        5189
#define IDS_ENGINE_ERROR_1000354        5190
#define IDS_ENGINE_QUESTION_1000355     5192    // asked as a Yes/No question
#define IDS_ENGINE_WARNING_1000356      5219    // shown with OK only: a statement, not a question
#define IDS_ENGINE_ERROR_1000357        5193
#define IDS_ENGINE_ERROR_1000358        5194
#define IDS_ENGINE_ERROR_1000359        5195
#define IDS_ENGINE_ERROR_1000360        5196
#define IDS_ENGINE_ERROR_1000103        5209    // also -1000513: backup medium or base not available

// Strings: source page
#define IDS_DRIVES_FIXED                5163
#define IDS_DRIVES_CDROM                5164
#define IDS_NO_PROJECT_SELECTED         5166
#define IDS_MEDIA_PROMPT_LAST           5197    // printf: date text, drive letter
#define IDS_CDROM_HINT                  5201
#define IDS_MEDIA_PROMPT_PART           5204    // %1 part number, %2 date text, %3 drive letter

// Strings: destination pages
#define IDS_DISK_WITH_PARTITIONS        5179    // printf: disk number, partition names, gigabytes
#define IDS_PARTITION_ENTRY             5180    // printf: disk number, partition number, name, gigabytes
#define IDS_DISK_ENTRY                  5181    // printf: disk number, gigabytes
#define IDS_ENTIRE_DESTINATION          5182    // printf: gigabytes, number of disks
#define IDS_PARTITION_DESTINATION       5183    // printf: disk number, partition number
#define IDS_NO_LABEL                    5208
#define IDS_OEM_KEYWORD1                5211
#define IDS_OEM_KEYWORD2                5212
#define IDS_TARGET_PARTITION_TOO_SMALL  5213
#define IDS_TARGET_DISK_TOO_SMALL       5214
#define IDS_DISKS_DO_NOT_FIT            5215
#define IDS_TARGET_HOLDS_BACKUP         5216    // the chosen target holds the backup being restored
#define IDS_DESTINATION_NOT_USABLE      5217    // the check on Next refused the chosen source or target
#define IDS_BACKUP_ON_THIS_COMPUTER     5218    // printf: drive letter; an entire-computer restore would overwrite the backup
#define IDS_DECIMAL_SEPARATOR           5220    // the one character between the whole and the decimal part of a figure

// Strings: restore launch, password and progress
#define IDS_TOO_MANY_DISKS              5174
#define IDS_STAGE_FIRST                 5184
#define IDS_STAGE_LAST                  5185
#define IDS_WRONG_PASSWORD              5198
#define IDS_RESTORE_DONE                5199
#define IDS_TIME_TEXT                   5202    // printf: elapsed h m s, remaining h m s
#define IDS_STAGE_FIRST_PHASE6          5205
#define IDS_STAGE_PHASE7                5206
#define IDS_RESTORE_NOT_FINISHED        5210
#define IDS_REPORT_KEPT                 5235    // printf: the report's path; a line of the end messages
#define IDS_REPORT_NOT_KEPT             5236    // a line of the end messages

// Strings: the answer file (messages are printf templates; each names the file's key)
#define IDS_ANSWERS_UNUSABLE            5250    // printf: file path, reason
#define IDS_ANSWERS_WITHOUT             5251
#define IDS_ANSWERS_UNREADABLE          5252
#define IDS_ANSWERS_NO_SECTION          5253
#define IDS_ANSWERS_UNKNOWN_SECTION     5254    // printf: section name
#define IDS_ANSWERS_UNKNOWN_KEY         5255    // printf: key
#define IDS_ANSWERS_KEY_TWICE           5256    // printf: key
#define IDS_ANSWERS_MISSING_KEY         5257    // printf: key
#define IDS_ANSWERS_BAD_VALUE           5258    // printf: key, value, the forms it takes
#define IDS_ANSWERS_NOT_FOR_TYPE        5259    // printf: key, restore type
#define IDS_ANSWER_STOPPED              5260    // printf: key, value, what the step found
#define IDS_ANSWER_BY_HAND              5261
#define IDS_ANSWER_NOT_OFFERED          5262    // followed by the entries, one a line
#define IDS_ANSWER_NOTHING_OFFERED      5263
#define IDS_ANSWER_LISTED_TWICE         5264
#define IDS_ANSWER_SIZE_FOUND           5265    // printf: bytes (text)
#define IDS_ANSWER_LABEL_FOUND          5266    // printf: label
#define IDS_ANSWER_NO_LABEL_FOUND       5267
#define IDS_ANSWER_BLOCKED              5268
#define IDS_ANSWER_BLOCKED_BY           5269    // printf: the step's warning
#define IDS_ANSWER_START_WAITS          5270    // printf: key
#define IDS_ANSWER_CLOSES_SOON          5271    // printf: seconds
