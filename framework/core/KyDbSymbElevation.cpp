// KyDbSymbElevation: the site elevation mark, its saved fields and its drawing.
#include "framework/core/KyDbSymbElevation.h"

#include <cmath>
#include <cwchar>

#include "framework/core/KyDbText.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyGiStream.h"
#include "host/db/dbmain.h"
#include "host/db/dbpline.h"

ACRX_DXF_DEFINE_MEMBERS(KyDbSymbElevation, KyDbEntWithText, L"VORN_SYMB_ELEVATION")

namespace {
bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
}  // namespace

KyDbSymbElevation::KyDbSymbElevation(const AcGePoint3d& location, const wchar_t* elevationText, bool prec2) {
    SetLocation(location);
    SetElevationText(elevationText);
    m_bPrec2 = prec2;
    m_dTextHeight = 3.0;
}

Acad::ErrorStatus KyDbSymbElevation::SetLocation(const AcGePoint3d& p) {
    if (!Finite(p)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_ptLocation = p;
    return Acad::eOk;
}

void KyDbSymbElevation::SetElevationText(const wchar_t* text) {
    if (assertWriteEnabled()) m_strElevation = text ? text : L"";
}

std::wstring KyDbSymbElevation::FormatElevation(double value) const {
    if (!std::isfinite(value)) value = 0.0;
    wchar_t buf[512];
    std::swprintf(buf, sizeof buf / sizeof buf[0], m_bPrec2 ? L"%0.2f" : L"%0.3f", value);
    return buf;
}

void KyDbSymbElevation::OnExplode(KyGiStream& stream) const {
    AcDbDatabase* db = stream.Database();
    const double f = KyDbGetPlotFactor(db);
    const double h = kTriangleHeight * f;
    const double half = h / std::sqrt(3.0);
    const double th = m_dTextHeight * f;
    const double textLength = vorn::db::TextAdvance(m_strElevation) * th;
    const double lineEnd = std::max(half, half * 0.5 + textLength + 0.5 * th);
    const double c = std::cos(m_dLayoutAngle), s = std::sin(m_dLayoutAngle);
    auto at = [&](double x, double y) {
        return AcGePoint2d(m_ptLocation.x + x * c - y * s, m_ptLocation.y + x * s + y * c);
    };
    // The triangle on its tip, then the line along its top reaching past the text.
    auto* triangle = new AcDbPolyline(3);
    triangle->addVertexAt(0, at(0.0, 0.0));
    triangle->addVertexAt(1, at(-half, h));
    triangle->addVertexAt(2, at(half, h));
    triangle->setClosed(true);
    triangle->setElevation(m_ptLocation.z);
    stream << *triangle;
    delete triangle;
    auto* line = new AcDbPolyline(2);
    line->addVertexAt(0, at(-half, h));
    line->addVertexAt(1, at(lineEnd, h));
    line->setElevation(m_ptLocation.z);
    stream << *line;
    delete line;
    if (m_strElevation.empty()) return;
    AcGePoint2d p = at(0.0, h + 0.25 * th);
    KyDbText text(AcGePoint3d(p.x, p.y, m_ptLocation.z), m_strElevation.c_str(), KyGiText::kLeftBottom);
    text.SetTextHeight(th, KyDbText::kDrawingUnits);
    text.SetRotation(m_dLayoutAngle);
    text.SetTextStyle(GetTextStyle());
    const int old = stream.GetColorIndex();
    if (m_nTextColor != KyGiStream::kColorOfOwner) stream.SetColorIndex(m_nTextColor);
    stream << text;
    stream.SetColorIndex(old);
}

Acad::ErrorStatus KyDbSymbElevation::transformBy(const AcGeMatrix3d& xform) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    AcGePoint3d p = xform * m_ptLocation;
    AcGeVector3d dir = xform * AcGeVector3d(std::cos(m_dLayoutAngle), std::sin(m_dLayoutAngle), 0.0);
    if (!Finite(p) || !(std::hypot(dir.x, dir.y) > 0.0)) return Acad::eInvalidInput;
    // The mark keeps its plotted size; only its place and direction follow.
    m_ptLocation = p;
    m_dLayoutAngle = std::atan2(dir.y, dir.x);
    return Acad::eOk;
}

void KyDbSymbElevation::writeFields(std::vector<AcDbXDataItem>& fields) const {
    fields.push_back(AcDbXDataItem::position(m_ptLocation));
    fields.push_back(AcDbXDataItem::string(m_strElevation));
    fields.push_back(AcDbXDataItem::integer16(m_bPrec2 ? 1 : 0));
    fields.push_back(AcDbXDataItem::number(m_dTextHeight));
    fields.push_back(AcDbXDataItem::integer16(m_nTextColor));
    fields.push_back(AcDbXDataItem::number(m_dLayoutAngle));
    fields.push_back(AcDbXDataItem::string(TextStyleName()));
}

Acad::ErrorStatus KyDbSymbElevation::readFields(const std::vector<AcDbXDataItem>& f) {
    using K = AcDbXDataItem;
    if ((f.size() != 3 && f.size() != 7) || f[0].kind() != K::kPoint || f[1].kind() != K::kString ||
        f[2].kind() != K::kInteger)
        return Acad::eInvalidInput;
    if (f.size() == 7 && (f[3].kind() != K::kReal || f[4].kind() != K::kInteger || f[5].kind() != K::kReal ||
                          f[6].kind() != K::kString || !(f[3].real > 0.0) || f[4].integer < 0 ||
                          f[4].integer > 256))
        return Acad::eInvalidInput;
    for (const auto& item : f)
        if (!item.isFinite()) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_ptLocation = f[0].point;
    m_strElevation = f[1].str;
    m_bPrec2 = f[2].integer != 0;
    if (f.size() == 7) {
        m_dTextHeight = f[3].real;
        m_nTextColor = f[4].integer;
        m_dLayoutAngle = f[5].real;
        SetTextStyleName(f[6].str);
    }
    return Acad::eOk;
}

std::wstring KyDbSymbElevation::list() const {
    std::wstring out = listHeader();
    out += L"  Location: (" + DistToString(m_ptLocation.x) + L", " + DistToString(m_ptLocation.y) + L")\n";
    out += L"  Elevation: \"" + m_strElevation + L"\"" + (m_bPrec2 ? L" (2 decimals)\n" : L" (3 decimals)\n");
    return out;
}
