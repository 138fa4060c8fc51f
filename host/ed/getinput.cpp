// The blocking input calls: one shared prompt loop and what each call accepts as a value.
#include <cmath>
#include <cstdarg>
#include <cwchar>
#include <functional>
#include <vector>

#include "host/ed/aced.h"
#include "host/ed/editorstate.h"
#include "host/ed/keywords.h"
#include "host/ed/ucs.h"

namespace vorn::ed {
namespace {

constexpr double kPi = 3.14159265358979323846;

enum class Verdict { kAccept, kRefuse, kNotValue };

struct Judged {
    Verdict verdict;
    std::wstring message;  // for kRefuse
};

using Interpreter = std::function<Judged(const Event& ev, int bits)>;

std::wstring KeywordWords(const PendingInitGet& ig) {
    std::wstring all;
    for (const auto& k : ig.keywords) all += k + L" ";
    return all;
}

std::wstring Quoted(const Event& ev) { return L"\"" + ev.text + L"\""; }

// The loop every prompt shares: Enter, Esc, keywords, arbitrary text and refusals.
// expected names what a value looks like, for the message after an answer that is none.
int RunPrompt(const wchar_t* promptText, const std::wstring& expected, bool keywordsOnly,
              const Interpreter& interpret, const PendingInitGet& ig,
              InputKind kind = InputKind::kValue, const double* base = nullptr) {
    EditorState& s = State();
    const std::wstring prompt = promptText ? promptText : L"";
    const KeywordList kws = ParseKeywords(KeywordWords(ig));
    const InputScope scope(kind, prompt, base, kws.local);
    ShowPrompt(prompt);
    for (;;) {
        const Event ev = NextAnswer(prompt);
        if (ev.kind == EventKind::kCancel) return RTCAN;
        if (ev.kind == EventKind::kEnter) {
            if (ig.bits & RSG_NONULL) {
                Refuse(L"An answer is required here; Enter is not accepted.", prompt);
                continue;
            }
            return RTNONE;
        }
        if (!keywordsOnly) {
            const Judged j = interpret(ev, ig.bits);
            if (j.verdict == Verdict::kAccept) return RTNORM;
            if (j.verdict == Verdict::kRefuse) {
                Refuse(j.message, prompt);
                continue;
            }
        }
        if (ev.kind == EventKind::kText) {
            if (auto k = MatchKeyword(kws, ev.text)) {
                s.lastInput = kws.global[*k];
                return RTKWORD;
            }
            if (ig.bits & RSG_OTHER) {
                s.lastInput = ev.text;
                return RTKWORD;
            }
        }
        std::wstring msg = (ev.kind == EventKind::kText ? Quoted(ev) : std::wstring(L"That")) +
                           L" is not accepted here: expected " + expected;
        if (!kws.empty()) msg += (expected.empty() ? L"" : L", or ") + DescribeKeywords(kws);
        Refuse(msg + L".", prompt);
    }
}

// Range checks that the acedInitGet bits ask for.
bool RangeRefused(double v, int bits, std::wstring& message) {
    if ((bits & RSG_NOZERO) && v == 0.0) {
        message = L"The value must not be zero.";
        return true;
    }
    if ((bits & RSG_NONEG) && v < 0.0) {
        message = L"The value must not be negative.";
        return true;
    }
    return false;
}

// A second point for a distance or an angle measured from first.
int AskSecondPoint(const double first[3], double second[3]) {
    const std::wstring prompt = L"\nSpecify second point: ";
    const InputScope scope(InputKind::kDistance, prompt, first);
    ShowPrompt(prompt);
    for (;;) {
        const Event ev = NextAnswer(prompt);
        if (ev.kind == EventKind::kCancel) return RTCAN;
        if (PointFromAnswer(ev, true, second)) {
            SetLastPoint(second);
            return RTNORM;
        }
        Refuse(L"A second point is required: expected x,y, x,y,z or @dx,dy.", prompt);
    }
}

double Dist(const double a[3], const double b[3], bool flat) {
    const double dx = b[0] - a[0], dy = b[1] - a[1], dz = flat ? 0.0 : b[2] - a[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void CopyOut(const std::wstring& text, wchar_t* result, std::size_t bufLen, bool& truncated) {
    truncated = false;
    if (!result || bufLen == 0) return;
    std::size_t n = text.size();
    if (n > bufLen - 1) {
        n = bufLen - 1;
        truncated = true;
    }
    std::wmemcpy(result, text.c_str(), n);
    result[n] = L'\0';
}

int GetPointImpl(const ads_point base, const wchar_t* prompt, ads_point result, bool corner) {
    const PendingInitGet ig = TakeInitGet();
    double answer[3] = {0, 0, 0};
    const int rc = RunPrompt(prompt, L"a point (x,y, x,y,z or @dx,dy)", false,
                             [&](const Event& ev, int) {
                                 if (!PointFromAnswer(ev, !(ig.bits & RSG_NOOSNAP), answer))
                                     return Judged{Verdict::kNotValue, {}};
                                 return Judged{Verdict::kAccept, {}};
                             },
                             ig, corner ? InputKind::kCorner : InputKind::kPoint, base);
    if (rc == RTNORM) {
        SetLastPoint(answer);
        if (result)
            for (int i = 0; i < 3; ++i) result[i] = answer[i];
    }
    return rc;
}

// Distances and angles share their shape: a number, or points.
int GetMeasure(const ads_point base, const wchar_t* prompt, ads_real* result, bool angle) {
    const PendingInitGet ig = TakeInitGet();
    double value = 0;
    bool needSecond = false;
    double first[3] = {0, 0, 0};
    const std::wstring expected = angle ? L"an angle in degrees or a point"
                                        : L"a distance or a point";
    int rc = RunPrompt(prompt, expected, false,
                       [&](const Event& ev, int bits) {
                           std::wstring msg;
                           if (ev.kind == EventKind::kText) {
                               if (auto n = ParseNumber(ev.text)) {
                                   value = angle ? *n * kPi / 180.0 : *n;
                                   if (angle ? ((bits & RSG_NOZERO) && *n == 0.0)
                                             : RangeRefused(*n, bits, msg))
                                       return Judged{Verdict::kRefuse,
                                                     msg.empty() ? L"The value must not be zero."
                                                                 : msg};
                                   return Judged{Verdict::kAccept, {}};
                               }
                           }
                           double p[3];
                           if (!PointFromAnswer(ev, true, p)) return Judged{Verdict::kNotValue, {}};
                           SetLastPoint(p);
                           if (base) {
                               const double b[3] = {base[0], base[1], base[2]};
                               value = angle ? std::atan2(p[1] - b[1], p[0] - b[0])
                                             : Dist(b, p, (bits & RSG_2D) != 0);
                               if (!angle && RangeRefused(value, bits, msg))
                                   return Judged{Verdict::kRefuse, msg};
                           } else {
                               needSecond = true;
                               for (int i = 0; i < 3; ++i) first[i] = p[i];
                           }
                           return Judged{Verdict::kAccept, {}};
                       },
                       ig, InputKind::kDistance, base);
    if (rc == RTNORM && needSecond) {
        for (;;) {
            double second[3];
            rc = AskSecondPoint(first, second);
            if (rc != RTNORM) return rc;
            value = angle ? std::atan2(second[1] - first[1], second[0] - first[0])
                          : Dist(first, second, (ig.bits & RSG_2D) != 0);
            std::wstring msg;
            if (!angle && RangeRefused(value, ig.bits, msg)) {
                Refuse(msg, L"");
                continue;
            }
            break;
        }
    }
    if (rc == RTNORM && result) {
        if (angle) {
            value = std::fmod(value, 2 * kPi);
            if (value < 0) value += 2 * kPi;
        }
        *result = value;
    }
    return rc;
}

}  // namespace

bool PointFromAnswer(const Event& ev, bool snap, double ucs[3]) {
    switch (ev.kind) {
        case EventKind::kText: {
            const auto tp = ParsePoint(ev.text);
            if (!tp) return false;
            double last[3];
            WcsToUcsPoint(State().lastPoint, last);
            double base[3] = {0, 0, 0};
            if (tp->relative)
                for (int i = 0; i < 3; ++i) base[i] = last[i];
            if (tp->polar) {
                ucs[0] = base[0] + tp->x * std::cos(tp->y);
                ucs[1] = base[1] + tp->x * std::sin(tp->y);
                ucs[2] = base[2];
            } else {
                ucs[0] = base[0] + tp->x;
                ucs[1] = base[1] + tp->y;
                ucs[2] = base[2] + tp->z;
            }
            return std::isfinite(ucs[0]) && std::isfinite(ucs[1]) && std::isfinite(ucs[2]);
        }
        case EventKind::kClick: {
            const double p[3] = {ev.x, ev.y, ev.z};
            if (snap)
                SnapClick(p, ucs);
            else
                for (int i = 0; i < 3; ++i) ucs[i] = p[i];
            return true;
        }
        case EventKind::kPoint:
        case EventKind::kEntityPick:
            ucs[0] = ev.x;
            ucs[1] = ev.y;
            ucs[2] = ev.z;
            return true;
        default:
            return false;
    }
}

void SetLastPoint(const double ucs[3]) { UcsToWcsPoint(ucs, State().lastPoint); }

}  // namespace vorn::ed

using namespace vorn::ed;

int acedInitGet(int val, const wchar_t* kwl) {
    PendingInitGet& ig = State().initGet;
    ig.bits = val;
    ig.keywords.clear();
    if (kwl) {
        // Kept as one string per word; the " _ " split is done when the prompt runs.
        std::wstring all = kwl, word;
        for (wchar_t c : all) {
            if (c == L' ' || c == L'\t') {
                if (!word.empty()) ig.keywords.push_back(word);
                word.clear();
            } else {
                word += c;
            }
        }
        if (!word.empty()) ig.keywords.push_back(word);
    }
    return RTNORM;
}

int acedGetPoint(const ads_point base, const wchar_t* prompt, ads_point result) {
    return GetPointImpl(base, prompt, result, false);
}

int acedGetCorner(const ads_point base, const wchar_t* prompt, ads_point result) {
    if (!base) {
        TakeInitGet();
        return RTREJ;
    }
    return GetPointImpl(base, prompt, result, true);
}

int acedGetDist(const ads_point base, const wchar_t* prompt, ads_real* result) {
    return GetMeasure(base, prompt, result, false);
}

int acedGetAngle(const ads_point base, const wchar_t* prompt, ads_real* result) {
    return GetMeasure(base, prompt, result, true);
}

int acedGetOrient(const ads_point base, const wchar_t* prompt, ads_real* result) {
    return GetMeasure(base, prompt, result, true);
}

int acedGetReal(const wchar_t* prompt, ads_real* result) {
    const PendingInitGet ig = TakeInitGet();
    double value = 0;
    const int rc = RunPrompt(prompt, L"a number", false,
                             [&](const Event& ev, int bits) {
                                 if (ev.kind != EventKind::kText)
                                     return Judged{Verdict::kNotValue, {}};
                                 const auto n = ParseNumber(ev.text);
                                 if (!n) return Judged{Verdict::kNotValue, {}};
                                 std::wstring msg;
                                 if (RangeRefused(*n, bits, msg))
                                     return Judged{Verdict::kRefuse, msg};
                                 value = *n;
                                 return Judged{Verdict::kAccept, {}};
                             },
                             ig);
    if (rc == RTNORM && result) *result = value;
    return rc;
}

int acedGetInt(const wchar_t* prompt, int* result) {
    const PendingInitGet ig = TakeInitGet();
    int value = 0;
    const int rc = RunPrompt(prompt, L"a whole number from -32768 to 32767", false,
                             [&](const Event& ev, int bits) {
                                 if (ev.kind != EventKind::kText)
                                     return Judged{Verdict::kNotValue, {}};
                                 const auto n = ParseInteger(ev.text);
                                 if (!n) return Judged{Verdict::kNotValue, {}};
                                 if (*n < -32768 || *n > 32767)
                                     return Judged{Verdict::kRefuse,
                                                   L"The value must be from -32768 to 32767."};
                                 std::wstring msg;
                                 if (RangeRefused(double(*n), bits, msg))
                                     return Judged{Verdict::kRefuse, msg};
                                 value = static_cast<int>(*n);
                                 return Judged{Verdict::kAccept, {}};
                             },
                             ig);
    if (rc == RTNORM && result) *result = value;
    return rc;
}

int acedGetString(int cronly, const wchar_t* prompt, wchar_t* result, std::size_t bufLen) {
    TakeInitGet();
    const std::wstring p = prompt ? prompt : L"";
    const InputScope scope(InputKind::kValue, p);
    ShowPrompt(p);
    const Event ev = NextAnswer(p);
    if (ev.kind == EventKind::kCancel) return RTCAN;
    std::wstring text = ev.kind == EventKind::kEnter ? L"" : ev.text;
    if (!cronly) {
        const std::size_t sp = text.find(L' ');
        if (sp != std::wstring::npos) text.erase(sp);
    }
    bool truncated = false;
    CopyOut(text, result, bufLen, truncated);
    return truncated ? RTINPUTTRUNCATED : RTNORM;
}

int acedGetString(int cronly, const wchar_t* prompt, wchar_t* result) {
    return acedGetString(cronly, prompt, result, kAdsMaxInput + 1);
}

int acedGetKword(const wchar_t* prompt, wchar_t* result, std::size_t bufLen) {
    const PendingInitGet ig = TakeInitGet();
    if (ig.keywords.empty() && !(ig.bits & RSG_OTHER)) return RTREJ;
    const int rc = RunPrompt(prompt, L"", true, nullptr, ig);
    if (rc == RTKWORD) {
        bool truncated = false;
        CopyOut(State().lastInput, result, bufLen, truncated);
        return truncated ? RTINPUTTRUNCATED : RTNORM;
    }
    return rc;
}

int acedGetKword(const wchar_t* prompt, wchar_t* result) {
    return acedGetKword(prompt, result, kAdsMaxInput + 1);
}

int acedGetInput(wchar_t* result, std::size_t bufLen) {
    bool truncated = false;
    CopyOut(State().lastInput, result, bufLen, truncated);
    return truncated ? RTINPUTTRUNCATED : RTNORM;
}

int acedGetInput(wchar_t* result) { return acedGetInput(result, kAdsMaxInput + 1); }

int acedGrRead(int track, int* type, resbuf* result) {
    const unsigned flags = kWantMoves | ((track & 8) ? kQuietCancel : 0u);
    const InputScope scope(InputKind::kGrRead, State().transcript.CurrentLine());
    for (;;) {
        const Event ev = NextAnswer(L"", flags);
        int t = 0;
        double p[3] = {0, 0, 0};
        bool isPoint = false;
        switch (ev.kind) {
            case EventKind::kCancel:
                return RTCAN;
            case EventKind::kMove:
                if (!(track & 1)) continue;
                t = 5;
                p[0] = ev.x, p[1] = ev.y, p[2] = ev.z;
                isPoint = true;
                break;
            case EventKind::kEnter:
                t = 2;
                break;
            default:
                if (PointFromAnswer(ev, false, p)) {
                    t = 3;
                    isPoint = true;
                } else {
                    t = 2;
                }
                break;
        }
        if (type) *type = t;
        if (result) {
            result->rbnext = nullptr;
            if (isPoint) {
                result->restype = RT3DPOINT;
                for (int i = 0; i < 3; ++i) result->resval.rpoint[i] = p[i];
            } else {
                result->restype = RTSHORT;
                result->resval.rint =
                    static_cast<short>(ev.kind == EventKind::kEnter || ev.text.empty()
                                           ? 13
                                           : (ev.text[0] < 0x7fff ? ev.text[0] : L'?'));
            }
        }
        return RTNORM;
    }
}
