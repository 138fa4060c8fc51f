// Writing a drawing: header, classes, tables, blocks, entities, objects and the other sections,
// with handles and owners; what the file held is written back where it was.
#include "host/dxf/dxfwriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cwctype>

#include "host/base/textcodec.h"
#include "host/db/db.h"
#include "host/dxf/dxftext.h"

namespace vorn::dxf::detail {
namespace {

constexpr double kRadToDeg = 57.29577951308232;

template <class T>
const T* Peek(const AcDbDatabase& db, const AcDbObjectId& id) {
    return T::cast(db.peekObject(id));
}

bool SameApp(const std::wstring& a, const std::wstring& b) { return vorn::db::SameSymbolName(a, b); }

std::string HexText(std::uint64_t h) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, h, 16);
    std::string s(buf, r.ptr);
    for (char& c : s)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// A handle as kept text, upper-cased without leading zeros, for comparing.
std::string HandleKey(const std::string& v) {
    std::uint64_t h = 0;
    auto r = std::from_chars(v.data(), v.data() + v.size(), h, 16);
    if (r.ec != std::errc() || r.ptr != v.data() + v.size()) return std::string();
    return HexText(h);
}

// The handle a record kept whole holds among its first groups, as its key ("" when none).
std::string OwnHandle(const AcDbKeptRecord& r) {
    for (size_t i = 0; i < r.groups.size() && i < 3; ++i)
        if (r.groups[i].code == 5 || r.groups[i].code == 105) return HandleKey(r.groups[i].value);
    return std::string();
}

// Its owner: the first 330 before any subclass marker and outside braces.
std::string OwnerHandle(const AcDbKeptRecord& r) {
    bool brace = false;
    for (const AcDbKeptGroup& g : r.groups) {
        if (g.code == 100) break;
        if (g.code == 102) brace = !g.value.empty() && g.value[0] == '{';
        else if (!brace && g.code == 330) return HandleKey(g.value);
    }
    return std::string();
}

const std::vector<const char*> kNoMarkers;

}  // namespace

Writer::Writer(const AcDbDatabase& db, DxfOut& out, bool asText)
    : m_db(db), m_out(out), m_file(vorn::db::FileDataOf(db)), m_asText(asText) {
    const int version = VersionNumber(m_file.version);
    m_version = version == 0 ? 1021 : std::max(version, 1009);
    m_r12 = m_version <= 1009;
    m_out.setCodec(m_version >= 1021, m_file.codePage);
    if (m_file.binary && !m_asText) m_out.setBinary(m_r12);
}

void Writer::write() {
    prepare();
    header();
    if (!m_r12) classes();
    tables();
    blocks();
    entities();
    if (!m_r12) objects();
    otherSections();
    m_out.raw(0, "EOF");
}

// Looks at every entity once before anything is written: framework entities get their form,
// extended data applications are gathered for the APPID table, kept objects of entities no
// longer in the drawing are found, and the handle seed is bounded from above so that the
// header can carry it.
void Writer::prepare() {
    m_next = m_db.handseed();
    std::uint64_t extra = 64;  // tables, dictionaries, layouts and records the writer adds
    std::uint64_t anonymousSeed = m_db.header().anonymousBlockSeed;
    m_apps = {L"ACAD", L"VORN"};
    auto addApp = [&](const std::wstring& app) {
        for (const auto& a : m_apps)
            if (SameApp(a, app)) return;
        m_apps.push_back(app);
    };
    for (const AcDbObjectId& table : {m_db.layerTableId(), m_db.linetypeTableId(), m_db.textStyleTableId()})
        for (const AcDbObjectId& id : m_db.ownedIds(table))
            if (const AcDbObject* o = m_db.peekObject(id))
                for (const auto& x : o->allXData()) addApp(x.first);
    AcDbObjectIdArray blocks = m_db.ownedIds(m_db.blockTableId());
    extra += 3 * static_cast<std::uint64_t>(blocks.length());
    // Handles of what the drawing holds, for finding kept objects whose owner is gone.
    const bool findGone = m_file.hasObjects && !m_r12;
    std::unordered_set<std::uint64_t> live;
    for (int b = 0; b < blocks.length(); ++b) {
        const auto* rec = Peek<AcDbBlockTableRecord>(m_db, blocks.at(b));
        if (rec) anonymousSeed = std::max(anonymousSeed, AnonymousNumber(rec->name()));
        if (rec)
            for (const auto& x : rec->allXData()) addApp(x.first);
        if (rec && rec->keptData())
            for (const AcDbKeptRecord& r : rec->keptData()->following)
                if (r.handle && findGone) live.insert(r.handle);
    }
    std::vector<std::pair<std::uint32_t, const AcDbEntity*>> framework;
    for (int b = 0; b < blocks.length(); ++b) {
        const AcDbObjectIdArray& ids = m_entityIds.emplace(blocks.at(b).index(), m_db.ownedIds(blocks.at(b))).first->second;
        for (int i = 0; i < ids.length(); ++i) {
            const auto* e = Peek<AcDbEntity>(m_db, ids.at(i));
            if (!e) continue;
            for (const auto& x : e->allXData()) addApp(x.first);
            if (const AcDbKeptData* kept = e->keptData()) {
                bool seqend = kept->following.empty();
                for (const AcDbKeptRecord& r : kept->following) {
                    if (r.handle && findGone) live.insert(r.handle);
                    seqend = seqend || r.type == "SEQEND";
                }
                if (!seqend) ++extra;
            }
            if (const auto* p = AcDb2dPolyline::cast(e); p && p->isA() == AcDb2dPolyline::desc()) {
                extra += p->numVerts() + 2;
            } else if (const auto* lw = AcDbPolyline::cast(e); lw && m_r12) {
                extra += lw->numVerts() + 2;
            } else if (const auto* rg = AcDbRegion::cast(e); rg && IsHostKind(e)) {
                for (const auto& loop : rg->loops()) extra += 1 + (m_r12 ? loop.size() + 2 : 0);
            } else if (const auto* mt = AcDbMText::cast(e); mt && m_r12) {
                AcDbVoidPtrArray lines;
                if (mt->explode(lines) == Acad::eOk) extra += static_cast<std::uint64_t>(lines.length());
                for (int k = 0; k < lines.length(); ++k) delete static_cast<AcDbEntity*>(lines.at(k));
            } else if (!IsHostKind(e) && !AcDbKeptEntity::cast(e)) {
                framework.emplace_back(ids.at(i).index(), e);
            }
        }
    }
    for (const auto& [index, e] : framework) {
        FrameworkForm form;
        form.typeName = e->isA()->dxfName();
        e->writeFields(form.fields);
        AcDbVoidPtrArray parts;
        if (e->explode(parts) == Acad::eOk && parts.length() == 1) {
            auto* part = static_cast<AcDbEntity*>(parts.at(0));
            if (part->isA() == AcDbText::desc() || part->isA() == AcDbBlockReference::desc()) {
                form.carrier.reset(part);
                parts.removeAt(0);
            }
        }
        for (int k = 0; k < parts.length(); ++k) delete static_cast<AcDbEntity*>(parts.at(k));
        if (!form.carrier) {
            GraphicsBlock g;
            g.name = L"*U" + std::to_wstring(++anonymousSeed);
            vorn::db::GiCollector sink;
            vorn::db::DrawEntity(e, &sink);
            g.primitives = std::move(sink.primitives);
            extra += 3 + g.primitives.size();
            if (m_r12)
                for (const auto& p : g.primitives) extra += p.points.size() + 2;
            form.block = static_cast<int>(m_graphics.size());
            m_graphics.push_back(std::move(g));
        }
        m_framework.emplace(index, std::move(form));
    }
    extra += m_apps.size();
    m_seedBound = m_next + extra;

    // Kept objects whose owner is gone (an erased entity's extension dictionary, and what that
    // owns in turn) are left out, as are references to what is gone.
    if (findGone) {
        const auto value = [](const std::string& key) {
            std::uint64_t v = 0;
            std::from_chars(key.data(), key.data() + key.size(), v, 16);
            return v;
        };
        for (const auto& t : m_file.tables) {
            live.insert(value(OwnHandle(t.head)));
            for (const auto& r : t.records) live.insert(value(OwnHandle(r)));
        }
        for (const auto& r : m_file.objects) live.insert(value(OwnHandle(r)));
        for (const auto& [name, records] : m_file.sections)
            for (const auto& r : records) live.insert(value(OwnHandle(r)));
        live.erase(0);
        const auto alive = [&](const std::string& h) {
            const std::uint64_t v = value(h);
            if (h.empty() || h == "0" || live.count(v)) return true;
            const AcDbObjectId id = vorn::db::IdOfHandle(m_db, v);
            const AcDbObject* o = id.isNull() ? nullptr : m_db.peekObject(id);
            return o && !o->isErased();
        };
        bool changed = true;
        while (changed) {
            changed = false;
            for (const auto& r : m_file.objects) {
                const std::string own = OwnHandle(r);
                if (own.empty() || m_gone.count(own)) continue;
                const std::string owner = OwnerHandle(r);
                if (!owner.empty() && (m_gone.count(owner) || !alive(owner))) {
                    m_gone.insert(own);
                    live.erase(value(own));
                    changed = true;
                }
            }
        }
        // What is not alive at all is gone too, for the references to it.
        for (const auto& r : m_file.objects)
            for (const AcDbKeptGroup& g : r.groups)
                if (vorn::db::IsPointerCode(g.code)) {
                    const std::string h = HandleKey(g.value);
                    if (!h.empty() && !alive(h)) m_gone.insert(h);
                }
    }
}

void Writer::header() {
    const AcDbDatabaseHeader& h = m_db.header();
    m_out.raw(0, "SECTION");
    m_out.raw(2, "HEADER");
    m_out.raw(9, "$ACADVER");
    // The version as its number spells it: whatever else the file had after it goes.
    m_out.raw(1, "AC" + std::to_string(m_version));
    const auto* layer = Peek<AcDbLayerTableRecord>(m_db, h.currentLayer);
    const std::wstring clayer = layer ? layer->name() : L"0";
    const std::wstring textStyle = styleName(h.currentTextStyle);
    AcDbExtents ext = m_db.modelSpaceExtents();
    struct Var {
        const char* name;
        bool done;
    };
    Var vars[] = {{"$DWGCODEPAGE", false}, {"$INSBASE", false},  {"$EXTMIN", false},    {"$EXTMAX", false},
                  {"$TEXTSIZE", false},    {"$FILLETRAD", false}, {"$CLAYER", false},    {"$TEXTSTYLE", false},
                  {"$INSUNITS", false},    {"$MEASUREMENT", false}, {"$HANDLING", false}, {"$HANDSEED", false}};
    const auto hostVar = [&](const std::string& name, const AcDbKeptGroups* kept) {
        const auto verbatim = [&] {
            m_out.raw(9, name);
            for (const AcDbKeptGroup& g : *kept) m_out.kept(g);
        };
        if (name == "$DWGCODEPAGE") {
            m_out.raw(9, name);
            m_out.raw(3, m_out.codec().pageName());
        } else if (name == "$INSBASE" || name == "$MEASUREMENT") {
            if (kept) verbatim();
            else if (name == "$INSBASE") m_out.raw(9, name), m_out.point(10, AcGePoint3d());
            else m_out.raw(9, name), m_out.integer(70, 1);
        } else if (name == "$EXTMIN" || name == "$EXTMAX") {
            if (!ext.isValid() && kept) {
                verbatim();
            } else {
                m_out.raw(9, name);
                m_out.point(10, ext.isValid() ? (name == "$EXTMIN" ? ext.minPoint() : ext.maxPoint()) : AcGePoint3d());
            }
        } else if (name == "$TEXTSIZE") {
            if (kept && h.textSize == m_file.textSizeAsRead) verbatim();
            else m_out.raw(9, name), m_out.real(40, h.textSize);
        } else if (name == "$FILLETRAD") {
            if (kept && h.filletRadius == m_file.filletRadiusAsRead) verbatim();
            else m_out.raw(9, name), m_out.real(40, h.filletRadius);
        } else if (name == "$CLAYER") {
            if (kept && clayer == m_file.clayerAsRead) verbatim();
            else m_out.raw(9, name), m_out.str(8, clayer);
        } else if (name == "$TEXTSTYLE") {
            if (kept && textStyle == m_file.textStyleAsRead) verbatim();
            else m_out.raw(9, name), m_out.str(7, textStyle);
        } else if (name == "$INSUNITS") {
            if (kept && h.drawUnit == m_file.drawUnitAsRead) verbatim();
            else m_out.raw(9, name), m_out.integer(70, h.drawUnit == AcDb::kUnitMeters ? 6 : 4);
        } else if (name == "$HANDLING") {
            if (!m_r12) {
                if (kept) verbatim();
                return;
            }
            m_out.raw(9, name);
            m_out.integer(70, 1);
        } else if (name == "$HANDSEED") {
            m_out.raw(9, name);
            m_out.handle(5, m_seedBound);
        }
    };
    for (const auto& [name, groups] : m_file.header) {
        const std::string upper = Upper(name);
        if (upper == "$ACADVER") continue;
        bool host = false;
        for (Var& v : vars)
            if (upper == v.name) {
                if (!v.done) hostVar(v.name, &groups);
                v.done = host = true;
            }
        if (host) continue;
        m_out.utf8(9, name);
        for (const AcDbKeptGroup& g : groups) m_out.kept(g);
    }
    for (Var& v : vars)
        if (!v.done && !(std::string(v.name) == "$HANDLING" && !m_r12)) hostVar(v.name, nullptr);
    m_out.raw(0, "ENDSEC");
}

void Writer::classes() {
    m_out.raw(0, "SECTION");
    m_out.raw(2, "CLASSES");
    for (const AcDbKeptRecord& r : m_file.classes) wholeRecord(r);
    m_out.raw(0, "ENDSEC");
}

void Writer::wholeRecord(const AcDbKeptRecord& r) {
    m_out.utf8(0, r.type);
    for (const AcDbKeptGroup& g : r.groups) m_out.kept(g);
}

void Writer::memberRecord(const AcDbKeptRecord& r, std::uint64_t owner) {
    record(r.type.c_str(), nullptr, r.handle ? r.handle : newHandle(), 5, &owner, &r.groups, kNoMarkers,
           [](size_t) {});
}

void Writer::tableHead(const char* name, std::uint64_t handle, int count, const AcDbObject* table) {
    const AcDbKeptData* kept = table ? table->keptData() : nullptr;
    const std::uint64_t none = 0;
    record("TABLE", name, handle, 5, &none, kept ? &kept->groups : nullptr, MarkersOf(RecordKind::kTableHead),
           [&](size_t) { m_out.integer(70, count); });
}

void Writer::keptTable(const std::string& name, bool required) {
    const vorn::db::FileData::Table* t = nullptr;
    for (const auto& k : m_file.tables)
        if (k.name == name) t = &k;
    if (!t) {
        if (!required) return;
        if (name == "VPORT") vportTable();
        else if (name == "APPID") appidTable();
        else if (name == "DIMSTYLE") dimstyleTable();
        else {
            const std::uint64_t handle = name == "VIEW" ? (m_viewTable = newHandle()) : (m_ucsTable = newHandle());
            tableHead(name.c_str(), handle, 0, nullptr);
            m_out.raw(0, "ENDTAB");
        }
        return;
    }
    // The applications of extended data the host added join the kept ones.
    std::vector<std::wstring> addApps;
    if (name == "APPID") {
        for (const std::wstring& app : m_apps) {
            bool known = false;
            for (const AcDbKeptRecord& r : t->records)
                for (const AcDbKeptGroup& g : r.groups)
                    if (g.code == 2 && SameApp(FromUtf8(g.value), app)) known = true;
            if (!known) addApps.push_back(app);
        }
    }
    m_out.raw(0, "TABLE");
    bool named = false, counted = false;
    for (const AcDbKeptGroup& g : t->head.groups) named = named || g.code == 2;
    if (!named) m_out.utf8(2, name);
    std::uint64_t tableHandle = 0;
    for (const AcDbKeptGroup& g : t->head.groups) {
        if (g.code == 5 && !tableHandle) std::from_chars(g.value.data(), g.value.data() + g.value.size(), tableHandle, 16);
        if (g.code == 70 && !counted) {
            counted = true;
            m_out.integer(70, static_cast<long long>(t->records.size() + addApps.size()));
            continue;
        }
        m_out.kept(g);
    }
    for (const AcDbKeptRecord& r : t->records) wholeRecord(r);
    for (const std::wstring& app : addApps) {
        static const std::vector<const char*> markers = {"AcDbSymbolTableRecord", "AcDbRegAppTableRecord"};
        record("APPID", nullptr, newHandle(), 5, &tableHandle, nullptr, markers, [&](size_t k) {
            if (k == 0) return;
            m_out.str(2, app);
            m_out.integer(70, 0);
        });
    }
    m_out.raw(0, "ENDTAB");
}

void Writer::vportTable() {
    m_vportTable = newHandle();
    tableHead("VPORT", m_vportTable, 1, nullptr);
    static const std::vector<const char*> markers = {"AcDbSymbolTableRecord", "AcDbViewportTableRecord"};
    record("VPORT", nullptr, newHandle(), 5, &m_vportTable, nullptr, markers, [&](size_t k) {
        if (k == 0) return;
        m_out.raw(2, "*Active");
        m_out.integer(70, 0);
        AcDbExtents ext = m_db.modelSpaceExtents();
        AcGePoint3d lo = ext.isValid() ? ext.minPoint() : AcGePoint3d(),
                    hi = ext.isValid() ? ext.maxPoint() : AcGePoint3d(100, 100, 0);
        m_out.point2(10, 0.0, 0.0);
        m_out.point2(11, 1.0, 1.0);
        m_out.point2(12, (lo.x + hi.x) / 2, (lo.y + hi.y) / 2);
        m_out.real(40, std::max(1.0, std::max(hi.y - lo.y, (hi.x - lo.x) / 1.5) * 1.1));
        m_out.real(41, 1.5);
    });
    m_out.raw(0, "ENDTAB");
}

void Writer::appidTable() {
    m_appTable = newHandle();
    tableHead("APPID", m_appTable, static_cast<int>(m_apps.size()), nullptr);
    static const std::vector<const char*> markers = {"AcDbSymbolTableRecord", "AcDbRegAppTableRecord"};
    for (const auto& app : m_apps) {
        record("APPID", nullptr, newHandle(), 5, &m_appTable, nullptr, markers, [&](size_t k) {
            if (k == 0) return;
            m_out.str(2, app);
            m_out.integer(70, 0);
        });
    }
    m_out.raw(0, "ENDTAB");
}

void Writer::dimstyleTable() {
    m_dimTable = newHandle();
    m_out.raw(0, "TABLE");
    m_out.raw(2, "DIMSTYLE");
    m_out.handle(5, m_dimTable);
    if (!m_r12) {
        m_out.raw(330, "0");
        m_out.raw(100, "AcDbSymbolTable");
    }
    m_out.integer(70, 1);
    if (!m_r12) {
        m_out.raw(100, "AcDbDimStyleTable");
        m_out.integer(71, 0);
    }
    static const std::vector<const char*> markers = {"AcDbSymbolTableRecord", "AcDbDimStyleTableRecord"};
    record("DIMSTYLE", nullptr, newHandle(), 105, &m_dimTable, nullptr, markers, [&](size_t k) {
        if (k == 0) return;
        m_out.raw(2, "Standard");
        m_out.integer(70, 0);
    });
    m_out.raw(0, "ENDTAB");
}

void Writer::tables() {
    m_out.raw(0, "SECTION");
    m_out.raw(2, "TABLES");

    keptTable("VPORT", true);

    const std::uint64_t ltTable = m_db.linetypeTableId().handle().value();
    AcDbObjectIdArray lts = m_db.ownedIds(m_db.linetypeTableId());
    tableHead("LTYPE", ltTable, lts.length(), m_db.peekObject(m_db.linetypeTableId()));
    for (int i = 0; i < lts.length(); ++i) {
        const auto* lt = Peek<AcDbLinetypeTableRecord>(m_db, lts.at(i));
        if (!lt) continue;
        const AcDbKeptData* kept = lt->keptData();
        record("LTYPE", nullptr, lts.at(i).handle().value(), 5, &ltTable, kept ? &kept->groups : nullptr,
               MarkersOf(RecordKind::kLinetype), [&](size_t k) {
                   if (k == 0) return;
                   m_out.str(2, lt->name());
                   if (kept) return;  // the rest as the file had it
                   m_out.integer(70, 0);
                   m_out.str(3, lt->comments());
                   m_out.integer(72, 65);
                   m_out.integer(73, lt->numDashes());
                   m_out.real(40, lt->patternLength());
                   for (double d : lt->dashes()) {
                       m_out.real(49, d);
                       if (!m_r12) m_out.integer(74, 0);
                   }
               });
        xdata(lt, nullptr);
    }
    m_out.raw(0, "ENDTAB");

    const std::uint64_t layerTable = m_db.layerTableId().handle().value();
    AcDbObjectIdArray layers = m_db.ownedIds(m_db.layerTableId());
    tableHead("LAYER", layerTable, layers.length(), m_db.peekObject(m_db.layerTableId()));
    for (int i = 0; i < layers.length(); ++i) {
        const auto* l = Peek<AcDbLayerTableRecord>(m_db, layers.at(i));
        if (!l) continue;
        const AcDbKeptData* kept = l->keptData();
        record("LAYER", nullptr, layers.at(i).handle().value(), 5, &layerTable, kept ? &kept->groups : nullptr,
               MarkersOf(RecordKind::kLayer), [&](size_t k) {
                   if (k == 0) return;
                   m_out.str(2, l->name());
                   m_out.integer(70, (l->isFrozen() ? 1 : 0) | (l->isLocked() ? 4 : 0) | KeptBits(kept, 70));
                   long long aci = l->color().colorIndex();
                   if (aci < 1 || aci > 255) aci = 7;
                   if (l->color().isByColor() && KeptBits(kept, 420) == static_cast<long long>(l->color().rgb()) &&
                       KeptBits(kept, 62) > 0)
                       aci = KeptBits(kept, 62);
                   m_out.integer(62, l->isOff() ? -aci : aci);
                   if (l->color().isByColor() && !m_r12) m_out.integer(420, l->color().rgb());
                   const auto* lt = Peek<AcDbLinetypeTableRecord>(m_db, l->linetypeObjectId());
                   m_out.str(6, lt ? lt->name() : L"Continuous");
                   if (m_r12) return;
                   if (!l->isPlottable()) m_out.integer(290, 0);
                   if (!KeptHas(kept, 370)) m_out.integer(370, -3);
               });
        xdata(l, nullptr);
    }
    m_out.raw(0, "ENDTAB");

    const std::uint64_t styleTable = m_db.textStyleTableId().handle().value();
    AcDbObjectIdArray styles = m_db.ownedIds(m_db.textStyleTableId());
    int extraStyles = 0;
    for (const auto& [table, rec] : m_file.extraRecords) extraStyles += table == "STYLE";
    tableHead("STYLE", styleTable, styles.length() + extraStyles, m_db.peekObject(m_db.textStyleTableId()));
    for (int i = 0; i < styles.length(); ++i) {
        const auto* s = Peek<AcDbTextStyleTableRecord>(m_db, styles.at(i));
        if (!s) continue;
        const AcDbKeptData* kept = s->keptData();
        record("STYLE", nullptr, styles.at(i).handle().value(), 5, &styleTable, kept ? &kept->groups : nullptr,
               MarkersOf(RecordKind::kStyle), [&](size_t k) {
                   if (k == 0) return;
                   m_out.str(2, s->name());
                   m_out.real(40, s->textSize());
                   m_out.real(41, s->xScale());
                   m_out.real(50, s->obliquingAngle() * kRadToDeg);
                   m_out.real(42, s->priorSize());
                   m_out.str(3, s->fileName());
                   m_out.str(4, s->bigFontFileName());
                   // Groups the host does not read last, where a file read back keeps them.
                   if (!KeptHas(kept, 70)) m_out.integer(70, 0);
                   if (!KeptHas(kept, 71)) m_out.integer(71, 0);
               });
        xdata(s, nullptr);
    }
    for (const auto& [table, rec] : m_file.extraRecords)
        if (table == "STYLE") memberRecord(rec, styleTable);
    m_out.raw(0, "ENDTAB");

    keptTable("VIEW", true);
    keptTable("UCS", true);
    keptTable("APPID", true);
    keptTable("DIMSTYLE", true);

    if (!m_r12) {
        AcDbObjectIdArray blocks = m_db.ownedIds(m_db.blockTableId());
        const std::uint64_t blockTable = m_db.blockTableId().handle().value();
        if (!m_file.hasObjects) {
            m_modelLayout = newHandle();
            m_paperLayout = newHandle();
        }
        for (auto& g : m_graphics) g.record = newHandle();
        tableHead("BLOCK_RECORD", blockTable, blocks.length() + static_cast<int>(m_graphics.size()),
                  m_db.peekObject(m_db.blockTableId()));
        for (int i = 0; i < blocks.length(); ++i) {
            const auto* b = Peek<AcDbBlockTableRecord>(m_db, blocks.at(i));
            if (!b) continue;
            const AcDbKeptData* kept = b->keptData();
            const bool keptGroups = kept && !kept->groups.empty();
            record("BLOCK_RECORD", nullptr, blocks.at(i).handle().value(), 5, &blockTable,
                   keptGroups ? &kept->groups : nullptr, MarkersOf(RecordKind::kBlockRecord), [&](size_t k) {
                       if (k == 0) return;
                       m_out.str(2, b->name());
                       if (keptGroups) return;
                       if (blocks.at(i) == m_db.modelSpaceId() && m_modelLayout) m_out.handle(340, m_modelLayout);
                       else if (blocks.at(i) == m_db.paperSpaceId() && m_paperLayout) m_out.handle(340, m_paperLayout);
                       else m_out.raw(340, "0");
                       m_out.integer(70, 0);
                       m_out.integer(280, 1);
                       m_out.integer(281, 0);
                   });
            xdata(b, nullptr);
        }
        for (const auto& g : m_graphics) {
            record("BLOCK_RECORD", nullptr, g.record, 5, &blockTable, nullptr, MarkersOf(RecordKind::kBlockRecord),
                   [&](size_t k) {
                       if (k == 0) return;
                       m_out.str(2, g.name);
                       m_out.raw(340, "0");
                       m_out.integer(70, 0);
                       m_out.integer(280, 1);
                       m_out.integer(281, 0);
                   });
        }
        m_out.raw(0, "ENDTAB");
    }
    for (const auto& t : m_file.tables) {
        static const char* const kStandard[] = {"VPORT", "VIEW", "UCS", "APPID", "DIMSTYLE", "LTYPE", "LAYER",
                                                "STYLE", "BLOCK_RECORD"};
        bool standard = false;
        for (const char* s : kStandard) standard = standard || t.name == s;
        if (!standard) keptTable(t.name, false);
    }
    m_out.raw(0, "ENDSEC");
}

void Writer::blocks() {
    m_out.raw(0, "SECTION");
    m_out.raw(2, "BLOCKS");
    AcDbObjectIdArray blocks = m_db.ownedIds(m_db.blockTableId());
    const auto begin = [&](std::uint64_t record, bool paper, const std::wstring& name, int flags,
                           const AcGePoint3d& origin, const AcDbKeptRecord* kept) {
        const std::uint64_t handle = kept && kept->handle ? kept->handle : newHandle();
        this->record("BLOCK", nullptr, handle, 5, &record, kept ? &kept->groups : nullptr, MarkersOf(RecordKind::kBlockBegin),
                     [&](size_t k) {
                         if (k == 0) {
                             if (kept) return;  // as the file had it
                             if (paper) m_out.integer(67, 1);
                             m_out.raw(8, "0");
                             return;
                         }
                         m_out.str(2, name);
                         m_out.point(10, origin);
                         if (kept) return;
                         m_out.integer(70, flags);
                         m_out.str(3, name);
                         m_out.raw(1, "");
                     });
    };
    const auto end = [&](std::uint64_t record, bool paper, const AcDbKeptRecord* kept) {
        const std::uint64_t handle = kept && kept->handle ? kept->handle : newHandle();
        this->record("ENDBLK", nullptr, handle, 5, &record, kept ? &kept->groups : nullptr, MarkersOf(RecordKind::kBlockEnd),
                     [&](size_t k) {
                         if (k != 0 || kept) return;
                         if (paper) m_out.integer(67, 1);
                         m_out.raw(8, "0");
                     });
    };
    for (int i = 0; i < blocks.length(); ++i) {
        const auto* b = Peek<AcDbBlockTableRecord>(m_db, blocks.at(i));
        if (!b) continue;
        const std::uint64_t record = blocks.at(i).handle().value();
        const bool model = blocks.at(i) == m_db.modelSpaceId(), paper = blocks.at(i) == m_db.paperSpaceId();
        const AcDbKeptData* kept = b->keptData();
        const AcDbKeptRecord* keptBegin = kept && kept->following.size() == 2 ? &kept->following[0] : nullptr;
        const AcDbKeptRecord* keptEnd = kept && kept->following.size() == 2 ? &kept->following[1] : nullptr;
        std::wstring name = b->name();
        if (m_r12 && model) name = L"$MODEL_SPACE";
        if (m_r12 && paper) name = L"$PAPER_SPACE";
        begin(record, paper, name, b->isAnonymous() ? 1 : 0, b->origin(), keptBegin);
        if (!model && !paper) {
            // The entities of the other paper space layouts are in paper space too.
            const bool layout = b->isLayout();
            const AcDbObjectIdArray& ids = entityIds(blocks.at(i));
            for (int k = 0; k < ids.length(); ++k)
                if (const auto* e = Peek<AcDbEntity>(m_db, ids.at(k))) entity(e, record, layout);
        }
        end(record, paper, keptEnd);
    }
    for (const auto& g : m_graphics) {
        begin(g.record, false, g.name, 1, AcGePoint3d(), nullptr);
        for (const auto& p : g.primitives) primitive(p, g.record);
        end(g.record, false, nullptr);
    }
    m_out.raw(0, "ENDSEC");
}

void Writer::entities() {
    m_out.raw(0, "SECTION");
    m_out.raw(2, "ENTITIES");
    for (const AcDbObjectId& space : {m_db.modelSpaceId(), m_db.paperSpaceId()}) {
        const AcDbObjectIdArray& ids = entityIds(space);
        const bool paper = space == m_db.paperSpaceId();
        for (int k = 0; k < ids.length(); ++k)
            if (const auto* e = Peek<AcDbEntity>(m_db, ids.at(k))) entity(e, space.handle().value(), paper);
    }
    m_out.raw(0, "ENDSEC");
}

namespace {
void Dictionary(DxfOut& out, std::uint64_t handle, std::uint64_t owner) {
    out.raw(0, "DICTIONARY");
    out.handle(5, handle);
    out.handle(330, owner);
    out.raw(100, "AcDbDictionary");
    out.integer(281, 1);
}
void Layout(DxfOut& out, std::uint64_t handle, std::uint64_t owner, const char* name, int order, std::uint64_t block) {
    out.raw(0, "LAYOUT");
    out.handle(5, handle);
    out.handle(330, owner);
    out.raw(100, "AcDbPlotSettings");
    out.raw(1, "");
    out.raw(4, "");
    out.raw(6, "");
    out.integer(70, 0);
    out.raw(100, "AcDbLayout");
    out.raw(1, name);
    out.integer(70, 1);
    out.integer(71, order);
    out.point2(10, 0.0, 0.0);
    out.point2(11, 420.0, 297.0);
    out.handle(330, block);
}
void PrintScaleRecord(DxfOut& out, std::uint64_t handle, std::uint64_t owner, double scale) {
    out.raw(0, "XRECORD");
    out.handle(5, handle);
    out.handle(330, owner);
    out.raw(100, "AcDbXrecord");
    out.integer(280, 1);
    out.real(40, scale);
}
}  // namespace

void Writer::objects() {
    m_out.raw(0, "SECTION");
    m_out.raw(2, "OBJECTS");
    if (!m_file.hasObjects) {
        m_rootDict = newHandle();
        m_groupDict = newHandle();
        m_layoutDict = newHandle();
        m_vornRecord = newHandle();
        Dictionary(m_out, m_rootDict, 0);
        m_out.raw(3, "ACAD_GROUP");
        m_out.handle(350, m_groupDict);
        m_out.raw(3, "ACAD_LAYOUT");
        m_out.handle(350, m_layoutDict);
        m_out.raw(3, "VORN_DRAWING");
        m_out.handle(350, m_vornRecord);
        Dictionary(m_out, m_groupDict, m_rootDict);
        Dictionary(m_out, m_layoutDict, m_rootDict);
        m_out.raw(3, "Model");
        m_out.handle(350, m_modelLayout);
        m_out.raw(3, "Layout1");
        m_out.handle(350, m_paperLayout);
        Layout(m_out, m_modelLayout, m_layoutDict, "Model", 0, m_db.modelSpaceId().handle().value());
        Layout(m_out, m_paperLayout, m_layoutDict, "Layout1", 1, m_db.paperSpaceId().handle().value());
        PrintScaleRecord(m_out, m_vornRecord, m_rootDict, m_db.header().printScale);
        m_out.raw(0, "ENDSEC");
        return;
    }
    // The root dictionary is the first one; the print scale is its VORN_DRAWING entry.
    const AcDbKeptRecord* root = nullptr;
    std::string scaleRecord;
    for (const auto& r : m_file.objects) {
        const std::string own = OwnHandle(r), owner = OwnerHandle(r);
        if (r.type == "DICTIONARY" && !own.empty() && !m_gone.count(own) && (owner.empty() || owner == "0")) {
            root = &r;
            break;
        }
    }
    if (root)
        for (size_t i = 0; i + 1 < root->groups.size(); ++i)
            if (root->groups[i].code == 3 && root->groups[i].value == "VORN_DRAWING" && root->groups[i + 1].code == 350)
                scaleRecord = HandleKey(root->groups[i + 1].value);
    std::uint64_t rootHandle = 0;
    if (root) {
        const std::string own = OwnHandle(*root);
        std::from_chars(own.data(), own.data() + own.size(), rootHandle, 16);
    }
    // The scale record counts only where it is written: not when it went with its owner.
    bool scaleKept = false;
    for (const auto& r : m_file.objects)
        scaleKept = scaleKept || (!scaleRecord.empty() && !m_gone.count(scaleRecord) && r.type == "XRECORD" &&
                                  OwnHandle(r) == scaleRecord);
    if (!scaleKept) {
        // A new record replaces it, and the root's entry names that one; what the old entry
        // named (nothing, or an object of another kind, the root itself even) stays as it was.
        scaleRecord.clear();
        m_vornRecord = newHandle();
    }
    if (!root || rootHandle == 0) {
        // A file whose root dictionary was lost gets one, naming the print scale record.
        rootHandle = m_rootDict = newHandle();
        Dictionary(m_out, m_rootDict, 0);
        m_out.raw(3, "VORN_DRAWING");
        m_out.handle(350, m_vornRecord);
    }
    for (const auto& r : m_file.objects) {
        const std::string own = OwnHandle(r);
        if (!own.empty() && m_gone.count(own)) continue;
        if (&r == root && m_vornRecord) {
            keptObject(r, true);
            m_out.raw(3, "VORN_DRAWING");
            m_out.handle(350, m_vornRecord);
            continue;
        }
        if (!scaleRecord.empty() && own == scaleRecord && r.type == "XRECORD") {
            m_out.raw(0, "XRECORD");
            bool written = false;
            for (const AcDbKeptGroup& g : r.groups) {
                if (g.code == 40 && !written) {
                    m_out.real(40, m_db.header().printScale);
                    written = true;
                } else {
                    m_out.kept(g);
                }
            }
            if (!written) m_out.real(40, m_db.header().printScale);
            continue;
        }
        keptObject(r);
    }
    if (m_vornRecord) PrintScaleRecord(m_out, m_vornRecord, rootHandle, m_db.header().printScale);
    m_out.raw(0, "ENDSEC");
}

void Writer::keptObject(const AcDbKeptRecord& r, bool withoutScaleEntry) {
    m_out.utf8(0, r.type);
    const bool dictionary = r.type == "DICTIONARY" || r.type == "ACDBDICTIONARYWDFLT";
    const bool group = r.type == "GROUP";
    bool reactors = false;
    const auto gone = [&](const AcDbKeptGroup& g) {
        const std::string h = HandleKey(g.value);
        return !h.empty() && h != "0" && m_gone.count(h);
    };
    for (size_t i = 0; i < r.groups.size(); ++i) {
        const AcDbKeptGroup& g = r.groups[i];
        if (g.code == 102) reactors = g.value == "{ACAD_REACTORS";
        // A reactor, a dictionary entry or a group member that names what is gone goes too.
        if (reactors && g.code == 330 && gone(g)) continue;
        if (dictionary && g.code == 3 && i + 1 < r.groups.size() &&
            (r.groups[i + 1].code == 350 || r.groups[i + 1].code == 360) &&
            (gone(r.groups[i + 1]) || (withoutScaleEntry && g.value == "VORN_DRAWING"))) {
            ++i;
            continue;
        }
        if (group && g.code == 340 && gone(g)) continue;
        m_out.kept(g);
    }
}

void Writer::otherSections() {
    for (const auto& [name, records] : m_file.sections) {
        m_out.raw(0, "SECTION");
        m_out.utf8(2, name);
        for (const AcDbKeptRecord& r : records) wholeRecord(r);
        m_out.raw(0, "ENDSEC");
    }
}

void Writer::xdataItems(const std::vector<AcDbXDataItem>& items) {
    for (const auto& item : items) {
        switch (item.kind()) {
            case AcDbXDataItem::kString: m_out.str(item.code, item.str); break;
            case AcDbXDataItem::kPoint: m_out.point(item.code, item.point); break;
            case AcDbXDataItem::kReal: m_out.real(item.code, item.real); break;
            case AcDbXDataItem::kInteger: m_out.integer(item.code, item.integer); break;
        }
    }
}

// The object's own extended data, then ours. Data the object itself keeps under "VORN" gives
// way to the type marker when there is one.
void Writer::xdata(const AcDbObject* props, const std::vector<AcDbXDataItem>* vorn) {
    for (const auto& [app, items] : props->allXData()) {
        if (vorn && vorn::db::SameSymbolName(app, L"VORN")) continue;
        m_out.str(1001, app);
        xdataItems(items);
    }
    if (vorn) {
        m_out.raw(1001, "VORN");
        xdataItems(*vorn);
    }
}

const AcDbObjectIdArray& Writer::entityIds(const AcDbObjectId& block) {
    auto it = m_entityIds.find(block.index());
    if (it == m_entityIds.end()) it = m_entityIds.emplace(block.index(), m_db.ownedIds(block)).first;
    return it->second;
}

const std::string& Writer::layerName(const AcDbObjectId& layer) {
    auto it = m_layerNames.find(layer.index());
    if (it != m_layerNames.end()) return it->second;
    const auto* l = Peek<AcDbLayerTableRecord>(m_db, layer);
    std::string name = m_out.encode(l ? l->name() : std::wstring(L"0"));
    return m_layerNames.emplace(layer.index(), std::move(name)).first->second;
}

std::wstring Writer::styleName(const AcDbObjectId& style) const {
    const auto* s = Peek<AcDbTextStyleTableRecord>(m_db, style);
    return s ? s->name() : std::wstring(L"Standard");
}

std::wstring Writer::blockName(const AcDbObjectId& block) const {
    const auto* b = Peek<AcDbBlockTableRecord>(m_db, block);
    return b ? b->name() : std::wstring();
}

}  // namespace vorn::dxf::detail
