#include "app/ResourceModule.h"

#include "framework/Afx.h"
#include "framework/CString.h"

bool TryLoadResourceModule(const wchar_t* folder, const wchar_t* code, LANGID& langId)
{
    CString path;
    path.Format(L"%s\\Mainr%s.dll", folder, code);
    HMODULE module = ::LoadLibraryW(path);
    if (!module) return false;
    AfxSetResourceHandle(module);
    langId = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    return true;
}

bool LoadResourceModule(const wchar_t* folder, LANGID& langId)
{
    return TryLoadResourceModule(folder, L"ENU", langId);
}
