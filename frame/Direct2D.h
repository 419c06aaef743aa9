// Direct2D, loaded when it is needed rather than imported: a pre-installation image may
// lack d2d1.dll, and the wizard starts there all the same.
#pragma once

#include <windows.h>

#include <d2d1.h>

// A single-threaded Direct2D factory, or null when d2d1.dll cannot be loaded or the
// factory cannot be made. The library stays loaded for as long as the factory lives.
inline ID2D1Factory* CreateDirect2DFactory()
{
    using CreateFactory = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
    HMODULE direct2D = ::LoadLibraryW(L"d2d1.dll");
    FARPROC found = direct2D ? ::GetProcAddress(direct2D, "D2D1CreateFactory") : nullptr;
    const auto create = reinterpret_cast<CreateFactory>(reinterpret_cast<void*>(found));
    ID2D1Factory* factory = nullptr;
    if (!create || FAILED(create(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                                 reinterpret_cast<void**>(&factory)))) {
        return nullptr;
    }
    return factory;
}
