// The drawing view's picture and its running snap on crowded drawings: the culled picture shows
// what the pictures' painter shows, tiny entities become one dot in the right pixel and colour,
// hidden layers stay hidden at every size, small texts become strokes, later entities draw
// over earlier ones, an edit redraws the cached picture; the preview painted straight into an
// image matches Cairo's; and the snap, which weighs only the entities and curves that can still
// win, finds what weighing every candidate finds.
#include <cairo.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "gui/drawingview.h"
#include "gui/viewrender.h"
#include "host/db/db.h"
#include "host/ed/dbaccess.h"
#include "host/ed/editor.h"
#include "host/ed/editorstate.h"
#include "host/ed/sysvars.h"
#include "host/render/cairosink.h"
#include "host/render/render.h"
#include "tests/fontcaches.h"
#include "tests/testdrawing.h"

namespace {

using vorn::render::View;

constexpr double kPi = 3.14159265358979323846;

// ---- a drawing of the test's own ----

using Drawing = vorn::test::TestDrawing;
using vorn::test::Circle;
using vorn::test::Line;

template <typename E>
E* Coloured(E* e, int aci) {
    e->setColorIndex(static_cast<std::uint16_t>(aci));
    return e;
}
template <typename E>
E* OnLayer(E* e, const AcDbObjectId& layer) {
    e->setLayer(layer);
    return e;
}

// ---- pictures ----

const QRgb kBackground = vorn::gui::BackgroundColour().rgb();

QImage ViewPicture(const AcDbDatabase& db, const View& view, int w = 200, int h = 200) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    vorn::gui::RenderModelSpace(db, view, image);
    return image;
}

// The same view drawn entity by entity with the pictures' Cairo painter, as the view once was.
QImage PainterPicture(const AcDbDatabase& db, const View& view, int w = 200, int h = 200) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(vorn::gui::BackgroundColour());
    cairo_surface_t* surface = cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, w, h,
                                                                   static_cast<int>(image.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    {
        vorn::render::CairoSink sink(cr, view, &db);
        for (const AcDbObjectId& id : db.modelSpaceIds())
            if (const AcDbEntity* e = AcDbEntity::cast(db.peekObject(id))) sink.drawEntity(e);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return image;
}

int Diff(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// Clearly drawn on: anti-aliased fringes of a few percent do not count.
bool Lit(const QImage& image, int x, int y, QRgb background = kBackground) {
    return Diff(image.pixel(x, y), background) > 60;
}

std::vector<QPoint> LitPixels(const QImage& image, QRgb background = kBackground) {
    std::vector<QPoint> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Lit(image, x, y, background)) out.push_back(QPoint(x, y));
    return out;
}

// The share of pixels clearly drawn in a that have a pixel of about their colour within one
// pixel in b: anti-aliasing may differ, what is drawn and where must not.
double Covered(const QImage& a, const QImage& b, QRgb background = kBackground) {
    const std::vector<QPoint> lit = LitPixels(a, background);
    if (lit.empty()) return 1.0;
    int found = 0;
    for (const QPoint& p : lit) {
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy)
            for (int dx = -1; dx <= 1 && !near; ++dx) {
                const int x = p.x() + dx, y = p.y() + dy;
                if (x < 0 || y < 0 || x >= b.width() || y >= b.height()) continue;
                near = Lit(b, x, y, background) && Diff(b.pixel(x, y), a.pixel(p)) < 300;
            }
        found += near;
    }
    return double(found) / double(lit.size());
}

QRgb Opaque(int r, int g, int b) { return qRgb(r, g, b); }

// One pixel a drawing unit, the drawing's (0, 200) at the picture's top left corner.
View UnitView() { return View::At(0, 200, 1.0); }

// ---- the level of detail ----

struct DotCase {
    const char* what;
    std::function<AcDbEntity*(Drawing&, double x, double y)> make;
    double x, y;      // the entity's middle, drawing units (= pixels)
    int px, py;       // the pixel its dot must land in; -1: none at all
    QRgb colour;
};

TEST(ViewLevelOfDetail, AnEntityUnderAPixelIsOneDotInItsPixelAndColour) {
    const auto line = [](Drawing& d, double x, double y) {
        return OnLayer(Line(x - 0.2, y - 0.1, x + 0.2, y + 0.1), d.layer(L"RED", 1));
    };
    const auto circle = [](Drawing&, double x, double y) { return Coloured(Circle(x, y, 0.3), 3); };
    const auto text = [](Drawing&, double x, double y) {
        auto* t = new AcDbText(AcGePoint3d(x, y, 0), L"1", AcDbObjectId(), 0.4);
        t->setHorizontalMode(AcDb::kTextMid);
        t->setAlignmentPoint(AcGePoint3d(x, y, 0));
        t->setColor(AcCmColor::fromRGB(10, 200, 30));
        return t;
    };
    // A tree symbol whose crown takes the reference's colour.
    const auto tree = [](Drawing& d, double x, double y) {
        const AcDbObjectId block = d.block(L"TREE");
        d.add(Coloured(Circle(0, 0, 1), 0), block);
        auto* ref = new AcDbBlockReference(AcGePoint3d(x, y, 0), block);
        ref->setScaleFactors(AcGeScale3d(0.3));
        ref->setColorIndex(5);
        return ref;
    };
    const std::vector<DotCase> cases = {
        {"line, middle of a pixel", line, 10.5, 150.5, 10, 49, Opaque(255, 0, 0)},
        {"line, just left of and above a pixel border", line, 10.999, 150.001, 10, 49, Opaque(255, 0, 0)},
        {"line, on a pixel border", line, 11.0, 150.0, 11, 50, Opaque(255, 0, 0)},
        {"circle, top left pixel", circle, 0.45, 199.55, 0, 0, Opaque(0, 255, 0)},
        {"circle, bottom right pixel", circle, 199.6, 0.4, 199, 199, Opaque(0, 255, 0)},
        {"text, true colour", text, 120.3, 80.7, 120, 119, Opaque(10, 200, 30)},
        {"block reference, through its block", tree, 57.5, 42.5, 57, 157, Opaque(0, 0, 255)},
        {"middle just outside the picture", circle, -0.35, 100.5, -1, -1, 0},
    };
    for (const DotCase& c : cases) {
        SCOPED_TRACE(c.what);
        Drawing d;
        d.add(c.make(d, c.x, c.y));
        const QImage image = ViewPicture(d.db(), UnitView());
        const std::vector<QPoint> lit = LitPixels(image);
        if (c.px < 0) {
            EXPECT_TRUE(lit.empty());
            continue;
        }
        ASSERT_EQ(lit.size(), 1u);
        EXPECT_EQ(lit[0], QPoint(c.px, c.py));
        EXPECT_EQ(image.pixel(c.px, c.py), c.colour);
    }
}

TEST(ViewLevelOfDetail, ASmallBlockIsItsBoxInItsColour) {
    Drawing d;
    const AcDbObjectId car = d.block(L"CAR");
    // Many strokes inside a box two units by one.
    for (int k = 0; k < 40; ++k) d.add(Coloured(Line(-1 + k * 0.05, -0.5, -1 + k * 0.05, 0.5), 0), car);
    auto* ref = new AcDbBlockReference(AcGePoint3d(100, 100, 0), car);
    ref->setColorIndex(6);
    d.add(ref);
    const QImage image = ViewPicture(d.db(), UnitView());
    // The box covers pixels 99 and 100 across, half of rows 99 and 100.
    for (const QPoint& p : LitPixels(image)) {
        EXPECT_GE(p.x(), 99);
        EXPECT_LE(p.x(), 100);
        EXPECT_GE(p.y(), 99);
        EXPECT_LE(p.y(), 100);
        EXPECT_GT(qRed(image.pixel(p)), qGreen(image.pixel(p)));  // magenta over the dark grey
    }
    EXPECT_EQ(LitPixels(image).size(), 4u);
}

struct HiddenCase {
    const char* what;
    double size;  // the symbol's size in pixels
    bool layerOff, layerFrozen, contentsOnHiddenLayer;
};

TEST(ViewLevelOfDetail, HiddenLayersStayHiddenAtEverySize) {
    const std::vector<HiddenCase> cases = {
        {"dot, layer off", 0.5, true, false, false},
        {"dot, layer frozen", 0.5, false, true, false},
        {"dot, reference shown but its strokes on a layer off", 0.5, false, false, true},
        {"small, layer off", 2.0, true, false, false},
        {"small, reference shown but its strokes on a layer off", 2.0, false, false, true},
        {"large, layer frozen", 60.0, false, true, false},
        {"large, reference shown but its strokes on a layer off", 60.0, false, false, true},
    };
    for (const HiddenCase& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool control : {false, true}) {
            Drawing d;
            // The same symbol on a layer that shows is drawn: the case is not empty.
            const AcDbObjectId where = d.layer(L"WHERE", 2, !control && c.layerOff, !control && c.layerFrozen);
            const AcDbObjectId strokes = d.layer(L"STROKES", 3, !control && c.contentsOnHiddenLayer);
            const AcDbObjectId symbol = d.block(L"SYMBOL");
            d.add(OnLayer(Circle(0, 0, 0.5), c.contentsOnHiddenLayer ? strokes : d.db().layerZero()), symbol);
            d.add(OnLayer(Line(-0.5, 0, 0.5, 0), c.contentsOnHiddenLayer ? strokes : d.db().layerZero()), symbol);
            auto* ref = new AcDbBlockReference(AcGePoint3d(100, 100, 0), symbol);
            ref->setScaleFactors(AcGeScale3d(c.size));
            d.add(OnLayer(ref, where));
            if (!c.contentsOnHiddenLayer) d.add(OnLayer(Line(50, 50, 50 + c.size * 0.7, 50), where));
            const std::size_t lit = LitPixels(ViewPicture(d.db(), UnitView())).size();
            if (control) EXPECT_GT(lit, 0u);
            else EXPECT_EQ(lit, 0u);
        }
    }
}

TEST(ViewLevelOfDetail, ASmallTextIsAStrokeThroughItsBoxALargeOneHasGlyphs) {
    for (double height : {1.5, 24.0}) {
        SCOPED_TRACE(height);
        Drawing d;
        d.add(new AcDbText(AcGePoint3d(20, 100, 0), L"SITE PLAN 总平面", AcDbObjectId(), height));
        const std::vector<QPoint> lit = LitPixels(ViewPicture(d.db(), UnitView()));
        ASSERT_FALSE(lit.empty());
        int top = 1000, bottom = -1, left = 1000, right = -1;
        for (const QPoint& p : lit) {
            top = std::min(top, p.y()), bottom = std::max(bottom, p.y());
            left = std::min(left, p.x()), right = std::max(right, p.x());
        }
        // The text's box: from x 20 for about 0.7 to 1 height a character, rows 100 - height to 100.
        EXPECT_NEAR(left, 20, 3);
        if (height < vorn::gui::kSmallestReadableText) {
            EXPECT_LE(bottom - top, 1);  // one stroke along the middle of the box
            EXPECT_NEAR((top + bottom) / 2.0, 100 - height / 2, 1.0);
            EXPECT_GT(right - left, 8 * height);
        } else {
            EXPECT_GT(bottom - top, height / 2);  // glyphs: capitals reach up the box
            EXPECT_GT(lit.size(), 300u);
        }
    }
}

// ---- culling and the order of drawing ----

TEST(ViewCulling, WhatCrossesTheWindowShowsWhatLiesOutsideDoesNot) {
    Drawing d;
    // Ends far outside, the middle through the window.
    d.add(Coloured(Line(-1e6, 50.5, 1e6, 50.5), 1));
    // A circle of ten kilometres whose rim runs down the window's column 150.
    d.add(Coloured(Circle(150.5 - 1e7, 120, 1e7), 3));
    // Beside the window, a little beyond its edge.
    d.add(Coloured(Line(201.5, 0, 201.5, 200), 5));
    d.add(Coloured(Circle(100, 260, 30), 5));
    const QImage image = ViewPicture(d.db(), UnitView());
    int red = 0, green = 0;
    for (int x = 0; x < 200; ++x) red += image.pixel(x, 149) == Opaque(255, 0, 0) || std::abs(x - 150) <= 1;
    for (int y = 30; y < 170; ++y)
        green += std::max({qGreen(image.pixel(149, y)), qGreen(image.pixel(150, y)), qGreen(image.pixel(151, y))}) > 150;
    EXPECT_EQ(red, 200);
    EXPECT_EQ(green, 140);
    for (const QPoint& p : LitPixels(image)) EXPECT_LT(qBlue(image.pixel(p)), 200) << p.x() << "," << p.y();
}

TEST(ViewCulling, LaterEntitiesDrawOverEarlierOnes) {
    for (bool redFirst : {true, false}) {
        Drawing d;
        auto* red = Coloured(Line(0, 100.5, 200, 100.5), 1);
        auto* green = Coloured(Line(100.5, 0, 100.5, 200), 3);
        // Two dots in one pixel.
        auto* tinyRed = Coloured(Circle(30.5, 30.5, 0.2), 1);
        auto* tinyGreen = Coloured(Circle(30.6, 30.4, 0.2), 3);
        if (redFirst) {
            d.add(red), d.add(green), d.add(tinyRed), d.add(tinyGreen);
        } else {
            d.add(green), d.add(red), d.add(tinyGreen), d.add(tinyRed);
        }
        const QImage image = ViewPicture(d.db(), UnitView());
        const QRgb top = redFirst ? Opaque(0, 255, 0) : Opaque(255, 0, 0);
        EXPECT_EQ(image.pixel(100, 99), top);
        EXPECT_EQ(image.pixel(30, 169), top);
    }
}

// A site in miniature: every kind the view draws, at sizes it draws them whole.
void Site(Drawing& d, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> at(0, 400), size(6, 40), turn(0, 2 * kPi);
    const AcDbObjectId kerb = d.layer(L"KERB", 2), green = d.layer(L"GREEN", 82);
    const AcDbObjectId tree = d.block(L"TREE");
    d.add(Coloured(Circle(0, 0, 1), 0), tree);
    d.add(Line(-0.7, 0, 0.7, 0), tree);
    d.add(Coloured(Line(0, -0.7, 0, 0.7), 4), tree);
    for (int k = 0; k < 60; ++k) {
        const double x = at(random), y = at(random), s = size(random), a = turn(random);
        switch (k % 6) {
            case 0: d.add(OnLayer(Line(x, y, x + s * std::cos(a), y + s * std::sin(a)), kerb)); break;
            case 1: d.add(Coloured(new AcDbArc(AcGePoint3d(x, y, 0), s / 2, a, a + 2), 1 + k % 7)); break;
            case 2: {
                auto* pl = new AcDbPolyline(4);
                pl->addVertexAt(0, AcGePoint2d(x, y));
                pl->addVertexAt(1, AcGePoint2d(x + s, y), 0.4);
                pl->addVertexAt(2, AcGePoint2d(x + s, y + s));
                pl->addVertexAt(3, AcGePoint2d(x, y + s / 2));
                pl->setClosed(k % 4 == 2);
                pl->setColor(AcCmColor::fromRGB(200, 120, 40));
                d.add(pl);
                break;
            }
            case 3: {
                auto* ref = new AcDbBlockReference(AcGePoint3d(x, y, 0), tree);
                ref->setScaleFactors(AcGeScale3d(s / 3, s / 4, 1));
                ref->setRotation(a);
                if (k % 4 == 1) ref->setColorIndex(6);
                d.add(OnLayer(ref, green));
                break;
            }
            case 4: {
                auto* dashed = Line(x, y, x + 3 * s, y);
                dashed->setLinetype(L"Dashed");
                d.add(dashed);
                break;
            }
            default:
                d.add(new AcDbText(AcGePoint3d(x, y, 0), L"绿地 A-12", AcDbObjectId(), s / 3, a));
                break;
        }
    }
    // A construction line and a ray kept from a drawing file, their base points far from every
    // view below: lines without end show wherever they cross the view.
    for (const auto& [type, groups] : {std::pair<const char*, const char*>{"XLINE", "10 -900 20 -850 11 0.6 21 0.8"},
                                        {"RAY", "10 900 20 130 11 -1 21 0"}}) {
        auto* line = new AcDbKeptEntity(type);
        auto data = std::make_shared<AcDbKeptData>();
        std::istringstream in(groups);
        for (AcDbKeptGroup g; in >> g.code >> g.value;) data->groups.push_back(g);
        line->setKeptData(data);
        d.add(line);
    }
}

TEST(ViewCulling, TheViewShowsWhatThePicturesShow) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        Drawing d;
        Site(d, seed);
        const AcDbExtents all = d.db().modelSpaceExtents();
        AcDbExtents corner;
        corner.addPoint(AcGePoint3d(60, 60, 0));
        corner.addPoint(AcGePoint3d(200, 200, 0));
        const std::vector<std::pair<const char*, View>> views = {
            {"the whole site", View::Fit(all, 300, 240, 0.02)},
            {"a corner, cutting entities at the edges", View::Fit(corner, 300, 240, 0.0)},
            {"moved half off the site", View::At(-150, 300, 0.8)},
        };
        for (const auto& [what, view] : views) {
            SCOPED_TRACE(std::string(what) + ", seed " + std::to_string(seed));
            const QImage fast = ViewPicture(d.db(), view, 300, 240);
            const QImage painted = PainterPicture(d.db(), view, 300, 240);
            EXPECT_GT(LitPixels(painted).size(), 500u);
            EXPECT_GT(Covered(painted, fast), 0.98);
            EXPECT_GT(Covered(fast, painted), 0.98);
        }
    }
}

TEST(ViewCulling, ADashedLineShowsItsGaps) {
    Drawing d;
    // Dashes of 12.7 and gaps of 6.35 units, two pixels a unit.
    auto* dashed = Line(10, 100.25, 190, 100.25);
    dashed->setLinetype(L"Dashed");
    d.add(dashed);
    const QImage image = ViewPicture(d.db(), View::At(0, 200, 1.0));
    int runs = 0;
    bool inside = false;
    for (int x = 0; x < 200; ++x) {
        const bool on = Lit(image, x, 99) || Lit(image, x, 100);
        runs += on && !inside;
        inside = on;
    }
    EXPECT_GE(runs, 9);  // 180 units of a 19.05 pattern
    EXPECT_LE(runs, 10);
}

// ---- the cached picture in the window ----

// That a cursor move, with a rubber band or a drag preview, draws nothing again is checked by
// the window tests.
TEST(ViewCache, AnEditRedrawsTheCachedPicture) {
    Drawing d;
    const AcDbObjectId id = d.add(Coloured(Line(0, 0, 100, 0), 1));
    d.add(Coloured(Line(0, 50, 100, 50), 3));
    vorn::gui::DrawingView view(nullptr);
    view.resize(220, 160);
    view.show();
    QCoreApplication::processEvents();
    view.renderNow();
    QCoreApplication::processEvents();
    const std::uint64_t drawn = view.cacheRenders();
    const auto redAt = [&](double x, double y) {
        const QPointF p = view.toScreen(x, y);
        const QImage& image = view.cachedImage();
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy) {
            const QRgb c = image.pixel(int(p.x()), int(p.y()) + dy);
            n += qRed(c) > qGreen(c) + 80;  // half a pixel's worth of red at least
        }
        return n > 0;
    };
    ASSERT_TRUE(redAt(50, 0));

    // The red line moves up to 25: the picture is drawn again before the next paint.
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    line->setStartPoint(AcGePoint3d(0, 25, 0));
    line->setEndPoint(AcGePoint3d(100, 25, 0));
    line->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(view.cacheRenders(), drawn + 1);
    EXPECT_TRUE(redAt(50, 25));
    EXPECT_FALSE(redAt(50, 0));
}

// ---- the drag preview straight into an image ----

// What the preview draws, highlighted, with the pen two pixels wide, laid over the view's
// background. throughCairo: drawn first on a recording surface, where Cairo does every stroke
// itself (the reference).
QImage PreviewPicture(const AcDbDatabase& db, const View& view, bool throughCairo, bool clipped) {
    QImage layer(240, 200, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(layer.bits(), CAIRO_FORMAT_ARGB32, 240, 200,
                                                                   static_cast<int>(layer.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    if (clipped) {
        cairo_rectangle(cr, 40, 30, 120, 100);
        cairo_clip(cr);
    }
    vorn::render::PaintStyle style;
    style.highlight = true;
    const auto draw = [&](cairo_t* target) {
        cairo_set_line_cap(target, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(target, CAIRO_LINE_JOIN_ROUND);
        vorn::render::CairoSink sink(target, view, &db, style);
        for (const AcDbObjectId& id : db.modelSpaceIds())
            if (const AcDbEntity* e = AcDbEntity::cast(db.peekObject(id))) sink.drawEntity(e);
    };
    if (throughCairo) {
        const cairo_rectangle_t page = {0, 0, 240, 200};
        cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &page);
        cairo_t* rc = cairo_create(recording);
        draw(rc);
        cairo_destroy(rc);
        cairo_set_source_surface(cr, recording, 0, 0);
        cairo_paint(cr);
        cairo_surface_destroy(recording);
    } else {
        draw(cr);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    QImage out(layer.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(vorn::gui::BackgroundColour());
    QPainter painter(&out);
    painter.drawImage(0, 0, layer);
    return out;
}

// A parking row in miniature: one car block, with an arc and a bulged outline, placed many
// times alike (the preview lays one picture of it at each place) and a few turned.
void CarRow(Drawing& d) {
    const AcDbObjectId car = d.block(L"CAR");
    auto* body = new AcDbPolyline(4);
    body->addVertexAt(0, AcGePoint2d(0, 0));
    body->addVertexAt(1, AcGePoint2d(1.8, 0), 0.3);
    body->addVertexAt(2, AcGePoint2d(1.8, 4.4));
    body->addVertexAt(3, AcGePoint2d(0, 4.4), 0.3);
    body->setClosed(true);
    d.add(body, car);
    d.add(new AcDbArc(AcGePoint3d(0.9, 3.2, 0), 0.6, 0.2, 2.9), car);
    d.add(Line(0.2, 1.2, 1.6, 1.2), car);
    for (int k = 0; k < 48; ++k) {
        auto* ref = new AcDbBlockReference(AcGePoint3d(2.37 * (k % 16), 6.1 * (k / 16), 0), car);
        if (k % 11 == 5) ref->setRotation(0.3 * k);
        d.add(ref);
    }
}

TEST(DragPreview, StrokesStraightIntoTheImageMatchCairosAndKeepToTheClip) {
    Drawing site, row;
    Site(site, 7);
    CarRow(row);
    for (Drawing* drawing : {&site, &row})
    for (bool clipped : {false, true}) {
        SCOPED_TRACE(std::string(drawing == &site ? "site, " : "row, ") + (clipped ? "clipped" : "whole"));
        Drawing& d = *drawing;
        const View view = View::Fit(d.db().modelSpaceExtents(), 240, 200, 0.02);
        const QImage direct = PreviewPicture(d.db(), view, false, clipped);
        const QImage cairo = PreviewPicture(d.db(), view, true, clipped);
        EXPECT_GT(LitPixels(cairo).size(), 500u);
        EXPECT_GT(Covered(cairo, direct), 0.98);
        EXPECT_GT(Covered(direct, cairo), 0.98);
        if (clipped) {
            for (const QPoint& p : LitPixels(direct))
                EXPECT_TRUE(QRect(40, 30, 120, 100).contains(p)) << p.x() << "," << p.y();
        }
    }
}

// ---- the running snap ----

// The search as it was before it learnt to leave out what cannot win: every candidate of every
// entity within reach weighed in order, the nearest within reach winning, the last on a tie.
namespace reference {

struct Curve {
    bool arc = false;
    AcGePoint3d a, b, c;
    double r = 0, start = 0, sweep = 0;
};
struct Candidate {
    AcGePoint3d point;
    int mode = 0;
};

bool AngleOnArc(const Curve& k, double angle) {
    if (k.sweep >= 2 * kPi - 1e-12) return true;
    double d = std::fmod(angle - k.start, 2 * kPi);
    if (d < 0) d += 2 * kPi;
    return d <= k.sweep + 1e-12;
}
AcGePoint3d OnCircle(const Curve& k, double angle) {
    return {k.c.x + k.r * std::cos(angle), k.c.y + k.r * std::sin(angle), k.c.z};
}
AcGePoint3d Closest(const Curve& k, const AcGePoint3d& p) {
    if (!k.arc) {
        const double dx = k.b.x - k.a.x, dy = k.b.y - k.a.y, len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p.x - k.a.x) * dx + (p.y - k.a.y) * dy) / len2 : 0;
        t = std::fmax(0, std::fmin(1, t));
        return {k.a.x + t * dx, k.a.y + t * dy, k.a.z};
    }
    const double ang = std::atan2(p.y - k.c.y, p.x - k.c.x);
    if (AngleOnArc(k, ang)) return OnCircle(k, ang);
    const AcGePoint3d s = OnCircle(k, k.start), e = OnCircle(k, k.start + k.sweep);
    return std::hypot(p.x - s.x, p.y - s.y) < std::hypot(p.x - e.x, p.y - e.y) ? s : e;
}
void Intersections(const Curve& u, const Curve& v, std::vector<AcGePoint3d>& out) {
    if (!u.arc && !v.arc) {
        const double d1x = u.b.x - u.a.x, d1y = u.b.y - u.a.y, d2x = v.b.x - v.a.x, d2y = v.b.y - v.a.y;
        const double den = d1x * d2y - d1y * d2x;
        if (std::fabs(den) < 1e-15 * (std::fabs(d1x * d2y) + std::fabs(d1y * d2x) + 1e-300)) return;
        const double t = ((v.a.x - u.a.x) * d2y - (v.a.y - u.a.y) * d2x) / den;
        const double s = ((v.a.x - u.a.x) * d1y - (v.a.y - u.a.y) * d1x) / den;
        if (t >= -1e-9 && t <= 1 + 1e-9 && s >= -1e-9 && s <= 1 + 1e-9)
            out.push_back({u.a.x + t * d1x, u.a.y + t * d1y, u.a.z});
        return;
    }
    if (u.arc && !v.arc) return Intersections(v, u, out);
    if (!u.arc) {
        const double dx = u.b.x - u.a.x, dy = u.b.y - u.a.y;
        const double fx = u.a.x - v.c.x, fy = u.a.y - v.c.y;
        const double a = dx * dx + dy * dy, b = 2 * (fx * dx + fy * dy), c = fx * fx + fy * fy - v.r * v.r;
        const double disc = b * b - 4 * a * c;
        if (a <= 0 || disc < 0) return;
        for (double sign : {-1.0, 1.0}) {
            const double t = (-b + sign * std::sqrt(disc)) / (2 * a);
            if (t < -1e-9 || t > 1 + 1e-9) continue;
            const AcGePoint3d p(u.a.x + t * dx, u.a.y + t * dy, u.a.z);
            if (AngleOnArc(v, std::atan2(p.y - v.c.y, p.x - v.c.x))) out.push_back(p);
            if (disc == 0) break;
        }
        return;
    }
    const double dx = v.c.x - u.c.x, dy = v.c.y - u.c.y, d = std::hypot(dx, dy);
    if (d <= 0 || d > u.r + v.r || d < std::fabs(u.r - v.r)) return;
    const double a = (u.r * u.r - v.r * v.r + d * d) / (2 * d);
    const double h = std::sqrt(std::fmax(0, u.r * u.r - a * a));
    const double mx = u.c.x + a * dx / d, my = u.c.y + a * dy / d;
    for (double sign : {-1.0, 1.0}) {
        const AcGePoint3d p(mx + sign * h * (-dy) / d, my + sign * h * dx / d, u.c.z);
        if (AngleOnArc(u, std::atan2(p.y - u.c.y, p.x - u.c.x)) && AngleOnArc(v, std::atan2(p.y - v.c.y, p.x - v.c.x)))
            out.push_back(p);
    }
}

vorn::ed::SnapPoint Snap(const AcGePoint3d& p, int mode, double reach, const AcGePoint3d& from) {
    std::vector<Curve> curves;
    std::vector<Candidate> special;
    for (const AcDbObjectId& id : vorn::ed::dbx::Near(p, reach)) {
        const AcDbEntity* e = AcDbEntity::cast(id.database()->peekObject(id));
        for (const vorn::ed::dbx::Primitive& pr : vorn::ed::dbx::Primitives(e)) {
            if (pr.kind == vorn::ed::dbx::Primitive::kText) {
                if (mode & 64) special.push_back({pr.position, 64});
                continue;
            }
            if (pr.kind == vorn::ed::dbx::Primitive::kArc) {
                Curve k;
                k.arc = true;
                k.c = pr.centre, k.r = pr.radius, k.start = pr.start, k.sweep = pr.sweep;
                curves.push_back(k);
                const bool full = pr.sweep >= 2 * kPi - 1e-12;
                if (mode & 4) special.push_back({pr.centre, 4});
                if ((mode & 1) && !full) {
                    special.push_back({OnCircle(k, k.start), 1});
                    special.push_back({OnCircle(k, k.start + k.sweep), 1});
                }
                if ((mode & 2) && !full) special.push_back({OnCircle(k, k.start + k.sweep / 2), 2});
                if (mode & 16)
                    for (int q = 0; q < 4; ++q)
                        if (AngleOnArc(k, q * kPi / 2)) special.push_back({OnCircle(k, q * kPi / 2), 16});
                continue;
            }
            const auto& pts = pr.points;
            if (pts.size() == 1 && (mode & 8)) special.push_back({pts[0], 8});
            const std::size_t n = pts.size(), segs = n < 2 ? 0 : (pr.closed ? n : n - 1);
            for (std::size_t i = 0; i < segs; ++i) {
                Curve k;
                k.a = pts[i];
                k.b = pts[(i + 1) % n];
                curves.push_back(k);
                if (mode & 1) special.insert(special.end(), {{k.a, 1}, {k.b, 1}});
                if (mode & 2)
                    special.push_back({{(k.a.x + k.b.x) / 2, (k.a.y + k.b.y) / 2, (k.a.z + k.b.z) / 2}, 2});
            }
        }
    }
    if (mode & 32)
        for (std::size_t i = 0; i < curves.size(); ++i)
            for (std::size_t j = i + 1; j < curves.size(); ++j) {
                std::vector<AcGePoint3d> crossing;
                Intersections(curves[i], curves[j], crossing);
                for (const AcGePoint3d& c : crossing) special.push_back({c, 32});
            }
    if (mode & 128)
        for (const Curve& k : curves) {
            if (!k.arc) {
                const double dx = k.b.x - k.a.x, dy = k.b.y - k.a.y, len2 = dx * dx + dy * dy;
                if (len2 <= 0) continue;
                const double t = ((from.x - k.a.x) * dx + (from.y - k.a.y) * dy) / len2;
                if (t >= 0 && t <= 1) special.push_back({{k.a.x + t * dx, k.a.y + t * dy, k.a.z}, 128});
            } else {
                const double ang = std::atan2(from.y - k.c.y, from.x - k.c.x);
                for (double a : {ang, ang + kPi})
                    if (AngleOnArc(k, a)) special.push_back({OnCircle(k, a), 128});
            }
        }
    const auto best = [&](const std::vector<Candidate>& cands, Candidate& found) {
        double bestD = reach;
        bool any = false;
        for (const Candidate& c : cands) {
            const double d = std::hypot(c.point.x - p.x, c.point.y - p.y);
            if (std::isfinite(d) && d <= bestD) {
                bestD = d;
                found = c;
                any = true;
            }
        }
        return any;
    };
    vorn::ed::SnapPoint result;
    result.ucs[0] = p.x, result.ucs[1] = p.y, result.ucs[2] = p.z;
    Candidate found;
    bool any = best(special, found);
    if (!any && (mode & 512)) {
        std::vector<Candidate> near;
        for (const Curve& k : curves) near.push_back({Closest(k, p), 512});
        any = best(near, found);
    }
    if (!any) return result;
    result.ucs[0] = found.point.x, result.ucs[1] = found.point.y, result.ucs[2] = found.point.z;
    result.mode = found.mode;
    return result;
}

}  // namespace reference

void SetVar(const wchar_t* name, double value, bool real) {
    resbuf rb;
    rb.rbnext = nullptr;
    if (real) {
        rb.restype = RTREAL;
        rb.resval.rreal = value;
    } else {
        rb.restype = RTSHORT;
        rb.resval.rint = static_cast<short>(value);
    }
    ASSERT_EQ(acedSetVar(name, &rb), RTNORM);
}

TEST(RunningSnap, FindsWhatWeighingEveryCandidateFinds) {
    vorn::ed::ResetEditor();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> at(0, 60), size(0.5, 12), turn(0, 2 * kPi);
    Drawing d;
    const AcDbObjectId bar = d.block(L"BAR"), ring = d.block(L"RING");
    d.add(Line(-1, 0, 1, 0), bar);
    d.add(Line(0, -1, 0, 1), bar);
    d.add(new AcDbArc(AcGePoint3d(0, 0, 0), 1, 0.3, 2.5), ring);
    d.add(Line(-1, -1, 1, -1), ring);
    // Crowded: entities cross and touch, ends meet, arcs of large circles pass by with their
    // centres near the cursor while their boxes lie far off.
    for (int k = 0; k < 400; ++k) {
        const double x = at(random), y = at(random), s = size(random), a = turn(random);
        switch (k % 8) {
            case 0: case 1: d.add(Line(x, y, x + s * std::cos(a), y + s * std::sin(a))); break;
            case 2: d.add(Circle(x, y, s / 3)); break;
            case 3: d.add(new AcDbArc(AcGePoint3d(x, y, 0), s, a, a + 1.5)); break;
            case 4: {
                auto* pl = new AcDbPolyline(3);
                pl->addVertexAt(0, AcGePoint2d(x, y));
                pl->addVertexAt(1, AcGePoint2d(x + s, y), k % 16 == 4 ? 0.5 : 0.0);
                pl->addVertexAt(2, AcGePoint2d(x + s, y + s));
                d.add(pl);
                break;
            }
            case 5: {
                auto* ref = new AcDbBlockReference(AcGePoint3d(x, y, 0), k % 16 == 5 ? bar : ring);
                ref->setScaleFactors(AcGeScale3d(s / 2));
                ref->setRotation(a);
                d.add(ref);
                break;
            }
            case 6: d.add(new AcDbText(AcGePoint3d(x, y, 0), L"P1", AcDbObjectId(), s / 4)); break;
            default: d.add(new AcDbArc(AcGePoint3d(x - 40 * std::cos(a), y - 40 * std::sin(a), 0), 40, a - 0.02, a + 0.02)); break;
        }
    }
    // Ends that meet exactly, from entities of different kinds: the tie goes to the later one.
    d.add(Line(30, 30, 34, 31));
    d.add(new AcDbArc(AcGePoint3d(30, 28, 0), 2, kPi / 2, kPi));
    const int modes[] = {1 | 2 | 4 | 8 | 16 | 32 | 64 | 128 | 512, 4 | 16, 32, 32 | 128, 512, 1 | 4 | 64, 2 | 32 | 512};
    int compared = 0, snapped = 0;
    for (int mode : modes) {
        SetVar(L"OSMODE", mode, false);
        for (double pixel : {0.05, 0.4}) {
            SetVar(L"PIXELSIZE", pixel, true);
            const double reach = vorn::ed::Aperture() * pixel;
            for (int k = 0; k < 150; ++k) {
                const double from[3] = {at(random), at(random), 0};
                vorn::ed::SetLastPoint(from);
                const double cursor[3] = {k == 0 ? 30.01 : at(random), k == 0 ? 30.02 : at(random), 0};
                const vorn::ed::SnapPoint fast = vorn::ed::FindSnap(cursor);
                const vorn::ed::SnapPoint slow = reference::Snap(AcGePoint3d(cursor[0], cursor[1], 0), mode, reach,
                                                                 AcGePoint3d(from[0], from[1], 0));
                ASSERT_EQ(fast.mode, slow.mode) << "mode " << mode << " at " << cursor[0] << "," << cursor[1];
                ASSERT_EQ(fast.ucs[0], slow.ucs[0]) << "mode " << mode;
                ASSERT_EQ(fast.ucs[1], slow.ucs[1]) << "mode " << mode;
                ++compared;
                snapped += fast.mode != 0;
            }
        }
    }
    EXPECT_EQ(compared, 7 * 2 * 150);
    EXPECT_GT(snapped, compared / 3);  // crowded enough that the cursor finds something often
    vorn::ed::ResetEditor();
}

}  // namespace
