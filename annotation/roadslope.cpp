// KyRoadSlope: slope arrows with the grade in percent and the slope length, found from two
// elevation marks and the road's base line, or placed and typed by hand ("D"); "E" sets the
// number of decimals, which the settings file keeps between runs.
#include <cmath>
#include <memory>
#include <vector>

#include "annotation/annotationdb.h"
#include "annotation/annotationmath.h"
#include "annotation/roadslopejig.h"
#include "annotation/slopejoin.h"
#include "annotation/slopesettings.h"
#include "frame/VornCommands.h"
#include "frame/VornFrame.h"
#include "framework/core/KyDbSymbArrow.h"
#include "framework/core/KyDbUtil.h"
#include "framework/select/KyAdsEnt.h"
#include "framework/select/KyAdsEntSet.h"
#include "framework/select/KyPtSelect.h"
#include "framework/store/KyHistoryData.h"
#include "framework/ui/KyUiScreenDc.h"
#include "geometry/KyGePoint.h"
#include "host/ed/aced.h"
#include "host/ed/editor.h"
#include "host/mfc/cstring.h"

namespace {

enum Step { kGoOn, kEnd };

std::wstring GradeText(double percent, int n) { return FormatDecimals(percent, n) + L"%%%"; }
std::wstring LengthText(double length, int n) { return L"L=" + FormatDecimals(length, n); }

// The base line picked for the two marks, joined into one polyline. False ends the command:
// Esc, nothing copied, or curves that do not join end to end (with a message).
bool AskBaseLine(const AcGePoint3d& p1, const AcGePoint3d& p2, KyGePolyline2d& line,
                 bool& picked) {
    KyAdsEntSet set;
    const int rc = KyPtSelectEntities(KyUtTranslate(L"\n请选基准线:").c_str(), set, KyAnnoBaseCurveFilter());
    if (rc == RTCAN) return false;
    picked = rc == RTNORM && !set.IsEmpty();
    if (!picked) {
        line = KyAnnoSegmentLine(p1, p2);
        KyUiScreenDc(1, 1) << line;
        return true;
    }
    std::vector<KyGePolyline2d> curves;
    for (int i = 0; i < set.GetLength(); ++i) {
        KyGePolyline2d curve;
        if (!KyAnnoCurveAsPolyline(set[i], curve)) break;
        curves.push_back(curve);
    }
    if (curves.empty()) return false;
    const std::vector<KyGePolyline2d> pieces = KyRoadSlopeJoinCurves(curves);
    if (pieces.size() != 1) {
        acutPrintf(L"%s",
                   KyUtTranslate(L"\n所选曲线不能构成一条完整的曲线,检测是否断!").c_str());
        return false;
    }
    line = pieces.front();
    return true;
}

// Grade and length from two marks, then the arrow dragged along the base line.
Step AutomaticMode(const AcDbObjectId& first, const AcDbObjectId& second, int n) {
    KyAnnoElevationMark m1, m2;
    if (!KyAnnoReadElevationMark(first, m1) || !KyAnnoReadElevationMark(second, m2)) return kEnd;
    // A mark whose text is no elevation refuses the pick; the marks are asked for again.
    for (const KyAnnoElevationMark* m : {&m1, &m2})
        if (!m->problem.empty()) {
            vorn::ed::RefuseAnswer(m->problem);
            return kGoOn;
        }
    KyGePolyline2d line;
    bool picked = false;
    if (!AskBaseLine(m1.location, m2.location, line, picked)) return kEnd;
    AcGePoint3d q1 = m1.location, q2 = m2.location;
    double length = Distance2d(KyAnnoGePoint(q1), KyAnnoGePoint(q2));
    if (picked) {
        q1 = KyAnnoNearestOnLine(line, m1.location);
        q2 = KyAnnoNearestOnLine(line, m2.location);
    }
    // The arrow starts at the lower mark and takes the direction towards the higher as uphill.
    if (m1.elevation - m2.elevation > g_distZero) std::swap(q1, q2);
    const double uphill = GetAngle2d(KyAnnoGePoint(q1), KyAnnoGePoint(q2));
    if (picked) {
        double pa1 = line.GetPaFromPt(KyAnnoGePoint(q1));
        double pa2 = line.GetPaFromPt(KyAnnoGePoint(q2));
        if (pa1 > pa2) std::swap(pa1, pa2);
        const std::unique_ptr<KyGeCurve2d> piece = line.GetSubCurve(pa1, pa2);
        length = piece ? piece->Length() : 0.0;
        if (piece) KyUiScreenDc(1, 1) << *piece;
    }
    if (KyDbGetDrawUnit() == 0) length /= 1000.0;
    if (!(length > g_distZero)) {
        // Marks whose feet coincide have no slope length to divide the rise by.
        acutPrintf(L"%s", KyUtTranslate(L"\n两个标高在基准线上的投影点重合,无法求出坡度,"
                                        L"请选择沿基准线分开的两个标高!")
                              .c_str());
        return kEnd;
    }
    const double percent = std::fabs(m2.elevation - m1.elevation) / length * 100.0;
    if (!std::isfinite(percent)) return kEnd;
    g_roadSlopeLength = length;
    g_roadSlopePercent = percent;
    KyRoadSlopeJig jig(uphill, q1, GradeText(percent, n), LengthText(length, n), line);
    if (jig.DoDrag() != RTNORM) return kEnd;
    AddToCurrentSpace(static_cast<AcDbEntity*>(jig.Arrow()->clone()));
    return kGoOn;
}

// A value of the manual mode: the prompt with the default shown, read as a distance or a real;
// a value check refuses wrong ones and asks again. False on Esc.
bool AskValue(const wchar_t* format, const std::wstring& shown, bool distance,
              std::wstring (*check)(double), double& value) {
    CString prompt;
    prompt.Format(KyUtTranslate(format).c_str(), shown.c_str());
    for (;;) {
        ads_real typed = value;
        const int rc = distance ? acedGetDist(nullptr, prompt, &typed) : acedGetReal(prompt, &typed);
        if (rc == RTNONE) return true;
        if (rc != RTNORM) return false;
        const std::wstring problem = check(typed);
        if (problem.empty()) {
            value = typed;
            return true;
        }
        vorn::ed::RefuseAnswer(problem);
    }
}

// The arrow placed and turned by hand, with the grade and length typed.
Step ManualMode(int n) {
    ads_point pick;
    if (acedGetPoint(nullptr, KyUtTranslate(L"\n点取标注道路坡度的位置<自动标注>:").c_str(), pick) != RTNORM) return kGoOn;
    KyRoadSlopeJig jig(UcsToWcs(pick));
    for (;;) {
        const int rc = jig.DoDrag();
        if (rc == RTNORM) break;
        if (rc == RTCAN) return kEnd;
    }
    std::unique_ptr<KyDbSymbArrow> arrow(static_cast<KyDbSymbArrow*>(jig.Arrow()->clone()));

    // Each value is asked until it is usable (Enter keeps the last one); Esc drops the arrow.
    if (!AskValue(L"\n请输入道路坡度(%%)<%s>:", FormatDecimals(g_roadSlopePercent, n) + L"%", true,
                  KyAnnoCheckGrade, g_roadSlopePercent) ||
        !AskValue(L"\n请输入道路坡长(M)<%s>:", FormatDecimals(g_roadSlopeLength, n), false,
                  KyAnnoCheckSlopeLength, g_roadSlopeLength))
        return kGoOn;

    arrow->SetText1(GradeText(g_roadSlopePercent, n).c_str());
    arrow->SetText2(LengthText(g_roadSlopeLength, n).c_str());
    arrow->ResetTextPos();
    AddToCurrentSpace(arrow.release());
    return kGoOn;
}

// Asks for the number of decimals until one from 0 to 6 is given (Enter or Esc keep n):
// seven or more would leave the texts empty and a negative count would cut into the integer
// part.
void AskPrecision(int& n) {
    for (;;) {
        CString prompt;
        prompt.Format(KyUtTranslate(L"\n请输入要保留的小数位数<%d>:").c_str(), n);
        int value = n;
        if (acedGetInt(prompt, &value) != RTNORM) return;
        if (KyAnnoPrecisionValid(value)) {
            n = value;
            return;
        }
        vorn::ed::RefuseAnswer(KyUtTranslate(L"\n小数位数应为0到6之间的整数!"));
    }
}

}  // namespace

void KyRoadSlope() {
    int n = KyRoadSlopeReadPrecision(g_dictHistoryData);
    const KyAdsRBList filter = KyAnnoElevationFilter();
    for (;;) {
        acedInitGet(0, L"D E");
        KyAdsEntSet set;
        std::wstring keyword = L"D E";
        const int rc = KyPtSelectEntities(
            KyUtTranslate(L"\n选取两个道路标高自动标注或 [手动标注(D)/设置精度(E)]<退出>:").c_str(), set, filter, keyword);
        if (rc == RTNORM) {
            if (set.GetLength() > 2) {
                acutPrintf(L"%s", KyUtTranslate(L"\n超过两个对象,请正确选择!").c_str());
                continue;
            }
            if (set.GetLength() == 1) {
                KyAdsEnt second;
                if (KyPtSelectEntity(KyUtTranslate(L"\n选取第二个道路标高<退出>:").c_str(), second, filter) != RTNORM) break;
                set += second.GetObjectId();
            }
            // The same mark picked twice leaves one mark: no slope between two places.
            if (set.GetLength() < 2) break;
            const Step step = AutomaticMode(set[0], set[1], n);
            // The base line shown for this arrow goes with it.
            KyUiScreenDc::Clear();
            if (step == kEnd) break;
            continue;
        }
        if (rc == RTKWORD) {
            if (keyword == L"D" || keyword == L"d") {
                if (ManualMode(n) == kEnd) break;
            } else {
                AskPrecision(n);
            }
            continue;
        }
        break;
    }
    KyRoadSlopeWritePrecision(g_dictHistoryData, n);
}

VORN_MODULE_COMMAND(L"KyRoadSlope", KyRoadSlope);
