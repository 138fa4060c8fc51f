// Shared helpers of the geometry tests.
#pragma once

#include <gtest/gtest.h>

#include "geometry/KyGeometry.h"

inline ::testing::AssertionResult Near(const KyGePoint& a, const KyGePoint& b, double tol = 1e-6) {
    if (Distance2d(a, b) <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << "," << a.y << ") vs (" << b.x << "," << b.y << ")";
}

inline bool OnCurve(const KyGeCurve2d& c, const KyGePoint& p) { return (c.HitTest(p) & kKyGeHitOn) != 0; }

inline std::vector<KyGePoint> Points(const KyGeObjList& list) {
    std::vector<KyGePoint> out;
    for (int i = 0; i < list.GetLength(); ++i)
        if (const KyGePoint2d* p = KyGeCast<KyGePoint2d>(list[i])) out.push_back(p->GetPoint());
    return out;
}
