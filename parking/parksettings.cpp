// The parking settings: their start values and the conversions between the millimetre memory
// and the texts shown in the working drawing's units.
#include "parking/parksettings.h"

#include <cmath>
#include <optional>

#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "geometry/KyGeTol.h"
#include "host/ed/event.h"

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

std::wstring KyParkCheckSizes(const CString& width, const CString& depth, const CString& angle) {
    struct Field {
        const CString& text;
        double above, upTo;
        const wchar_t* message;
    };
    // A space no wider than 100 mm gives no space at all along a row: it is refused too.
    const Field fields[] = {
        {width, 100.0 * KyParkUnitFactor(), g_maxGeomSize,
         KyParkUnitFactor() < 1.0 ? L"\n车位宽度\"%s\"不可用，应为大于0.1且不超过1e12的数值；未布置车位。"
                                  : L"\n车位宽度\"%s\"不可用，应为大于100且不超过1e12的数值；未布置车位。"},
        {depth, 0.0, g_maxGeomSize, L"\n车位深度\"%s\"不可用，应为大于0且不超过1e12的数值；未布置车位。"},
        {angle, 0.0, 180.0 - g_fZero, L"\n车位角度\"%s\"不可用，应为大于0且小于180的度数；未布置车位。"},
    };
    for (const Field& f : fields) {
        const std::optional<double> v = vorn::ed::ParseNumber(vorn::ed::Trim(f.text.GetString()));
        if (v && *v > f.above && *v <= f.upTo) continue;
        CString message;
        message.Format(KyUtTranslate(f.message).c_str(), f.text.GetString());
        return message.GetString();
    }
    return std::wstring();
}

namespace {

// A choice of the lists as written or as the language switch shows it.
bool IsChoice(const CString& text, const wchar_t* written) {
    const std::wstring s = text.GetString();
    return s == written || s == KyUtTranslate(written);
}

}  // namespace

int KyParkStyleFromText(const CString& text) {
    if (IsChoice(text, L"有停车")) return kParkWithCar;
    if (IsChoice(text, L"无斜线")) return kParkNoDiagonal;
    if (IsChoice(text, L"单斜线")) return kParkSingleDiagonal;
    return kParkDoubleDiagonal;
}

bool KyParkIsDoubleRow(const CString& text) { return IsChoice(text, L"双排"); }

namespace {

void FromText(const CString& text, double factor, double& millimetres) {
    const double value = _wtof(text) / factor;
    if (std::isfinite(value)) millimetres = value;
}

}  // namespace

void KyParkSettingsToTexts() {
    const double f = KyParkUnitFactor();
    // The choices as the dialog's lists show them (set before the language switch was read).
    g_strParkRows = KyUtTranslate(g_strParkRows.GetString()).c_str();
    g_strParkStyle = KyUtTranslate(g_strParkStyle.GetString()).c_str();
    g_strParkWidth.Format(L"%.2f", g_dParkWidth * f);
    g_strParkDepth.Format(L"%.2f", g_dParkDepth * f);
}

void KyParkTextsToSettings() {
    const double f = KyParkUnitFactor();
    FromText(g_strParkWidth, f, g_dParkWidth);
    FromText(g_strParkDepth, f, g_dParkDepth);
}
