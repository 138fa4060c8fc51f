// Placing tree symbols one by one, along a drag segment and along picked curves.
#include "tree/treeplace.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "frame/VornFrame.h"
#include "framework/core/KyDbBlockReference.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtBlock.h"
#include "framework/core/KyDtLayer.h"
#include "framework/select/KyAdsEnt.h"
#include "framework/select/KyAdsEntSet.h"
#include "geometry/KyGeTol.h"
#include "host/db/dbarc.h"
#include "host/db/dbblockref.h"
#include "host/db/dbextents.h"
#include "host/db/dbline.h"
#include "host/db/dbpline.h"
#include "host/ed/aced.h"
#include "host/ed/editor.h"
#include "host/mfc/cstring.h"
#include "tree/treelayout.h"
#include "tree/treesettings.h"

namespace {

constexpr const wchar_t* kTreeLayer = L"PLAN-TREE";

double TreeDiameter() { return 2 * KyTreeTextValue(g_strTreeRadius); }
double TreeSpacing() { return KyTreeTextValue(g_strTreeSpacing); }

void Keep(const AcDbObjectId& id, std::vector<AcDbObjectId>& placed) {
    if (id.isValid()) placed.push_back(id);
}

}  // namespace

AcDbObjectId KyTreeBlock() {
    if (!g_idTreeBlock.isNull()) return g_idTreeBlock;
    if (g_strTreeBlockFile.IsEmpty()) return AcDbObjectId();
    return KyDtLoadBlock(g_strTreeBlockFile);
}

AcDbObjectId AddTreeAt(const AcDbObjectId& block, const AcGePoint3d& p, double diameter) {
    KyDbBlockReference ref;
    ref.SetBlockTableRecord(block);
    ref.SetBlockTableRecord2d(block);
    ref.SetPosition(p);
    AcDbExtents ext;
    std::optional<double> k;
    if (ref.GetGeomExtents2d(ext) == Acad::eOk) {
        const AcGePoint3d lo = ext.minPoint(), hi = ext.maxPoint();
        k = KyTreeScaleForExtents(hi.x - lo.x, hi.y - lo.y, hi.z - lo.z, diameter);
    }
    if (!k) {
        acutPrintf(KyUtTranslate(L"\n树块没有大小或树半径不是正数，无法缩放：请选用有图形的图块并输入大于0的半径！").c_str());
        return AcDbObjectId();
    }
    ref.SetScaleFactors(*k, *k, *k);
    if (g_bTreeRandomRotate) ref.SetRotation(KyTreeRotationFromRandom(std::rand()));
    AcDbBlockReference* entity = ref.AsAcDbBlockReference();
    if (!entity) return AcDbObjectId();
    KyDtInitLayer(kTreeLayer);
    entity->setLayer(kTreeLayer);
    const AcDbObjectId id = AddToModelSpace(entity, 1);
    if (!id.isValid()) delete entity;
    return id;
}

bool PlaceTree(const AcGePoint3d& p, std::vector<AcDbObjectId>& placed) {
    const AcDbObjectId block = KyTreeBlock();
    if (block.isNull()) return false;
    Keep(AddTreeAt(block, p, TreeDiameter()), placed);
    return true;
}

bool KyTreeConfirmCount(double count) {
    if (count <= kTreeAskAbove) return true;
    if (!(count <= kTreeMostAtOnce)) {
        CString message;
        message.Format(KyUtTranslate(L"\n这一次将布置%.0f棵树，超过一次最多的%d棵；未布置树，请加大树间隔。").c_str(), count,
                       static_cast<int>(kTreeMostAtOnce));
        vorn::ed::RefuseAnswer(message.GetString());
        return false;
    }
    CString prompt;
    prompt.Format(KyUtTranslate(L"\n这一次将布置%d棵树，超过%d棵，确定布置吗？[是(Y)/否(N)]<否>:").c_str(),
                  static_cast<int>(count), static_cast<int>(kTreeAskAbove));
    acedInitGet(0, L"Y N");
    wchar_t answer[kAdsMaxInput + 1] = {0};
    return acedGetKword(prompt, answer, kAdsMaxInput + 1) == RTNORM && (answer[0] == L'Y' || answer[0] == L'y');
}

KyTreeStep PlaceTreesAlongSegment(const AcGePoint3d& to, const AcGePoint3d& from,
                                  std::vector<AcDbObjectId>& placed) {
    const AcDbObjectId block = KyTreeBlock();
    if (block.isNull()) return KyTreeStep::kEnd;
    const double diameter = TreeDiameter();
    const double length = from.distanceTo(to);
    if (!KyTreeConfirmCount(KyTreeCountAlong(length, TreeSpacing()))) return KyTreeStep::kDeclined;
    const std::vector<double> distances = KyTreeDistancesAlong(length, TreeSpacing());
    if (length > g_distZero) acedCommand(RTSTR, L"UNDO", RTSTR, L"MARK", 0);
    for (double d : distances) {
        const double t = d / length;
        const AcGePoint3d p(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t,
                            from.z + (to.z - from.z) * t);
        Keep(AddTreeAt(block, p, diameter), placed);
    }
    return KyTreeStep::kPlanted;
}

namespace {

// The trees along the piece of curve between distances start and start + length: counted, and
// with points given, placed there too. False when the self-adjusted spacing cannot fit the
// piece (its length is then given back in tooShort).
bool PlanPiece(const AcDbCurve& curve, double start, double length, double& spacing, double& count,
               std::vector<AcGePoint3d>* points, double& tooShort) {
    // A doubled vertex makes a piece of no length: nothing stands on it, nothing is adjusted.
    if (!(length > g_distZero)) return true;
    if (g_bTreeSelfAdjust) {
        const std::optional<double> s = KyTreeSelfAdjustedSpacing(length, spacing);
        if (!s) {
            tooShort = length;
            return false;
        }
        spacing = *s;
    }
    count += KyTreeCountAlong(length, spacing);
    if (!points) return true;
    for (double d : KyTreeDistancesAlong(length, spacing)) {
        AcGePoint3d p;
        if (curve.getPointAtDist(start + d, p) == Acad::eOk) points->push_back(p);
    }
    return true;
}

// The trees along one selected entity (lines, arcs, lightweight polylines; other kinds give
// none), as PlanPiece. False when a piece is too short for the self-adjusted spacing.
bool PlanEntity(const AcDbEntity* entity, double& spacing, double& count, std::vector<AcGePoint3d>* points,
                double& tooShort) {
    if (const auto* pline = dynamic_cast<const AcDbPolyline*>(entity)) {
        // Each segment i runs from vertex i in the polyline's direction, whatever the way
        // its arc is stored: distances along the polyline give exactly that.
        const int segments = static_cast<int>(pline->numVerts()) - (pline->isClosed() ? 0 : 1);
        for (int seg = 0; seg < segments; ++seg) {
            double d0 = 0, d1 = 0;
            if (pline->getDistAtParam(seg, d0) != Acad::eOk || pline->getDistAtParam(seg + 1, d1) != Acad::eOk)
                continue;
            if (!PlanPiece(*pline, d0, d1 - d0, spacing, count, points, tooShort)) return false;
        }
    } else if (dynamic_cast<const AcDbLine*>(entity) || dynamic_cast<const AcDbArc*>(entity)) {
        const auto* curve = static_cast<const AcDbCurve*>(entity);
        AcGePoint3d end;
        double length = 0;
        if (curve->getEndPoint(end) == Acad::eOk && curve->getDistAtPoint(end, length) == Acad::eOk)
            return PlanPiece(*curve, 0, length, spacing, count, points, tooShort);
    }
    return true;
}

// Every selected entity planned in order with the spacing carried from one to the next: the
// count of trees, and with points given their places. False after refusing a piece too short.
bool PlanSelection(const KyAdsEntSet& set, double& count, std::vector<AcGePoint3d>* points) {
    double spacing = TreeSpacing();
    for (int i = 0; i < set.GetLength(); ++i) {
        AcDbEntity* entity = KyAdsEnt(set[i]).Open(AcDb::kForRead);
        if (!entity) continue;
        double tooShort = 0;
        const bool ok = PlanEntity(entity, spacing, count, points, tooShort);
        entity->close();
        if (!ok) {
            CString message;
            message.Format(KyUtTranslate(L"\n路径上有一段长%.2f，短于树间隔%.2f，间距自调无法均分；未布置树，"
                                         L"请减小树间隔或关闭间距自调。")
                               .c_str(),
                           tooShort, spacing);
            vorn::ed::RefuseAnswer(message.GetString());
            return false;
        }
    }
    return true;
}

}  // namespace

KyTreeStep PlantTreesAlongPaths(const KyAdsEntSet& set, std::vector<AcDbObjectId>& placed) {
    const AcDbObjectId block = KyTreeBlock();
    if (block.isNull()) return KyTreeStep::kEnd;
    // The trees are counted and asked for before the first is planted, so that a piece the
    // spacing cannot divide, or a count the user declines, leaves the drawing as it was.
    double count = 0;
    if (!PlanSelection(set, count, nullptr)) return KyTreeStep::kRefused;
    if (!KyTreeConfirmCount(count)) return KyTreeStep::kDeclined;
    std::vector<AcGePoint3d> points;
    double again = 0;
    PlanSelection(set, again, &points);
    const double diameter = TreeDiameter();
    for (const AcGePoint3d& p : points) Keep(AddTreeAt(block, p, diameter), placed);
    return KyTreeStep::kPlanted;
}
