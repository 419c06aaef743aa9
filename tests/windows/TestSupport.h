// Helpers for in-process Windows tests of the wizard: the resource module, a fresh
// wizard context, scripted message boxes and running code inside a modal loop.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/PaltoApp.h"
#include "app/Texts.h"

namespace palto::test {

// The folder of the running test program, without a trailing backslash.
std::wstring ProgramFolder();

// A string of a module file, read as data; empty when the file or the string is missing.
std::wstring ModuleText(const std::wstring& path, UINT id);

// Loads the English resource module beside the test program (once per process).
void LoadEnglishResources();

// A fresh wizard context in theApp.m_pContext for the life of the object.
class ScopedContext {
public:
    ScopedContext();
    ~ScopedContext();
    WizardContext& operator*() { return *m_context; }
    WizardContext* operator->() { return m_context.get(); }

private:
    std::unique_ptr<WizardContext> m_context;
};

// Records every message box, of any thread, with whether its owner's window took input
// meanwhile, and answers it from a script (IDOK when the script is empty). Report names
// in the texts are masked (tests/ReportName.h).
class MessageBoxes {
public:
    struct Shown {
        HWND owner;
        std::wstring text;
        UINT style;
        bool ownerEnabled;   // the owner's top-level window
    };
    MessageBoxes();
    ~MessageBoxes();
    void Answer(int button);
    std::vector<Shown> shown() const;
    std::vector<std::wstring> texts() const;

private:
    mutable std::mutex m_lock;
    std::deque<int> m_answers;
    std::vector<Shown> m_shown;
};

// Runs `action` from within the message loop that is running `delayMs` from now
// (a thread timer, so it fires inside DoModal's loop or a message box's).
void RunSoon(std::function<void()> action, UINT delayMs = 10);

// Handles every message waiting in this thread's queue.
void PumpMessages();

// Ends the modal loops of this thread with a quit message when they run past `ms`, so
// that a fault fails the test instead of hanging it.
class Deadline {
public:
    explicit Deadline(UINT ms);
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;
    static bool Expired();

private:
    UINT_PTR m_id;
};

// Steps run inside the running message loop, each once its condition holds (looked at
// every `pollMs`); the script stops with the object, so that no step outlives what it uses.
class Script {
public:
    explicit Script(UINT pollMs = 20) : m_pollMs(pollMs) {}
    ~Script() { *m_alive = false; }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;
    void When(std::function<bool()> condition, std::function<void()> step);

private:
    UINT m_pollMs;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

// The texts of a drop-down list's entries, in list order.
std::vector<std::wstring> ComboEntries(HWND list);

// Scenarios that run in a child process of the test program, started with a program
// path and a command line of the test's choosing (what start-up and the pages read from
// the system). A scenario's result is the child's exit code.
using ChildScenarios = std::map<std::string, std::function<int()>>;

// main() of a test program with child scenarios: runs the scenario the child was
// started for, or else the tests.
int TestMain(int argc, char** argv, const ChildScenarios& scenarios);

// Runs a scenario in a child; `programPath` empty: this program as it is. Returns the
// child's exit code, or STILL_ACTIVE when it did not end within half a minute.
DWORD RunInChild(const std::string& scenario, std::wstring commandLine, const std::wstring& programPath = L"");

}  // namespace palto::test
