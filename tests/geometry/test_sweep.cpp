// Property sweep over many seeded random segments, arcs and circles, near and far from the origin.
#include <cmath>
#include <random>

#include "geomtest.h"

namespace {

struct Gen {
    std::mt19937 rng{20261207};
    double base = 0;
    double U(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); }
    KyGePoint P() { return KyGePoint(base + U(-5000, 5000), base + U(-5000, 5000)); }
    std::unique_ptr<KyGeCurve2d> Curve() {
        const int kind = static_cast<int>(U(0, 3));
        if (kind == 0) return std::make_unique<KyGeLineSeg2d>(P(), P());
        if (kind == 1) {
            auto arc = KyGeArc2d::Create(P(), U(10, 4000), U(0, 6.3), U(0, 6.3), U(0, 1) < 0.5);
            if (arc) return arc;
            return std::make_unique<KyGeLineSeg2d>(P(), P());
        }
        return std::make_unique<KyGeCircle2d>(P(), U(10, 4000), U(0, 6.3), U(0, 1) < 0.5);
    }
};

bool Finite(const KyGePoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

TEST(GeomSweep, RandomCurvesKeepTheirPromises) {
    for (double base : {0.0, 1e7}) {
        Gen g;
        g.base = base;
        for (int i = 0; i < 400; ++i) {
            auto a = g.Curve();
            auto b = g.Curve();
            // Every intersection lies on both curves.
            KyGeObjList list;
            a->IntersectWith(*b, list);
            for (const KyGePoint& p : Points(list)) {
                ASSERT_TRUE(Finite(p));
                EXPECT_TRUE(OnCurve(*a, p) && OnCurve(*b, p)) << "base " << base << " case " << i;
            }
            // Parameters round-trip.
            const double t = g.U(0.01, 0.99);
            EXPECT_NEAR(a->GetPaFromPt(a->GetPtFromPa(t)), t, 1e-7) << i;
            // Offsets lie at the distance, on the side they are asked for.
            const double d = g.U(-300, 300);
            if (auto off = a->GetOffsetCurve(d)) {
                const KyGePoint p = off->GetPtFromPa(0.5);
                KyGePoint foot;
                ASSERT_TRUE(a->GetExtendCurve()->GetClosestPoint2d(p, foot));
                EXPECT_NEAR(Distance2d(p, foot), std::fabs(d), 1e-6) << i;
                const KyGeVector2d tan = a->GetTangent(a->GetPaFromPt(foot));
                const double side = tan.Cross(KyGeVector2d(foot, p));
                EXPECT_TRUE(d < 0 ? side > 0 : side < 0) << i;
            }
            // A sub-curve between two parameters lies on the curve and has the right length.
            if (a->IsBounded()) {
                auto sub = a->GetSubCurve(0.2, 0.7);
                ASSERT_TRUE(sub);
                EXPECT_NEAR(sub->Length(), a->Length() * 0.5, 1e-6 * (1 + a->Length()));
                EXPECT_TRUE(OnCurve(*a, sub->GetMidPoint()));
            }
            // Cloning and reversing twice give the same curve back.
            auto c = a->Clone();
            c->Reverse();
            c->Reverse();
            EXPECT_TRUE(Near(c->GetPtFromPa(0.3), a->GetPtFromPa(0.3), 1e-6));
        }
    }
}
