// KyRYBS: tree symbols placed by point, along a dragged chain, along picked curves, beside the
// tree dialog whose mode and requests steer the loop.
#include <vector>

#include "frame/VornCommands.h"
#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "framework/select/KyAdsEntSet.h"
#include "framework/select/KyAdsRBList.h"
#include "framework/select/KyPtSelect.h"
#include "framework/select/KyPtSysVar.h"
#include "host/ed/aced.h"
#include "host/ed/editor.h"
#include "host/mfc/hostwindows.h"
#include "tree/treearea.h"
#include "tree/treedlg.h"
#include "tree/treeplace.h"
#include "tree/treesettings.h"

namespace {

enum Step { kEnd, kGoOn, kPromptFailed };

// A distance picked for one of the two edits; the dialog comes back afterwards.
void PickDistance(KyRYBSDlg& dlg, int editId, const wchar_t* prompt, CString& text) {
    CString formatted;
    formatted.Format(KyUtTranslate(prompt).c_str(), KyTreeTextValue(text));
    ads_real dist = 0;
    if (acedGetDist(nullptr, formatted, &dist) == RTNORM && dist > 0) {
        text = DistToString(dist).c_str();
        if (dlg.GetSafeHwnd()) dlg.SetDlgItemText(editId, text);
    }
    if (dlg.GetSafeHwnd()) dlg.ShowWindow(SW_SHOW);
    if (CWnd* frame = acedGetAcadFrame()) frame->SetFocus();
}

// The sizes of the current mode checked when an answer would plant: a wrong one refuses the
// answer (nothing planted) and the mode's prompt comes again.
bool SizesUsable() {
    const std::wstring problem = KyTreeCheckSizes(g_nTreeDrawMode);
    if (problem.empty()) return true;
    vorn::ed::RefuseAnswer(problem);
    return false;
}

struct DragState {
    bool started = false;
    AcGePoint3d last;
    std::vector<AcGePoint3d> chain;
};

Step PointMode(std::vector<AcDbObjectId>& placed) {
    ads_point p;
    if (acedGetPoint(nullptr, KyUtTranslate(L"\n请点取插入点<退出>:").c_str(), p) != RTNORM) return kPromptFailed;
    if (!SizesUsable()) return kGoOn;
    return PlaceTree(UcsToWcs(p, 0), placed) ? kGoOn : kEnd;
}

Step DragMode(DragState& drag, std::vector<AcDbObjectId>& placed) {
    ads_point p;
    if (!drag.started) {
        drag.chain.clear();
        if (acedGetPoint(nullptr, KyUtTranslate(L"\n请输入起始点<退出>:").c_str(), p) != RTNORM)
            return kPromptFailed;
        if (!SizesUsable()) return kGoOn;
        drag.last = AcGePoint3d(p[0], p[1], p[2]);
        drag.started = true;
        drag.chain.push_back(drag.last);
        return kGoOn;
    }
    acedInitGet(0, L"U");
    const ads_point base = {drag.last.x, drag.last.y, drag.last.z};
    const int rc = acedGetPoint(base, KyUtTranslate(L"\n输入下一点或 [回退(U)]<结束>:").c_str(), p);
    if (rc == RTKWORD) {
        wchar_t kw[kAdsMaxInput + 1] = {0};
        if (drag.chain.size() >= 2 && acedGetInput(kw) == RTNORM && kw[0] == L'U') {
            KyPtPushSysVar echo(L"CMDECHO", 0);
            acedCommand(RTSTR, L"UNDO", RTSTR, L"BACK", 0);
            drag.chain.pop_back();
            drag.last = drag.chain.back();
        }
        return kGoOn;
    }
    if (rc != RTNORM) return kPromptFailed;
    if (!SizesUsable()) return kGoOn;
    const AcGePoint3d q(p[0], p[1], p[2]);
    const KyTreeStep step = PlaceTreesAlongSegment(UcsToWcs(q, 0), UcsToWcs(drag.last, 0), placed);
    if (step == KyTreeStep::kEnd) return kEnd;
    if (step != KyTreeStep::kPlanted) return kGoOn;
    drag.last = q;
    drag.chain.push_back(q);
    return kGoOn;
}

Step PathMode(std::vector<AcDbObjectId>& placed) {
    KyAdsEntSet set;
    KyAdsRBList filter;
    filter.AddTypes(L"LINE,ARC,LWPOLYLINE,POLYLINE");
    const int rc = KyPtSelectEntities(
        KyUtTranslate(L"\n请选择作为路径的曲线(直线、圆弧、多段线)<退出>:").c_str(), set, filter.Get());
    if (rc != RTNORM) return kPromptFailed;
    if (!SizesUsable()) return kGoOn;
    return PlantTreesAlongPaths(set, placed) == KyTreeStep::kEnd ? kEnd : kGoOn;
}

Step AreaMode(KyRYBSDlg& dialog) {
    ads_point p;
    if (acedGetPoint(nullptr, KyUtTranslate(L"\n请点击鼠标左键开始<退出>:").c_str(), p) != RTNORM) return kPromptFailed;
    if (!SizesUsable()) return kGoOn;
    acutPrintf(L"%s", KyUtTranslate(L"\n点击鼠标左键或右键结束绘制！").c_str());
    return FillTreeArea(dialog, UcsToWcs(p, 0)) ? kEnd : kGoOn;
}

}  // namespace

void KyRYBS() {
    KyPtPushUndoGroup undoGroup;
    KyPtPushSysVar echo(L"CMDECHO", 0);
    KyUtPushResource resources(VornModuleResources());
    KyRYBSDlg dialog(nullptr);
    if (dialog.Create(IDD_TREE_DLG, acedGetAcadFrame())) dialog.ShowWindow(SW_SHOW);

    std::vector<AcDbObjectId> placed;
    DragState drag;
    for (;;) {
        while (dialog.m_bPickRadius || dialog.m_bPickSpacing) {
            if (dialog.m_bPickRadius) {
                dialog.m_bPickRadius = dialog.m_bRefresh = 0;
                PickDistance(dialog, IDC_TREE_RADIUS, L"\n树半径<%lg>:", g_strTreeRadius);
            } else {
                dialog.m_bPickSpacing = dialog.m_bRefresh = 0;
                PickDistance(dialog, IDC_TREE_SPACING, L"\n树间隔<%lg>:", g_strTreeSpacing);
            }
        }
        if (g_nTreeDrawMode != 1) drag.started = false;
        Step step = kEnd;
        switch (g_nTreeDrawMode) {
            case 0: step = PointMode(placed); break;
            case 1: step = DragMode(drag, placed); break;
            case 2: step = PathMode(placed); break;
            case 3: step = AreaMode(dialog); break;
            default: break;
        }
        if (step == kEnd) break;
        if (step == kGoOn) continue;
        if (dialog.m_bModeChanged) {
            dialog.m_bModeChanged = 0;
        } else if (dialog.m_bRefresh) {
            dialog.m_bRefresh = 0;
        } else {
            break;
        }
    }
    dialog.DestroyWindow();
}

VORN_MODULE_COMMAND(L"KyRYBS", KyRYBS);
