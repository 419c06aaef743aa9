// The wizard's two fonts, one of each for the whole process: bold headings and the
// normal text of the step panel.
#pragma once

#include <windows.h>

extern HFONT g_fontBold;    // Arial 10 point, bold
extern HFONT g_fontNormal;  // Arial 8 point

// Creates both fonts for the screen's vertical resolution, once per process.
void CreateWizardFonts();
