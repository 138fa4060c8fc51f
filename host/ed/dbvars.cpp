// The drawing's system variables: FILLETRAD, CLAYER, DRAWUNIT, PRINTSCALE and TEXTSIZE live
// in the working drawing's header; the editor only reads and checks them.
#include <cmath>
#include <cwchar>

#include "host/ed/dbaccess.h"
#include "host/ed/dbinclude.h"
#include "host/ed/editorstate.h"
#include "host/ed/sysvars.h"

namespace vorn::ed {
namespace {

bool RealOf(const resbuf& in, double& v) {
    switch (in.restype) {
        case RTREAL:
            v = in.resval.rreal;
            break;
        case RTSHORT:
            v = in.resval.rint;
            break;
        case RTLONG:
            v = in.resval.rlong;
            break;
        default:
            return false;
    }
    return std::isfinite(v);
}

wchar_t* NewString(const std::wstring& s) {
    wchar_t* p = new wchar_t[s.size() + 1];
    std::wmemcpy(p, s.c_str(), s.size() + 1);
    return p;
}

// A real header value with its setter's check.
SysVarAccess RealVar(double (AcDbDatabase::*get)() const,
                     Acad::ErrorStatus (AcDbDatabase::*set)(double), const std::wstring& name,
                     const std::wstring& rule) {
    SysVarAccess a;
    a.get = [get](resbuf& out) {
        out.restype = RTREAL;
        out.resval.rreal = (dbx::Working()->*get)();
        return true;
    };
    a.set = [set, name, rule](const resbuf& in, std::wstring& error) {
        double v = 0;
        if (!RealOf(in, v) || (dbx::Working()->*set)(v) != Acad::eOk) {
            error = name + L" " + rule;
            return false;
        }
        return true;
    };
    return a;
}

}  // namespace

void RegisterDrawingVariables() {
    RegisterSysVar(L"FILLETRAD", RealVar(&AcDbDatabase::filletrad, &AcDbDatabase::setFilletrad,
                                         L"FILLETRAD", L"must be a finite radius of 0 or more"));
    RegisterSysVar(L"PRINTSCALE", RealVar(&AcDbDatabase::printScale, &AcDbDatabase::setPrintScale,
                                          L"PRINTSCALE", L"must be a number from 0.01 to 100000 (100 means 1:100)"));
    SysVarAccess unit;
    unit.get = [](resbuf& out) {
        out.restype = RTSHORT;
        out.resval.rint = static_cast<short>(dbx::Working()->drawUnit());
        return true;
    };
    unit.set = [](const resbuf& in, std::wstring& error) {
        double v = -1;
        if (!RealOf(in, v) || (v != 0 && v != 1) ||
            dbx::Working()->setDrawUnit(static_cast<int>(v)) != Acad::eOk) {
            error = L"DRAWUNIT must be 0 (millimetres) or 1 (metres)";
            return false;
        }
        return true;
    };
    RegisterSysVar(L"DRAWUNIT", unit);
    SysVarAccess layer;
    layer.get = [](resbuf& out) {
        out.restype = RTSTR;
        out.resval.rstring = NewString(dbx::CurrentLayerName());
        return true;
    };
    layer.set = [](const resbuf& in, std::wstring& error) {
        if (in.restype != RTSTR || !in.resval.rstring || !dbx::SetCurrentLayer(in.resval.rstring)) {
            error = L"CLAYER must name an existing layer";
            return false;
        }
        return true;
    };
    RegisterSysVar(L"CLAYER", layer);
}

}  // namespace vorn::ed
