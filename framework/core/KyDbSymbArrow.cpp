// KyDbSymbArrow: the arrow symbol: its path, head, text layout and saved fields.
#include "framework/core/KyDbSymbArrow.h"

#include <cmath>

#include "framework/core/KyDbText.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyGiStream.h"
#include "host/db/dbmain.h"
#include "host/db/dbpline.h"

ACRX_DXF_DEFINE_MEMBERS(KyDbSymbArrow, KyDbEntWithText, L"VORN_SYMB_ARROW")

namespace {
constexpr double kPi = 3.14159265358979323846;

struct TextLayout {
    AcGePoint3d p1, p2;
    double rotation = 0.0;
    int horizontal = 1;  // 0 left, 1 centre, 2 right
};

// Where along the path the texts stand, turned along it and kept readable.
TextLayout Layout(const std::vector<vorn::db::BulgeVertex>& v, int alignment, double layoutAngle, double th) {
    TextLayout out;
    if (v.size() < 2) return out;
    const double total = vorn::db::PathLength(v, false);
    double want = alignment == KyDbSymbArrow::kAtStart ? 0.0 : alignment == KyDbSymbArrow::kAtEnd ? total : total / 2;
    const int n = vorn::db::SegmentCount(v, false);
    AcGePoint2d at = v.front().point;
    AcGeVector2d tangent(1.0, 0.0);
    double run = 0.0;
    for (int i = 0; i < n; ++i) {
        vorn::db::BulgeSegment seg = vorn::db::SegmentAt(v, false, i);
        double len = seg.length();
        if (len <= 0.0) continue;
        if (run + len >= want || i == n - 1) {
            double frac = std::min(1.0, std::max(0.0, (want - run) / len));
            at = seg.pointAt(frac);
            tangent = seg.tangentAt(frac);
            break;
        }
        run += len;
    }
    double angle = std::atan2(tangent.y, tangent.x);
    double rel = std::remainder(angle - layoutAngle, 2 * kPi);
    bool flipped = std::fabs(rel) > kPi / 2 + 1e-9;
    if (flipped) angle += kPi;
    out.rotation = std::remainder(angle, 2 * kPi);
    if (alignment == KyDbSymbArrow::kAtStart) out.horizontal = flipped ? 2 : 0;
    else if (alignment == KyDbSymbArrow::kAtEnd) out.horizontal = flipped ? 0 : 2;
    AcGeVector2d up(-std::sin(angle), std::cos(angle));
    const double gap = 0.5 * th;
    out.p1 = AcGePoint3d(at.x + up.x * gap, at.y + up.y * gap, 0.0);
    out.p2 = AcGePoint3d(at.x - up.x * gap, at.y - up.y * gap, 0.0);
    return out;
}
}  // namespace

Acad::ErrorStatus KyDbSymbArrow::SetVertices(const std::vector<vorn::db::BulgeVertex>& vertices) {
    int distinct = 0;
    for (size_t i = 0; i < vertices.size(); ++i) {
        const auto& p = vertices[i];
        if (!std::isfinite(p.point.x) || !std::isfinite(p.point.y) || !std::isfinite(p.bulge))
            return Acad::eInvalidInput;
        if (i == 0 || p.point.distanceTo(vertices[i - 1].point) > vorn::ge::kPointTol) ++distinct;
    }
    if (distinct < 2) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_vertices = vertices;
    for (auto& p : m_vertices) p.startWidth = p.endWidth = 0.0;
    return Acad::eOk;
}

void KyDbSymbArrow::SetText1(const wchar_t* text) {
    if (assertWriteEnabled()) m_strText1 = text ? text : L"";
}
void KyDbSymbArrow::SetText2(const wchar_t* text) {
    if (assertWriteEnabled()) m_strText2 = text ? text : L"";
}

Acad::ErrorStatus KyDbSymbArrow::SetTextAlignment(int alignment) {
    if (alignment < kAtStart || alignment > kAtMiddle) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_nTextAlignment = alignment;
    return Acad::eOk;
}

Acad::ErrorStatus KyDbSymbArrow::SetArrowType(int type) {
    if (type < kNoHead || type > kOpenHead) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_nArrowType = type;
    return Acad::eOk;
}

Acad::ErrorStatus KyDbSymbArrow::SetArrowSize(double size) {
    if (!std::isfinite(size) || size < 0.0) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_dArrowSize = size;
    return Acad::eOk;
}

void KyDbSymbArrow::ResetTextPos() {
    if (!assertWriteEnabled()) return;
    const double th = m_dTextHeight * KyDbGetPlotFactor(database());
    TextLayout l = Layout(m_vertices, m_nTextAlignment, m_dLayoutAngle, th);
    m_ptText1 = l.p1;
    m_ptText2 = l.p2;
    m_dTextRotation = l.rotation;
}

void KyDbSymbArrow::OnExplode(KyGiStream& stream) const {
    if (m_vertices.size() < 2) return;
    const double f = KyDbGetPlotFactor(stream.Database());
    auto* path = new AcDbPolyline(static_cast<unsigned>(m_vertices.size()));
    path->setVertices(m_vertices);
    stream << *path;
    delete path;
    // The head at the last vertex, along the last segment's direction there.
    const double size = m_dArrowSize * f;
    if (m_nArrowType != kNoHead && size > 0.0) {
        int n = vorn::db::SegmentCount(m_vertices, false);
        vorn::db::BulgeSegment last = vorn::db::SegmentAt(m_vertices, false, n - 1);
        AcGeVector2d t = last.tangentAt(1.0).normal();
        if (!t.isZeroLength()) {
            AcGePoint2d tip = m_vertices.back().point;
            AcGePoint2d base = tip - t * size;
            AcGeVector2d side = t.perpVector() * (size / 3.0);
            auto* head = new AcDbPolyline(3);
            head->addVertexAt(0, base + side);
            head->addVertexAt(1, tip);
            head->addVertexAt(2, base - side);
            head->setClosed(m_nArrowType == kFilledHead);
            stream << *head;
            delete head;
        }
    }
    const double th = m_dTextHeight * f;
    TextLayout l = Layout(m_vertices, m_nTextAlignment, m_dLayoutAngle, th);
    const int old = stream.GetColorIndex();
    if (m_nTextColor != KyGiStream::kColorOfOwner) stream.SetColorIndex(m_nTextColor);
    const int row1 = KyGiText::kLeftBottom, row2 = KyGiText::kLeftTop;
    for (int i = 0; i < 2; ++i) {
        const std::wstring& s = i == 0 ? m_strText1 : m_strText2;
        if (s.empty()) continue;
        KyDbText text(i == 0 ? l.p1 : l.p2, s.c_str(), (i == 0 ? row1 : row2) + l.horizontal);
        text.SetTextHeight(th, KyDbText::kDrawingUnits);
        text.SetRotation(l.rotation);
        text.SetTextStyle(GetTextStyle());
        stream << text;
    }
    stream.SetColorIndex(old);
}

Acad::ErrorStatus KyDbSymbArrow::transformBy(const AcGeMatrix3d& xform) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    AcDbPolyline path;
    path.setVertices(m_vertices);
    Acad::ErrorStatus es = path.transformBy(xform);
    if (es != Acad::eOk) return es;
    AcGeVector3d dir = xform * AcGeVector3d(std::cos(m_dLayoutAngle), std::sin(m_dLayoutAngle), 0.0);
    if (!path.isFiniteObject() || !(std::hypot(dir.x, dir.y) > 0.0)) return Acad::eInvalidInput;
    m_vertices = path.vertices();
    m_dLayoutAngle = std::atan2(dir.y, dir.x);
    ResetTextPos();
    return Acad::eOk;
}

void KyDbSymbArrow::writeFields(std::vector<AcDbXDataItem>& fields) const {
    fields.push_back(AcDbXDataItem::string(m_strText1));
    fields.push_back(AcDbXDataItem::string(m_strText2));
    for (const auto& v : m_vertices) {
        fields.push_back(AcDbXDataItem::position(AcGePoint3d(v.point.x, v.point.y, 0.0)));
        if (v.bulge != 0.0) fields.push_back(AcDbXDataItem::number(v.bulge, 1041));
    }
    fields.push_back(AcDbXDataItem::integer16(m_nArrowType));
    fields.push_back(AcDbXDataItem::number(m_dArrowSize));
    fields.push_back(AcDbXDataItem::integer16(m_nTextAlignment));
    fields.push_back(AcDbXDataItem::integer16(m_nTextColor));
    fields.push_back(AcDbXDataItem::number(m_dTextHeight));
    fields.push_back(AcDbXDataItem::number(m_dLayoutAngle));
    fields.push_back(AcDbXDataItem::string(TextStyleName()));
}

Acad::ErrorStatus KyDbSymbArrow::readFields(const std::vector<AcDbXDataItem>& f) {
    using K = AcDbXDataItem;
    for (const auto& item : f)
        if (!item.isFinite()) return Acad::eInvalidInput;
    size_t i = 0;
    if (f.size() < 2 || f[0].kind() != K::kString || f[1].kind() != K::kString) return Acad::eInvalidInput;
    i = 2;
    std::vector<vorn::db::BulgeVertex> verts;
    while (i < f.size() && f[i].kind() == K::kPoint) {
        vorn::db::BulgeVertex v;
        v.point = AcGePoint2d(f[i].point.x, f[i].point.y);
        ++i;
        if (i < f.size() && f[i].code == 1041) v.bulge = f[i++].real;
        verts.push_back(v);
    }
    if (f.size() - i != 6 && f.size() - i != 7) return Acad::eInvalidInput;
    const K* r = &f[i];
    if (r[0].kind() != K::kInteger || r[1].kind() != K::kReal || r[2].kind() != K::kInteger ||
        r[3].kind() != K::kInteger || r[4].kind() != K::kReal || r[5].kind() != K::kReal ||
        (f.size() - i == 7 && r[6].kind() != K::kString))
        return Acad::eInvalidInput;
    if (r[0].integer < kNoHead || r[0].integer > kOpenHead || r[1].real < 0.0 || r[2].integer < kAtStart ||
        r[2].integer > kAtMiddle || r[3].integer < 0 || r[3].integer > 256 || !(r[4].real > 0.0))
        return Acad::eInvalidInput;
    if (SetVertices(verts) != Acad::eOk) return Acad::eInvalidInput;
    m_strText1 = f[0].str;
    m_strText2 = f[1].str;
    m_nArrowType = r[0].integer;
    m_dArrowSize = r[1].real;
    m_nTextAlignment = r[2].integer;
    m_nTextColor = r[3].integer;
    m_dTextHeight = r[4].real;
    m_dLayoutAngle = r[5].real;
    SetTextStyleName(f.size() - i == 7 ? r[6].str : std::wstring());
    ResetTextPos();
    return Acad::eOk;
}

std::wstring KyDbSymbArrow::list() const {
    std::wstring out = listHeader();
    out += L"  Text 1: \"" + m_strText1 + L"\"\n  Text 2: \"" + m_strText2 + L"\"\n";
    out += L"  Vertices: " + std::to_wstring(m_vertices.size()) + L"\n";
    return out;
}

std::wstring KyDbSymbArrow::degeneracy() const { return m_vertices.size() < 2 ? L"arrow without a path" : L""; }
