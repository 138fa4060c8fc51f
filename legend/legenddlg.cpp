// The legend dialog: reading the library, restoring the selection, adding and removing.
#include "legend/legenddlg.h"

#include "frame/VornFrame.h"
#include "framework/select/KyPtSysVar.h"
#include "host/db/dbblockref.h"
#include "host/ed/aced.h"
#include "host/mfc/msgbox.h"
#include "legend/legendlibrary.h"

BEGIN_MESSAGE_MAP(KyLegendDlg, KyUiDialog)
    ON_LBN_DBLCLK(IDC_LEGEND_AVAILABLE, OnAdd)
    ON_LBN_SELCHANGE(IDC_LEGEND_AVAILABLE, OnPreview)
    ON_LBN_DBLCLK(IDC_LEGEND_SELECTED, OnRemove)
    ON_BN_CLICKED(IDC_LEGEND_ADD, OnAdd)
    ON_BN_CLICKED(IDC_LEGEND_REMOVE, OnRemove)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

KyLegendDlg::KyLegendDlg(CWnd* parent) : KyUiDialog(IDD_LEGEND_DLG, parent) {}

KyLegendDlg::~KyLegendDlg() = default;

void KyLegendDlg::DoDataExchange(CDataExchange* dx) {
    KyUiDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_LEGEND_AVAILABLE, m_listAvailable);
    DDX_Control(dx, IDC_LEGEND_SELECTED, m_listSelected);
}

BOOL KyLegendDlg::OnInitDialog() {
    KyUiDialog::OnInitDialog();
    UpdateData(FALSE);
    if (!m_preview.SubclassDlgItem(IDC_LEGEND_PREVIEW, this)) return FALSE;
    m_preview.SetMode(KyUiPreviewCtrl::kModeFrame | KyUiPreviewCtrl::kModeScreen | KyUiPreviewCtrl::kModeMargin);
    g_legendBlockIds.setLogicalLength(0);
    if (ReadLibrary()) {
        RestoreLegendSelection(m_rows, g_legendNames, g_legendBlockIds, LoadLegendSymbol);
        for (const std::wstring& name : g_legendNames) m_listSelected.AddString(ShownName(name).c_str());
    }
    PreviewRow(0);
    return TRUE;
}

bool KyLegendDlg::ReadLibrary() {
    if (m_strGroupFile.empty()) m_strGroupFile = LegendGroupFile();
    m_group.SetFileName(m_strGroupFile);
    m_listAvailable.ResetContent();
    m_rows.clear();
    m_pLegendDir = nullptr;
    if (!m_group.ReadFromXML()) {
        m_group.ClearLibraries();
        // The box says only that it failed; the command line says which file and why.
        acutPrintf(L"\n%s", m_group.GetError().c_str());
        MessageBoxW(KyUtTranslate(L"读取图库组失败").c_str(), KyUtTranslate(L"错误").c_str(), MB_ICONERROR);
        return false;
    }
    m_group.ReadLibFromXML();
    if (m_group.GetLibraryCount() == 0 || !m_group.GetLibrary(0)) return false;
    m_pLegendDir = FindLegendDirectory(*m_group.GetLibrary(0));
    if (!m_pLegendDir) return false;
    m_rows = LegendRows(*m_pLegendDir);
    for (const KyDtLibItemBase* row : m_rows) m_listAvailable.AddString(row->GetShownName().c_str());
    return true;
}

std::wstring KyLegendDlg::ShownName(const std::wstring& name) const {
    for (const KyDtLibItemBase* row : m_rows)
        if (row->GetName() == name) return row->GetShownName();
    return name;
}

std::wstring KyLegendDlg::NameOfShown(const std::wstring& shown) const {
    for (const KyDtLibItemBase* row : m_rows)
        if (row->GetShownName() == shown) return row->GetName();
    return shown;
}

void KyLegendDlg::OnPreview() { PreviewRow(m_listAvailable.GetCurSel()); }

void KyLegendDlg::PreviewRow(int row) {
    if (!m_pLegendDir || row < 0 || row >= static_cast<int>(m_rows.size())) return;
    const AcDbObjectId id = LoadLegendSymbol(*m_rows[static_cast<std::size_t>(row)]);
    // A reference that never enters the drawing shows the block, fitted to the frame; a symbol
    // that does not load leaves the frame empty.
    if (id.isNull()) m_preview.ErasePreview();
    else m_preview.Draw(new AcDbBlockReference(AcGePoint3d(), id));
}

void KyLegendDlg::OnAdd() {
    const int row = m_listAvailable.GetCurSel();
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    CString text;
    m_listAvailable.GetText(row, text);
    if (text.IsEmpty()) return;
    if (m_listSelected.FindStringExact(-1, text) >= 0) {
        AfxMessageBox(KyUtTranslate(L"已选择此图例！").c_str(), MB_OK);
        return;
    }
    // A symbol that does not load is refused here, so that every listed item has a block.
    const AcDbObjectId id = LoadLegendSymbol(*m_rows[static_cast<std::size_t>(row)]);
    if (id.isNull()) {
        CString message;
        message.Format(KyUtTranslate(L"图例“%s”的符号图形无法读取，未加入；请检查图库中的文件：%s").c_str(),
                       text.GetString(), LegendSymbolFile(*m_rows[static_cast<std::size_t>(row)]).c_str());
        AfxMessageBox(message, MB_OK);
        return;
    }
    SyncOrder();
    m_listSelected.AddString(text);
    g_legendBlockIds.append(id);
    g_legendNames.push_back(m_rows[static_cast<std::size_t>(row)]->GetName());
}

void KyLegendDlg::OnRemove() {
    SyncOrder();
    const int s = m_listSelected.GetCurSel();
    if (s < 0 || s >= m_listSelected.GetCount()) return;
    if (m_listSelected.DeleteString(static_cast<UINT>(s)) < 0) return;
    if (s < g_legendBlockIds.length()) g_legendBlockIds.removeAt(s);
    if (s < static_cast<int>(g_legendNames.size())) g_legendNames.erase(g_legendNames.begin() + s);
}

void KyLegendDlg::SyncOrder() {
    if (!m_listSelected.GetSafeHwnd()) return;
    const int count = m_listSelected.GetCount();
    if (count != g_legendBlockIds.length() || count != static_cast<int>(g_legendNames.size()))
        return;
    std::vector<std::wstring> names;
    AcDbObjectIdArray ids;
    std::vector<bool> used(g_legendNames.size(), false);
    for (int r = 0; r < count; ++r) {
        CString text;
        m_listSelected.GetText(r, text);
        const std::wstring name = NameOfShown(text.GetString());
        std::size_t j = 0;
        while (j < g_legendNames.size() && (used[j] || g_legendNames[j] != name)) ++j;
        if (j == g_legendNames.size()) return;  // rows and lists disagree: leave them be
        used[j] = true;
        names.push_back(name);
        ids.append(g_legendBlockIds[static_cast<int>(j)]);
    }
    g_legendNames = names;
    g_legendBlockIds = ids;
}

void KyLegendDlg::OnClose() {
    SyncOrder();
    // Without the library the list stands empty; the names are kept for a later run.
    if (m_pLegendDir && m_listSelected.GetSafeHwnd()) {
        std::vector<std::wstring> names;
        for (int r = 0; r < m_listSelected.GetCount(); ++r) {
            CString text;
            m_listSelected.GetText(r, text);
            names.push_back(NameOfShown(text.GetString()));
        }
        g_legendNames = names;
    }
    if (IsModeless()) {
        KySendESC();
        KySendESC();
        return;
    }
    KyUiDialog::OnClose();
}
