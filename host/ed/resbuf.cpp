// Result buffer chains: allocation, variadic building, copying and freeing.
#include <cstdarg>
#include <cstring>
#include <cwchar>
#include <new>

#include "host/ed/adsdefs.h"
#include "host/ed/editorstate.h"

namespace {

enum class Payload { kUnknown, kNone, kString, kReal, kShort, kLong, kPoint, kName };

Payload PayloadOf(int type) {
    switch (type) {
        case RTSTR:
        case RTDXF0:
            return Payload::kString;
        case RTREAL:
        case RTANG:
        case RTORINT:
            return Payload::kReal;
        case RTSHORT:
            return Payload::kShort;
        case RTLONG:
            return Payload::kLong;
        case RTPOINT:
        case RT3DPOINT:
            return Payload::kPoint;
        case RTENAME:
        case RTPICKS:
            return Payload::kName;
        case RTLB:
        case RTLE:
        case RTNIL:
        case RTT:
        case RTVOID:
        case RTDOTE:
        case RTNONE:
            return Payload::kNone;
        default:
            break;
    }
    // Drawing interchange group codes, as filters use them.
    if ((type >= 0 && type <= 9) || type == -4 || (type >= 100 && type <= 102) ||
        (type >= 1000 && type <= 1009))
        return Payload::kString;
    if (type >= 10 && type <= 18) return Payload::kPoint;
    if ((type >= 38 && type <= 59) || (type >= 1040 && type <= 1042)) return Payload::kReal;
    if ((type >= 60 && type <= 79) || type == 1070) return Payload::kShort;
    if ((type >= 90 && type <= 99) || type == 1071) return Payload::kLong;
    return Payload::kUnknown;
}

bool KnownType(int type) { return PayloadOf(type) != Payload::kUnknown; }

wchar_t* CopyString(const wchar_t* text) {
    if (!text) text = L"";
    const std::size_t n = std::wcslen(text);
    wchar_t* copy = new wchar_t[n + 1];
    std::wmemcpy(copy, text, n + 1);
    return copy;
}

}  // namespace

resbuf* acutNewRb(int type) {
    resbuf* rb = new resbuf;
    std::memset(rb, 0, sizeof(resbuf));
    rb->restype = static_cast<short>(type);
    if (PayloadOf(type) == Payload::kString) rb->resval.rstring = CopyString(L"");
    return rb;
}

int acutRelRb(resbuf* rb) {
    while (rb) {
        resbuf* next = rb->rbnext;
        if (PayloadOf(rb->restype) == Payload::kString) delete[] rb->resval.rstring;
        delete rb;
        rb = next;
    }
    return RTNORM;
}

namespace vorn::ed {

resbuf* BuildListV(int type, va_list args) {
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (int t = type; t != 0; t = va_arg(args, int)) {
        if (!KnownType(t)) {
            acutRelRb(head);
            head = nullptr;
            break;
        }
        resbuf* rb = acutNewRb(t);
        switch (PayloadOf(t)) {
            case Payload::kString:
                delete[] rb->resval.rstring;
                rb->resval.rstring = CopyString(va_arg(args, const wchar_t*));
                break;
            case Payload::kReal:
                rb->resval.rreal = va_arg(args, double);
                break;
            case Payload::kShort:
                rb->resval.rint = static_cast<short>(va_arg(args, int));
                break;
            case Payload::kLong:
                rb->resval.rlong = va_arg(args, std::int32_t);
                break;
            case Payload::kPoint: {
                const ads_real* p = va_arg(args, const ads_real*);
                if (p) {
                    rb->resval.rpoint[0] = p[0];
                    rb->resval.rpoint[1] = p[1];
                    rb->resval.rpoint[2] = t == RTPOINT ? 0.0 : p[2];
                }
                break;
            }
            case Payload::kName: {
                const std::int64_t* n = va_arg(args, const std::int64_t*);
                if (n) {
                    rb->resval.rlname[0] = n[0];
                    rb->resval.rlname[1] = n[1];
                }
                break;
            }
            case Payload::kNone:
            case Payload::kUnknown:
                break;
        }
        if (tail)
            tail->rbnext = rb;
        else
            head = rb;
        tail = rb;
    }
    return head;
}

}  // namespace vorn::ed

resbuf* acutBuildList(int type, ...) {
    va_list args;
    va_start(args, type);
    resbuf* head = vorn::ed::BuildListV(type, args);
    va_end(args);
    return head;
}

resbuf* acutCopyRb(const resbuf* rb) {
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (; rb; rb = rb->rbnext) {
        resbuf* copy = new resbuf(*rb);
        copy->rbnext = nullptr;
        if (PayloadOf(rb->restype) == Payload::kString)
            copy->resval.rstring = CopyString(rb->resval.rstring);
        if (tail)
            tail->rbnext = copy;
        else
            head = copy;
        tail = copy;
    }
    return head;
}
