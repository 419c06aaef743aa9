// The restore report's file: UTF-8 with a byte-order mark and CRLF, created anew in the
// first of its folders that takes it, and written as the restore goes. The window thread
// and the engine's threads only queue lines; a writer thread of the file's own creates
// it, writes them and flushes them to the disk when asked, so that a crash or a power
// cut keeps what was flushed. A file that cannot be created or written never stops the
// restore: the report then says so (State::Failed).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class ReportFile {
public:
    // Starts creating `name` in the first of `folders` (tried in order, made when
    // missing) that takes it.
    ReportFile(std::vector<std::wstring> folders, std::wstring name);
    // Writes and flushes what is queued, waiting for that at most kCloseWaitMs.
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    static constexpr DWORD kCloseWaitMs = 3000;

    // Queues one line (without its line end); `flush` takes it and all before it to the disk.
    void Append(const std::wstring& line, bool flush = false);

    enum class State { Opening, Open, Failed };
    // Waits at most `waitMs` for the file to be created; its path while it is Open.
    State Current(std::wstring& path, DWORD waitMs = 0) const;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    HANDLE m_writer = nullptr;
};
