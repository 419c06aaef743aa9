// Second page: the backup to restore from, a project and one of its backups. In latest
// mode the page picks the newest backup that holds what the restore type needs; in
// choose mode the user picks among the projects stored on one kind of drive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/ArchiveQuery.h"
#include "engine/HalvexRecords.h"
#include "frame/WizardPage.h"

class CSrcDlg_HardDrive_Partition : public CWizardPage {
public:
    explicit CSrcDlg_HardDrive_Partition(CWnd* parent = nullptr);
    ~CSrcDlg_HardDrive_Partition() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnNextStep() override;
    void OnEnterStep() override;
    std::optional<palto::AnswerDifference> ApplyAnswers(const palto::Answers& answers) override;

protected:
    DECLARE_MESSAGE_MAP()

    void OnLatestClicked();
    void OnChooseClicked();
    void OnDriveTypeChanged();
    // Lists the backups of the selected project; also the handler of a new selection.
    void FillArchiveList();
    // The worker's answer, with the check's id: its outcome tells whether the backup opened.
    LRESULT OnArchiveOpened(WPARAM, LPARAM checkId);

    void FillDriveTypeList();
    void UpdateAvailability();
    // Both builders: false when the engine gave no project list (the lists stay as they were).
    bool BuildLatestList();
    bool BuildListByDriveType();
    void ForgetListedProjects();

    CComboBox m_driveTypeList;                      // 1030: fixed disks, CD/DVD drives
    CComboBox m_projectList;                        // 1031: item data = project id
    CComboBox m_archiveList;                        // 1081: newest first
    // The drive letter of each listed project's location, in the order of m_projectList:
    // all the page keeps of a description, which goes back to the engine once read.
    std::vector<wchar_t> m_projectDrives;
    std::vector<std::uint64_t> m_archiveIds;        // in the order of m_archiveList
    int m_historyResult = 0;                        // the engine's answer when m_archiveList was filled
    CString m_latestCaption;                        // of 1027, as the template gives it
    std::int32_t m_listType = -1;                   // the restore type the lists were built for
    bool m_hasProjects = true;                      // drives Next and the no-backup note 1046
    std::uint32_t m_pendingProjectId = 0;           // the choice the archive check is opening
    std::uint64_t m_pendingArchiveId = 0;
    wchar_t m_pendingDrive = 0;
    PendingArchiveQuery m_archiveCheck;             // while the worker opens it

private:
    // What a walk over the engine's projects met besides the projects it listed.
    struct CandidateWalk {
        bool projectsListed = false;   // false: the engine gave no project list
        bool outOfMemory = false;      // the walk stopped where memory ran out
        int describeFailure = 0;       // the engine's code for the first project it could not describe
    };

    int RestoreType() const;
    HWND WizardWindow() const;
    CandidateWalk ListCandidates(const std::function<bool(const _ProjectDesc&)>& wanted);
    bool AddProject(std::uint32_t id, const std::wstring& text, wchar_t drive);
    void ReportIncompleteWalk(const CandidateWalk& walk);
    std::uint32_t ProjectIdAt(int index) const;
    void EnableLists(bool enable);
    void ClearLists();
    void SetHasProjects(bool hasProjects);
    void UpdateLatestCaption();
    void StartArchiveCheck();
    void StoreChoice(std::uint32_t projectId, std::uint64_t archiveId);
};
