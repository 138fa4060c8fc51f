// The window's drawing view on a site plan of 1,000,000 entities, 1600 × 1000 pixels, Qt on its
// offscreen platform (software rendering):
// - the complete picture of the whole site, of a district and of a close-up (target: 0.5 s),
//   and beside it the whole site drawn entity by entity through Cairo, as the view once did;
// - the answer to a zoom or a pan, the old picture moved or scaled (target: one frame, 16 ms);
// - a cursor move during a road drag and a 500-space parking row drag, run by the real jigs
//   through the editor's event source: the move, the jig's update and the frame with its
//   preview (target: one frame; the drawing itself must not be drawn again);
// - the running snap under the cursor in a dense and a sparse area (target: 1 ms);
// - a DXF file of the site opened and its first complete frame (no target).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/gui/sitedrawing.h"
#include "gui/drawingview.h"
#include "gui/viewrender.h"
#include "host/db/db.h"
#include "host/dxf/dxf.h"
#include "host/ed/editor.h"
#include "host/ed/sysvars.h"
#include "host/ed/ucs.h"
#include "host/render/cairosink.h"
#include "parking/parkjig.h"
#include "parking/parksettings.h"
#include "parking/parkspace.h"
#include "road/roadjig.h"

namespace {

using vorn::bench::SitePlan;
using vorn::ed::Event;
using vorn::ed::EventKind;

constexpr int kViewWidth = 1600, kViewHeight = 1000;
constexpr double kCompleteTargetMs = 500, kFrameTargetMs = 16, kSnapTargetMs = 1;
// All running snaps but the ones that only mean something at a prompt with a base point.
constexpr int kAllSnaps = 1 | 2 | 4 | 8 | 16 | 32 | 64 | 128 | 512;
// The plot at the middle of the site, where the zooms and the snaps look.
constexpr int kMidI = 25, kMidJ = 10;

struct Site {
    SitePlan plan;
    std::unique_ptr<AcDbDatabase> db;
    AcDbObjectId car;
    std::unique_ptr<vorn::gui::DrawingView> view;
};
std::unique_ptr<Site> g_site;

Site& TheSite() {
    if (!g_site) {
        g_site = std::make_unique<Site>();
        g_site->db = vorn::bench::MakeSiteDrawing(g_site->plan, &g_site->car);
        acdbHostApplicationServices()->setWorkingDatabase(g_site->db.get());
        g_site->view = std::make_unique<vorn::gui::DrawingView>(nullptr);
        g_site->view->resize(kViewWidth, kViewHeight);
        g_site->view->show();
    }
    acdbHostApplicationServices()->setWorkingDatabase(g_site->db.get());
    return *g_site;
}

void SetOsmode(int mode) {
    resbuf rb;
    rb.restype = RTSHORT;
    rb.resval.rint = static_cast<short>(mode);
    rb.rbnext = nullptr;
    acedSetVar(L"OSMODE", &rb);
}

// Shows the window zoom times smaller than the whole site around the middle plot's parking
// (zoom 1: the whole site).
void ZoomTo(vorn::gui::DrawingView& view, const SitePlan& plan, double zoom) {
    view.zoomExtents();
    if (zoom <= 1) return;
    const AcGePoint3d c = vorn::bench::DensePoint(kMidI, kMidJ);
    const double w = plan.width() / zoom / 2, h = w * kViewHeight / kViewWidth;
    view.zoomWindow(c.x - w, c.y - h, c.x + w, c.y + h);
}

int LitPixels(const QImage& image) {
    const QRgb background = vorn::gui::BackgroundColour().rgb();
    int n = 0;
    for (int y = 0; y < image.height(); y += 2) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 2) n += row[x] != background;
    }
    return n * 4;
}

void MoveMouse(QWidget& widget, const QPointF& at) {
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
}

// ---- complete pictures ----

void BM_CompleteFrame(benchmark::State& state) {
    Site& s = TheSite();
    const double zoom = static_cast<double>(state.range(0));
    ZoomTo(*s.view, s.plan, zoom);
    for (auto _ : state) s.view->renderNow();
    state.counters["entities"] = s.plan.entities();
    state.counters["lit_pixels"] = LitPixels(s.view->cachedImage());
    state.counters["target_ms"] = kCompleteTargetMs;
}
BENCHMARK(BM_CompleteFrame)->ArgName("zoom")->Arg(1)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

// The peer: the whole site as the view drew it before it had a level of detail, every entity
// the window meets through the pictures' Cairo painter, a stroke each.
void BM_CompleteFrameEntityByEntity(benchmark::State& state) {
    Site& s = TheSite();
    ZoomTo(*s.view, s.plan, 1);
    const vorn::render::View view = s.view->transform();
    QImage image(kViewWidth, kViewHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(vorn::gui::BackgroundColour());
        cairo_surface_t* surface = cairo_image_surface_create_for_data(
            image.bits(), CAIRO_FORMAT_ARGB32, image.width(), image.height(), static_cast<int>(image.bytesPerLine()));
        cairo_t* cr = cairo_create(surface);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        AcDbExtents box;
        box.addPoint(view.world(0, image.height()));
        box.addPoint(view.world(image.width(), 0));
        {
            vorn::render::CairoSink sink(cr, view, s.db.get());
            for (const AcDbObjectId& id : s.db->entitiesMeetingBox(box))
                if (const AcDbEntity* e = AcDbEntity::cast(s.db->peekObject(id))) sink.drawEntity(e);
        }
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    state.counters["lit_pixels"] = LitPixels(image);
}
BENCHMARK(BM_CompleteFrameEntityByEntity)->Iterations(1)->Unit(benchmark::kMillisecond);

// ---- the answer to a zoom and a pan: the cached picture moved or scaled, the overlay ----

// Each iteration gives two answers: the change and its way back.
void ViewAnswers(benchmark::State& state, bool zoom) {
    Site& s = TheSite();
    ZoomTo(*s.view, s.plan, 4);
    s.view->renderNow();
    const std::uint64_t renders = s.view->cacheRenders();
    const QPointF middle(kViewWidth / 2.0, kViewHeight / 2.0);
    MoveMouse(*s.view, middle);
    QImage frame(kViewWidth, kViewHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (zoom) s.view->zoomAbout(1.25, middle);
        else s.view->panPixels(40, 25);
        s.view->render(&frame);
        if (zoom) s.view->zoomPrevious();
        else s.view->panPixels(-40, -25);
        s.view->render(&frame);
    }
    if (s.view->cacheRenders() != renders) state.SkipWithError("the answer drew the drawing again");
    state.counters["target_ms"] = kFrameTargetMs;
    s.view->renderNow();
}
void BM_ZoomAnswer(benchmark::State& state) { ViewAnswers(state, true); }
void BM_PanAnswer(benchmark::State& state) { ViewAnswers(state, false); }
BENCHMARK(BM_ZoomAnswer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanAnswer)->Unit(benchmark::kMillisecond);

// ---- a cursor move during a drag ----

// Runs drag with the editor's events coming from here: at each request the frame of the
// previous move is painted (the jig has taken it and updated its preview), then the cursor
// moves to the next pixel of path and that move is the answer. One iteration is one move.
template <typename Path, typename Drag>
void DragMoves(benchmark::State& state, vorn::gui::DrawingView& view, Path path, Drag drag) {
    QImage frame(kViewWidth, kViewHeight, QImage::Format_ARGB32_Premultiplied);
    const std::uint64_t renders = view.cacheRenders();
    int step = 0;
    bool previewSeen = true;
    vorn::ed::SetEventSource(
        [&](Event& ev) {
            if (step > 0) {
                previewSeen = previewSeen && vorn::ed::ActiveJigPreview() != nullptr;
                view.render(&frame);
            }
            ev = Event{};
            ev.silent = true;
            if (!state.KeepRunning()) {
                ev.kind = EventKind::kCancel;
                return true;
            }
            const QPointF at = path(step++);
            MoveMouse(view, at);
            // The point the window hands the editor: the snap found under the cursor, or
            // the cursor itself.
            double ucs[3];
            if (view.snap().mode != 0) {
                for (int i = 0; i < 3; ++i) ucs[i] = view.snap().ucs[i];
            } else {
                const AcGePoint3d w = view.toWorld(at);
                const double wcs[3] = {w.x, w.y, 0};
                vorn::ed::WcsToUcsPoint(wcs, ucs);
            }
            ev.kind = EventKind::kMove;
            ev.x = ucs[0];
            ev.y = ucs[1];
            ev.z = ucs[2];
            return true;
        },
        false);
    drag();
    vorn::ed::SetEventSource(nullptr, false);
    if (!previewSeen) state.SkipWithError("the drag showed no preview");
    if (view.cacheRenders() != renders) state.SkipWithError("a cursor move drew the drawing again");
    state.counters["target_ms"] = kFrameTargetMs;
}

void BM_RoadDragMove(benchmark::State& state) {
    Site& s = TheSite();
    ZoomTo(*s.view, s.plan, 8);
    s.view->renderNow();
    SetOsmode(kAllSnaps);
    vorn::ed::SetTranscriptSink([](const std::string&) {});
    const AcGePoint3d start = vorn::bench::SparsePoint(kMidI - 1, kMidJ);
    // The cursor sweeps to and fro across the view.
    auto path = [](int step) {
        const int k = step % 400;
        const double t = (k < 200 ? k : 400 - k) / 200.0;
        return QPointF(200 + 1200 * t, 300 + 400 * t * t);
    };
    DragMoves(state, *s.view, path, [&] {
        int keyword = 0;
        AcGePoint3d end;
        DragRoadLine(nullptr, L"", L"", start, keyword, end);
    });
    vorn::ed::SetTranscriptSink(nullptr);
    SetOsmode(0);
}
BENCHMARK(BM_RoadDragMove)->Unit(benchmark::kMillisecond);

void BM_ParkDragMove(benchmark::State& state) {
    Site& s = TheSite();
    if (s.car.isNull()) {
        state.SkipWithError("support/car.dxf could not be read");
        return;
    }
    // The row of 500 spaces is 1.2 km long: a view 2 km wide shows it whole.
    ZoomTo(*s.view, s.plan, 2);
    s.view->renderNow();
    SetOsmode(kAllSnaps);
    vorn::ed::SetTranscriptSink([](const std::string&) {});
    g_strParkWidth = L"2400";
    g_strParkDepth = L"5300";
    g_strParkAngle = L"90";
    g_strParkRows = L"单排";
    g_strParkStyle = L"有停车";
    g_dParkWidth = 2400;
    g_dParkDepth = 5300;
    const QPointF basePixel(150, 500);
    const AcGePoint3d base = s.view->toWorld(basePixel);
    const double spaces = 500.5 * 2400 * s.view->transform().scale();  // pixels to the 500th space
    KyDbParkSpace row(s.car);
    KyDrawParkSpaceJig jig(&row, nullptr);
    jig.SetBasePoint(base);
    // The cursor wavers across the row's end: every move lays the 500 spaces anew.
    auto path = [&](int step) { return QPointF(basePixel.x() + spaces, basePixel.y() + (step % 7) - 3); };
    DragMoves(state, *s.view, path, [&] { jig.DoDrag(); });
    state.counters["spaces"] = row.GetCount();
    if (row.GetCount() != 500) state.SkipWithError("the row did not hold 500 spaces");
    vorn::ed::SetTranscriptSink(nullptr);
    SetOsmode(0);
}
BENCHMARK(BM_ParkDragMove)->Unit(benchmark::kMillisecond);

// ---- the running snap ----

void BM_Snap(benchmark::State& state) {
    Site& s = TheSite();
    const bool dense = state.range(0) == 1;
    ZoomTo(*s.view, s.plan, static_cast<double>(state.range(1)));  // sets the pixel size
    SetOsmode(kAllSnaps);
    const AcGePoint3d p = dense ? vorn::bench::DensePoint(kMidI, kMidJ) : vorn::bench::SparsePoint(kMidI, kMidJ);
    // A little off the point, so that the search has to weigh its candidates.
    const double px = 1.0 / s.view->transform().scale();
    const double wcs[3] = {p.x + 2 * px, p.y - 1.5 * px, 0};
    double ucs[3];
    vorn::ed::WcsToUcsPoint(wcs, ucs);
    int mode = 0;
    for (auto _ : state) {
        const vorn::ed::SnapPoint snap = vorn::ed::FindSnap(ucs);
        mode = snap.mode;
        benchmark::DoNotOptimize(snap);
    }
    SetOsmode(0);
    state.counters["snap_mode"] = mode;
    state.counters["near"] = static_cast<double>(
        s.db->entitiesNearPoint(AcGePoint3d(wcs[0], wcs[1], 0), vorn::ed::Aperture() * px).length());
    state.counters["target_ms"] = kSnapTargetMs;
}
BENCHMARK(BM_Snap)->ArgNames({"dense", "zoom"})->Args({1, 1})->Args({0, 1})->Args({1, 8})->Args({0, 8})
    ->Unit(benchmark::kMicrosecond);

// ---- opening the site's file ----

std::string SiteFile() { return std::string(VORN_BINARY_DIR) + "/gui_view_bench.dxf"; }

void BM_OpenToFirstFrame(benchmark::State& state) {
    Site& s = TheSite();
    std::string error;
    if (vorn::dxf::WriteDxf(*s.db, SiteFile(), error) != Acad::eOk) {
        state.SkipWithError(error.c_str());
        return;
    }
    using Clock = std::chrono::steady_clock;
    double readSeconds = 0, frameSeconds = 0;
    int lit = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(SiteFile(), error);
        if (!db) {
            state.SkipWithError(error.c_str());
            break;
        }
        const auto t1 = Clock::now();
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        {
            vorn::gui::DrawingView view(nullptr);
            view.resize(kViewWidth, kViewHeight);
            view.renderNow();  // zooms to the drawing's extents first
            const auto t2 = Clock::now();
            readSeconds += std::chrono::duration<double>(t1 - t0).count();
            frameSeconds += std::chrono::duration<double>(t2 - t1).count();
            lit = LitPixels(view.cachedImage());
        }
        state.PauseTiming();
        acdbHostApplicationServices()->setWorkingDatabase(s.db.get());
        db.reset();
        state.ResumeTiming();
    }
    std::filesystem::remove(SiteFile());
    state.counters["read_s"] = readSeconds / static_cast<double>(state.iterations());
    state.counters["first_frame_s"] = frameSeconds / static_cast<double>(state.iterations());
    state.counters["lit_pixels"] = lit;
}
BENCHMARK(BM_OpenToFirstFrame)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_site.reset();
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    return 0;
}
