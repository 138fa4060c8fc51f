// Without the drawing database: no drawing variables, snaps, undo steps or previews.
#include "host/ed/editorstate.h"

namespace vorn::ed {

const AcDbEntity* ActiveJigPreview() { return nullptr; }
void SnapClick(const double in[3], double out[3]) {
    for (int i = 0; i < 3; ++i) out[i] = in[i];
}
SnapPoint FindSnap(const double ucs[3]) {
    SnapPoint s;
    for (int i = 0; i < 3; ++i) s.ucs[i] = ucs[i];
    return s;
}
void BeginCommandStep(const std::wstring&) {}
void EndCommandStep() {}
void RegisterUndoCommands() {}
void RegisterDrawingVariables() {}

}  // namespace vorn::ed
