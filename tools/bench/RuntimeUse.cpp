// The C++ runtime as the wizard takes it in, for the size yardstick (BareDialogRuntime):
// wide strings and their formatting, containers, function objects, a lock, run-time
// type information and exceptions, each used once, so that the linker keeps the same
// parts of the static runtime that it keeps for Palto.exe.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

struct Base {
    virtual ~Base() = default;
};
struct Other {
    virtual ~Other() = default;
};
struct Derived : Base, Other {};

const std::wstring& Title()
{
    static const std::wstring title = L"Bare dialog";
    return title;
}

}  // namespace

void UseTheRuntime(HWND dialog)
{
    try {
        std::map<int, std::wstring> texts{{1, Title()}};
        std::unordered_map<int, int> counts{{1, 0}};
        wchar_t number[16];
        std::swprintf(number, 16, L"%d", counts[1]);
        texts[2] = number;
        std::unique_ptr<int> spare(new (std::nothrow) int(0));
        std::vector<std::uint64_t> ids;
        std::mutex lock;
        std::function<void()> add = [&] {
            std::lock_guard guard(lock);
            ids.push_back(ids.size());
        };
        add();
        std::unique_ptr<Base> object = std::make_unique<Derived>();
        std::exception_ptr failure;
        try {
            if (!dynamic_cast<Other*>(object.get()) || ids.empty()) throw std::runtime_error("unreachable");
        } catch (const int*) {
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure) std::rethrow_exception(failure);
        ::SetWindowTextW(dialog, texts[1].c_str());
    } catch (const std::bad_alloc&) {
    } catch (const std::exception& e) {
        ::OutputDebugStringA(e.what());
    }
}
