// AcDbText and AcDbMText.
#include "host/db/dbtext.h"

#include "host/db/dbgeomutil.h"
#include "host/db/dbkept.h"
#include "host/db/dbmain.h"
#include "host/db/giextents.h"

using namespace vorn::db::detail;

ACRX_DXF_DEFINE_MEMBERS(AcDbText, AcDbEntity, L"TEXT")
ACRX_DXF_DEFINE_MEMBERS(AcDbMText, AcDbEntity, L"MTEXT")

namespace {
const AcDbTextStyleTableRecord* styleOf(const AcDbObjectId& id) {
    AcDbDatabase* db = id.database();
    return db ? AcDbTextStyleTableRecord::cast(db->peekObject(id)) : nullptr;
}

// Transforms a text's anchor, rotation and height; false when the result is not finite.
bool transformText(const AcGeMatrix3d& m, AcGePoint3d& pos, AcGePoint3d& align, double& rotation, double& height,
                   double& widthFactor) {
    AcGeVector3d dir = m * AcGeVector3d(std::cos(rotation), std::sin(rotation), 0.0);
    AcGeVector3d up = m * AcGeVector3d(-std::sin(rotation), std::cos(rotation), 0.0);
    double dl = dir.length(), ul = up.length();
    if (!(dl > 0.0) || !(ul > 0.0)) return false;
    AcGePoint3d p = m * pos, a = m * align;
    double r = WrapAngle(std::atan2(dir.y, dir.x)), h = height * ul, w = widthFactor * dl / ul;
    if (!Finite(p) || !Finite(a) || !Finite(h) || !Finite(w)) return false;
    pos = p, align = a, rotation = r, height = h, widthFactor = w;
    return true;
}
}  // namespace

// ---- text ----

AcDbText::AcDbText(const AcGePoint3d& position, const wchar_t* text, const AcDbObjectId& style, double height,
                   double rotation)
    : m_position(position), m_alignment(position), m_height(height), m_rotation(rotation),
      m_text(text ? text : L""), m_style(style) {}

#define VORN_TEXT_SETTER(NAME, MEMBER, TYPE, CHECK) \
    Acad::ErrorStatus AcDbText::NAME(TYPE v) {       \
        if (!(CHECK)) return Acad::eInvalidInput;    \
        if (!assertWriteEnabled()) return Acad::eNotOpenForWrite; \
        MEMBER = v;                                  \
        return Acad::eOk;                            \
    }
VORN_TEXT_SETTER(setPosition, m_position, const AcGePoint3d&, Finite(v))
VORN_TEXT_SETTER(setAlignmentPoint, m_alignment, const AcGePoint3d&, Finite(v))
VORN_TEXT_SETTER(setHeight, m_height, double, Finite(v) && v >= 0.0)
VORN_TEXT_SETTER(setRotation, m_rotation, double, Finite(v))
VORN_TEXT_SETTER(setWidthFactor, m_widthFactor, double, Finite(v) && v > 0.0)
VORN_TEXT_SETTER(setOblique, m_oblique, double, Finite(v))
VORN_TEXT_SETTER(setHorizontalMode, m_hmode, AcDb::TextHorzMode, v >= AcDb::kTextLeft && v <= AcDb::kTextFit)
VORN_TEXT_SETTER(setVerticalMode, m_vmode, AcDb::TextVertMode, v >= AcDb::kTextBase && v <= AcDb::kTextTop)
VORN_TEXT_SETTER(setTextStyle, m_style, const AcDbObjectId&, true)
#undef VORN_TEXT_SETTER

Acad::ErrorStatus AcDbText::setTextString(const wchar_t* text) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_text = text ? text : L"";
    return Acad::eOk;
}

double AcDbText::effectiveHeight() const {
    if (m_height > 0.0) return m_height;
    const AcDbTextStyleTableRecord* s = styleOf(m_style);
    if (s && s->textSize() > 0.0) return s->textSize();
    return 2.5;
}

AcGiTextData AcDbText::textData() const {
    AcGiTextData t;
    t.position = isDefaultAlignment() ? m_position : m_alignment;
    t.height = effectiveHeight();
    t.rotation = m_rotation;
    t.widthFactor = m_widthFactor;
    t.oblique = m_oblique;
    t.text = m_text;
    t.horizontalMode = m_hmode;
    t.verticalMode = m_vmode;
    // Aligned and fit text span from the position to the alignment point: draw from the start.
    if (m_hmode == AcDb::kTextAlign || m_hmode == AcDb::kTextFit) {
        t.position = m_position;
        t.horizontalMode = AcDb::kTextLeft;
        t.verticalMode = AcDb::kTextBase;
        double len = m_position.distanceTo(m_alignment);
        double adv = vorn::db::TextAdvance(m_text) * t.height;
        if (len > 0.0 && adv > 0.0) {
            t.rotation = std::atan2(m_alignment.y - m_position.y, m_alignment.x - m_position.x);
            t.widthFactor = len / adv;
        }
    }
    if (const AcDbTextStyleTableRecord* s = styleOf(m_style)) t.fontFile = s->fileName();
    return t;
}

Acad::ErrorStatus AcDbText::getGeomExtents(AcDbExtents& e) const {
    e.reset();
    if (m_text.empty()) return Acad::eInvalidExtents;
    for (const auto& p : vorn::db::TextBox(textData())) e.addPoint(p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform) {
    AcGePoint3d p = m_position, a = m_alignment;
    double r = m_rotation, h = m_height, w = m_widthFactor;
    if (!transformText(xform, p, a, r, h, w)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_position = p, m_alignment = a, m_rotation = r, m_height = h, m_widthFactor = w;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::explode(AcDbVoidPtrArray&) const { return Acad::eNotApplicable; }

bool AcDbText::worldDraw(AcGiWorldDraw* draw) const {
    if (m_text.empty()) return false;
    return draw->geometry().text(textData());
}

std::wstring AcDbText::list() const {
    return listHeader() + L"  text: \"" + m_text + L"\"\n  start point: " + Pt(m_position) + L"\n  height: " +
           Num(m_height) + L"\n  rotation angle: " + Num(m_rotation * 180.0 / kPi) + L"\n  width scale factor: " +
           Num(m_widthFactor) + L"\n";
}

std::wstring AcDbText::degeneracy() const {
    if (!(effectiveHeight() > 0.0) || m_height < 0.0) return L"zero text height";
    return L"";
}

bool AcDbText::isFiniteObject() const {
    return Finite(m_position) && Finite(m_alignment) && Finite(m_height) && Finite(m_rotation) &&
           Finite(m_widthFactor) && Finite(m_oblique) && AcDbEntity::isFiniteObject();
}

void AcDbText::remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) {
    AcDbEntity::remapIds(map);
    m_style = map(m_style);
}

// ---- mtext ----

#define VORN_MTEXT_SETTER(NAME, MEMBER, TYPE, CHECK) \
    Acad::ErrorStatus AcDbMText::NAME(TYPE v) {       \
        if (!(CHECK)) return Acad::eInvalidInput;     \
        if (!assertWriteEnabled()) return Acad::eNotOpenForWrite; \
        MEMBER = v;                                   \
        return Acad::eOk;                             \
    }
VORN_MTEXT_SETTER(setLocation, m_location, const AcGePoint3d&, Finite(v))
VORN_MTEXT_SETTER(setTextHeight, m_height, double, Finite(v) && v > 0.0)
VORN_MTEXT_SETTER(setWidth, m_width, double, Finite(v) && v >= 0.0)
VORN_MTEXT_SETTER(setRotation, m_rotation, double, Finite(v))
VORN_MTEXT_SETTER(setAttachment, m_attachment, AttachmentPoint, v >= kTopLeft && v <= kBottomRight)
VORN_MTEXT_SETTER(setTextStyle, m_style, const AcDbObjectId&, true)
#undef VORN_MTEXT_SETTER

Acad::ErrorStatus AcDbMText::setContents(const wchar_t* text) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_contents = text ? text : L"";
    return Acad::eOk;
}

namespace {
// Paragraph text without its formatting codes, paragraph and column breaks as '\n'.
std::wstring PlainText(const std::wstring& s) {
    std::wstring out;
    for (size_t i = 0; i < s.size(); ++i) {
        wchar_t c = s[i];
        if (c == L'{' || c == L'}') continue;
        if (c != L'\\' || i + 1 >= s.size()) {
            out += c;
            continue;
        }
        wchar_t k = s[++i];
        switch (k) {
            case L'P': case L'N': case L'X': out += L'\n'; break;  // paragraph, column, below the line
            case L'~': out += L' '; break;
            case L'\\': case L'{': case L'}': out += k; break;
            case L'f': case L'F': case L'H': case L'h': case L'W': case L'w': case L'Q': case L'q':
            case L'T': case L't': case L'A': case L'a': case L'C': case L'c': case L'p':
                // A formatting code with an argument up to ';'.
                while (i + 1 < s.size() && s[i + 1] != L';') ++i;
                if (i + 1 < s.size()) ++i;
                break;
            case L'S': {
                // A stack a^b or a/b: shown as a/b.
                while (i + 1 < s.size() && s[i + 1] != L';') {
                    wchar_t d = s[++i];
                    out += (d == L'^' || d == L'#') ? L'/' : d;
                }
                if (i + 1 < s.size()) ++i;
                break;
            }
            case L'L': case L'l': case L'O': case L'o': case L'K': case L'k': break;
            default: out += k; break;
        }
    }
    return out;
}

// The contents cut at its column breaks (\N); an escaped backslash is no break.
std::vector<std::wstring> SplitColumns(const std::wstring& s) {
    std::vector<std::wstring> out(1);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'\\' && i + 1 < s.size()) {
            if (s[i + 1] == L'N') {
                out.emplace_back();
            } else {
                out.back() += s[i];
                out.back() += s[i + 1];
            }
            ++i;
            continue;
        }
        out.back() += s[i];
    }
    return out;
}

// Static columns as the file's embedded object describes them (type, width, gutter); none
// when the paragraph text was read without one.
struct Columns {
    bool any = false;
    double width = 0.0, gutter = 0.0;
};

Columns ColumnsOf(const AcDbKeptData* kept) {
    Columns c;
    if (!kept) return c;
    bool embedded = false;
    long long type = 0;
    for (const AcDbKeptGroup& g : kept->groups) {
        if (g.code == 101) embedded = true;
        double v = 0.0;
        if (!embedded || !vorn::db::KeptReal(g, v)) continue;
        if (g.code == 71) type = static_cast<long long>(v);
        else if (g.code == 44) c.width = v;
        else if (g.code == 45) c.gutter = v;
    }
    c.any = type != 0 && c.width > 0.0 && c.gutter >= 0.0 && c.width + c.gutter < 1e12;
    return c;
}

std::vector<std::wstring> splitLines(const std::wstring& s) {
    std::vector<std::wstring> lines(1);
    for (wchar_t c : s) {
        if (c == L'\n') lines.emplace_back();
        else lines.back() += c;
    }
    return lines;
}

// A character a line may break after without a space: the wide ones of Chinese, Japanese and
// Korean text.
bool breaksAnywhere(wchar_t c) { return c >= 0x2E80; }

// A paragraph broken into lines no wider than width (in heights of advance, as TextAdvance
// measures): at spaces, or between wide characters; a word longer than the width stands alone.
std::vector<std::wstring> wrapLine(const std::wstring& line, double width) {
    std::vector<std::wstring> out;
    std::wstring current;
    double advance = 0.0;
    const auto end = [&]() {
        current.erase(current.find_last_not_of(L' ') + 1);
        out.push_back(current);
    };
    size_t i = 0;
    while (i < line.size()) {
        // The next piece: one wide character, or a word with the spaces before it.
        size_t j = i;
        while (j < line.size() && line[j] == L' ') ++j;
        if (j < line.size() && breaksAnywhere(line[j])) ++j;
        else
            while (j < line.size() && line[j] != L' ' && !breaksAnywhere(line[j])) ++j;
        std::wstring piece = line.substr(i, j - i);
        const double more = vorn::db::TextAdvance(piece);
        if (!current.empty() && advance + more > width) {
            end();
            piece.erase(0, piece.find_first_not_of(L' '));
            current = piece;
            advance = vorn::db::TextAdvance(piece);
        } else {
            current += piece;
            advance += more;
        }
        i = j;
    }
    end();
    return out;
}
}  // namespace

std::wstring AcDbMText::text() const { return PlainText(m_contents); }

// Line by line, wrapped to the reference width; static columns side by side, each as wide
// as the file says, a column break starting the next.
bool AcDbMText::worldDraw(AcGiWorldDraw* draw) const {
    const Columns columns = ColumnsOf(keptData());
    const std::vector<std::wstring> pieces =
        columns.any ? SplitColumns(m_contents) : std::vector<std::wstring>{m_contents};
    const double width = columns.any ? columns.width : m_width;
    const double pitch = m_height * 5.0 / 3.0;
    const int col = (m_attachment - 1) % 3;  // 0 left, 1 centre, 2 right
    const int row = (m_attachment - 1) / 3;  // 0 top, 1 middle, 2 bottom
    const double c = std::cos(m_rotation), s = std::sin(m_rotation);
    for (size_t k = 0; k < pieces.size(); ++k) {
        std::vector<std::wstring> lines;
        for (const std::wstring& paragraph : splitLines(PlainText(pieces[k]))) {
            if (!(width > 0.0) || !(m_height > 0.0)) {
                lines.push_back(paragraph);
                continue;
            }
            for (std::wstring& l : wrapLine(paragraph, width / m_height)) lines.push_back(std::move(l));
        }
        const double total = pitch * static_cast<double>(lines.size() - 1) + m_height;
        const double top = row == 0 ? 0.0 : (row == 1 ? total / 2 : total);
        const double dx = static_cast<double>(k) * (columns.width + columns.gutter);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].empty()) continue;
            AcGiTextData t;
            const double dy = top - m_height - pitch * static_cast<double>(i);
            t.position = AcGePoint3d(m_location.x + dx * c - dy * s, m_location.y + dx * s + dy * c, m_location.z);
            t.height = m_height;
            t.rotation = m_rotation;
            t.text = lines[i];
            t.horizontalMode = col;  // 0 left, 1 centre, 2 right
            if (const AcDbTextStyleTableRecord* st = styleOf(m_style)) t.fontFile = st->fileName();
            if (draw->geometry().text(t)) return true;
        }
    }
    return false;
}

Acad::ErrorStatus AcDbMText::getGeomExtents(AcDbExtents& e) const {
    vorn::db::GiExtentsMeter sink;
    worldDraw(&sink);
    e = sink.extents();
    return e.isValid() ? Acad::eOk : Acad::eInvalidExtents;
}

Acad::ErrorStatus AcDbMText::transformBy(const AcGeMatrix3d& xform) {
    AcGePoint3d p = m_location, a = m_location;
    double r = m_rotation, h = m_height, w = 1.0;
    if (!transformText(xform, p, a, r, h, w)) return Acad::eInvalidInput;
    double width = m_width * xform.scale();
    if (!Finite(width)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_location = p, m_rotation = r, m_height = h, m_width = width;
    vorn::db::TransformKeptOf(this, "MTEXT", xform);  // its columns
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::explode(AcDbVoidPtrArray& set) const { return AcDbEntity::explode(set); }

std::wstring AcDbMText::list() const {
    return listHeader() + L"  contents: \"" + text() + L"\"\n  location: " + Pt(m_location) + L"\n  height: " +
           Num(m_height) + L"\n";
}

std::wstring AcDbMText::degeneracy() const { return m_height > 0.0 ? L"" : L"zero text height"; }

bool AcDbMText::isFiniteObject() const {
    return Finite(m_location) && Finite(m_height) && Finite(m_width) && Finite(m_rotation) &&
           AcDbEntity::isFiniteObject();
}

void AcDbMText::remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) {
    AcDbEntity::remapIds(map);
    m_style = map(m_style);
}
