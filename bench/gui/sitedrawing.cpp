// The benchmark site: each plot is laid out the same way with a little noise, entities of a
// kind appended together as the commands that draw them would.
#include "bench/gui/sitedrawing.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "host/dxf/dxf.h"

namespace vorn::bench {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPlot = SitePlan::kPlot;
constexpr double kKerb = 4000;       // the road's half width: kerbs 4 m inside the plot's edge
constexpr double kCorner = 6000;     // kerb corner radius
constexpr int kRows = 5, kSpacesPerRow = 24;
constexpr double kSpaceWidth = 2400, kSpaceDepth = 5300;
constexpr double kRowsX = 10000, kRowsY = 8000, kRowPitch = 6500;

struct Random {
    std::uint64_t s;
    explicit Random(std::uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 1) {}
    double next() {  // [0, 1)
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return double(s >> 11) / double(1ull << 53);
    }
    double in(double lo, double hi) { return lo + (hi - lo) * next(); }
};

struct Layers {
    AcDbObjectId road, building, parking, text, green, lamp, contour, aux, paving;
};

AcDbObjectId Layer(AcDbDatabase& db, const wchar_t* name, int aci, bool off = false) {
    AcDbObjectId id;
    db.ensureLayer(name, id);
    AcDbLayerTableRecord* rec = nullptr;
    if (acdbOpenObject(rec, id, AcDb::kForWrite) == Acad::eOk) {
        rec->setColor(AcCmColor::fromIndex(static_cast<std::uint16_t>(aci)));
        rec->setIsOff(off);
        rec->close();
    }
    return id;
}

// A tree: its crown circle in the colour of the reference, the cross on the reference's layer.
AcDbObjectId MakeTreeBlock(AcDbDatabase& db) {
    AcDbBlockTable* table = nullptr;
    db.getBlockTable(table, AcDb::kForWrite);
    auto* block = new AcDbBlockTableRecord();
    block->setName(L"乔木");
    AcDbObjectId blockId, id;
    table->add(blockId, block);
    table->close();
    auto* crown = new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 1.0);
    crown->setColor(AcCmColor::byBlock());
    block->appendAcDbEntity(id, crown);
    crown->close();
    for (int k = 0; k < 2; ++k) {
        auto* arm = k == 0 ? new AcDbLine(AcGePoint3d(-0.7, 0, 0), AcGePoint3d(0.7, 0, 0))
                           : new AcDbLine(AcGePoint3d(0, -0.7, 0), AcGePoint3d(0, 0.7, 0));
        block->appendAcDbEntity(id, arm);
        arm->close();
    }
    block->close();
    return blockId;
}

class Plot {
public:
    Plot(AcDbBlockTableRecord* space, const Layers& layers, AcDbObjectId tree, AcDbObjectId car, int i, int j)
        : m_space(space), m_layers(layers), m_tree(tree), m_car(car), m_x(i * kPlot), m_y(j * kPlot),
          m_random(std::uint64_t(i) * 7919 + std::uint64_t(j)), m_index(i * 1000 + j) {}

    int draw() {
        roads();
        buildings();
        parking();
        trees();
        lamps();
        contours();
        construction();
        kerbArcs();
        title();
        paving(SitePlan::kPerPlot - m_count);
        return m_count;
    }

private:
    AcGePoint3d P(double x, double y) const { return {m_x + x, m_y + y, 0}; }

    void add(AcDbEntity* e, const AcDbObjectId& layer) {
        e->setLayer(layer);
        AcDbObjectId id;
        m_space->appendAcDbEntity(id, e);
        e->close();
        ++m_count;
    }

    void line(double x0, double y0, double x1, double y1, const AcDbObjectId& layer, int aci = 256) {
        auto* l = new AcDbLine(P(x0, y0), P(x1, y1));
        if (aci != 256) l->setColorIndex(static_cast<std::uint16_t>(aci));
        add(l, layer);
    }

    void text(double x, double y, const std::wstring& s, double height, double rotation = 0) {
        auto* t = new AcDbText(P(x, y), s.c_str(), AcDbObjectId(), height, rotation);
        add(t, m_layers.text);
    }

    // Kerbs along the four sides and their rounded corners.
    void roads() {
        const double a = kKerb, b = kPlot - kKerb, r = kCorner;
        line(a + r, a, b - r, a, m_layers.road);
        line(b, a + r, b, b - r, m_layers.road);
        line(b - r, b, a + r, b, m_layers.road);
        line(a, b - r, a, a + r, m_layers.road);
        const double cx[4] = {a + r, b - r, b - r, a + r}, cy[4] = {a + r, a + r, b - r, b - r};
        for (int k = 0; k < 4; ++k) {
            const double start = kPi + k * kPi / 2;
            add(new AcDbArc(P(cx[k], cy[k]), r, start, start + kPi / 2), m_layers.road);
        }
    }

    // Three houses in the upper half, each an outline of eight corners and its name.
    void buildings() {
        for (int k = 0; k < 3; ++k) {
            const double x = 9000 + k * 22000 + m_random.in(0, 2000), y = 46000 + m_random.in(0, 4000);
            const double w = m_random.in(14000, 18000), h = m_random.in(16000, 22000), n = 4000;
            auto* pl = new AcDbPolyline(8);
            const double xs[8] = {0, w, w, w - n, w - n, n, n, 0}, ys[8] = {0, 0, h, h, h - n, h - n, h, h};
            for (unsigned v = 0; v < 8; ++v) pl->addVertexAt(v, AcGePoint2d(m_x + x + xs[v], m_y + y + ys[v]));
            pl->setClosed(true);
            add(pl, m_layers.building);
        }
        for (int k = 0; k < 3; ++k)
            text(12000 + k * 22000, 54000, std::to_wstring(m_index % 100) + L"#楼 " + std::to_wstring(k + 1), 3000);
    }

    // Rows of spaces opening downwards: a side line between spaces, the back line of each, the
    // space's number and a car in every other space.
    void parking() {
        for (int row = 0; row < kRows; ++row) {
            const double y = kRowsY + row * kRowPitch;
            for (int s = 0; s <= kSpacesPerRow; ++s) {
                const double x = kRowsX + s * kSpaceWidth;
                line(x, y, x, y + kSpaceDepth, m_layers.parking);
                if (s < kSpacesPerRow) line(x, y + kSpaceDepth, x + kSpaceWidth, y + kSpaceDepth, m_layers.parking);
            }
        }
        for (int row = 0; row < kRows; ++row)
            for (int s = 0; s < kSpacesPerRow; ++s) {
                auto* t = new AcDbText(P(kRowsX + (s + 0.5) * kSpaceWidth, kRowsY + row * kRowPitch + 600),
                                       std::to_wstring(row * kSpacesPerRow + s + 1).c_str(), AcDbObjectId(), 500);
                t->setHorizontalMode(AcDb::kTextCenter);
                t->setAlignmentPoint(t->position());
                add(t, m_layers.text);
            }
        if (m_car.isNull()) return;
        for (int row = 0; row < kRows; ++row)
            for (int s = 0; s < kSpacesPerRow; s += 2) {
                auto* car = new AcDbBlockReference(
                    P(kRowsX + (s + 0.5) * kSpaceWidth, kRowsY + row * kRowPitch + kSpaceDepth / 2), m_car);
                add(car, m_layers.parking);
            }
    }

    void trees() {
        for (int k = 0; k < 180; ++k) {
            auto* ref = new AcDbBlockReference(P(m_random.in(7000, 73000), m_random.in(42000, 73000)), m_tree);
            ref->setScaleFactors(AcGeScale3d(m_random.in(2000, 3500)));
            ref->setRotation(m_random.in(0, 2 * kPi));
            if (k % 9 == 0) ref->setColorIndex(3);
            add(ref, m_layers.green);
        }
    }

    void lamps() {
        for (int k = 0; k < 40; ++k) {
            const double t = (k % 10 + 0.5) / 10.0 * (kPlot - 2 * kKerb - 2 * kCorner) + kKerb + kCorner;
            const double in = kKerb + 800;
            const AcGePoint3d c = k < 10 ? P(t, in) : k < 20 ? P(kPlot - in, t) : k < 30 ? P(t, kPlot - in) : P(in, t);
            auto* lamp = new AcDbCircle(c, AcGeVector3d(0, 0, 1), 300);
            lamp->setColorIndex(1);
            add(lamp, m_layers.lamp);
        }
    }

    void contours() {
        for (int k = 0; k < 4; ++k) {
            auto* pl = new AcDbPolyline(40);
            const double y0 = 12000 + k * 17000, phase = m_random.in(0, 2 * kPi);
            for (unsigned v = 0; v < 40; ++v) {
                const double x = kKerb + v * (kPlot - 2 * kKerb) / 39.0;
                pl->addVertexAt(v, AcGePoint2d(m_x + x, m_y + y0 + 2500 * std::sin(phase + v * 0.35)));
            }
            add(pl, m_layers.contour);
        }
    }

    // Setting-out lines left on a layer that is off.
    void construction() {
        for (int k = 0; k < 100; ++k) {
            const double x = m_random.in(5000, 75000), y = m_random.in(5000, 75000);
            line(x, y, x + m_random.in(-9000, 9000), y + m_random.in(-9000, 9000), m_layers.aux);
        }
    }

    // Small arcs of kerb stones and paving edges along the lower road.
    void kerbArcs() {
        for (int k = 0; k < 80; ++k) {
            const double r = m_random.in(500, 2000), start = m_random.in(0, 2 * kPi);
            add(new AcDbArc(P(8000 + k * 800, kKerb + 1500 + (k % 3) * 600), r, start, start + m_random.in(0.5, 3)),
                m_layers.road);
        }
    }

    void title() { text(30000, 38000, L"地块 " + std::to_wstring(m_index), 8000); }

    // Short paving marks, some in a grey of the palette, some in a colour of their own.
    void paving(int n) {
        for (int k = 0; k < n; ++k) {
            const double x = m_random.in(42000, 74000), y = m_random.in(6000, 40000), a = m_random.in(0, kPi);
            const double len = m_random.in(1000, 4000);
            auto* l = new AcDbLine(P(x, y), P(x + len * std::cos(a), y + len * std::sin(a)));
            if (k % 2 == 0) l->setColorIndex(254);
            else l->setColor(AcCmColor::fromRGB(180, 140, 90));
            add(l, m_layers.paving);
        }
    }

    AcDbBlockTableRecord* m_space;
    const Layers& m_layers;
    AcDbObjectId m_tree, m_car;
    double m_x, m_y;
    Random m_random;
    int m_index;
    int m_count = 0;
};

}  // namespace

std::unique_ptr<AcDbDatabase> MakeSiteDrawing(const SitePlan& site, AcDbObjectId* carOut) {
    auto db = std::make_unique<AcDbDatabase>(true);
    db->setUndoRecording(false);
    Layers layers;
    layers.road = Layer(*db, L"道路", 7);
    layers.building = Layer(*db, L"建筑", 30);
    layers.parking = Layer(*db, L"车位", 4);
    layers.text = Layer(*db, L"文字", 7);
    layers.green = Layer(*db, L"绿化", 82);
    layers.lamp = Layer(*db, L"照明", 2);
    layers.contour = Layer(*db, L"等高线", 8);
    layers.aux = Layer(*db, L"辅助", 1, true);
    layers.paving = Layer(*db, L"铺装", 252);
    const AcDbObjectId tree = MakeTreeBlock(*db);
    AcDbObjectId car;
    std::string error;
    if (vorn::dxf::LoadDxfAsBlock(std::string(VORN_SOURCE_DIR) + "/support/car.dxf", *db, L"car", car, error) !=
        Acad::eOk)
        car = AcDbObjectId();
    if (carOut) *carOut = car;
    AcDbBlockTableRecord* space = nullptr;
    acdbOpenObject(space, db->modelSpaceId(), AcDb::kForWrite);
    for (int j = 0; j < site.plotsY; ++j)
        for (int i = 0; i < site.plotsX; ++i) Plot(space, layers, tree, car, i, j).draw();
    space->close();
    db->setUndoRecording(true);
    db->clearUndo();
    return db;
}

AcGePoint3d DensePoint(int i, int j) {
    // The corner of a space in the middle row, where side, back and number meet.
    return {i * kPlot + kRowsX + 12 * kSpaceWidth, j * kPlot + kRowsY + 2 * kRowPitch + kSpaceDepth, 0};
}

AcGePoint3d SparsePoint(int i, int j) { return {(i + 1) * kPlot, j * kPlot + kPlot / 2, 0}; }

}  // namespace vorn::bench
