// The numbers behind elevation and slope annotation: grades, interpolated elevations, the
// unit conversions of a percentage and the decimal texts, free of any drawing.
#pragma once

#include <string>

// Largest number of decimals a slope text may carry; more would cut past the six decimals
// the value is printed with and leave an empty text.
constexpr int kAnnoMaxPrecision = 6;

// True when n is a number of decimals the slope command accepts (0 to 6).
bool KyAnnoPrecisionValid(int n);

// The value printed with six decimals and cut after the n-th one (the point stays for n 0).
// A precision outside 0..6 or a value that is not finite gives an empty text, so callers
// must validate first; a huge value without a point gets n zeros appended.
std::wstring FormatDecimals(double value, int n);

// Elevation text of a symbol: two decimals when prec2, else three; empty when not finite.
std::wstring KyAnnoElevationText(double elevation, bool prec2);

// Working grade s (elevation change per 100 drawing units) from a typed percentage p under
// drawing unit code u: p itself in metres (u 1), p / 1000 otherwise.
double KyAnnoGradeFromPercent(double percent, int unitCode);
// The remembered percentage of a grade found from two symbols: s, or s * 1000 when u is 0.
double KyAnnoPercentFromGrade(double grade, int unitCode);

// Grade from two elevations a distance apart. False (grade untouched) when the distance is
// not above tolerance or a result would not be finite: the two projections coincide.
bool KyAnnoGradeFromElevations(double e1, double e2, double distance, double tolerance,
                               double& grade);

// Direction modes: 0 the second symbol lies before the base point, 1 it does not, 2 typed.
// The elevation at distance d from the base point, after says whether the point lies after it.
double KyAnnoElevationAt(double e1, double grade, double distance, bool after, int mode);

// The values a user gives the annotation commands, each checked where it is read. Empty when
// the value is usable; otherwise the message that says what was wrong and what is expected.
// An elevation text: a number of metres from -10000 to 10000, a leading "±" (or "%%p") allowed.
std::wstring KyAnnoCheckElevationText(const std::wstring& text, double& elevation);
// A grade in percent from -100 to 100.
std::wstring KyAnnoCheckGrade(double percent);
// A slope length in metres above 0 and up to 100000.
std::wstring KyAnnoCheckSlopeLength(double metres);
