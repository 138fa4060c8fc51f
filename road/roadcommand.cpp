// KyDrawRoad: roads as chains of straight and arc segments, picked point after point beside
// the road settings dialog; every picked segment is written at once.
#include <memory>
#include <vector>

#include "frame/VornCommands.h"
#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "framework/select/KyPtSysVar.h"
#include "host/ed/aced.h"
#include "host/mfc/hostwindows.h"
#include "road/roadcurve.h"
#include "road/roaddlg.h"
#include "road/roadedges.h"
#include "road/roadjig.h"

namespace {

enum SegmentMode { kStraight = 0, kArc = 1 };

void SendUndoMark() { acedCommand(RTSTR, L"UNDO", RTSTR, L"MARK", 0); }

void DrawSegment(const KyGeCurve2d* segment, KyRoadDlg* dialog) {
    if (segment)
        DrawRoadSegment(*segment, dialog);
    else
        ReportRoadSegmentNotDrawn();
}

// One straight segment: 1 to go on with the road, 0 to end it.
int StraightStep(std::vector<AcGePoint3d>& points, int& mode, KyRoadDlg* dialog) {
    const AcGePoint3d p = points.back();
    const std::size_t n = points.size();
    const wchar_t* keywords;
    const wchar_t* prompt;
    if (n == 1) {
        keywords = L"A";
        prompt = L"\n请点取道路的下一点或 [弧道路(A)]<退出>:";
    } else if (n == 2) {
        keywords = L"A U";
        prompt = L"\n请点取道路的下一点或 [弧道路(A)/回退(U)]<退出>:";
    } else {
        keywords = L"A U C";
        prompt = L"\n请点取道路的下一点或 [弧道路(A)/回退(U)/闭合(C)]<退出>:";
    }
    int keyword = 0;
    AcGePoint3d q;
    const int rc = DragRoadLine(dialog, keywords, KyUtTranslate(prompt).c_str(), p, keyword, q);
    if (rc == RTNORM) {
        const std::unique_ptr<KyGeCurve2d> line = MakeRoadLine(p, q);
        // A refused segment leaves no mark and no point: the road goes on from p.
        if (line && RefuseRoadSegment(*line)) return 1;
        SendUndoMark();
        DrawSegment(line.get(), dialog);
        points.push_back(q);
        return 1;
    }
    if (rc != RTKWORD) return 0;
    if (keyword == 1) {
        mode = kArc;
        return 1;
    }
    if (keyword == 2) {
        KyPtPushSysVar echo(L"CMDECHO", 0);
        acedCommand(RTSTR, L"UNDO", RTSTR, L"BACK", 0);
        points.pop_back();
        return 1;
    }
    const AcGePoint3d first = points.front();
    const std::unique_ptr<KyGeCurve2d> line = MakeRoadLine(p, first);
    if (line && RefuseRoadSegment(*line)) return 0;
    SendUndoMark();
    DrawSegment(line.get(), dialog);
    points.push_back(first);
    return 0;
}

// One arc segment: its end point at the prompt, then its middle point in a drag.
int ArcStep(std::vector<AcGePoint3d>& points, int& mode, KyRoadDlg* dialog) {
    const AcGePoint3d p = points.back();
    const bool first = points.size() == 1;
    acedInitGet(0, first ? L"L" : L"L U");
    const std::wstring prompt = KyUtTranslate(first ? L"\n请点取弧道路的下一点或 [直道路(L)]<退出>:"
                                                    : L"\n请点取道路的下一点或 [直道路(L)/回退(U)]<退出>:");
    const AcGePoint3d base = WcsToUcs(p, 0);
    const ads_point basePoint = {base.x, base.y, base.z};
    ads_point answer;
    const int rc = acedGetPoint(basePoint, prompt.c_str(), answer);
    if (rc == RTKWORD) {
        wchar_t kw[kAdsMaxInput + 1] = {0};
        if (acedGetInput(kw) != RTNORM) return 0;
        if (kw[0] == L'L') {
            mode = kStraight;
        } else if (kw[0] == L'U') {
            KyPtPushSysVar echo(L"CMDECHO", 0);
            acedCommand(RTSTR, L".UNDO", RTSTR, L"1", 0);
            points.pop_back();
        }
        return 1;
    }
    if (rc != RTNORM) return 0;
    const AcGePoint3d e = UcsToWcs(answer, 0);
    AcGePoint3d m;
    if (DragRoadArc(dialog, p, e, m) == RTNORM) {
        // The mark goes in only for an arc that is kept: a mark left behind by a dropped arc
        // would make the next "U" remove nothing while it takes a point off the road.
        const std::unique_ptr<KyGeCurve2d> arc = MakeRoadArc(p, m, e);
        if (arc && RefuseRoadSegment(*arc)) return 1;
        SendUndoMark();
        DrawSegment(arc.get(), dialog);
        points.push_back(e);
    }
    return 1;
}

}  // namespace

void KyDrawRoad() {
    KyPtPushUndoGroup undoGroup;
    KyPtPushSysVar echo(L"CMDECHO", 0);
    KyPushVar<bool> snapFlag(g_bOnlySnapBaseCurve, g_bOnlySnapBaseCurve);
    int osmode = 0;
    KyPtGetVar(L"OSMODE", osmode);
    KyPtPushSysVar snaps(L"OSMODE", osmode | 163);

    KyRoadDlg dialog(nullptr);
    {
        KyUtPushResource resources(VornModuleResources());
        if (dialog.Create(IDD_ROAD_DLG, acedGetAcadFrame())) {
            dialog.ShowWindow(SW_SHOW);
            if (CWnd* view = acedGetAcadDwgView()) view->SetFocus();
        }
    }
    // Without its dialog (a missing template) the command still draws with the settings.
    KyRoadDlg* const dlg = dialog.GetSafeHwnd() ? &dialog : nullptr;

    for (;;) {
        ads_point picked;
        const int rc = acedGetPoint(nullptr, KyUtTranslate(L"\n请点取道路起点<退出>:").c_str(), picked);
        if (rc != RTNORM) break;
        std::vector<AcGePoint3d> points{UcsToWcs(picked, 0)};
        int mode = kStraight;
        for (;;) {
            const int goOn = mode == kStraight ? StraightStep(points, mode, dlg)
                                               : ArcStep(points, mode, dlg);
            if (!goOn) break;
        }
    }
    dialog.DestroyWindow();
}

VORN_MODULE_COMMAND(L"KyDrawRoad", KyDrawRoad);
