// Points, vectors, angles, transforms and the owning list.
#include <cmath>
#include <limits>

#include "geomtest.h"

TEST(GeomValues, AnglesAreStandardisedAndNeverNaN) {
    EXPECT_DOUBLE_EQ(GetStdAngle(-KyGePi / 2), 1.5 * KyGePi);
    EXPECT_DOUBLE_EQ(GetStdAngle(5 * KyGePi), KyGePi);
    EXPECT_LT(GetStdAngle(-1e-18), 2 * KyGePi);
    EXPECT_EQ(GetStdAngle(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(GetStdAngle(std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(KyGeVector2d().GetAngle(), 0.0);
}

TEST(GeomValues, VectorsLengthParallelAndZero) {
    KyGeVector2d v = KyGeVector2d::CreateFromAngle(KyGePi / 3, 2.0);
    EXPECT_NEAR(v.Length(), 2.0, 1e-12);
    EXPECT_NEAR(v.GetAngle(), KyGePi / 3, 1e-12);
    ASSERT_TRUE(v.SetLength(5.0));
    EXPECT_NEAR(v.Length(), 5.0, 1e-12);
    EXPECT_TRUE(v.IsParallelWith(v * -3.0));
    EXPECT_FALSE(v.IsParallelWith(v.Perp()));
    KyGeVector2d zero;
    EXPECT_FALSE(zero.SetLength(1.0));
    EXPECT_FALSE(zero.IsParallelWith(v));
    EXPECT_EQ(zero.Normal().Length(), 0.0);
}

TEST(GeomValues, DistancesAndEqualityWithinTolerance) {
    const KyGePoint a(1e7, 1e7, 5), b(1e7 + 3, 1e7 + 4, 5);
    EXPECT_DOUBLE_EQ(Distance2d(a, b), 5.0);
    EXPECT_DOUBLE_EQ(Distance3d(KyGePoint(0, 0, 0), KyGePoint(0, 3, 4)), 5.0);
    EXPECT_TRUE(Equal2d(a, KyGePoint(a.x + g_distZero / 2, a.y)));
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a != KyGePoint(a.x, a.y, 99));  // z does not count in the plane
}

TEST(GeomValues, OrientationIsExactNearCollinear) {
    // Points on a line at 1e7 nudged by one unit in the last place: the sign must follow the nudge.
    const KyGePoint a(1e7, 1e7), b(1e7 + 1, 1e7 + 1);
    const KyGePoint c(1e7 + 0.5, std::nextafter(1e7 + 0.5, 2e7));
    EXPECT_EQ(Orient2d(a, b, KyGePoint(1e7 + 0.5, 1e7 + 0.5)), 0);
    EXPECT_EQ(Orient2d(a, b, c), 1);
    EXPECT_EQ(Orient2d(b, a, c), -1);
}

TEST(GeomValues, RotationAboutCentreAndInverse) {
    const KyGePoint centre(100, 50);
    const KyGeMatrix r = KyGeMatrix::CreateRotateMatrix(KyGePi / 2, centre);
    EXPECT_TRUE(Near(r.Transform(centre), centre));
    EXPECT_TRUE(Near(r.Transform(KyGePoint(110, 50)), KyGePoint(100, 60)));
    KyGeMatrix inv;
    ASSERT_TRUE(r.Inverse(inv));
    EXPECT_TRUE(Near((inv * r).Transform(KyGePoint(7, -3)), KyGePoint(7, -3)));
    EXPECT_TRUE(r.IsConformal());
    KyGeMatrix singular = KyGeMatrix::CreateScaleMatrix(0.0);
    EXPECT_FALSE(singular.Inverse(inv));
    const KyGeMatrix m = KyGeMatrix::CreateMirrorMatrix(KyGePoint(0, 0), KyGePoint(1, 1));
    EXPECT_TRUE(Near(m.Transform(KyGePoint(2, 0)), KyGePoint(0, 2)));
    EXPECT_LT(m.Determinant(), 0.0);
}

TEST(GeomList, OwnsSortsStablyAndDeletes) {
    KyGeObjList list;
    list.Append(std::make_unique<KyGePoint2d>(KyGePoint(1, 0)), 2.0);
    list.Append(std::make_unique<KyGePoint2d>(KyGePoint(2, 0)), 1.0);
    list.Append(std::make_unique<KyGePoint2d>(KyGePoint(3, 0)), 2.0);
    list << std::make_unique<KyGeLineSeg2d>(KyGePoint(0, 0), KyGePoint(1, 0));  // key 0
    list << std::unique_ptr<KyGeObject>();                                      // null is not added
    ASSERT_EQ(list.GetLength(), 4);
    list.Sort(true);
    EXPECT_TRUE(list[0]->IsClassOf(KyGeLineSeg2d::s_classInfo));
    EXPECT_EQ(KyGeCast<KyGePoint2d>(list[1])->GetPoint().x, 2.0);
    EXPECT_EQ(KyGeCast<KyGePoint2d>(list[2])->GetPoint().x, 1.0);  // equal keys keep their order
    EXPECT_EQ(KyGeCast<KyGePoint2d>(list[3])->GetPoint().x, 3.0);
    list.Sort(false);
    EXPECT_EQ(KyGeCast<KyGePoint2d>(list[0])->GetPoint().x, 1.0);
    EXPECT_TRUE(list.Del(0));
    EXPECT_FALSE(list.Del(10));
    EXPECT_EQ(list.GetAt(-1), nullptr);
    list.AppendClone(*list[0]);
    EXPECT_EQ(list.GetLength(), 4);
    list.Reset();
    EXPECT_EQ(list.GetLength(), 0);
}

TEST(GeomList, RunTimeKindsNest) {
    KyGeCircle2d circle(KyGePoint(0, 0), 5);
    KyGeLine2d line(KyGePoint(0, 0), KyGePoint(1, 0));
    EXPECT_TRUE(circle.IsClassOf(KyGeArc2d::s_classInfo));
    EXPECT_TRUE(circle.IsClassOf(KyGeCurve2d::s_classInfo));
    EXPECT_FALSE(line.IsClassOf(KyGeArc2d::s_classInfo));
    EXPECT_FALSE(line.IsClassOf(KyGeLineSeg2d::s_classInfo));
    EXPECT_TRUE(line.IsClassOf(KyGeBaseLine2d::s_classInfo));
    std::unique_ptr<KyGeObject> copy = static_cast<const KyGeObject&>(circle).Clone();
    EXPECT_TRUE(copy->IsClassOf(KyGeCircle2d::s_classInfo));
}
