// The edge stage of the road command: from the picked segment to entities on the road layers.
#include "road/roadedges.h"

#include <cmath>
#include <memory>

#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "host/db/dbentity.h"
#include "host/ed/aced.h"
#include "host/mfc/cstring.h"
#include "road/roadjunctions.h"
#include "road/roadsettings.h"

namespace {

bool WriteOnLayer(const KyGeCurve2d& curve, const AcDbObjectId& layer) {
    std::unique_ptr<AcDbEntity> entity = RoadCurveToEntity(curve);
    if (!entity) return false;
    entity->setLayer(layer, true, false);
    return !AddToCurrentSpace(entity.release(), 1).isNull();
}

// A road may turn back on itself by at most this much at a corner, in degrees: beyond it the
// two segments' pavements run over each other far back from the corner, and no fillet fits.
constexpr double kRoadMostTurn = 150.0;

}  // namespace

KyRoadSegmentLines DeriveRoadLines(const KyGeCurve2d& picked, int posLine, double leftWidth,
                                   double rightWidth) {
    KyRoadSegmentLines lines;
    if (posLine == 0)
        lines.centre = picked.Clone();
    else if (posLine == 1)
        lines.centre = RoadOffsetCurve(picked, +leftWidth);
    else
        lines.centre = RoadOffsetCurve(picked, -rightWidth);
    if (lines.centre) {
        lines.left = RoadOffsetCurve(*lines.centre, -leftWidth);
        lines.right = RoadOffsetCurve(*lines.centre, +rightWidth);
    }
    return lines;
}

int DrawRoadSegment(const KyGeCurve2d& picked, KyRoadDlg* dialog) {
    const KyRoadSegmentLines lines =
        DeriveRoadLines(picked, g_nRoadPosLine, KyRoadLeftWidth(), KyRoadRightWidth());
    if (!lines.centre || !DrawRoadFromCenter(*lines.centre, dialog)) ReportRoadSegmentNotDrawn();
    return 1;
}

bool DrawRoadFromCenter(const KyGeCurve2d& centre, KyRoadDlg* /*dialog*/) {
    const double leftWidth = KyRoadLeftWidth(), rightWidth = KyRoadRightWidth();
    const bool withCentre = g_bRoadCenterLine != 0;
    const std::unique_ptr<KyGeCurve2d> left = RoadOffsetCurve(centre, -leftWidth);
    const std::unique_ptr<KyGeCurve2d> right = RoadOffsetCurve(centre, +rightWidth);
    if (ProcessRoadJunctions(left.get(), right.get(), &centre))
        return true;
    if (!left || !right) return false;
    const AcDbObjectId roadLayer = KyDtInitStdLayer(L"PLAN-ROAD", nullptr);
    bool written = WriteOnLayer(*left, roadLayer);
    written = WriteOnLayer(*right, roadLayer) && written;
    if (withCentre) WriteOnLayer(centre, KyDtInitStdLayer(L"PLAN-ROAD_CENTER", nullptr));
    return written;
}

bool RefuseRoadSegment(const KyGeCurve2d& picked) {
    const KyRoadSegmentLines lines =
        DeriveRoadLines(picked, g_nRoadPosLine, KyRoadLeftWidth(), KyRoadRightWidth());
    if (!lines.centre || !lines.left || !lines.right) return false;
    const double width = KyRoadLeftWidth() + KyRoadRightWidth();
    const double length = lines.centre->Length();
    CString line;
    KyGePoint at, joint;
    double turn = 0.0;
    if (length < width) {
        line.Format(KyUtTranslate(L"\n此段道路未绘制：路段长%.2f，短于道路宽度%.2f；路段至少应与道路同宽，道路从上一点接着画。").c_str(),
                    length, width);
    } else if (FindRoadAlong(*lines.left, *lines.right, *lines.centre, at)) {
        const AcGePoint3d u = WcsToUcs(AcGePoint3d(at.x, at.y, 0.0), 0);
        line.Format(KyUtTranslate(L"\n此段道路未绘制：它在(%.2f,%.2f)沿已有道路画出，与之重叠；请从已有道路的端点接着画，或让开已有道路。").c_str(),
                    u.x, u.y);
    } else if (turn = FindRoadTurnBack(*lines.centre, joint), std::round(turn) > kRoadMostTurn) {
        const AcGePoint3d u = WcsToUcs(AcGePoint3d(joint.x, joint.y, 0.0), 0);
        line.Format(KyUtTranslate(L"\n此段道路未绘制：它在(%.2f,%.2f)折回%.0f度，超过%.0f度，两段路面互相重叠；掉头请用弧道路(A)，道路从上一点接着画。").c_str(),
                    u.x, u.y, turn, kRoadMostTurn);
    } else {
        return false;
    }
    acutPrintf(L"%s", line.GetString());
    return true;
}

void ReportRoadSegmentNotDrawn() {
    acutPrintf(L"%s", KyUtTranslate(L"\n此段道路未绘制：道路边线无法生成（线段过短、三点共线，或圆弧半径不大于内侧道路宽度）。").c_str());
}
