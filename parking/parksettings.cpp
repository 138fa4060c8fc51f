// The parking settings: their start values and the conversions between the millimetre memory
// and the texts shown in the working drawing's units.
#include "parking/parksettings.h"

#include <cmath>

#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"

CString g_strParkWidth = KyUtTranslate(L"2400").c_str();
CString g_strParkDepth = KyUtTranslate(L"5300").c_str();
CString g_strParkAngle = KyUtTranslate(L"90").c_str();
CString g_strParkRows = KyUtTranslate(L"单排").c_str();
CString g_strParkStyle = KyUtTranslate(L"有停车").c_str();
int g_bParkLabelCount = 1;
int g_nParkStyleIndex = kParkWithCar;
int g_nParkActiveField = kParkFieldWidth;
double g_dParkWidth = 2400.0;
double g_dParkDepth = 5300.0;

double KyParkUnitFactor() { return KyDbGetDrawUnit() != 0 ? 0.001 : 1.0; }

double KyParkTextValue(const CString& text) {
    const double value = _wtof(text);
    return std::isfinite(value) ? value : 0.0;
}

int KyParkStyleFromText(const CString& text) {
    const std::wstring s = text.GetString();
    if (s == L"有停车") return kParkWithCar;
    if (s == L"无斜线") return kParkNoDiagonal;
    if (s == L"单斜线") return kParkSingleDiagonal;
    return kParkDoubleDiagonal;
}

bool KyParkIsDoubleRow(const CString& text) { return text.GetString() == KyUtTranslate(L"双排"); }

namespace {

void FromText(const CString& text, double factor, double& millimetres) {
    const double value = _wtof(text) / factor;
    if (std::isfinite(value)) millimetres = value;
}

}  // namespace

void KyParkSettingsToTexts() {
    const double f = KyParkUnitFactor();
    g_strParkWidth.Format(L"%.2f", g_dParkWidth * f);
    g_strParkDepth.Format(L"%.2f", g_dParkDepth * f);
}

void KyParkTextsToSettings() {
    const double f = KyParkUnitFactor();
    FromText(g_strParkWidth, f, g_dParkWidth);
    FromText(g_strParkDepth, f, g_dParkDepth);
}
