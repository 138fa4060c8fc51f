// The tree dialog: data exchange with the tree settings, the mode controls, number validation
// and the requests it sends to the running command.
#include "tree/treedlg.h"

#include <cwctype>
#include <string>

#include "frame/VornFrame.h"
#include "framework/core/KyDbBlockReference.h"
#include "framework/library/KyFindFile.h"
#include "framework/library/KySelectFromDmls.h"
#include "framework/select/KyAdsEnt.h"
#include "framework/select/KyAdsRBList.h"
#include "host/db/dbblockref.h"
#include "host/mfc/msgbox.h"
#include "framework/select/KyPtSysVar.h"
#include "host/ed/aced.h"
#include "host/mfc/hostwindows.h"
#include "tree/treesettings.h"

BEGIN_MESSAGE_MAP(KyRYBSDlg, KyUiDialog)
    ON_BN_CLICKED(IDC_TREE_PICKRADIUS, OnPickRadius)
    ON_BN_CLICKED(IDC_TREE_PICKSPACING, OnPickSpacing)
    ON_EN_KILLFOCUS(IDC_TREE_RADIUS, OnKillFocusRadius)
    ON_EN_KILLFOCUS(IDC_TREE_SPACING, OnKillFocusSpacing)
    ON_EN_KILLFOCUS(IDC_TREE_RADIUSMIN, OnKillFocusRadiusMin)
    ON_EN_KILLFOCUS(IDC_TREE_RADIUSMAX, OnKillFocusRadiusMax)
    ON_EN_KILLFOCUS(IDC_TREE_SPACINGMIN, OnKillFocusSpacingMin)
    ON_EN_KILLFOCUS(IDC_TREE_SPACINGMAX, OnKillFocusSpacingMax)
    ON_BN_CLICKED(IDC_TREE_MODE_POINT, OnModePoint)
    ON_BN_CLICKED(IDC_TREE_MODE_DRAG, OnModeDrag)
    ON_BN_CLICKED(IDC_TREE_MODE_PATH, OnModePath)
    ON_BN_CLICKED(IDC_TREE_MODE_AREA, OnModeArea)
    ON_BN_CLICKED(IDC_TREE_RANDOMROTATE, OnRandomRotate)
    ON_BN_CLICKED(IDC_TREE_SELFADJUST, OnSelfAdjust)
    ON_BN_CLICKED(IDC_TREE_FIXRADIUS, OnFixRadius)
    ON_BN_CLICKED(IDC_TREE_FIXSPACING, OnFixSpacing)
    ON_STN_CLICKED(IDC_TREE_PREVIEW, OnPreviewClicked)
    ON_BN_CLICKED(IDC_TREE_PICKBLOCK, OnPickBlock)
    ON_WM_SETCURSOR()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

const wchar_t* const kDefaultTrees[] = {L"_Tree1.dwg", L"_Tree2.dwg", L"_Tree3.dwg", L"_Tree4.dwg"};

CString* TextOf(int id) {
    switch (id) {
        case IDC_TREE_RADIUS: return &g_strTreeRadius;
        case IDC_TREE_SPACING: return &g_strTreeSpacing;
        case IDC_TREE_RADIUSMIN: return &g_strTreeRadiusMin;
        case IDC_TREE_RADIUSMAX: return &g_strTreeRadiusMax;
        case IDC_TREE_SPACINGMIN: return &g_strTreeSpacingMin;
        case IDC_TREE_SPACINGMAX: return &g_strTreeSpacingMax;
        default: return nullptr;
    }
}

bool IsDefaultTree(const CString& file) {
    std::wstring name(file.GetString());
    const std::size_t slash = name.find_last_of(L"/\\");
    if (slash != std::wstring::npos) name = name.substr(slash + 1);
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
    for (const wchar_t* tree : kDefaultTrees) {
        std::wstring t(tree);
        for (wchar_t& c : t) c = static_cast<wchar_t>(std::towlower(c));
        if (name == t) return true;
    }
    return false;
}

}  // namespace

KyRYBSDlg::KyRYBSDlg(CWnd* parent) : KyUiDialog(IDD_TREE_DLG, parent) {
    KyTreeLoadSettings();
    if (g_strTreeBlockFile.IsEmpty() && g_idTreeBlock.isNull())
        g_strTreeBlockFile = FindFile(kDefaultTrees[0]).c_str();
}

KyRYBSDlg::~KyRYBSDlg() { KyTreeSaveSettings(); }

CString KyRYBSDlg::GetRadiusMinText() const { return g_strTreeRadiusMin; }
CString KyRYBSDlg::GetRadiusMaxText() const { return g_strTreeRadiusMax; }
CString KyRYBSDlg::GetSpacingMinText() const { return g_strTreeSpacingMin; }
CString KyRYBSDlg::GetSpacingMaxText() const { return g_strTreeSpacingMax; }

void KyRYBSDlg::DoDataExchange(CDataExchange* dx) {
    KyUiDialog::DoDataExchange(dx);
    DDX_Radio(dx, IDC_TREE_SRC_DRAWING, g_nTreeBlockSource);
    DDX_Radio(dx, IDC_TREE_MODE_POINT, g_nTreeDrawMode);
    DDX_Check(dx, IDC_TREE_RANDOMROTATE, g_bTreeRandomRotate);
    DDX_Check(dx, IDC_TREE_SELFADJUST, g_bTreeSelfAdjust);
    DDX_Check(dx, IDC_TREE_FIXRADIUS, g_bTreeFixedRadius);
    DDX_Check(dx, IDC_TREE_FIXSPACING, g_bTreeFixedSpacing);
    DDX_Control(dx, IDC_TREE_PICKBLOCK, m_pickButton);
}

BOOL KyRYBSDlg::OnInitDialog() {
    const BOOL result = KyUiDialog::OnInitDialog();
    for (int id : {IDC_TREE_RADIUSMIN, IDC_TREE_RADIUSMAX, IDC_TREE_SPACINGMIN,
                   IDC_TREE_SPACINGMAX, IDC_TREE_RADIUS, IDC_TREE_SPACING})
        SetDlgItemText(id, *TextOf(id));
    if (!m_preview.SubclassDlgItem(IDC_TREE_PREVIEW, this)) return FALSE;
    m_preview.Init(true);
    ShowTreePreview();
    return result;
}

void KyRYBSDlg::ShowTreePreview() {
    if (g_strTreeBlockFile.IsEmpty() && g_idTreeBlock.isNull()) {
        g_strTreeBlockFile = FindFile(kDefaultTrees[0]).c_str();
        PreviewFile(g_strTreeBlockFile);
    } else if (!g_idTreeBlock.isNull()) {
        PreviewBlockId(g_idTreeBlock);
    } else {
        PreviewFile(g_strTreeBlockFile);
    }
    UpdateData(FALSE);
    UpdateModeControls();
}

void KyRYBSDlg::PreviewFile(const CString& file) {
    m_preview.ErasePreview();
    if (!file.IsEmpty()) m_preview.Draw(file.GetString());
}

void KyRYBSDlg::PreviewBlockId(const AcDbObjectId& id) {
    if (id.isNull()) return;
    auto* ref = new KyDbBlockReference(AcGePoint3d(), id);
    ref->SetBlockTableRecord2d(id);
    m_preview.ErasePreview();
    m_preview.Draw(ref);
}

void KyRYBSDlg::UpdateModeControls() {
    if (!GetSafeHwnd()) return;
    const bool area = g_nTreeDrawMode == 3;
    auto show = [this](int id, bool on) {
        if (CWnd* c = GetDlgItem(id)) c->ShowWindow(on ? SW_SHOW : SW_HIDE);
    };
    auto enable = [this](int id, bool on) {
        if (CWnd* c = GetDlgItem(id)) c->EnableWindow(on ? TRUE : FALSE);
    };
    for (int id = IDC_TREE_PICKRADIUS; id <= IDC_TREE_SELFADJUST; ++id) show(id, !area);
    for (int id = IDC_TREE_RADIUSMIN; id <= IDC_TREE_TILDE2; ++id) show(id, area);
    for (int id : {IDC_TREE_SRC_DRAWING, IDC_TREE_PICKBLOCK, IDC_TREE_SRC_LIBRARY, IDC_TREE_SRC_FILE})
        enable(id, !area);
    enable(IDC_TREE_PICKSPACING, g_nTreeDrawMode != 0);
    enable(IDC_TREE_SPACING, g_nTreeDrawMode != 0);
    enable(IDC_TREE_SELFADJUST, g_nTreeDrawMode == 2);
    if (area) {
        enable(IDC_TREE_RADIUSMAX, !g_bTreeFixedRadius);
        enable(IDC_TREE_SPACINGMAX, !g_bTreeFixedSpacing);
    }
}

void KyRYBSDlg::ValidateNumberEdit(int id) {
    CString* text = TextOf(id);
    if (!text) return;
    CString typed;
    GetDlgItemText(id, typed);
    if (KyTreeIsNumberText(typed))
        *text = typed;
    else
        SetDlgItemText(id, *text);
}

void KyRYBSDlg::AskFromDrawing(int& flag) {
    if (!IsModeless()) return;
    ShowWindow(SW_HIDE);
    if (CWnd* frame = acedGetAcadFrame()) frame->SetFocus();
    flag = 1;
    m_bRefresh = 1;
    KySendESC();
}

void KyRYBSDlg::OnPickRadius() { AskFromDrawing(m_bPickRadius); }
void KyRYBSDlg::OnPickSpacing() { AskFromDrawing(m_bPickSpacing); }

void KyRYBSDlg::SetMode(int mode) {
    g_nTreeDrawMode = mode;
    UpdateModeControls();
    m_bModeChanged = 1;
    KySendESC();
}

void KyRYBSDlg::OnModeArea() {
    if (g_nTreeDrawMode != 3) {
        // The area mode always draws one of the default trees.
        g_idTreeBlock = AcDbObjectId();
        if (!IsDefaultTree(g_strTreeBlockFile)) g_strTreeBlockFile = FindFile(kDefaultTrees[0]).c_str();
        if (!g_strTreeBlockFile.IsEmpty()) PreviewFile(g_strTreeBlockFile);
    }
    SetMode(3);
}

void KyRYBSDlg::OnRandomRotate() { g_bTreeRandomRotate = !g_bTreeRandomRotate; }
void KyRYBSDlg::OnSelfAdjust() { g_bTreeSelfAdjust = !g_bTreeSelfAdjust; }

void KyRYBSDlg::OnFixRadius() {
    g_bTreeFixedRadius = !g_bTreeFixedRadius;
    if (CWnd* c = GetDlgItem(IDC_TREE_RADIUSMAX)) c->EnableWindow(g_bTreeFixedRadius ? FALSE : TRUE);
}

void KyRYBSDlg::OnFixSpacing() {
    g_bTreeFixedSpacing = !g_bTreeFixedSpacing;
    if (CWnd* c = GetDlgItem(IDC_TREE_SPACINGMAX)) c->EnableWindow(g_bTreeFixedSpacing ? FALSE : TRUE);
}

void KyRYBSDlg::OnPreviewClicked() {
    if (g_nTreeDrawMode != 3) return;
    g_nTreeDefaultIndex = (g_nTreeDefaultIndex + 1) % 4;
    const std::wstring file = FindFile(kDefaultTrees[g_nTreeDefaultIndex]);
    if (file.empty()) return;
    g_strTreeBlockFile = file.c_str();
    PreviewFile(g_strTreeBlockFile);
}

void KyRYBSDlg::OnPickBlock() {
    UpdateData(TRUE);
    switch (g_nTreeBlockSource) {
        case 0: PickBlockInDrawing(); break;
        case 1: PickBlockFromLibrary(); break;
        case 2: PickBlockFromFile(); break;
        default: break;
    }
    if (!g_strTreeBlockFile.IsEmpty()) PreviewFile(g_strTreeBlockFile);
    else if (!g_idTreeBlock.isNull()) PreviewBlockId(g_idTreeBlock);
    m_bRefresh = 1;
    UpdateData(FALSE);
    KySendESC();
}

void KyRYBSDlg::PickBlockInDrawing() {
    KyUiPickScope pick(m_pickButton);  // the dialog steps aside while the user picks
    KyAdsRBList filter;
    filter.AddTypes(L"INSERT,VORN_INSERT");
    KyAdsEnt ent;
    if (ent.Select(KyUtTranslate(L"\n请选择要布置的图块<返回>：").c_str(), filter) != RTNORM) {
        acutPrintf(L"%s", KyUtTranslate(L"\n图块无效！").c_str());
        return;
    }
    AcDbEntity* entity = ent.Open(AcDb::kForRead);
    if (!entity) {
        acutPrintf(L"%s", KyUtTranslate(L"\n图块无效！").c_str());
        return;
    }
    if (const KyDbBlockReference* framework = KyDbBlockReference::cast(entity)) {
        g_idTreeBlock = framework->GetBlockTableRecord();
        g_strTreeBlockFile = L"";
    } else if (const AcDbBlockReference* host = AcDbBlockReference::cast(entity)) {
        g_idTreeBlock = host->blockTableRecord();
        g_strTreeBlockFile = L"";
    }
    entity->close();
}

void KyRYBSDlg::PickBlockFromLibrary() {
    std::wstring file, name;
    if (SelectFromDmls(GetDwgLibDirectory() + L"PlantLib\\LibGroup.dmls", file, name, 1) && !file.empty()) {
        g_strTreeBlockFile = file.c_str();
        g_idTreeBlock = AcDbObjectId();
    }
}

void KyRYBSDlg::PickBlockFromFile() {
    CFileDialog chooser(TRUE, L"dwg", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        KyUtTranslate(L"CAD图形文件(*.dwg)||").c_str(), this);
    if (chooser.DoModal() != IDOK) return;
    const CString path = chooser.GetPathName();
    if (path.IsEmpty()) return;
    g_strTreeBlockFile = path;
    g_idTreeBlock = AcDbObjectId();
}

BOOL KyRYBSDlg::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (g_nTreeDrawMode == 3 && wnd && wnd->GetDlgCtrlID() == IDC_TREE_PREVIEW) {
        HCURSOR cursor = nullptr;
        {
            KyUtPushResource guard(VornModuleResources());
            cursor = LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(2008));
        }
        if (cursor) {
            ::SetCursor(cursor);
            return TRUE;
        }
    }
    return KyUiDialog::OnSetCursor(wnd, hitTest, message);
}

void KyRYBSDlg::OnClose() {
    KyUiDialog::OnClose();
    if (!IsModeless()) KySendESC();
}
