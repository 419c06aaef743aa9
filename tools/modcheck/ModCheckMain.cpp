// modcheck ENGLISH MODULE...: checks resource modules against the English one and
// prints one line per problem, "MODULE: what is wrong". Exit code 0 when every module
// is sound, 1 when one is not, 2 on wrong usage.
#include <cstdio>
#include <string>

#include "tools/modcheck/ModCheck.h"

namespace {

std::wstring FileName(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    using palto::modcheck::DataModule;
    if (argc < 3) {
        std::fputws(L"usage: modcheck ENGLISH_MODULE MODULE...\n", stderr);
        return 2;
    }
    const DataModule english(argv[1]);
    if (!english.handle()) {
        std::fwprintf(stderr, L"%ls: cannot be loaded\n", FileName(argv[1]).c_str());
        return 1;
    }
    int sound = 0;
    int failed = 0;
    for (int i = 2; i < argc; ++i) {
        const std::wstring name = FileName(argv[i]);
        const DataModule module(argv[i]);
        if (!module.handle()) {
            std::fwprintf(stdout, L"%ls: cannot be loaded\n", name.c_str());
            ++failed;
            continue;
        }
        const auto problems = palto::modcheck::CheckModule(english.handle(), module.handle());
        for (const auto& problem : problems) std::fwprintf(stdout, L"%ls: %ls\n", name.c_str(), problem.c_str());
        ++(problems.empty() ? sound : failed);
    }
    std::fwprintf(stdout, L"modcheck: %d module(s) sound, %d with problems\n", sound, failed);
    return failed == 0 ? 0 : 1;
}
