#include "pages/SrcDlg.h"

#include <map>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>

#include "app/EngineClient.h"
#include "app/ArchiveQuery.h"
#include "app/Texts.h"
#include "app/WizardContext.h"
#include "engine/RecordReaders.h"
#include "frame/WizardMessages.h"
#include "pages/AnswerMatch.h"
#include "pages/SourceChoice.h"
#include "resources/ids.h"

namespace {

// Not an engine code: a check that could not start shows the engine's general error text.
constexpr int kArchiveCheckFailed = -1;

// The list of all projects, handed back to the engine when it goes.
class ProjectList {
public:
    ProjectList() : m_result(GetEngineClient().QueryProjects(&m_list, false, kAnyDrive)) {}
    ~ProjectList()
    {
        if (m_result == 0) GetEngineClient().FreeProjects(&m_list);
    }
    ProjectList(const ProjectList&) = delete;
    ProjectList& operator=(const ProjectList&) = delete;

    bool ok() const { return m_result == 0; }
    std::span<const std::uint32_t> ids() const { return palto::ProjectIds(m_list); }

private:
    _Projects* m_list = nullptr;
    int m_result;
};

// The backups of one project, handed back to the engine when it goes.
class History {
public:
    explicit History(std::uint32_t projectId)
        : m_result(GetEngineClient().QueryProjectHistory(projectId, &m_list, kAnyDrive))
    {
    }
    ~History()
    {
        if (m_result == 0) GetEngineClient().FreeProjectHistory(m_list);
    }
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    bool ok() const { return m_result == 0; }
    int result() const { return m_result; }
    std::span<const _ProjectHistoryEntry> entries() const { return palto::HistoryEntries(m_list); }

private:
    _ProjectHistoryList* m_list = nullptr;
    int m_result;
};

std::uint64_t NewestBackupOf(std::uint32_t projectId)
{
    const History history(projectId);
    return history.ok() ? palto::NewestBackupTime(history.entries()) : 0;
}

// A description the engine filled, handed back to the engine when this goes.
class FilledDescription {
public:
    explicit FilledDescription(_ProjectDesc& desc) : m_desc(desc) {}
    ~FilledDescription() { GetEngineClient().FreeProject(m_desc); }
    FilledDescription(const FilledDescription&) = delete;
    FilledDescription& operator=(const FilledDescription&) = delete;

private:
    _ProjectDesc& m_desc;
};

// The descriptions of one walk over the projects, one at a time in the same memory: each
// query gets it in the state of a new description, and each goes back to the engine as
// soon as the page has read what it keeps. So a walk holds one description (724 KiB)
// whatever the number of projects, and does not have the system map a fresh block for
// each of them.
class Describer {
public:
    // The engine's answer for project `id`; on 0 `read` has seen the description, which
    // is back with the engine when this returns, whatever `read` did.
    int Describe(std::uint32_t id, const std::function<void(const _ProjectDesc&)>& read)
    {
        if (m_desc) palto::RenewDescription(*m_desc);   // no query sees the answer to another
        else m_desc.reset(new (std::nothrow) _ProjectDesc);
        if (!m_desc) return halvex::kOutOfMemory;
        const int result = GetEngineClient().QueryProject(id, *m_desc, kAnyDrive);
        if (result != 0) return result;
        const FilledDescription filled(*m_desc);
        read(*m_desc);
        return 0;
    }

private:
    std::unique_ptr<_ProjectDesc> m_desc;
};

// A list that is not redrawn while it fills, only once when this goes: Wine and Windows
// would otherwise repaint it and set its scroll bar for every entry added.
class RedrawPaused {
public:
    explicit RedrawPaused(CWnd& list) : m_list(list) { m_list.SetRedraw(FALSE); }
    ~RedrawPaused()
    {
        m_list.SetRedraw(TRUE);
        m_list.Invalidate();
    }
    RedrawPaused(const RedrawPaused&) = delete;
    RedrawPaused& operator=(const RedrawPaused&) = delete;

private:
    CWnd& m_list;
};

// What the page keeps of a project it lists.
struct Candidate {
    std::wstring text;   // as the project list shows it
    wchar_t drive;       // of its location
};

// The kind of drive (GetDriveTypeW) a backup lies on, from the letter its location
// starts with; each letter is asked once per walk, since the system answers each
// question with a visit to the drive.
class DriveKinds {
public:
    UINT Of(const _ProjectDesc& desc)
    {
        const wchar_t letter = palto::LocationDrive(&desc);
        if (!letter) return DRIVE_NO_ROOT_DIR;
        const auto known = m_kinds.find(letter);
        if (known != m_kinds.end()) return known->second;
        const wchar_t root[] = {letter, L':', L'\\', 0};
        const UINT kind = ::GetDriveTypeW(root);
        m_kinds.emplace(letter, kind);
        return kind;
    }

private:
    std::map<wchar_t, UINT> m_kinds;
};

}  // namespace

CSrcDlg_HardDrive_Partition::CSrcDlg_HardDrive_Partition(CWnd* parent) : CWizardPage(IDD_SOURCE_PAGE, parent) {}

CSrcDlg_HardDrive_Partition::~CSrcDlg_HardDrive_Partition() = default;

BEGIN_MESSAGE_MAP(CSrcDlg_HardDrive_Partition, CWizardPage)
    ON_BN_CLICKED(IDC_SRC_LATEST, &CSrcDlg_HardDrive_Partition::OnLatestClicked)
    ON_BN_CLICKED(IDC_SRC_CHOOSE, &CSrcDlg_HardDrive_Partition::OnChooseClicked)
    ON_CBN_SELCHANGE(IDC_SRC_DRIVE_TYPE, &CSrcDlg_HardDrive_Partition::OnDriveTypeChanged)
    ON_CBN_SELCHANGE(IDC_SRC_PROJECT, &CSrcDlg_HardDrive_Partition::FillArchiveList)
    ON_MESSAGE(WM_ARCHIVE_OPENED, &CSrcDlg_HardDrive_Partition::OnArchiveOpened)
END_MESSAGE_MAP()

void CSrcDlg_HardDrive_Partition::DoDataExchange(CDataExchange* pDX)
{
    CWizardPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SRC_DRIVE_TYPE, m_driveTypeList);
    DDX_Control(pDX, IDC_SRC_PROJECT, m_projectList);
    DDX_Control(pDX, IDC_SRC_ARCHIVE, m_archiveList);
}

BOOL CSrcDlg_HardDrive_Partition::OnInitDialog()
{
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    CWizardPage::OnInitDialog();
    CheckDlgButton(IDC_SRC_LATEST, BST_CHECKED);
    FillDriveTypeList();
    m_latestCaption = GetDlgItemText(IDC_SRC_LATEST);
    return TRUE;
}

void CSrcDlg_HardDrive_Partition::FillDriveTypeList()
{
    if (m_driveTypeList.GetCount() != 2) {
        m_driveTypeList.AddString(LoadText(IDS_DRIVES_FIXED));
        m_driveTypeList.AddString(LoadText(IDS_DRIVES_CDROM));
    }
    m_driveTypeList.SetCurSel(0);
}

int CSrcDlg_HardDrive_Partition::RestoreType() const
{
    IWizardHost* host = Host();
    return host ? host->Context().restoreType : -1;
}

HWND CSrcDlg_HardDrive_Partition::WizardWindow() const
{
    HWND parent = ::GetParent(m_hWnd);
    return parent ? parent : m_hWnd;
}

void CSrcDlg_HardDrive_Partition::OnEnterStep()
{
    UpdateAvailability();
    const int type = RestoreType();
    if (type != m_listType) {
        CheckDlgButton(IDC_SRC_LATEST, BST_CHECKED);
        CheckDlgButton(IDC_SRC_CHOOSE, BST_UNCHECKED);
        EnableLists(false);
        // The type counts as listed only once its list is built: an engine that fails
        // now is asked again next time, and meanwhile no backup of another type is offered.
        if (BuildLatestList()) {
            m_listType = type;
        } else {
            m_listType = -1;
            ClearLists();
        }
    }
    SetFocus();
}

void CSrcDlg_HardDrive_Partition::UpdateAvailability()
{
    if (IWizardHost* host = Host()) host->EnableNextButton(m_hasProjects);
    ::ShowWindow(GetDlgItem(IDC_SRC_NO_PROJECTS), m_hasProjects ? SW_HIDE : SW_SHOW);
}

void CSrcDlg_HardDrive_Partition::SetHasProjects(bool hasProjects)
{
    if (hasProjects == m_hasProjects) return;
    m_hasProjects = hasProjects;
    UpdateAvailability();
}

void CSrcDlg_HardDrive_Partition::EnableLists(bool enable)
{
    for (int id : {IDC_SRC_DRIVE_TYPE, IDC_SRC_PROJECT, IDC_SRC_ARCHIVE}) ::EnableWindow(GetDlgItem(id), enable);
}

void CSrcDlg_HardDrive_Partition::OnLatestClicked()
{
    EnableLists(false);
    BuildLatestList();
}

void CSrcDlg_HardDrive_Partition::OnChooseClicked()
{
    EnableLists(true);
    BuildListByDriveType();
}

void CSrcDlg_HardDrive_Partition::OnDriveTypeChanged()
{
    switch (m_driveTypeList.GetCurSel()) {
    case 1:
        ShowMessage(m_hWnd, LoadText(IDS_CDROM_HINT), MB_OK);
        [[fallthrough]];
    case 0:
        BuildListByDriveType();
        break;
    default:
        break;
    }
}

// Lists every project the engine can describe that holds what the restore type needs and
// that `wanted` accepts. A project the engine cannot describe is passed over and hides no
// other; where memory runs out the walk ends with what it has listed.
CSrcDlg_HardDrive_Partition::CandidateWalk
CSrcDlg_HardDrive_Partition::ListCandidates(const std::function<bool(const _ProjectDesc&)>& wanted)
{
    CandidateWalk walk;
    const ProjectList projects;
    if (!projects.ok()) return walk;
    walk.projectsListed = true;
    ForgetListedProjects();
    m_projectList.ResetContent();
    m_archiveList.ResetContent();
    const int type = RestoreType();
    Describer describer;
    const RedrawPaused paused(m_projectList);
    for (const std::uint32_t id : projects.ids()) {
        std::optional<Candidate> candidate;
        int result = 0;
        try {
            result = describer.Describe(id, [&](const _ProjectDesc& desc) {
                if (palto::IsSourceCandidate(desc.layout, type) && wanted(desc))
                    candidate = Candidate{palto::ProjectDisplayText(palto::DescriptionText(&desc)), palto::LocationDrive(&desc)};
            });
        } catch (const std::bad_alloc&) {
            result = halvex::kOutOfMemory;
        }
        if (result == halvex::kOutOfMemory || (candidate && !AddProject(id, candidate->text, candidate->drive))) {
            walk.outOfMemory = true;
            break;
        }
        if (result != 0 && walk.describeFailure == 0) walk.describeFailure = result;
    }
    return walk;
}

// False when memory ran out: the project is not listed.
bool CSrcDlg_HardDrive_Partition::AddProject(std::uint32_t id, const std::wstring& text, wchar_t drive)
{
    try {
        m_projectDrives.push_back(drive);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int index = m_projectList.AddString(text.c_str());
    if (index < 0) {  // the list has no room for it
        m_projectDrives.pop_back();
        return false;
    }
    m_projectList.SetItemData(index, id);
    return true;
}

// A list that is not all the engine holds says so once it stands: memory that ran out,
// or, when not one project could be listed, the engine's failure to describe one.
void CSrcDlg_HardDrive_Partition::ReportIncompleteWalk(const CandidateWalk& walk)
{
    if (walk.outOfMemory) {
        ShowMessage(m_hWnd, EngineErrorMessage(halvex::kOutOfMemory), MB_OK);
    } else if (walk.describeFailure != 0 && m_projectList.GetCount() == 0) {
        ShowMessage(m_hWnd, EngineErrorMessage(walk.describeFailure), MB_OK);
    }
}

std::uint32_t CSrcDlg_HardDrive_Partition::ProjectIdAt(int index) const
{
    return static_cast<std::uint32_t>(m_projectList.GetItemData(index));
}

bool CSrcDlg_HardDrive_Partition::BuildLatestList()
{
    const CandidateWalk walk = ListCandidates([](const _ProjectDesc&) { return true; });
    if (!walk.projectsListed) return false;
    std::vector<std::uint64_t> newest;
    for (int i = 0; i < m_projectList.GetCount(); ++i) newest.push_back(NewestBackupOf(ProjectIdAt(i)));
    const std::optional<std::size_t> found = palto::ProjectWithNewestBackup(newest);
    if (found) {
        m_projectList.SetCurSel(static_cast<int>(*found));
        FillArchiveList();
    }
    SetHasProjects(found.has_value());
    UpdateLatestCaption();
    ReportIncompleteWalk(walk);
    return true;
}

bool CSrcDlg_HardDrive_Partition::BuildListByDriveType()
{
    EnableLists(true);
    std::optional<UINT> kind;
    switch (m_driveTypeList.GetCurSel()) {
    case 0: kind = DRIVE_FIXED; break;
    case 1: kind = DRIVE_CDROM; break;
    default: break;
    }
    DriveKinds kinds;
    const CandidateWalk walk =
        ListCandidates([kind, &kinds](const _ProjectDesc& desc) { return kind && kinds.Of(desc) == *kind; });
    if (!walk.projectsListed) return false;
    SetHasProjects(m_projectList.GetCount() > 0);
    m_projectList.SetCurSel(0);
    FillArchiveList();
    ReportIncompleteWalk(walk);
    return true;
}

void CSrcDlg_HardDrive_Partition::FillArchiveList()
{
    // Emptied first: a project whose history cannot be read offers no backup, rather
    // than the backups of the project selected before it.
    m_archiveIds.clear();
    m_archiveList.ResetContent();
    m_historyResult = 0;
    const int selected = m_projectList.GetCurSel();
    if (selected < 0) return;
    const History history(ProjectIdAt(selected));
    m_historyResult = history.result();
    if (!history.ok()) return;
    for (const std::uint64_t time : palto::OfferedArchives(history.entries())) {
        if (m_archiveList.AddString(FormatFileTime(time)) < 0) break;
        m_archiveIds.push_back(time);
    }
    m_archiveList.SetCurSel(0);
}

void CSrcDlg_HardDrive_Partition::UpdateLatestCaption()
{
    const std::wstring caption = palto::LatestCaption(m_latestCaption.str(), m_projectList.GetWindowText().str(),
                                                      m_archiveList.GetWindowText().str());
    SetDlgItemText(IDC_SRC_LATEST, caption.c_str());
}

void CSrcDlg_HardDrive_Partition::ClearLists()
{
    ForgetListedProjects();
    m_projectList.ResetContent();
    m_archiveList.ResetContent();
    SetHasProjects(false);
    UpdateLatestCaption();
}

void CSrcDlg_HardDrive_Partition::ForgetListedProjects()
{
    m_archiveIds.clear();
    m_historyResult = 0;
    m_projectDrives.clear();
}

bool CSrcDlg_HardDrive_Partition::OnNextStep()
{
    const int project = m_projectList.GetCurSel();
    const int archive = m_archiveList.GetCurSel();
    const bool chosen = project >= 0 && static_cast<std::size_t>(project) < m_projectDrives.size() && archive >= 0 &&
                        static_cast<std::size_t>(archive) < m_archiveIds.size();
    if (!chosen) {
        // A backup whose dates the engine could not list: say why there is none to choose.
        ShowMessage(m_hWnd, m_historyResult ? EngineErrorMessage(m_historyResult) : LoadText(IDS_NO_PROJECT_SELECTED),
                    MB_OK);
        return false;
    }
    const std::uint32_t projectId = ProjectIdAt(project);
    const std::uint64_t archiveId = m_archiveIds[static_cast<std::size_t>(archive)];
    const wchar_t drive = m_projectDrives[static_cast<std::size_t>(project)];

    const int result = OpenArchive(projectId, archiveId, drive, nullptr);
    if (result == halvex::kMediumNotAvailable) {
        m_pendingProjectId = projectId;
        m_pendingArchiveId = archiveId;
        m_pendingDrive = drive;
        StartArchiveCheck();
        return false;
    }
    if (result != 0) {
        ShowMessage(m_hWnd, EngineErrorMessage(result), MB_OK);
        return false;
    }
    StoreChoice(projectId, archiveId);
    return true;
}

// The medium is missing: the check runs again on a worker that asks for the medium,
// in boxes owned by the wizard window, which takes no input meanwhile. The page hears
// back through WM_ARCHIVE_OPENED.
void CSrcDlg_HardDrive_Partition::StartArchiveCheck()
{
    HWND wizard = WizardWindow();
    ::EnableWindow(wizard, FALSE);
    m_archiveCheck =
        StartArchiveQuery({m_hWnd, WM_ARCHIVE_OPENED, wizard, m_pendingProjectId, m_pendingArchiveId, m_pendingDrive});
    if (!m_archiveCheck) {
        ::EnableWindow(wizard, TRUE);
        ShowMessage(m_hWnd, EngineErrorMessage(kArchiveCheckFailed), MB_OK);
    }
}

// Only the message of the check this page started counts: any other is dropped and
// leaves the wizard window as the running worker keeps it.
LRESULT CSrcDlg_HardDrive_Partition::OnArchiveOpened(WPARAM, LPARAM checkId)
{
    const auto result = TakeArchiveQueryResult(m_archiveCheck, checkId);
    if (!result) return 0;
    const int code = result->code;
    IWizardHost* host = Host();
    if (code == 0) {
        StoreChoice(m_pendingProjectId, m_pendingArchiveId);
        if (host) host->StepForward();  // gives the window its input back, on this thread
        else ::EnableWindow(WizardWindow(), TRUE);
        return 0;
    }
    ::EnableWindow(WizardWindow(), TRUE);
    ShowMessage(m_hWnd, EngineErrorMessage(code), MB_OK);
    return 0;
}

void CSrcDlg_HardDrive_Partition::StoreChoice(std::uint32_t projectId, std::uint64_t archiveId)
{
    IWizardHost* host = Host();
    if (!host) return;
    WizardContext& context = host->Context();
    context.projectId = projectId;
    context.archiveId = archiveId;
    context.stepTexts[1] = m_projectList.GetWindowText();
}

// Latest mode lists every backup that fits the restore type and keeps its newest one:
// when that is the file's choice, the page stays in latest mode. Otherwise the backup is
// chosen in choose mode from those on fixed disks; one on another kind of drive (a USB
// disk, a disc) is chosen in latest mode's own list, where it is listed, so that no hint
// about discs waits for a click.
std::optional<palto::AnswerDifference> CSrcDlg_HardDrive_Partition::ApplyAnswers(const palto::Answers& answers)
{
    if (IsDlgButtonChecked(IDC_SRC_LATEST) != BST_CHECKED) ClickRadio(IDC_SRC_LATEST, IDC_SRC_CHOOSE, IDC_SRC_LATEST);
    const std::vector<std::wstring> listed = EntriesOf(IDC_SRC_PROJECT);
    const int backup = palto::FindListed(listed, answers.backup);
    if (auto difference = palto::ListDifference(answers, L"Backup", backup, listed)) return difference;
    const std::vector<std::wstring> dates = EntriesOf(IDC_SRC_ARCHIVE);
    const bool newest = answers.date ? palto::FindListed(dates, *answers.date) == 0 : !dates.empty();
    if (backup == SelectionOf(IDC_SRC_PROJECT) && newest) return std::nullopt;

    ClickRadio(IDC_SRC_LATEST, IDC_SRC_CHOOSE, IDC_SRC_CHOOSE);
    if (SelectionOf(IDC_SRC_DRIVE_TYPE) != 0) ChooseEntry(IDC_SRC_DRIVE_TYPE, 0);
    int chosen = palto::FindListed(EntriesOf(IDC_SRC_PROJECT), answers.backup);
    if (chosen == palto::kNotListed) {
        ClickRadio(IDC_SRC_LATEST, IDC_SRC_CHOOSE, IDC_SRC_LATEST);
        chosen = palto::FindListed(EntriesOf(IDC_SRC_PROJECT), answers.backup);
    }
    if (auto difference = palto::ListDifference(answers, L"Backup", chosen, EntriesOf(IDC_SRC_PROJECT))) return difference;
    ChooseEntry(IDC_SRC_PROJECT, chosen);

    const std::vector<std::wstring> offered = EntriesOf(IDC_SRC_ARCHIVE);
    const int date = answers.date ? palto::FindListed(offered, *answers.date) : (offered.empty() ? palto::kNotListed : 0);
    if (auto difference = palto::ListDifference(answers, L"Date", date, offered)) return difference;
    ChooseEntry(IDC_SRC_ARCHIVE, date);
    if (IsDlgButtonChecked(IDC_SRC_LATEST) == BST_CHECKED) UpdateLatestCaption();   // it names what is chosen
    return std::nullopt;
}
