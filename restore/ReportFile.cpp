#include "restore/ReportFile.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "restore/ReportLines.h"

struct ReportFile::Shared {
    std::vector<std::wstring> folders;
    std::wstring name;

    mutable std::mutex lock;
    mutable std::condition_variable changed;
    std::deque<std::string> queued;   // UTF-8 lines with their CRLF
    bool flushWanted = false;
    bool closing = false;
    State state = State::Opening;
    std::wstring path;
};

namespace {

bool WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Runs started within the same second: "name-2.txt" and on; never another run's report.
constexpr int kNamesPerFolder = 20;

std::wstring NumberedName(const std::wstring& name, int number)
{
    if (number == 1) return name;
    const std::size_t dot = name.rfind(L'.');
    return name.substr(0, dot) + L"-" + std::to_wstring(number) + (dot == std::wstring::npos ? L"" : name.substr(dot));
}

HANDLE CreateNew(const std::wstring& folder, const std::wstring& name, std::wstring& path)
{
    for (int number = 1; number <= kNamesPerFolder; ++number) {
        path = folder + (folder.ends_with(L'\\') ? L"" : L"\\") + NumberedName(name, number);
        const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return INVALID_HANDLE_VALUE;
}

// A new file in `folder` that has taken its byte-order mark; null when it cannot be had.
HANDLE CreateIn(const std::wstring& folder, const std::wstring& name, std::wstring& path)
{
    ::CreateDirectoryW(folder.c_str(), nullptr);   // "Restore reports" may not exist yet
    const HANDLE file = CreateNew(folder, name, path);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    if (WriteAll(file, std::string(palto::kUtf8ByteOrderMark)) && ::FlushFileBuffers(file)) return file;
    ::CloseHandle(file);
    ::DeleteFileW(path.c_str());
    return nullptr;
}

HANDLE Open(ReportFile::Shared& shared)
{
    for (const std::wstring& folder : shared.folders) {
        std::wstring path;
        if (const HANDLE file = CreateIn(folder, shared.name, path)) {
            std::lock_guard hold(shared.lock);
            shared.path = path;
            shared.state = ReportFile::State::Open;
            shared.changed.notify_all();
            return file;
        }
    }
    std::lock_guard hold(shared.lock);
    shared.state = ReportFile::State::Failed;
    shared.changed.notify_all();
    return nullptr;
}

// Writes what is queued until the file closes; a failed write ends the report.
void WriteQueued(ReportFile::Shared& shared, HANDLE file)
{
    std::unique_lock hold(shared.lock);
    for (;;) {
        shared.changed.wait(hold, [&] { return shared.closing || !shared.queued.empty() || shared.flushWanted; });
        std::deque<std::string> lines;
        lines.swap(shared.queued);
        const bool flush = shared.flushWanted || shared.closing;
        const bool closing = shared.closing;
        shared.flushWanted = false;
        hold.unlock();
        bool written = true;
        for (const std::string& line : lines) written = written && WriteAll(file, line);
        if (written && flush) written = ::FlushFileBuffers(file) != FALSE;
        hold.lock();
        if (!written) {
            shared.state = ReportFile::State::Failed;
            shared.changed.notify_all();
            return;
        }
        if (closing && shared.queued.empty()) return;
    }
}

DWORD WINAPI Writer(void* parameter)
{
    const std::unique_ptr<std::shared_ptr<ReportFile::Shared>> held(
        static_cast<std::shared_ptr<ReportFile::Shared>*>(parameter));
    ReportFile::Shared& shared = **held;
    try {
        if (const HANDLE file = Open(shared)) {
            WriteQueued(shared, file);
            ::CloseHandle(file);
        }
    } catch (...) {
        std::lock_guard hold(shared.lock);
        shared.state = ReportFile::State::Failed;
        shared.changed.notify_all();
    }
    return 0;
}

}  // namespace

ReportFile::ReportFile(std::vector<std::wstring> folders, std::wstring name) : m_shared(std::make_shared<Shared>())
{
    m_shared->folders = std::move(folders);
    m_shared->name = std::move(name);
    auto* held = new std::shared_ptr<Shared>(m_shared);
    m_writer = ::CreateThread(nullptr, 0, &Writer, held, 0, nullptr);
    if (m_writer) return;
    delete held;
    m_shared->state = State::Failed;
}

ReportFile::~ReportFile()
{
    {
        std::lock_guard hold(m_shared->lock);
        m_shared->closing = true;
        m_shared->changed.notify_all();
    }
    if (!m_writer) return;
    // The writer holds its own share of the state: one that is still stuck on a slow disk
    // after the wait finishes on its own.
    ::WaitForSingleObject(m_writer, kCloseWaitMs);
    ::CloseHandle(m_writer);
}

void ReportFile::Append(const std::wstring& line, bool flush)
{
    std::string bytes = palto::ReportLineBytes(line);
    std::lock_guard hold(m_shared->lock);
    if (m_shared->state == State::Failed || m_shared->closing) return;
    m_shared->queued.push_back(std::move(bytes));
    m_shared->flushWanted = m_shared->flushWanted || flush;
    m_shared->changed.notify_all();
}

ReportFile::State ReportFile::Current(std::wstring& path, DWORD waitMs) const
{
    std::unique_lock hold(m_shared->lock);
    m_shared->changed.wait_for(hold, std::chrono::milliseconds(waitMs),
                               [&] { return m_shared->state != State::Opening; });
    path = m_shared->state == State::Open ? m_shared->path : std::wstring();
    return m_shared->state;
}
