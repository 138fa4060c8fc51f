// Kept records: the kept entity, handles as files name them, the file's drawing-wide parts and
// copies of objects that carry kept data.
#include "host/db/dbkept.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "host/db/db.h"
#include "host/db/dbimpl.h"

ACRX_DXF_DEFINE_MEMBERS(AcDbKeptEntity, AcDbEntity, L"")

namespace vorn::db {

bool IsPointerCode(int code) {
    return (code >= 320 && code <= 369) || (code >= 390 && code <= 399) || code == 480 || code == 481;
}

bool IsHandleCode(int code) { return code == 5 || code == 105 || code == 1005 || IsPointerCode(code); }

bool KeptReal(const AcDbKeptGroup& g, double& value) {
    const char* b = g.value.data();
    const char* e = b + g.value.size();
    auto r = std::from_chars(b, e, value);
    return r.ec == std::errc() && r.ptr == e && std::isfinite(value);
}

std::string KeptRealText(double value) {
    char buf[32];
    if (value == 0.0) value = 0.0;  // no "-0"
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

bool IsPointCode(int code, int& xCode) {
    auto in = [&](int lo, int hi) {
        for (int k = 0; k < 3; ++k)
            if (code >= lo + 10 * k && code <= hi + 10 * k) {
                xCode = code - 10 * k;
                return true;
            }
        return false;
    };
    return in(10, 18) || in(110, 112) || in(210, 210) || in(1010, 1013);
}

}  // namespace vorn::db

// ---- the kept entity ----

namespace {

const AcDbKeptGroups kNoGroups;
const std::vector<AcDbKeptRecord> kNoRecords;

// The X codes that are positions (not directions or sizes) in a kind's records.
std::vector<int> PositionCodes(const std::string& type) {
    if (type == "SOLID" || type == "TRACE" || type == "3DFACE") return {10, 11, 12, 13};
    if (type == "SPLINE") return {10, 11};
    if (type == "DIMENSION" || type == "ARC_DIMENSION" || type == "LARGE_RADIAL_DIMENSION") return {10, 11, 13, 14, 15, 16};
    if (type == "ATTDEF" || type == "ATTRIB") return {10, 11};
    return {10};
}

struct PointReader {
    const AcDbKeptGroups& g;
    // The point whose X group is at i (Y and Z follow when the file gives them).
    bool at(size_t i, AcGePoint3d& p) const {
        if (!vorn::db::KeptReal(g[i], p.x)) return false;
        p.y = p.z = 0.0;
        if (i + 1 < g.size() && g[i + 1].code == g[i].code + 10 && !vorn::db::KeptReal(g[i + 1], p.y)) return false;
        if (i + 2 < g.size() && g[i + 1].code == g[i].code + 10 && g[i + 2].code == g[i].code + 20)
            return vorn::db::KeptReal(g[i + 2], p.z);
        return true;
    }
};

}  // namespace

const AcDbKeptGroups& AcDbKeptEntity::groups() const { return keptData() ? keptData()->groups : kNoGroups; }

const std::vector<AcDbKeptRecord>& AcDbKeptEntity::following() const {
    return keptData() ? keptData()->following : kNoRecords;
}

Acad::ErrorStatus AcDbKeptEntity::getGeomExtents(AcDbExtents& extents) const {
    extents.reset();
    // Kinds whose points miss part of what they draw (a hatch's arcs, a dimension's text) take
    // the box of their drawing; construction lines, drawn without end, keep their base point.
    if (vorn::db::detail::KeptDrawnExtents(*this, extents)) return Acad::eOk;
    const AcDbKeptGroups& g = groups();
    PointReader read{g};
    AcGePoint3d p;
    if (m_type == "ELLIPSE" || m_type == "IMAGE" || m_type == "WIPEOUT") {
        // A centre or corner and the vectors that span the shape.
        AcGePoint3d base;
        AcGeVector3d u, v;
        double w = 1.0, h = 1.0, ratio = 1.0;
        for (size_t i = 0; i < g.size(); ++i) {
            if (g[i].code == 10 && read.at(i, p)) base = p;
            else if (g[i].code == 11 && read.at(i, p)) u = p.asVector();
            else if (g[i].code == 12 && read.at(i, p)) v = p.asVector();
            else if (g[i].code == 13 && read.at(i, p)) w = p.x, h = p.y;
            else if (g[i].code == 40) vorn::db::KeptReal(g[i], ratio);
        }
        if (m_type == "ELLIPSE") {
            const double r = u.length();
            const double s = std::max(r, r * std::fabs(ratio));
            extents.addPoint(base - AcGeVector3d(s, s, 0.0));
            extents.addPoint(base + AcGeVector3d(s, s, 0.0));
        } else {
            // The image's pixels run from -0.5 to size - 0.5 along u and v.
            for (double a : {-0.5, w - 0.5})
                for (double b : {-0.5, h - 0.5}) extents.addPoint(base + u * (a + 0.5) + v * (b + 0.5));
        }
        return extents.isValid() ? Acad::eOk : Acad::eInvalidExtents;
    }
    // A polyline's own point holds only its elevation: its vertices give its place.
    const std::vector<int> codes = m_type == "POLYLINE" ? std::vector<int>() : PositionCodes(m_type);
    bool skipFirst = m_type == "HATCH" || m_type == "MPOLYGON";  // its first point holds only the elevation
    for (size_t i = 0; i < g.size(); ++i) {
        bool wanted = false;
        for (int c : codes) wanted = wanted || g[i].code == c;
        if (!wanted || !read.at(i, p)) continue;
        if (skipFirst) {
            skipFirst = false;
            continue;
        }
        extents.addPoint(p);
    }
    for (const AcDbKeptRecord& r : following()) {
        PointReader sub{r.groups};
        // A polyface mesh's face records hold vertex numbers, not places.
        double flags = 0.0;
        for (const AcDbKeptGroup& g : r.groups)
            if (g.code == 70) vorn::db::KeptReal(g, flags);
        if (r.type == "VERTEX" && (static_cast<long long>(flags) & 192) == 128) continue;
        for (size_t i = 0; i < r.groups.size(); ++i)
            if (r.groups[i].code == 10 && sub.at(i, p)) extents.addPoint(p);
    }
    return extents.isValid() ? Acad::eOk : Acad::eInvalidExtents;
}

namespace {
bool IsDimension(const std::string& type) {
    return type == "DIMENSION" || type == "ARC_DIMENSION" || type == "LARGE_RADIAL_DIMENSION";
}
}  // namespace

Acad::ErrorStatus AcDbKeptEntity::transformBy(const AcGeMatrix3d& xform) {
    if (!xform.isFinite()) return Acad::eInvalidInput;
    const Acad::ErrorStatus refused = xform.isUniScaledOrtho() ? Acad::eNotApplicable : Acad::eCannotScaleNonUniformly;
    auto data = keptData() ? std::make_shared<AcDbKeptData>(*keptData()) : std::make_shared<AcDbKeptData>();
    const AcDbKeptGroups own = data->groups;
    if (!vorn::db::TransformKeptGroups(m_type, data->groups, xform)) return refused;
    for (AcDbKeptRecord& r : data->following)
        if (r.type != "SEQEND" &&
            !vorn::db::TransformKeptGroups(r.type, r.groups, xform, r.type == "VERTEX" ? &own : nullptr))
            return refused;
    // A dimension is drawn by a block of its own, which moves with it; a copy would need a
    // block of its own too, which it does not get.
    AcDbObjectIdArray drawn;
    if (IsDimension(m_type)) {
        AcDbDatabase* db = database();
        if (!db) return Acad::eNotApplicable;
        std::wstring name;
        for (const AcDbKeptGroup& g : own)
            if (g.code == 2) name = std::wstring(g.value.begin(), g.value.end());
        const AcDbObjectId block = name.empty() ? AcDbObjectId() : db->findBlock(name);
        if (!block.isNull()) drawn = db->ownedIds(block);
    }
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    for (int i = 0; i < drawn.length(); ++i) {
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, drawn.at(i), AcDb::kForWrite) != Acad::eOk) continue;
        e->transformBy(xform);
        e->close();
    }
    setKeptData(std::move(data));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbKeptEntity::explode(AcDbVoidPtrArray&) const { return Acad::eNotApplicable; }

std::wstring AcDbKeptEntity::list() const {
    std::wstring out(m_type.begin(), m_type.end());
    out += listHeader();
    AcDbExtents ext;
    if (getGeomExtents(ext) == Acad::eOk) {
        const auto num = [](double v) { return std::to_wstring(v); };
        out += L"  Extents: (" + num(ext.minPoint().x) + L", " + num(ext.minPoint().y) + L") - (" +
               num(ext.maxPoint().x) + L", " + num(ext.maxPoint().y) + L")\n";
    }
    out += L"  Kept as the drawing file has it (" + std::to_wstring(groups().size()) + L" groups";
    if (!following().empty()) out += L", " + std::to_wstring(following().size()) + L" records after it";
    out += L")\n";
    return out;
}

// A kept entity is as sound as its file made it: the reader let no bad number in.
std::wstring AcDbKeptEntity::degeneracy() const { return std::wstring(); }

// ---- drawing-wide data and handles ----

namespace vorn::db {

FileData& FileDataOf(AcDbDatabase& db) { return db.vornImpl()->file; }
const FileData& FileDataOf(const AcDbDatabase& db) { return db.vornImpl()->file; }

AcDbObjectId IdOfHandle(const AcDbDatabase& db, std::uint64_t handle) {
    const auto& map = db.vornImpl()->byHandle;
    auto it = map.find(handle);
    return it == map.end() ? AcDbObjectId() : db.idFromIndex(it->second);
}

Acad::ErrorStatus TakeHandle(AcDbDatabase& db, const AcDbObjectId& id, std::uint64_t handle) {
    AcDbDatabase::Impl* impl = db.vornImpl();
    if (handle == 0 || id.database() != &db || id.index() >= impl->slots.size()) return Acad::eInvalidInput;
    auto& slot = impl->slots[id.index()];
    if (slot.handle == handle) return Acad::eOk;
    auto it = impl->byHandle.find(handle);
    if (it != impl->byHandle.end()) {
        // The object there moves on to a new handle.
        const std::uint32_t other = it->second;
        const std::uint64_t fresh = impl->nextHandle++;
        impl->slots[other].handle = fresh;
        impl->byHandle[fresh] = other;
    }
    impl->byHandle.erase(slot.handle);
    slot.handle = handle;
    impl->byHandle[handle] = id.index();
    if (handle >= impl->nextHandle) impl->nextHandle = handle + 1;
    return Acad::eOk;
}

void ReserveHandles(AcDbDatabase& db, std::uint64_t seed) {
    AcDbDatabase::Impl* impl = db.vornImpl();
    if (seed > impl->nextHandle) impl->nextHandle = seed;
}

std::uint64_t NewHandle(AcDbDatabase& db) { return db.vornImpl()->nextHandle++; }

void ReserveObjects(AcDbDatabase& db, std::size_t count) {
    AcDbDatabase::Impl* impl = db.vornImpl();
    impl->slots.reserve(impl->slots.size() + count);
    impl->byHandle.reserve(impl->byHandle.size() + count);
}

Acad::ErrorStatus AddRecordAsRead(AcDbSymbolTable* table, AcDbSymbolTableRecord* record, const std::wstring& name,
                                  AcDbObjectId& id) {
    id = AcDbObjectId();
    if (!table || !record || name.empty() || name.size() > 2048) return Acad::eInvalidInput;
    for (wchar_t c : name)
        if (c < 32 || c == 127) return Acad::eInvalidInput;
    if (name.find_first_not_of(L' ') == std::wstring::npos) return Acad::eInvalidInput;
    AcDbDatabase* db = table->database();
    if (!db || !table->isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (!record->isKindOf(table->recordClass())) return Acad::eInvalidInput;
    if (!db->vornImpl()->lookup(table->objectId().index(), name, false).isNull()) return Acad::eDuplicateKey;
    record->m_name = name;
    return vorn::db::detail::Append(db, table->objectId(), record, id);
}

namespace {

// The groups without their 102 brace blocks ({ACAD_XDICTIONARY ... }, {ACAD_REACTORS ... }).
AcDbKeptGroups WithoutBraces(const AcDbKeptGroups& in) {
    AcDbKeptGroups out;
    out.reserve(in.size());
    bool inside = false;
    for (const AcDbKeptGroup& g : in) {
        if (g.code == 102) {
            inside = !g.value.empty() && g.value[0] == '{';
            continue;
        }
        if (!inside) out.push_back(g);
    }
    return out;
}

bool NamesOthers(const AcDbKeptGroups& groups) {
    for (const AcDbKeptGroup& g : groups)
        if (IsPointerCode(g.code) && g.value != "0" && !g.value.empty()) return true;
    return false;
}

}  // namespace

bool PrepareCopy(AcDbObject* copy, bool acrossDrawings) {
    if (!copy || !copy->keptData()) return true;
    auto data = std::make_shared<AcDbKeptData>(*copy->keptData());
    data->groups = WithoutBraces(data->groups);
    for (AcDbKeptRecord& r : data->following) {
        r.handle = 0;  // a new one when the copy is appended
        r.groups = WithoutBraces(r.groups);
    }
    if (acrossDrawings) {
        if (const auto* kept = AcDbKeptEntity::cast(copy)) {
            // Only kinds whose records stand alone: others name blocks, styles or objects of
            // their own drawing.
            static const char* const kAlone[] = {"POINT", "SOLID", "TRACE", "3DFACE", "SPLINE", "ELLIPSE",
                                                 "XLINE", "RAY", "HATCH", "LEADER", "POLYLINE", "MESH"};
            bool alone = false;
            for (const char* k : kAlone) alone = alone || kept->type() == k;
            if (!alone || NamesOthers(data->groups)) return false;
            for (const AcDbKeptRecord& r : data->following)
                if (NamesOthers(r.groups)) return false;
        } else {
            AcDbKeptGroups own;
            for (const AcDbKeptGroup& g : data->groups)
                if (!IsPointerCode(g.code)) own.push_back(g);
            data->groups = std::move(own);
        }
    }
    copy->setKeptData(std::move(data));
    return true;
}

}  // namespace vorn::db
