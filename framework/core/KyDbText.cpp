// KyDbText: a framework text drawn as a host text with the alignment codes of KyGiText.
#include "framework/core/KyDbText.h"

#include <cmath>

#include "framework/core/KyDbUtil.h"
#include "framework/core/KyGiStream.h"
#include "host/db/dbmain.h"
#include "host/db/dbtext.h"

ACRX_DXF_DEFINE_MEMBERS(KyDbText, KyDbEntity, L"VORN_TEXT")

namespace {
bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

AcDbDatabase* DatabaseOf(const AcDbObject* object, AcDbDatabase* db = nullptr) {
    if (db) return db;
    return object->database() ? object->database() : acdbHostApplicationServices()->workingDatabase();
}

// Rows of the alignment table: base line, bottom, top, middle.
const AcDb::TextVertMode kVertical[4] = {AcDb::kTextBase, AcDb::kTextBottom, AcDb::kTextTop, AcDb::kTextVertMid};
const AcDb::TextHorzMode kHorizontal[3] = {AcDb::kTextLeft, AcDb::kTextCenter, AcDb::kTextRight};
}  // namespace

KyDbText::KyDbText(const AcGePoint3d& position, const wchar_t* text, int alignment) {
    SetPosition(position);
    SetText(text);
    SetAlignment(alignment);
}

void KyDbText::SetText(const wchar_t* text) {
    if (assertWriteEnabled()) m_strText = text ? text : L"";
}

Acad::ErrorStatus KyDbText::SetPosition(const AcGePoint3d& p) {
    if (!Finite(p)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_ptPosition = p;
    return Acad::eOk;
}

Acad::ErrorStatus KyDbText::SetAlignment(int code) {
    if (!KyGiText::IsValidAlignment(code)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_nAlignment = code;
    return Acad::eOk;
}

Acad::ErrorStatus KyDbText::SetTextHeight(double height, int flag) {
    if (!std::isfinite(height) || height <= 0.0 || (flag != kDrawingUnits && flag != kPlotted))
        return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_dHeight = height;
    m_nHeightFlag = flag;
    return Acad::eOk;
}

Acad::ErrorStatus KyDbText::SetRotation(double rotation) {
    if (!std::isfinite(rotation)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_dRotation = rotation;
    return Acad::eOk;
}

AcDbObjectId KyDbText::GetTextStyle() const {
    if (!m_idStyle.isNull() || m_strStyleName.empty()) return m_idStyle;
    AcDbDatabase* db = DatabaseOf(this);
    return db ? db->findTextStyle(m_strStyleName) : AcDbObjectId::kNull;
}

Acad::ErrorStatus KyDbText::SetTextStyle(const AcDbObjectId& style) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_idStyle = style;
    m_strStyleName.clear();
    return Acad::eOk;
}

double KyDbText::GetDrawHeight(AcDbDatabase* db) const {
    if (m_nHeightFlag == kPlotted) return m_dHeight * KyDbGetPlotFactor(DatabaseOf(this, db));
    return m_dHeight;
}

AcDbText* KyDbText::AsAcDbText(AcDbDatabase* db) const {
    db = DatabaseOf(this, db);
    auto* text = new AcDbText();
    text->setPropertiesFrom(this);
    text->setTextString(m_strText.c_str());
    text->setHeight(GetDrawHeight(db));
    text->setRotation(m_dRotation);
    AcDbObjectId style = GetTextStyle();
    if (style.isNull() && db) style = db->textstyle();
    if (!style.isNull()) text->setTextStyle(style);
    text->setHorizontalMode(kHorizontal[m_nAlignment % 3]);
    text->setVerticalMode(kVertical[m_nAlignment / 3]);
    text->setPosition(m_ptPosition);
    text->setAlignmentPoint(m_ptPosition);
    return text;
}

void KyDbText::OnExplode(KyGiStream& stream) const {
    if (!m_strText.empty()) stream << *this;
}

Acad::ErrorStatus KyDbText::transformBy(const AcGeMatrix3d& xform) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    AcGePoint3d p = xform * m_ptPosition;
    AcGeVector3d dir = xform * AcGeVector3d(std::cos(m_dRotation), std::sin(m_dRotation), 0.0);
    double scale = std::hypot(dir.x, dir.y);
    if (!Finite(p) || !(scale > 0.0) || !std::isfinite(scale)) return Acad::eInvalidInput;
    m_ptPosition = p;
    m_dRotation = std::atan2(dir.y, dir.x);
    // A plotted height follows the print scale, not the drawing's geometry.
    if (m_nHeightFlag == kDrawingUnits) m_dHeight *= scale;
    return Acad::eOk;
}

void KyDbText::writeFields(std::vector<AcDbXDataItem>& fields) const {
    std::wstring styleName = m_strStyleName;
    AcDbObjectId style = GetTextStyle();
    if (!style.isNull() && style.database()) {
        if (const auto* rec = AcDbTextStyleTableRecord::cast(style.database()->peekObject(style)))
            styleName = rec->name();
    }
    fields.push_back(AcDbXDataItem::string(m_strText));
    fields.push_back(AcDbXDataItem::position(m_ptPosition));
    fields.push_back(AcDbXDataItem::integer16(m_nAlignment));
    fields.push_back(AcDbXDataItem::number(m_dHeight));
    fields.push_back(AcDbXDataItem::integer16(m_nHeightFlag));
    fields.push_back(AcDbXDataItem::number(m_dRotation));
    fields.push_back(AcDbXDataItem::string(styleName));
}

Acad::ErrorStatus KyDbText::readFields(const std::vector<AcDbXDataItem>& f) {
    using K = AcDbXDataItem;
    if (f.size() != 7 || f[0].kind() != K::kString || f[1].kind() != K::kPoint || f[2].kind() != K::kInteger ||
        f[3].kind() != K::kReal || f[4].kind() != K::kInteger || f[5].kind() != K::kReal ||
        f[6].kind() != K::kString)
        return Acad::eInvalidInput;
    for (const auto& item : f)
        if (!item.isFinite()) return Acad::eInvalidInput;
    if (!KyGiText::IsValidAlignment(f[2].integer) || !(f[3].real > 0.0) ||
        (f[4].integer != kDrawingUnits && f[4].integer != kPlotted))
        return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_strText = f[0].str;
    m_ptPosition = f[1].point;
    m_nAlignment = f[2].integer;
    m_dHeight = f[3].real;
    m_nHeightFlag = f[4].integer;
    m_dRotation = f[5].real;
    m_idStyle = AcDbObjectId::kNull;
    m_strStyleName = f[6].str;  // found by name in whichever drawing the text ends up in
    return Acad::eOk;
}

std::wstring KyDbText::list() const {
    std::wstring out = listHeader();
    out += L"  Text: \"" + m_strText + L"\"\n";
    out += L"  Position: (" + DistToString(m_ptPosition.x) + L", " + DistToString(m_ptPosition.y) + L")\n";
    out += L"  Alignment: " + std::to_wstring(m_nAlignment) + L"\n";
    out += L"  Height: " + DistToString(m_dHeight) + (m_nHeightFlag == kPlotted ? L" plotted\n" : L"\n");
    return out;
}

std::wstring KyDbText::degeneracy() const { return m_strText.empty() ? L"empty text" : L""; }

void KyDbText::remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) {
    KyDbEntity::remapIds(map);
    if (!m_idStyle.isNull()) m_idStyle = map(m_idStyle);
}
