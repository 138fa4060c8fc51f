// Framework start-up: entity classes for the class factory and the SYMBELEV command.
#include "framework/core/KyFramework.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

#include "framework/core/KyDbBlockReference.h"
#include "framework/core/KyDbSymbArrow.h"
#include "framework/core/KyDbSymbElevation.h"
#include "framework/core/KyDbText.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"

namespace {

// A number typed as the elevation is written with the chosen decimals; any other text is
// kept as typed (a designer may write "±0.00" or a level name).
std::wstring ElevationText(const std::wstring& typed, const KyDbSymbElevation& symbol) {
    if (typed.empty()) return typed;
    wchar_t* end = nullptr;
    double v = std::wcstod(typed.c_str(), &end);
    while (end && *end && std::iswspace(*end)) ++end;
    if (end && *end == 0 && std::isfinite(v)) return symbol.FormatElevation(v);
    return typed;
}

void SymbElevCommand() {
    ads_point pt;
    if (acedGetPoint(nullptr, L"\nSpecify elevation point: ", pt) != RTNORM) return;
    wchar_t text[kAdsMaxInput + 1] = {0};
    if (acedGetString(1, L"\nEnter elevation text: ", text) != RTNORM) return;
    acedInitGet(0, L"2 3");
    wchar_t kw[kAdsMaxInput + 1] = {0};
    int rc = acedGetKword(L"\nDecimals [2/3] <2>: ", kw);
    if (rc != RTNORM && rc != RTNONE) return;
    auto* symbol = new KyDbSymbElevation(UcsToWcs(pt), L"", !(rc == RTNORM && std::wcscmp(kw, L"3") == 0));
    symbol->SetElevationText(ElevationText(text, *symbol).c_str());
    symbol->SetLayoutAngle(UcsToWcs(0.0));
    AcDbObjectId layer = KyDtInitStdLayer(L"PLAN-SYMB_ELEV");
    if (!layer.isNull()) symbol->setLayer(layer);
    if (AddToCurrentSpace(symbol, 1).isNull()) acutPrintf(L"\nThe elevation mark could not be added to the drawing.");
}

}  // namespace

void KyRegisterFrameworkClasses() {
    KyDbEntity::desc();
    KyDbEntWithText::desc();
    KyDbText::desc();
    KyDbBlockReference::desc();
    KyDbSymbArrow::desc();
    KyDbSymbElevation::desc();
}

void KyRegisterFrameworkCommands() {
    if (!vorn::ed::LookupCommand(L"SYMBELEV"))
        vorn::ed::AddCommand(L"VORN_FRAMEWORK", L"SYMBELEV", L"SYMBELEV", 0, &SymbElevCommand);
}

void KyFrameworkInit() {
    KyRegisterFrameworkClasses();
    KyRegisterFrameworkCommands();
}
