// Opening, saving and drawing the session's drawing.
#include "app/drawingio.h"

namespace vorn::app {

bool OpenDrawing(const Options& options, std::string& error) {
    if (!options.drawing.empty()) {
        error = options.drawing + ": drawings cannot be opened by this build";
        return false;
    }
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
