// The area fill: the sweep, its random trees and the region that replaces them.
#include "tree/treearea.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "frame/VornFrame.h"
#include "framework/core/KyDbBlockReference.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtBlock.h"
#include "framework/core/KyDtLayer.h"
#include "framework/select/KyUtInput.h"
#include "host/db/dbblockref.h"
#include "host/db/dbextents.h"
#include "host/db/dbregion.h"
#include "host/ed/aced.h"
#include "tree/treedlg.h"
#include "tree/treelayout.h"
#include "tree/treesettings.h"

namespace {

struct Sweep {
    AcDbObjectId block;
    double dLo = 0, dHi = 0, sLo = 0, sHi = 0;
    double diameter = 0, spacing = 0;
    double step = 1;  // one millimetre in drawing units: random sizes step by it
    std::vector<AcDbObjectId> trees;
};

void DropTree(Sweep& sw, const AcGePoint3d& p) {
    if (!g_bTreeFixedRadius) sw.diameter = KyTreeRandomSize(sw.dLo, sw.dHi, std::rand(), sw.step);
    if (!g_bTreeFixedSpacing) sw.spacing = KyTreeRandomSize(sw.sLo, sw.sHi, std::rand(), sw.step);
    KyDbBlockReference ref;
    ref.SetBlockTableRecord(sw.block);
    ref.SetBlockTableRecord2d(sw.block);
    ref.SetPosition(p);
    AcDbExtents ext;
    std::optional<double> k;
    if (ref.GetGeomExtents2d(ext) == Acad::eOk) {
        const AcGePoint3d lo = ext.minPoint(), hi = ext.maxPoint();
        k = KyTreeScaleForExtents(hi.x - lo.x, hi.y - lo.y, hi.z - lo.z, sw.diameter);
    }
    if (!k) return;  // a sizeless block or radius draws nothing rather than an infinite scale
    ref.SetScaleFactors(*k, *k, *k);
    ref.SetRotation(KyTreeRotationFromRandom(std::rand()));
    AcDbBlockReference* entity = ref.AsAcDbBlockReference();
    if (!entity) return;
    const AcDbObjectId id = AddToModelSpace(entity, 1);
    if (id.isValid())
        sw.trees.push_back(id);
    else
        delete entity;
}

// Z-order of a point on a grid of the given cell: nearby crowns get nearby keys.
std::uint64_t ZOrder(double x, double y, double x0, double y0, double cell) {
    const auto cellOf = [cell](double v) {
        return static_cast<std::uint32_t>(std::clamp(std::floor(v / cell), 0.0, 4294967295.0));
    };
    std::uint64_t out = 0;
    const std::uint32_t i = cellOf(x - x0), j = cellOf(y - y0);
    for (int b = 0; b < 32; ++b)
        out |= (std::uint64_t((i >> b) & 1u) << (2 * b)) | (std::uint64_t((j >> b) & 1u) << (2 * b + 1));
    return out;
}

// The crowns united into one region, a few neighbours at a time and then the neighbouring
// results, level by level: a union is slow in the number of outline edges a scan line crosses at
// once, which stays small when each union joins a few neighbouring pieces whose inner outlines
// are gone. Every region but the returned one is deleted.
constexpr std::size_t kUniteAtOnce = 8;
AcDbRegion* UniteNeighbours(const AcDbVoidPtrArray& made) {
    struct Piece {
        std::uint64_t key;
        AcDbRegion* region;
    };
    std::vector<Piece> pieces;
    AcDbExtents all;
    std::vector<AcGePoint3d> centres;
    double size = 0;
    for (void* raw : made) {
        auto* r = static_cast<AcDbRegion*>(raw);
        AcDbExtents e;
        AcGePoint3d c;
        if (r->getGeomExtents(e) == Acad::eOk) {
            c = AcGePoint3d((e.minPoint().x + e.maxPoint().x) / 2, (e.minPoint().y + e.maxPoint().y) / 2, 0);
            size = std::max({size, e.maxPoint().x - e.minPoint().x, e.maxPoint().y - e.minPoint().y});
            all.addPoint(c);
        }
        centres.push_back(c);
        pieces.push_back({0, r});
    }
    const double cell = size > 0 ? size : 1.0;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        pieces[i].key = all.isValid() ? ZOrder(centres[i].x, centres[i].y, all.minPoint().x, all.minPoint().y, cell) : 0;
    std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) { return a.key < b.key; });
    std::vector<AcDbRegion*> level;
    for (const Piece& p : pieces) level.push_back(p.region);
    while (level.size() > 1) {
        std::vector<AcDbRegion*> next;
        for (std::size_t i = 0; i < level.size(); i += kUniteAtOnce) {
            for (std::size_t j = i + 1; j < std::min(level.size(), i + kUniteAtOnce); ++j) {
                level[i]->booleanOper(AcDb::kBoolUnite, level[j]);
                delete level[j];  // emptied by the union; never part of the drawing
            }
            level[i]->isNull();  // the union is made now, while the pieces are few
            next.push_back(level[i]);
        }
        level.swap(next);
    }
    return level.front();
}

}  // namespace

bool KyTreeMakeAreaRegion(const std::vector<AcDbObjectId>& trees) {
    AcDbVoidPtrArray curves;
    for (const AcDbObjectId& id : trees) {
        AcDbEntity* tree = nullptr;
        if (acdbOpenAcDbEntity(tree, id, AcDb::kForRead) != Acad::eOk || !tree) continue;
        tree->explode(curves);
        tree->close();
    }
    AcDbVoidPtrArray regions;
    const bool made = AcDbRegion::createFromCurves(curves, regions) == Acad::eOk && regions.length() > 0;
    ReleaseEntSet(curves);
    if (!made) {
        // The trees are the user's work: they stay when no outline can be made of them.
        acutPrintf(KyUtTranslate(L"\n创建临时区域对象失败！").c_str());
        return false;
    }
    for (const AcDbObjectId& id : trees) {
        AcDbEntity* tree = nullptr;
        if (acdbOpenAcDbEntity(tree, id, AcDb::kForWrite) == Acad::eOk && tree) {
            tree->erase();
            tree->close();
        }
    }
    AcDbRegion* first = UniteNeighbours(regions);
    KyDtInitLayer(L"PLAN-TREE");
    first->setLayer(L"PLAN-TREE");
    const AcDbObjectId id = AddToModelSpace(first, 1);
    if (id.isValid())
        acutPrintf(KyUtTranslate(L"成功！").c_str());
    else
        delete first;
    return true;
}

bool FillTreeArea(KyRYBSDlg& dialog, const AcGePoint3d& start) {
    if (g_strTreeBlockFile.IsEmpty()) return true;
    Sweep sw;
    sw.block = KyDtLoadBlock(g_strTreeBlockFile);
    if (sw.block.isNull()) return true;
    sw.dLo = 2 * KyTreeTextValue(dialog.GetRadiusMinText());
    sw.dHi = 2 * KyTreeTextValue(dialog.GetRadiusMaxText());
    sw.sLo = KyTreeTextValue(dialog.GetSpacingMinText());
    sw.sHi = KyTreeTextValue(dialog.GetSpacingMaxText());
    sw.step = KyTreeUnitFactor();
    sw.diameter = sw.dLo;
    sw.spacing = sw.sLo;
    // A new tree keeps the spacing from every tree of the sweep, not only from the last one,
    // so that sweeping back over a patch does not pile trees on it.
    KyTreeSpacingGrid placed(std::max(sw.sLo, g_bTreeFixedSpacing ? sw.sLo : sw.sHi));
    DropTree(sw, start);
    placed.Add(start.x, start.y);
    {
        KyUtPushResource resources(VornModuleResources());
        for (;;) {
            int type = 0;
            resbuf rb{};
            if (acedGrRead(13, &type, &rb) != RTNORM || type != 5) break;
            const AcGePoint3d p = UcsToWcs(rb.resval.rpoint, 0);
            if (!placed.Clear(p.x, p.y, sw.spacing)) continue;
            placed.Add(p.x, p.y);
            DropTree(sw, p);
        }
    }
    if (!sw.trees.empty()) KyTreeMakeAreaRegion(sw.trees);
    if (dialog.m_bModeChanged) {
        dialog.m_bModeChanged = 0;
        return false;
    }
    return true;
}
