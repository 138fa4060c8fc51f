// Host curves to geometry objects and back: lines, arcs in either sense, circles, polylines with
// bulges, degenerate and unknown entities; the stream drawing geometry objects as host entities;
// an arrow laid along a geometry polyline.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "framework/core/KyDbSymbArrow.h"
#include "framework/core/KyGeConvert.h"
#include "framework/core/KyGiStream.h"
#include "geometry/KyGeometry.h"
#include "host/db/db2dpline.h"
#include "host/db/dbarc.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/db/dbpline.h"
#include "host/db/dbtext.h"

namespace {

template <class T>
std::unique_ptr<T> Ge(const AcDbEntity& entity) {
    std::unique_ptr<KyGeObject> object(AcDb2KyGe(&entity));
    if (!object || !object->IsClassOf(T::s_classInfo)) return nullptr;
    return std::unique_ptr<T>(static_cast<T*>(object.release()));
}

template <class T>
std::unique_ptr<T> Host(const KyGeObject& object) {
    std::unique_ptr<AcDbEntity> entity(KyGe2AcDb(&object));
    if (!entity || !T::cast(entity.get())) return nullptr;
    return std::unique_ptr<T>(T::cast(entity.release()));
}

void ExpectNear(const KyGePoint& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
}

}  // namespace

TEST(Convert, LinesAndArcsBothWaysKeepTheirPoints) {
    auto seg = Ge<KyGeLineSeg2d>(AcDbLine(AcGePoint3d(1, 2, 5), AcGePoint3d(11, 2, 5)));
    ASSERT_TRUE(seg);
    ExpectNear(seg->GetEndPoint(), 11, 2);
    EXPECT_FALSE(AcDb2KyGe(std::make_unique<AcDbLine>(AcGePoint3d(3, 3, 0), AcGePoint3d(3, 3, 0)).get()));

    // A host arc runs counter-clockwise from its start angle.
    auto arc = Ge<KyGeArc2d>(AcDbArc(AcGePoint3d(0, 0, 0), 10.0, 0.0, KyGePi / 2));
    ASSERT_TRUE(arc);
    EXPECT_FALSE(arc->IsClockwise());
    ExpectNear(arc->GetStartPoint(), 10, 0);
    ExpectNear(arc->GetEndPoint(), 0, 10);
    EXPECT_FALSE(AcDb2KyGe(std::make_unique<AcDbArc>(AcGePoint3d(0, 0, 0), 0.0, 0.0, 1.0).get()));

    // A clockwise geometry arc becomes the host arc over the same points, from its end.
    const KyGeArc2d cw(KyGePoint(0, 0), 10.0, KyGePi / 2, 0.0, true);
    auto hostArc = Host<AcDbArc>(cw);
    ASSERT_TRUE(hostArc);
    EXPECT_NEAR(hostArc->startAngle(), 0.0, 1e-12);
    EXPECT_NEAR(hostArc->endAngle(), KyGePi / 2, 1e-12);
    auto back = Ge<KyGeArc2d>(*hostArc);
    ASSERT_TRUE(back);
    ExpectNear(back->GetMidPoint(), cw.GetMidPoint().x, cw.GetMidPoint().y);
    auto hostLine = Host<AcDbLine>(*seg);
    ASSERT_TRUE(hostLine);
    EXPECT_EQ(hostLine->endPoint(), AcGePoint3d(11, 2, 0));
}

TEST(Convert, PolylinesKeepBulgesAndClosureCirclesBecomeTwoHalves) {
    AcDbPolyline pl;
    pl.addVertexAt(0, AcGePoint2d(0, 0), 0.0);
    pl.addVertexAt(1, AcGePoint2d(10, 0), 1.0);  // a half circle up to (10, 10)
    pl.addVertexAt(2, AcGePoint2d(10, 10), 0.0);
    pl.setClosed(true);
    auto ge = Ge<KyGePolyline2d>(pl);
    ASSERT_TRUE(ge);
    EXPECT_EQ(ge->GetVertexNum(), 3);
    EXPECT_TRUE(ge->IsClosed());
    EXPECT_DOUBLE_EQ(ge->GetBulge(1), 1.0);
    auto host = Host<AcDbPolyline>(*ge);
    ASSERT_TRUE(host);
    EXPECT_EQ(host->vertices(), pl.vertices());
    EXPECT_TRUE(host->isClosed());

    AcDb2dPolyline old(AcDb::k2dSimplePoly, {AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0)});
    auto fromOld = Ge<KyGePolyline2d>(old);
    ASSERT_TRUE(fromOld);
    EXPECT_NEAR(fromOld->Length(), std::sqrt(50.0), 1e-9);
    AcDbPolyline single;
    single.addVertexAt(0, AcGePoint2d(1, 1));
    EXPECT_FALSE(AcDb2KyGe(&single));
    single.addVertexAt(1, AcGePoint2d(1, 1));  // two vertices on one spot
    EXPECT_FALSE(AcDb2KyGe(&single));

    auto circle = Ge<KyGePolyline2d>(AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 2.0));
    ASSERT_TRUE(circle);
    EXPECT_TRUE(circle->IsClosed());
    EXPECT_NEAR(circle->Length(), 4 * KyGePi, 1e-9);
    EXPECT_NEAR(circle->GetArea(), 4 * KyGePi, 1e-9);  // counter-clockwise
    auto hostCircle = Host<AcDbCircle>(KyGeCircle2d(KyGePoint(5, 5), 2.0));
    ASSERT_TRUE(hostCircle);
    EXPECT_DOUBLE_EQ(hostCircle->radius(), 2.0);

    // Nothing for what has no counterpart.
    EXPECT_FALSE(KyGe2AcDb(nullptr));
    EXPECT_FALSE(KyGe2AcDb(std::make_unique<KyGeLine2d>(KyGePoint(0, 0), KyGePoint(1, 0)).get()));
    EXPECT_FALSE(KyGe2AcDb(std::make_unique<KyGePoint2d>(KyGePoint(1, 1)).get()));
    EXPECT_FALSE(AcDb2KyGe(nullptr));
    EXPECT_FALSE(AcDb2KyGe(std::make_unique<AcDbText>().get()));
}

TEST(Convert, TheStreamDrawsGeometryAsHostEntitiesInItsColour) {
    AcDbVoidPtrArray parts;
    {
        KyGiExplodeStream stream(parts);
        stream.SetColorIndex(3);
        KyGePolyline2d path;
        path.AppendVertex(KyGePoint(0, 0));
        path.AppendVertex(KyGePoint(4, 0), 0.5);
        path.AppendVertex(KyGePoint(8, 0));
        stream << KyGeLineSeg2d(KyGePoint(0, 0), KyGePoint(1, 1)) << KyGeArc2d(KyGePoint(0, 0), 1.0, 0.0, 1.0)
               << path << KyGeLine2d(KyGePoint(0, 0), KyGePoint(1, 0)) << static_cast<const KyGeObject*>(nullptr);
    }
    ASSERT_EQ(parts.length(), 3);  // the unbounded line and the null draw nothing
    EXPECT_TRUE(AcDbLine::cast(static_cast<AcDbEntity*>(parts[0])));
    EXPECT_TRUE(AcDbArc::cast(static_cast<AcDbEntity*>(parts[1])));
    const AcDbPolyline* pl = AcDbPolyline::cast(static_cast<AcDbEntity*>(parts[2]));
    ASSERT_TRUE(pl);
    EXPECT_EQ(pl->numVerts(), 3u);
    for (void* p : parts) {
        EXPECT_EQ(static_cast<AcDbEntity*>(p)->colorIndex(), 3);
        delete static_cast<AcDbEntity*>(p);
    }
}

TEST(Convert, AnArrowFollowsAGeometryPolylineClosedOrOpen) {
    KyDbSymbArrow arrow;
    KyGePolyline2d path;
    path.AppendVertex(KyGePoint(0, 0));
    path.AppendVertex(KyGePoint(10, 0), 0.25);
    path.AppendVertex(KyGePoint(10, 10), 0.7);  // the last bulge of an open path leads nowhere
    ASSERT_EQ(arrow.SetPolyline(path), Acad::eOk);
    ASSERT_EQ(arrow.GetVertices().size(), 3u);
    EXPECT_DOUBLE_EQ(arrow.GetVertices()[1].bulge, 0.25);
    EXPECT_DOUBLE_EQ(arrow.GetVertices()[2].bulge, 0.0);

    path.SetClosed(true);  // a closed outline is walked back to where it began
    ASSERT_EQ(arrow.SetPolyline(path), Acad::eOk);
    ASSERT_EQ(arrow.GetVertices().size(), 4u);
    EXPECT_EQ(arrow.GetVertices().back().point, AcGePoint2d(0, 0));
    EXPECT_DOUBLE_EQ(arrow.GetVertices()[2].bulge, 0.7);

    KyGePolyline2d dot;
    dot.AppendVertex(KyGePoint(3, 3));
    EXPECT_NE(arrow.SetPolyline(dot), Acad::eOk);
    EXPECT_EQ(arrow.GetVertices().size(), 4u);  // the refused path changed nothing
}
