// The road settings: their start values and the conversions between the millimetre memory
// and the texts shown in the working drawing's units.
#include "road/roadsettings.h"

#include <cmath>
#include <optional>

#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "geometry/KyGeTol.h"
#include "host/ed/event.h"

CString g_strRoadLeftWidth;
CString g_strRoadRightWidth;
CString g_strRoadFilletRadius;
double g_dRoadLeftWidth = 2000.0;
double g_dRoadRightWidth = 2000.0;
double g_dRoadFilletRadius = 5000.0;
int g_bRoadCenterLine = 1;
int g_bRoadFillet = 1;
int g_nRoadFilletStyle = 0;
int g_nRoadPosLine = 0;

double KyRoadUnitFactor() { return KyDbGetDrawUnit() != 0 ? 0.001 : 1.0; }

double KyRoadMm(double millimetres) { return millimetres * KyRoadUnitFactor(); }
double KyRoadDistZero() { return KyRoadMm(g_distZero); }

double KyRoadTextValue(const CString& text) {
    const double value = _wtof(text);
    return std::isfinite(value) ? value : 0.0;
}

double KyRoadLeftWidth() { return KyRoadTextValue(g_strRoadLeftWidth); }
double KyRoadRightWidth() { return KyRoadTextValue(g_strRoadRightWidth); }
double KyRoadFilletRadius() { return KyRoadTextValue(g_strRoadFilletRadius); }

std::wstring KyRoadCheckSize(KyRoadSize size, const CString& text, const CString& kept) {
    const std::optional<double> v = vorn::ed::ParseNumber(vorn::ed::Trim(text.GetString()));
    const bool radius = size == kRoadFilletRadius;
    if (v && (radius ? *v >= 0.0 : *v > 0.0) && *v <= g_maxGeomSize) return std::wstring();
    const wchar_t* format =
        radius ? L"\n倒角半径\"%s\"不可用，应为不小于0且不超过1e12的数值；仍用%s。"
        : size == kRoadLeftWidth ? L"\n左宽\"%s\"不可用，应为大于0且不超过1e12的数值；仍用%s。"
                                 : L"\n右宽\"%s\"不可用，应为大于0且不超过1e12的数值；仍用%s。";
    CString message;
    message.Format(KyUtTranslate(format).c_str(), text.GetString(), kept.GetString());
    return message.GetString();
}

namespace {

void ToText(double millimetres, double factor, CString& text) {
    text.Format(L"%.2f", millimetres * factor);
}

void FromText(KyRoadSize size, const CString& text, double factor, double& millimetres) {
    if (!KyRoadCheckSize(size, text, CString()).empty()) return;
    const double value = _wtof(text) / factor;
    if (std::isfinite(value)) millimetres = value;
}

}  // namespace

void KyRoadSettingsToTexts() {
    const double f = KyRoadUnitFactor();
    ToText(g_dRoadLeftWidth, f, g_strRoadLeftWidth);
    ToText(g_dRoadRightWidth, f, g_strRoadRightWidth);
    ToText(g_dRoadFilletRadius, f, g_strRoadFilletRadius);
}

void KyRoadTextsToSettings() {
    const double f = KyRoadUnitFactor();
    FromText(kRoadLeftWidth, g_strRoadLeftWidth, f, g_dRoadLeftWidth);
    FromText(kRoadRightWidth, g_strRoadRightWidth, f, g_dRoadRightWidth);
    FromText(kRoadFilletRadius, g_strRoadFilletRadius, f, g_dRoadFilletRadius);
}
