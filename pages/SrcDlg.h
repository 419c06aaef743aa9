// Second page: the backup to restore from, a project and one of its backups. In latest
// mode the page picks the newest backup that holds what the restore type needs; in
// choose mode the user picks among the projects stored on one kind of drive.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

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
    // The worker's answer: wParam 0 when the backup opened, else the engine's code.
    LRESULT OnArchiveOpened(WPARAM result, LPARAM);

    void FillDriveTypeList();
    void UpdateAvailability();
    // Both builders: false when the engine gave no project list (the lists stay as they were).
    bool BuildLatestList();
    bool BuildListByDriveType();
    void ReleaseDescriptions();

    // A description the engine filled: handed back to the engine, then freed, when it goes.
    struct DescriptionRelease {
        void operator()(_ProjectDesc* desc) const;
    };
    using FilledDescription = std::unique_ptr<_ProjectDesc, DescriptionRelease>;

    CComboBox m_driveTypeList;                      // 1030: fixed disks, CD/DVD drives
    CComboBox m_projectList;                        // 1031: item data = project id
    CComboBox m_archiveList;                        // 1081: newest first
    std::vector<FilledDescription> m_descriptions;  // in the order of m_projectList
    std::vector<std::uint64_t> m_archiveIds;        // in the order of m_archiveList
    int m_historyResult = 0;                        // the engine's answer when m_archiveList was filled
    CString m_latestCaption;                        // of 1027, as the template gives it
    std::int32_t m_listType = -1;                   // the restore type the lists were built for
    bool m_hasProjects = true;                      // drives Next and the no-backup note 1046
    std::uint32_t m_pendingProjectId = 0;           // the choice the archive check is opening
    std::uint64_t m_pendingArchiveId = 0;
    wchar_t m_pendingDrive = 0;

private:
    int RestoreType() const;
    HWND WizardWindow() const;
    bool ListCandidates(const std::function<bool(const _ProjectDesc&)>& wanted);
    void AddProject(std::uint32_t id, FilledDescription desc);
    std::uint32_t ProjectIdAt(int index) const;
    void EnableLists(bool enable);
    void ClearLists();
    void SetHasProjects(bool hasProjects);
    void UpdateLatestCaption();
    void StartArchiveCheck();
    void StoreChoice(std::uint32_t projectId, std::uint64_t archiveId);
};
