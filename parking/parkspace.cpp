// How the row drag draws and how a committed row is written: both lay the same spaces.
#include "parking/parkspace.h"

#include <memory>

#include "frame/VornFrame.h"
#include "framework/core/KyDbText.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "framework/core/KyGiStream.h"
#include "geometry/KyGePolyline2d.h"
#include "host/db/dbblockref.h"
#include "host/db/dbpline.h"
#include "parking/parkrowlayout.h"
#include "parking/parksettings.h"

using vorn::parking::LayParkRowSide;
using vorn::parking::ParkPt;
using vorn::parking::ParkSpaceShape;

namespace {

constexpr const wchar_t* kParkLayer = L"PLAN-CAR_PLACE";

std::vector<ParkSpaceShape> LaySide(const AcGePoint3d& s, const AcGePoint3d& e, double w, double d,
                                    double a, int side, int n, int style) {
    return LayParkRowSide({s.x, s.y}, {e.x, e.y}, w, d, a, side, n, style);
}

KyGePolyline2d GePolyline(const std::vector<ParkPt>& points, bool closed) {
    KyGePolyline2d pline;
    for (const ParkPt& p : points) pline.AppendVertex(KyGePoint(p.x, p.y));
    pline.SetClosed(closed);
    return pline;
}

AcDbPolyline* DbPolyline(const std::vector<ParkPt>& points, bool closed) {
    auto* pline = new AcDbPolyline;
    unsigned int i = 0;
    for (const ParkPt& p : points) pline->addVertexAt(i++, AcGePoint2d(p.x, p.y));
    pline->setClosed(closed);
    pline->setElevation(0.0);
    return pline;
}

void EmitSide(KyGiStream& stream, const KyDbParkSpace& row, int side) {
    const double f = KyParkUnitFactor();
    for (const ParkSpaceShape& shape :
         LaySide(row.GetStartPoint(), row.GetEndPoint(), row.GetSpaceWidth(), row.GetDepth(),
                 row.GetAngle(), side, row.GetCount(), row.GetStyle())) {
        stream << GePolyline(shape.outline, true);
        if (!shape.mark.empty()) stream << GePolyline(shape.mark, false);
        if (row.GetStyle() == kParkWithCar && !row.GetCarBlock().isNull())
            stream << KyGiBlock(AcGePoint3d(shape.carCentre.x, shape.carCentre.y, 0), row.GetCarBlock(),
                                shape.carRotation, f, f, f);
    }
}

}  // namespace

KyDbParkSpace::KyDbParkSpace(const AcDbObjectId& carBlock) : m_idCarBlock(carBlock) {}

KyDbParkSpace::~KyDbParkSpace() = default;

void KyDbParkSpace::OnExplode(KyGiStream& stream) const {
    if (m_nCount > 0) {
        if (m_nSideFlag != 0 || m_nRows != 1) {
            EmitSide(stream, *this, 1);
            if (m_nRows == 2) EmitSide(stream, *this, 2);
        } else {
            EmitSide(stream, *this, 2);
        }
    }
    stream << GePolyline({{m_ptStart.x, m_ptStart.y}, {m_ptEnd.x, m_ptEnd.y}}, false);
    CString count;
    count.Format(KyUtTranslate(L"%d").c_str(), m_nCount * m_nRows);
    KyDbText text(m_ptEnd, count.GetString(), KyGiText::kRightMiddle);
    text.SetTextHeight(10, KyDbText::kPlotted);
    stream << text;
}

void AddParkRow(const AcGePoint3d& s, const AcGePoint3d& e, double w, double d, double a, int side,
                int n, int style, const AcDbObjectId& carBlock) {
    const AcDbObjectId layer = KyDtInitLayer(kParkLayer);
    auto add = [&layer](AcDbEntity* entity) {
        if (!layer.isNull()) entity->setLayer(layer);
        AddToModelSpace(entity, 1);
    };
    const double f = KyParkUnitFactor();
    for (const ParkSpaceShape& shape : LaySide(s, e, w, d, a, side, n, style)) {
        add(DbPolyline(shape.outline, true));
        if ((style == kParkSingleDiagonal || style == kParkDoubleDiagonal) && !shape.mark.empty())
            add(DbPolyline(shape.mark, false));
        if (style == kParkWithCar && !carBlock.isNull()) {
            auto* car = new AcDbBlockReference(AcGePoint3d(shape.carCentre.x, shape.carCentre.y, 0), carBlock);
            car->setRotation(shape.carRotation);
            car->setScaleFactors(AcGeScale3d(f, f, f));
            add(car);
        }
    }
}
