// Splitting a set of curves at their mutual intersections.
#include <algorithm>
#include <vector>

#include "geometry/KyGeIntersect.h"
#include "geometry/KyGeObjList.h"

bool InterBreakCurve2d(KyGeObjList& curves) {
    const int n = curves.GetLength();
    bool split = false;
    KyGeObjList result;
    for (int i = 0; i < n; ++i) {
        const KyGeCurve2d* c = KyGeCast<KyGeCurve2d>(curves.GetAt(i));
        if (!c || !c->IsBounded()) {
            // Points and unbounded curves are kept whole.
            if (curves.GetAt(i)) result.AppendClone(*curves.GetAt(i), curves.GetKey(i));
            continue;
        }
        std::vector<double> cuts;
        for (int j = 0; j < n; ++j) {
            const KyGeCurve2d* other = KyGeCast<KyGeCurve2d>(curves.GetAt(j));
            if (j == i || !other) continue;
            for (const KyGePoint& p : KyGeIntersectPoints(*c, *other)) cuts.push_back(c->GetDistFromPt(p));
        }
        std::sort(cuts.begin(), cuts.end());
        const double len = c->Length();
        std::vector<double> stops{0.0};
        for (double d : cuts)
            if (d - stops.back() > g_distZero && len - d > g_distZero) stops.push_back(d);
        stops.push_back(len);
        if (stops.size() == 2 || !(len > 0.0)) {
            result.AppendClone(*c, curves.GetKey(i));
            continue;
        }
        split = true;
        std::vector<std::unique_ptr<KyGeCurve2d>> pieces;
        for (size_t k = 0; k + 1 < stops.size(); ++k) {
            auto piece = c->GetSubCurve(stops[k] / len, stops[k + 1] / len);
            if (piece && piece->Length() > g_distZero) pieces.push_back(std::move(piece));
        }
        // A closed outline is not cut at its start vertex: its last piece runs on into the first.
        if (c->IsClosed() && pieces.size() > 1 && pieces.back()->Conbine(*pieces.front(), false))
            pieces.erase(pieces.begin());
        for (auto& piece : pieces) result.Append(std::move(piece), curves.GetKey(i));
    }
    curves = std::move(result);
    return split;
}
