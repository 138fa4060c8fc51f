// The road settings dialog: data exchange with the road settings and its reactions.
#include "road/roaddlg.h"

#include "framework/select/KyPtSysVar.h"
#include "host/ed/editor.h"
#include "road/roadsettings.h"

BEGIN_MESSAGE_MAP(KyRoadDlg, KyUiDialog)
    ON_EN_KILLFOCUS(IDC_ROAD_LEFTWIDTH, OnKillFocusWidth)
    ON_EN_KILLFOCUS(IDC_ROAD_RIGHTWIDTH, OnKillFocusWidth)
    ON_EN_KILLFOCUS(IDC_ROAD_FILLETRADIUS, OnKillFocusWidth)
    ON_BN_CLICKED(IDC_ROAD_CENTERLINE, OnClickCommit)
    ON_BN_CLICKED(IDC_ROAD_SAMECENTER, OnClickCommit)
    ON_BN_CLICKED(IDC_ROAD_FILLET, OnClickFillet)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

KyRoadDlg::KyRoadDlg(CWnd* parent) : KyUiDialog(IDD_ROAD_DLG, parent) {
    KyRoadSettingsToTexts();
}

KyRoadDlg::~KyRoadDlg() { KyRoadTextsToSettings(); }

void KyRoadDlg::DoDataExchange(CDataExchange* dx) {
    KyUiDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_ROAD_LEFTWIDTH, g_strRoadLeftWidth);
    DDX_Text(dx, IDC_ROAD_RIGHTWIDTH, g_strRoadRightWidth);
    DDX_Text(dx, IDC_ROAD_FILLETRADIUS, g_strRoadFilletRadius);
    DDX_Check(dx, IDC_ROAD_CENTERLINE, g_bRoadCenterLine);
    DDX_Check(dx, IDC_ROAD_FILLET, g_bRoadFillet);
    DDX_Radio(dx, IDC_ROAD_SAMECENTER, g_nRoadFilletStyle);
    DDX_Radio(dx, IDC_ROAD_POS_BASE, g_nRoadPosLine);
}

BOOL KyRoadDlg::OnInitDialog() {
    KyUiDialog::OnInitDialog();
    UpdateData(FALSE);
    SetDlgItemText(IDC_ROAD_LEFTWIDTH, g_strRoadLeftWidth);
    SetDlgItemText(IDC_ROAD_RIGHTWIDTH, g_strRoadRightWidth);
    SetDlgItemText(IDC_ROAD_FILLETRADIUS, g_strRoadFilletRadius);
    EnableFilletControls();
    return TRUE;
}

void KyRoadDlg::Commit() { CommitSizes(false); }

void KyRoadDlg::CommitSizes(bool refuse) {
    if (!GetSafeHwnd()) return;
    struct Size {
        KyRoadSize size;
        int id;
        CString& text;
        CString kept;
    };
    Size sizes[] = {{kRoadLeftWidth, IDC_ROAD_LEFTWIDTH, g_strRoadLeftWidth, g_strRoadLeftWidth},
                    {kRoadRightWidth, IDC_ROAD_RIGHTWIDTH, g_strRoadRightWidth, g_strRoadRightWidth},
                    {kRoadFilletRadius, IDC_ROAD_FILLETRADIUS, g_strRoadFilletRadius, g_strRoadFilletRadius}};
    UpdateData(TRUE);
    // A size that is no usable number keeps its last good value. Once the field is left, the
    // text is refused and that value comes back into the field; before, the user may still be
    // typing (a drag commits on every move).
    for (Size& s : sizes) {
        const std::wstring problem = KyRoadCheckSize(s.size, s.text, s.kept);
        if (problem.empty()) continue;
        s.text = s.kept;
        if (!refuse) continue;
        vorn::ed::RefuseAnswer(problem);
        SetDlgItemText(s.id, s.kept);
    }
}

void KyRoadDlg::OnKillFocusWidth() { CommitSizes(true); }
void KyRoadDlg::OnClickCommit() { Commit(); }

void KyRoadDlg::OnClickFillet() {
    Commit();
    EnableFilletControls();
}

void KyRoadDlg::EnableFilletControls() {
    const BOOL on = g_bRoadFillet ? TRUE : FALSE;
    for (int id : {IDC_ROAD_SAMECENTER, IDC_ROAD_SAMERADIUS, IDC_ROAD_FILLETRADIUS,
                   IDC_ROAD_RADIUSLABEL})
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
}

void KyRoadDlg::OnClose() {
    if (IsModeless()) {
        KySendESC();
        KySendESC();
        return;
    }
    KyUiDialog::OnClose();
}
