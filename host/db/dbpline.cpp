// AcDbPolyline: the lightweight polyline.
#include "host/db/dbpline.h"

#include <algorithm>

#include "host/db/dbarc.h"
#include "host/db/dbgeomutil.h"
#include "host/db/dbline.h"

using namespace vorn::db::detail;
using vorn::db::BulgeSegment;
using vorn::db::BulgeVertex;

ACRX_DXF_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, L"LWPOLYLINE")

namespace {
bool finiteVertex(const BulgeVertex& v) {
    return Finite(v.point) && Finite(v.bulge) && Finite(v.startWidth) && Finite(v.endWidth);
}
}  // namespace

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge, double sw,
                                           double ew) {
    if (index > m_verts.size()) return Acad::eInvalidIndex;
    BulgeVertex v{pt, bulge, sw, ew};
    if (!finiteVertex(v)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts.insert(m_verts.begin() + index, v);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
    if (index >= m_verts.size()) return Acad::eInvalidIndex;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts.erase(m_verts.begin() + index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const {
    if (index >= m_verts.size()) return Acad::eInvalidIndex;
    pt = m_verts[index].point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const {
    if (index >= m_verts.size()) return Acad::eInvalidIndex;
    pt = AcGePoint3d(m_verts[index].point.x, m_verts[index].point.y, m_elevation);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt) {
    if (index >= m_verts.size()) return Acad::eInvalidIndex;
    if (!Finite(pt)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts[index].point = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
    if (index >= m_verts.size()) return Acad::eInvalidIndex;
    bulge = m_verts[index].bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
    if (index >= m_verts.size()) return Acad::eInvalidIndex;
    if (!Finite(bulge)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts[index].bulge = bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& sw, double& ew) const {
    if (index >= m_verts.size()) return Acad::eInvalidIndex;
    sw = m_verts[index].startWidth;
    ew = m_verts[index].endWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double sw, double ew) {
    if (index >= m_verts.size()) return Acad::eInvalidIndex;
    if (!Finite(sw) || !Finite(ew) || sw < 0.0 || ew < 0.0) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts[index].startWidth = sw;
    m_verts[index].endWidth = ew;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double w) {
    if (!Finite(w) || w < 0.0) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    for (auto& v : m_verts) v.startWidth = v.endWidth = w;
    return Acad::eOk;
}

bool AcDbPolyline::isOnlyLines() const {
    return std::all_of(m_verts.begin(), m_verts.end(), [](const BulgeVertex& v) { return v.bulge == 0.0; });
}

void AcDbPolyline::setClosed(bool closed) {
    if (assertWriteEnabled()) m_closed = closed;
}

void AcDbPolyline::setElevation(double z) {
    if (Finite(z) && assertWriteEnabled()) m_elevation = z;
}

unsigned int AcDbPolyline::numSegments() const {
    return static_cast<unsigned int>(vorn::db::SegmentCount(m_verts, m_closed));
}

AcDbPolyline::SegType AcDbPolyline::segType(unsigned int index) const {
    if (m_verts.empty()) return kEmpty;
    if (m_verts.size() == 1) return kPoint;
    if (index >= numSegments()) return kEmpty;
    BulgeSegment s = vorn::db::SegmentAt(m_verts, m_closed, static_cast<int>(index));
    if (s.start.distanceTo(s.end) <= vorn::ge::kPointTol) return kCoincident;
    return s.isArc ? kArc : kLine;
}

Acad::ErrorStatus AcDbPolyline::getSegmentAt(unsigned int index, BulgeSegment& segment) const {
    if (index >= numSegments()) return Acad::eInvalidIndex;
    segment = vorn::db::SegmentAt(m_verts, m_closed, static_cast<int>(index));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setVertices(const std::vector<BulgeVertex>& vertices) {
    for (const auto& v : vertices)
        if (!finiteVertex(v)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts = vertices;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getStartParam(double& p) const {
    if (m_verts.empty()) return Acad::eDegenerateGeometry;
    p = 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndParam(double& p) const {
    if (m_verts.empty()) return Acad::eDegenerateGeometry;
    p = static_cast<double>(numSegments());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getStartPoint(AcGePoint3d& p) const { return getPointAt(0, p); }

Acad::ErrorStatus AcDbPolyline::getEndPoint(AcGePoint3d& p) const {
    if (m_verts.empty()) return Acad::eDegenerateGeometry;
    return getPointAt(m_closed ? 0u : numVerts() - 1, p);
}

Acad::ErrorStatus AcDbPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
    unsigned n = numSegments();
    if (m_verts.empty() || !Finite(param) || param < -kParamTol || param > n + kParamTol) return Acad::eInvalidInput;
    if (n == 0) return getPointAt(0, point);
    double p = std::clamp(param, 0.0, double(n));
    unsigned i = std::min(static_cast<unsigned>(p), n - 1);
    AcGePoint2d q = vorn::db::SegmentAt(m_verts, m_closed, static_cast<int>(i)).pointAt(p - i);
    point = AcGePoint3d(q.x, q.y, m_elevation);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    if (m_verts.empty()) return Acad::eDegenerateGeometry;
    AcGePoint2d p(point.x, point.y);
    double best = HUGE_VAL;
    for (unsigned i = 0, n = numSegments(); i < n; ++i) {
        AcGePoint2d c;
        double f = vorn::db::SegmentAt(m_verts, m_closed, static_cast<int>(i)).closestFraction(p, c);
        double d = c.distanceTo(p);
        if (d < best) {
            best = d;
            param = i + f;
        }
    }
    if (numSegments() == 0) {
        best = m_verts[0].point.distanceTo(p);
        param = 0.0;
    }
    double tol = std::max(vorn::ge::kPointTol, 1e-12 * (std::fabs(p.x) + std::fabs(p.y)));
    return best <= tol ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbPolyline::getDistAtParam(double param, double& dist) const {
    unsigned n = numSegments();
    if (m_verts.empty() || !Finite(param) || param < -kParamTol || param > n + kParamTol) return Acad::eInvalidInput;
    double p = std::clamp(param, 0.0, double(n));
    dist = 0.0;
    for (unsigned i = 0; i < n && i < p; ++i) {
        double len = vorn::db::SegmentAt(m_verts, m_closed, static_cast<int>(i)).length();
        dist += len * std::min(1.0, p - i);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getParamAtDist(double dist, double& param) const {
    double total = vorn::db::PathLength(m_verts, m_closed);
    if (m_verts.empty() || !Finite(dist) || dist < -kParamTol * std::max(1.0, total) ||
        dist > total * (1 + kParamTol) + kParamTol)
        return Acad::eInvalidInput;
    double left = std::clamp(dist, 0.0, total);
    unsigned n = numSegments();
    for (unsigned i = 0; i < n; ++i) {
        double len = vorn::db::SegmentAt(m_verts, m_closed, static_cast<int>(i)).length();
        if (left <= len || i + 1 == n) {
            param = i + (len > 0.0 ? std::min(1.0, left / len) : 0.0);
            return Acad::eOk;
        }
        left -= len;
    }
    param = 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getFirstDeriv(double param, AcGeVector3d& deriv) const {
    unsigned n = numSegments();
    if (n == 0 || !Finite(param)) return Acad::eInvalidInput;
    double p = std::clamp(param, 0.0, double(n));
    unsigned i = std::min(static_cast<unsigned>(p), n - 1);
    AcGeVector2d t = vorn::db::SegmentAt(m_verts, m_closed, static_cast<int>(i)).tangentAt(p - i);
    deriv = AcGeVector3d(t.x, t.y, 0.0);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool) const {
    if (m_verts.empty()) return Acad::eDegenerateGeometry;
    AcGePoint2d p(given.x, given.y), best = m_verts[0].point;
    double bestD = best.distanceTo(p);
    for (unsigned i = 0, n = numSegments(); i < n; ++i) {
        AcGePoint2d c;
        vorn::db::SegmentAt(m_verts, m_closed, static_cast<int>(i)).closestFraction(p, c);
        if (c.distanceTo(p) < bestD) {
            bestD = c.distanceTo(p);
            best = c;
        }
    }
    closest = AcGePoint3d(best.x, best.y, m_elevation);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArea(double& area) const {
    area = std::fabs(vorn::db::PathSignedArea(m_verts, m_closed));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::reverseCurve() {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    size_t n = m_verts.size();
    if (n < 2) return Acad::eOk;
    // Segment i's bulge and widths move to the reversed segment, negated and swapped.
    std::vector<BulgeVertex> out(n);
    for (size_t k = 0; k < n; ++k) out[k].point = m_verts[n - 1 - k].point;
    size_t segs = m_closed ? n : n - 1;
    for (size_t s = 0; s < segs; ++s) {
        const BulgeVertex& from = m_verts[s];
        // Segment s runs from vertex s to s+1; reversed it starts at new index n-1-(s+1) (mod n).
        size_t start = (n - 1 - ((s + 1) % n)) % n;
        out[start].bulge = -from.bulge;
        out[start].startWidth = from.endWidth;
        out[start].endWidth = from.startWidth;
    }
    m_verts = out;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getGeomExtents(AcDbExtents& extents) const {
    extents = vorn::db::PathExtents(m_verts, m_closed, m_elevation);
    return extents.isValid() ? Acad::eOk : Acad::eInvalidExtents;
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& xform) {
    double scale, turn;
    bool mirrored;
    if (!Similarity(xform, scale, turn, mirrored)) {
        if (!isOnlyLines()) return Acad::eCannotScaleNonUniformly;
    }
    bool flip = xform(0, 0) * xform(1, 1) - xform(0, 1) * xform(1, 0) < 0.0;
    std::vector<BulgeVertex> out = m_verts;
    double z = m_elevation;
    for (auto& v : out) {
        AcGePoint3d p = xform * AcGePoint3d(v.point.x, v.point.y, m_elevation);
        v.point = AcGePoint2d(p.x, p.y);
        z = p.z;
        if (flip) v.bulge = -v.bulge;
        double ws = xform.scale();
        v.startWidth *= ws;
        v.endWidth *= ws;
        if (!finiteVertex(v)) return Acad::eInvalidInput;
    }
    if (!Finite(z)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts = out;
    m_elevation = z;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::explode(AcDbVoidPtrArray& entitySet) const {
    for (unsigned i = 0, n = numSegments(); i < n; ++i) {
        BulgeSegment s = vorn::db::SegmentAt(m_verts, m_closed, static_cast<int>(i));
        if (s.length() <= vorn::ge::kPointTol) continue;
        AcDbCurve* c = nullptr;
        if (s.isArc) {
            double a0 = s.sweep > 0 ? s.startAngle : s.startAngle + s.sweep;
            c = new AcDbArc(AcGePoint3d(s.centre.x, s.centre.y, m_elevation), s.radius, a0, a0 + std::fabs(s.sweep));
        } else {
            c = new AcDbLine(AcGePoint3d(s.start.x, s.start.y, m_elevation), AcGePoint3d(s.end.x, s.end.y, m_elevation));
        }
        c->setPropertiesFrom(this);
        entitySet.append(c);
    }
    return Acad::eOk;
}

bool AcDbPolyline::worldDraw(AcGiWorldDraw* draw) const {
    if (m_verts.empty()) return false;
    std::vector<AcGePoint3d> pts;
    for (const auto& p : vorn::db::FlattenPath(m_verts, m_closed, draw->deviation()))
        pts.emplace_back(p.x, p.y, m_elevation);
    return draw->geometry().polyline(pts, m_closed);
}

std::wstring AcDbPolyline::list() const {
    std::wstring out = listHeader() + (m_closed ? L"  Closed\n" : L"  Open\n");
    out += L"  Constant width: " + Num(m_verts.empty() ? 0.0 : m_verts[0].startWidth) + L"\n";
    double area = 0.0;
    getArea(area);
    out += L"  area: " + Num(area) + L"\n  length: " + Num(vorn::db::PathLength(m_verts, m_closed)) + L"\n";
    for (const auto& v : m_verts) {
        out += L"  at point: " + Pt(AcGePoint3d(v.point.x, v.point.y, m_elevation));
        if (v.bulge != 0.0) out += L"  bulge: " + Num(v.bulge);
        out += L"\n";
    }
    return out;
}

std::wstring AcDbPolyline::degeneracy() const {
    for (size_t i = 1; i < m_verts.size(); ++i)
        if (m_verts[i].point.distanceTo(m_verts[0].point) > vorn::ge::kPointTol) return L"";
    return L"polyline with fewer than two distinct vertices";
}

bool AcDbPolyline::isFiniteObject() const {
    if (!Finite(m_elevation)) return false;
    for (const auto& v : m_verts)
        if (!finiteVertex(v)) return false;
    return AcDbEntity::isFiniteObject();
}
