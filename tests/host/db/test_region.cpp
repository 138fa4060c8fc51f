// Regions: loops from closed curves and chains, booleans, areas against the exact values.
#include <cmath>
#include <memory>

#include "tests/host/db/dbtestutil.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

// Regions made from the curves (deleted afterwards); the caller owns the regions.
std::vector<std::unique_ptr<AcDbRegion>> Make(std::vector<AcDbEntity*> curves, Acad::ErrorStatus* es = nullptr) {
    AcDbVoidPtrArray in, out;
    for (auto* c : curves) in.append(c);
    Acad::ErrorStatus status = AcDbRegion::createFromCurves(in, out);
    if (es) *es = status;
    for (auto* c : curves) delete c;
    std::vector<std::unique_ptr<AcDbRegion>> regions;
    for (void* r : out) regions.emplace_back(static_cast<AcDbRegion*>(r));
    return regions;
}

double Area(const AcDbRegion& r) {
    double a = 0;
    r.getArea(a);
    return a;
}

// Area of the lens two circles of radius r share when their centres are d apart.
double Lens(double r, double d) { return 2 * r * r * std::acos(d / (2 * r)) - 0.5 * d * std::sqrt(4 * r * r - d * d); }
}  // namespace

TEST(Region, CirclesOverlappingAndDisjoint) {
    const double r = 1000.0;  // millimetres, as a site plan draws a tree crown
    auto regions = Make({new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, r),
                         new AcDbCircle({1200, 0, 0}, AcGeVector3d::kZAxis, r),
                         new AcDbCircle({10000, 0, 0}, AcGeVector3d::kZAxis, r)});
    ASSERT_EQ(regions.size(), 3u);
    const double disc = kPi * r * r;
    // A circle's polygon is made to enclose exactly the disc's area.
    EXPECT_NEAR(Area(*regions[0]), disc, disc * 1e-9);
    // Unite them all into the first, one by one, as the tree area fill does.
    for (size_t i = 1; i < regions.size(); ++i) {
        ASSERT_EQ(regions[0]->booleanOper(AcDb::kBoolUnite, regions[i].get()), Acad::eOk);
        EXPECT_TRUE(regions[i]->isNull());  // the other ends up empty
    }
    const double united = 3 * disc - Lens(r, 1200);
    EXPECT_NEAR(Area(*regions[0]), united, united * 1e-5);
    EXPECT_EQ(regions[0]->loops().size(), 2u);  // the overlapping pair and the far circle
    EXPECT_TRUE(regions[0]->contains({600, 0}));
    EXPECT_FALSE(regions[0]->contains({5000, 0}));

    // Unions are made when next needed: one followed by a subtraction still takes both in turn.
    auto u = Make({new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, r), new AcDbCircle({1200, 0, 0}, AcGeVector3d::kZAxis, r),
                   new AcDbCircle({600, 0, 0}, AcGeVector3d::kZAxis, 100)});
    ASSERT_EQ(u.size(), 3u);
    ASSERT_EQ(u[0]->booleanOper(AcDb::kBoolUnite, u[1].get()), Acad::eOk);
    ASSERT_EQ(u[0]->booleanOper(AcDb::kBoolSubtract, u[2].get()), Acad::eOk);
    const double pair = 2 * disc - Lens(r, 1200), hole = kPi * 100 * 100;
    EXPECT_NEAR(Area(*u[0]), pair - hole, pair * 1e-5);
    EXPECT_FALSE(u[0]->contains({600, 0}));
    EXPECT_TRUE(u[0]->contains({1900, 0}));

    // Intersection and subtraction of two overlapping circles.
    auto a = Make({new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, r)});
    auto b = Make({new AcDbCircle({1200, 0, 0}, AcGeVector3d::kZAxis, r)});
    auto c = Make({new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, r)});
    auto d = Make({new AcDbCircle({1200, 0, 0}, AcGeVector3d::kZAxis, r)});
    ASSERT_EQ(a[0]->booleanOper(AcDb::kBoolIntersect, b[0].get()), Acad::eOk);
    EXPECT_NEAR(Area(*a[0]), Lens(r, 1200), disc * 1e-5);
    ASSERT_EQ(c[0]->booleanOper(AcDb::kBoolSubtract, d[0].get()), Acad::eOk);
    EXPECT_NEAR(Area(*c[0]), disc - Lens(r, 1200), disc * 1e-5);
}

TEST(Region, LoopsFromChainedCurvesInAnyDirection) {
    // A 10 x 10 square with a semicircular top: two lines, a reversed line and an arc, shuffled.
    Acad::ErrorStatus es;
    auto regions = Make({new AcDbLine({0, 0, 0}, {10, 0, 0}), new AcDbArc({5, 10, 0}, 5, 0, kPi),
                         new AcDbLine({0, 10, 0}, {0, 0, 0}), new AcDbLine({10, 10, 0}, {10, 0, 0}),
                         new AcDbLine({50, 50, 0}, {60, 60, 0})},  // an open stray curve closes nothing
                        &es);
    EXPECT_EQ(es, Acad::eOk);
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_NEAR(Area(*regions[0]), 100 + 0.5 * kPi * 25, 1e-3);

    // A closed polyline with a bulge, and a self-overlapping closed polyline (a bow tie) that
    // becomes two triangles.
    auto* pl = new AcDbPolyline();
    pl->addVertexAt(0, {0, 0});
    pl->addVertexAt(1, {10, 0}, 1.0);
    pl->addVertexAt(2, {10, 10});
    pl->addVertexAt(3, {0, 10});
    pl->setClosed(true);
    auto* bow = new AcDbPolyline();
    bow->addVertexAt(0, {100, 0});
    bow->addVertexAt(1, {110, 10});
    bow->addVertexAt(2, {110, 0});
    bow->addVertexAt(3, {100, 10});
    bow->setClosed(true);
    auto more = Make({pl, bow});
    ASSERT_EQ(more.size(), 2u);
    EXPECT_NEAR(Area(*more[0]), 100 + 0.5 * kPi * 25, 1e-3);
    EXPECT_NEAR(Area(*more[1]), 50, 1e-6);
    EXPECT_EQ(more[1]->loops().size(), 2u);

    // Nothing closed at all, or not a curve: refused.
    Make({new AcDbLine({0, 0, 0}, {1, 0, 0})}, &es);
    EXPECT_EQ(es, Acad::eInvalidInput);
    Make({new AcDbText({0, 0, 0}, L"x")}, &es);
    EXPECT_EQ(es, Acad::eInvalidInput);
}

TEST(Region, LoopsSetFromFilesKeepHoles) {
    AcDbRegion r;
    // An outer square given clockwise and a hole inside it.
    ASSERT_EQ(r.setLoops({{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, {{2, 2}, {4, 2}, {4, 4}, {2, 4}}}), Acad::eOk);
    EXPECT_NEAR(Area(r), 96, 1e-9);
    EXPECT_FALSE(r.contains({3, 3}));
    EXPECT_TRUE(r.contains({1, 1}));
    EXPECT_TRUE(r.contains({0, 5}));  // on the boundary
    EXPECT_EQ(r.setLoops({{{0, 0}, {std::nan(""), 1}, {1, 1}}}), Acad::eInvalidInput);
    EXPECT_NEAR(Area(r), 96, 1e-9);
    AcDbRegion empty;
    EXPECT_EQ(empty.degeneracy(), L"empty region");
    // Transforms keep the area scaled by the determinant, also through a mirror.
    ASSERT_EQ(r.transformBy(AcGeMatrix3d::mirroring({0, 0, 0}, AcGeVector3d::kXAxis) *
                            AcGeMatrix3d::scaling(AcGeScale3d(2, 1, 1))),
              Acad::eOk);
    EXPECT_NEAR(Area(r), 192, 1e-9);
    AcDbRegion other;
    other.setLoops({{{0, -10}, {1, -10}, {1, 0}, {0, 0}}});
    ASSERT_EQ(r.booleanOper(AcDb::kBoolSubtract, &other), Acad::eOk);
    EXPECT_NEAR(Area(r), 182, 1e-9);
}

TEST(Region, LargeCoordinatesStayExact) {
    // Site plans reach 10^7 mm: the same union far from the origin gives the same area.
    const double r = 1000.0, x0 = 1.0e7, y0 = -2.0e7;
    auto a = Make({new AcDbCircle({x0, y0, 0}, AcGeVector3d::kZAxis, r)});
    auto b = Make({new AcDbCircle({x0 + 1200, y0, 0}, AcGeVector3d::kZAxis, r)});
    ASSERT_EQ(a[0]->booleanOper(AcDb::kBoolUnite, b[0].get()), Acad::eOk);
    EXPECT_NEAR(Area(*a[0]), 2 * kPi * r * r - Lens(r, 1200), kPi * r * r * 1e-5);
}
