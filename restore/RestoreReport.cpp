#include "restore/RestoreReport.h"

#include <windows.h>

#include "app/Languages.h"
#include "app/PaltoApp.h"
#include "app/ProgramPath.h"
#include "app/Texts.h"
#include "engine/RecordReaders.h"
#include "framework/Format.h"
#include "pages/EntireFit.h"
#include "resources/Version.h"
#include "resources/ids.h"
#include "restore/ReportLines.h"
#include "restore/ReportPlace.h"

namespace {

using palto::ReportField;
using palto::ReportJoin;

// How long the end message waits for a file that is still being created.
constexpr DWORD kOpenWaitMs = 1000;

std::uint64_t FileTimeValue(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// A FILETIME (UTC) as this computer's clock shows it, with the clock's offset from UTC.
palto::ReportTime LocalReportTime(std::uint64_t utc)
{
    const FILETIME utcTime{static_cast<DWORD>(utc), static_cast<DWORD>(utc >> 32)};
    FILETIME localTime{};
    SYSTEMTIME shown{};
    if (!::FileTimeToLocalFileTime(&utcTime, &localTime) || !::FileTimeToSystemTime(&localTime, &shown)) return {};
    const auto offset = static_cast<std::int64_t>(FileTimeValue(localTime) - utc) / 600000000;
    return {shown.wYear, shown.wMonth, shown.wDay, shown.wHour, shown.wMinute, shown.wSecond, static_cast<int>(offset)};
}

std::uint64_t UtcNow()
{
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return FileTimeValue(now);
}

std::wstring NowText()
{
    return palto::ReportTimeText(LocalReportTime(UtcNow()));
}

std::wstring Widened(const char* text)
{
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring YesNo(bool value)
{
    return value ? L"yes" : L"no";
}

std::wstring TempFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
    return length > 0 && length <= MAX_PATH ? std::wstring(path, length) : std::wstring();
}

std::unique_ptr<ReportFile> OpenFile(const WizardContext& context, int restoreType)
{
    const _ProjectRestoreInfo& info = context.restoreInfo;
    const std::wstring forbidden = palto::DrivesTheRestoreMayWrite(restoreType, palto::BackedUpLayout(info),
                                                                   palto::ThisComputerLayout(info));
    const std::wstring location = palto::LocationText(info.projectDesc);
    return std::make_unique<ReportFile>(
        palto::ReportFolders(FolderOf(ExecutablePath()), location, TempFolder(), forbidden),
        palto::ReportFileName(LocalReportTime(UtcNow())));
}

std::wstring MediaAnswer(std::int32_t answer, bool shown)
{
    if (!shown) return L"not asked: answered " + std::to_wstring(answer) + L" (Cancel)";
    return std::to_wstring(answer) + (answer == kMediaAnswerOk ? L" (OK)" : L" (Cancel)");
}

std::wstring MessageAnswer(std::int32_t answer, bool question)
{
    if (!question) return std::to_wstring(answer) + L" (OK)";
    return std::to_wstring(answer) + (answer == -1 ? L" (No: stop)" : L" (Yes: go on)");
}

}  // namespace

std::shared_ptr<RestoreReport> RestoreReport::Begin(const WizardContext& context, int restoreType)
{
    auto report = std::make_shared<RestoreReport>(OpenFile(context, restoreType));
    report->m_file->Append(std::wstring(GetAppTitle().str()));
    report->Write(L"Report-Started", NowText());
    report->Write(L"Program-Version", Widened(PALTO_VERSION_TEXT));
    report->Write(L"Program-Build", Widened(PALTO_BUILD_TEXT));
    report->Write(L"Language-Module",
                  L"Mainr" + std::wstring(palto::LanguageForLangId(theApp.m_langId)) + L".dll");
    report->Write(L"OEM-Switch", context.oemOnlyFeature ? L"on" : L"off");
    report->Write(L"Test-Mode", YesNo(context.testMode));
    report->WriteAnswerFile(context);
    return report;
}

void RestoreReport::WriteAnswerFile(const WizardContext& context)
{
    const palto::AnswerFileRead& file = context.answerFile;
    if (file.path.empty()) return;
    if (!context.restoreChosenByAnswers || !file.answers) {
        Write(L"Answer-File", ReportJoin({file.path, L"not what chose this restore"}));
        return;
    }
    Write(L"Answer-File", ReportJoin({file.path, L"chose this restore"}));
    for (const auto& [key, value] : file.answers->given) Write(L"Answer", key + L"=" + value);
}

void RestoreReport::WriteDisks(const WizardContext& context)
{
    const tagEntireComputerInf* here = palto::ThisComputerLayout(context.restoreInfo);
    if (!here) return;
    const std::wstring diskTemplate = LoadText(IDS_DISK_ENTRY).str();
    const std::wstring partitionTemplate = LoadText(IDS_PARTITION_ENTRY).str();
    const std::wstring noLabel = LoadText(IDS_NO_LABEL).str();
    for (const tagDiskInf& disk : palto::Disks(*here)) {
        Write(L"Disk", ReportJoin({std::to_wstring(disk.diskNumber), palto::ReportBytes(disk.diskSize),
                                   palto::DiskEntryText(disk, diskTemplate)}));
        for (const tagPartitionInf& partition : palto::Partitions(disk)) {
            const std::wstring label = palto::LabelText(partition);
            const std::wstring shown = palto::FormatText(partitionTemplate, disk.diskNumber, partition.partitionNumber,
                                                         label.empty() ? noLabel : label,
                                                         palto::BytesToGigabytes(partition.partitionSize));
            const std::wstring drive = partition.driveLetter ? std::wstring{static_cast<wchar_t>(partition.driveLetter), L':'}
                                                             : L"no drive letter";
            Write(L"Partition",
                  ReportJoin({std::to_wstring(disk.diskNumber) + L":" + std::to_wstring(partition.partitionNumber),
                              palto::ReportBytes(partition.partitionSize), shown, drive, L"label \"" + label + L"\""}));
        }
    }
}

void RestoreReport::WriteChoices(const WizardContext& context, int restoreType)
{
    Write(L"Restore-Type", ReportJoin({std::to_wstring(restoreType), context.stepTexts[0].str()}));
    if (context.testMode) {
        Write(L"Backup", context.stepTexts[1].str());
    } else {
        const _ProjectDesc* desc = context.restoreInfo.projectDesc;
        Write(L"Backup-Project", ReportJoin({std::to_wstring(context.projectId), palto::DescriptionText(desc)}));
        Write(L"Backup-Location", palto::LocationText(desc));
        Write(L"Backup-Date", ReportJoin({palto::ReportTimeText(LocalReportTime(context.archiveId)),
                                          L"FILETIME " + std::to_wstring(context.archiveId)}));
    }
    Write(L"Destination", context.stepTexts[2].str(), true);
}

void RestoreReport::Launch(const WizardContext& context, int restoreType)
{
    Write(L"Launch", NowText());
    WriteDisks(context);
    WriteChoices(context, restoreType);
}

void RestoreReport::EngineCall(std::wstring_view operation, int code)
{
    Write(L"Engine-Call", ReportJoin({NowText(), operation, std::to_wstring(code)}));
}

void RestoreReport::MediaRequest(std::int32_t part, wchar_t drive, std::int32_t answer, bool shown)
{
    Write(L"Media-Request", ReportJoin({NowText(), L"part " + std::to_wstring(part),
                                        L"drive " + std::wstring{drive ? drive : L'?', L':'}, L"answer " + MediaAnswer(answer, shown)}),
          true);
}

void RestoreReport::EngineMessage(int code, const CString& text, bool question, std::int32_t answer)
{
    Write(L"Engine-Message", ReportJoin({NowText(), L"code " + std::to_wstring(code), text.str(),
                                         L"answer " + MessageAnswer(answer, question)}),
          true);
}

void RestoreReport::Stage(const CString& label, int percent)
{
    Write(L"Stage", ReportJoin({NowText(), std::to_wstring(percent) + L"%", label.str()}), true);
}

void RestoreReport::Cancelled()
{
    Write(L"Cancelled", ReportJoin({NowText(), L"the user stopped the restore"}), true);
}

void RestoreReport::End(int code, const CString& text, std::int64_t elapsedSeconds)
{
    Write(L"End", ReportJoin({NowText(), L"result " + std::to_wstring(code), text.str(),
                              L"elapsed " + palto::ReportElapsed(elapsedSeconds)}),
          true);
}

CString RestoreReport::WhereLine() const
{
    std::wstring path;
    if (m_file->Current(path, kOpenWaitMs) != ReportFile::State::Open) return LoadText(IDS_REPORT_NOT_KEPT);
    return CString(palto::FormatText(LoadText(IDS_REPORT_KEPT).str(), path));
}

void RestoreReport::Write(std::wstring_view key, std::wstring_view value, bool flush)
{
    m_file->Append(ReportField(key, value), flush);
}

CString WithReportLine(const std::shared_ptr<RestoreReport>& report, const CString& text)
{
    if (!report) return text;
    return CString(text.str() + L"\n\n" + report->WhereLine().str());
}
