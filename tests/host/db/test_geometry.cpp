// Geometry of entities: extents of arcs and bulged polylines, curve parameters, and
// block references under rotation and non-uniform scale.
#include <cmath>

#include "tests/host/db/dbtestutil.h"

using dbtest::Add;

namespace {
constexpr double kPi = 3.14159265358979323846;

void ExpectBox(const AcDbExtents& e, double x0, double y0, double x1, double y1, double tol = 1e-9) {
    ASSERT_TRUE(e.isValid());
    EXPECT_NEAR(e.minPoint().x, x0, tol);
    EXPECT_NEAR(e.minPoint().y, y0, tol);
    EXPECT_NEAR(e.maxPoint().x, x1, tol);
    EXPECT_NEAR(e.maxPoint().y, y1, tol);
}
}  // namespace

TEST(Extents, ArcsAndBulgedPolylines) {
    AcDbExtents e;
    // A quarter arc from 0 to 90 degrees: only its ends and no other quadrant point.
    AcDbArc q({0, 0, 0}, 10, 0, kPi / 2);
    q.getGeomExtents(e);
    ExpectBox(e, 0, 0, 10, 10);
    // An arc crossing 0 degrees (from 315 to 45) reaches x = r.
    AcDbArc cross({0, 0, 0}, 10, 7 * kPi / 4, kPi / 4);
    cross.getGeomExtents(e);
    ExpectBox(e, 10 * std::cos(kPi / 4), -10 * std::sin(kPi / 4), 10, 10 * std::sin(kPi / 4));
    // Nearly a full turn from 1 degree to 0: every quadrant point.
    AcDbArc most({5, 5, 0}, 2, 0.01, 0.0);
    most.getGeomExtents(e);
    ExpectBox(e, 3, 3, 7, 7);

    // A semicircle bulge (1) from (0,0) to (10,0) swings below the chord (counter-clockwise).
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0}, 1.0);
    pl.addVertexAt(1, {10, 0});
    pl.getGeomExtents(e);
    ExpectBox(e, 0, -5, 10, 0);
    // A negative bulge swings above.
    pl.setBulgeAt(0, -1.0);
    pl.getGeomExtents(e);
    ExpectBox(e, 0, 0, 10, 5);
    double len = pl.length();
    EXPECT_NEAR(len, 5 * kPi, 1e-9);
    AcGePoint3d mid;
    ASSERT_EQ(pl.getPointAtParam(0.5, mid), Acad::eOk);
    EXPECT_TRUE(mid.isEqualTo({5, 5, 0}));
    double param = 0;
    ASSERT_EQ(pl.getParamAtPoint({5, 5, 0}, param), Acad::eOk);
    EXPECT_NEAR(param, 0.5, 1e-9);
    EXPECT_EQ(pl.getParamAtPoint({5, 6, 0}, param), Acad::eInvalidInput);
    // A closed bulged square: a rounded outline whose area counts the arc segments.
    AcDbPolyline sq;
    sq.addVertexAt(0, {0, 0});
    sq.addVertexAt(1, {10, 0}, std::tan(kPi / 4));  // a semicircle outwards on the right
    sq.addVertexAt(2, {10, 10});
    sq.addVertexAt(3, {0, 10});
    sq.setClosed(true);
    double area = 0;
    sq.getArea(area);
    EXPECT_NEAR(area, 100 + 0.5 * kPi * 25, 1e-9);
    sq.getGeomExtents(e);
    ExpectBox(e, 0, 0, 15, 10);
}

TEST(Curves, ParametersAndReversal) {
    AcDbLine line({0, 0, 0}, {3, 4, 0});
    double end = 0, d = 0, p = 0;
    line.getEndParam(end);
    EXPECT_DOUBLE_EQ(end, 5.0);
    ASSERT_EQ(line.getParamAtDist(2.5, p), Acad::eOk);
    AcGePoint3d pt;
    line.getPointAtParam(p, pt);
    EXPECT_TRUE(pt.isEqualTo({1.5, 2, 0}));
    EXPECT_EQ(line.getPointAtParam(6, pt), Acad::eInvalidInput);

    AcDbArc arc({0, 0, 0}, 2, 3 * kPi / 2, kPi / 2);  // through 0 degrees
    ASSERT_EQ(arc.getParamAtPoint({2, 0, 0}, p), Acad::eOk);
    arc.getDistAtParam(p, d);
    EXPECT_NEAR(d, kPi, 1e-12);
    AcGePoint3d closest;
    arc.getClosestPointTo({-5, 0, 0}, closest);  // nearest is an end, not the far side
    EXPECT_TRUE(closest.isEqualTo({0, -2, 0}) || closest.isEqualTo({0, 2, 0}));

    // Reversing a bulged open polyline keeps the shape and its length.
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0}, 0.5);
    pl.addVertexAt(1, {10, 0});
    pl.addVertexAt(2, {10, 10}, -0.3);
    pl.addVertexAt(3, {0, 10});
    double before = pl.length();
    AcDbExtents e0, e1;
    pl.getGeomExtents(e0);
    pl.reverseCurve();
    EXPECT_NEAR(pl.length(), before, 1e-9);
    pl.getGeomExtents(e1);
    ExpectBox(e1, e0.minPoint().x, e0.minPoint().y, e0.maxPoint().x, e0.maxPoint().y);
    AcGePoint3d s;
    pl.getStartPoint(s);
    EXPECT_TRUE(s.isEqualTo({0, 10, 0}));
}

TEST(Curves, TransformsThatCannotBeFollowed) {
    AcDbCircle c({1, 1, 0}, AcGeVector3d::kZAxis, 2);
    EXPECT_EQ(c.transformBy(AcGeMatrix3d::scaling(AcGeScale3d(2, 1, 1))), Acad::eCannotScaleNonUniformly);
    EXPECT_EQ(c.radius(), 2.0);
    // A mirror keeps an arc's points (the start and end swap).
    AcDbArc a({0, 0, 0}, 1, 0, kPi / 2);
    ASSERT_EQ(a.transformBy(AcGeMatrix3d::mirroring({0, 0, 0}, AcGeVector3d::kYAxis)), Acad::eOk);
    AcGePoint3d s, e;
    a.getStartPoint(s);
    a.getEndPoint(e);
    EXPECT_TRUE(s.isEqualTo({0, 1, 0}));
    EXPECT_TRUE(e.isEqualTo({-1, 0, 0}));
}

namespace {
// A block "B" holding a 10 x 4 rectangle from the origin and a circle at (10, 0) of radius 1.
AcDbObjectId MakeBlock(AcDbDatabase& db) {
    auto* pl = new AcDbPolyline();
    pl->addVertexAt(0, {0, 0});
    pl->addVertexAt(1, {10, 0});
    pl->addVertexAt(2, {10, 4});
    pl->addVertexAt(3, {0, 4});
    pl->setClosed(true);
    auto* c = new AcDbCircle({10, 0, 0}, AcGeVector3d::kZAxis, 1);
    c->setColorIndex(0);  // ByBlock
    return dbtest::Block(db, L"B", {pl, c});
}
}  // namespace

TEST(BlockReference, ExtentsUnderRotationAndNonUniformScale) {
    AcDbDatabase db;
    AcDbObjectId block = MakeBlock(db);
    AcDbBlockReference ref({100, 50, 0}, block);
    ref.setRotation(kPi / 2);
    ref.setScaleFactors(AcGeScale3d(2, 3, 1));
    AcDbExtents e;
    ASSERT_EQ(ref.getGeomExtents(e), Acad::eOk);
    // Scaled: rectangle 20 x 12, circle at (20, 0) as an ellipse 2 x 3 half-axes; then turned
    // a quarter: x' = -y, y' = x.
    ExpectBox(e, 100 - 12, 50, 100 + 3, 50 + 22, 1e-6);
    // The reference's transform maps block points as the extents assume.
    EXPECT_TRUE((ref.blockTransform() * AcGePoint3d(10, 4, 0)).isEqualTo({100 - 12, 50 + 20, 0}));
}

TEST(BlockReference, ExplodeGivesTransformedCopies) {
    AcDbDatabase db;
    AcDbObjectId block = MakeBlock(db);
    AcDbObjectId red;
    db.ensureLayer(L"RED", red);
    auto* ref = new AcDbBlockReference({100, 50, 0}, block);
    ref->setRotation(kPi / 2);
    ref->setScaleFactors(AcGeScale3d(2, 3, 1));
    ref->setLayer(red);
    ref->setColorIndex(1);
    AcDbObjectId refId = Add(db, ref);
    const AcDbBlockReference* placed = dbtest::Peek<AcDbBlockReference>(db, refId);
    AcDbExtents refExt;
    placed->getGeomExtents(refExt);

    AcDbVoidPtrArray parts;
    ASSERT_EQ(placed->explode(parts), Acad::eOk);
    ASSERT_EQ(parts.length(), 2);
    auto* rect = AcDbPolyline::cast(static_cast<AcRxObject*>(parts[0]));
    ASSERT_NE(rect, nullptr);
    AcGePoint3d corner;
    rect->getPointAt(2, corner);
    EXPECT_TRUE(corner.isEqualTo({100 - 12, 50 + 20, 0}));
    EXPECT_EQ(rect->layerId(), red);  // from layer "0" to the reference's layer
    // The circle cannot stay a circle under (2, 3): it comes back as a closed polyline that
    // follows the ellipse, in the reference's colour (it was ByBlock).
    auto* ellipse = AcDbPolyline::cast(static_cast<AcRxObject*>(parts[1]));
    ASSERT_NE(ellipse, nullptr);
    EXPECT_TRUE(ellipse->isClosed());
    EXPECT_EQ(ellipse->colorIndex(), 1);
    AcDbExtents all, pe;
    for (void* p : parts) {
        static_cast<AcDbEntity*>(p)->getGeomExtents(pe);
        all.addExt(pe);
    }
    ExpectBox(all, refExt.minPoint().x, refExt.minPoint().y, refExt.maxPoint().x, refExt.maxPoint().y, 1e-6);
    for (void* p : parts) delete static_cast<AcDbEntity*>(p);

    // A uniformly scaled reference keeps the circle a circle.
    AcDbBlockReference uniform({0, 0, 0}, block);
    uniform.setScaleFactors(AcGeScale3d(2));
    AcDbVoidPtrArray parts2;
    uniform.explode(parts2);
    ASSERT_EQ(parts2.length(), 2);
    auto* circle = AcDbCircle::cast(static_cast<AcRxObject*>(parts2[1]));
    ASSERT_NE(circle, nullptr);
    EXPECT_DOUBLE_EQ(circle->radius(), 2.0);
    for (void* p : parts2) delete static_cast<AcDbEntity*>(p);
}

TEST(BlockReference, TransformAndPickDistance) {
    AcDbDatabase db;
    AcDbObjectId block = MakeBlock(db);
    AcDbBlockReference ref({0, 0, 0}, block);
    ASSERT_EQ(ref.transformBy(AcGeMatrix3d::rotation(kPi, AcGeVector3d::kZAxis, {5, 0, 0})), Acad::eOk);
    EXPECT_TRUE(ref.position().isEqualTo({10, 0, 0}));
    EXPECT_NEAR(ref.rotation(), kPi, 1e-12);
    // A shear cannot be a reference's placement.
    AcGeMatrix3d shear;
    shear(0, 1) = 0.5;
    EXPECT_EQ(ref.transformBy(shear), Acad::eInvalidInput);
    // Distance through the block: the rectangle now spans x 0..10, y -4..0.
    vorn::db::GiDistanceMeter meter({5, 1, 0});
    vorn::db::DrawEntity(&ref, &meter);
    EXPECT_NEAR(meter.distance(), 1.0, 1e-9);
}
