#include "app/MediaPrompt.h"

#include "framework/Format.h"

namespace palto {

namespace {

// The engine's drive as a character to show: anything else than one printable
// character of the basic plane shows as '?', so that a bad value never ends the text
// early or shows as nothing.
wchar_t ShownDrive(std::int32_t drive)
{
    const bool control = drive <= 0x20 || (drive >= 0x7F && drive < 0xA0);
    const bool surrogate = drive >= 0xD800 && drive <= 0xDFFF;
    if (control || surrogate || drive > 0xFFFF) return L'?';
    return static_cast<wchar_t>(drive);
}

bool AsksForTheLastMedium(std::int32_t part)
{
    return part == -1 || part == -2 || part == -3;
}

}  // namespace

std::wstring MediaPromptText(const MediaPromptTemplates& templates, std::int32_t part, std::wstring_view dateText,
                             std::int32_t drive)
{
    const wchar_t shownDrive = ShownDrive(drive);
    if (AsksForTheLastMedium(part)) return FormatText(templates.lastTemplate, dateText, shownDrive);
    // Placeholders by number, not by position: each value goes to its own placeholder
    // wherever the translation puts it, and a missing or repeated one moves no other.
    return FormatMessageText(templates.partTemplate, part, dateText, shownDrive);
}

}  // namespace palto
