// The slope decimals survive a fresh store, and refused or stray values never come back.
#include "annotation/slopesettings.h"
#include "framework/store/KyHistoryData.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {
std::string TempSettings() {
  return std::string(VORN_BINARY_DIR) + "/annotation_settings_" + std::to_string(getpid()) + ".json";
}
}  // namespace

TEST(SlopePrecision, DefaultRoundTripAndRefusedValues) {
  const std::string path = TempSettings();
  std::remove(path.c_str());
  {
    KyHistoryData store;
    store.SetFileName(path);
    EXPECT_EQ(KyRoadSlopeReadPrecision(store), 2);
    EXPECT_TRUE(KyRoadSlopeWritePrecision(store, 3));
    EXPECT_FALSE(KyRoadSlopeWritePrecision(store, 7));
    EXPECT_FALSE(KyRoadSlopeWritePrecision(store, -1));
    EXPECT_EQ(KyRoadSlopeReadPrecision(store), 3);
  }
  {
    KyHistoryData store;  // a later run reads the file
    store.SetFileName(path);
    EXPECT_EQ(KyRoadSlopeReadPrecision(store), 3);
    store.FindOrAddDict(L"ZEMRA\\DESIGN\\GENERALDRAWING\\ROADSLOPE").SetValue(L"PRECISION", 9);
    EXPECT_EQ(KyRoadSlopeReadPrecision(store), 2);
  }
  std::remove(path.c_str());
}
