// The road settings: their start values and the conversions between the millimetre memory
// and the texts shown in the working drawing's units.
#include "road/roadsettings.h"

#include <cmath>

#include "framework/core/KyDbUtil.h"

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

double KyRoadTextValue(const CString& text) {
    const double value = _wtof(text);
    return std::isfinite(value) ? value : 0.0;
}

double KyRoadLeftWidth() { return KyRoadTextValue(g_strRoadLeftWidth); }
double KyRoadRightWidth() { return KyRoadTextValue(g_strRoadRightWidth); }
double KyRoadFilletRadius() { return KyRoadTextValue(g_strRoadFilletRadius); }

namespace {

void ToText(double millimetres, double factor, CString& text) {
    text.Format(L"%.2f", millimetres * factor);
}

void FromText(const CString& text, double factor, double& millimetres) {
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
    FromText(g_strRoadLeftWidth, f, g_dRoadLeftWidth);
    FromText(g_strRoadRightWidth, f, g_dRoadRightWidth);
    FromText(g_strRoadFilletRadius, f, g_dRoadFilletRadius);
}
