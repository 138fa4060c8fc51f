// How the road preview draws: the picked line in grey, the edges in the stream's colour.
#include "road/roadpreview.h"

#include <memory>

#include "framework/core/KyGiStream.h"
#include "host/db/dbcolor.h"
#include "host/db/dbentity.h"
#include "road/roadcurve.h"

namespace {

void Emit(KyGiStream& stream, const std::unique_ptr<KyGeCurve2d>& curve) {
    if (!curve) return;
    if (std::unique_ptr<AcDbEntity> entity = RoadCurveToEntity(*curve)) stream << *entity;
}

}  // namespace

KyDbRoad::~KyDbRoad() = default;

void KyDbRoad::OnExplode(KyGiStream& stream) const {
    const int colour = stream.GetColorIndex();
    AcCmColor grey;
    grey.setRGB(150, 150, 150);
    const double left = m_dLeftWidth, right = m_dRightWidth;
    if (m_nMode == 0) {
        const std::unique_ptr<KyGeCurve2d> line = MakeRoadLine(m_ptFirst, m_ptSecond);
        if (!line) return;
        stream.SetColorIndex(grey.colorIndex());
        Emit(stream, line);
        stream.SetColorIndex(colour);
        if (m_nPosLine == 0) {
            Emit(stream, RoadOffsetCurve(*line, -left));
            Emit(stream, RoadOffsetCurve(*line, +right));
        } else if (m_nPosLine == 1) {
            Emit(stream, RoadOffsetCurve(*line, +(left + right)));
        } else {
            Emit(stream, RoadOffsetCurve(*line, -(left + right)));
        }
    } else {
        const std::unique_ptr<KyGeCurve2d> arc = MakeRoadArc(m_ptFirst, m_ptThird, m_ptSecond);
        if (!arc) return;
        if (m_nPosLine == 0) {
            Emit(stream, RoadOffsetCurve(*arc, -left));
            Emit(stream, RoadOffsetCurve(*arc, +right));
        } else if (m_nPosLine == 1) {
            Emit(stream, arc);
            Emit(stream, RoadOffsetCurve(*arc, +(left + right)));
        } else {
            Emit(stream, arc);
            Emit(stream, RoadOffsetCurve(*arc, -(left + right)));
        }
    }
    stream.SetColorIndex(colour);
}
