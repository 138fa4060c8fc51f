// The tree settings: their start values, the settings store and the number texts.
#include "tree/treesettings.h"

#include <cmath>
#include <optional>
#include <string>

#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "geometry/KyGeTol.h"
#include "host/ed/event.h"
#include "framework/store/KyHistoryData.h"

double g_dTreeRadius = 1500.0;
double g_dTreeSpacing = 3000.0;
double g_dTreeRadiusMin = 800.0;
double g_dTreeRadiusMax = 1500.0;
double g_dTreeSpacingMin = 1000.0;
double g_dTreeSpacingMax = 2000.0;
int g_nTreeBlockSource = 0;
int g_nTreeDrawMode = 0;
int g_bTreeRandomRotate = 0;
int g_bTreeSelfAdjust = 0;
int g_bTreeFixedRadius = 0;
int g_bTreeFixedSpacing = 0;
CString g_strTreeRadius(L"1500");
CString g_strTreeSpacing(L"3000");
CString g_strTreeRadiusMin(L"800");
CString g_strTreeRadiusMax(L"1500");
CString g_strTreeSpacingMin(L"1000");
CString g_strTreeSpacingMax(L"2000");
CString g_strTreeBlockFile;
AcDbObjectId g_idTreeBlock;
int g_nTreeDefaultIndex = 0;

const wchar_t* const kTreeSettingsPath = L"ZEMRA\\DESIGN\\HELPEROBJ\\FILEBUTU\\CMD_KY_RYBS";

double KyTreeUnitFactor() { return KyDbGetDrawUnit() != 0 ? 0.001 : 1.0; }

double KyTreeTextValue(const CString& text) {
    const double value = _wtof(text);
    return std::isfinite(value) ? value : 0.0;
}

std::wstring KyTreeCheckSizes(int mode) {
    struct Field {
        const wchar_t* name;
        const CString& text;
        bool used;
    };
    const bool area = mode == 3;
    const Field fields[] = {
        {L"树半径", g_strTreeRadius, !area},
        {L"树间隔", g_strTreeSpacing, mode == 1 || mode == 2},
        {L"最小树半径", g_strTreeRadiusMin, area},
        {L"最大树半径", g_strTreeRadiusMax, area && !g_bTreeFixedRadius},
        {L"最小树间距", g_strTreeSpacingMin, area},
        {L"最大树间距", g_strTreeSpacingMax, area && !g_bTreeFixedSpacing},
    };
    for (const Field& f : fields) {
        if (!f.used) continue;
        const std::optional<double> v = vorn::ed::ParseNumber(vorn::ed::Trim(f.text.GetString()));
        if (v && *v > g_distZero && *v <= g_maxGeomSize) continue;
        CString message;
        message.Format(KyUtTranslate(L"\n%s\"%s\"不可用，应为大于0.0001且不超过1e12的数值；未布置树。").c_str(),
                       KyUtTranslate(f.name).c_str(), f.text.GetString());
        return message.GetString();
    }
    return std::wstring();
}

namespace {

struct SizeSetting {
    const wchar_t* name;
    double* millimetres;
    CString* text;
};
struct ChoiceSetting {
    const wchar_t* name;
    int* value;
    int count;  // valid values are 0 .. count-1
};

// The order the texts are formatted and written in.
const SizeSetting kSizes[] = {
    {L"RADIOMAX", &g_dTreeRadiusMax, &g_strTreeRadiusMax},
    {L"RADIOMIN", &g_dTreeRadiusMin, &g_strTreeRadiusMin},
    {L"SPACEMAX", &g_dTreeSpacingMax, &g_strTreeSpacingMax},
    {L"SPACEMIN", &g_dTreeSpacingMin, &g_strTreeSpacingMin},
    {L"RADIOVALUE", &g_dTreeRadius, &g_strTreeRadius},
    {L"SPACEVALUE", &g_dTreeSpacing, &g_strTreeSpacing},
};
const ChoiceSetting kChoices[] = {
    {L"RADIOSELECT", &g_nTreeBlockSource, 3}, {L"RADIOSGRAY", &g_nTreeDrawMode, 4},
    {L"RRANDOMCHECK", &g_bTreeRandomRotate, 2}, {L"SSELFCHECK", &g_bTreeSelfAdjust, 2},
    {L"RFIXCHECK", &g_bTreeFixedRadius, 2},     {L"SFIXCHECK", &g_bTreeFixedSpacing, 2},
};

}  // namespace

void KyTreeLoadSettings() {
    KyHistoryDict& dict = g_dictHistoryData.FindOrAddDict(kTreeSettingsPath);
    for (const SizeSetting& s : kSizes) {
        double value = 0;
        // A hand-edited file must not bring a size the dialog could never have written.
        if (dict.GetValue(s.name, value) && std::isfinite(value) && value >= 0)
            *s.millimetres = value;
    }
    for (const ChoiceSetting& c : kChoices) {
        int value = 0;
        if (dict.GetValue(c.name, value) && value >= 0 && value < c.count) *c.value = value;
    }
    const double f = KyTreeUnitFactor();
    for (const SizeSetting& s : kSizes) s.text->Format(L"%.2f", *s.millimetres * f);
}

void KyTreeSaveSettings() {
    const double f = KyTreeUnitFactor();
    for (const SizeSetting& s : kSizes) {
        const double value = _wtof(*s.text) / f;
        if (std::isfinite(value)) *s.millimetres = value;
    }
    KyHistoryDict& dict = g_dictHistoryData.FindOrAddDict(kTreeSettingsPath);
    for (const SizeSetting& s : kSizes) dict.SetValue(s.name, *s.millimetres);
    for (const ChoiceSetting& c : kChoices) dict.SetValue(c.name, *c.value);
}

bool KyTreeIsNumberText(const CString& text) {
    const std::wstring s(text.GetString());
    if (s.empty()) return false;
    int dots = 0;
    for (wchar_t ch : s) {
        if (ch == L'.') {
            if (++dots > 1) return false;
        } else if (ch < L'0' || ch > L'9') {
            return false;
        }
    }
    return true;
}
