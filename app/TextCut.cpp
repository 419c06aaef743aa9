#include "app/TextCut.h"

namespace palto {

std::wstring CutText(std::wstring_view text, size_t longest, size_t kept)
{
    if (text.size() <= longest) return std::wstring(text);
    return std::wstring(text.substr(0, kept)) + L"..";
}

}  // namespace palto
