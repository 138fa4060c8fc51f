// Transforming the points, directions, sizes and angles that kept groups hold, by what each
// group means for its kind of record. Every kind moves (a translation); kinds whose groups say
// all there is about their shape also turn and scale uniformly in the plan; anything else is
// refused rather than changed wrongly.
#include <cmath>
#include <vector>

#include "host/db/dbkept.h"

namespace vorn::db {
namespace {

constexpr double kPi = 3.14159265358979323846;

enum class Role : unsigned char {
    kPoint,      // a point in world coordinates
    kOcsPoint,   // a point in the record's object coordinates
    kOcsPoint2,  // the same with only X and Y
    kElevation,  // a point whose Z alone is the elevation (object coordinates)
    kVector,     // a direction with a length, in world coordinates
    kOcsVector,  // the same in object coordinates
    kUnit,       // a direction of unit length (turns, never scales)
    kLength,     // a size: scales
    kAngle,      // an angle in degrees: turns
    kBaseX,      // the X of a point in object coordinates given alone (hatch pattern base)
    kBaseY,      // its Y
};

struct Rule {
    int code;
    Role role;
};

// How a kind's groups move; turns: whether they turn and scale too.
struct Kind {
    std::vector<Rule> rules;
    bool turns = false;
    bool known = false;
};

Kind KindOf(const std::string& type) {
    using R = Role;
    if (type == "POINT") return {{{10, R::kPoint}, {50, R::kAngle}}, true, true};
    if (type == "SOLID" || type == "TRACE")
        return {{{10, R::kOcsPoint}, {11, R::kOcsPoint}, {12, R::kOcsPoint}, {13, R::kOcsPoint}}, true, true};
    if (type == "3DFACE") return {{{10, R::kPoint}, {11, R::kPoint}, {12, R::kPoint}, {13, R::kPoint}}, true, true};
    if (type == "SPLINE")
        return {{{10, R::kPoint}, {11, R::kPoint}, {12, R::kVector}, {13, R::kVector}}, true, true};
    if (type == "ELLIPSE") return {{{10, R::kPoint}, {11, R::kVector}}, true, true};
    if (type == "XLINE" || type == "RAY") return {{{10, R::kPoint}, {11, R::kUnit}}, true, true};
    if (type == "INSERT")
        return {{{10, R::kOcsPoint}, {41, R::kLength}, {42, R::kLength}, {43, R::kLength}, {44, R::kLength},
                 {45, R::kLength}, {50, R::kAngle}},
                true, true};
    if (type == "ATTDEF" || type == "ATTRIB" || type == "TEXT" || type == "SHAPE")
        return {{{10, R::kOcsPoint}, {11, R::kOcsPoint}, {40, R::kLength}, {50, R::kAngle}}, true, true};
    if (type == "LEADER")
        return {{{10, R::kPoint}, {211, R::kUnit}, {212, R::kVector}, {213, R::kVector}, {40, R::kLength},
                 {41, R::kLength}},
                true, true};
    if (type == "IMAGE" || type == "WIPEOUT") return {{{10, R::kPoint}, {11, R::kVector}, {12, R::kVector}}, true, true};
    if (type == "MESH") return {{{10, R::kPoint}}, true, true};
    if (type == "TOLERANCE") return {{{10, R::kPoint}, {11, R::kVector}}, true, true};
    if (type == "OLE2FRAME") return {{{10, R::kPoint}, {11, R::kPoint}}, false, true};
    if (type == "MLINE") return {{{10, R::kPoint}, {11, R::kPoint}}, false, true};
    if (type == "VIEWPORT") return {{{10, R::kPoint}}, false, true};
    if (type == "CIRCLE" || type == "ARC") return {{{10, R::kOcsPoint}}, false, true};
    if (type == "LWPOLYLINE") return {{{10, R::kOcsPoint2}, {38, R::kElevation}}, false, true};
    if (type == "POLYLINE") return {{{10, R::kElevation}}, true, true};
    if (type == "VERTEX") return {{{10, R::kOcsPoint}}, true, true};
    if (type == "SEQEND") return {{}, true, true};
    if (type == "DIMENSION" || type == "ARC_DIMENSION" || type == "LARGE_RADIAL_DIMENSION")
        return {{{10, R::kPoint}, {11, R::kOcsPoint}, {12, R::kOcsPoint}, {13, R::kPoint}, {14, R::kPoint},
                 {15, R::kPoint}, {16, R::kOcsPoint}},
                false, true};
    // An MTEXT's embedded object (its columns) and the HATCH are handled on their own.
    return {};
}

struct Frame {
    AcGeMatrix3d world;   // the transform
    AcGeMatrix3d object;  // the same in the record's object coordinates
    bool translation = true;
    double scale = 1.0;
    double angle = 0.0;  // radians about Z
};

bool Get(const AcDbKeptGroups& g, size_t i, double& v) { return KeptReal(g[i], v); }
void Set(AcDbKeptGroup& g, double v) { g.value = KeptRealText(v); }

// The point whose X group is at i: Y and Z where the file gives them.
bool ReadPoint(const AcDbKeptGroups& g, size_t i, AcGePoint3d& p, int& dims) {
    p = AcGePoint3d();
    dims = 1;
    if (!Get(g, i, p.x)) return false;
    if (i + 1 < g.size() && g[i + 1].code == g[i].code + 10) {
        if (!Get(g, i + 1, p.y)) return false;
        dims = 2;
        if (i + 2 < g.size() && g[i + 2].code == g[i].code + 20) {
            if (!Get(g, i + 2, p.z)) return false;
            dims = 3;
        }
    }
    return true;
}

void WritePoint(AcDbKeptGroups& g, size_t i, const AcGePoint3d& p, int dims) {
    Set(g[i], p.x);
    if (dims >= 2) Set(g[i + 1], p.y);
    if (dims >= 3) Set(g[i + 2], p.z);
}

bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// Applies one rule to the group at i (the X group of a point); false on a value that is no
// number or would not be finite.
bool Apply(AcDbKeptGroups& g, size_t i, Role role, const Frame& f) {
    AcGePoint3d p;
    int dims = 0;
    switch (role) {
        case Role::kPoint:
        case Role::kOcsPoint:
        case Role::kOcsPoint2:
        case Role::kElevation:
        case Role::kVector:
        case Role::kOcsVector:
        case Role::kUnit: {
            if (!ReadPoint(g, i, p, dims)) return false;
            const AcGeMatrix3d& m = role == Role::kPoint || role == Role::kVector || role == Role::kUnit ? f.world : f.object;
            AcGePoint3d q = p;
            if (role == Role::kVector || role == Role::kOcsVector || role == Role::kUnit) {
                AcGeVector3d v = p.asVector();
                v.transformBy(m);
                if (role == Role::kUnit && f.scale != 0.0) v = v * (1.0 / f.scale);
                q = AcGePoint3d(v.x, v.y, v.z);
            } else if (role == Role::kElevation) {
                // Only the elevation moves; the point's X and Y stay as they are.
                AcGePoint3d o(0.0, 0.0, p.z);
                o.transformBy(m);
                q = AcGePoint3d(p.x, p.y, o.z);
            } else {
                q.transformBy(m);
            }
            if (!Finite(q)) return false;
            if (dims < 3 && role != Role::kElevation && q.z != p.z && role != Role::kOcsPoint2) {
                // A point written without Z lies at Z 0; a transform that lifts it cannot be kept.
                if (std::fabs(q.z - p.z) > 1e-9 * (1.0 + std::fabs(p.z))) return false;
            }
            WritePoint(g, i, q, dims);
            return true;
        }
        case Role::kLength: {
            double v = 0.0;
            if (!Get(g, i, v) || !std::isfinite(v * f.scale)) return false;
            Set(g[i], v * f.scale);
            return true;
        }
        case Role::kAngle: {
            double v = 0.0;
            if (!Get(g, i, v)) return false;
            double a = std::remainder(v + f.angle * 180.0 / kPi, 360.0);
            if (a < 0) a += 360.0;
            Set(g[i], a);
            return true;
        }
        case Role::kBaseX:
        case Role::kBaseY: {
            double v = 0.0;
            if (!Get(g, i, v)) return false;
            AcGePoint3d o;
            o.transformBy(f.object);
            Set(g[i], v + (role == Role::kBaseX ? o.x : o.y));
            return true;
        }
    }
    return false;
}

// The extrusion direction of a record (the world Z axis when it gives none).
AcGeVector3d Extrusion(const AcDbKeptGroups& g) {
    AcGeVector3d n(0.0, 0.0, 1.0);
    bool brace = false;
    for (size_t i = 0; i < g.size(); ++i) {
        if (g[i].code == 102) brace = !g[i].value.empty() && g[i].value[0] == '{';
        if (brace || g[i].code != 210) continue;
        AcGePoint3d p;
        int dims = 0;
        if (ReadPoint(g, i, p, dims) && dims == 3) n = p.asVector();
        break;
    }
    return n;
}

// A hatch's groups: boundary points, edges, pattern lines and seed points, found by walking
// the structure (the same code means a point in one edge and a direction in another).
bool TransformHatch(AcDbKeptGroups& g, const Frame& f) {
    bool first = true, polyline = false;
    long long edge = 0;
    bool pattern = false;
    for (size_t i = 0; i < g.size(); ++i) {
        const int code = g[i].code;
        double v = 0.0;
        if (code == 92 && Get(g, i, v)) {
            polyline = (static_cast<long long>(v) & 2) != 0;
            edge = 0;
        } else if (code == 72 && !polyline && Get(g, i, v)) {
            edge = static_cast<long long>(v);
        } else if (code == 78) {
            pattern = true;
        } else if (code == 10) {
            if (first) {
                first = false;
                if (!Apply(g, i, Role::kElevation, f)) return false;
            } else if (!Apply(g, i, Role::kOcsPoint2, f)) {
                return false;
            }
        } else if (code == 11) {
            if (!Apply(g, i, edge == 3 ? Role::kOcsVector : Role::kOcsPoint2, f)) return false;
        } else if (code == 12 || code == 13) {
            if (!Apply(g, i, Role::kOcsVector, f)) return false;
        } else if (code == 43 && pattern) {
            if (!Apply(g, i, Role::kBaseX, f)) return false;
        } else if (code == 44 && pattern) {
            if (!Apply(g, i, Role::kBaseY, f)) return false;
        }
    }
    return true;
}

// An MTEXT's embedded object: its direction, insertion point and sizes.
bool TransformEmbedded(AcDbKeptGroups& g, const Frame& f) {
    bool embedded = false;
    for (size_t i = 0; i < g.size(); ++i) {
        if (g[i].code == 101) embedded = true;
        if (!embedded) continue;
        const int code = g[i].code;
        bool ok = true;
        if (code == 10) ok = Apply(g, i, Role::kUnit, f);
        else if (code == 11) ok = Apply(g, i, Role::kPoint, f);
        else if (code >= 40 && code <= 46) ok = Apply(g, i, Role::kLength, f);
        if (!ok) return false;
    }
    return true;
}

}  // namespace

bool TransformKeptGroups(const std::string& type, AcDbKeptGroups& groups, const AcGeMatrix3d& xform,
                         const AcDbKeptGroups* frame) {
    if (!xform.isFinite()) return false;
    Frame f;
    f.world = xform;
    // The linear part: a translation, or a turn about Z with a uniform scale.
    AcGeMatrix3d linear = xform;
    linear(0, 3) = linear(1, 3) = linear(2, 3) = 0.0;
    f.translation = linear.isEqualTo(AcGeMatrix3d::kIdentity);
    if (!f.translation) {
        AcGeVector3d z(0.0, 0.0, 1.0);
        z.transformBy(linear);
        if (!xform.isUniScaledOrtho() || !xform.keepsOrientation() || std::fabs(z.x) > 1e-9 * z.length() ||
            std::fabs(z.y) > 1e-9 * z.length())
            return false;
        AcGeVector3d x(1.0, 0.0, 0.0);
        x.transformBy(linear);
        f.scale = x.length();
        f.angle = std::atan2(x.y, x.x);
    }
    const AcGeVector3d n = Extrusion(frame ? *frame : groups);
    const bool plan = std::fabs(n.x) < 1e-12 && std::fabs(n.y) < 1e-12 && n.z > 0;
    if (plan) {
        f.object = xform;
    } else {
        if (!f.translation) return false;  // only moves out of the plan
        const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(n);
        f.object = toWorld.inverse() * xform * toWorld;
    }
    if (type == "HATCH" || type == "MPOLYGON") return f.translation && TransformHatch(groups, f);
    if (type == "MTEXT") return TransformEmbedded(groups, f);
    Kind kind = KindOf(type);
    if (!kind.known || (!f.translation && !kind.turns)) return false;
    if (type == "VERTEX") {
        // A polyface mesh's face record holds vertex numbers, not a place.
        for (const AcDbKeptGroup& g : groups) {
            double flags = 0.0;
            if (g.code == 70 && KeptReal(g, flags) && (static_cast<long long>(flags) & 192) == 128) kind.rules.clear();
        }
    }
    AcDbKeptGroups result = groups;
    bool brace = false, embedded = false;
    for (size_t i = 0; i < result.size(); ++i) {
        const int code = result[i].code;
        if (code == 102) brace = !result[i].value.empty() && result[i].value[0] == '{';
        if (code == 101) embedded = true;
        if (brace || embedded || code >= 1000) continue;
        for (const Rule& r : kind.rules)
            if (r.code == code) {
                if (!Apply(result, i, r.role, f)) return false;
                break;
            }
    }
    groups = std::move(result);
    return true;
}

}  // namespace vorn::db

namespace vorn::db {

void TransformKeptOf(AcDbEntity* entity, const std::string& type, const AcGeMatrix3d& xform) {
    const AcDbKeptData* kept = entity ? entity->keptData() : nullptr;
    if (!kept) return;
    auto data = std::make_shared<AcDbKeptData>(*kept);
    AcDbKeptGroups groups = data->groups;
    if (type == "MTEXT" && TransformKeptGroups(type, groups, xform)) data->groups = std::move(groups);
    for (AcDbKeptRecord& r : data->following) {
        AcDbKeptGroups moved = r.groups;
        if (r.type != "SEQEND" && TransformKeptGroups(r.type, moved, xform)) r.groups = std::move(moved);
    }
    entity->setKeptData(std::move(data));
}

}  // namespace vorn::db
