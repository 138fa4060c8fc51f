// Opening, saving and drawing the session's drawing.
#include "app/drawingio.h"

#include <memory>

#ifdef VORN_HAVE_DB
#include "host/db/db.h"
#endif
#ifdef VORN_HAVE_DXF
#include "host/dxf/dxf.h"
#endif
#ifdef VORN_HAVE_RENDER
#include "host/base/textcodec.h"
#include "host/cmds/cmdutil.h"
#include "host/ed/aced.h"
#include "host/ed/editor.h"
#include "host/cmds/plotcmds.h"
#include "host/render/plot.h"
#include "host/render/render.h"
#endif

namespace vorn::app {
namespace {

#ifdef VORN_HAVE_DB
std::unique_ptr<AcDbDatabase>& Drawing() {
    static std::unique_ptr<AcDbDatabase> db;
    return db;
}
#endif

struct PictureSize {
    int width = 1600;
    int height = 1200;
};

PictureSize& Size() {
    static PictureSize size;
    return size;
}

}  // namespace

void SetPictureSize(int width, int height) { Size() = {width, height}; }

bool OpenDrawing(const Options& options, std::string& error) {
#ifdef VORN_HAVE_DXF
    if (!options.drawing.empty()) {
        // The reader names the file and the line of what it could not take; nothing half read
        // is ever kept.
        std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(options.drawing, error);
        if (!db) return false;
        Drawing() = std::move(db);
        Drawing()->clearUndo();  // the drawing as read is where UNDO stops
        acdbHostApplicationServices()->setWorkingDatabase(Drawing().get());
        return true;
    }
#else
    if (!options.drawing.empty()) {
        error = options.drawing + ": drawings cannot be opened by this build";
        return false;
    }
#endif
#ifdef VORN_HAVE_DB
    Drawing() = std::make_unique<AcDbDatabase>(true);
    if (options.units == "m") Drawing()->setDrawUnit(1);
    Drawing()->clearUndo();  // a new drawing starts with nothing to undo
    acdbHostApplicationServices()->setWorkingDatabase(Drawing().get());
#endif
    return true;
}

void InstallDrawingServices() {
#ifdef VORN_HAVE_RENDER
    vorn::ed::SetSnapshotWriter([](const std::wstring& file, const AcDbEntity* preview, std::wstring& error) {
        AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
        if (!db) {
            error = L"no drawing is open";
            return false;
        }
        vorn::render::RenderOptions o;
        o.file = vorn::ToUtf8(file);
        o.width = Size().width;
        o.height = Size().height;
        o.window = vorn::cmds::PictureWindowExtents();  // as ZOOM and PAN left it
        if (preview) o.preview.push_back(preview);
        for (const vorn::ed::TemporaryVector& v : vorn::ed::TemporaryVectors())
            o.vectors.push_back({AcGePoint3d(v.from[0], v.from[1], v.from[2]), AcGePoint3d(v.to[0], v.to[1], v.to[2]),
                                 v.colorIndex});
        std::string message;
        if (vorn::render::RenderDrawing(*db, o, message)) return true;
        error = vorn::FromUtf8(message);
        return false;
    });
#endif
}

bool SaveDrawing(const std::string& path, std::string& error) {
#ifdef VORN_HAVE_DXF
    if (!Drawing()) {
        error = path + ": no drawing is open";
        return false;
    }
    // Written beside the target and renamed over it: a failed save leaves the old file whole.
    return vorn::dxf::WriteDxf(*Drawing(), path, error) == Acad::eOk;
#else
    error = path + ": drawings cannot be saved by this build";
    return false;
#endif
}

bool RenderDrawing(const std::string& path, std::string& error) {
#ifdef VORN_HAVE_RENDER
    if (!Drawing()) {
        error = path + ": no drawing is open";
        return false;
    }
    vorn::render::RenderOptions o;
    o.file = path;
    o.width = Size().width;
    o.height = Size().height;
    o.window = vorn::cmds::PictureWindowExtents();  // as ZOOM and PAN left it
    return vorn::render::RenderDrawing(*Drawing(), o, error);
#else
    error = path + ": pictures cannot be drawn by this build";
    return false;
#endif
}

bool CheckPlotOptions(const Options& options, std::string& error) {
#ifdef VORN_HAVE_RENDER
    if (options.plot.empty()) return true;
    vorn::render::PlotOptions o;
    double scale = 0;
    return vorn::render::ParseSheet(options.sheet, o.sheet, error) &&
           (options.plotScale.empty() || vorn::render::ParsePlotScale(options.plotScale, scale, error)) &&
           vorn::cmds::PlotStyleTableFor(options.plotStyle, o.style, error);
#else
    error = options.plot.empty() ? "" : options.plot + ": plots cannot be drawn by this build";
    return options.plot.empty();
#endif
}

bool PlotDrawing(const Options& options, std::string& error) {
#ifdef VORN_HAVE_RENDER
    if (!Drawing()) {
        error = options.plot + ": no drawing is open";
        return false;
    }
    vorn::render::PlotOptions o;
    o.file = options.plot;
    o.monochrome = options.mono;
    o.scale = Drawing()->printScale();
    return vorn::render::ParseSheet(options.sheet, o.sheet, error) &&
           (options.plotScale.empty() || vorn::render::ParsePlotScale(options.plotScale, o.scale, error)) &&
           vorn::cmds::PlotStyleTableFor(options.plotStyle, o.style, error) &&
           vorn::cmds::PlotAndReport(*Drawing(), o, error);
#else
    error = options.plot + ": plots cannot be drawn by this build";
    return false;
#endif
}

}  // namespace vorn::app
