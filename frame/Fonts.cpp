#include "frame/Fonts.h"

HFONT g_fontBold = nullptr;
HFONT g_fontNormal = nullptr;

namespace {
HFONT CreateArial(int points, int weight, int pixelsPerInch)
{
    return ::CreateFontW(-::MulDiv(points, pixelsPerInch, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
}
}  // namespace

void CreateWizardFonts()
{
    if (g_fontBold && g_fontNormal) return;
    HDC screen = ::GetDC(nullptr);
    const int pixelsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    if (!g_fontBold) g_fontBold = CreateArial(10, FW_BOLD, pixelsPerInch);
    if (!g_fontNormal) g_fontNormal = CreateArial(8, FW_NORMAL, pixelsPerInch);
}
