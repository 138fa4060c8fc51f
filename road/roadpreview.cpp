// How the road preview draws: the picked line in grey, the edges in the stream's colour.
#include "road/roadpreview.h"

#include <memory>
#include <optional>

#include "framework/core/KyGiStream.h"
#include "host/db/dbcolor.h"
#include "host/db/dbentity.h"
#include "road/roadcurve.h"

namespace {

void Emit(KyGiStream& stream, const std::optional<KyRoadCurve>& curve) {
    if (!curve) return;
    if (std::unique_ptr<AcDbEntity> entity = curve->ToEntity()) stream << *entity;
}

}  // namespace

KyDbRoad::~KyDbRoad() = default;

void KyDbRoad::OnExplode(KyGiStream& stream) const {
    const int colour = stream.GetColorIndex();
    AcCmColor grey;
    grey.setRGB(150, 150, 150);
    const double left = m_dLeftWidth, right = m_dRightWidth;
    if (m_nMode == 0) {
        const std::optional<KyRoadCurve> line = KyRoadCurve::Line(m_ptFirst, m_ptSecond);
        if (!line) return;
        stream.SetColorIndex(grey.colorIndex());
        Emit(stream, line);
        stream.SetColorIndex(colour);
        if (m_nPosLine == 0) {
            Emit(stream, line->GetOffsetCurve(-left));
            Emit(stream, line->GetOffsetCurve(+right));
        } else if (m_nPosLine == 1) {
            Emit(stream, line->GetOffsetCurve(+(left + right)));
        } else {
            Emit(stream, line->GetOffsetCurve(-(left + right)));
        }
    } else {
        const std::optional<KyRoadCurve> arc = KyRoadCurve::Arc(m_ptFirst, m_ptThird, m_ptSecond);
        if (!arc) return;
        if (m_nPosLine == 0) {
            Emit(stream, arc->GetOffsetCurve(-left));
            Emit(stream, arc->GetOffsetCurve(+right));
        } else if (m_nPosLine == 1) {
            Emit(stream, arc);
            Emit(stream, arc->GetOffsetCurve(+(left + right)));
        } else {
            Emit(stream, arc);
            Emit(stream, arc->GetOffsetCurve(-(left + right)));
        }
    }
    stream.SetColorIndex(colour);
}
