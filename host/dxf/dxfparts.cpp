// The parts of records the host writes itself.
#include "host/dxf/dxfparts.h"

#include <charconv>
#include <string_view>

namespace vorn::dxf::detail {

const std::vector<const char*>& MarkersOf(RecordKind part) {
    static const std::vector<const char*> kLine = {"AcDbEntity", "AcDbLine"};
    static const std::vector<const char*> kCircle = {"AcDbEntity", "AcDbCircle"};
    static const std::vector<const char*> kArc = {"AcDbEntity", "AcDbCircle", "AcDbArc"};
    static const std::vector<const char*> kLw = {"AcDbEntity", "AcDbPolyline"};
    static const std::vector<const char*> kPoly = {"AcDbEntity", "AcDb2dPolyline"};
    static const std::vector<const char*> kVertex = {"AcDbEntity", "AcDbVertex", "AcDb2dVertex"};
    static const std::vector<const char*> kEntity = {"AcDbEntity"};
    static const std::vector<const char*> kText = {"AcDbEntity", "AcDbText", "AcDbText"};
    static const std::vector<const char*> kMText = {"AcDbEntity", "AcDbMText"};
    static const std::vector<const char*> kInsert = {"AcDbEntity", "AcDbBlockReference"};
    static const std::vector<const char*> kBegin = {"AcDbEntity", "AcDbBlockBegin"};
    static const std::vector<const char*> kEnd = {"AcDbEntity", "AcDbBlockEnd"};
    static const std::vector<const char*> kLayer = {"AcDbSymbolTableRecord", "AcDbLayerTableRecord"};
    static const std::vector<const char*> kLtype = {"AcDbSymbolTableRecord", "AcDbLinetypeTableRecord"};
    static const std::vector<const char*> kStyle = {"AcDbSymbolTableRecord", "AcDbTextStyleTableRecord"};
    static const std::vector<const char*> kBlockRecord = {"AcDbSymbolTableRecord", "AcDbBlockTableRecord"};
    static const std::vector<const char*> kTable = {"AcDbSymbolTable"};
    switch (part) {
        case RecordKind::kLine: return kLine;
        case RecordKind::kCircle: return kCircle;
        case RecordKind::kArc: return kArc;
        case RecordKind::kLwPolyline: return kLw;
        case RecordKind::kPolyline: return kPoly;
        case RecordKind::kVertex: return kVertex;
        case RecordKind::kSeqEnd: return kEntity;
        case RecordKind::kText: return kText;
        case RecordKind::kMText: return kMText;
        case RecordKind::kInsert: return kInsert;
        case RecordKind::kKept: return kEntity;
        case RecordKind::kBlockBegin: return kBegin;
        case RecordKind::kBlockEnd: return kEnd;
        case RecordKind::kLayer: return kLayer;
        case RecordKind::kLinetype: return kLtype;
        case RecordKind::kStyle: return kStyle;
        case RecordKind::kBlockRecord: return kBlockRecord;
        case RecordKind::kTableHead: return kTable;
    }
    return kEntity;
}

namespace {
bool In(int code, std::initializer_list<int> codes) {
    for (int c : codes)
        if (c == code) return true;
    return false;
}
bool Point(int code, int x) { return code == x || code == x + 10 || code == x + 20; }

// Whether a value is `upper` once upper-cased and rid of blanks (as Upper makes it), without
// making that string.
bool IsFolded(std::string_view value, std::string_view upper) {
    size_t j = 0;
    for (char c : value) {
        if (c == ' ' || c == '\t') continue;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (j >= upper.size() || c != upper[j]) return false;
        ++j;
    }
    return j == upper.size();
}

}  // namespace

bool HostSets(RecordKind part, int code, bool common) {
    const bool entityCommon = In(code, {8, 6, 62, 420, 48, 67});
    switch (part) {
        case RecordKind::kLine: return (common && entityCommon) || Point(code, 10) || Point(code, 11);
        case RecordKind::kCircle: return (common && entityCommon) || Point(code, 10) || code == 40 || Point(code, 210);
        case RecordKind::kArc:
            return (common && entityCommon) || Point(code, 10) || code == 40 || code == 50 || code == 51 || Point(code, 210);
        case RecordKind::kLwPolyline:
            return (common && entityCommon) || In(code, {90, 70, 38, 43, 10, 20, 40, 41, 42, 91}) || Point(code, 210);
        case RecordKind::kPolyline: return (common && entityCommon) || In(code, {66, 70, 75}) || Point(code, 10) || Point(code, 210);
        case RecordKind::kVertex: return (common && In(code, {8, 67})) || In(code, {10, 20, 30, 40, 41, 42, 70});
        case RecordKind::kSeqEnd: return common && In(code, {8, 67});
        case RecordKind::kText:
            return (common && entityCommon) || In(code, {1, 7, 40, 41, 50, 51, 72, 73}) || Point(code, 10) || Point(code, 11);
        case RecordKind::kMText:
            return (common && entityCommon) || In(code, {1, 3, 7, 40, 41, 71}) || Point(code, 10) || Point(code, 11);
        case RecordKind::kInsert:
            return (common && entityCommon) || In(code, {2, 41, 42, 43, 50}) || Point(code, 10) || Point(code, 210);
        case RecordKind::kKept: return common && entityCommon;
        case RecordKind::kBlockBegin: return code == 2 || Point(code, 10);
        case RecordKind::kBlockEnd: return false;
        case RecordKind::kLayer: return In(code, {2, 62, 420, 6, 290, 70});
        case RecordKind::kLinetype: return code == 2;
        case RecordKind::kStyle: return In(code, {2, 3, 4, 40, 41, 42, 50});
        case RecordKind::kBlockRecord: return code == 2;
        case RecordKind::kTableHead: return code == 2 || code == 70;
    }
    return false;
}

int HostFlagBits(RecordKind part) {
    switch (part) {
        case RecordKind::kLwPolyline: return 1;
        case RecordKind::kPolyline: return 1 | 2 | 4;
        case RecordKind::kVertex: return 0;
        case RecordKind::kLayer: return 1 | 4;
        default: return -1;
    }
}

void Places(const std::vector<Group>& body, std::vector<Place>& out) {
    out.assign(body.size(), Place::kFlat);
    bool markers = false;
    for (const Group& g : body)
        if (g.code == 100) {
            markers = true;
            break;
        }
    bool handle = false, owner = false, brace = false, embedded = false, xdata = false, seenMarker = false;
    bool entityPart = false;
    // Where an ordinary group stands at this point of the record.
    Place plain = markers ? Place::kHead : Place::kFlat;
    for (size_t i = 0; i < body.size(); ++i) {
        const Group& g = body[i];
        const int code = g.code;
        // Most groups are none of the codes that change where the following ones stand.
        const bool special = code == 100 || code == 5 || code == 330 || code == 102 || code == 101 || code == 1001 ||
                             code == 105;
        if (!special && !brace && !embedded && !xdata) {
            out[i] = plain;
            continue;
        }
        if (xdata || code == 1001) {
            xdata = true;
            out[i] = Place::kXData;
            continue;
        }
        if (code == 102) {
            std::string_view v = g.value;
            while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
            if (!v.empty() && v.front() == '{') brace = true;
            else if (!v.empty() && v.front() == '}') {
                out[i] = Place::kBrace;
                brace = false;
                continue;
            }
        }
        if (brace && code == 100) brace = false;  // braces hold no markers: one ends those left open
        if (brace) {
            out[i] = Place::kBrace;
            continue;
        }
        if (code == 101) embedded = true;
        if (embedded) {
            out[i] = Place::kEmbedded;
            continue;
        }
        if (code == 100) {
            seenMarker = true;
            entityPart = IsFolded(g.value, "ACDBENTITY");
            plain = entityPart ? Place::kEntity : Place::kOwn;
            out[i] = Place::kMarker;
            continue;
        }
        if (!handle && !seenMarker && !owner && (code == 5 || code == 105)) {
            handle = true;
            out[i] = Place::kHandle;
            continue;
        }
        if (!owner && !seenMarker && code == 330) {
            owner = true;
            out[i] = Place::kOwner;
            continue;
        }
        out[i] = plain;
    }
}

bool KeptNote(const AcDbKeptData* kept, int code, std::string& value) {
    if (!kept) return false;
    for (const AcDbKeptGroup& g : kept->groups)
        if (g.code == -code) {
            value = g.value;
            return true;
        }
    return false;
}

double KeptDegrees(const AcDbKeptData* kept, int code, double radians) {
    constexpr double kDegToRad = 0.017453292519943295, kRadToDeg = 57.29577951308232;
    std::string text;
    double degrees = 0.0;
    if (KeptNote(kept, code, text)) {
        auto r = std::from_chars(text.data(), text.data() + text.size(), degrees);
        if (r.ec == std::errc() && degrees * kDegToRad == radians) return degrees;
    }
    return radians * kRadToDeg;
}

long long KeptBits(const AcDbKeptData* kept, int code) {
    if (!kept) return 0;
    for (const AcDbKeptGroup& g : kept->groups)
        if (g.code == -code) {
            long long v = 0;
            std::from_chars(g.value.data(), g.value.data() + g.value.size(), v);
            return v;
        }
    return 0;
}

bool KeptHas(const AcDbKeptData* kept, int code) {
    if (!kept) return false;
    bool brace = false;
    for (const AcDbKeptGroup& g : kept->groups) {
        if (g.code == 102) brace = !g.value.empty() && g.value[0] == '{';
        else if (!brace && g.code == code) return true;
    }
    return false;
}

}  // namespace vorn::dxf::detail
