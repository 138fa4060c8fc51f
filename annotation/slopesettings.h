// The slope command's remembered number of decimals, kept in the user settings file.
#pragma once

class KyHistoryData;

// "PRECISION" of the slope dictionary: 2 when absent, and 2 as well when the file holds a value
// outside 0..6 (edited by hand or left by an older build), so no text ever comes out empty.
int KyRoadSlopeReadPrecision(KyHistoryData& store);
// Stores n; false (nothing stored) when n lies outside 0..6 or the file could not be written.
bool KyRoadSlopeWritePrecision(KyHistoryData& store, int n);
