// KyDrawParkSpace: rows of parking spaces beside the parking dialog, either dragged from a
// start point to an end point or laid along the segments of a picked curve.
#include <memory>

#include "frame/VornCommands.h"
#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtBlock.h"
#include "framework/core/KyDtLayer.h"
#include "framework/library/KyFindFile.h"
#include "framework/select/KyAdsEnt.h"
#include "framework/select/KyAdsRBList.h"
#include "framework/select/KyPtSelect.h"
#include "framework/select/KyPtSysVar.h"
#include "host/db/dbtext.h"
#include "host/ed/aced.h"
#include "host/ed/editor.h"
#include "host/mfc/hostwindows.h"
#include "parking/parkcurve.h"
#include "parking/parkdlg.h"
#include "parking/parkjig.h"
#include "parking/parksettings.h"
#include "parking/parkspace.h"

namespace {

constexpr double kDegree = 3.1415926536 / 180;

// The label with the number of spaces of both sides at the picked point.
void AddCountLabel(const AcGePoint3d& at, int count) {
    CString text;
    text.Format(KyUtTranslate(L"%d辆").c_str(), count);
    auto* label = new AcDbText(at, text.GetString());
    label->setHeight(KyDbGetDrawUnit() != 0 ? 3.5 : 700.0);
    const AcDbObjectId layer = KyDtInitLayer(L"PLAN-CAR_PLACE");
    if (!layer.isNull()) label->setLayer(layer);
    AddToModelSpace(label, 1);
}

// The sizes of the dialog checked at the moment a row is laid: a value that is wrong refuses the
// answer just given, lays nothing, and the prompt comes again. True when they are usable.
bool SizesUsable(KyUiDrawParkSpaceDlg* dialog) {
    if (dialog) dialog->Commit();
    const std::wstring problem = KyParkCheckSizes(g_strParkWidth, g_strParkDepth, g_strParkAngle);
    if (problem.empty()) return true;
    vorn::ed::RefuseAnswer(problem);
    return false;
}

// Curves picked one after the other; false when the command is to end.
bool AlongCurves(KyUiDrawParkSpaceDlg& dialog, const AcDbObjectId& car) {
    KyAdsRBList filter;
    filter.AddTypes(L"LINE,ARC,LWPOLYLINE,POLYLINE");
    for (;;) {
        KyAdsEnt curve;
        if (KyPtSelectEntity(KyUtTranslate(L"\n请选择曲线(直线、圆弧、多段线)<退出>:").c_str(), curve,
                             filter.Get()) != RTNORM)
            return true;
        if (!SizesUsable(&dialog)) continue;
        curve.Redraw(3);
        const int rows = KyParkIsDoubleRow(g_strParkRows) ? 2 : 1;
        ads_point side = {0, 0, 0};
        if (rows == 1 &&
            acedGetPoint(nullptr, KyUtTranslate(L"\n请点取车位所在一侧<退出>: ").c_str(), side) != RTNORM) {
            curve.Redraw(4);
            return false;
        }
        curve.Redraw(4);
        const AcGePoint3d p = UcsToWcs(side, 0);
        // The dialog may have changed while the side was picked.
        if (!SizesUsable(&dialog)) continue;
        LayoutAlongCurve(KyParkTextValue(g_strParkWidth), KyParkTextValue(g_strParkDepth),
                         KyGePoint(p.x, p.y), KyParkTextValue(g_strParkAngle) * kDegree,
                         KyParkStyleFromText(g_strParkStyle), rows, car, curve.GetObjectId());
    }
}

// Rows dragged from p; false when the command is to end.
bool PointToPoint(KyDrawParkSpaceJig& jig, KyDbParkSpace& row, KyUiDrawParkSpaceDlg* dialog,
                  const AcGePoint3d& p) {
    // The toggle starts from the side the row shows, so the first "Q" flips what is seen.
    int toggle = row.GetSideFlag();
    for (;;) {
        jig.SetPrompt(KyUtTranslate(L"\n请点取车位终点或 [切换车位布置方向(Q)]<退出>:").c_str());
        jig.SetKeywords(KyUtTranslate(L"Q").c_str());
        jig.SetBasePoint(p);
        const int rc = jig.DoDrag();
        if (rc == RTKWORD) {
            toggle = toggle ? 0 : 1;
            jig.SetRowSide(toggle);
            continue;
        }
        if (rc != RTNORM) return false;
        if (SizesUsable(dialog)) break;
    }
    const AcGePoint3d s = row.GetStartPoint(), e = row.GetEndPoint();
    const double w = row.GetSpaceWidth(), d = row.GetDepth(), a = row.GetAngle();
    const int n = row.GetCount(), style = row.GetStyle();
    if (row.GetRows() == 2) {
        AddParkRow(s, e, w, d, a, 1, n, style, row.GetCarBlock());
        AddParkRow(s, e, w, d, a, 2, n, style, row.GetCarBlock());
    } else {
        AddParkRow(s, e, w, d, a, row.GetSideFlag() != 0 ? 1 : 2, n, style, row.GetCarBlock());
    }
    if (g_bParkLabelCount) {
        ads_point q;
        if (acedGetPoint(nullptr, KyUtTranslate(L"\n请点取标注位置<退出>：").c_str(), q) == RTNORM)
            AddCountLabel(UcsToWcs(q, 0), n * row.GetRows());
    }
    return true;
}

}  // namespace

void KyDrawParkSpace() {
    KyPushVar<bool> snapFlag(g_bOnlySnapBaseCurve, g_bOnlySnapBaseCurve);
    KyPtPushSysVar echo(L"CMDECHO", 0);
    int osmode = 0;
    KyPtGetVar(L"OSMODE", osmode);
    KyPtPushSysVar snaps(L"OSMODE", osmode | 1 | 2 | 32 | 128);

    KyUiDrawParkSpaceDlg dialog(nullptr);
    {
        KyUtPushResource resources(VornModuleResources());
        if (dialog.Create(IDD_PARK_DLG, acedGetAcadFrame())) {
            dialog.ShowWindow(SW_SHOW);
            if (CWnd* view = acedGetAcadDwgView()) view->SetFocus();
        }
    }
    const std::wstring carFile = FindFile(L"car.dwg");
    const AcDbObjectId car = carFile.empty() ? AcDbObjectId() : KyDtLoadBlock(carFile.c_str());
    if (car.isNull()) {
        dialog.DestroyWindow();
        return;
    }
    KyDbParkSpace row(car);
    KyDrawParkSpaceJig jig(&row, dialog.GetSafeHwnd() ? &dialog : nullptr);

    for (bool run = true; run;) {
        acedInitGet(0, L"A");
        ads_point picked;
        const int rc = acedGetPoint(nullptr, KyUtTranslate(L"\n请点取车位起点或 [沿曲线布置(A)]<退出>:").c_str(),
                                    picked);
        if (rc == RTKWORD) {
            run = AlongCurves(dialog, car);
        } else if (rc == RTNORM) {
            run = PointToPoint(jig, row, dialog.GetSafeHwnd() ? &dialog : nullptr, UcsToWcs(picked, 0));
        } else {
            run = false;
        }
    }
    dialog.DestroyWindow();
}

VORN_MODULE_COMMAND(L"KyDrawParkSpace", KyDrawParkSpace);
