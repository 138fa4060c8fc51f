// Entities kept as their drawing file has them, as plan views show them: hatch patterns cut to
// their boundary and fills with holes, curves through the points that define them, solids in
// their corner order, dimensions through their blocks, construction lines cut to the view, the
// point style, block references' attributes, paragraph text wrapped and in columns; picking by
// what they draw; the quick box of a curve against its drawing; and records no program would
// write, which must neither hang nor crash.
#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "host/dxf/dxf.h"
#include "tests/host/db/dbtestutil.h"

using dbtest::Add;
using vorn::db::GiCollector;
using vorn::db::GiPrimitive;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Groups written as "code:value" separated by spaces ("10:0 20:0 30:0").
AcDbKeptGroups Groups(const std::string& text) {
    AcDbKeptGroups out;
    std::istringstream in(text);
    for (std::string token; in >> token;) {
        const size_t colon = token.find(':');
        out.push_back({std::stoi(token.substr(0, colon)), token.substr(colon + 1)});
    }
    return out;
}

AcDbKeptEntity* Kept(const std::string& type, const std::string& groups) {
    auto* e = new AcDbKeptEntity(type);
    auto data = std::make_shared<AcDbKeptData>();
    data->groups = Groups(groups);
    e->setKeptData(data);
    return e;
}

std::vector<GiPrimitive> Draw(const AcDbEntity& e) {
    GiCollector sink;
    e.worldDraw(&sink);
    return sink.primitives;
}

// What a kept entity of the type and groups draws.
std::vector<GiPrimitive> Draw(const std::string& type, const std::string& groups) {
    return Draw(*std::unique_ptr<AcDbKeptEntity>(Kept(type, groups)));
}

bool AllFinite(const std::vector<GiPrimitive>& prims) {
    for (const GiPrimitive& p : prims) {
        for (const AcGePoint3d& q : p.points)
            if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z)) return false;
        if (!std::isfinite(p.centre.x) || !std::isfinite(p.radius) || !std::isfinite(p.text.position.x)) return false;
    }
    return true;
}

// How many times the closed polygon winds around q (the fill rule of the pictures).
int Winding(const std::vector<AcGePoint3d>& poly, double x, double y) {
    int w = 0;
    for (size_t i = 0; i < poly.size(); ++i) {
        const AcGePoint3d& a = poly[i];
        const AcGePoint3d& b = poly[(i + 1) % poly.size()];
        const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y && b.y > y && side > 0) ++w;
        if (a.y > y && b.y <= y && side < 0) --w;
    }
    return w;
}

// A hatch record with a rectangular polyline loop for each box (x0 y0 x1 y1) and the tail.
std::string HatchOf(const std::vector<std::vector<double>>& boxes, const std::string& head, const std::string& tail) {
    std::ostringstream s;
    s << "100:AcDbHatch 10:0 20:0 30:0 210:0 220:0 230:1 " << head << " 91:" << boxes.size();
    for (size_t i = 0; i < boxes.size(); ++i) {
        const auto& b = boxes[i];
        s << " 92:" << (i == 0 ? 3 : 2) << " 72:0 73:1 93:4 10:" << b[0] << " 20:" << b[1] << " 10:" << b[2]
          << " 20:" << b[1] << " 10:" << b[2] << " 20:" << b[3] << " 10:" << b[0] << " 20:" << b[3] << " 97:0";
    }
    s << " " << tail;
    return s.str();
}

double Dist(const AcGePoint3d& a, const AcGePoint3d& b) { return std::hypot(a.x - b.x, a.y - b.y); }

}  // namespace

TEST(KeptDraw, HatchPatternLinesLieInsideTheirBoundaryAtTheirSpacing) {
    struct Case {
        const char* name;
        std::string tail;            // pattern groups after the boundary
        std::vector<double> angles;  // degrees of the families
        double spacing;              // perpendicular distance between lines of a family
    };
    const std::vector<Case> cases = {
        // As files store them: turned and scaled already.
        {"ANSI31 from the file", "75:0 76:1 52:0 41:0.5 77:0 78:1 53:45 43:0 44:0 45:-1.1225 46:1.1225 79:0 98:0",
         {45}, 1.5875},
        // Only the name: the built-in pattern, scaled by 41 and turned by 52.
        {"ANSI31 built in", "75:0 76:1 52:30 41:2 77:0 78:0 98:0", {75}, 6.35},
        {"NET built in", "75:0 76:1 52:0 41:1 77:0 78:0 98:0", {0, 90}, 3.175},
        {"ANSI37 built in", "75:0 76:1 52:0 41:1 77:0 78:0 98:0", {45, 135}, 3.175},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = std::string(c.name).substr(0, std::string(c.name).find(' '));
        const auto prims = Draw("HATCH", HatchOf({{0, 0, 40, 30}}, "2:" + name + " 70:0 71:0", c.tail));
        ASSERT_GT(prims.size(), 5u);
        std::vector<std::vector<double>> across(c.angles.size());
        for (const GiPrimitive& p : prims) {
            ASSERT_EQ(p.kind, GiPrimitive::kPolyline);
            ASSERT_EQ(p.points.size(), 2u);
            for (const AcGePoint3d& q : p.points) {
                EXPECT_GE(q.x, -1e-9);
                EXPECT_LE(q.x, 40 + 1e-9);
                EXPECT_GE(q.y, -1e-9);
                EXPECT_LE(q.y, 30 + 1e-9);
            }
            const double a = std::atan2(p.points[1].y - p.points[0].y, p.points[1].x - p.points[0].x) * 180 / kPi;
            size_t family = c.angles.size();
            for (size_t f = 0; f < c.angles.size(); ++f)
                if (std::fabs(std::remainder(a - c.angles[f], 180.0)) < 1e-6) family = f;
            ASSERT_LT(family, c.angles.size()) << "a line at " << a << " degrees";
            const double t = c.angles[family] * kPi / 180;
            across[family].push_back(-p.points[0].x * std::sin(t) + p.points[0].y * std::cos(t));
        }
        for (auto& d : across) {
            std::sort(d.begin(), d.end());
            const auto same = [](double u, double v) { return std::fabs(u - v) < 1e-6; };
            d.erase(std::unique(d.begin(), d.end(), same), d.end());
            ASSERT_GT(d.size(), 3u);
            for (size_t i = 1; i < d.size(); ++i) EXPECT_NEAR(d[i] - d[i - 1], c.spacing, 1e-3);
        }
    }
}

TEST(KeptDraw, PatternLinesEndOnACurvedBoundary) {
    // One arc edge makes a circle of radius 10 about (5, 5): every line ends on it.
    const auto prims = Draw(
        "HATCH", "100:AcDbHatch 10:0 20:0 30:0 2:ANSI31 70:0 71:0 91:1 92:1 93:1 72:2 10:5 20:5 40:10 50:0 51:360 "
                 "73:1 97:0 75:0 76:1 52:0 41:1 77:0 78:1 53:45 43:0 44:0 45:-2.245 46:2.245 79:0 98:0");
    ASSERT_GT(prims.size(), 5u);
    for (const GiPrimitive& p : prims)
        for (const AcGePoint3d& q : p.points) EXPECT_NEAR(Dist(q, {5, 5, 0}), 10.0, 0.02);

    // The upper half disc, its arc run clockwise from (-10, 0) over the top: a clockwise edge
    // stores its angles mirrored (180 to 360 here).
    const auto upper = Draw(
        "HATCH", "100:AcDbHatch 10:0 20:0 30:0 2:ANSI31 70:0 71:0 91:1 92:1 93:2 72:2 10:0 20:0 40:10 50:180 51:360 "
                 "73:0 72:1 10:10 20:0 11:-10 21:0 97:0 75:0 76:1 52:0 41:1 77:0 78:0 98:0");
    ASSERT_GT(upper.size(), 5u);
    for (const GiPrimitive& p : upper)
        for (const AcGePoint3d& q : p.points) {
            EXPECT_GE(q.y, -1e-9);
            EXPECT_LE(Dist(q, {0, 0, 0}), 10.0 + 1e-9);
        }
}

TEST(KeptDraw, FillsAndPatternsLeaveIslandsOpen) {
    // An outer square, an island in it, and an island in the island, which is filled again.
    const std::vector<std::vector<double>> boxes = {{0, 0, 30, 30}, {10, 10, 20, 20}, {13, 13, 17, 17}};
    struct Probe {
        double x, y;
        bool filled;
    };
    const std::vector<Probe> probes = {{5, 5, true}, {25, 15, true}, {11, 15, false}, {19, 15, false}, {15, 15, true}};

    std::unique_ptr<AcDbKeptEntity> solid(Kept("HATCH", HatchOf(boxes, "2:SOLID 70:1 71:0", "75:0 76:1 98:0")));
    const auto fill = Draw(*solid);
    ASSERT_EQ(fill.size(), 1u);
    ASSERT_EQ(fill[0].kind, GiPrimitive::kPolygon);
    for (const Probe& p : probes) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        // Pictures fill by the nonzero rule, picks by even-odd: both must see the same area.
        EXPECT_EQ(std::abs(Winding(fill[0].points, p.x, p.y)), p.filled ? 1 : 0);
        vorn::db::GiDistanceMeter meter({p.x, p.y, 0});
        solid->worldDraw(&meter);
        EXPECT_EQ(meter.distance() == 0.0, p.filled);
    }
    // Its outline as pictures stroke it: the three squares' sides, not the bridges joining them.
    bool closed = true;
    double length = 0;
    for (const auto& run : vorn::db::PolygonOutline(fill[0].points, closed))
        for (size_t i = 1; i < run.size(); ++i) {
            const AcGePoint3d &a = run[i - 1], &b = run[i];
            bool onSide = false;
            for (const auto& box : boxes) {
                const bool vertical = a.x == b.x && (a.x == box[0] || a.x == box[2]) &&
                                      std::min(a.y, b.y) >= box[1] && std::max(a.y, b.y) <= box[3];
                const bool level = a.y == b.y && (a.y == box[1] || a.y == box[3]) &&
                                   std::min(a.x, b.x) >= box[0] && std::max(a.x, b.x) <= box[2];
                onSide = onSide || vertical || level;
            }
            EXPECT_TRUE(onSide) << "an outline edge " << a.x << "," << a.y << " to " << b.x << "," << b.y;
            length += Dist(a, b);
        }
    EXPECT_NEAR(length, 4 * (30 + 10 + 4), 1e-9);

    const auto pattern = Draw("HATCH", HatchOf(boxes, "2:ANSI31 70:0 71:0", "75:0 76:1 52:0 41:1 77:0 78:0 98:0"));
    ASSERT_GT(pattern.size(), 10u);
    bool innermost = false;
    for (const GiPrimitive& p : pattern) {
        const double mx = (p.points[0].x + p.points[1].x) / 2, my = (p.points[0].y + p.points[1].y) / 2;
        const bool inIsland = mx > 10 && mx < 20 && my > 10 && my < 20;
        const bool inInner = mx > 13 && mx < 17 && my > 13 && my < 17;
        EXPECT_TRUE(!inIsland || inInner) << "a line through the island at " << mx << "," << my;
        innermost = innermost || inInner;
    }
    EXPECT_TRUE(innermost);
}

TEST(KeptDraw, SolidFillCoversABoundaryWithBulges) {
    // A 20 x 10 rectangle with a half disc of radius 10 on top (one bulge of 1).
    const auto prims = Draw(
        "HATCH", "100:AcDbHatch 10:0 20:0 30:0 2:SOLID 70:1 71:0 91:1 92:3 72:1 73:1 93:4 10:0 20:0 42:0 10:20 20:0 "
                 "42:0 10:20 20:10 42:1 10:0 20:10 42:0 97:0 75:0 76:1 98:0");
    ASSERT_EQ(prims.size(), 1u);
    const auto& poly = prims[0].points;
    double area = 0;
    for (size_t i = 0; i < poly.size(); ++i) {
        const AcGePoint3d &a = poly[i], &b = poly[(i + 1) % poly.size()];
        area += a.x * b.y - b.x * a.y;
    }
    EXPECT_NEAR(std::fabs(area) / 2, 200 + kPi * 50, 0.5);
    EXPECT_NE(Winding(poly, 10, 19), 0);
    EXPECT_EQ(Winding(poly, 1, 19), 0);
}

TEST(KeptDraw, SplinesFollowTheirDefinition) {
    // A clamped cubic, plain and with a heavy middle weight: ends on its end points, stays
    // inside the hull of its control points.
    std::unique_ptr<AcDbKeptEntity> plain(Kept(
        "SPLINE", "100:AcDbSpline 70:8 71:3 72:9 73:5 74:0 40:0 40:0 40:0 40:0 40:0.5 40:1 40:1 40:1 40:1 "
                  "10:0 20:0 30:0 10:10 20:20 30:0 10:20 20:-5 30:0 10:30 20:20 30:0 10:40 20:0 30:0"));
    std::unique_ptr<AcDbKeptEntity> weighted(Kept(
        "SPLINE", "100:AcDbSpline 70:12 71:3 72:9 73:5 74:0 40:0 40:0 40:0 40:0 40:0.5 40:1 40:1 40:1 40:1 "
                  "41:1 41:1 41:4 41:1 41:1 10:0 20:0 30:0 10:10 20:20 30:0 10:20 20:-5 30:0 10:30 20:20 30:0 "
                  "10:40 20:0 30:0"));
    for (const AcDbKeptEntity* e : {plain.get(), weighted.get()}) {
        const auto prims = Draw(*e);
        ASSERT_EQ(prims.size(), 1u);
        const auto& pts = prims[0].points;
        ASSERT_GT(pts.size(), 20u);
        EXPECT_LT(Dist(pts.front(), {0, 0, 0}), 1e-9);
        EXPECT_LT(Dist(pts.back(), {40, 0, 0}), 1e-9);
        // The hull of the control points is the pentagon through them; its lower edges are
        // (0,0)-(20,-5)-(40,0), its top (10,20)-(30,20).
        for (const AcGePoint3d& p : pts) {
            EXPECT_LE(p.y, 20 + 1e-9);
            const double lower = p.x <= 20 ? -p.x / 4 : -(40 - p.x) / 4;
            EXPECT_GE(p.y, lower - 1e-9);
        }
    }
    // At the middle knot the plain curve is at (20, 7.5); the weight of 4 pulls it to (20, 0).
    const auto middle = [](const std::vector<GiPrimitive>& p) {
        AcGePoint3d best(1e9, 1e9, 0);
        for (const auto& q : p[0].points)
            if (std::fabs(q.x - 20) < std::fabs(best.x - 20)) best = q;
        return best.y;
    };
    EXPECT_NEAR(middle(Draw(*plain)), 7.5, 0.05);
    EXPECT_NEAR(middle(Draw(*weighted)), 0.0, 0.05);

    // Only fit points: the curve passes through every one, with the tangents given.
    const auto through = Draw("SPLINE", "100:AcDbSpline 70:8 71:3 74:4 12:1 22:0 32:0 11:0 21:0 31:0 11:10 21:10 31:0 "
                                        "11:20 21:0 31:0 11:30 21:10 31:0");
    ASSERT_EQ(through.size(), 1u);
    for (const AcGePoint3d& f :
         {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 10, 0), AcGePoint3d(20, 0, 0), AcGePoint3d(30, 10, 0)}) {
        double best = 1e9;
        for (const auto& q : through[0].points) best = std::min(best, Dist(q, f));
        EXPECT_LT(best, 1e-9);
    }
    const auto& tp = through[0].points;
    EXPECT_NEAR(std::atan2(tp[1].y - tp[0].y, tp[1].x - tp[0].x), 0.0, 0.1);  // leaves along +X
}

TEST(KeptDraw, EllipseArcsEndAtTheirParameters) {
    struct Case {
        const char* groups;
        AcGePoint3d start, end;
    };
    const std::vector<Case> cases = {
        // Centre (50, 0), major axis (10, 0), ratio 0.5, half turn from 0.
        {"10:50 20:0 30:0 11:10 21:0 31:0 40:0.5 41:0 42:3.141592653589793", {60, 0, 0}, {40, 0, 0}},
        // A quarter from pi/2: the minor end, then the far major end.
        {"10:0 20:0 30:0 11:4 21:0 31:0 40:0.5 41:1.5707963267948966 42:3.141592653589793", {0, 2, 0}, {-4, 0, 0}},
        // Seen from below: the minor axis turns the other way.
        {"10:0 20:0 30:0 11:4 21:0 31:0 210:0 220:0 230:-1 40:0.5 41:0 42:1.5707963267948966", {4, 0, 0}, {0, -2, 0}},
        // End before start: through the zero parameter.
        {"10:0 20:0 30:0 11:0 21:3 31:0 40:1 41:4.71238898038469 42:1.5707963267948966", {3, 0, 0}, {-3, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.groups);
        const auto prims = Draw("ELLIPSE", c.groups);
        ASSERT_EQ(prims.size(), 1u);
        EXPECT_LT(Dist(prims[0].points.front(), c.start), 1e-9);
        EXPECT_LT(Dist(prims[0].points.back(), c.end), 1e-9);
    }
}

TEST(KeptDraw, SolidsTakeTheirCornersInTheOrder1243) {
    struct Case {
        const char* type;
        const char* groups;
        std::vector<AcGePoint3d> polygon;
    };
    const std::vector<Case> cases = {
        {"SOLID", "10:0 20:0 30:0 11:10 21:0 31:0 12:0 22:5 32:0 13:10 23:5 33:0",
         {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {0, 5, 0}}},
        {"TRACE", "10:0 20:0 30:0 11:10 21:0 31:0 12:0 22:5 32:0 13:10 23:5 33:0",
         {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {0, 5, 0}}},
        // A triangle: the fourth corner is the third.
        {"SOLID", "10:0 20:0 30:0 11:10 21:0 31:0 12:5 22:5 32:0", {{0, 0, 0}, {10, 0, 0}, {5, 5, 0}}},
        // Seen from below, object X runs to world -X.
        {"SOLID", "10:0 20:0 30:0 11:10 21:0 31:0 12:0 22:5 32:0 13:10 23:5 33:0 210:0 220:0 230:-1",
         {{0, 0, 0}, {-10, 0, 0}, {-10, 5, 0}, {0, 5, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.groups);
        const auto prims = Draw(c.type, c.groups);
        ASSERT_EQ(prims.size(), 1u);
        EXPECT_EQ(prims[0].kind, GiPrimitive::kPolygon);
        ASSERT_EQ(prims[0].points.size(), c.polygon.size());
        for (size_t i = 0; i < c.polygon.size(); ++i) EXPECT_LT(Dist(prims[0].points[i], c.polygon[i]), 1e-9);
    }
    // A 3DFACE shows only its visible edges: edges 2 and 4 hidden leaves two lines.
    const auto edges = Draw("3DFACE", "10:0 20:0 30:0 11:10 21:0 31:0 12:10 22:10 32:3 13:0 23:10 33:3 70:10");
    ASSERT_EQ(edges.size(), 2u);
    for (const auto& e : edges) EXPECT_EQ(e.points.size(), 2u);
}

TEST(KeptDraw, DimensionsAndTablesDrawTheirBlocksInTheirOwnColour) {
    AcDbDatabase db;
    AcDbObjectId dims;
    db.ensureLayer(L"DIMS", dims);
    auto* line = new AcDbLine({0, -10, 0}, {30, -10, 0});
    AcDbKeptEntity* arrow = Kept("SOLID", "10:0 20:-10 30:0 11:2.5 21:-10.4 31:0 12:2.5 22:-9.6 32:0");
    for (AcDbEntity* e : {static_cast<AcDbEntity*>(line), static_cast<AcDbEntity*>(arrow)}) {
        e->setDatabaseDefaults(&db);
        e->setColor(AcCmColor::byBlock());
    }
    dbtest::Block(db, L"*D1", {line, arrow});

    AcDbKeptEntity* dim = Kept("DIMENSION", "100:AcDbDimension 2:*D1 10:30 20:-10 30:0 11:15 21:-9 31:0 70:32 "
                                            "100:AcDbAlignedDimension 13:0 23:0 33:0 14:30 24:0 34:0");
    dim->setLayer(dims);
    dim->setColor(AcCmColor::fromIndex(1));
    const AcDbObjectId dimId = Add(db, dim);
    const auto* shown = AcDbEntity::cast(db.peekObject(dimId));
    GiCollector sink;
    vorn::db::DrawEntity(shown, &sink);
    ASSERT_EQ(sink.primitives.size(), 2u);
    EXPECT_EQ(sink.primitives[0].kind, GiPrimitive::kPolyline);
    EXPECT_LT(Dist(sink.primitives[0].points[1], {30, -10, 0}), 1e-9);
    EXPECT_EQ(sink.primitives[1].kind, GiPrimitive::kPolygon);  // the arrow
    for (const GiPrimitive& p : sink.primitives) {
        EXPECT_EQ(p.color.colorIndex(), 1);  // ByBlock takes the dimension's colour
        EXPECT_EQ(p.layerId, dims);          // layer 0 takes the dimension's layer
    }
    // Its box holds its block's lines, not just its definition points.
    AcDbExtents box;
    ASSERT_EQ(shown->getGeomExtents(box), Acad::eOk);
    EXPECT_NEAR(box.minPoint().y, -10.4, 1e-9);

    // A dimension whose block holds a dimension of that same block draws once per level it may
    // follow, and ends.
    dbtest::Block(db, L"*D2", {Kept("DIMENSION", "2:*D2"), new AcDbLine({0, 0, 0}, {1, 1, 0})});
    const AcDbObjectId selfId = Add(db, Kept("DIMENSION", "2:*D2"));
    GiCollector self;
    vorn::db::DrawEntity(AcDbEntity::cast(db.peekObject(selfId)), &self);
    EXPECT_GT(self.primitives.size(), 1u);
    EXPECT_LT(self.primitives.size(), 100u);

    // A table is laid out from its insertion point.
    const AcDbObjectId tableId =
        Add(db, Kept("ACAD_TABLE", "100:AcDbBlockReference 2:*D1 10:100 20:50 30:0 100:AcDbTable 11:1 21:0 31:0"));
    GiCollector table;
    vorn::db::DrawEntity(AcDbEntity::cast(db.peekObject(tableId)), &table);
    ASSERT_FALSE(table.primitives.empty());
    EXPECT_LT(Dist(table.primitives[0].points[0], {100, 40, 0}), 1e-9);
}

TEST(KeptDraw, LeadersEndInArrowsAndCarryTheirText) {
    const auto l = Draw("LEADER", "100:AcDbLeader 3:Standard 71:1 72:0 76:3 10:0 20:0 30:0 "
                                  "10:10 20:10 30:0 10:20 20:10 30:0");
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].points.size(), 3u);
    ASSERT_EQ(l[1].kind, GiPrimitive::kPolygon);
    EXPECT_LT(Dist(l[1].points[0], {0, 0, 0}), 1e-9);            // the tip
    EXPECT_NEAR(Dist(l[1].points[1], {0, 0, 0}), 2.5, 0.3);      // the default arrow size
    // No arrow when the flag says none.
    EXPECT_EQ(Draw("LEADER", "71:0 10:0 20:0 30:0 10:10 20:10 30:0").size(), 1u);

    const auto m = Draw(
        "MULTILEADER", "100:AcDbMLeader 270:2 300:CONTEXT_DATA{ 40:1 10:0 20:0 30:0 41:2 140:1 290:1 304:Gate "
                       "12:30 22:10 32:0 13:1 23:0 33:0 171:1 302:LEADER{ 290:1 291:1 10:28 20:10 30:0 11:1 21:0 31:0 "
                       "90:0 40:2 304:LEADER_LINE{ 10:0 20:0 30:0 91:0 305:} 271:0 303:} 301:} 170:1 42:4");
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].points.size(), 2u);  // from the arrow to the landing
    EXPECT_LT(Dist(m[0].points[1], {28, 10, 0}), 1e-9);
    EXPECT_EQ(m[1].kind, GiPrimitive::kPolygon);
    EXPECT_LT(Dist(m[2].points[1], {30, 10, 0}), 1e-9);  // the dogleg
    ASSERT_EQ(m[3].kind, GiPrimitive::kText);
    EXPECT_EQ(m[3].text.text, L"Gate");
    EXPECT_NEAR(m[3].text.position.x, 30, 1e-9);
    EXPECT_LT(m[3].text.position.y, 10);  // hangs below its top left corner
}

namespace {
// A sink that shows a known part of the world.
class ViewCollector : public GiCollector {
public:
    AcDbExtents view;
    AcDbExtents viewExtents() const override { return view; }
};
}  // namespace

TEST(KeptDraw, ConstructionLinesAreCutToTheViewAndDoNotStretchTheExtents) {
    ViewCollector sink;
    sink.view = AcDbExtents({0, 0, 0}, {100, 50, 0});
    std::unique_ptr<AcDbKeptEntity> xline(Kept("XLINE", "10:10 20:10 30:0 11:0.6 21:0.8 31:0"));
    std::unique_ptr<AcDbKeptEntity> ray(Kept("RAY", "10:10 20:10 30:0 11:0.6 21:0.8 31:0"));
    xline->worldDraw(&sink);
    ray->worldDraw(&sink);
    ASSERT_EQ(sink.primitives.size(), 2u);
    // Both reach past the view's edge (by the small margin), and the ray starts at its base.
    const auto& x = sink.primitives[0].points;
    EXPECT_GE(std::max(x[0].y, x[1].y), 50.0);
    EXPECT_LE(std::min(x[0].y, x[1].y), 0.0);
    EXPECT_LT(Dist(sink.primitives[1].points[0], {10, 10, 0}), 1e-9);
    EXPECT_GE(sink.primitives[1].points[1].y, 50.0);
    EXPECT_LT(sink.primitives[1].points[1].y, 52.0);
    // Without a view: long, but zoom extents still sees the base point only.
    const auto far = Draw(*xline);
    ASSERT_EQ(far.size(), 1u);
    EXPECT_GT(Dist(far[0].points[0], far[0].points[1]), 1e5);
    AcDbExtents box;
    ASSERT_EQ(xline->getGeomExtents(box), Acad::eOk);
    EXPECT_LT(Dist(box.minPoint(), box.maxPoint()), 1e-9);
}

TEST(KeptDraw, PointsFollowTheDrawingsPointStyle) {
    struct Case {
        const char* mode;
        size_t lines, arcs;
    };
    const std::vector<Case> cases = {{"0", 1, 0}, {"1", 0, 0}, {"3", 2, 0}, {"34", 2, 1}, {"66", 3, 0}, {"99", 3, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        AcDbDatabase db;
        auto& header = vorn::db::FileDataOf(db).header;
        header.push_back({"$PDMODE", Groups(std::string("70:") + c.mode)});
        header.push_back({"$PDSIZE", Groups("40:2")});
        const AcDbObjectId id = Add(db, Kept("POINT", "10:5 20:5 30:0"));
        const auto prims = Draw(*AcDbEntity::cast(db.peekObject(id)));
        size_t lines = 0, arcs = 0;
        for (const GiPrimitive& p : prims) {
            (p.kind == GiPrimitive::kArc ? arcs : lines)++;
            for (const AcGePoint3d& q : p.points) EXPECT_LE(Dist(q, {5, 5, 0}), std::sqrt(2.0) + 1e-9);
            if (p.kind == GiPrimitive::kArc) {
                EXPECT_DOUBLE_EQ(p.radius, 1.0);
            }
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(arcs, c.arcs);
    }
}

TEST(KeptDraw, BlockReferencesShowTheirVisibleAttributes) {
    AcDbDatabase db;
    const AcDbObjectId blockId = dbtest::Block(db, L"TREE", {new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 3)});
    auto* ref = new AcDbBlockReference({100, 0, 0}, blockId);
    ref->setColor(AcCmColor::fromIndex(3));
    auto data = std::make_shared<AcDbKeptData>();
    data->following.push_back({"ATTRIB", 0,
                               Groups("100:AcDbEntity 8:0 62:0 100:AcDbText 10:104 20:-1 30:0 40:1.5 1:12m "
                                      "72:2 11:110 21:-1 31:0 100:AcDbAttribute 2:HEIGHT 70:0")});
    data->following.push_back({"ATTRIB", 0,
                               Groups("100:AcDbEntity 8:0 100:AcDbText 10:104 20:-3 30:0 40:1.5 1:hidden "
                                      "100:AcDbAttribute 2:NOTE 70:1")});
    data->following.push_back({"SEQEND", 0, {}});
    ref->setKeptData(data);
    const AcDbObjectId id = Add(db, ref);
    GiCollector sink;
    vorn::db::DrawEntity(AcDbEntity::cast(db.peekObject(id)), &sink);
    std::vector<const GiPrimitive*> texts;
    for (const GiPrimitive& p : sink.primitives)
        if (p.kind == GiPrimitive::kText) texts.push_back(&p);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text.text, L"12m");
    EXPECT_LT(Dist(texts[0]->text.position, {110, -1, 0}), 1e-9);  // right-aligned at its alignment point
    EXPECT_EQ(texts[0]->text.horizontalMode, 2);
    EXPECT_EQ(texts[0]->color.colorIndex(), 3);  // ByBlock: the reference's colour
    // Its box holds the visible attribute, not the hidden one, for zoom and plot extents and
    // window selection: the crown reaches x 103, the text ends at its alignment point.
    AcDbExtents box;
    ASSERT_EQ(AcDbEntity::cast(db.peekObject(id))->getGeomExtents(box), Acad::eOk);
    EXPECT_NEAR(box.maxPoint().x, 110, 1e-9);
    EXPECT_NEAR(box.minPoint().y, -3, 1e-9);
    EXPECT_NEAR(db.modelSpaceExtents().maxPoint().x, 110, 1e-9);
    const AcDbObjectIdArray inWindow = db.entitiesMeetingBox(AcDbExtents({106, -1, 0}, {109, 0, 0}));
    ASSERT_EQ(inWindow.length(), 1);
    EXPECT_EQ(inWindow[0], id);
}

TEST(KeptDraw, KeptEntitiesArePickedByWhatTheyDraw) {
    AcDbDatabase db;
    // A disc hatched solid, bounded by a single arc edge: its group points hold only the centre.
    const AcDbObjectId disc = Add(db, Kept("HATCH", "100:AcDbHatch 10:0 20:0 30:0 2:SOLID 70:1 71:0 91:1 92:1 93:1 "
                                                    "72:2 10:100 20:100 40:20 50:0 51:360 73:1 97:0 75:0 76:1 98:0"));
    const AcDbObjectId curve =
        Add(db, Kept("SPLINE", "70:8 71:3 10:0 20:0 30:0 10:10 20:40 30:0 10:20 20:40 30:0 10:30 20:0 30:0"));
    const auto pick = [&](double x, double y, double reach) {
        AcDbObjectId found;
        double best = reach;
        const AcDbObjectIdArray near = db.entitiesNearPoint({x, y, 0}, reach);
        for (int i = 0; i < near.length(); ++i) {
            vorn::db::GiDistanceMeter meter({x, y, 0});
            vorn::db::DrawEntity(AcDbEntity::cast(db.peekObject(near[i])), &meter);
            if (meter.hit() && meter.distance() <= best) best = meter.distance(), found = near[i];
        }
        return found;
    };
    EXPECT_EQ(pick(119.9, 100, 0.5), disc);   // on its edge, far from its centre
    EXPECT_EQ(pick(100, 115, 0.5), disc);     // inside the fill
    EXPECT_EQ(pick(15, 30, 0.5), curve);      // on the curve's top: (0,0)..(30,0) peaks at 30
    EXPECT_TRUE(pick(15, 38, 0.5).isNull());  // inside the control polygon, off the curve
}

TEST(KeptDraw, AbsurdRecordsNeitherHangNorCrash) {
    struct Case {
        const char* type;
        std::string groups;
        size_t atMost;  // primitives
    };
    const auto box = [](const std::string& name) {
        return "100:AcDbHatch 10:0 20:0 30:0 2:" + name + " 70:0 91:1 92:3 72:0 73:1 93:4 10:0 20:0 10:1000 20:0 "
               "10:1000 20:1000 10:0 20:1000 97:0 ";
    };
    const std::vector<Case> cases = {
        // A billion pattern lines: the boundary alone.
        {"HATCH", box("USER") + "75:0 76:0 52:0 41:1 77:0 78:1 53:0 43:0 44:0 45:0 46:0.000001 79:0 98:0", 1},
        // Dots a micron apart over a square metre: the boundary alone.
        {"HATCH", box("DOTS") + "75:0 76:1 52:0 41:0.0001 77:0 78:0 98:0", 1},
        // Counts beyond the groups present, offsets along the line, dash counts of no meaning.
        {"HATCH", box("X").substr(0, box("X").find("91:")) + "91:1000000000 92:3 93:1000000000 10:0 20:0 10:5 20:5 "
                  "75:0 78:99999999 53:0 45:3 46:0 79:99999999 49:1 49:-1", 1000},
        {"HATCH", box("X") + "75:0 78:1 53:30 43:1e11 44:-1e11 45:1 46:2 79:2 49:0.000000000001 49:-1e-12 98:0",
         1000000},
        // Edges of unknown kinds and of no data.
        {"HATCH", "100:AcDbHatch 91:2 92:0 93:3 72:9 10:0 20:0 92:0 93:2 72:4 94:3 95:0 96:0 72:3", 10},
        {"SPLINE", "71:3 72:3 73:4 40:0 40:1 40:2 10:0 20:0 10:1 20:1 10:2 20:0 10:3 20:1", 1},      // knots missing
        // Knots that leave no span to draw.
        {"SPLINE", "71:3 40:1 40:1 40:1 40:1 40:1 40:1 40:1 40:1 10:0 20:0 10:1 20:1 10:2 20:0 10:3 20:1", 1},
        {"SPLINE", "71:99 70:4 41:-1 41:0 10:0 20:0 10:1 20:1", 1},                                   // degree, weights
        {"SPLINE", "71:3 70:4 10:0 20:0", 1},
        {"SPLINE", "71:3 11:1 21:1 11:1 21:1 11:1 21:1", 1},  // one fit point thrice
        {"ELLIPSE", "10:0 20:0 11:0 21:0 40:0.5", 0},
        {"ELLIPSE", "10:0 20:0 11:5 21:0 40:0 41:1 42:1", 1},
        {"DIMENSION", "2:*NOWHERE 10:0 20:0", 0},
        {"LEADER", "71:1 10:0 20:0 10:0 20:0", 2},
        {"MULTILEADER", "300:CONTEXT_DATA{ 302:LEADER{ 304:LEADER_LINE{", 3},
        {"IMAGE", "10:0 20:0 11:1 21:0 12:0 22:1 13:1e300 23:1", 1},
        {"MESH", "92:1000000000 10:0 20:0 93:5 90:4 90:0 90:7 90:-3 90:0", 1},
        {"POLYLINE", "70:64 71:1000000000", 0},
        {"INSERT", "2:*NOWHERE 70:1000000000 71:1000000000", 0},
        {"XLINE", "10:1e300 20:0 11:0 21:0", 1},
        {"RAY", "10:0 20:0 11:0 21:0", 1},
        {"VIEWPORT", "10:0 20:0 40:10 41:10", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type + (" " + c.groups));
        std::unique_ptr<AcDbKeptEntity> e(Kept(c.type, c.groups));
        const auto prims = Draw(*e);
        EXPECT_LE(prims.size(), c.atMost);
        EXPECT_TRUE(AllFinite(prims));
        AcDbExtents box;
        e->getGeomExtents(box);
    }
}

TEST(KeptDraw, EveryKindOfACorpusFileDraws) {
    std::string error;
    auto db = vorn::dxf::ReadDxfFile(std::string(VORN_SOURCE_DIR) + "/tests/dxf-corpus/files/r2013_mix.dxf", error);
    ASSERT_TRUE(db) << error;
    std::vector<std::string> drawn;
    for (const AcDbObjectId& id : db->modelSpaceIds()) {
        const auto* kept = AcDbKeptEntity::cast(db->peekObject(id));
        if (!kept) continue;
        const auto prims = Draw(*kept);
        EXPECT_TRUE(AllFinite(prims)) << kept->type();
        if (!prims.empty()) drawn.push_back(kept->type());
    }
    for (const char* kind : {"HATCH", "SPLINE", "ELLIPSE", "POINT", "SOLID", "TRACE", "3DFACE", "XLINE", "RAY",
                             "DIMENSION", "LEADER", "MULTILEADER", "IMAGE", "WIPEOUT", "MESH"})
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), kind), drawn.end()) << kind << " draws nothing";
}

TEST(MTextDraw, WrapsToItsWidthAndSetsColumnsSideBySide) {
    AcDbMText m;
    m.setTextHeight(1.0);
    m.setWidth(10.0);
    m.setContents(L"one two three four five six seven\\Pshort");
    const auto prims = Draw(m);
    ASSERT_GE(prims.size(), 4u);
    for (const GiPrimitive& p : prims) {
        EXPECT_LE(vorn::db::TextAdvance(p.text.text), 10.0) << std::string(p.text.text.begin(), p.text.text.end());
        EXPECT_NE(p.text.text.front(), L' ');
    }
    EXPECT_EQ(prims.back().text.text, L"short");
    // Chinese text breaks between characters.
    m.setContents(L"道路中心线双向两车道道路中心线");
    for (const GiPrimitive& p : Draw(m)) EXPECT_LE(vorn::db::TextAdvance(p.text.text), 10.0);

    // Static columns of 20 with a gutter of 2: each column break starts the next column.
    m.setContents(L"first\\Nsecond\\Nthird");
    auto data = std::make_shared<AcDbKeptData>();
    data->groups = Groups("101:Embedded_Object 70:1 71:1 72:3 44:20 45:2");
    m.setKeptData(data);
    const auto columns = Draw(m);
    ASSERT_EQ(columns.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(columns[i].text.position.x, 22.0 * static_cast<double>(i));
        EXPECT_DOUBLE_EQ(columns[i].text.position.y, columns[0].text.position.y);
    }
}

// A spline's box is found without drawing most of it; it must be exactly the box of what it
// draws, for curves of every degree, knots that repeat or do not fit, weights and heights.
TEST(KeptDraw, SplineBoxesAreTheBoxesOfTheirDrawing) {
    std::mt19937 random(22);
    const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    for (int round = 0; round < 300; ++round) {
        const int degree = 1 + round % 4, count = degree + 1 + static_cast<int>(random() % 20);
        const bool rational = round % 7 == 3, raised = round % 5 == 1;
        std::ostringstream g;
        g << "70:" << (rational ? 12 : 8) << " 71:" << degree;
        // Clamped knots, some interior ones repeated; every eleventh set out of order.
        std::vector<double> knots(static_cast<size_t>(degree), 0.0);
        for (int k = 0; k <= count - degree; ++k) knots.push_back(k + (round % 3 == 0 ? k % 2 : 0));
        knots.insert(knots.end(), static_cast<size_t>(degree), knots.back());
        if (round % 11 == 5) std::swap(knots[knots.size() / 2], knots[knots.size() / 2 + 1]);
        for (double k : knots) g << " 40:" << k * 1000.0;
        const double x0 = uniform(-2e6, 2e6), y0 = uniform(-2e6, 2e6);
        for (int i = 0; i < count; ++i) {
            g.precision(17);
            g << " 10:" << x0 + i * uniform(0, 30000) << " 20:" << y0 + uniform(-50000, 50000)
              << " 30:" << (raised ? uniform(0, 500) : 0.0);
            if (rational) g << " 41:" << uniform(0.5, 3);
        }
        AcDbKeptEntity* curve = Kept("SPLINE", g.str());
        GiCollector drawn;
        vorn::db::DrawEntity(curve, &drawn);
        AcDbExtents quick;
        const AcDbExtents full = drawn.extents();
        ASSERT_TRUE(full.isValid()) << g.str();
        ASSERT_EQ(curve->getGeomExtents(quick), Acad::eOk) << g.str();
        const auto same = [](const AcGePoint3d& a, const AcGePoint3d& b) { return a.x == b.x && a.y == b.y && a.z == b.z; };
        EXPECT_TRUE(same(quick.minPoint(), full.minPoint()) && same(quick.maxPoint(), full.maxPoint())) << g.str();
        delete curve;
    }
}
