// Points, vectors and matrices: the transforms entities rely on, inverses, degenerate input.
#include <gtest/gtest.h>

#include <cmath>

#include "host/ge/ge.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void expectNear(const AcGePoint3d& a, const AcGePoint3d& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

TEST(GeVectors, ZeroVectorsNeverGiveNaN) {
    EXPECT_EQ(AcGeVector3d::kIdentity.normal(), AcGeVector3d::kIdentity);
    EXPECT_EQ(AcGeVector2d(0, 0).normal(), AcGeVector2d(0, 0));
    EXPECT_EQ(AcGeVector2d(0, 0).angle(), 0.0);
    EXPECT_EQ(AcGeVector3d::kIdentity.angleTo(AcGeVector3d::kXAxis), 0.0);
    EXPECT_FALSE(AcGeVector3d::kIdentity.isParallelTo(AcGeVector3d::kXAxis));
}

TEST(GeVectors, AnglesAreCounterClockwiseInZeroToTwoPi) {
    EXPECT_NEAR(AcGeVector2d(0, -1).angle(), 1.5 * kPi, 1e-12);
    EXPECT_NEAR(AcGeVector2d(1, 0).angleTo(AcGeVector2d(0, -1)), 1.5 * kPi, 1e-12);
    EXPECT_NEAR(AcGeVector3d::kXAxis.angleTo(AcGeVector3d::kYAxis, AcGeVector3d::kZAxis), kPi / 2, 1e-12);
    EXPECT_NEAR(AcGeVector3d::kXAxis.angleTo(AcGeVector3d::kYAxis, -AcGeVector3d::kZAxis), 1.5 * kPi, 1e-12);
    AcGeVector3d v = AcGeVector3d::kXAxis;
    v.rotateBy(kPi / 2, AcGeVector3d::kZAxis);
    EXPECT_TRUE(v.isEqualTo(AcGeVector3d::kYAxis));
    EXPECT_TRUE(AcGeVector3d(0, 0, 5).perpVector().isPerpendicularTo(AcGeVector3d::kZAxis));
}

TEST(GeMatrix, RotationScalingAndTranslationAboutACentre) {
    AcGePoint3d c(10, 20, 0);
    AcGePoint3d p = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, c) * AcGePoint3d(11, 20, 0);
    expectNear(p, AcGePoint3d(10, 21, 0));
    p = AcGeMatrix3d::scaling(3.0, c) * AcGePoint3d(11, 21, 0);
    expectNear(p, AcGePoint3d(13, 23, 0));
    p = AcGeMatrix3d::scaling(AcGeScale3d(2, -1, 1), c) * AcGePoint3d(11, 21, 0);
    expectNear(p, AcGePoint3d(12, 19, 0));
    p = AcGeMatrix3d::translation(AcGeVector3d(1, 2, 3)) * AcGePoint3d(1, 1, 1);
    expectNear(p, AcGePoint3d(2, 3, 4));
    // Vectors ignore the translation part.
    AcGeVector3d v = AcGeMatrix3d::translation(AcGeVector3d(5, 5, 5)) * AcGeVector3d(1, 0, 0);
    EXPECT_TRUE(v.isEqualTo(AcGeVector3d::kXAxis));
}

TEST(GeMatrix, ProductAppliesRightFactorFirst) {
    AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0)) *
                     AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis);
    expectNear(m * AcGePoint3d(1, 0, 0), AcGePoint3d(10, 1, 0));
    AcGeMatrix3d a = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis);
    a.preMultBy(AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0)));
    EXPECT_TRUE(a.isEqualTo(m));
}

TEST(GeMatrix, InverseUndoesCompositeTransforms) {
    AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(1e7, -3e6, 0)) *
                     AcGeMatrix3d::rotation(0.7, AcGeVector3d::kZAxis, AcGePoint3d(5, 5, 0)) *
                     AcGeMatrix3d::scaling(AcGeScale3d(2, 0.5, 1));
    AcGePoint3d p(123.25, -77.5, 3);
    expectNear(m.inverse() * (m * p), p, 1e-6);
    EXPECT_TRUE((m * m.inverse()).isEqualTo(AcGeMatrix3d::kIdentity, AcGeTol()));
    EXPECT_FALSE(m.isUniScaledOrtho());
    EXPECT_TRUE(AcGeMatrix3d::rotation(0.3, AcGeVector3d::kZAxis).isUniScaledOrtho());
    EXPECT_NEAR(m.det(), 1.0, 1e-9);
}

TEST(GeMatrix, SingularMatrixHasNoInverse) {
    AcGeMatrix3d flat = AcGeMatrix3d::scaling(AcGeScale3d(1, 0, 1));
    EXPECT_TRUE(flat.isSingular());
    AcGeMatrix3d copy = flat;
    EXPECT_FALSE(copy.invert());
    EXPECT_TRUE(copy.isEqualTo(flat));  // a failed inversion changes nothing
    EXPECT_TRUE(flat.inverse().isEqualTo(AcGeMatrix3d::kIdentity));
    EXPECT_TRUE(flat.inverse().isFinite());
}

TEST(GeMatrix, MirroringAndOrientation) {
    AcGeMatrix3d m = AcGeMatrix3d::mirroring(AcGePoint3d(0, 1, 0), AcGeVector3d::kXAxis);
    expectNear(m * AcGePoint3d(3, 3, 0), AcGePoint3d(3, -1, 0));
    EXPECT_FALSE(m.keepsOrientation());
    EXPECT_TRUE(AcGeMatrix3d::kIdentity.keepsOrientation());
}

TEST(GeMatrix, PlaneToWorldFollowsTheArbitraryAxisRule) {
    // The usual mirrored extrusion of files: normal -Z maps OCS X to world -X.
    AcGeMatrix3d m = AcGeMatrix3d::planeToWorld(AcGeVector3d(0, 0, -1));
    expectNear(m * AcGePoint3d(1, 2, 0), AcGePoint3d(-1, 2, 0));
    EXPECT_TRUE(AcGeMatrix3d::planeToWorld(AcGeVector3d::kZAxis).isEqualTo(AcGeMatrix3d::kIdentity));
    // A degenerate normal leaves coordinates as they are.
    EXPECT_TRUE(AcGeMatrix3d::planeToWorld(AcGeVector3d::kIdentity).isEqualTo(AcGeMatrix3d::kIdentity));
}

TEST(GePoints, TolerancesAndTransformBy) {
    AcGePoint3d a(1e7, 1e7, 0);
    EXPECT_TRUE(a.isEqualTo(AcGePoint3d(1e7 + 1e-7, 1e7, 0)));
    EXPECT_FALSE(a.isEqualTo(AcGePoint3d(1e7 + 1e-3, 1e7, 0)));
    AcGePoint3d p(1, 0, 0);
    p.transformBy(AcGeMatrix3d::rotation(kPi, AcGeVector3d::kZAxis));
    expectNear(p, AcGePoint3d(-1, 0, 0));
    EXPECT_NEAR(AcGePoint2d(0, 0).distanceTo(AcGePoint2d(3, 4)), 5.0, 1e-15);
    EXPECT_FALSE(AcGeScale3d(1, 0, 1).isProper());
}

}  // namespace
