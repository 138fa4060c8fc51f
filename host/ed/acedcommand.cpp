// acedCommand: host commands run synchronously with their answers taken from an argument list.
#include <cstdarg>
#include <memory>

#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editorstate.h"

namespace vorn::ed {
namespace {

constexpr double kPi = 3.14159265358979323846;

Event TextEvent(const std::wstring& text) {
    Event ev;
    ev.kind = text.empty() ? EventKind::kEnter : EventKind::kText;
    ev.text = text;
    return ev;
}

Event PointEvent(const double p[3]) {
    Event ev;
    ev.kind = EventKind::kPoint;
    ev.x = p[0];
    ev.y = p[1];
    ev.z = p[2];
    ev.text = FormatPoint(p);
    return ev;
}

// The answers an argument list gives; false when it is malformed.
bool ToEvents(const resbuf* rb, std::deque<Event>& events) {
    for (; rb; rb = rb->rbnext) {
        switch (rb->restype) {
            case RTSTR:
                events.push_back(TextEvent(rb->resval.rstring ? rb->resval.rstring : L""));
                break;
            case RTREAL:
                events.push_back(TextEvent(FormatReal(rb->resval.rreal)));
                break;
            case RTANG:
            case RTORINT:
                events.push_back(TextEvent(FormatReal(rb->resval.rreal * 180.0 / kPi)));
                break;
            case RTSHORT:
                events.push_back(TextEvent(std::to_wstring(rb->resval.rint)));
                break;
            case RTLONG:
                events.push_back(TextEvent(std::to_wstring(rb->resval.rlong)));
                break;
            case RTPOINT:
            case RT3DPOINT: {
                double p[3] = {rb->resval.rpoint[0], rb->resval.rpoint[1],
                               rb->restype == RTPOINT ? 0.0 : rb->resval.rpoint[2]};
                events.push_back(PointEvent(p));
                break;
            }
            case RTENAME:
            case RTPICKS: {
                Event ev;
                ev.kind = rb->restype == RTENAME ? EventKind::kEntityPick : EventKind::kSelectionSet;
                ev.ename[0] = rb->resval.rlname[0];
                ev.ename[1] = rb->resval.rlname[1];
                ev.hasPoint = false;
                ev.text = rb->restype == RTENAME ? L"<entity>" : L"<selection>";
                events.push_back(ev);
                break;
            }
            case RTLB: {
                // (entity point): an entity picked at a point.
                const resbuf* name = rb->rbnext;
                const resbuf* point = name ? name->rbnext : nullptr;
                const resbuf* end = point ? point->rbnext : nullptr;
                if (!name || name->restype != RTENAME || !point ||
                    (point->restype != RT3DPOINT && point->restype != RTPOINT) || !end ||
                    end->restype != RTLE)
                    return false;
                Event ev;
                ev.kind = EventKind::kEntityPick;
                ev.ename[0] = name->resval.rlname[0];
                ev.ename[1] = name->resval.rlname[1];
                ev.x = point->resval.rpoint[0];
                ev.y = point->resval.rpoint[1];
                ev.z = point->restype == RTPOINT ? 0.0 : point->resval.rpoint[2];
                const double p[3] = {ev.x, ev.y, ev.z};
                ev.text = L"<entity> " + FormatPoint(p);
                events.push_back(ev);
                rb = end;
                break;
            }
            case RTNONE:
                return true;
            default:
                return false;
        }
    }
    return true;
}

}  // namespace
}  // namespace vorn::ed

using namespace vorn::ed;

int acedCmd(const resbuf* rb) {
    std::deque<Event> events;
    if (!ToEvents(rb, events)) return RTREJ;
    int result = RTNORM;
    while (!events.empty()) {
        const Event first = events.front();
        events.pop_front();
        if (first.kind == EventKind::kEnter) continue;  // Enter at Command: does nothing
        if (first.kind != EventKind::kText) return RTREJ;
        const CommandInfo* cmd = LookupCommand(first.text);
        if (!cmd) {
            Print(L"\nUnknown command \"" + first.text + L"\" given to acedCommand.\n");
            return RTREJ;
        }
        AnswerSource source;
        source.events = std::move(events);
        EditorState& s = State();
        s.answerSources.push_back(&source);
        ShowPrompt(L"\nCommand: " + first.text + L"\n");
        struct Pop {
            ~Pop() { State().answerSources.pop_back(); }
        } pop;
        RunCommandInfo(*cmd, CommandActive());
        if (source.ranDry) result = RTCAN;
        events = std::move(source.events);
    }
    return result;
}

int acedCommand(int rtype, ...) {
    va_list args;
    va_start(args, rtype);
    resbuf* rb = rtype == 0 || rtype == RTNONE ? nullptr : BuildListV(rtype, args);
    va_end(args);
    if (!rb && rtype != 0 && rtype != RTNONE) return RTREJ;
    const int rc = acedCmd(rb);
    acutRelRb(rb);
    return rc;
}
