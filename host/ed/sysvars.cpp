// The system variable registry and the editor's own variables.
#include "host/ed/sysvars.h"

#include <cmath>
#include <cwchar>
#include <map>

#include "host/ed/event.h"
#include "host/ed/editorstate.h"

namespace vorn::ed {
namespace {

struct Registry {
    std::map<std::wstring, SysVarAccess> vars;  // key: upper-case name
    std::map<std::wstring, int> ints;
    double pixelSize = 1.0;
};

Registry& Reg();

bool IntegerValue(const resbuf& in, long& v) {
    switch (in.restype) {
        case RTSHORT:
            v = in.resval.rint;
            return true;
        case RTLONG:
            v = in.resval.rlong;
            return true;
        case RTREAL:
            if (!std::isfinite(in.resval.rreal) || in.resval.rreal != std::floor(in.resval.rreal) ||
                std::fabs(in.resval.rreal) > 2147483647.0)
                return false;
            v = static_cast<long>(in.resval.rreal);
            return true;
        default:
            return false;
    }
}

SysVarAccess IntAccess(const std::wstring& key, int lo, int hi) {
    SysVarAccess a;
    a.get = [key](resbuf& out) {
        out.restype = RTSHORT;
        out.resval.rint = static_cast<short>(Reg().ints[key]);
        return true;
    };
    a.set = [key, lo, hi](const resbuf& in, std::wstring& error) {
        long v = 0;
        if (!IntegerValue(in, v) || v < lo || v > hi) {
            error = key + L" must be a whole number from " + std::to_wstring(lo) + L" to " +
                    std::to_wstring(hi);
            return false;
        }
        Reg().ints[key] = static_cast<int>(v);
        return true;
    };
    return a;
}

void InstallDefaults(Registry& r) {
    const auto addInt = [&r](const std::wstring& name, int initial, int lo, int hi) {
        r.ints[name] = initial;
        r.vars[name] = IntAccess(name, lo, hi);
    };
    addInt(L"CMDECHO", 1, 0, 1);
    addInt(L"OSMODE", 0, 0, 16383);
    addInt(L"PICKBOX", 3, 0, 50);
    addInt(L"APERTURE", 10, 1, 50);
    addInt(L"FILEDIA", 1, 0, 1);
    addInt(L"ORTHOMODE", 0, 0, 1);
    r.pixelSize = 1.0;
    SysVarAccess px;
    px.get = [](resbuf& out) {
        out.restype = RTREAL;
        out.resval.rreal = Reg().pixelSize;
        return true;
    };
    px.set = [](const resbuf& in, std::wstring& error) {
        long iv = 0;
        double v = in.restype == RTREAL ? in.resval.rreal : (IntegerValue(in, iv) ? double(iv) : -1);
        if (!std::isfinite(v) || v <= 0 || v > 1e9) {
            error = L"PIXELSIZE must be a positive number of drawing units per pixel";
            return false;
        }
        Reg().pixelSize = v;
        return true;
    };
    r.vars[L"PIXELSIZE"] = px;
}

Registry& Reg() {
    static Registry* r = nullptr;
    if (!r) {
        r = new Registry;
        InstallDefaults(*r);
        RegisterDrawingVariables();  // registers through Reg(), which now answers
    }
    return *r;
}

}  // namespace

void RegisterSysVar(const std::wstring& name, SysVarAccess access) {
    Reg().vars[ToUpper(name)] = std::move(access);
}

void RegisterIntSysVar(const std::wstring& name, int initial, int lo, int hi) {
    const std::wstring key = ToUpper(name);
    Reg().ints[key] = initial;
    Reg().vars[key] = IntAccess(key, lo, hi);
}

std::vector<std::wstring> SysVarNames() {
    std::vector<std::wstring> names;
    for (const auto& [name, access] : Reg().vars) names.push_back(name);
    return names;
}

bool GetSysVarText(const std::wstring& name, std::wstring& text) {
    resbuf rb{};
    if (acedGetVar(name.c_str(), &rb) != RTNORM) return false;
    switch (rb.restype) {
        case RTSHORT:
            text = std::to_wstring(rb.resval.rint);
            break;
        case RTLONG:
            text = std::to_wstring(rb.resval.rlong);
            break;
        case RTREAL:
            text = FormatReal(rb.resval.rreal);
            break;
        case RTSTR:
            text = rb.resval.rstring ? rb.resval.rstring : L"";
            acutDelString(rb.resval.rstring);
            break;
        case RTPOINT:
        case RT3DPOINT:
            text = FormatPoint(rb.resval.rpoint);
            break;
        default:
            text.clear();
    }
    return true;
}

bool SetSysVarFromText(const std::wstring& name, const std::wstring& text, std::wstring& error) {
    auto it = Reg().vars.find(ToUpper(name));
    if (it == Reg().vars.end()) {
        error = L"Unknown variable name \"" + name + L"\"; type SETVAR ? for the list";
        return false;
    }
    resbuf current{};
    if (!it->second.get(current)) {
        error = L"Cannot read " + name;
        return false;
    }
    resbuf value{};
    value.restype = current.restype;
    if (current.restype == RTSTR) acutDelString(current.resval.rstring);
    std::wstring str;
    switch (current.restype) {
        case RTSHORT:
        case RTLONG: {
            const auto v = ParseInteger(text);
            if (!v) {
                error = L"\"" + text + L"\" is not a whole number; " + ToUpper(name) +
                        L" takes one";
                return false;
            }
            value.restype = RTLONG;
            value.resval.rlong = static_cast<std::int32_t>(*v);
            break;
        }
        case RTREAL: {
            const auto v = ParseNumber(text);
            if (!v) {
                error = L"\"" + text + L"\" is not a finite number; " + ToUpper(name) +
                        L" takes one";
                return false;
            }
            value.resval.rreal = *v;
            break;
        }
        case RTSTR:
            str = text;
            value.resval.rstring = str.data();
            break;
        default:
            error = ToUpper(name) + L" cannot be set from text";
            return false;
    }
    return it->second.set(value, error);
}

int GetIntSysVar(const std::wstring& name, int fallback) {
    resbuf rb{};
    if (acedGetVar(name.c_str(), &rb) != RTNORM) return fallback;
    if (rb.restype == RTSHORT) return rb.resval.rint;
    if (rb.restype == RTLONG) return rb.resval.rlong;
    if (rb.restype == RTSTR) acutDelString(rb.resval.rstring);
    return fallback;
}

int CmdEcho() { return Reg().ints[L"CMDECHO"]; }
int OsMode() { return Reg().ints[L"OSMODE"]; }
int PickBox() { return Reg().ints[L"PICKBOX"]; }
int Aperture() { return Reg().ints[L"APERTURE"]; }
double PixelSize() { return Reg().pixelSize; }
int FileDia() { return Reg().ints[L"FILEDIA"]; }
int OrthoMode() { return Reg().ints[L"ORTHOMODE"]; }

void ResetEditorSysVars() {
    Registry& r = Reg();
    r.ints[L"CMDECHO"] = 1;
    r.ints[L"OSMODE"] = 0;
    r.ints[L"PICKBOX"] = 3;
    r.ints[L"APERTURE"] = 10;
    r.ints[L"FILEDIA"] = 1;
    r.ints[L"ORTHOMODE"] = 0;
    r.pixelSize = 1.0;
}

}  // namespace vorn::ed

int acedSetVar(const wchar_t* name, const resbuf* value) {
    if (!name || !value) return RTREJ;
    auto& vars = vorn::ed::Reg().vars;
    auto it = vars.find(vorn::ed::ToUpper(name));
    if (it == vars.end()) return RTERROR;
    std::wstring error;
    return it->second.set(*value, error) ? RTNORM : RTREJ;
}

int acedGetVar(const wchar_t* name, resbuf* result) {
    if (!name || !result) return RTREJ;
    auto& vars = vorn::ed::Reg().vars;
    auto it = vars.find(vorn::ed::ToUpper(name));
    if (it == vars.end()) return RTERROR;
    result->rbnext = nullptr;
    return it->second.get(*result) ? RTNORM : RTERROR;
}

void acutDelString(wchar_t*& text) {
    delete[] text;
    text = nullptr;
}
