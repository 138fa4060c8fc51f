// KyRoadElev: elevation marks along a road from a base mark and a grade, found from a second
// mark or typed in percent; "R" rewrites the texts of existing marks instead of placing new ones.
#include <memory>

#include "annotation/annotationdb.h"
#include "annotation/annotationmath.h"
#include "annotation/roadelevjig.h"
#include "frame/VornCommands.h"
#include "frame/VornFrame.h"
#include "framework/core/KyDbSymbElevation.h"
#include "framework/core/KyDbUtil.h"
#include "framework/select/KyAdsEnt.h"
#include "framework/select/KyAdsEntSet.h"
#include "framework/select/KyPtSelect.h"
#include "geometry/KyGePoint.h"
#include "host/db/dbentity.h"
#include "host/ed/aced.h"
#include "host/ed/editor.h"
#include "host/ed/selection.h"

namespace {

// What the second prompt gave: the point and text of a second or fixed mark, or a typed grade,
// and the marks to rewrite.
struct GradeSource {
    AcGePoint3d point;
    double elevation = 0.0;
    bool typed = false;
    bool haveSecond = false;
    KyAdsEntSet toModify;
};

// An elevation mark picked at prompt: false when the prompt is left (Esc, Enter) or the pick is
// no mark. A mark whose text is no usable elevation is refused and the prompt comes again.
bool PickMark(const wchar_t* prompt, KyAnnoElevationMark& mark, AcDbObjectId* picked,
              KyDbSymbElevation** copy = nullptr) {
    for (;;) {
        KyAdsEnt ent;
        if (KyPtSelectEntity(prompt, ent, KyAnnoElevationFilter()) != RTNORM) return false;
        if (!KyAnnoReadElevationMark(ent.GetObjectId(), mark)) return false;
        if (!mark.problem.empty()) {
            vorn::ed::RefuseAnswer(mark.problem);
            continue;
        }
        if (picked) *picked = ent.GetObjectId();
        return !copy || KyAnnoReadElevationMark(ent.GetObjectId(), mark, copy);
    }
}

// The second prompt. False ends the command.
bool AskGradeSource(const AcDbObjectId& baseId, GradeSource& source) {
    const KyAdsRBList elevFilter = KyAnnoElevationFilter();
    for (;;) {
        acedInitGet(0, L"W R");
        ads_name name;
        ads_point pick;
        const int rc = acedEntSel(KyUtTranslate(L"\n请选择第二个标高或 [输入坡度(W)/修改标高(R)]<退出>:").c_str(), name, pick);
        if (rc != RTNORM) {
            if (rc != RTKWORD) return false;
            break;
        }
        AcDbObjectId id;
        if (acdbGetObjectId(id, name) != Acad::eOk || id == baseId) return false;
        KyAnnoElevationMark second;
        if (!KyAnnoReadElevationMark(id, second)) return false;
        if (!second.problem.empty()) {
            vorn::ed::RefuseAnswer(second.problem);
            continue;
        }
        source.point = second.location;
        source.elevation = second.elevation;
        source.haveSecond = true;
        return true;
    }
    wchar_t keyword[kAdsMaxInput + 1] = {0};
    acedGetInput(keyword);
    if (keyword[0] == L'W' || keyword[0] == L'w') {
        for (;;) {
            const std::wstring prompt = KyUtTranslate(L"\n请输入坡度值(正值为上坡)(%)") + L"<" +
                                        DistToString(g_roadElevSlope) + L">:";
            ads_real value = 0.0;
            const int got = acedGetReal(prompt.c_str(), &value);
            if (got != RTNORM && got != RTNONE) return false;
            if (got == RTNORM) {
                const std::wstring problem = KyAnnoCheckGrade(value);
                if (!problem.empty()) {
                    vorn::ed::RefuseAnswer(problem);
                    continue;
                }
                g_roadElevSlope = value;
            }
            source.typed = true;
            return true;
        }
    }
    KyAnnoElevationMark mark;
    if (!PickMark(KyUtTranslate(L"\n请选择固定标高<退出>:").c_str(), mark, nullptr)) return false;
    source.point = mark.location;
    source.elevation = mark.elevation;
    source.haveSecond = true;
    const int got = KyPtSelectEntities(KyUtTranslate(L"\n请选择需要修改的标高<退出>:").c_str(), source.toModify, elevFilter);
    if (got != RTNORM && got != RTNONE) return false;
    return !source.toModify.IsEmpty();
}

// The base line: a picked curve, or after Enter the straight segment between the marks. With
// a typed grade there is no second mark, and Enter leaves the line empty: the marks then go
// where the user clicks, each by its straight distance from the base mark. False ends the
// command.
bool AskBaseLine(const AcGePoint3d& basePoint, const GradeSource& source, KyGePolyline2d& line) {
    KyAdsEnt curve;
    const int rc = KyPtSelectEntity(KyUtTranslate(L"\n请选基准线:").c_str(), curve, KyAnnoBaseCurveFilter());
    if (rc == RTCAN) return false;
    if (rc == RTNORM) return KyAnnoCurveAsPolyline(curve.GetObjectId(), line);
    if (source.haveSecond &&
        Distance2d(KyAnnoGePoint(basePoint), KyAnnoGePoint(source.point)) > g_distZero)
        line = KyAnnoSegmentLine(basePoint, source.point);
    return true;
}

// Rewrites each mark of the set with the elevation at its foot on the base line; marks that
// cannot be opened or projected keep their texts, and so does every mark's location.
void RewriteMarks(const KyAdsEntSet& set, const KyGePolyline2d& line, const AcGePoint3d& basePoint,
                  double e1, double grade, int mode) {
    for (int i = 0; i < set.GetLength(); ++i) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, set[i], AcDb::kForRead) != Acad::eOk || !entity) continue;
        KyDbSymbElevation* symbol = KyDbSymbElevation::cast(entity);
        AcGePoint3d foot;
        if (!symbol || (line.GetVertexNum() >= 2 &&
                        !KyAnnoProjectOnLine(line, symbol->GetLocation(), foot))) {
            entity->close();
            continue;
        }
        if (line.GetVertexNum() < 2) foot = symbol->GetLocation();
        const double elevation = KyRoadElevationOnLine(line, basePoint, e1, grade, mode, foot);
        const std::wstring text = KyAnnoElevationText(elevation, symbol->IsPrec2());
        if (!text.empty() && symbol->upgradeOpen() == Acad::eOk) {
            symbol->SetElevationText(text.c_str());
            symbol->downgradeOpen();
        }
        entity->close();
    }
}

void PlaceMarks(const KyDbSymbElevation* base, const AcGePoint3d& basePoint, double grade,
                int mode, const KyGePolyline2d& line) {
    for (;;) {
        KyRoadElevJig jig(base, basePoint, grade, mode);
        jig.SetBaseLine(line);
        acutPrintf(L"%s", KyUtTranslate(L"\n请点取确定位置<退出>:").c_str());
        if (jig.drag() != AcEdJig::kNormal) return;
        AddToCurrentSpace(static_cast<AcDbEntity*>(jig.entity()->clone()));
    }
}

}  // namespace

void KyRoadElev() {
    // The base mark is read once and kept as a detached copy: the marks placed are copies of
    // it, and the mark itself stays free to be rewritten with the others on the "R" path.
    KyAnnoElevationMark baseMark;
    KyDbSymbElevation* copy = nullptr;
    AcDbObjectId baseId;
    if (!PickMark(KyUtTranslate(L"\n请选择基准标高<退出>:").c_str(), baseMark, &baseId, &copy)) return;
    const std::unique_ptr<KyDbSymbElevation> base(copy);

    GradeSource source;
    if (!AskGradeSource(baseId, source)) return;
    KyGePolyline2d line;
    if (!AskBaseLine(baseMark.location, source, line)) return;

    const int unit = KyDbGetDrawUnit();
    AcGePoint3d p1 = baseMark.location;
    double grade = 0.0;
    int mode = 1;
    if (source.typed) {
        grade = KyAnnoGradeFromPercent(g_roadElevSlope, unit);
        mode = 2;
    } else if (Distance2d(KyAnnoGePoint(p1), KyAnnoGePoint(source.point)) > g_distZero) {
        AcGePoint3d p2;
        if (!KyAnnoProjectOnLine(line, baseMark.location, p1) ||
            !KyAnnoProjectOnLine(line, source.point, p2)) {
            acutPrintf(L"%s", KyUtTranslate(L"\n选择的标高(或标高位置投影点)没有在线上!").c_str());
            return;
        }
        // Marks whose feet coincide give no grade; dividing by their distance would write an
        // infinite or undefined number into every mark.
        if (!KyAnnoGradeFromElevations(baseMark.elevation, source.elevation,
                                       Distance2d(KyAnnoGePoint(p1), KyAnnoGePoint(p2)),
                                       g_distZero, grade)) {
            acutPrintf(L"%s", KyUtTranslate(L"\n两个标高在基准线上的投影点重合,无法求出坡度,"
                                            L"请选择沿基准线分开的两个标高!")
                                  .c_str());
            return;
        }
        g_roadElevSlope = KyAnnoPercentFromGrade(grade, unit);
        if (line.GetDistFromPt(KyAnnoGePoint(p2)) < line.GetDistFromPt(KyAnnoGePoint(p1)) - g_distZero)
            mode = 0;
    }

    if (source.toModify.IsEmpty())
        PlaceMarks(base.get(), p1, grade, mode, line);
    else
        RewriteMarks(source.toModify, line, p1, baseMark.elevation, grade, mode);
}

VORN_MODULE_COMMAND(L"KyRoadElev", KyRoadElev);
