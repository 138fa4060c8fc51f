// KyLegendDlg: the modeless "总平图例" dialog beside the legend command. It lists the legend
// directory of the site-plan symbol library and keeps the user's ordered selection in
// g_legendNames / g_legendBlockIds, which the legend drag reads at every update.
#pragma once

#include <string>
#include <vector>

#include "framework/library/KyDmLibGroup.h"
#include "framework/ui/KyUiDialog.h"
#include "framework/ui/KyUiPreviewCtrl.h"

enum KyLegendDlgControl {
    IDC_LEGEND_ADD = 2025,
    IDC_LEGEND_REMOVE = 2026,
    IDC_LEGEND_PREVIEW = 2027,
    IDC_LEGEND_AVAILABLE = 2028,
    IDC_LEGEND_SELECTED = 2029,
};
constexpr UINT IDD_LEGEND_DLG = 2006;

class KyLegendDlg : public KyUiDialog {
public:
    explicit KyLegendDlg(CWnd* parent = nullptr);
    ~KyLegendDlg() override;

    BOOL OnInitDialog() override;
    // Brings the names and block ids into the order of the selected list's rows (which the
    // user may have reordered by dragging).
    void SyncOrder();
    // The close box: the selection is kept; beside a command two cancels end it.
    void OnClose();

    // The group file read at initialisation (the default one when empty).
    void SetGroupFile(const std::wstring& file) { m_strGroupFile = file; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnAdd();
    void OnRemove();
    void OnPreview();
    DECLARE_MESSAGE_MAP()

private:
    bool ReadLibrary();
    // A row's name as the lists show it (GetShownName) and back; the names kept and written
    // into the legend are the library's own.
    std::wstring ShownName(const std::wstring& name) const;
    std::wstring NameOfShown(const std::wstring& shown) const;
    void PreviewRow(int row);

    KyUiPreviewCtrl m_preview;  // the symbol of the available row last selected
    CListBox m_listAvailable;
    CDragListBox m_listSelected;
    KyDtDwgLibGroup m_group;
    const KyDtLibItemBase* m_pLegendDir = nullptr;
    std::vector<const KyDtLibItemBase*> m_rows;  // the available list's rows
    std::wstring m_strGroupFile;
};
