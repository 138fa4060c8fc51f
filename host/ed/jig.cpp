// The drag loop of jigs and the acquisition of their samples.
#include "host/ed/jig.h"

#include <cmath>
#include <cstdarg>
#include <cwchar>

#include "host/ed/aced.h"
#include "host/ed/editorstate.h"
#include "host/ed/keywords.h"
#include "host/ed/ucs.h"
#include "host/ed/wideformat.h"

namespace vorn::ed {

const AcDbEntity* ActiveJigPreview() {
    AcEdJig* jig = AcEdJig::active();
    return jig ? jig->entity() : nullptr;
}

}  // namespace vorn::ed

using namespace vorn::ed;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Restores the jig that ran before (drags may nest: a sampler may not, but a command run
// from inside an update could).
struct ActiveGuard {
    explicit ActiveGuard(AcEdJig* jig) : previous(State().activeJig) { State().activeJig = jig; }
    ~ActiveGuard() { State().activeJig = previous; }
    AcEdJig* previous;
};

// A sampler that acquires nothing would spin the drag for ever; it ends the drag instead.
constexpr int kMaxIdleSamplers = 3;

}  // namespace

AcEdJig::AcEdJig() = default;
AcEdJig::~AcEdJig() {
    if (State().activeJig == this) State().activeJig = nullptr;
}

AcEdJig* AcEdJig::active() { return State().activeJig; }

AcEdJig::DragStatus AcEdJig::sampler() { return kCancel; }
bool AcEdJig::update() { return true; }
AcDbEntity* AcEdJig::entity() const { return nullptr; }

void AcEdJig::setDispPrompt(const wchar_t* prompt, ...) {
    va_list args;
    va_start(args, prompt);
    m_prompt = prompt ? FormatWideV(prompt, args) : L"";
    va_end(args);
}

AcEdJig::DragStatus AcEdJig::drag() {
    ActiveGuard guard(this);
    ShowPrompt(m_prompt);
    int idle = 0;
    for (;;) {
        m_final = false;
        m_acquired = 0;
        const DragStatus status = sampler();
        if (m_acquired == 0 && ++idle >= kMaxIdleSamplers) return kCancel;
        if (status == kNormal) update();
        if (status == kNormal || status == kNoChange) {
            // A final pick ends the drag normally even when it lands where the cursor was.
            if (m_final) return kNormal;
            continue;
        }
        return status;
    }
}

AcEdJig::DragStatus AcEdJig::Acquire(Measure what, const AcGePoint3d* base, double out[3],
                                     std::wstring* text) {
    ++m_acquired;
    const KeywordList kws = ParseKeywords(m_keywords);
    const unsigned flags = kWantMoves | ((m_controls & kDontEchoCancelForCtrlC) ? kQuietCancel : 0u);
    // A refused answer brings the prompt back: the jig's own, or the one the command printed
    // itself before the drag (it stands on the unfinished line).
    const std::wstring again = !m_prompt.empty() ? m_prompt
                               : State().transcript.AtLineStart() ? std::wstring()
                                                                  : L"\n" + State().transcript.CurrentLine();
    double basePoint[3];
    if (base) {
        basePoint[0] = base->x;
        basePoint[1] = base->y;
        basePoint[2] = base->z;
    } else {
        for (int i = 0; i < 3; ++i) basePoint[i] = State().lastPoint[i];
    }
    // What a world point means for the measure asked.
    const auto measure = [&](const double w[3]) {
        if (what == Measure::kPoint) {
            for (int i = 0; i < 3; ++i) out[i] = w[i];
            if (!(m_controls & kAccept3dCoordinates)) out[2] = base ? base->z : 0.0;
        } else if (what == Measure::kDist) {
            out[0] = std::hypot(w[0] - basePoint[0], w[1] - basePoint[1]);
        } else {
            out[0] = std::atan2(w[1] - basePoint[1], w[0] - basePoint[0]);
            if (out[0] < 0) out[0] += 2 * kPi;
        }
    };
    const InputScope scope(InputKind::kDrag, m_prompt.empty() ? State().transcript.CurrentLine() : m_prompt,
                           nullptr, kws.local);
    for (;;) {
        const Event ev = NextAnswer(m_prompt, flags);
        if (ev.kind == EventKind::kCancel) return kCancel;
        if (ev.kind == EventKind::kMove) {
            const double u[3] = {ev.x, ev.y, ev.z};
            double w[3];
            UcsToWcsPoint(u, w);
            measure(w);
            return kNormal;
        }
        if (ev.kind == EventKind::kEnter) {
            if (m_controls & kNullResponseAccepted) return kNull;
            Refuse(L"An answer is required here; Enter is not accepted.", again);
            continue;
        }
        if (what == Measure::kString) {
            if (text) *text = ev.text;
            m_final = true;
            return kNormal;
        }
        if (ev.kind == EventKind::kText) {
            if (auto k = MatchKeyword(kws, ev.text)) {
                State().lastInput = kws.global[*k];
                return static_cast<DragStatus>(kKW1 + static_cast<int>(*k));
            }
            if (what != Measure::kPoint) {
                if (auto n = ParseNumber(ev.text)) {
                    if ((m_controls & kNoZeroResponseAccepted) && *n == 0.0) {
                        Refuse(L"The value must not be zero.", again);
                        continue;
                    }
                    if ((m_controls & kNoNegativeResponseAccepted) && *n < 0.0) {
                        Refuse(L"The value must not be negative.", again);
                        continue;
                    }
                    out[0] = what == Measure::kAngle ? UcsToWcsAngle(*n * kPi / 180.0) : *n;
                    m_final = true;
                    return kNormal;
                }
            }
        }
        double u[3];
        if (PointFromAnswer(ev, true, u)) {
            if (!(m_controls & kDontUpdateLastPoint)) SetLastPoint(u);
            double w[3];
            UcsToWcsPoint(u, w);
            measure(w);
            m_final = true;
            return kNormal;
        }
        if (ev.kind == EventKind::kText && (m_controls & kAcceptOtherInputString)) {
            State().lastInput = ev.text;
            return kOther;
        }
        std::wstring msg = L"\"" + ev.text + L"\" is not accepted here: expected " +
                           (what == Measure::kPoint   ? L"a point"
                            : what == Measure::kDist ? L"a distance or a point"
                                                     : L"an angle in degrees or a point");
        if (!kws.empty()) msg += L", or " + DescribeKeywords(kws);
        Refuse(msg + L".", again);
    }
}

AcEdJig::DragStatus AcEdJig::AcquirePoint(AcGePoint3d& point, const AcGePoint3d* base) {
    double out[3] = {point.x, point.y, point.z};
    const DragStatus s = Acquire(Measure::kPoint, base, out, nullptr);
    if (s == kNormal) point = AcGePoint3d(out[0], out[1], out[2]);
    return s;
}

AcEdJig::DragStatus AcEdJig::AcquireScalar(bool angle, double& value, const AcGePoint3d* base) {
    double out[3] = {value, 0, 0};
    const DragStatus s = Acquire(angle ? Measure::kAngle : Measure::kDist, base, out, nullptr);
    if (s == kNormal) value = out[0];
    return s;
}

AcEdJig::DragStatus AcEdJig::acquirePoint(AcGePoint3d& p) { return AcquirePoint(p, nullptr); }
AcEdJig::DragStatus AcEdJig::acquirePoint(AcGePoint3d& p, const AcGePoint3d& base) {
    return AcquirePoint(p, &base);
}
AcEdJig::DragStatus AcEdJig::acquireDist(double& d) { return AcquireScalar(false, d, nullptr); }
AcEdJig::DragStatus AcEdJig::acquireDist(double& d, const AcGePoint3d& base) {
    return AcquireScalar(false, d, &base);
}
AcEdJig::DragStatus AcEdJig::acquireAngle(double& a) { return AcquireScalar(true, a, nullptr); }
AcEdJig::DragStatus AcEdJig::acquireAngle(double& a, const AcGePoint3d& base) {
    return AcquireScalar(true, a, &base);
}

AcEdJig::DragStatus AcEdJig::acquireString(wchar_t (&text)[2049]) {
    double out[3] = {0, 0, 0};
    std::wstring s;
    const DragStatus status = Acquire(Measure::kString, nullptr, out, &s);
    if (status == kNormal) {
        const std::size_t n = s.size() < 2048 ? s.size() : 2048;
        std::wmemcpy(text, s.c_str(), n);
        text[n] = L'\0';
    }
    return status;
}
