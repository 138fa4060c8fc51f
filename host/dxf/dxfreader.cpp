// Reading a drawing file's structure: sections, header, classes, tables, blocks, objects and
// the sections the host does not look into, all kept; damage mended or left out with a note.
#include "host/dxf/dxfreader.h"

#include <charconv>
#include <cmath>
#include <set>

#include "host/base/textcodec.h"

namespace vorn::dxf::detail {
namespace {

// Handles past this are no handles a program hands out; they would leave no room for new ones.
constexpr std::uint64_t kMaxHandle = std::uint64_t(1) << 60;

std::string_view TrimView(std::string_view v) {
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    return v;
}

bool Is(const Group& g, int code, std::string_view value) { return g.code == code && TrimView(g.value) == value; }

}  // namespace

Reader::Reader(std::string_view text, const std::string& file, AcDbDatabase& db, std::function<void(size_t)> consumed)
    : m_in(text, file),
      m_consumed(std::move(consumed)),
      m_db(db),
      m_file(vorn::db::FileDataOf(db)),
      m_handles(std::max<std::uint64_t>(text.size() / 2, 1 << 16)) {  // far more than records fit in the file
    m_file = vorn::db::FileData();
    m_file.binary = m_in.binary();
    // Drawings hold an object for every 150 to 250 bytes of their file.
    vorn::db::ReserveObjects(db, text.size() / 200);
}

bool HandleSet::insert(std::uint64_t h) {
    if (h >= m_bound) return m_sparse.insert(h).second;
    const size_t word = static_cast<size_t>(h / 64);
    if (word >= m_bits.size()) m_bits.resize(std::max(word + 1, 2 * m_bits.size()), 0);
    const std::uint64_t bit = std::uint64_t(1) << (h % 64);
    if (m_bits[word] & bit) return false;
    m_bits[word] |= bit;
    return true;
}

AcDbObjectId NameCache::find(std::string_view bytes) const {
    // Records in a row are often on one layer, of one block, in one style.
    if (!m_last.first.empty() && m_last.first == bytes) return m_last.second;
    auto it = m_ids.find(bytes);
    if (it == m_ids.end()) return AcDbObjectId();
    m_last = *it;
    return it->second;
}

void NameCache::add(std::string_view bytes, const AcDbObjectId& id) {
    m_spellings.emplace_back(bytes);
    m_ids.emplace(m_spellings.back(), id);
}

bool Reader::ok(Acad::ErrorStatus es, size_t line, const std::string& what) {
    if (es == Acad::eOk) return true;
    note(line, what + " (" + Acad::errorStatusText(es) + "), and was left out");
    return false;
}

void Reader::note(size_t line, const std::string& kind) {
    auto it = m_noteIndex.find(kind);
    if (it != m_noteIndex.end()) {
        ++m_notes[it->second].count;
        return;
    }
    m_noteIndex.emplace(kind, m_notes.size());
    m_notes.push_back({kind, line, 1});
}

const Group* Reader::firstBad(const Body& body) {
    for (const Group& g : body)
        if (g.bad) return &g;
    return nullptr;
}

void Reader::noteBad(const Record& r, const Group& bad, const char* what) {
    // The kind is the fault without its value, so that a thousand like it make one line.
    if (bad.code == kJunkCode) note(bad.line, Problem(bad) + "; the " + r.type + " " + what + " there was left out");
    else
        note(bad.line, A(r.type) + " " + what + " with a value that is no " +
                           (KindOfCode(bad.code) == ValueKind::kInteger ? "integer" : "finite number") +
                           " (group " + std::to_string(bad.code) + ") was left out");
}

// ---- records ----

namespace {

// A record type as files write it: upper-case letters, digits and underscores, which is its
// own decoded, upper-cased form.
bool PlainType(std::string_view v) {
    if (v.empty() || v.size() > 32) return false;
    for (char c : v)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

}  // namespace

bool Reader::nextRecord(Record& r) {
    if (m_hasPending) {
        m_hasPending = false;
        std::swap(r, m_pending);
        return true;
    }
    Group g;
    for (;;) {
        if (!m_in.next(g)) return false;
        if (g.code == kJunkCode) {
            note(g.line, Problem(g));
            continue;
        }
        if (g.code != 0) {
            note(g.line, "groups outside any record were skipped");
            continue;
        }
        break;
    }
    if (PlainType(g.value)) r.type.assign(g.value.data(), g.value.size());
    else r.type = Upper(m_in.utf8(g));  // decoded, so that writing it spells it the same way
    r.line = g.line;
    r.offset = m_in.lastStart();
    r.body.clear();
    for (;;) {
        // Read in place, at the end of the body.
        r.body.emplace_back();
        Group& b = r.body.back();
        if (!m_in.next(b)) {
            r.body.pop_back();
            return true;
        }
        if (b.code == 0) {
            m_in.pushBack(b);
            r.body.pop_back();
            return true;
        }
        if (r.body.size() > kMaxRecordGroups) {
            note(b.line, "a record of more than " + std::to_string(kMaxRecordGroups) + " groups was cut there");
            r.body.pop_back();
            continue;
        }
        if (b.code == kJunkCode) return true;  // reading goes on at the next record
    }
}

void Reader::giveBackText() {
    // Between two entities the reader holds no text but that of the record it read ahead and
    // gave back, if any, and of what follows. Given back in steps, not a page at a time.
    constexpr size_t kStep = size_t(64) << 10;
    if (!m_consumed || !m_streaming) return;
    const size_t low = m_hasPending ? m_pending.offset : m_in.nextStart();
    if (low < m_givenBack + kStep) return;
    m_givenBack = low;
    m_consumed(low);
}

bool Reader::sectionEnd(const Record& r, const char* section) {
    if (r.type == "ENDSEC") return true;
    note(r.line, std::string("the ") + section + " section has no end (group 0 \"ENDSEC\"); it was taken to end here");
    return false;
}

bool Reader::sectionRecord(Record& r, const char* section) {
    if (!nextRecord(r) || r.type == "ENDSEC") return false;
    if (r.type == "SECTION" || r.type == "EOF") {
        sectionEnd(r, section);
        pushBack(std::move(r));
        return false;
    }
    return true;
}

void Reader::read() {
    // The first group tells whether this is a drawing file at all.
    {
        Group g;
        if (!m_in.next(g)) m_in.fail(1, "the file is empty; a DXF drawing was expected");
        if (g.code == kJunkCode) {
            const std::string why = Problem(g);
            m_in.fail(g.line, why.substr(0, why.find("; lines ")));
        }
        if (!Is(g, 0, "SECTION"))
            m_in.fail(g.line, "expected group 0 \"SECTION\" at the start of a DXF drawing, found group " +
                                  std::to_string(g.code) + " " + Quote(g.value));
        m_in.pushBack(g);
    }
    Record r;
    bool sawEof = false, trash = false;
    while (nextRecord(r)) {
        if (r.type == "EOF") {
            sawEof = true;
            trash = !r.body.empty();
            break;
        }
        if (r.type != "SECTION") {
            note(r.line, A(r.type) + " record outside any section was left out");
            continue;
        }
        std::string name;
        for (const Group& g : r.body)
            if (g.code == 2) {
                name = Upper(m_in.utf8(g));
                break;
            }
        if (name == "HEADER" && m_headerSeen) {
            // The header counts once; a second one would say other things than the first.
            note(r.line, "a second HEADER section was left out");
            Record skipped;
            if (nextRecord(skipped) && skipped.type != "ENDSEC") pushBack(std::move(skipped));
        } else if (name == "HEADER") {
            m_headerSeen = true;
            header(r.body);
            Record end;
            if (nextRecord(end) && !sectionEnd(end, "HEADER")) pushBack(std::move(end));
        } else if (name == "CLASSES") {
            classes();
        } else if (name == "TABLES") {
            tables();
        } else if (name == "BLOCKS") {
            blocks();
        } else if (name == "ENTITIES") {
            entitiesSection();
        } else if (name == "OBJECTS") {
            objects();
        } else if (name.empty()) {
            // A section without a name means nothing to any reader: it goes, up to its end.
            note(r.line, "a section without a name (group 2) was left out");
            Record skipped;
            while (nextRecord(skipped)) {
                if (skipped.type == "ENDSEC") break;
                if (skipped.type == "SECTION" || skipped.type == "EOF") {
                    pushBack(std::move(skipped));
                    break;
                }
            }
        } else {
            otherSection(name);
        }
    }
    if (!sawEof) note(m_in.lastLine(), "the file ends without its end marker (group 0 \"EOF\"); what was read is kept");
    else if (trash || !m_in.restIsBlank()) note(r.line + 1, "what follows the end marker (EOF) was ignored");
    finish();
    for (const Note& n : m_notes)
        m_noteLines.push_back(m_in.file() + ":" + std::to_string(n.line) + ": " + n.kind +
                              (n.count > 1 ? " (" + std::to_string(n.count) + " times; the first here)" : ""));
    m_file.notes = m_noteLines;
}

void Reader::otherSection(const std::string& name) {
    std::vector<AcDbKeptRecord> records;
    Record r;
    while (sectionRecord(r, name.c_str())) {
        if (const Group* bad = firstBad(r.body)) {
            noteBad(r, *bad, "record");
            continue;
        }
        records.push_back(keepWhole(r));
    }
    m_file.sections.emplace_back(name, std::move(records));
}

// ---- kept data ----

AcDbKeptGroup Reader::keep(const Group& g) const {
    AcDbKeptGroup k;
    k.code = g.code;
    switch (KindOfCode(g.code)) {
        case ValueKind::kReal: k.value = RealText(g.value, g.real); return k;
        case ValueKind::kInteger: k.value = std::to_string(g.integer); return k;
        default: k.value = m_in.utf8(g); break;
    }
    // New handles go past every handle the file names anywhere, so that none names two things.
    if (vorn::db::IsHandleCode(g.code)) {
        std::uint64_t h = 0;
        std::string_view v = TrimView(g.value);
        auto res = std::from_chars(v.data(), v.data() + v.size(), h, 16);
        if (res.ec == std::errc() && res.ptr == v.data() + v.size() && h < kMaxHandle) m_maxHandle = std::max(m_maxHandle, h);
    }
    return k;
}

AcDbKeptRecord Reader::keepWhole(const Record& r) {
    AcDbKeptRecord k;
    k.type = r.type;
    k.groups.reserve(r.body.size());
    for (const Group& g : r.body) {
        k.groups.push_back(keep(g));
        // Handles of records kept whole are checked at the end, when every object has its own.
        if ((g.code == 5 || g.code == 105) && k.groups.size() <= 3) {
            std::uint64_t h = 0;
            std::string_view v = TrimView(g.value);
            auto res = std::from_chars(v.data(), v.data() + v.size(), h, 16);
            if (res.ec == std::errc() && res.ptr == v.data() + v.size() && h < kMaxHandle)
                m_maxHandle = std::max(m_maxHandle, h);
        }
    }
    return k;
}

std::shared_ptr<AcDbKeptData> Reader::keepRest(const Body& body, RecordKind part, const std::vector<Place>& places,
                                               const std::vector<bool>* taken) const {
    auto kept = std::make_shared<AcDbKeptData>();
    keepRest(body, part, places, kept->groups, taken);
    return kept;
}

namespace {

// Whether keepRest would keep nothing of a record but the given subclass markers, in order:
// found without making any string, as most records of the host's kinds are.
bool OnlyMarkers(const std::vector<Group>& body, RecordKind part, const std::vector<Place>& places,
                 const std::vector<bool>* taken, const std::vector<const char*>& markers) {
    const int bits = HostFlagBits(part);
    size_t m = 0;
    for (size_t i = 0; i < body.size(); ++i) {
        const Group& g = body[i];
        switch (places[i]) {
            case Place::kHandle:
            case Place::kOwner:
            case Place::kXData: continue;
            case Place::kMarker:
                // The bytes as they stand: a marker spelled through escapes is left to the full way.
                if (m >= markers.size() || g.value != std::string_view(markers[m])) return false;
                ++m;
                continue;
            case Place::kBrace:
            case Place::kEmbedded: return false;
            default: break;
        }
        if (taken && (*taken)[i]) continue;
        if (!HostSets(part, g.code, places[i] != Place::kOwn)) return false;
        if (g.code == 70 && bits >= 0 && (g.integer & ~static_cast<long long>(bits)) != 0) return false;
    }
    return m == markers.size();
}

}  // namespace

void Reader::keepRest(const Body& body, RecordKind part, const std::vector<Place>& places, AcDbKeptGroups& out,
                      const std::vector<bool>* taken) const {
    // Nothing but the markers the writer puts anyway, for a kind it writes alike whether or
    // not it keeps anything: nothing to keep.
    const std::vector<const char*>& markers = MarkersOf(part);
    const bool alike = part == RecordKind::kLine || part == RecordKind::kCircle || part == RecordKind::kArc ||
                       part == RecordKind::kLwPolyline || part == RecordKind::kPolyline || part == RecordKind::kInsert ||
                       part == RecordKind::kVertex || part == RecordKind::kSeqEnd || part == RecordKind::kText;
    if (alike && OnlyMarkers(body, part, places, taken, markers)) return;
    const size_t start = out.size();
    const int bits = HostFlagBits(part);
    bool hostSeen = false;
    for (size_t i = 0; i < body.size(); ++i) {
        const Group& g = body[i];
        switch (places[i]) {
            case Place::kHandle:
            case Place::kOwner:
            case Place::kXData: continue;
            case Place::kMarker:
            case Place::kBrace:
            case Place::kEmbedded: out.push_back(keep(g)); continue;
            default: break;
        }
        if (taken && (*taken)[i]) continue;
        const bool common = places[i] != Place::kOwn;
        if (HostSets(part, g.code, common)) {
            // In a record without markers, kept groups before the host's own go before them.
            if (!hostSeen && places[i] == Place::kFlat && out.size() > start) out.push_back({-1, ""});
            hostSeen = true;
            if (g.code == 70 && bits >= 0 && (g.integer & ~static_cast<long long>(bits)) != 0)
                out.push_back({-70, std::to_string(g.integer & ~static_cast<long long>(bits))});
            continue;
        }
        out.push_back(keep(g));
    }
    // The same found the full way (markers spelled through escapes).
    if (alike && out.size() - start == markers.size()) {
        bool same = true;
        for (size_t i = 0; i < markers.size() && same; ++i)
            same = out[start + i].code == 100 && out[start + i].value == markers[i];
        if (same) out.resize(start);
    }
}

std::uint64_t Reader::checkHandle(std::string_view text, size_t line) {
    std::string_view v = TrimView(text);
    std::uint64_t h = 0;
    auto res = std::from_chars(v.data(), v.data() + v.size(), h, 16);
    if (v.empty() || res.ec != std::errc() || res.ptr != v.data() + v.size() || h == 0 || h >= kMaxHandle) {
        note(line, "a record with the bad handle " + Quote(text) + " was given a new one");
        return 0;
    }
    if (!m_handles.insert(h)) {
        note(line, "handle " + std::string(v) + " names a second record, which was given a new one");
        return 0;
    }
    m_maxHandle = std::max(m_maxHandle, h);
    vorn::db::ReserveHandles(m_db, h + 1);
    // An object that only had a handle of the database's own moves out of the way.
    const AcDbObjectId holder = vorn::db::IdOfHandle(m_db, h);
    if (!holder.isNull()) vorn::db::TakeHandle(m_db, holder, vorn::db::NewHandle(m_db));
    return h;
}

std::uint64_t Reader::handleOf(const Record& r, const std::vector<Place>& places) {
    for (size_t i = 0; i < r.body.size(); ++i)
        if (places[i] == Place::kHandle) return checkHandle(r.body[i].value, r.body[i].line);
    return 0;
}

void Reader::takeHandle(const AcDbObjectId& id, std::uint64_t handle) {
    if (handle != 0 && !id.isNull()) vorn::db::TakeHandle(m_db, id, handle);
}

AcDbKeptRecord Reader::subRecord(const Record& r, RecordKind part) {
    std::vector<Place>& places = m_memberPlaces;
    Places(r.body, places);
    AcDbKeptRecord k;
    k.type = r.type;
    k.handle = handleOf(r, places);
    if (part == RecordKind::kKept) {
        // Kept whole but for its handle and owner, which the writer gives it.
        for (size_t i = 0; i < r.body.size(); ++i)
            if (places[i] != Place::kHandle && places[i] != Place::kOwner) k.groups.push_back(keep(r.body[i]));
        return k;
    }
    // Extended data of a member record stays with its groups.
    for (size_t i = 0; i < r.body.size(); ++i)
        if (places[i] == Place::kXData) places[i] = Place::kEmbedded;
    keepRest(r.body, part, places, k.groups);
    return k;
}

// ---- header ----

void Reader::header(const Body& body) {
    // Version and code page first: they say how every string is spelled.
    std::string var, page;
    bool pageSeen = false;
    for (const Group& g : body) {
        if (g.code == 9) var = Upper(g.value);
        else if (var == "$ACADVER" && g.code == 1 && m_file.version.empty()) {
            m_version = VersionNumber(g.value);
            m_file.version = std::string(TrimView(g.value));
        } else if (var == "$DWGCODEPAGE" && g.code == 3 && !pageSeen) {
            page = std::string(TrimView(g.value));
            pageSeen = true;
        }
    }
    m_in.setCodec(m_version >= 1021, page);
    m_file.codePage = page;
    // Names met before spell other names now.
    m_layerSpellings.clear();
    m_blockSpellings.clear();
    m_styleSpellings.clear();

    AcDbDatabaseHeader h = m_db.header();
    std::set<std::string> takenVars;
    size_t i = 0;
    while (i < body.size() && body[i].code != 9) ++i;  // the section name
    while (i < body.size()) {
        const Group& name = body[i++];
        const size_t first = i;
        while (i < body.size() && body[i].code != 9) ++i;
        std::string varName = Upper(name.value);
        bool bad = false;
        AcDbKeptGroups groups;
        for (size_t k = first; k < i; ++k) {
            if (body[k].bad) {
                bad = true;
                if (body[k].code == kJunkCode) note(body[k].line, Problem(body[k]));
                else note(body[k].line, "a header variable with a value that is no number was left out");
                break;
            }
            groups.push_back(keep(body[k]));
        }
        if (bad) continue;
        // A variable the host takes counts once, as the writer writes it once: the first time.
        const bool taken = !takenVars.insert(varName).second;
        for (size_t k = first; k < i && !taken; ++k) {
            const Group& g = body[k];
            if (varName == "$INSUNITS" && g.code == 70) {
                h.drawUnit = g.integer == 6 ? AcDb::kUnitMeters : AcDb::kUnitMillimeters;
            } else if (varName == "$FILLETRAD" && g.code == 40) {
                if (g.real < 0) note(g.line, "a negative $FILLETRAD was taken as 0");
                else h.filletRadius = g.real;
            } else if (varName == "$TEXTSIZE" && g.code == 40) {
                if (g.real > 0) h.textSize = g.real;
            } else if (varName == "$CLAYER" && g.code == 8) {
                m_clayer = m_in.text(g);
                m_clayerLine = g.line;
            } else if (varName == "$TEXTSTYLE" && g.code == 7) {
                m_textstyle = m_in.text(g);
                m_textstyleLine = g.line;
            } else if (varName == "$HANDSEED" && g.code == 5) {
                std::string_view v = TrimView(g.value);
                std::uint64_t seed = 0;
                auto res = std::from_chars(v.data(), v.data() + v.size(), seed, 16);
                if (res.ec == std::errc() && res.ptr == v.data() + v.size() && seed < kMaxHandle) m_handseed = seed;
            }
        }
        m_file.header.emplace_back(m_in.utf8(Group{9, TrimView(name.value), 0, 0, name.line, false}), std::move(groups));
    }
    m_db.setHeader(h);
    m_file.drawUnitAsRead = h.drawUnit;
    m_file.textSizeAsRead = h.textSize;
    m_file.filletRadiusAsRead = h.filletRadius;
    m_file.clayerAsRead = m_clayer;
    m_file.textStyleAsRead = m_textstyle;
}

// ---- classes ----

void Reader::classes() {
    Record r;
    while (sectionRecord(r, "CLASSES")) {
        if (const Group* bad = firstBad(r.body)) {
            noteBad(r, *bad, "record");
            continue;
        }
        m_file.classes.push_back(keepWhole(r));
    }
}

// ---- objects ----

void Reader::objects() {
    m_file.hasObjects = true;
    bool& root = m_rootPending;
    Record r;
    while (sectionRecord(r, "OBJECTS")) {
        if (const Group* bad = firstBad(r.body)) {
            noteBad(r, *bad, "object");
            continue;
        }
        std::string owner;
        for (const Group& b : r.body) {
            if (b.code == 100) break;
            if (b.code == 330) {
                owner = Upper(b.value);
                break;
            }
        }
        if (r.type == "DICTIONARY" && root && (owner.empty() || owner == "0")) {
            root = false;
            for (size_t i = 0; i + 1 < r.body.size(); ++i)
                if (Is(r.body[i], 3, "VORN_DRAWING") && r.body[i + 1].code == 350)
                    m_vornRecordHandle = Upper(r.body[i + 1].value);
        } else if (r.type == "XRECORD") {
            std::string handle;
            for (const Group& b : r.body) {
                if (b.code == 5) handle = Upper(b.value);
                else if (b.code == 40 && !handle.empty()) m_xrecordScales.emplace(handle, std::make_pair(b.real, b.line));
            }
        }
        m_file.objects.push_back(keepWhole(r));
    }
}

// ---- names ----

AcDbObjectId Reader::layerOfSpelling(std::string_view bytes, size_t line) {
    AcDbObjectId id = m_layerSpellings.find(bytes);
    if (!id.isNull()) return id;
    std::wstring name = m_in.codec().decode(bytes);
    if (name.empty()) name = L"0";
    id = layerId(name, line);
    if (!id.isNull()) m_layerSpellings.add(bytes, id);
    return id;
}

AcDbObjectId Reader::blockOfSpelling(std::string_view bytes, size_t line) {
    AcDbObjectId id = m_blockSpellings.find(bytes);
    if (!id.isNull()) return id;
    id = blockId(m_in.codec().decode(bytes), line);
    if (!id.isNull()) m_blockSpellings.add(bytes, id);
    return id;
}

AcDbObjectId Reader::styleOfSpelling(std::string_view bytes, size_t line) {
    AcDbObjectId id = m_styleSpellings.find(bytes);
    if (!id.isNull()) return id;
    id = styleId(m_in.codec().decode(bytes), line);
    if (!id.isNull()) m_styleSpellings.add(bytes, id);
    return id;
}

template <typename Table, typename Record>
AcDbObjectId Reader::namedRecord(std::unordered_map<std::wstring, AcDbObjectId>& known, const std::wstring& name,
                                 size_t line, const char* what,
                                 AcDbObjectId (AcDbDatabase::*find)(const std::wstring&) const,
                                 Acad::ErrorStatus (AcDbDatabase::*open)(Table*&, AcDb::OpenMode),
                                 const std::function<void(Record&)>& prepare) {
    std::wstring key = vorn::db::FoldSymbolName(name);
    auto it = known.find(key);
    if (it != known.end()) return it->second;
    AcDbObjectId id = (m_db.*find)(name);
    if (id.isNull()) {
        Table* table = nullptr;
        if (!ok((m_db.*open)(table, AcDb::kForWrite), line, std::string("the ") + what + " table could not be opened"))
            return id;
        auto* rec = new Record();
        if (prepare) prepare(*rec);
        Acad::ErrorStatus es = vorn::db::AddRecordAsRead(table, rec, name, id);
        table->close();
        if (es != Acad::eOk) {
            delete rec;
            ok(es, line, std::string("the ") + what + " name \"" + Narrow(name) + "\" is refused");
            return AcDbObjectId();
        }
        rec->close();
    }
    known.emplace(key, id);
    return id;
}

AcDbObjectId Reader::layerId(const std::wstring& name, size_t line) {
    // A layer the file names but does not list is drawn continuous.
    return namedRecord<AcDbLayerTable, AcDbLayerTableRecord>(
        m_layers, name, line, "layer", &AcDbDatabase::findLayer, &AcDbDatabase::getLayerTable,
        [&](AcDbLayerTableRecord& rec) { rec.setLinetypeObjectId(m_db.continuousLinetype()); });
}

AcDbObjectId Reader::linetypeId(const std::wstring& name, size_t line) {
    const AcDbObjectId id = namedRecord<AcDbLinetypeTable, AcDbLinetypeTableRecord>(
        m_linetypes, name, line, "line type", &AcDbDatabase::findLinetype, &AcDbDatabase::getLinetypeTable, {});
    if (!id.isNull()) m_ltypeRefs.emplace(id.index(), line);
    return id;
}

AcDbObjectId Reader::styleId(const std::wstring& name, size_t line) {
    return namedRecord<AcDbTextStyleTable, AcDbTextStyleTableRecord>(
        m_styles, name, line, "text style", &AcDbDatabase::findTextStyle, &AcDbDatabase::getTextStyleTable, {});
}

AcDbObjectId Reader::blockId(const std::wstring& name, size_t line) {
    std::wstring key = vorn::db::FoldSymbolName(name);
    auto it = m_blocks.find(key);
    if (it != m_blocks.end()) return it->second;
    AcDbObjectId id = m_db.findBlock(name);
    if (id.isNull()) {
        AcDbBlockTable* table = nullptr;
        if (!ok(m_db.getBlockTable(table, AcDb::kForWrite), line, "the block table could not be opened")) return id;
        auto* rec = new AcDbBlockTableRecord();
        Acad::ErrorStatus es = vorn::db::AddRecordAsRead(table, rec, name, id);
        table->close();
        if (es != Acad::eOk) {
            delete rec;
            ok(es, line, "the block name \"" + Narrow(name) + "\" is refused");
            return AcDbObjectId();
        }
        rec->close();
    }
    m_blocks.emplace(key, id);
    return id;
}

// ---- the end ----

void Reader::finish() {
    for (auto& [index, rec] : m_open) rec->close();
    m_open.clear();
    for (const auto& [index, line] : m_referenced)
        if (!m_defined.count(index)) {
            const auto* b = AcDbBlockTableRecord::cast(m_db.peekObject(m_db.idFromIndex(index)));
            note(line, "block \"" + Narrow(b ? b->name() : L"?") +
                           "\" is inserted but the file never defines it; it stays empty");
        }
    for (const auto& [index, line] : m_ltypeRefs)
        if (!m_definedLinetypes.count(index)) {
            const auto* lt = AcDbLinetypeTableRecord::cast(m_db.peekObject(m_db.idFromIndex(index)));
            if (lt && !vorn::db::SameSymbolName(lt->name(), L"Continuous") && !vorn::db::SameSymbolName(lt->name(), L"ByLayer") &&
                !vorn::db::SameSymbolName(lt->name(), L"ByBlock")) {
                std::vector<double> dashes;
                std::wstring comments;
                if (!vorn::db::StandardLinetypePattern(lt->name(), dashes, comments))
                    note(line, "line type \"" + Narrow(lt->name()) +
                                   "\" is named but the file never defines it; it is drawn continuous");
            }
        }
    // A block that inserts itself, directly or through others, could never be drawn: the insert
    // that closes the cycle is left out. The search keeps its path in a vector of its own: a
    // file may chain a million blocks one into the next.
    std::map<std::uint32_t, int> state;  // 1 on the path, 2 done
    struct Step {
        std::uint32_t block;
        size_t next;  // the next of its inserts to follow
    };
    std::vector<Step> path;
    bool droppedInsert = false;
    for (const auto& entry : m_inserts) {
        if (state[entry.first] != 0) continue;
        state[entry.first] = 1;
        path.push_back({entry.first, 0});
        while (!path.empty()) {
            const std::uint32_t b = path.back().block;
            auto it = m_inserts.find(b);
            if (it == m_inserts.end() || path.back().next >= it->second.size()) {
                state[b] = 2;
                path.pop_back();
                continue;
            }
            const InsertRef ref = it->second[path.back().next++];
            if (state[ref.block] == 1) {
                const auto* rec = AcDbBlockTableRecord::cast(m_db.peekObject(m_db.idFromIndex(ref.block)));
                note(ref.line, "block \"" + Narrow(rec ? rec->name() : L"?") +
                                   "\" inserts itself; the insert that closes the cycle was left out");
                AcDbObject* o = nullptr;
                if (acdbOpenAcDbObject(o, ref.entity, AcDb::kForWrite) == Acad::eOk) {
                    o->erase();
                    o->close();
                    droppedInsert = true;
                }
                continue;
            }
            if (state[ref.block] == 0) {
                state[ref.block] = 1;
                path.push_back({ref.block, 0});
            }
        }
    }

    // Graphics blocks of framework entities are dropped once those entities are back.
    bool dropped = droppedInsert;
    for (const auto& [index, count] : m_carrierRefs) {
        if (m_plainRefs.count(index)) continue;
        AcDbObjectId block = m_db.idFromIndex(index);
        for (const AcDbObjectId& id : m_db.ownedIds(block)) {
            AcDbObject* o = nullptr;
            if (acdbOpenAcDbObject(o, id, AcDb::kForWrite) == Acad::eOk) {
                o->erase();
                o->close();
            }
        }
        AcDbObject* o = nullptr;
        if (acdbOpenAcDbObject(o, block, AcDb::kForWrite) == Acad::eOk) {
            o->erase();
            o->close();
            dropped = true;
        }
    }
    if (dropped) m_db.purgeErased();

    // New objects take handles past every handle the file used, and past its seed: so does a
    // record below that is given a new handle, which must not take one a later record holds.
    vorn::db::ReserveHandles(m_db, std::max(m_handseed, m_maxHandle + 1));
    // Records kept whole keep their handles too, unless another record took it first; an
    // object that only got a handle of the database's own moves out of their way.
    const auto claim = [&](AcDbKeptGroups& groups, size_t line) {
        for (size_t i = 0; i < groups.size() && i < 3; ++i) {
            if (groups[i].code != 5 && groups[i].code != 105) continue;
            std::uint64_t h = 0;
            const std::string& v = groups[i].value;
            auto res = std::from_chars(v.data(), v.data() + v.size(), h, 16);
            if (res.ec != std::errc() || res.ptr != v.data() + v.size() || h == 0 || h >= kMaxHandle ||
                !m_handles.insert(h)) {
                const std::uint64_t fresh = vorn::db::NewHandle(m_db);
                note(line, "a kept record with a bad or repeated handle was given a new one");
                char buf[24];
                auto r = std::to_chars(buf, buf + sizeof buf, fresh, 16);
                std::string text(buf, r.ptr);
                for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
                groups[i].value = text;
                m_handles.insert(fresh);
                return;
            }
            const AcDbObjectId holder = vorn::db::IdOfHandle(m_db, h);
            if (!holder.isNull()) vorn::db::TakeHandle(m_db, holder, vorn::db::NewHandle(m_db));
            vorn::db::ReserveHandles(m_db, h + 1);
            return;
        }
    };
    const size_t endLine = m_in.lastLine();
    for (auto& t : m_file.tables) {
        claim(t.head.groups, endLine);
        for (auto& rec : t.records) claim(rec.groups, endLine);
    }
    for (auto& obj : m_file.objects) claim(obj.groups, endLine);
    for (auto& [name, records] : m_file.sections)
        for (auto& rec : records) claim(rec.groups, endLine);

    AcDbDatabaseHeader h = m_db.header();
    if (!m_clayer.empty()) {
        AcDbObjectId layer = m_db.findLayer(m_clayer);
        if (layer.isNull()) layer = layerId(m_clayer, m_clayerLine);
        if (!layer.isNull()) h.currentLayer = layer;
    }
    if (!m_textstyle.empty()) {
        AcDbObjectId style = styleId(m_textstyle, m_textstyleLine);
        if (!style.isNull()) h.currentTextStyle = style;
    }
    auto scale = m_xrecordScales.find(m_vornRecordHandle);
    if (!m_vornRecordHandle.empty() && scale != m_xrecordScales.end()) {
        if (!IsPrintScale(scale->second.first))
            note(scale->second.second, "a print scale outside 0.01 to 100000 was taken as 1");
        else h.printScale = scale->second.first;
    }
    h.anonymousBlockSeed = std::max(h.anonymousBlockSeed, m_anonymousSeed);
    m_db.setHeader(h);
}

}  // namespace vorn::dxf::detail
