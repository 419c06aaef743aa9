// The question the user is asked when the engine needs a part of a backup that is not
// at hand (a media request): the same text wherever the request comes in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace palto {

// The texts a prompt is made from, as the resource module gives them.
struct MediaPromptTemplates {
    // Message-style: "%1" the part number, "%2" the backup's date, "%3" the drive letter,
    // in whatever order the language needs them.
    std::wstring_view partTemplate;
    // printf-style, for the parts -1, -2 and -3 (the last medium): the date as "%s",
    // then the drive letter as "%c".
    std::wstring_view lastTemplate;
};

// The prompt for a request of `part` on `drive` of the backup dated `dateText`. Each
// placeholder shows its own value wherever and however often it stands; one the template
// lacks shows nothing, and no value is read that was not given. A drive that is not a
// printable character shows as '?'. Empty when the template to use is empty: then there
// is nothing to ask.
std::wstring MediaPromptText(const MediaPromptTemplates& templates, std::int32_t part, std::wstring_view dateText,
                             std::int32_t drive);

}  // namespace palto
