#include "app/MediaPromptBox.h"

#include "app/MediaPrompt.h"
#include "app/Texts.h"
#include "resources/ids.h"

int AskForMedium(HWND owner, _MediaRequestNotifyData& request)
{
    const CString partTemplate = LoadText(IDS_MEDIA_PROMPT_PART);
    const CString lastTemplate = LoadText(IDS_MEDIA_PROMPT_LAST);
    const std::wstring text =
        palto::MediaPromptText({partTemplate.str(), lastTemplate.str()}, request.part,
                               FormatFileTime(request.backupTime).str(), request.drive);
    // A window that has gone owns no box: nobody is left to answer it.
    if (text.empty() || !::IsWindow(owner)) return 0;
    const int button = ShowMessage(owner, CString(text), MB_OKCANCEL);
    if (button == IDOK) request.answer = kMediaAnswerOk;
    else if (button == IDCANCEL) request.answer = kMediaAnswerCancel;
    return button;
}
