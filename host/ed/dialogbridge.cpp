// The editor's dialog events handed to the host's dialog layer.
#include "host/ed/editorstate.h"
#include "host/ui/dialogevents.h"

namespace vorn::ed {

DialogEventHandler DefaultDialogHandler() {
    return [](const std::wstring& line, std::wstring& output) {
        if (!vorn::ui::HasOpenDialog()) {
            output = L"@" + line + L": no dialog is open to take this event.";
            return false;
        }
        vorn::ui::DialogEvent event;
        std::wstring error;
        if (!vorn::ui::ParseDialogEvent(line, event, error)) {
            output = error;
            return false;
        }
        if (!vorn::ui::DispatchDialogEvent(event, output)) {
            if (output.empty()) output = L"@" + line + L": no dialog took the event.";
            return false;
        }
        return true;
    };
}

}  // namespace vorn::ed
