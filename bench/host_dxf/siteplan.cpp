// The site plan the DXF benchmarks open and save.
#include "bench/host_dxf/siteplan.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "host/base/textcodec.h"
#include "host/db/dbkept.h"
#include "host/dxf/dxftext.h"

namespace vorn::bench {
namespace {

constexpr double kPi = 3.14159265358979323846;
const AcGePoint2d kSiteOrigin(1284365.0, 836150.0);  // mm, in the city's grid
constexpr double kParcelW = 120000.0, kParcelH = 90000.0, kRoad = 24000.0;
constexpr int kParcelsPerRow = 60;

// Model-space entities are added until the count is reached; each adder says whether it did.
class Plan {
public:
    Plan(AcDbDatabase& db, int target) : m_db(db), m_target(target) {
        acdbOpenObject(m_ms, db.modelSpaceId(), AcDb::kForWrite);
    }
    ~Plan() { m_ms->close(); }
    bool full() const { return m_count >= m_target; }
    int count() const { return m_count; }

    // A point of the site (millimetres from its corner) in the drawing's coordinates, on the
    // whole millimetres a designer snaps to.
    AcGePoint3d at(double x, double y) const {
        return AcGePoint3d(kSiteOrigin.x + std::round(x), kSiteOrigin.y + std::round(y), 0.0);
    }
    // The same where the geometry is computed (curves through surveyed levels): every digit.
    AcGePoint3d exact(double x, double y) const { return AcGePoint3d(kSiteOrigin.x + x, kSiteOrigin.y + y, 0.0); }
    AcGePoint2d at2(double x, double y) const {
        const AcGePoint3d p = at(x, y);
        return AcGePoint2d(p.x, p.y);
    }

    void add(AcDbEntity* e, const AcDbObjectId& layer) {
        if (full()) {
            delete e;
            return;
        }
        e->setLayer(layer);
        AcDbObjectId id;
        m_ms->appendAcDbEntity(id, e);
        e->close();
        ++m_count;
    }

private:
    AcDbDatabase& m_db;
    int m_target;
    int m_count = 0;
    AcDbBlockTableRecord* m_ms = nullptr;
};

std::string Real(double v) {
    std::string s;
    vorn::dxf::AppendReal(s, v);
    return s;
}

// Groups of a kept entity, built as a drawing program writes them.
class Groups {
public:
    explicit Groups(const char* subclass) {
        add(100, "AcDbEntity");
        add(100, subclass);
    }
    Groups& add(int code, std::string value) {
        m_data->groups.push_back({code, std::move(value)});
        return *this;
    }
    Groups& real(int code, double v) { return add(code, Real(v)); }
    Groups& integer(int code, long long v) { return add(code, std::to_string(v)); }
    Groups& point(int code, const AcGePoint3d& p) { return real(code, p.x).real(code + 10, p.y).real(code + 20, p.z); }
    Groups& point2(int code, const AcGePoint3d& p) { return real(code, p.x).real(code + 10, p.y); }
    AcDbKeptEntity* entity(const char* type) {
        auto* e = new AcDbKeptEntity(type);
        e->setKeptData(m_data);
        return e;
    }

private:
    std::shared_ptr<AcDbKeptData> m_data = std::make_shared<AcDbKeptData>();
};

AcDbObjectId Layer(AcDbDatabase& db, const wchar_t* name, std::uint16_t colour, const wchar_t* linetype = nullptr) {
    AcDbObjectId id;
    db.ensureLayer(name, id);
    AcDbLayerTableRecord* rec = nullptr;
    if (acdbOpenObject(rec, id, AcDb::kForWrite) == Acad::eOk) {
        rec->setColor(AcCmColor::fromIndex(colour));
        if (linetype) {
            AcDbObjectId lt;
            if (db.ensureLinetype(linetype, lt) == Acad::eOk) rec->setLinetypeObjectId(lt);
        }
        rec->close();
    }
    return id;
}

AcDbObjectId Block(AcDbDatabase& db, const wchar_t* name, const std::function<void(AcDbBlockTableRecord*)>& fill) {
    AcDbBlockTable* table = nullptr;
    db.getBlockTable(table, AcDb::kForWrite);
    auto* block = new AcDbBlockTableRecord();
    block->setName(name);
    AcDbObjectId id;
    table->add(id, block);
    table->close();
    fill(block);
    block->close();
    return id;
}

void Put(AcDbBlockTableRecord* block, AcDbEntity* e) {
    AcDbObjectId id;
    block->appendAcDbEntity(id, e);
    e->close();
}

struct Layers {
    AcDbObjectId parcel, building, buildingFill, greenFill, tree, shrub, kerb, centre, lamp, manhole, parking,
        number, storeys, level, note, dimension, contour, survey;
};

// One parcel of the street grid at column i, row j: 59 entities.
void Parcel(Plan& plan, const Layers& L, const AcDbObjectId blocks[3], int i, int j, unsigned& seed) {
    const auto rnd = [&seed]() {  // a fixed sequence, so that every run builds the same drawing
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1u << 24);
    };
    const double x0 = i * (kParcelW + kRoad), y0 = j * (kParcelH + kRoad);
    const int n = j * kParcelsPerRow + i;

    // The parcel outline: a rectangle whose corners are rounded with a 6 m radius.
    {
        const double r = 6000.0, b = std::tan(kPi / 8);  // bulge of a quarter circle
        auto* p = new AcDbPolyline();
        const double xs[] = {x0 + r, x0 + kParcelW - r, x0 + kParcelW, x0 + kParcelW, x0 + kParcelW - r, x0 + r, x0, x0};
        const double ys[] = {y0, y0, y0 + r, y0 + kParcelH - r, y0 + kParcelH, y0 + kParcelH, y0 + kParcelH - r, y0 + r};
        for (unsigned k = 0; k < 8; ++k) p->addVertexAt(k, plan.at2(xs[k], ys[k]), k % 2 == 1 ? b : 0.0);
        p->setClosed(true);
        plan.add(p, L.parcel);
    }

    // Kerb lines along the parcel's south and west sides, the road centre lines, the returns.
    const double h = kRoad / 2;
    plan.add(new AcDbLine(plan.at(x0 + 6000, y0 - 500), plan.at(x0 + kParcelW - 6000, y0 - 500)), L.kerb);
    plan.add(new AcDbLine(plan.at(x0 - 500, y0 + 6000), plan.at(x0 - 500, y0 + kParcelH - 6000)), L.kerb);
    plan.add(new AcDbLine(plan.at(x0 + 6000, y0 - kRoad + 500), plan.at(x0 + kParcelW - 6000, y0 - kRoad + 500)), L.kerb);
    plan.add(new AcDbLine(plan.at(x0 - kRoad + 500, y0 + 6000), plan.at(x0 - kRoad + 500, y0 + kParcelH - 6000)), L.kerb);
    plan.add(new AcDbLine(plan.at(x0 - h, y0 - h), plan.at(x0 + kParcelW + h, y0 - h)), L.centre);
    plan.add(new AcDbLine(plan.at(x0 - h, y0 - h), plan.at(x0 - h, y0 + kParcelH + h)), L.centre);
    for (int k = 0; k < 4; ++k) {
        const double cx = k % 2 ? x0 + kParcelW + 6000 : x0 - 6000, cy = k / 2 ? y0 + kParcelH + 6000 : y0 - 6000;
        const double start = k == 0 ? 0.0 : k == 1 ? 0.5 * kPi : k == 2 ? 1.5 * kPi : kPi;
        plan.add(new AcDbArc(plan.at(cx, cy), 5500.0, start, start + 0.5 * kPi), L.kerb);
    }

    // Four buildings: outline, number and storeys; three with a fill, two with a dimension of
    // the long side.
    for (int k = 0; k < 4; ++k) {
        const double bx = x0 + 12000 + (k % 2) * 52000 + rnd() * 3000, by = y0 + 12000 + (k / 2) * 38000 + rnd() * 2000;
        const double w = 36000 + std::floor(rnd() * 8) * 1500, d = 16500 + std::floor(rnd() * 4) * 900;
        const bool stepped = k % 2 == 1;
        std::vector<AcGePoint3d> outline;
        if (stepped) {
            outline = {plan.at(bx, by), plan.at(bx + w, by), plan.at(bx + w, by + d), plan.at(bx + w * 0.6, by + d),
                       plan.at(bx + w * 0.6, by + d - 4200), plan.at(bx, by + d - 4200)};
        } else {
            outline = {plan.at(bx, by), plan.at(bx + w, by), plan.at(bx + w, by + d), plan.at(bx, by + d)};
        }
        auto* p = new AcDbPolyline();
        for (unsigned v = 0; v < outline.size(); ++v) p->addVertexAt(v, AcGePoint2d(outline[v].x, outline[v].y));
        p->setClosed(true);
        plan.add(p, L.building);

        if (k == 0 || k == 2) {
            // A solid fill bounded by a polyline loop.
            Groups g("AcDbHatch");
            g.point(10, AcGePoint3d()).real(210, 0).real(220, 0).real(230, 1).add(2, "SOLID").integer(70, 1).integer(71, 0);
            g.integer(91, 1).integer(92, 7).integer(72, 0).integer(73, 1).integer(93, long(outline.size()));
            for (const AcGePoint3d& v : outline) g.point2(10, v);
            g.integer(97, 0).integer(75, 1).integer(76, 1).integer(98, 1).point2(10, plan.at(bx + w / 2, by + d / 2));
            g.add(450, "0").add(451, "0").add(452, "0").add(453, "2").add(460, "0").add(461, "0").add(462, "1");
            g.integer(421, 0xD8D0C0).add(470, "LINEAR");
            plan.add(g.entity("HATCH"), L.buildingFill);
        } else if (k == 1) {
            // A patterned fill bounded by line edges.
            Groups g("AcDbHatch");
            g.point(10, AcGePoint3d()).real(210, 0).real(220, 0).real(230, 1).add(2, "ANSI31").integer(70, 0).integer(71, 0);
            g.integer(91, 1).integer(92, 1).integer(93, long(outline.size()));
            for (size_t v = 0; v < outline.size(); ++v)
                g.integer(72, 1).point2(10, outline[v]).point2(11, outline[(v + 1) % outline.size()]);
            g.integer(97, 0).integer(75, 1).integer(76, 1).real(52, 0).real(41, 1000.0).integer(77, 0).integer(78, 1);
            g.real(53, 45).real(43, 0).real(44, 0).real(45, -2245.064030267288).real(46, 2245.064030267288).integer(79, 0);
            g.real(47, 90.5).integer(98, 1).point2(10, plan.at(bx + w / 2, by + d / 2));
            plan.add(g.entity("HATCH"), L.greenFill);
        }

        wchar_t label[32];
        std::swprintf(label, 32, L"%d#楼", n * 4 + k + 1);
        auto* num = new AcDbText(plan.at(bx + w / 2 - 3000, by + d / 2), label, AcDbObjectId(), 3500.0);
        plan.add(num, L.number);
        std::swprintf(label, 32, L"%dF", 6 + int(rnd() * 27));
        plan.add(new AcDbText(plan.at(bx + w / 2 - 1500, by + d / 2 - 5000), label, AcDbObjectId(), 2500.0), L.storeys);
        if (k >= 2) continue;

        Groups g("AcDbDimension");
        g.point(10, plan.at(bx + w, by - 4000)).point(11, plan.at(bx + w / 2, by - 3400)).integer(70, 33).integer(71, 5);
        g.real(42, w).add(3, "Standard").add(100, "AcDbAlignedDimension");
        g.point(13, plan.at(bx, by)).point(14, plan.at(bx + w, by));
        plan.add(g.entity("DIMENSION"), L.dimension);
    }

    // Trees along the kerbs and in the green space, shrubs and lamps; every tenth tree carries
    // its species as an attribute.
    for (int k = 0; k < 12; ++k) {
        const int kind = k < 8 ? 0 : k < 10 ? 1 : 2;
        const double tx = x0 + 3000 + k * 9500 + rnd() * 500, ty = y0 + 2500 + (k % 3) * 1200;
        auto* ref = new AcDbBlockReference(plan.at(tx, ty), blocks[kind]);
        const double s = kind == 2 ? 1.0 : 2500 + std::floor(rnd() * 5) * 500;
        ref->setScaleFactors(AcGeScale3d(s));
        if (kind != 2) ref->setRotation(rnd() * 2 * kPi);
        if (kind == 0 && (n * 12 + k) % 10 == 0) {
            auto kept = std::make_shared<AcDbKeptData>();
            kept->groups = {{100, "AcDbEntity"}, {100, "AcDbBlockReference"}, {66, "1"}};
            AcDbKeptRecord attrib;
            attrib.type = "ATTRIB";
            const AcGePoint3d at = plan.at(tx + s, ty);
            attrib.groups = {{100, "AcDbEntity"}, {8, "绿化-乔木"},  {100, "AcDbText"},        {10, Real(at.x)},
                             {20, Real(at.y)},    {30, "0"},         {40, "1500"},             {1, "香樟 Φ120"},
                             {100, "AcDbAttribute"}, {2, "树种"},    {70, "0"}};
            AcDbKeptRecord seqend;
            seqend.type = "SEQEND";
            seqend.groups = {{100, "AcDbEntity"}, {8, "绿化-乔木"}};
            kept->following = {attrib, seqend};
            ref->setKeptData(kept);
        }
        plan.add(ref, kind == 0 ? L.tree : kind == 1 ? L.shrub : L.lamp);
    }

    // Manholes, parking stalls, spot levels and a note.
    for (int k = 0; k < 4; ++k)
        plan.add(new AcDbCircle(plan.at(x0 + 15000 + k * 28000, y0 - 6000), AcGeVector3d::kZAxis, 350.0), L.manhole);
    for (int k = 0; k < 10; ++k) {
        const double sx = x0 + 14000 + k * 2500;
        plan.add(new AcDbLine(plan.at(sx, y0 + kParcelH - 7000), plan.at(sx, y0 + kParcelH - 1500)), L.parking);
    }
    for (int k = 0; k < 2; ++k) {
        wchar_t level[48];
        std::swprintf(level, 48, L"%.2f", 45.30 + rnd() * 2.4);
        auto* t = new AcDbText(plan.at(x0 + 4000 + k * 100000, y0 + 4000), level, AcDbObjectId(), 2000.0);
        if (k == 1) t->setColorIndex(1);
        plan.add(t, L.level);
    }
    {
        auto* m = new AcDbMText();
        m->setLocation(plan.at(x0 + 60000, y0 + 84000));
        m->setTextHeight(2000.0);
        m->setWidth(40000.0);
        wchar_t note[200];
        std::swprintf(note, 200,
                      L"{\\fSimHei|b0|i0|c134;地块 %d-%d}\\P用地面积 %.1f m²，容积率 %.2f\\P绿地率不小于 35%%", i + 1,
                      j + 1, kParcelW * kParcelH / 1e6, 1.8 + rnd());
        m->setContents(note);
        plan.add(m, L.note);
    }

    // A contour through the parcel and a survey point.
    {
        Groups g("AcDbSpline");
        g.real(210, 0).real(220, 0).real(230, 1).integer(70, 8).integer(71, 3).integer(72, 11).integer(73, 7).integer(74, 0);
        g.real(42, 1e-10).real(43, 1e-10);
        for (double knot : {0.0, 0.0, 0.0, 0.0, 0.25, 0.5, 0.75, 1.0, 1.0, 1.0, 1.0}) g.real(40, knot * 97381.44262917);
        for (int k = 0; k < 7; ++k)
            g.point(10, plan.exact(x0 + k * kParcelW / 6, y0 + kParcelH * (0.3 + 0.2 * std::sin(k + j * 0.7) + rnd() * 0.05)));
        plan.add(g.entity("SPLINE"), L.contour);
    }
    {
        Groups g("AcDbPoint");
        AcGePoint3d p = plan.at(x0 + rnd() * kParcelW, y0 + rnd() * kParcelH);
        p.z = std::round(45300 + rnd() * 2000);
        g.point(10, p);
        plan.add(g.entity("POINT"), L.survey);
    }
}

}  // namespace

std::unique_ptr<AcDbDatabase> MakeSitePlan(int entities) {
    auto db = std::make_unique<AcDbDatabase>(true);
    Layers L;
    L.parcel = Layer(*db, L"规划-用地红线", 1, L"DASHDOT");
    L.building = Layer(*db, L"建筑-轮廓", 7);
    L.buildingFill = Layer(*db, L"建筑-填充", 8);
    L.greenFill = Layer(*db, L"绿化-填充", 3);
    L.tree = Layer(*db, L"绿化-乔木", 3);
    L.shrub = Layer(*db, L"绿化-灌木", 83);
    L.kerb = Layer(*db, L"道路-边线", 7);
    L.centre = Layer(*db, L"道路-中线", 1, L"CENTER");
    L.lamp = Layer(*db, L"市政-路灯", 2);
    L.manhole = Layer(*db, L"市政-检查井", 6);
    L.parking = Layer(*db, L"停车位", 4);
    L.number = Layer(*db, L"文字-楼号", 7);
    L.storeys = Layer(*db, L"文字-层数", 7);
    L.level = Layer(*db, L"标高", 2);
    L.note = Layer(*db, L"文字-说明", 7);
    L.dimension = Layer(*db, L"标注", 3);
    L.contour = Layer(*db, L"地形-等高线", 9);
    L.survey = Layer(*db, L"地形-测点", 9);

    AcDbObjectId blocks[3];
    blocks[0] = Block(*db, L"乔木", [](AcDbBlockTableRecord* b) {
        Put(b, new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1.0));
        for (int k = 0; k < 6; ++k) {
            const double a = k * kPi / 3;
            Put(b, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0.8 * std::cos(a), 0.8 * std::sin(a), 0)));
        }
    });
    blocks[1] = Block(*db, L"灌木", [](AcDbBlockTableRecord* b) {
        auto* p = new AcDbPolyline();
        for (unsigned k = 0; k < 8; ++k) {
            const double a = k * kPi / 4;
            p->addVertexAt(k, AcGePoint2d(std::cos(a), std::sin(a)), 0.4);
        }
        p->setClosed(true);
        Put(b, p);
    });
    blocks[2] = Block(*db, L"路灯", [](AcDbBlockTableRecord* b) {
        Put(b, new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 300.0));
        Put(b, new AcDbLine(AcGePoint3d(-600, 0, 0), AcGePoint3d(600, 0, 0)));
        Put(b, new AcDbLine(AcGePoint3d(0, -600, 0), AcGePoint3d(0, 600, 0)));
    });

    Plan plan(*db, entities);
    unsigned seed = 20240613u;
    for (int n = 0; !plan.full(); ++n) Parcel(plan, L, blocks, n % kParcelsPerRow, n / kParcelsPerRow, seed);
    return db;
}

AcDbExtents WindowInTheMiddle(int entities) {
    const int parcels = entities / 59 + 1, rows = parcels / kParcelsPerRow + 1;
    const double x = (kParcelsPerRow / 2) * (kParcelW + kRoad), y = (rows / 2) * (kParcelH + kRoad);
    const AcGePoint3d centre(kSiteOrigin.x + x, kSiteOrigin.y + y, 0.0);
    return AcDbExtents(centre - AcGeVector3d(4000, 4000, 0), centre + AcGeVector3d(4000, 4000, 0));
}

std::map<std::string, int> CountKinds(const AcDbDatabase& db) {
    std::map<std::string, int> counts;
    const AcDbObjectIdArray ids = db.modelSpaceIds();
    for (int i = 0; i < ids.length(); ++i) {
        const AcDbObject* o = db.peekObject(ids[i]);
        if (const auto* k = AcDbKeptEntity::cast(o)) ++counts[k->type()];
        else if (o) ++counts[vorn::ToUtf8(o->isA()->dxfName())];
    }
    return counts;
}

}  // namespace vorn::bench
