// The slope arrow drag of the road slope command.
#include "annotation/roadslopejig.h"

#include <cmath>
#include <memory>

#include "annotation/annotationdb.h"
#include "annotation/slopeangle.h"
#include "frame/VornFrame.h"
#include "framework/core/KyDbSymbArrow.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "geometry/KyGeArc2d.h"
#include "geometry/KyGePoint.h"
#include "host/ed/aced.h"

double g_roadSlopePercent = 0.0;
double g_roadSlopeLength = 10.0;

namespace {
constexpr double kHalfPi = 1.5707963268;
constexpr double kPi = 3.1415926536;
}  // namespace

double KyRoadSlopeArrowLength() {
    // In plotted millimetres like the arrow's head and texts, so the three keep their
    // proportions in metre drawings as well, where a drawing unit is a thousand millimetres.
    const double plotted = KyDbGetDrawUnit() == 1 ? 20.0 : 15.0;
    return plotted * KyDbGetPlotFactor();
}

bool KyRoadSlopeAngleOnLine(const KyGePolyline2d& line, const AcGePoint3d& point, double uphill,
                            double& angle) {
    if (line.GetVertexNum() < 2) return false;
    const AcGePoint3d foot3 = KyAnnoNearestOnLine(line, point);
    const KyGePoint foot = KyAnnoGePoint(foot3);
    for (int i = 0; i < line.GetSegNum(); ++i) {
        const std::unique_ptr<KyGeCurve2d> segment = line.GetSegment(i);
        if (!segment || !(segment->HitTest(foot) & kKyGeHitOn)) continue;
        double t = 0.0;
        if (const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(segment.get()))
            t = GetStdAngle(GetAngle2d(arc->GetCenter(), foot) + kHalfPi);
        else
            t = GetStdAngle(GetAngle2d(segment->GetStartPoint(), segment->GetEndPoint()));
        angle = KyRoadSlopeOrientAngle(t, uphill);
        return true;
    }
    return false;
}

void KyRoadSlopeStyleArrow(KyDbSymbArrow& arrow) {
    const AcDbObjectId style = KyDtInitTextStyle(L"TS_DEFAULT");
    if (!style.isNull()) arrow.SetTextStyle(style);
    const AcDbObjectId layer = KyDtInitLayer(L"PLAN-SYMB_ARROW");
    if (!layer.isNull()) arrow.setLayer(layer);
    arrow.SetTextColor(7);
    arrow.SetLayoutAngle(UcsToWcs(0.0));
    arrow.SetTextAlignment(KyDbSymbArrow::kAtMiddle);
    arrow.SetTextHeight(3.5);
    arrow.SetArrowType(KyDbSymbArrow::kFilledHead);
    arrow.SetArrowSize(2.0);
    arrow.ResetTextPos();
}

KyRoadSlopeJig::KyRoadSlopeJig(const AcGePoint3d& point)
    : m_pArrow(new KyDbSymbArrow),
      m_dAngle(0.0),
      m_dRefAngle(0.0),
      m_ptPosition(point),
      m_nTurning(1) {}

KyRoadSlopeJig::KyRoadSlopeJig(double angle, const AcGePoint3d& point, const std::wstring& text1,
                               const std::wstring& text2, const KyGePolyline2d& baseLine)
    : m_pArrow(new KyDbSymbArrow),
      m_dAngle(angle),
      m_dRefAngle(angle),
      m_ptPosition(point),
      m_strText1(text1),
      m_strText2(text2),
      m_nTurning(0) {
    m_baseLine.CopyFrom(baseLine);
}

KyRoadSlopeJig::~KyRoadSlopeJig() { delete m_pArrow; }

int KyRoadSlopeJig::DoDrag() {
    acutPrintf(L"%s", KyUtTranslate(m_nTurning ? L"\n确定标注方向" : L"\n确定标注位置:").c_str());
    // The arrow stands from the start, also for a click before any cursor move.
    update();
    const DragStatus status = drag();
    if (status == kNormal) return RTNORM;
    return status == kCancel ? RTCAN : RTNONE;
}

AcEdJig::DragStatus KyRoadSlopeJig::sampler() {
    setUserInputControls(kNullResponseAccepted | kAnyBlankTerminatesInput);
    if (m_nTurning) {
        double angle = m_dAngle;
        const DragStatus status = acquireAngle(angle, m_ptPosition);
        if (status != kNormal) return status;
        if (std::fabs(angle - m_dAngle) <= g_distZero) return kNoChange;
        m_dAngle = angle;
        return kNormal;
    }
    AcGePoint3d point;
    const DragStatus status = acquirePoint(point);
    if (status != kNormal) return status;
    if (Distance2d(KyAnnoGePoint(point), KyAnnoGePoint(m_ptPosition)) <= g_distZero)
        return kNoChange;
    m_ptPosition = point;
    return kNormal;
}

bool KyRoadSlopeJig::update() {
    const double length = KyRoadSlopeArrowLength();
    const KyGePoint at = KyAnnoGePoint(m_ptPosition);
    KyGePoint from = at, to = PolarPoint(at, m_dAngle, length);
    if (m_nTurning) {
        m_pArrow->SetText1(L"");
        m_pArrow->SetText2(L"");
    } else {
        m_pArrow->SetText1(m_strText1.c_str());
        m_pArrow->SetText2(m_strText2.c_str());
        double angle = 0.0;
        if (KyRoadSlopeAngleOnLine(m_baseLine, m_ptPosition, m_dRefAngle, angle)) m_dAngle = angle;
        // Centred on the cursor, the first vertex on the uphill side.
        from = PolarPoint(at, m_dAngle, length / 2.0);
        to = PolarPoint(at, m_dAngle + kPi, length / 2.0);
    }
    KyGePolyline2d path;
    path.AppendVertex(from);
    path.AppendVertex(to);
    m_pArrow->SetPolyline(path);
    KyRoadSlopeStyleArrow(*m_pArrow);
    return true;
}

AcDbEntity* KyRoadSlopeJig::entity() const { return m_pArrow; }
