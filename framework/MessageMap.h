// Message maps: BEGIN_MESSAGE_MAP(Class, Base) opens Class's message handler, each
// entry handles its message and returns, and END_MESSAGE_MAP() hands every other
// message to Base's map. A class that has entries declares DECLARE_MESSAGE_MAP().
//
// Handlers named in the entries are members of the class or of its bases:
//   ON_MESSAGE(msg, fn)          LRESULT fn(WPARAM, LPARAM)
//   ON_COMMAND(id, fn)           void fn()   (WM_COMMAND, notification code 0)
//   ON_BN_CLICKED(id, fn)        void fn()
//   ON_CBN_SELCHANGE(id, fn)     void fn()
//   ON_CONTROL(code, id, fn)     void fn()
//   ON_WM_TIMER()                void OnTimer(UINT_PTR id)
//   ON_WM_PAINT()                void OnPaint()
//   ON_WM_SYSCOMMAND()           void OnSysCommand(UINT id, LPARAM lParam)
//   ON_WM_QUERYDRAGICON()        HCURSOR OnQueryDragIcon()
//
// A handler that wants its message to go on as if no entry had matched (to the later
// entries, the base class's map and then the default window processing) calls
// DeclineMessage(): mapping WM_SYSCOMMAND for the close command alone leaves moving,
// minimizing and the system menu working.
#pragma once

#include <windows.h>

#define DECLARE_MESSAGE_MAP()                                                                 \
protected:                                                                                    \
    BOOL ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                \
    BOOL theClass::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) \
    {                                                                                         \
        using TheBaseClass = baseClass;                                                       \
        const CWnd::Identity self = GetIdentity();                                            \
        (void)self;                                                                           \
        (void)wParam;                                                                         \
        (void)lParam;

#define END_MESSAGE_MAP()                                                                     \
        return TheBaseClass::ProcessWindowMessage(message, wParam, lParam, result);           \
    }

// Runs one handler call; the map returns TRUE unless the handler declined the message.
// An object the handler freed is not touched again (the dialog procedure counts it).
#define PALTO_HANDLE(call)                                                                    \
    {                                                                                         \
        const bool outerDeclined = BeginHandler();                                            \
        call;                                                                                 \
        if (!CWnd::IsLive(self)) return TRUE;                                                 \
        if (EndHandler(outerDeclined)) return TRUE;                                           \
    }

#define ON_MESSAGE(msg, fn)                                                                   \
    if (message == (msg)) PALTO_HANDLE(result = (this->*(fn))(wParam, lParam))

#define ON_CONTROL(code, id, fn)                                                              \
    if (message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code))          \
        PALTO_HANDLE((this->*(fn))(); result = 0)

#define ON_COMMAND(id, fn) ON_CONTROL(0, id, fn)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)

#define ON_WM_TIMER()                                                                         \
    if (message == WM_TIMER) PALTO_HANDLE(OnTimer(static_cast<UINT_PTR>(wParam)); result = 0)

#define ON_WM_PAINT()                                                                         \
    if (message == WM_PAINT) PALTO_HANDLE(OnPaint(); result = 0)

#define ON_WM_SYSCOMMAND()                                                                    \
    if (message == WM_SYSCOMMAND) PALTO_HANDLE(OnSysCommand(static_cast<UINT>(wParam), lParam); result = 0)

#define ON_WM_QUERYDRAGICON()                                                                 \
    if (message == WM_QUERYDRAGICON) PALTO_HANDLE(result = reinterpret_cast<LRESULT>(OnQueryDragIcon()))
