// The elevation mark drag of the road elevation command.
#include "annotation/roadelevjig.h"

#include "annotation/annotationdb.h"
#include "annotation/annotationmath.h"
#include "framework/core/KyDbSymbElevation.h"
#include "geometry/KyGePoint.h"
#include "host/mfc/cstring.h"

double g_roadElevSlope = 0.0;

double KyRoadElevationOnLine(const KyGePolyline2d& line, const AcGePoint3d& basePoint, double e1,
                             double grade, int mode, const AcGePoint3d& point) {
    const double d = Distance2d(KyAnnoGePoint(point), KyAnnoGePoint(basePoint));
    bool after = false;
    if (line.GetVertexNum() >= 2) {
        // Along-line distances rather than the normalised parameters, so that the tolerance
        // stays a drawing distance on long lines too.
        after = line.GetDistFromPt(KyAnnoGePoint(point)) >
                line.GetDistFromPt(KyAnnoGePoint(basePoint)) + g_distZero;
    }
    return KyAnnoElevationAt(e1, grade, d, after, mode);
}

KyRoadElevJig::KyRoadElevJig(const KyDbSymbElevation* base, const AcGePoint3d& basePoint,
                             double grade, int mode)
    : m_pSymbol(base ? static_cast<KyDbSymbElevation*>(base->clone()) : new KyDbSymbElevation),
      m_ptBase(basePoint),
      m_dBaseElevation(base ? _wtof(base->GetElevationText().c_str()) : 0.0),
      m_dGrade(grade),
      m_ptCurrent(basePoint),
      m_nMode(mode) {}

KyRoadElevJig::~KyRoadElevJig() { delete m_pSymbol; }

AcEdJig::DragStatus KyRoadElevJig::sampler() {
    setUserInputControls(kNullResponseAccepted | kAnyBlankTerminatesInput);
    AcGePoint3d point;
    const DragStatus status = acquirePoint(point);
    if (status != kNormal) return status;
    // Marks of one road stand in the base mark's plane.
    point.z = m_ptBase.z;
    if (m_baseLine.GetVertexNum() >= 2) point = KyAnnoNearestOnLine(m_baseLine, point);
    if (Distance2d(KyAnnoGePoint(point), KyAnnoGePoint(m_ptCurrent)) <= g_distZero)
        return kNoChange;
    m_ptCurrent = point;
    return kNormal;
}

bool KyRoadElevJig::update() {
    m_pSymbol->SetLocation(m_ptCurrent);
    const double elevation = KyRoadElevationOnLine(m_baseLine, m_ptBase, m_dBaseElevation,
                                                   m_dGrade, m_nMode, m_ptCurrent);
    // An elevation past the finite numbers (absurd base texts) leaves the last text standing.
    const std::wstring text = KyAnnoElevationText(elevation, m_pSymbol->IsPrec2());
    if (!text.empty()) m_pSymbol->SetElevationText(text.c_str());
    return true;
}

AcDbEntity* KyRoadElevJig::entity() const { return m_pSymbol; }
