// Opening, saving and drawing the session's drawing.
#include "app/drawingio.h"

#include <memory>

#ifdef VORN_HAVE_DB
#include "host/db/db.h"
#endif

namespace vorn::app {
namespace {

#ifdef VORN_HAVE_DB
std::unique_ptr<AcDbDatabase>& Drawing() {
    static std::unique_ptr<AcDbDatabase> db;
    return db;
}
#endif

}  // namespace

bool OpenDrawing(const Options& options, std::string& error) {
    if (!options.drawing.empty()) {
        error = options.drawing + ": drawings cannot be opened by this build";
        return false;
    }
#ifdef VORN_HAVE_DB
    Drawing() = std::make_unique<AcDbDatabase>(true);
    if (options.units == "m") Drawing()->setDrawUnit(1);
    Drawing()->clearUndo();  // a new drawing starts with nothing to undo
    acdbHostApplicationServices()->setWorkingDatabase(Drawing().get());
#endif
    return true;
}

void InstallDrawingServices() {}

bool SaveDrawing(const std::string& path, std::string& error) {
    error = path + ": drawings cannot be saved by this build";
    return false;
}

bool RenderDrawing(const std::string& path, std::string& error) {
    error = path + ": pictures cannot be drawn by this build";
    return false;
}

}  // namespace vorn::app
