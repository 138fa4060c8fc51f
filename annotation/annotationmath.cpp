// Grades, elevations and decimal texts of the elevation and slope annotation.
#include "annotation/annotationmath.h"

#include <cmath>
#include <cstdio>

bool KyAnnoPrecisionValid(int n) { return n >= 0 && n <= kAnnoMaxPrecision; }

std::wstring FormatDecimals(double value, int n) {
  if (!KyAnnoPrecisionValid(n) || !std::isfinite(value)) return std::wstring();
  char buf[512];
  std::snprintf(buf, sizeof buf, "%f", value);
  std::string text(buf);
  const std::string::size_type point = text.find('.');
  if (point == std::string::npos) {
    text += '.';
    text.append(static_cast<std::size_t>(n), '0');
  } else {
    text.resize(point + 1 + static_cast<std::size_t>(n));
  }
  return std::wstring(text.begin(), text.end());
}

std::wstring KyAnnoElevationText(double elevation, bool prec2) {
  if (!std::isfinite(elevation)) return std::wstring();
  char buf[512];
  std::snprintf(buf, sizeof buf, prec2 ? "%0.2f" : "%0.3f", elevation);
  const std::string text(buf);
  return std::wstring(text.begin(), text.end());
}

double KyAnnoGradeFromPercent(double percent, int unitCode) {
  return unitCode == 1 ? percent : percent / 1000.0;
}

double KyAnnoPercentFromGrade(double grade, int unitCode) {
  return unitCode == 0 ? grade * 1000.0 : grade;
}

bool KyAnnoGradeFromElevations(double e1, double e2, double distance, double tolerance,
                               double& grade) {
  if (!(distance > tolerance)) return false;
  const double s = (e2 - e1) / (distance / 100.0);
  if (!std::isfinite(s)) return false;
  grade = s;
  return true;
}

double KyAnnoElevationAt(double e1, double grade, double distance, bool after, int mode) {
  const double change = grade * distance / 100.0;
  if (mode == 2) return e1 + change;
  const bool up = (mode == 0) ? !after : after;
  return up ? e1 + change : e1 - change;
}
