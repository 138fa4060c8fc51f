// Grades, elevations and decimal texts of the elevation and slope annotation.
#include "annotation/annotationmath.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "frame/VornFrame.h"
#include "host/ed/event.h"

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

namespace {

constexpr double kAnnoMaxElevation = 10000.0;     // metres, above or below the datum
constexpr double kAnnoMaxGrade = 100.0;           // percent: a rise as long as the run
constexpr double kAnnoMaxSlopeLength = 100000.0;  // metres

// The message of a refused value: format holds one %s for the value as given.
std::wstring Refusal(const wchar_t* format, const std::wstring& value) {
  const std::wstring f = KyUtTranslate(format);
  const std::size_t at = f.find(L"%s");
  return at == std::wstring::npos ? f : f.substr(0, at) + value + f.substr(at + 2);
}

std::wstring Shown(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  const std::string text(buf);
  return std::wstring(text.begin(), text.end());
}

}  // namespace

std::wstring KyAnnoCheckElevationText(const std::wstring& text, double& elevation) {
  std::wstring number = vorn::ed::Trim(text);
  // "±0.000" is the datum itself.
  if (number.rfind(L"\u00B1", 0) == 0) number.erase(0, 1);
  else if (number.rfind(L"%%p", 0) == 0 || number.rfind(L"%%P", 0) == 0) number.erase(0, 3);
  const std::optional<double> v = vorn::ed::ParseNumber(number);
  if (v && std::fabs(*v) <= kAnnoMaxElevation) {
    elevation = *v;
    return std::wstring();
  }
  return Refusal(L"\n标高\"%s\"不可用，应为-10000到10000之间的数值(米)；请选择别的标高。", text);
}

std::wstring KyAnnoCheckGrade(double percent) {
  if (std::isfinite(percent) && std::fabs(percent) <= kAnnoMaxGrade) return std::wstring();
  return Refusal(L"\n坡度%s不可用，应为-100到100之间的百分数。", Shown(percent));
}

std::wstring KyAnnoCheckSlopeLength(double metres) {
  if (std::isfinite(metres) && metres > 0.0 && metres <= kAnnoMaxSlopeLength) return std::wstring();
  return Refusal(L"\n坡长%s不可用，应为大于0且不超过100000的数值(米)。", Shown(metres));
}
