// The report of one run of the wizard that reaches the restore launch: what was chosen,
// each engine call of the launch and the restore with its code, every media request and
// engine message with the answer given, the stages and the end. It goes into a file that
// survives the restore (ReportPlace.h) and is written as the restore goes (ReportFile.h).
// Fields have fixed English keys; what the user was shown stands in the user's language.
// No password, nor its protected form, nor its length is ever written.
//
// Every operation may be called from any thread: each builds its line and queues it,
// which is all that an engine thread or the window thread waits for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/WizardContext.h"
#include "framework/CString.h"
#include "restore/ReportFile.h"

class RestoreReport {
public:
    // Starts the report of the run with its first lines (the program, its switches, the
    // answer file); the file goes into the first folder that takes it and lies on no disk
    // that the restore chosen in `context` may write to. `restoreType` as the type page
    // gives it.
    static std::shared_ptr<RestoreReport> Begin(const WizardContext& context, int restoreType);

    // A press of the last step's Next, with this computer's disks and the choices it
    // launches (after a failed launch the user may go back and choose again).
    void Launch(const WizardContext& context, int restoreType);
    void EngineCall(std::wstring_view operation, int code);
    // `shown`: the user was asked (else the engine got the answer without a prompt).
    void MediaRequest(std::int32_t part, wchar_t drive, std::int32_t answer, bool shown);
    // `question`: the one engine message asked with Yes and No.
    void EngineMessage(int code, const CString& text, bool question, std::int32_t answer);
    void Stage(const CString& label, int percent);
    void Cancelled();
    // `code`: the task's result (0: success); `text`: the end message without the report's line.
    void End(int code, const CString& text, std::int64_t elapsedSeconds);

    // The line the end messages close with: where the report is, or that none could be kept.
    CString WhereLine() const;

    explicit RestoreReport(std::unique_ptr<ReportFile> file) : m_file(std::move(file)) {}

private:
    void Write(std::wstring_view key, std::wstring_view value, bool flush = false);
    void WriteChoices(const WizardContext& context, int restoreType);
    void WriteDisks(const WizardContext& context);
    void WriteAnswerFile(const WizardContext& context);

    std::unique_ptr<ReportFile> m_file;
};

// `text` with the report's line after a blank line; `text` alone without a report.
CString WithReportLine(const std::shared_ptr<RestoreReport>& report, const CString& text);
