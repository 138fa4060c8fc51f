// The spatial index over model space: an R-tree of entity extents, brought up to date lazily
// before each query from the set of slots that changed since the last one. Queries hand back
// slots in database order; the drawing's view also takes the boxes the tree holds.
#include <algorithm>
#include <cmath>

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>

#include "host/db/db.h"
#include "host/db/dbimpl.h"

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace vorn::db::detail {

using BPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using BBox = bg::model::box<BPoint>;
using Value = std::pair<BBox, std::uint32_t>;

struct SpatialIndex::Tree {
    bgi::rtree<Value, bgi::rstar<16>> tree;
    std::vector<BBox> boxOf;       // per slot: the box in the tree
    std::vector<char> inTree;      // per slot
    std::vector<char> dirtyFlag;   // per slot
    std::vector<std::uint32_t> dirty;
    bool insertsDirty = false;
};

SpatialIndex::SpatialIndex(AcDbDatabase::Impl* db) : m_db(db), m_tree(new Tree) {}
SpatialIndex::~SpatialIndex() = default;

void SpatialIndex::markDirty(std::uint32_t index) {
    Tree& t = *m_tree;
    if (t.dirtyFlag.size() <= index) t.dirtyFlag.resize(index + 1, 0);
    if (t.dirtyFlag[index]) return;
    t.dirtyFlag[index] = 1;
    t.dirty.push_back(index);
}

void SpatialIndex::markInsertsDirty() { m_tree->insertsDirty = true; }

void SpatialIndex::markAllDirty() {
    for (std::uint32_t i : m_db->slots[m_db->modelSpace].children) markDirty(i);
}

void SpatialIndex::flush() {
    Tree& t = *m_tree;
    if (t.insertsDirty) {
        t.insertsDirty = false;
        for (std::uint32_t i : m_db->slots[m_db->modelSpace].children)
            if (AcDbBlockReference::cast(m_db->slots[i].object.get())) markDirty(i);
    }
    if (t.dirty.empty()) return;
    size_t n = m_db->slots.size();
    t.boxOf.resize(n);
    t.inTree.resize(n, 0);
    t.dirtyFlag.resize(n, 0);
    auto boxFor = [&](std::uint32_t i, BBox& box) {
        const AcDbEntity* e = AcDbEntity::cast(m_db->slots[i].object.get());
        if (!e || e->isErased() || e->ownerId().index() != m_db->modelSpace) return false;
        AcDbExtents ext;
        if (e->getGeomExtents(ext) != Acad::eOk || !ext.isValid()) return false;
        box = BBox(BPoint(ext.minPoint().x, ext.minPoint().y), BPoint(ext.maxPoint().x, ext.maxPoint().y));
        return true;
    };
    // Many changes (a file read, a large undo): rebuild in one packed pass.
    if (t.dirty.size() > 64 && t.dirty.size() * 4 > t.tree.size()) {
        for (std::uint32_t i : t.dirty) t.dirtyFlag[i] = 0;
        t.dirty.clear();
        std::vector<Value> values;
        std::fill(t.inTree.begin(), t.inTree.end(), 0);
        for (std::uint32_t i : m_db->slots[m_db->modelSpace].children) {
            BBox box;
            if (!boxFor(i, box)) continue;
            t.boxOf[i] = box;
            t.inTree[i] = 1;
            values.emplace_back(box, i);
        }
        t.tree = bgi::rtree<Value, bgi::rstar<16>>(values.begin(), values.end());
        return;
    }
    for (std::uint32_t i : t.dirty) {
        t.dirtyFlag[i] = 0;
        if (t.inTree[i]) {
            t.tree.remove(Value(t.boxOf[i], i));
            t.inTree[i] = 0;
        }
        BBox box;
        if (!boxFor(i, box)) continue;
        t.boxOf[i] = box;
        t.inTree[i] = 1;
        t.tree.insert(Value(box, i));
    }
    t.dirty.clear();
}

namespace {

BBox ToBox(const AcDbExtents& ext) {
    return BBox(BPoint(ext.minPoint().x, ext.minPoint().y), BPoint(ext.maxPoint().x, ext.maxPoint().y));
}

// The slots whose boxes meet box, in slot order (database order). Many hits are put in order
// through a bit per slot, few by sorting.
std::vector<std::uint32_t> HitsInOrder(const SpatialIndex::Tree& t, const BBox& box) {
    std::vector<std::uint32_t> hits;
    t.tree.query(bgi::intersects(box),
                 boost::iterators::make_function_output_iterator([&](const Value& v) { hits.push_back(v.second); }));
    const std::size_t words = (t.boxOf.size() + 63) / 64;
    if (hits.size() < words) {
        std::sort(hits.begin(), hits.end());
        return hits;
    }
    std::vector<std::uint64_t> bits(words, 0);
    for (std::uint32_t i : hits) bits[i >> 6] |= std::uint64_t(1) << (i & 63);
    hits.clear();
    for (std::size_t w = 0; w < words; ++w)
        for (std::uint64_t b = bits[w]; b; b &= b - 1)
            hits.push_back(static_cast<std::uint32_t>(w * 64 + static_cast<std::size_t>(__builtin_ctzll(b))));
    return hits;
}

}  // namespace

std::vector<std::uint32_t> SpatialIndex::queryBox(const AcDbExtents& ext) {
    flush();
    if (!ext.isValid()) return {};
    return HitsInOrder(*m_tree, ToBox(ext));
}

void SpatialIndex::forEachInBox(const AcDbExtents& ext,
                                const std::function<void(std::uint32_t, const AcDbExtents&)>& visit) {
    flush();
    if (!ext.isValid() || m_tree->tree.empty()) return;
    const Tree& t = *m_tree;
    const BBox box = ToBox(ext);
    const auto call = [&](std::uint32_t i) {
        const BBox& b = t.boxOf[i];
        visit(i, AcDbExtents(AcGePoint3d(b.min_corner().get<0>(), b.min_corner().get<1>(), 0.0),
                             AcGePoint3d(b.max_corner().get<0>(), b.max_corner().get<1>(), 0.0)));
    };
    if (bg::covered_by(t.tree.bounds(), box)) {
        // Everything meets the box: the tree need not be walked.
        for (std::uint32_t i = 0; i < t.inTree.size(); ++i)
            if (t.inTree[i]) call(i);
        return;
    }
    for (std::uint32_t i : HitsInOrder(t, box)) call(i);
}

std::vector<std::uint32_t> SpatialIndex::queryNear(const AcGePoint3d& p, double dist) {
    std::vector<std::uint32_t> out;
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(dist) || dist < 0.0) return out;
    AcDbExtents box(AcGePoint3d(p.x - dist, p.y - dist, 0.0), AcGePoint3d(p.x + dist, p.y + dist, 0.0));
    for (std::uint32_t i : queryBox(box)) {
        // The box the tree holds is the entity's extents as of the flush queryBox just made.
        const BBox& b = m_tree->boxOf[i];
        const double dx = std::max({b.min_corner().get<0>() - p.x, 0.0, p.x - b.max_corner().get<0>()});
        const double dy = std::max({b.min_corner().get<1>() - p.y, 0.0, p.y - b.max_corner().get<1>()});
        if (std::hypot(dx, dy) <= dist) out.push_back(i);
    }
    return out;
}

AcDbExtents SpatialIndex::extents() {
    flush();
    AcDbExtents ext;
    if (m_tree->tree.empty()) return ext;
    BBox b = m_tree->tree.bounds();
    ext.addPoint(AcGePoint3d(b.min_corner().get<0>(), b.min_corner().get<1>(), 0.0));
    ext.addPoint(AcGePoint3d(b.max_corner().get<0>(), b.max_corner().get<1>(), 0.0));
    return ext;
}

}  // namespace vorn::db::detail

namespace {
AcDbObjectIdArray toIds(const AcDbDatabase* db, const std::vector<std::uint32_t>& v) {
    AcDbObjectIdArray out;
    out.asVector().reserve(v.size());
    for (std::uint32_t i : v) out.append(db->idFromIndex(i));
    return out;
}
}  // namespace

AcDbObjectIdArray AcDbDatabase::entitiesMeetingBox(const AcDbExtents& box) const {
    return toIds(this, m_impl->spatial->queryBox(box));
}

void AcDbDatabase::forEachEntityMeetingBox(
    const AcDbExtents& box, const std::function<void(const AcDbObjectId&, const AcDbExtents&)>& visit) const {
    AcDbDatabase* self = const_cast<AcDbDatabase*>(this);
    m_impl->spatial->forEachInBox(box, [&](std::uint32_t i, const AcDbExtents& ext) { visit(AcDbObjectId(self, i), ext); });
}

AcDbObjectIdArray AcDbDatabase::entitiesNearPoint(const AcGePoint3d& point, double dist) const {
    return toIds(this, m_impl->spatial->queryNear(point, dist));
}

AcDbExtents AcDbDatabase::modelSpaceExtents() const { return m_impl->spatial->extents(); }

std::vector<AcDbAuditEntry> AcDbDatabase::auditEntities() const {
    std::vector<AcDbAuditEntry> out;
    for (std::uint32_t i = 0; i < m_impl->slots.size(); ++i) {
        const AcDbEntity* e = AcDbEntity::cast(m_impl->slots[i].object.get());
        if (!e || e->isErased()) continue;
        std::wstring why = e->isFiniteObject() ? e->degeneracy() : L"non-finite coordinate or value";
        if (!why.empty()) out.push_back({idFromIndex(i), why});
    }
    return out;
}
