// Pictures: colours where lines are, blank elsewhere, file kinds, CJK text, far coordinates,
// block references, hidden layers and refused outputs.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "host/db/db.h"
#include "host/render/palette.h"
#include "host/render/render.h"
#include "host/render/view.h"
#include "tests/fontcaches.h"
#include "tests/testdrawing.h"

namespace {

using vorn::test::Line;
using vorn::test::TestDrawing;

std::string TempFile(const std::string& name) {
    return std::string(VORN_BINARY_DIR) + "/render_" + name;
}

struct Png {
    cairo_surface_t* s = nullptr;
    explicit Png(const std::string& file) { s = cairo_image_surface_create_from_png(file.c_str()); }
    ~Png() { cairo_surface_destroy(s); }
    bool ok() const { return cairo_surface_status(s) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(s); }
    int height() const { return cairo_image_surface_get_height(s); }
    // 0x00RRGGBB at (x, y).
    unsigned at(int x, int y) const {
        cairo_surface_flush(s);
        const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        return reinterpret_cast<const unsigned*>(row)[x] & 0xFFFFFFu;
    }
    static int Diff(unsigned a, unsigned b) {
        int d = 0;
        for (int k = 0; k < 24; k += 8) d += std::abs(int((a >> k) & 255) - int((b >> k) & 255));
        return d;
    }
    // Pixels near (x, y) nearer to colour than to the background, and clearly not background:
    // lines are anti-aliased, so half a pixel of coverage still counts.
    int countLike(int x, int y, int r, unsigned colour, unsigned background) const {
        int n = 0;
        for (int j = y - r; j <= y + r; ++j)
            for (int i = x - r; i <= x + r; ++i) {
                if (i < 0 || j < 0 || i >= width() || j >= height()) continue;
                unsigned p = at(i, j);
                if (Diff(p, background) > 90 && Diff(p, colour) < Diff(p, background)) ++n;
            }
        return n;
    }
    int countNot(unsigned background) const {
        int n = 0;
        for (int j = 0; j < height(); ++j)
            for (int i = 0; i < width(); ++i)
                if (at(i, j) != background) ++n;
        return n;
    }
};

const unsigned kDark = 0x212830;

// The drawing rendered to a PNG of the build tree, w × h pixels, with the options set.
Png Render(const TestDrawing& d, const std::string& name, int w, int h,
           const std::function<void(vorn::render::RenderOptions&)>& set = nullptr) {
    vorn::render::RenderOptions o;
    o.file = TempFile(name);
    o.width = w;
    o.height = h;
    if (set) set(o);
    std::string error;
    EXPECT_TRUE(vorn::render::RenderDrawing(d.db(), o, error)) << error;
    return Png(o.file);
}

TEST(RenderPicture, LinesInTheirColoursOnBothBackgrounds) {
    TestDrawing d;
    AcDbLine* red = Line(0, 0, 100, 0);
    red->setColorIndex(1);
    d.add(red);
    d.add(Line(0, 100, 100, 100));  // ByLayer: layer 0 is white
    const auto margin = [](vorn::render::RenderOptions& o) { o.margin = 0.1; };
    Png dark = Render(d, "lines.png", 200, 200, margin);
    ASSERT_TRUE(dark.ok());
    EXPECT_EQ(dark.width(), 200);
    // The box 100 × 100 fills 160 pixels: y = 0 at row 180, y = 100 at row 20.
    EXPECT_GT(dark.countLike(100, 180, 1, 0xFF0000, kDark), 0);
    EXPECT_EQ(dark.countLike(100, 20, 1, 0xFF0000, kDark), 0);
    EXPECT_GT(dark.countLike(100, 20, 1, 0xFFFFFF, kDark), 0);
    EXPECT_EQ(dark.at(100, 100), kDark);

    Png light = Render(d, "lines_light.png", 200, 200, [&](vorn::render::RenderOptions& o) {
        margin(o);
        o.lightBackground = true;
    });
    EXPECT_GT(light.countLike(100, 20, 1, 0x000000, 0xFFFFFF), 0);  // colour 7 turns black on white
    EXPECT_EQ(light.at(100, 100), 0xFFFFFFu);
}

TEST(RenderPicture, HiddenLayersAndEmptyDrawings) {
    TestDrawing d;
    EXPECT_EQ(Render(d, "empty.png", 64, 64).countNot(kDark), 0);

    AcDbLine* line = Line(0, 0, 10, 10);
    line->setLayer(d.layer(L"HIDDEN", 7, true));
    d.add(line);
    EXPECT_EQ(Render(d, "hidden.png", 64, 64).countNot(kDark), 0);
}

TEST(RenderPicture, FarFromOriginAndRotatedBlocks) {
    TestDrawing d;
    // A block holding a horizontal red line from (0,0) to (10,0), inserted turned 90°.
    AcDbLine* bar = Line(0, 0, 10, 0);
    bar->setColorIndex(1);
    auto* ref = new AcDbBlockReference(AcGePoint3d(1e7, 1e7, 0), d.block(L"BAR", {bar}));
    ref->setRotation(3.14159265358979 / 2);
    d.add(ref);
    const Png png = Render(d, "block.png", 101, 101, [](vorn::render::RenderOptions& o) { o.margin = 0.0; });
    // Vertical now: red down the middle column, nothing at the sides.
    EXPECT_GT(png.countLike(50, 50, 1, 0xFF0000, kDark), 0);
    EXPECT_EQ(png.countLike(5, 50, 2, 0xFF0000, kDark), 0);
    EXPECT_EQ(png.countLike(95, 50, 2, 0xFF0000, kDark), 0);
}

TEST(RenderPicture, ChineseTextGivesInk) {
    TestDrawing d;
    d.add(new AcDbText(AcGePoint3d(0, 0, 0), L"道路绘制", AcDbObjectId::kNull, 10.0, 0.0));
    d.add(Line(-5, -5, 60, 15));
    // Ink well above what the diagonal line alone draws.
    EXPECT_GT(Render(d, "text.png", 400, 200).countNot(kDark), 1500);
}

// Regression: "%%%" (the slope arrow's percent sign) was drawn as three percent signs. A text
// with the host's control codes must look exactly like the text with the signs they stand for.
TEST(RenderPicture, TextControlCodesShowTheirSigns) {
    const auto draw = [](const wchar_t* text, const std::string& name) {
        TestDrawing d;
        d.add(new AcDbText(AcGePoint3d(0, 0, 0), text, AcDbObjectId::kNull, 10.0, 0.0));
        Render(d, name, 300, 100, [](vorn::render::RenderOptions& o) {
            o.window = AcDbExtents(AcGePoint3d(-5, -5, 0), AcGePoint3d(145, 45, 0));
        });
        return TempFile(name);
    };
    const auto same = [](const std::string& a, const std::string& b) {
        Png pa(a), pb(b);
        if (!pa.ok() || !pb.ok()) return false;
        for (int y = 0; y < pa.height(); ++y)
            for (int x = 0; x < pa.width(); ++x)
                if (pa.at(x, y) != pb.at(x, y)) return false;
        return true;
    };
    EXPECT_TRUE(same(draw(L"1.50%%%", "codes1.png"), draw(L"1.50%", "signs1.png")));
    EXPECT_TRUE(same(draw(L"%%c20 45%%D %%p1", "codes2.png"), draw(L"\u230020 45\u00B0 \u00B11", "signs2.png")));
    EXPECT_TRUE(same(draw(L"%%uA%%u B", "codes3.png"), draw(L"A B", "signs3.png")));
    // Not a control code: kept as typed, so it differs from the text without it.
    EXPECT_FALSE(same(draw(L"5%%x", "codes4.png"), draw(L"5x", "signs4.png")));
}

TEST(RenderPicture, VectorFormatsAndRefusals) {
    TestDrawing d;
    AcDbDatabase& db = d.db();
    d.add(vorn::test::Circle(0, 0, 5.0));
    vorn::render::RenderOptions o;
    std::string error;
    for (auto [name, magic] : {std::pair<const char*, const char*>{"c.svg", "<?xml"}, {"c.pdf", "%PDF"}}) {
        o.file = TempFile(name);
        ASSERT_TRUE(vorn::render::RenderDrawing(db, o, error)) << error;
        std::ifstream in(o.file);
        std::string head(5, '\0');
        in.read(&head[0], 5);
        EXPECT_EQ(head.substr(0, std::string(magic).size()), magic) << name;
    }
    o.file = TempFile("c.bmp");
    EXPECT_FALSE(vorn::render::RenderDrawing(db, o, error));
    EXPECT_NE(error.find(".png, .svg or .pdf"), std::string::npos);
    o.file = "/nonexistent-folder/x.png";
    EXPECT_FALSE(vorn::render::RenderDrawing(db, o, error));
    EXPECT_NE(error.find("/nonexistent-folder/x.png"), std::string::npos);
}

TEST(RenderView, FitKeepsAspectAndDegenerateBoxes) {
    AcDbExtents box(AcGePoint3d(0, 0, 0), AcGePoint3d(200, 100, 0));
    auto v = vorn::render::View::Fit(box, 400, 400, 0.0);
    EXPECT_DOUBLE_EQ(v.scale(), 2.0);
    EXPECT_DOUBLE_EQ(v.deviceY(50), 200.0);  // centred vertically
    auto p = vorn::render::View::Fit(AcDbExtents(AcGePoint3d(5, 5, 0), AcGePoint3d(5, 5, 0)), 100, 100, 0.0);
    EXPECT_GT(p.scale(), 0.0);
    EXPECT_DOUBLE_EQ(p.deviceX(5), 50.0);
}

TEST(RenderPalette, StandardColours) {
    auto c = vorn::render::AciToRgb(3, false);
    EXPECT_EQ(c.g, 1.0);
    EXPECT_EQ(c.r, 0.0);
    EXPECT_EQ(vorn::render::AciToRgb(7, true).r, 0.0);
    EXPECT_EQ(vorn::render::AciToRgb(7, false).r, 1.0);
    auto orange = vorn::render::AciToRgb(30, false);  // hue 30°: red and half green
    EXPECT_EQ(orange.r, 1.0);
    EXPECT_NEAR(orange.g, 0.5, 1e-9);
}

}  // namespace
