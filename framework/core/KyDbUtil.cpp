// Drawing services: adding entities, unit and print scale, coordinate conversions, numbers.
#include "framework/core/KyDbUtil.h"

#include <cmath>
#include <cwchar>

#include "host/db/dbmain.h"
#include "host/ed/ucs.h"

namespace {
AcDbDatabase* Resolve(AcDbDatabase* db) { return db ? db : acdbHostApplicationServices()->workingDatabase(); }
}  // namespace

AcDbObjectId AddToModelSpace(AcDbEntity* entity, int close, AcDbDatabase* db) {
    if (!entity) return AcDbObjectId::kNull;
    // An entity of a drawing belongs to it; deleting it here would pull it from under it.
    if (entity->isDatabaseResident()) return AcDbObjectId::kNull;
    db = Resolve(db);
    AcDbBlockTableRecord* space = nullptr;
    if (!db || acdbOpenObject(space, db->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) {
        delete entity;
        return AcDbObjectId::kNull;
    }
    AcDbObjectId id;
    Acad::ErrorStatus es = space->appendAcDbEntity(id, entity);
    space->close();
    if (es != Acad::eOk) {
        delete entity;  // refused: it is still ours
        return AcDbObjectId::kNull;
    }
    if (close) entity->close();
    return id;
}

AcDbObjectId AddToCurrentSpace(AcDbEntity* entity, int close, AcDbDatabase* db) {
    return AddToModelSpace(entity, close, db);
}

int KyDbGetDrawUnit(AcDbDatabase* db) {
    db = Resolve(db);
    return db ? db->drawUnit() : 0;
}

double KyDbGetPrintScale(AcDbDatabase* db) {
    db = Resolve(db);
    if (!db) return 1.0;
    double s = db->printScale();
    return (std::isfinite(s) && s > 0.0) ? s : 1.0;
}

double KyDbGetPlotFactor(AcDbDatabase* db) {
    return KyDbGetPrintScale(db) * (KyDbGetDrawUnit(db) != 0 ? 0.001 : 1.0);
}

AcGePoint3d UcsToWcs(const AcGePoint3d& point, int disp) {
    double in[3] = {point.x, point.y, point.z}, out[3];
    vorn::ed::UcsToWcsPoint(in, out);
    if (disp) {
        double o[3] = {0, 0, 0}, w0[3];
        vorn::ed::UcsToWcsPoint(o, w0);
        return {out[0] - w0[0], out[1] - w0[1], out[2] - w0[2]};
    }
    return {out[0], out[1], out[2]};
}

AcGePoint3d WcsToUcs(const AcGePoint3d& point, int disp) {
    double in[3] = {point.x, point.y, point.z}, out[3];
    vorn::ed::WcsToUcsPoint(in, out);
    if (disp) {
        double o[3] = {0, 0, 0}, u0[3];
        vorn::ed::WcsToUcsPoint(o, u0);
        return {out[0] - u0[0], out[1] - u0[1], out[2] - u0[2]};
    }
    return {out[0], out[1], out[2]};
}

AcGePoint3d UcsToWcs(const ads_point point, int disp) { return UcsToWcs(AcGePoint3d(point[0], point[1], point[2]), disp); }
AcGePoint3d WcsToUcs(const ads_point point, int disp) { return WcsToUcs(AcGePoint3d(point[0], point[1], point[2]), disp); }

double UcsToWcs(double angle) { return vorn::ed::UcsToWcsAngle(angle); }
double WcsToUcs(double angle) { return vorn::ed::WcsToUcsAngle(angle); }

std::wstring DistToString(double value) {
    if (!std::isfinite(value)) return L"0";
    wchar_t buf[512];
    std::swprintf(buf, sizeof buf / sizeof buf[0], L"%.6f", value);
    std::wstring text = buf;
    if (text.find(L'.') != std::wstring::npos) {
        while (!text.empty() && text.back() == L'0') text.pop_back();
        if (!text.empty() && text.back() == L'.') text.pop_back();
    }
    if (text == L"-0") text = L"0";
    return text;
}
