#include "tools/modcheck/ModCheck.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <map>
#include <optional>
#include <string_view>

#include <commctrl.h>

#include "framework/Format.h"
#include "resources/ids.h"

namespace palto::modcheck {

DataModule::DataModule(const std::wstring& path)
    : m_module(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
{
}

DataModule::~DataModule()
{
    if (m_module) ::FreeLibrary(m_module);
}

namespace {

std::wstring_view Resource(HMODULE module, LPCWSTR type, WORD id)
{
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    HGLOBAL loaded = ::LoadResource(module, found);
    const auto* data = loaded ? static_cast<const wchar_t*>(::LockResource(loaded)) : nullptr;
    return data ? std::wstring_view(data, ::SizeofResource(module, found) / sizeof(wchar_t)) : std::wstring_view();
}

// ---- Strings

// Every non-empty string of the module by id: the string table lies in blocks of 16.
std::map<UINT, std::wstring> Strings(HMODULE module)
{
    std::map<UINT, std::wstring> strings;
    std::vector<WORD> blocks;
    ::EnumResourceNamesW(
        module, RT_STRING,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR blocks) -> BOOL {
            if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<WORD>*>(blocks)->push_back(LOWORD(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&blocks));
    for (const WORD block : blocks) {
        const std::wstring_view data = Resource(module, RT_STRING, block);
        size_t at = 0;
        for (UINT i = 0; i < 16 && at < data.size(); ++i) {
            const size_t length = data[at++];
            const std::wstring_view text = data.substr(at, length);
            at += length;
            if (!text.empty()) strings[(block - 1u) * 16u + i] = std::wstring(text);
        }
    }
    return strings;
}

std::wstring Describe(const std::vector<TemplateArg>& kinds)
{
    if (kinds.empty()) return L"none";
    std::wstring text;
    for (const TemplateArg kind : kinds) {
        if (!text.empty()) text += L", ";
        switch (kind) {
        case TemplateArg::Int: text += L"integer"; break;
        case TemplateArg::Int64: text += L"64-bit integer"; break;
        case TemplateArg::Real: text += L"real"; break;
        case TemplateArg::Char: text += L"character"; break;
        case TemplateArg::Text: text += L"text"; break;
        }
    }
    return text;
}

// How often the insert %n occurs in a message-style template (%1 is not %10).
int CountInsert(std::wstring_view text, int n)
{
    const std::wstring insert = L"%" + std::to_wstring(n);
    int count = 0;
    for (size_t at = text.find(insert); at != std::wstring_view::npos; at = text.find(insert, at + 1)) {
        if (at > 0 && text[at - 1] == L'%') continue;  // "%%1" is a percent sign and a 1
        const size_t end = at + insert.size();
        if (end < text.size() && std::iswdigit(text[end])) continue;
        ++count;
    }
    return count;
}

// Message-style templates, filled with inserts rather than printf conversions.
bool IsMessageStyle(UINT id) { return id == IDS_STEP_CAPTION || id == IDS_MEDIA_PROMPT_PART; }

void CheckStrings(HMODULE english, HMODULE module, std::vector<std::wstring>& problems)
{
    const auto reference = Strings(english);
    const auto strings = Strings(module);
    auto report = [&](UINT id, const std::wstring& what) { problems.push_back(L"string " + std::to_wstring(id) + L": " + what); };
    for (const auto& [id, englishText] : reference) {
        const auto found = strings.find(id);
        if (found == strings.end()) {
            report(id, L"missing or empty");
            continue;
        }
        if (IsMessageStyle(id)) continue;
        const auto expected = TemplateArguments(englishText);
        const auto actual = TemplateArguments(found->second);
        if (actual != expected) {
            report(id, L"conversions take " + Describe(actual) + L" where English takes " + Describe(expected) +
                           L": \"" + found->second + L"\"");
        }
    }
    const auto text = [&](UINT id) {
        const auto found = strings.find(id);
        return found == strings.end() ? std::wstring() : found->second;
    };
    if (strings.count(IDS_STEP_CAPTION) && CountInsert(text(IDS_STEP_CAPTION), 1) != 1)
        report(IDS_STEP_CAPTION, L"must hold %1 once: \"" + text(IDS_STEP_CAPTION) + L"\"");
    if (strings.count(IDS_MEDIA_PROMPT_PART)) {
        for (int n = 1; n <= 3; ++n) {
            if (CountInsert(text(IDS_MEDIA_PROMPT_PART), n) != 1)
                report(IDS_MEDIA_PROMPT_PART, L"must hold %" + std::to_wstring(n) + L" once: \"" + text(IDS_MEDIA_PROMPT_PART) + L"\"");
        }
    }
    if (strings.count(IDS_DECIMAL_SEPARATOR) && !IsDecimalSeparator(text(IDS_DECIMAL_SEPARATOR)))
        report(IDS_DECIMAL_SEPARATOR, L"must be one character other than a digit or a blank: \"" + text(IDS_DECIMAL_SEPARATOR) + L"\"");
    // An empty keyword would hide every labelled partition: the English module needs them too.
    for (const UINT keyword : {IDS_OEM_KEYWORD1, IDS_OEM_KEYWORD2}) {
        if (!reference.count(keyword) && !strings.count(keyword)) report(keyword, L"missing or empty");
    }
}

// ---- Dialog templates

enum class Kind { Static, PushButton, RadioButton, DropDownList, Edit, ProgressBar, GroupBox, Other };

const wchar_t* KindName(Kind kind)
{
    switch (kind) {
    case Kind::Static: return L"a static text";
    case Kind::PushButton: return L"a push button";
    case Kind::RadioButton: return L"a radio button";
    case Kind::DropDownList: return L"a drop-down list";
    case Kind::Edit: return L"an edit field";
    case Kind::ProgressBar: return L"a progress bar";
    case Kind::GroupBox: return L"a group box";
    case Kind::Other: break;
    }
    return L"another kind of control";
}

struct Control {
    int id = 0;
    DWORD style = 0;
    RECT rect{};  // dialog units
    Kind kind = Kind::Other;
    std::wstring text;
};

struct Dialog {
    SIZE size{};  // dialog units
    std::vector<Control> controls;
};

// A reader of a dialog template that never reads past its end.
class TemplateReader {
public:
    explicit TemplateReader(std::wstring_view data) : m_data(reinterpret_cast<const BYTE*>(data.data())), m_size(data.size() * 2) {}

    bool ok() const { return m_ok; }
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    void Align4() { m_at = (m_at + 3) & ~size_t{3}; }
    void Skip(size_t bytes) { m_at += bytes; m_ok = m_ok && m_at <= m_size; }

    // A name or an ordinal: a string, 0xFFFF and a number, or nothing.
    std::wstring NameOrOrdinal(WORD& ordinal)
    {
        ordinal = 0;
        const WORD first = Word();
        if (first == 0xFFFF) {
            ordinal = Word();
            return {};
        }
        std::wstring text;
        for (WORD c = first; c != 0 && m_ok; c = Word()) text += static_cast<wchar_t>(c);
        return text;
    }

private:
    template <class T>
    T Take()
    {
        T value{};
        if (m_at + sizeof(T) > m_size) {
            m_ok = false;
            return value;
        }
        std::copy_n(m_data + m_at, sizeof(T), reinterpret_cast<BYTE*>(&value));
        m_at += sizeof(T);
        return value;
    }

    const BYTE* m_data;
    size_t m_size;
    size_t m_at = 0;
    bool m_ok = true;
};

Kind KindOf(WORD classOrdinal, const std::wstring& className, DWORD style)
{
    const DWORD type = style & 0x0F;
    if (classOrdinal == 0x0080 || _wcsicmp(className.c_str(), L"Button") == 0) {
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) return Kind::PushButton;
        if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) return Kind::RadioButton;
        if (type == BS_GROUPBOX) return Kind::GroupBox;
        return Kind::Other;
    }
    if (classOrdinal == 0x0081 || _wcsicmp(className.c_str(), L"Edit") == 0) return Kind::Edit;
    if (classOrdinal == 0x0082 || _wcsicmp(className.c_str(), L"Static") == 0) return Kind::Static;
    if (classOrdinal == 0x0085 || _wcsicmp(className.c_str(), L"ComboBox") == 0)
        return (style & 3) == CBS_DROPDOWNLIST ? Kind::DropDownList : Kind::Other;
    if (_wcsicmp(className.c_str(), PROGRESS_CLASSW) == 0) return Kind::ProgressBar;
    return Kind::Other;
}

// The dialog template `id` of the module, or nothing when it is missing or not an
// extended template.
std::optional<Dialog> ReadDialog(HMODULE module, WORD id)
{
    TemplateReader in(Resource(module, RT_DIALOG, id));
    if (in.Word() != 1 || in.Word() != 0xFFFF) return std::nullopt;
    in.Skip(8);  // help id, extended style
    const DWORD style = in.Dword();
    const WORD count = in.Word();
    in.Skip(4);  // x, y
    Dialog dialog;
    dialog.size.cx = static_cast<short>(in.Word());
    dialog.size.cy = static_cast<short>(in.Word());
    WORD ordinal = 0;
    in.NameOrOrdinal(ordinal);  // menu
    in.NameOrOrdinal(ordinal);  // class
    in.NameOrOrdinal(ordinal);  // caption
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        in.Skip(6);  // point size, weight, italic, character set
        in.NameOrOrdinal(ordinal);
    }
    for (WORD i = 0; i < count && in.ok(); ++i) {
        in.Align4();
        Control control;
        in.Skip(8);  // help id, extended style
        control.style = in.Dword();
        const short x = static_cast<short>(in.Word()), y = static_cast<short>(in.Word());
        const short cx = static_cast<short>(in.Word()), cy = static_cast<short>(in.Word());
        control.rect = {x, y, x + cx, y + cy};
        control.id = static_cast<int>(in.Dword());
        WORD classOrdinal = 0;
        const std::wstring className = in.NameOrOrdinal(classOrdinal);
        control.text = in.NameOrOrdinal(ordinal);
        in.Skip(in.Word());  // creation data
        control.kind = KindOf(classOrdinal, className, control.style);
        // A drop-down list's template height includes its open list; closed it is one line.
        if (control.kind == Kind::DropDownList) control.rect.bottom = std::min<LONG>(control.rect.bottom, y + 12);
        dialog.controls.push_back(control);
    }
    if (!in.ok()) return std::nullopt;
    return dialog;
}

// The controls the wizard reaches in each dialog, with the kind it drives them as.
struct ExpectedControl {
    int id;
    Kind kind;
};
struct ExpectedDialog {
    WORD id;
    std::vector<ExpectedControl> controls;
};

const std::vector<ExpectedDialog>& ExpectedDialogs()
{
    using K = Kind;
    static const std::vector<ExpectedDialog> dialogs = {
        {IDD_MAIN, {{IDC_HEADING, K::Static}, {IDC_STEP_CAPTION, K::Static}, {IDC_BACK, K::PushButton},
                    {IDC_NEXT, K::PushButton}, {IDC_WIZARD_CANCEL, K::PushButton}}},
        {IDD_STEP_PANEL, {{IDC_STEP1_TITLE, K::Static}, {IDC_STEP1_PASSED, K::Static}, {IDC_STEP1_CURRENT, K::Static},
                          {IDC_STEP1_CHOICE, K::Static}, {IDC_STEP2_TITLE, K::Static}, {IDC_STEP2_PASSED, K::Static},
                          {IDC_STEP2_CURRENT, K::Static}, {IDC_STEP2_CHOICE, K::Static}, {IDC_STEP3_TITLE, K::Static},
                          {IDC_STEP3_PASSED, K::Static}, {IDC_STEP3_CURRENT, K::Static}, {IDC_STEP3_CHOICE, K::Static},
                          {IDC_STEP4_TITLE, K::Static}, {IDC_STEP4_PASSED, K::Static}, {IDC_STEP4_CURRENT, K::Static},
                          {IDC_STEP4_CHOICE, K::Static}}},
        {IDD_TYPE_PAGE, {{IDC_TYPE_ENTIRE, K::RadioButton}, {IDC_TYPE_DISK, K::RadioButton}, {IDC_TYPE_PARTITION, K::RadioButton}}},
        {IDD_SOURCE_PAGE, {{IDC_SRC_LATEST, K::RadioButton}, {IDC_SRC_CHOOSE, K::RadioButton},
                           {IDC_SRC_DRIVE_TYPE, K::DropDownList}, {IDC_SRC_PROJECT, K::DropDownList},
                           {IDC_SRC_ARCHIVE, K::DropDownList}, {IDC_SRC_NO_PROJECTS, K::Static}}},
        {IDD_DST_ENTIRE_PAGE, {{IDC_DST_ENTIRE_HEADING, K::Static}, {IDC_DST_DISKS, K::Static}, {IDC_DST_DISKS_DO_NOT_FIT, K::Static}}},
        {IDD_SUMMARY_PAGE, {{IDC_SUMMARY_HEADING, K::Static}, {IDC_SUMMARY_TYPE, K::Static}, {IDC_SUMMARY_BACKUP, K::Static},
                            {IDC_SUMMARY_DESTINATION, K::Static}}},
        {IDD_DST_DISK_PAGE, {{IDC_DST_SOURCE, K::DropDownList}, {IDC_DST_TARGET, K::DropDownList}, {IDC_DST_SIZE_WARNING, K::Static}}},
        {IDD_PROGRESS, {{IDC_PROGRESS_STAGE, K::Static}, {IDC_PROGRESS_PERCENT, K::Static}, {IDC_PROGRESS_BAR, K::ProgressBar},
                        {IDC_PROGRESS_TIME, K::Static}, {IDCANCEL, K::PushButton}}},
        {IDD_PASSWORD, {{IDC_PASSWORD, K::Edit}, {IDOK, K::PushButton}, {IDCANCEL, K::PushButton}}},
    };
    return dialogs;
}

bool IsPage(WORD id)
{
    return id == IDD_TYPE_PAGE || id == IDD_SOURCE_PAGE || id == IDD_DST_ENTIRE_PAGE || id == IDD_SUMMARY_PAGE ||
           id == IDD_DST_DISK_PAGE;
}

std::wstring Name(const Control& control)
{
    if (control.id != -1 && control.id != 0xFFFF) return L"control " + std::to_wstring(control.id);
    return L"\"" + control.text + L"\"";
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

void CheckPlaces(const Dialog& dialog, std::vector<std::wstring>& problems, const std::wstring& where)
{
    const RECT bounds{0, 0, dialog.size.cx, dialog.size.cy};
    for (const Control& control : dialog.controls) {
        if (!Inside(control.rect, bounds)) problems.push_back(where + Name(control) + L" lies outside the dialog");
    }
    // Controls hidden at first share their place with others (the step markers, the
    // warnings); a group box holds the controls inside it.
    const auto placed = [](const Control& c) { return (c.style & WS_VISIBLE) && c.kind != Kind::GroupBox; };
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        for (size_t j = i + 1; j < dialog.controls.size(); ++j) {
            const Control& a = dialog.controls[i];
            const Control& b = dialog.controls[j];
            if (placed(a) && placed(b) && Overlap(a.rect, b.rect))
                problems.push_back(where + Name(a) + L" and " + Name(b) + L" overlap");
        }
    }
}

// Tab reaches every control the user works with, in reading order: top to bottom, and
// left to right along a row. The arrow keys, not Tab, move within a radio group.
void CheckTabOrder(const Dialog& dialog, std::vector<std::wstring>& problems, const std::wstring& where)
{
    const Control* previousStop = nullptr;
    const Control* previous = nullptr;
    for (const Control& control : dialog.controls) {
        const bool inRadioGroup = control.kind == Kind::RadioButton && previous && previous->kind == Kind::RadioButton &&
                                  !(control.style & WS_GROUP);
        previous = &control;
        const bool worked = control.kind == Kind::PushButton || control.kind == Kind::RadioButton ||
                            control.kind == Kind::DropDownList || control.kind == Kind::Edit;
        if (!(control.style & WS_TABSTOP)) {
            if (worked && !inRadioGroup) problems.push_back(where + Name(control) + L" cannot be reached with Tab");
            continue;
        }
        if (previousStop) {
            const RECT& a = previousStop->rect;
            const RECT& b = control.rect;
            if (b.top < a.top || (b.top == a.top && b.left < a.left))
                problems.push_back(where + L"Tab goes back from " + Name(*previousStop) + L" to " + Name(control));
        }
        previousStop = &control;
    }
}

// The access key of a text ("&Next" gives N), or 0.
wchar_t AccessKey(std::wstring_view text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return static_cast<wchar_t>(std::towupper(text[i + 1]));
        ++i;
    }
    return 0;
}

struct Labelled {
    wchar_t key;
    std::wstring text;
};

std::vector<Labelled> AccessKeys(const Dialog& dialog)
{
    std::vector<Labelled> keys;
    for (const Control& control : dialog.controls) {
        if (control.kind == Kind::Static && (control.style & SS_NOPREFIX)) continue;
        if (const wchar_t key = AccessKey(control.text)) keys.push_back({key, control.text});
    }
    return keys;
}

void CheckAccessKeys(const std::vector<Labelled>& keys, std::vector<std::wstring>& problems, const std::wstring& where)
{
    for (size_t i = 0; i < keys.size(); ++i) {
        for (size_t j = i + 1; j < keys.size(); ++j) {
            if (keys[i].key == keys[j].key) {
                problems.push_back(where + L"access key " + std::wstring(1, keys[i].key) + L" of both \"" + keys[i].text +
                                   L"\" and \"" + keys[j].text + L"\"");
            }
        }
    }
}

void CheckDialogs(HMODULE module, std::vector<std::wstring>& problems)
{
    const auto strings = Strings(module);
    const auto text = [&](UINT id) {
        const auto found = strings.find(id);
        return found == strings.end() ? std::wstring() : found->second;
    };
    for (const ExpectedDialog& expected : ExpectedDialogs()) {
        const std::wstring where = L"dialog " + std::to_wstring(expected.id) + L": ";
        const auto dialog = ReadDialog(module, expected.id);
        if (!dialog) {
            problems.push_back(where + L"missing or unreadable");
            continue;
        }
        for (const ExpectedControl& want : expected.controls) {
            const auto found = std::find_if(dialog->controls.begin(), dialog->controls.end(),
                                            [&](const Control& c) { return c.id == want.id; });
            if (found == dialog->controls.end())
                problems.push_back(where + L"control " + std::to_wstring(want.id) + L" missing");
            else if (found->kind != want.kind)
                problems.push_back(where + L"control " + std::to_wstring(want.id) + L" is " + KindName(found->kind) +
                                   L", not " + KindName(want.kind));
        }
        CheckPlaces(*dialog, problems, where);
        CheckTabOrder(*dialog, problems, where);
        // A page shares its window with the wizard's buttons, whose texts come from strings;
        // on the summary Next reads "Restore".
        auto keys = AccessKeys(*dialog);
        if (IsPage(expected.id)) {
            const UINT next = expected.id == IDD_SUMMARY_PAGE ? IDS_START_RESTORE : IDS_NEXT;
            for (const UINT button : {next, UINT{IDS_BACK}, UINT{IDS_CANCEL}}) {
                if (const wchar_t key = AccessKey(text(button))) keys.push_back({key, text(button)});
            }
        }
        CheckAccessKeys(keys, problems, where);
    }
}

}  // namespace

std::vector<std::wstring> CheckModule(HMODULE english, HMODULE module)
{
    std::vector<std::wstring> problems;
    CheckStrings(english, module, problems);
    CheckDialogs(module, problems);
    if (!::FindResourceW(module, MAKEINTRESOURCEW(IDI_MAIN), RT_GROUP_ICON))
        problems.push_back(L"icon " + std::to_wstring(IDI_MAIN) + L": missing");
    return problems;
}

}  // namespace palto::modcheck
