/* A resource module with start-up code of its own, as a foreign DLL under a module's
   name has: loading it as a library leaves a mark in the process's environment. */
#include <windows.h>

BOOL WINAPI ModuleEntry(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    (void)module;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableW(L"PALTO_MODULE_CODE_RAN", L"1");
    return TRUE;
}
