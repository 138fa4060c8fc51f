// Entity names, selection sets, filters, picks and the selection prompts.
#include "host/ed/selection.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "host/ed/aced.h"
#include "host/ed/dbaccess.h"
#include "host/ed/editorstate.h"
#include "host/ed/keywords.h"
#include "host/ed/selectgeom.h"
#include "host/ed/sysvars.h"
#include "host/ed/ucs.h"

namespace vorn::ed {
namespace {

// The second word of a selection set name: tells set names from entity names.
constexpr std::int64_t kSetTag = 0x5353;  // "SS"

// ---- filters ----

std::vector<std::wstring> SplitComma(const wchar_t* text) {
    std::vector<std::wstring> parts;
    std::wstring cur;
    for (const wchar_t* p = text ? text : L""; ; ++p) {
        if (*p == L',' || *p == L'\0') {
            cur = Trim(cur);
            if (!cur.empty()) parts.push_back(ToUpper(cur));
            cur.clear();
            if (*p == L'\0') break;
        } else {
            cur += *p;
        }
    }
    return parts;
}

bool NameMatches(const std::wstring& name, const std::vector<std::wstring>& patterns) {
    const std::wstring up = ToUpper(name);
    for (const std::wstring& p : patterns) {
        if (p == L"*" || p == up) return true;
        if (!p.empty() && p.back() == L'*' && up.compare(0, p.size() - 1, p, 0, p.size() - 1) == 0)
            return true;
    }
    return false;
}

struct Filter {
    std::vector<std::vector<std::wstring>> types;   // each condition: one of these names
    std::vector<std::vector<std::wstring>> layers;

    explicit Filter(const resbuf* rb) {
        for (; rb; rb = rb->rbnext) {
            if ((rb->restype == 0 || rb->restype == RTDXF0) && rb->resval.rstring)
                types.push_back(SplitComma(rb->resval.rstring));
            else if (rb->restype == 8 && rb->resval.rstring)
                layers.push_back(SplitComma(rb->resval.rstring));
        }
    }

    bool Admits(const AcDbEntity* e) const {
        for (const auto& t : types)
            if (!NameMatches(dbx::TypeName(e), t)) return false;
        for (const auto& l : layers)
            if (!NameMatches(e->layer(), l)) return false;
        return true;
    }
};

bool Admitted(const AcDbObjectId& id, const Filter& filter) {
    AcDbEntity* e = nullptr;
    if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) return false;
    const bool ok = filter.Admits(e);
    e->close();
    return ok;
}

// ---- selection sets ----

// The entities of one set in the order they were added, with an index of its members so that
// adding to a set of many thousands (an ALL at the prompt, a set built one entity at a time)
// stays quick.
struct IdSet {
    std::vector<AcDbObjectId> ids;
    std::set<AcDbObjectId> members;

    IdSet() = default;
    explicit IdSet(const std::vector<AcDbObjectId>& from) {
        for (const auto& id : from) add(id);
    }
    void add(const AcDbObjectId& id) {
        if (members.insert(id).second) ids.push_back(id);
    }
    bool has(const AcDbObjectId& id) const { return members.count(id) != 0; }
    bool erase(const AcDbObjectId& id) {
        if (members.erase(id) == 0) return false;
        ids.erase(std::find(ids.begin(), ids.end(), id));
        return true;
    }
};

struct Sets {
    std::map<std::int64_t, IdSet> sets;
    std::int64_t next = 1;
    std::vector<AcDbObjectId> previous;
};

Sets& S() {
    static Sets s;
    return s;
}

IdSet* FindSet(const ads_name ss) {
    if (!ss || ss[1] != kSetTag) return nullptr;
    auto it = S().sets.find(ss[0]);
    return it == S().sets.end() ? nullptr : &it->second;
}

void NewSet(IdSet set, ads_name ss) {
    const std::int64_t n = S().next++;
    S().previous = set.ids;
    S().sets[n] = std::move(set);
    ss[0] = n;
    ss[1] = kSetTag;
}

void NewSet(const std::vector<AcDbObjectId>& ids, ads_name ss) {
    NewSet(IdSet(ids), ss);
}

// ---- picks and windows (world coordinates) ----

bool Nearest(const AcGePoint3d& p, const Filter& filter, AcDbObjectId& found) {
    const double reach = PickDistance();
    const std::vector<AcDbObjectId> ids = dbx::Near(p, reach);
    double best = reach;
    bool any = false;
    for (const AcDbObjectId& id : ids) {  // database order: a later tie wins
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) continue;
        double d = 0;
        if (filter.Admits(e) && dbx::Distance(e, p, d) && d <= best) {
            best = d;
            found = id;
            any = true;
        }
        e->close();
    }
    return any;
}

enum class Area { kWindow, kCrossing, kWindowPolygon, kCrossingPolygon };

std::vector<AcDbObjectId> InArea(const std::vector<Pt2>& polygon, Area area, const Filter& filter) {
    std::vector<AcDbObjectId> out;
    if (polygon.empty()) return out;
    AcGePoint3d lo(polygon[0].x, polygon[0].y, 0), hi = lo;
    for (const Pt2& p : polygon) {
        lo.x = std::min(lo.x, p.x), lo.y = std::min(lo.y, p.y);
        hi.x = std::max(hi.x, p.x), hi.y = std::max(hi.y, p.y);
    }
    const auto inside = [&](const AcGePoint3d& a, const AcGePoint3d& b) {
        return a.x >= lo.x && a.y >= lo.y && b.x <= hi.x && b.y <= hi.y;
    };
    std::vector<Pt2> segs;
    for (const AcDbObjectId& id : dbx::InBox(lo, hi)) {
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) continue;
        bool take = false;
        if (filter.Admits(e)) {
            AcGePoint3d a, b;
            const bool hasExt = dbx::Extents(e, a, b);
            if (area == Area::kWindow) {
                take = hasExt && inside(a, b);
            } else if (area == Area::kCrossing && hasExt && inside(a, b)) {
                take = true;
            } else if (EntityOutline(e, segs)) {
                take = (area == Area::kWindowPolygon) ? SegmentsInsidePolygon(segs, polygon)
                                                      : SegmentsCrossPolygon(segs, polygon);
            }
        }
        e->close();
        if (take) out.push_back(id);
    }
    return out;
}

std::vector<Pt2> Rectangle(const double a[3], const double b[3]) {
    // The window is drawn in user coordinates; its corners go to the world.
    const double c[4][3] = {{a[0], a[1], 0}, {b[0], a[1], 0}, {b[0], b[1], 0}, {a[0], b[1], 0}};
    std::vector<Pt2> poly;
    for (const auto& u : c) {
        double w[3];
        UcsToWcsPoint(u, w);
        poly.push_back({w[0], w[1]});
    }
    return poly;
}

std::vector<AcDbObjectId> All(const Filter& filter) {
    std::vector<AcDbObjectId> out;
    for (const AcDbObjectId& id : dbx::ModelSpace())
        if (Admitted(id, filter)) out.push_back(id);
    return out;
}

bool PickAt(const double ucs[3], const Filter& filter, AcDbObjectId& id) {
    double w[3];
    UcsToWcsPoint(ucs, w);
    return Nearest(AcGePoint3d(w[0], w[1], w[2]), filter, id);
}

// The entity an answer names: an entity name from acedCommand, or the entity at a point.
// none: the answer was no pick at all.
bool EntityOfAnswer(const Event& ev, const Filter& filter, AcDbObjectId& id, double ucs[3],
                    bool& none) {
    none = false;
    if (ev.kind == EventKind::kEntityPick) {
        if (acdbGetObjectId(id, ev.ename) != Acad::eOk) return false;
        if (ev.hasPoint) {
            ucs[0] = ev.x, ucs[1] = ev.y, ucs[2] = ev.z;
        } else {
            ucs[0] = ucs[1] = ucs[2] = 0;
        }
        return Admitted(id, filter);
    }
    if (!PointFromAnswer(ev, false, ucs)) {
        none = true;
        return false;
    }
    return PickAt(ucs, filter, id);
}

// Two corners for W and C, the first given or asked.
bool AskCorners(double a[3], double b[3]) {
    if (acedGetPoint(nullptr, L"\nSpecify first corner: ", a) != RTNORM) return false;
    return acedGetCorner(a, L"\nSpecify opposite corner: ", b) == RTNORM;
}

}  // namespace

double PickDistance() { return std::max(PickBox(), 1) * PixelSize(); }

int SelectEntity(const wchar_t* promptText, const resbuf* filterList, ads_name entity,
                 ads_point point) {
    const PendingInitGet ig = TakeInitGet();
    std::wstring words;
    for (const auto& k : ig.keywords) words += k + L" ";
    const KeywordList kws = ParseKeywords(words);
    const std::wstring prompt = promptText ? promptText : L"\nSelect object: ";
    const Filter filter(filterList);
    const InputScope scope(InputKind::kEntity, prompt, nullptr, kws.local);
    ShowPrompt(prompt);
    for (;;) {
        const Event ev = NextAnswer(prompt);
        if (ev.kind == EventKind::kCancel) return RTCAN;
        if (ev.kind == EventKind::kEnter) return RTNONE;
        if (ev.kind == EventKind::kText) {
            if (auto k = MatchKeyword(kws, ev.text)) {
                State().lastInput = kws.global[*k];
                return RTKWORD;
            }
        }
        AcDbObjectId id;
        double ucs[3];
        bool none = false;
        if (EntityOfAnswer(ev, filter, id, ucs, none)) {
            acdbGetAdsName(entity, id);
            if (point)
                for (int i = 0; i < 3; ++i) point[i] = ucs[i];
            return RTNORM;
        }
        if (none && ev.kind == EventKind::kText && (ig.bits & RSG_OTHER)) {
            State().lastInput = ev.text;
            return RTKWORD;
        }
        std::wstring msg = none ? L"\"" + ev.text + L"\" is not accepted here: expected a point on an object"
                                : std::wstring(L"No object that can be selected here lies at that point; pick on one");
        if (!kws.empty()) msg += L", or " + DescribeKeywords(kws);
        Refuse(msg + L".", prompt);
    }
}

int SelectEntities(const wchar_t* promptText, const resbuf* filterList, ads_name ss,
                   const wchar_t* keywords, std::wstring* keyword) {
    TakeInitGet();
    const KeywordList own = ParseKeywords(keywords ? keywords : L"");
    const KeywordList modes = ParseKeywords(L"Window Crossing ALL");
    const std::wstring prompt = promptText ? promptText : L"\nSelect objects: ";
    const Filter filter(filterList);
    IdSet chosen;
    const auto report = [&](std::size_t found) {
        ShowPrompt(L"\n" + std::to_wstring(found) + L" found, " +
                   std::to_wstring(chosen.ids.size()) + L" total\n");
    };
    const auto add = [&](const std::vector<AcDbObjectId>& ids) {
        for (const auto& id : ids) chosen.add(id);
        report(ids.size());
    };
    InputScope scope(InputKind::kSelection, prompt, nullptr, own.local);
    scope.context().chosen = &chosen.ids;
    ShowPrompt(prompt);
    for (;;) {
        const Event ev = NextAnswer(prompt);
        if (ev.kind == EventKind::kCancel) return RTCAN;
        if (ev.kind == EventKind::kBox) {
            const double a[3] = {ev.x, ev.y, ev.z}, b[3] = {ev.x2, ev.y2, ev.z};
            add(InArea(Rectangle(a, b), ev.x2 < ev.x ? Area::kCrossing : Area::kWindow, filter));
            ShowPrompt(prompt);
            continue;
        }
        if (ev.kind == EventKind::kEnter) {
            if (chosen.ids.empty()) return RTNONE;
            NewSet(std::move(chosen), ss);
            return RTNORM;
        }
        if (ev.kind == EventKind::kSelectionSet) {
            if (const auto* set = FindSet(ev.ename)) add(set->ids);
            ShowPrompt(prompt);
            continue;
        }
        if (ev.kind == EventKind::kText) {
            if (auto k = MatchKeyword(own, ev.text)) {
                if (keyword) *keyword = own.global[*k];
                State().lastInput = own.global[*k];
                return RTKWORD;
            }
            if (auto m = MatchKeyword(modes, ev.text)) {
                if (*m == 2) {
                    add(All(filter));
                } else {
                    double a[3], b[3];
                    if (!AskCorners(a, b)) return RTCAN;
                    add(InArea(Rectangle(a, b), *m == 0 ? Area::kWindow : Area::kCrossing, filter));
                }
                ShowPrompt(prompt);
                continue;
            }
        }
        AcDbObjectId id;
        double ucs[3];
        bool none = false;
        if (EntityOfAnswer(ev, filter, id, ucs, none)) {
            add({id});
        } else if (none) {
            Refuse(L"\"" + ev.text + L"\" is not accepted here: expected a point on an object, W, C, ALL" +
                       (own.empty() ? L"" : L", " + DescribeKeywords(own)) + L" or Enter to end.",
                   L"");
        } else {
            report(0);
        }
        ShowPrompt(prompt);
    }
}

}  // namespace vorn::ed

using namespace vorn::ed;

int acdbGetAdsName(ads_name name, const AcDbObjectId& id) {
    if (!name) return Acad::eInvalidInput;
    if (id.isNull()) return Acad::eNullObjectId;
    dbx::NameOf(id, name[0], name[1]);
    return Acad::eOk;
}

int acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
    id = AcDbObjectId();
    if (!name || name[0] == 0) return Acad::eNullObjectId;
    // Only names of the open drawing are honoured: an old or forged name is refused.
    return dbx::IdOf(name[0], name[1], id) ? Acad::eOk : Acad::eInvalidInput;
}

int acedEntSel(const wchar_t* prompt, ads_name entity, ads_point point) {
    return SelectEntity(prompt, nullptr, entity, point);
}

int acedSSGet(const wchar_t* str, const void* pt1, const void* pt2, const resbuf* filterList,
              ads_name ss) {
    if (!ss) return RTREJ;
    const std::wstring mode = ToUpper(str ? str : L"");
    const Filter filter(filterList);
    std::vector<AcDbObjectId> ids;
    if (mode.empty()) {
        const int rc = SelectEntities(nullptr, filterList, ss);
        return rc == RTNONE ? RTERROR : rc;
    }
    if (mode == L"X") {
        ids = All(filter);
    } else if (mode == L"W" || mode == L"C") {
        if (!pt1 || !pt2) return RTREJ;
        ids = InArea(Rectangle(static_cast<const double*>(pt1), static_cast<const double*>(pt2)),
                     mode == L"W" ? Area::kWindow : Area::kCrossing, filter);
    } else if (mode == L"CP" || mode == L"WP") {
        std::vector<Pt2> poly;
        for (const resbuf* rb = static_cast<const resbuf*>(pt1); rb; rb = rb->rbnext) {
            if (rb->restype != RTPOINT && rb->restype != RT3DPOINT) return RTREJ;
            double w[3];
            UcsToWcsPoint(rb->resval.rpoint, w);
            poly.push_back({w[0], w[1]});
        }
        if (poly.size() < 3) return RTREJ;
        ids = InArea(poly, mode == L"CP" ? Area::kCrossingPolygon : Area::kWindowPolygon, filter);
    } else if (mode == L"L") {
        const std::vector<AcDbObjectId> all = dbx::ModelSpace();
        for (auto it = all.rbegin(); it != all.rend(); ++it)
            if (Admitted(*it, filter)) {
                ids.push_back(*it);
                break;
            }
    } else if (mode == L"P" || mode == L"I") {
        for (const auto& id : S().previous)
            if (Admitted(id, filter)) ids.push_back(id);
    } else {
        return RTREJ;
    }
    if (ids.empty()) return RTERROR;
    NewSet(ids, ss);
    return RTNORM;
}

int acedSSFree(const ads_name ss) {
    if (!FindSet(ss)) return RTERROR;
    S().sets.erase(ss[0]);
    return RTNORM;
}

int acedSSLength(const ads_name ss, std::int32_t* len) {
    const auto* set = FindSet(ss);
    if (!set || !len) return RTERROR;
    *len = static_cast<std::int32_t>(set->ids.size());
    return RTNORM;
}

int acedSSName(const ads_name ss, std::int32_t i, ads_name entity) {
    const auto* set = FindSet(ss);
    if (!set || !entity || i < 0 || static_cast<std::size_t>(i) >= set->ids.size()) return RTERROR;
    acdbGetAdsName(entity, set->ids[static_cast<std::size_t>(i)]);
    return RTNORM;
}

int acedSSAdd(const ads_name entity, const ads_name ss, ads_name result) {
    if (!result) return RTREJ;
    IdSet* set = nullptr;
    if (ss && ss[0] != 0) {
        set = FindSet(ss);
        if (!set) return RTERROR;
    }
    AcDbObjectId id;
    if (entity && acdbGetObjectId(id, entity) != Acad::eOk) return RTERROR;
    if (!set) {
        IdSet made;
        if (entity) made.add(id);
        NewSet(std::move(made), result);
        return RTNORM;
    }
    // Added to the given set itself, which is also the result.
    if (entity) set->add(id);
    result[0] = ss[0];
    result[1] = kSetTag;
    return RTNORM;
}

int acedSSDel(const ads_name entity, const ads_name ss) {
    auto* set = FindSet(ss);
    AcDbObjectId id;
    if (!set || acdbGetObjectId(id, entity) != Acad::eOk) return RTERROR;
    return set->erase(id) ? RTNORM : RTERROR;
}

int acedSSMemb(const ads_name entity, const ads_name ss) {
    const auto* set = FindSet(ss);
    AcDbObjectId id;
    if (!set || acdbGetObjectId(id, entity) != Acad::eOk) return RTERROR;
    return set->has(id) ? RTNORM : RTERROR;
}
