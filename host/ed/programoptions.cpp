// Program options shared with the other layers.
#include "host/ed/programoptions.h"

#include "host/ed/editorstate.h"

namespace vorn::ed {
namespace {

ProgramOptions& Options() {
    static ProgramOptions options{L"zh", L"", L"", false};
    return options;
}

}  // namespace

const ProgramOptions& GetProgramOptions() { return Options(); }

void SetProgramOptions(const ProgramOptions& options) {
    Options() = options;
    State().quiet = options.quiet;
    State().transcript.SetQuiet(options.quiet);
}

}  // namespace vorn::ed
