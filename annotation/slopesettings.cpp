// Reading and writing the slope command's number of decimals.
#include "annotation/slopesettings.h"

#include "annotation/annotationmath.h"
#include "framework/store/KyHistoryData.h"

namespace {
const wchar_t kSlopeSettingsPath[] = L"ZEMRA\\DESIGN\\GENERALDRAWING\\ROADSLOPE";
const wchar_t kPrecisionName[] = L"PRECISION";
constexpr int kDefaultPrecision = 2;
}  // namespace

int KyRoadSlopeReadPrecision(KyHistoryData& store) {
  int n = kDefaultPrecision;
  if (!store.FindOrAddDict(kSlopeSettingsPath).GetValue(kPrecisionName, n)) return kDefaultPrecision;
  return KyAnnoPrecisionValid(n) ? n : kDefaultPrecision;
}

bool KyRoadSlopeWritePrecision(KyHistoryData& store, int n) {
  if (!KyAnnoPrecisionValid(n)) return false;
  return store.FindOrAddDict(kSlopeSettingsPath).SetValue(kPrecisionName, n);
}
